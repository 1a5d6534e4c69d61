#include "compare/peak_list_text.h"

#include <algorithm>

#include "chem/number_text.h"

namespace isoquill {
namespace {

// The lines of `text`, split at "\r\n", "\n" or "\r"; a line break at the
// very end ends the last line rather than starting an empty one.
std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        const std::size_t breakLength = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        text.remove_prefix(end + breakLength);
    }
    return lines;
}

std::vector<std::string> fields(std::string_view line, std::string_view separators) {
    std::vector<std::string> result;
    std::size_t start = line.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, start);
        result.emplace_back(line.substr(start, end - start));
        start = line.find_first_not_of(separators, end);
    }
    return result;
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool holdsDigit(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Add's rules, with an abundance too large for a Real48 refused like any
// other instead of ending the paste.
bool addPeak(ObservedPeaks& observed, const std::array<std::string, 2>& pair) {
    try {
        return addObservedPeak(observed, readInteger(pair[0]), readNumber(pair[1]));
    } catch (const FloatOverflowError&) {
        return false;
    }
}

}  // namespace

bool holdsSeveralLines(std::string_view text) { return textLines(text).size() > 1; }

std::optional<std::array<std::string, 2>> splitPeakLine(std::string_view line) {
    std::vector<std::string> parts = fields(line, " \t;");
    if (parts.size() == 2) {
        for (std::string& part : parts) std::replace(part.begin(), part.end(), ',', '.');
    } else if (parts.size() == 1) {
        parts = fields(parts[0], ",");
    }
    if (parts.size() != 2) return std::nullopt;
    return std::array<std::string, 2>{parts[0], parts[1]};
}

PeakListPaste addPeakList(ObservedPeaks& observed, std::string_view text) {
    PeakListPaste paste;
    bool first = true;
    int number = 0;
    for (std::string_view line : textLines(text)) {
        ++number;
        if (isBlank(line)) continue;
        const bool header = first && !holdsDigit(line);
        first = false;
        if (header) continue;
        const std::optional<std::array<std::string, 2>> pair = splitPeakLine(line);
        if (pair && addPeak(observed, *pair)) ++paste.added;
        else paste.refusedLines.push_back(number);
    }
    return paste;
}

std::string refusedLinesMessage(const std::vector<int>& lines) {
    std::string message = std::to_string(lines.size()) + (lines.size() == 1 ? " Zeile" : " Zeilen") +
                          " nicht übernommen:";
    for (std::size_t i = 0; i < lines.size(); ++i) message += (i == 0 ? " " : ", ") + std::to_string(lines[i]);
    return message;
}

std::vector<std::array<std::string, 2>> peakListTable(const ObservedPeaks& observed) {
    std::vector<std::array<std::string, 2>> table{{"Mass", "Abundance"}};
    for (int i = 1; i <= observed.count(); ++i) {
        const Peak& peak = observed.observedPeaks[i];
        table.push_back({formatReal(loadReal48(peak.mass), 0, 0), formatReal(peak.abundance, 0, 5)});
    }
    return table;
}

}  // namespace isoquill
