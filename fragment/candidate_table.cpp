#include "fragment/candidate_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <system_error>

#include "fragment/mass_mode.h"
#include "fragment/ranking.h"

namespace isoquill {

namespace {

constexpr std::size_t pieceSize = 1 << 16;  // what the sink receives at a time

void appendInteger(std::string& text, std::uint64_t value) {
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text.append(buffer.data(), result.ptr);
}

[[noreturn]] void raiseSaveError(const std::filesystem::path& path, int error) {
    throw SaveError("Die Datei \"" + path.string() + "\" kann nicht gespeichert werden: " +
                    std::generic_category().message(error));
}

// The permissions the saved file gets: those of the file it replaces, else
// the usual ones for a new file.
mode_t savedFileMode(const std::filesystem::path& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The new file beside the target: closed and removed unless it was renamed.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target) : target_(target) {
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        std::string hidden = ".";  // appended, not "." + name: GCC 12 misreads that as overlapping
        hidden += target.filename().string();
        hidden += ".XXXXXX";
        name_ = (folder / hidden).string();
        descriptor_ = ::mkstemp(name_.data());
        if (descriptor_ < 0) raiseSaveError(target_, errno);
    }
    ~TemporaryFile() {
        if (descriptor_ >= 0) ::close(descriptor_);
        if (!renamed_) ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view piece) {
        while (!piece.empty()) {
            const ssize_t written = ::write(descriptor_, piece.data(), piece.size());
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) raiseSaveError(target_, errno);
            piece.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void commit(mode_t mode) {
        if (::fchmod(descriptor_, mode) != 0 || ::fsync(descriptor_) != 0) raiseSaveError(target_, errno);
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (::close(descriptor) != 0) raiseSaveError(target_, errno);
        if (::rename(name_.c_str(), target_.c_str()) != 0) raiseSaveError(target_, errno);
        renamed_ = true;
    }

private:
    std::filesystem::path target_;
    std::string name_;
    int descriptor_ = -1;
    bool renamed_ = false;
};

}  // namespace

void appendPlainFormula(std::string& text, const ResultTable& table, const Candidate& candidate) {
    for (int k = 0; k < table.codeFields; ++k) {
        const int count = candidate.counts[static_cast<std::size_t>(k)];
        if (count == 0) continue;
        for (char c : table.formula.formulaTable[static_cast<std::size_t>(k)].symbol.text())
            if (c != ' ') text += c;
        appendInteger(text, static_cast<std::uint64_t>(count));
    }
}

char separatorFor(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".csv" ? ',' : '\t';
}

void writeCandidateTable(const ResultTable& table, std::span<const std::uint32_t> rows, char separator,
                         const TextSink& sink) {
    const CandidateRules rules(table);
    const long double target = loadReal48(table.targetMass);
    std::string text;
    text.reserve(pieceSize + 1024);
    for (std::size_t col = 0; col < candidateColumnHeads.size(); ++col) {
        if (col > 0) text += separator;
        text += candidateColumnHeads[col];
    }
    text += '\n';
    for (std::uint32_t row : rows) {
        const Candidate& candidate = table.rows[row];
        appendInteger(text, std::uint64_t{row} + 1);
        text += separator;
        appendExactNumber(text, static_cast<double>(loadReal48(candidate.mass)));
        text += separator;
        appendExactNumber(text, static_cast<double>(candidateDeviation(candidate, target)));
        text += separator;
        appendExactNumber(text, static_cast<double>(deviationPpm(candidate, table.targetMass)));
        text += separator;
        appendExactNumber(text, static_cast<double>(loadReal48(candidate.error)));
        text += separator;
        if (const std::optional<long double> value = rules.rdbe(candidate))
            appendExactNumber(text, static_cast<double>(*value));
        text += separator;
        appendPlainFormula(text, table, candidate);
        text += '\n';
        if (text.size() >= pieceSize) {
            sink(text);
            text.clear();
        }
    }
    if (!text.empty()) sink(text);
}

std::string candidateTableText(const ResultTable& table, std::span<const std::uint32_t> rows, char separator) {
    std::string text;
    writeCandidateTable(table, rows, separator, [&text](std::string_view piece) { text += piece; });
    return text;
}

void saveCandidateTable(const std::filesystem::path& path, const ResultTable& table,
                        std::span<const std::uint32_t> rows, char separator) {
    const mode_t mode = savedFileMode(path);
    TemporaryFile file(path);
    writeCandidateTable(table, rows, separator, [&file](std::string_view piece) { file.write(piece); });
    file.commit(mode);
}

}  // namespace isoquill
