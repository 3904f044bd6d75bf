#include "whole_scan_timing.h"

#include <algorithm>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace glyvora::bench {

double now() {
#ifdef _WIN32
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
#else
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
#endif
}

double Samples::median() const {
    if (values_.empty()) return std::numeric_limits<double>::quiet_NaN();
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Samples::min() const {
    if (values_.empty()) return std::numeric_limits<double>::quiet_NaN();
    return *std::min_element(values_.begin(), values_.end());
}

double Samples::max() const {
    if (values_.empty()) return std::numeric_limits<double>::quiet_NaN();
    return *std::max_element(values_.begin(), values_.end());
}

} // namespace glyvora::bench
