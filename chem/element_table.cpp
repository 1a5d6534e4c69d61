#include "chem/element_table.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace isoquill {

Symbol Symbol::from(std::string_view text) {
    Symbol symbol;
    symbol.length = static_cast<std::uint8_t>(text.size() < 2 ? text.size() : 2);
    for (std::size_t i = 0; i < symbol.length; ++i) symbol.chars[i] = text[i];
    return symbol;
}

std::string_view Symbol::text() const {
    return {chars.data(), length < 2 ? length : std::size_t{2}};
}

InOutError::InOutError(int code) : std::runtime_error(messageFor(code)), code_(code) {}

InOutError::InOutError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

std::string InOutError::messageFor(int code) {
    switch (code) {
        case 2: return "Datei nicht gefunden";
        case 3: return "Ungültiger Dateiname";
        case 4: return "Zu viele Dateien geöffnet";
        case 5: return "Dateizugriff verweigert";
        case 100: return "Lesen nach Dateiende (EOF)";
        case 101: return "Kapazität der Diskette/Festplatte erschöpft";
        case 106: return "Ungültige numerische Eingabe";
        default: return "I/O-Fehler " + std::to_string(code);
    }
}

void clearElementTable(ElementTable& elementTable) {
    for (int i = 0; i < elementRecordCount; ++i) {
        ElementRecord& record = elementTable[static_cast<std::size_t>(i)];
        record = ElementRecord{};
        record.number = static_cast<std::uint8_t>(i);
    }
}

// The operating system's error numbers where they mean the same, the
// runtime's own code otherwise.
int inOutErrorCode(int error) {
    switch (error) {
        case ENOENT: case ENOTDIR: return 2;
        case ENAMETOOLONG: return 3;
        case EMFILE: case ENFILE: return 4;
        case EACCES: case EPERM: case EISDIR: return 5;
        default: return error;
    }
}

void loadElementFile(ElementTable& elementTable, const std::filesystem::path& path) {
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    errno = 0;
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw InOutError(inOutErrorCode(errno));
    for (auto& record : elementTable) {
        // A short read keeps the bytes it got; the rest stays as cleared.
        errno = 0;
        if (std::fread(&record, 1, sizeof record, file.get()) != sizeof record)
            throw InOutError(std::ferror(file.get()) ? inOutErrorCode(errno) : 100);
    }
}

}  // namespace isoquill
