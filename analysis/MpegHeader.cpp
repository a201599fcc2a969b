#include "analysis/MpegHeader.h"

namespace sonivo {
namespace {

// MPEG-1 Layer III bit rates in kbit/s by index; 0 (free format) and 15 are not usable.
constexpr int kBitRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kSampleRates[4] = {44100, 48000, 32000, 0};

int bitRateIndex(const std::array<unsigned char, 4>& b)
{
    return b[2] >> 4;
}
int sampleRateIndex(const std::array<unsigned char, 4>& b)
{
    return (b[2] >> 2) & 3;
}

}  // namespace

MpegHeader MpegHeader::decode(const unsigned char bytes[4])
{
    MpegHeader h;
    for (int i = 0; i < 4; ++i)
        h.bytes_[size_t(i)] = bytes[i];
    h.valid_ = kSampleRates[sampleRateIndex(h.bytes_)] != 0 && kBitRates[bitRateIndex(h.bytes_)] != 0;
    return h;
}

int MpegHeader::bitRateKbps() const
{
    return valid_ ? kBitRates[bitRateIndex(bytes_)] : 0;
}

int MpegHeader::sampleRateHz() const
{
    return valid_ ? kSampleRates[sampleRateIndex(bytes_)] : 0;
}

int MpegHeader::frameLength() const
{
    if (!valid_)
        return 0;
    return bitRateKbps() * 1000 * 144 / sampleRateHz() + padding();
}

QString MpegHeader::mpegVersionText() const
{
    return valid_ ? QStringLiteral("1.0") : QString();
}

QString MpegHeader::layerText() const
{
    return valid_ ? QStringLiteral("3") : QString();
}

QString MpegHeader::bitRateText() const
{
    return valid_ ? QString::number(bitRateKbps()) : QString();
}

QString MpegHeader::sampleRateText() const
{
    return valid_ ? QString::number(sampleRateHz()) : QString();
}

QString MpegHeader::channelModeText() const
{
    static const char* const kModes[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    return valid_ ? QString::fromLatin1(kModes[channelModeIndex()]) : QString();
}

QString MpegHeader::modeExtensionText() const
{
    static const char* const kExtensions[4] = {"00", "01", "10", "11"};
    return valid_ ? QString::fromLatin1(kExtensions[(bytes_[3] >> 4) & 3]) : QString();
}

QString MpegHeader::emphasisText() const
{
    static const char* const kEmphasis[4] = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
    return valid_ ? QString::fromLatin1(kEmphasis[bytes_[3] & 3]) : QString();
}

}  // namespace sonivo
