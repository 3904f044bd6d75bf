#pragma once
// Wall time for the benchmark's figures, finer than the program's millisecond tick (a page turn
// takes well under one), and what the rounds of one figure sum up to.

#include <cstddef>
#include <vector>

namespace glyvora::bench {

// Seconds since some fixed point, from the system's monotonic high-resolution counter.
double now();

// The values one figure took over the rounds.
class Samples {
public:
    void add(double value) { values_.push_back(value); }
    bool empty() const { return values_.empty(); }
    std::size_t count() const { return values_.size(); }
    // The middle value; with an even count the mean of the two middle ones. NaN when empty.
    double median() const;
    double min() const;
    double max() const;

private:
    std::vector<double> values_;
};

} // namespace glyvora::bench
