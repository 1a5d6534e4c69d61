#include "compare/peak_list_file.h"

#include <cerrno>
#include <memory>

#include "chem/element_table.h"

namespace isoquill {
namespace {

[[noreturn]] void raiseSystemError(const std::string& name, int error) {
    throw PeakListFileError(name + ": " + InOutError::messageFor(inOutErrorCode(error)));
}

}  // namespace

std::string readPeakListFile(std::FILE* file, const std::string& name) {
    std::string text;
    char buffer[65536];
    errno = 0;
    while (text.size() <= peakListFileLimit) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, read);
        if (read < sizeof buffer) break;
    }
    if (std::ferror(file)) raiseSystemError(name, errno);
    if (text.size() > peakListFileLimit) throw PeakListFileError(name + ": Datei zu groß (mehr als 4 MB)");
    if (text.find('\0') != std::string::npos) throw PeakListFileError(name + ": keine Textdatei");
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

std::string readPeakListFile(const std::filesystem::path& path) {
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    errno = 0;
    const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) raiseSystemError(path.string(), errno);
    return readPeakListFile(file.get(), path.string());
}

}  // namespace isoquill
