#include "mainwindow/ColumnWidths.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace sonivo {
namespace {

struct Candidate {
    qsizetype length;
    qsizetype row;
    bool operator>(const Candidate& other) const { return length > other.length; }
};

}  // namespace

std::array<qsizetype, kColumnCount> widestRows(const Catalogue& catalogue, const QFontMetrics& metrics, int candidates)
{
    // Per column a heap of the longest texts so far, shortest on top.
    std::array<std::vector<Candidate>, kColumnCount> longest;
    const auto keep = size_t(std::max(candidates, 1));
    for (qsizetype i = 0; i < catalogue.size(); ++i) {
        const SongRecord& row = catalogue.row(i);
        for (int c = 0; c < kColumnCount; ++c) {
            std::vector<Candidate>& heap = longest[size_t(c)];
            const Candidate candidate{row.stored(c).size(), i};
            if (heap.size() < keep) {
                heap.push_back(candidate);
                std::push_heap(heap.begin(), heap.end(), std::greater<>());
            } else if (candidate.length > heap.front().length) {
                std::pop_heap(heap.begin(), heap.end(), std::greater<>());
                heap.back() = candidate;
                std::push_heap(heap.begin(), heap.end(), std::greater<>());
            }
        }
    }
    std::array<qsizetype, kColumnCount> widest;
    for (int c = 0; c < kColumnCount; ++c) {
        std::vector<Candidate>& heap = longest[size_t(c)];
        std::sort(heap.begin(), heap.end(), [](const Candidate& a, const Candidate& b) { return a.row < b.row; });
        qsizetype best = -1;
        int bestWidth = -1;
        for (const Candidate& candidate : heap) {
            const int width = metrics.horizontalAdvance(catalogue.row(candidate.row).text(c));
            if (width > bestWidth) {
                bestWidth = width;
                best = candidate.row;
            }
        }
        widest[size_t(c)] = best;
    }
    return widest;
}

}  // namespace sonivo
