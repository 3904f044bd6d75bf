// The figures' sums and verdicts: the medians the report is made of and a goal read at its limit.
#include "whole_scan_report.h"

#include <cmath>
#include <gtest/gtest.h>

namespace glyvora::bench {
namespace {

Samples of(std::initializer_list<double> values) {
    Samples samples;
    for (double v : values)
        samples.add(v);
    return samples;
}

Figure seconds(std::initializer_list<double> values, std::optional<Goal> goal) {
    Figure figure("visit.first", "first visit", "s");
    figure.samples = of(values);
    figure.goal = std::move(goal);
    return figure;
}

TEST(WholeScanSamples, medianOfUnsortedRoundsIsTheMiddleOne) {
    EXPECT_DOUBLE_EQ(of({3, 1, 2}).median(), 2);
    EXPECT_DOUBLE_EQ(of({9, 1, 5, 7, 3}).median(), 5);
}

TEST(WholeScanSamples, medianOfEvenCountIsTheMeanOfTheTwoMiddleOnes) {
    EXPECT_DOUBLE_EQ(of({4, 1, 3, 2}).median(), 2.5);
    EXPECT_DOUBLE_EQ(of({1, 2}).median(), 1.5);
}

TEST(WholeScanSamples, noRoundsGiveNoValueNotZero) {
    const Samples none;
    EXPECT_TRUE(std::isnan(none.median()));
    EXPECT_TRUE(std::isnan(none.min()));
    EXPECT_TRUE(std::isnan(none.max()));
}

TEST(WholeScanGoal, atTheLimitMeetsAtMostButNotBelow) {
    EXPECT_EQ(goalMet(seconds({0.6}, Goal(0.6))), true);
    EXPECT_EQ(goalMet(seconds({0.6}, Goal(0.6, true))), false);
    EXPECT_EQ(goalMet(seconds({0.601}, Goal(0.6))), false);
}

TEST(WholeScanGoal, isReadOnTheMedianNotOnTheWorstRound) {
    EXPECT_EQ(goalMet(seconds({0.5, 0.55, 9.0}, Goal(0.6))), true);
}

TEST(WholeScanGoal, noGoalOrNoValueGivesNoVerdict) {
    EXPECT_EQ(goalMet(seconds({0.6}, std::nullopt)), std::nullopt);
    EXPECT_EQ(goalMet(seconds({}, Goal(0.6))), std::nullopt);
}

TEST(WholeScanGoal, aFindingCarriesItsOwnVerdict) {
    Figure same("search.same", "search");
    same.text = "3 of 3 rounds DIFFER";
    same.textMet = false;
    EXPECT_EQ(goalMet(same), false);
    same.samples = of({1});
    same.goal = Goal(5);
    EXPECT_EQ(goalMet(same), false) << "the finding, not a stray value, decides";
}

TEST(WholeScanReport, lineShowsMedianSpreadFormulaAndByHowMuchItMisses) {
    const std::string line = reportLine(seconds({0.7, 0.625, 0.61}, Goal(0.6, false, "0.5+0.1 s")));
    EXPECT_EQ(line, "first visit: 0.625 s (0.610..0.700)  goal <= 0.5+0.1 s = 0.600 s: MISSED by 0.025 s");
}

TEST(WholeScanReport, oneRoundHasNoSpreadAndAMetGoalSaysSo) {
    Figure turn("page.turn", "page turn", "ms");
    turn.samples = of({12.34});
    turn.goal = Goal(50);
    turn.activity = "0 files opened";
    EXPECT_EQ(reportLine(turn), "page turn: 12.3 ms  goal <= 50.0 ms: met  [0 files opened]");
}

TEST(WholeScanReport, countsAreWholeNumbers) {
    Figure opens("visit.second.opens", "opened", "files");
    opens.samples = of({10001});
    opens.goal = Goal(0);
    EXPECT_EQ(tableCell(opens), "10001 files <=0 MISS");
}

TEST(WholeScanReport, cellOfNothingMeasuredIsADashAndOfAFindingItsText) {
    EXPECT_EQ(tableCell(seconds({}, Goal(1))), "-");
    Figure absent("floor.add", "adds");
    absent.text = "n/a (no GDI)";
    EXPECT_EQ(tableCell(absent), "n/a (no GDI)");
    EXPECT_EQ(reportLine(absent), "adds: n/a (no GDI)");
}

TEST(WholeScanReport, strictGoalIsShownAsBelow) {
    Figure gap("unanswered.first", "unanswered", "ms");
    gap.samples = of({100});
    gap.goal = Goal(100, true);
    EXPECT_EQ(tableCell(gap), "100.0 ms <100.0 MISS");
}

} // namespace
} // namespace glyvora::bench
