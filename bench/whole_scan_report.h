#pragma once
// Each figure of a run with its goal: the line it gets in the run's own block and the cell it
// gets in the table the script sets the runs side by side in.

#include "whole_scan_timing.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace glyvora::bench {

struct Goal {
    explicit Goal(double limit, bool strict = false, std::string formula = {})
        : limit(limit), strict(strict), formula(std::move(formula)) {}

    double limit = 0;
    // Below the limit rather than at most it.
    bool strict = false;
    // How the limit comes about, e.g. "2*walk+0.5+0.4 s"; empty when it is a plain number.
    std::string formula;
};

struct Figure {
    Figure(std::string key, std::string label, std::string unit = {})
        : key(std::move(key)), label(std::move(label)), unit(std::move(unit)) {}

    // A stable name (the table's row) and the words of the run's block.
    std::string key;
    std::string label;
    // Seconds are shown as "s", milliseconds as "ms"; the samples are in that unit.
    std::string unit;
    Samples samples;
    std::optional<Goal> goal;
    // Shown instead of a value and its goal: "n/a ...", or a finding such as "the same 312 fonts".
    std::string text;
    // With `text`: whether the finding meets what was asked of it; none when nothing was.
    std::optional<bool> textMet;
    // What the program did meanwhile, e.g. "10001 files opened, 10001 adds".
    std::string activity;
};

// Whether the figure meets its goal; none when it has none or no value.
std::optional<bool> goalMet(const Figure& figure);
// "0.612 s (0.601..0.640)  goal <= 0.5+0.1 s = 0.600 s: MISSED by 0.012 s"
std::string reportLine(const Figure& figure);
// "0.612 s <=0.600 MISS": the median, the limit and the verdict, short enough for a column.
std::string tableCell(const Figure& figure);

// The run's block on standard output.
void printBlock(const std::string& title, const std::vector<Figure>& figures);
// key TAB label TAB cell, one figure a line, for the script's side-by-side table.
bool writeSummary(const std::string& path, const std::vector<Figure>& figures);

} // namespace glyvora::bench
