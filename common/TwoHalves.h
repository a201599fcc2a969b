#pragma once
// Work over many items shared with a second thread: step(from, to) runs on the
// first half here and on the second half on a thread of its own, at the same
// time. Below kTwoHalvesFrom items one call does it all, as a thread would cost
// more than it saves.

#include <cstddef>
#include <thread>

namespace sonivo {

constexpr size_t kTwoHalvesFrom = 16384;

template <typename Step> void inTwoHalves(size_t n, Step step)
{
    if (n < kTwoHalvesFrom) {
        step(size_t(0), n);
        return;
    }
    std::thread helper([&] { step(n / 2, n); });
    step(size_t(0), n / 2);
    helper.join();
}

// Runs two pieces of work over n items each at the same time, the second on a
// thread of its own; one after the other below kTwoHalvesFrom items.
template <typename First, typename Second> void together(size_t n, First first, Second second)
{
    if (n < kTwoHalvesFrom) {
        first();
        second();
        return;
    }
    std::thread helper([&] { second(); });
    first();
    helper.join();
}

}  // namespace sonivo
