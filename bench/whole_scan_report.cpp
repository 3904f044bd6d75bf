#include "whole_scan_report.h"

#include <cmath>

namespace glyvora::bench {

namespace {

std::string formatted(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Three decimals for seconds, one for milliseconds and MiB, none for counts.
std::string number(double value, const std::string& unit) {
    if (unit == "s") return formatted("%.3f", value);
    if (unit == "ms" || unit == "MiB") return formatted("%.1f", value);
    return formatted("%.0f", value);
}

std::string withUnit(double value, const std::string& unit) {
    return unit.empty() ? number(value, unit) : number(value, unit) + " " + unit;
}

std::string comparison(const Goal& goal) {
    return goal.strict ? "<" : "<=";
}

} // namespace

std::optional<bool> goalMet(const Figure& figure) {
    if (!figure.text.empty()) return figure.textMet;
    if (!figure.goal || figure.samples.empty()) return std::nullopt;
    const double value = figure.samples.median();
    return figure.goal->strict ? value < figure.goal->limit : value <= figure.goal->limit;
}

std::string reportLine(const Figure& figure) {
    std::string line = figure.label + ": ";
    if (!figure.text.empty()) {
        line += figure.text;
    } else if (figure.samples.empty()) {
        line += "no value";
    } else {
        line += withUnit(figure.samples.median(), figure.unit);
        if (figure.samples.count() > 1)
            line += " (" + number(figure.samples.min(), figure.unit) + ".." +
                    number(figure.samples.max(), figure.unit) + ")";
    }
    if (figure.goal && figure.text.empty()) {
        line += "  goal ";
        line += comparison(*figure.goal);
        line += ' ';
        if (!figure.goal->formula.empty()) line += figure.goal->formula + " = ";
        line += withUnit(figure.goal->limit, figure.unit);
    }
    if (const std::optional<bool> met = goalMet(figure)) {
        if (*met) {
            line += ": met";
        } else if (figure.text.empty()) {
            line += ": MISSED by " + withUnit(figure.samples.median() - figure.goal->limit, figure.unit);
        } else {
            line += ": MISSED";
        }
    }
    if (!figure.activity.empty()) line += "  [" + figure.activity + "]";
    return line;
}

std::string tableCell(const Figure& figure) {
    if (!figure.text.empty()) {
        std::string cell = figure.text;
        if (figure.textMet) cell += *figure.textMet ? " ok" : " MISS";
        return cell;
    }
    if (figure.samples.empty()) return "-";
    std::string cell = withUnit(figure.samples.median(), figure.unit);
    if (figure.goal) {
        // Appended piece by piece: GCC 12 at -O3 warns falsely about a literal put before a string.
        cell += ' ';
        cell += comparison(*figure.goal);
        cell += number(figure.goal->limit, figure.unit);
    }
    if (const std::optional<bool> met = goalMet(figure)) cell += *met ? " ok" : " MISS";
    return cell;
}

void printBlock(const std::string& title, const std::vector<Figure>& figures) {
    std::printf("%s\n", title.c_str());
    for (const Figure& figure : figures)
        std::printf("  %s\n", reportLine(figure).c_str());
    std::fflush(stdout);
}

bool writeSummary(const std::string& path, const std::vector<Figure>& figures) {
    // Binary, so that the Windows build writes the same bytes as the native one.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    for (const Figure& figure : figures)
        std::fprintf(file, "%s\t%s\t%s\n", figure.key.c_str(), figure.label.c_str(),
                     tableCell(figure).c_str());
    return std::fclose(file) == 0;
}

} // namespace glyvora::bench
