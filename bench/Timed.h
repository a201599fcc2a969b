#pragma once
// Runs one step of a benchmark and prints its name and the time it took.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

template <typename Step> double secondsOf(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e9;
}

template <typename Step> void timed(const char* what, Step step)
{
    std::printf("%-32s %8.3f s\n", what, secondsOf(step));
}

// Prints the median of the times and every one of them.
inline void printMedian(const char* what, const std::vector<double>& took)
{
    std::vector<double> sorted = took;
    std::sort(sorted.begin(), sorted.end());
    std::printf("%-32s %8.3f s  median of", what, sorted[sorted.size() / 2]);
    for (double t : took)
        std::printf(" %.3f", t);
    std::printf("\n");
}

// Runs prepare (not timed) and then step, runs times, and prints the median
// step and every run, for figures taken on a busy machine.
template <typename Prepare, typename Step> void timedMedian(const char* what, int runs, Prepare prepare, Step step)
{
    std::vector<double> took;
    for (int k = 0; k < runs; ++k) {
        prepare();
        took.push_back(secondsOf(step));
    }
    printMedian(what, took);
}

// The mean time of one call of step over times calls, in milliseconds.
template <typename Step> void timedEach(const char* what, int times, Step step)
{
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < times; ++k)
        step();
    std::printf("%-32s %8.3f ms\n", what, double(timer.nsecsElapsed()) / 1e6 / times);
}
