#include "compare/peak_list_text.h"

#include <algorithm>
#include <optional>

#include "chem/number_text.h"

namespace isoquill {
namespace {

constexpr std::size_t listedLines = 10;  // so the message fits on a screen however long the text

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

std::string trimmed(std::string_view field) {
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(field.substr(first, field.find_last_not_of(" \t") - first + 1));
}

// The non-empty runs between separators, blanks around them trimmed.
std::vector<std::string> fields(std::string_view line, std::string_view separators) {
    std::vector<std::string> result;
    std::size_t start = line.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, start);
        if (std::string field = trimmed(line.substr(start, end - start)); !field.empty()) result.push_back(field);
        start = line.find_first_not_of(separators, end);
    }
    return result;
}

std::vector<std::string> dataFields(std::string_view line) {
    std::vector<std::string> parts = fields(line, " \t;");
    if (parts.size() == 1) parts = fields(parts[0], ",");
    return parts;
}

// A header line is split at tabs, else semicolons, else commas, and then so
// are its data lines, empty cells kept, so that names and texts may hold
// blanks and every column keeps its place; else as a data line.
char headerSeparator(std::string_view line) {
    for (char separator : {'\t', ';', ','})
        if (line.find(separator) != std::string_view::npos) return separator;
    return ' ';
}

std::vector<std::string> cells(std::string_view line, char separator) {
    if (separator == ' ') return dataFields(line);
    std::vector<std::string> result;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        result.push_back(trimmed(line.substr(start, end - start)));
        if (end == std::string_view::npos) return result;
        start = end + 1;
    }
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool startsLikeANumber(std::string_view field) {
    std::size_t i = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
    if (i < field.size() && (field[i] == '.' || field[i] == ',')) ++i;
    return i < field.size() && field[i] >= '0' && field[i] <= '9';
}

std::size_t leadingNumbers(const std::vector<std::string>& fields) {
    return static_cast<std::size_t>(std::find_if_not(fields.begin(), fields.end(),
                                                     [](const std::string& f) { return startsLikeANumber(f); }) -
                                    fields.begin());
}

std::string lowered(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

bool namesMass(const std::string& name) {
    const std::string n = lowered(name);
    return n.find("m/z") != std::string::npos || n.rfind("mass", 0) == 0 || n == "mz";
}

bool namesAbundance(const std::string& name) {
    const std::string n = lowered(name);
    return n.find("intens") != std::string::npos || n.find("abund") != std::string::npos ||
           n.find("area") != std::string::npos;
}

struct NamedColumns {
    char separator;
    std::size_t mass, abundance;
    std::string massName, abundanceName;
};

// The first cell naming each; both are needed.
std::optional<NamedColumns> namedColumns(std::string_view line) {
    const char separator = headerSeparator(line);
    const std::vector<std::string> names = cells(line, separator);
    std::optional<std::size_t> mass, abundance;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!mass && namesMass(names[i])) mass = i;
        else if (!abundance && namesAbundance(names[i])) abundance = i;
    }
    if (!mass || !abundance) return std::nullopt;
    return NamedColumns{separator, *mass, *abundance, names[*mass], names[*abundance]};
}

struct DataLine {
    int number;  // 1-based in the whole text
    std::vector<std::string> fields;
    std::size_t numbers;  // how many fields at its start are numbers
};

// Every line with three numbers or more starts with its running number,
// counted over the lines that start with a number from 0 or 1 on.
bool startsWithRunningIndex(const std::vector<DataLine>& lines) {
    std::optional<long double> expected;
    bool anyWide = false;
    for (const DataLine& line : lines) {
        if (line.numbers == 0) continue;
        const long double first = readNumber(line.fields[0]);
        if (!expected) {
            if (first != 0 && first != 1) return false;
            expected = first;
        }
        if (line.numbers >= 3) {
            if (first != *expected) return false;
            anyWide = true;
        }
        ++*expected;
    }
    return anyWide;
}

PeakLineFault faultOf(PeakRefusal refusal) {
    switch (refusal) {
    case PeakRefusal::massNotPositive: return PeakLineFault::massNotPositive;
    case PeakRefusal::abundanceNotPositive: return PeakLineFault::abundanceNotPositive;
    default: return PeakLineFault::listFull;
    }
}

// Add's rules, with a value too large for a Real48 refused like any other
// instead of ending the paste.
std::optional<PeakLineFault> addPeak(ObservedPeaks& observed, const std::string& mass, const std::string& abundance) {
    try {
        const PeakRefusal refusal = addObservedPeak(observed, readNumber(mass), readNumber(abundance));
        if (refusal == PeakRefusal::none) return std::nullopt;
        return faultOf(refusal);
    } catch (const FloatOverflowError&) {
        return PeakLineFault::outOfRange;
    }
}

const char* faultText(PeakLineFault fault) {
    switch (fault) {
    case PeakLineFault::noNumber: return "keine Zahl";
    case PeakLineFault::oneNumber: return "nur eine Zahl";
    case PeakLineFault::massNotPositive: return "Masse ≤ 0";
    case PeakLineFault::abundanceNotPositive: return "Abundance ≤ 0";
    case PeakLineFault::outOfRange: return "Zahl zu groß";
    case PeakLineFault::listFull: break;  // told once for all such lines
    }
    return "";
}

std::string linesText(std::size_t count) { return std::to_string(count) + (count == 1 ? " Zeile" : " Zeilen"); }

}  // namespace

bool holdsSeveralLines(std::string_view text) { return textLines(text).size() > 1; }

PeakListPaste addPeakList(ObservedPeaks& observed, std::string_view text) {
    PeakListPaste paste;
    std::optional<NamedColumns> named;
    std::vector<DataLine> lines;
    int number = 0;
    for (std::string_view line : textLines(text)) {
        ++number;
        if (isBlank(line)) continue;
        // A data line without the header's separator is split as any other.
        const bool asHeader = named && line.find(named->separator) != std::string_view::npos;
        std::vector<std::string> parts = asHeader ? cells(line, named->separator) : dataFields(line);
        const std::size_t numbers = leadingNumbers(parts);
        if (lines.empty() && !named && numbers == 0) {
            named = namedColumns(line);
            continue;
        }
        lines.push_back({number, std::move(parts), numbers});
    }

    std::size_t massField = 0, abundanceField = 1;
    if (named) {
        massField = named->mass;
        abundanceField = named->abundance;
        paste.columns = {PeakColumns::Rule::header, static_cast<int>(massField) + 1,
                         static_cast<int>(abundanceField) + 1, named->massName, named->abundanceName};
    } else if (startsWithRunningIndex(lines)) {
        massField = 1;
        abundanceField = 2;
        paste.columns = {PeakColumns::Rule::runningIndex, 2, 3, {}, {}};
    }
    for (const DataLine& line : lines) {
        // Without a header only the numbers at the start of the line count.
        const auto holdsNumber = [&](std::size_t field) {
            return named ? field < line.fields.size() && startsLikeANumber(line.fields[field]) : field < line.numbers;
        };
        std::optional<PeakLineFault> fault;
        if (!holdsNumber(massField)) fault = PeakLineFault::noNumber;
        else if (!holdsNumber(abundanceField)) fault = PeakLineFault::oneNumber;
        else fault = addPeak(observed, line.fields[massField], line.fields[abundanceField]);
        if (fault) {
            paste.refusedLines.push_back(line.number);
            paste.refusedReasons.push_back(*fault);
        } else {
            ++paste.added;
        }
    }
    return paste;
}

std::string peakListPasteMessage(const PeakListPaste& paste) {
    std::vector<std::pair<int, PeakLineFault>> refused;
    std::size_t full = 0;
    int firstFull = 0;
    for (std::size_t i = 0; i < paste.refusedLines.size(); ++i) {
        const int line = paste.refusedLines[i];
        if (paste.refusedReasons[i] != PeakLineFault::listFull) refused.emplace_back(line, paste.refusedReasons[i]);
        else if (full++ == 0) firstFull = line;
    }
    if (refused.empty() && full == 0) return {};

    std::string message;
    const PeakColumns& columns = paste.columns;
    if (columns.rule == PeakColumns::Rule::runningIndex) {
        message = "Erste Zahl jeder Zeile als laufende Nummer übergangen\n";
    } else if (columns.mass != 1 || columns.abundance != 2) {
        message = "Spalten aus der Kopfzeile: " + columns.massName + " (" + std::to_string(columns.mass) + "), " +
                  columns.abundanceName + " (" + std::to_string(columns.abundance) + ")\n";
    }
    if (refused.size() == 1) {
        message += "Zeile " + std::to_string(refused[0].first) + " nicht übernommen: " + faultText(refused[0].second) +
                   "\n";
    } else if (!refused.empty()) {
        message += linesText(refused.size()) + " nicht übernommen:\n";
        for (std::size_t i = 0; i < std::min(refused.size(), listedLines); ++i)
            message += "Zeile " + std::to_string(refused[i].first) + ": " + faultText(refused[i].second) + "\n";
        if (refused.size() > listedLines)
            message += "und " + std::to_string(refused.size() - listedLines) + " weitere\n";
    }
    if (full > 0) {
        message += "Liste voll (" + std::to_string(observedPeakLimit) + " Peaks): " + linesText(full) + " ab Zeile " +
                   std::to_string(firstFull) + " nicht übernommen\n";
    }
    message.pop_back();
    return message;
}

std::vector<std::array<std::string, 2>> peakListTable(const ObservedPeaks& observed) {
    std::vector<std::array<std::string, 2>> table{{"Mass", "Abundance"}};
    for (int i = 1; i <= observed.count(); ++i) {
        const Peak& peak = observed.observedPeaks[i];
        table.push_back({observedMassText(peak.mass), formatReal(peak.abundance, 0, 5)});
    }
    return table;
}

}  // namespace isoquill
