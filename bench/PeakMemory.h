#pragma once
// The most memory the process has held so far, in megabytes.

#include <sys/resource.h>

inline long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
