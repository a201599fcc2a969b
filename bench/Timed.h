#pragma once
// Runs one step of a benchmark and prints its name and the seconds it took.

#include <QElapsedTimer>

#include <cstdio>

template <typename Step> void timed(const char* what, Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    std::printf("%-32s %8.3f s\n", what, double(timer.nsecsElapsed()) / 1e9);
}
