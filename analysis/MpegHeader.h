#pragma once
// One 4-byte MPEG audio frame header as the frame search accepts it: MPEG-1 Layer III
// (FF FA or FF FB). The fields are read from the bytes; an invalid header reads as
// the cleared header (empty texts, zeros, false).

#include <QString>
#include <array>

namespace sonivo {

class MpegHeader {
public:
    MpegHeader() = default;  // the cleared header
    // Decodes bytes 2 to 4 of a candidate; bytes[0] is the FF of the sync.
    static MpegHeader decode(const unsigned char bytes[4]);

    bool isValid() const { return valid_; }
    bool crcPresent() const { return valid_ && !(bytes_[1] & 0x01); }
    int bitRateKbps() const;   // 0 when cleared
    int sampleRateHz() const;  // 0 when cleared
    int padding() const { return valid_ ? (bytes_[2] >> 1) & 1 : 0; }
    int privateBit() const { return valid_ ? bytes_[2] & 1 : 0; }
    int channelModeIndex() const { return (bytes_[3] >> 6) & 3; }
    bool isMono() const { return channelModeIndex() == 3; }
    bool copyright() const { return valid_ && (bytes_[3] & 0x08); }
    bool original() const { return valid_ && (bytes_[3] & 0x04); }
    // Length in bytes of the frame this header starts; 0 when cleared.
    int frameLength() const;

    QString mpegVersionText() const;    // "1.0"
    QString layerText() const;          // "3"
    QString bitRateText() const;        // "128"
    QString sampleRateText() const;     // "44100"
    QString channelModeText() const;    // "Joint Stereo"
    QString modeExtensionText() const;  // "10"
    QString emphasisText() const;       // "None"

private:
    std::array<unsigned char, 4> bytes_{};
    bool valid_ = false;
};

}  // namespace sonivo
