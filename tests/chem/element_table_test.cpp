#include "chem/element_table.h"
#include "chem/element_file_places.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

namespace isoquill::testing {

namespace fs = std::filesystem;

// By the file's length: the code raised, and the bytes read over a cleared
// table, a record read in part included.
// Where the file cannot be opened: the runtime's code, and its message.
TEST(ElementFile, LoadsTheBytesItHoldsOrRaisesTheRuntimesCode) {
    const std::vector<char> shipped{std::istreambuf_iterator<char>(std::ifstream(ISOQUILL_ELEMENT_FILE).rdbuf()), {}};
    ASSERT_EQ(shipped.size(), 20812u);
    const fs::path dir = fs::temp_directory_path() / ("isoquill_elements_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ElementTable table;
    // A cleared table loaded from `path`, with `data` written there first; the InOutError code, 0 when it loads.
    const auto loadCode = [&](const fs::path& path, const std::vector<char>* data = nullptr) {
        if (data) std::ofstream(path, std::ios::binary).write(data->data(), static_cast<std::streamsize>(data->size()));
        clearElementTable(table);
        try {
            loadElementFile(table, path);
        } catch (const InOutError& error) {
            return error.code();
        }
        return 0;
    };
    const std::pair<std::size_t, int> cases[] = {
        {20812, 0}, {20812 + 500, 0}, {120 * 172, 100}, {20 * 172 + 4, 100}, {0, 100}, {20811, 100},
    };
    for (const auto& [size, code] : cases) {
        std::vector<char> data = shipped;
        data.resize(size, 'x');
        // 0x55 from the last whole record on, so that a record read in part shows
        if (size < shipped.size()) std::fill(data.begin() + long(size / 172 * 172), data.end(), '\x55');
        EXPECT_EQ(loadCode(dir / "PSE.DAT", &data), code) << size;
        ElementTable expected;  // the bytes read, over a cleared table
        clearElementTable(expected);
        std::memcpy(expected.data(), data.data(), std::min(size, sizeof expected));
        EXPECT_EQ(std::memcmp(table.data(), expected.data(), sizeof expected), 0) << size;
    }
    fs::permissions(dir / "PSE.DAT", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(loadCode(dir / "PSE.DAT"), 100);  // opened read-only
    EXPECT_EQ(loadCode(dir / "none"), 2);
    EXPECT_EQ(loadCode(dir), 5);
    EXPECT_EQ(loadCode(dir / std::string(300, 'x')), 3);  // a name too long for the file system
    fs::remove_all(dir);
    const std::pair<int, const char*> messages[] = {
        {2, "Datei nicht gefunden"}, {3, "Ungültiger Dateiname"}, {4, "Zu viele Dateien geöffnet"},
        {5, "Dateizugriff verweigert"}, {100, "Lesen nach Dateiende (EOF)"},
        {101, "Kapazität der Diskette/Festplatte erschöpft"}, {106, "Ungültige numerische Eingabe"},
        {13, "I/O-Fehler 13"},
    };
    for (const auto& [code, message] : messages) EXPECT_STREQ(InOutError(code).what(), message) << code;
}


// The current directory first, then the data folder beside the program's;
// only a missing file moves on, and none at all names both places.
TEST(ElementFile, IsFoundInTheCurrentDirectoryThenInTheInstalledDataFolder) {
    const fs::path root = fs::temp_directory_path() / ("isoquill_places_" + std::to_string(::getpid()));
    const fs::path bin = root / "bin", data = root / "share" / "isoquill", work = root / "work";
    const fs::path previous = fs::current_path();
    const std::vector<char> shipped{std::istreambuf_iterator<char>(std::ifstream(ISOQUILL_ELEMENT_FILE).rdbuf()), {}};
    // A file whose record 1 names its place, so the table tells which was read.
    const auto writeAt = [&](const fs::path& dir, char mark, std::size_t size) {
        std::vector<char> data = shipped;
        data[172 + 1] = mark;
        data.resize(size);
        std::ofstream(dir / "PSE.DAT", std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
    };
    struct Case {
        const char* name;
        std::size_t hereSize, installedSize;  // 0: no file
        std::string expected;                 // the mark read, or the error's message
    };
    const Case cases[] = {
        {"both", 20812, 20812, "w"},
        {"installed only", 0, 20812, "i"},
        {"short here", 100, 20812, "Lesen nach Dateiende (EOF)"},
        {"none", 0, 0, "Datei nicht gefunden: " + (work / "PSE.DAT").string() + ", " + (data / "PSE.DAT").string()},
    };
    for (const Case& c : cases) {
        fs::remove_all(root);
        for (const fs::path& dir : {bin, data, work}) fs::create_directories(dir);
        if (c.hereSize) writeAt(work, 'w', c.hereSize);
        if (c.installedSize) writeAt(data, 'i', c.installedSize);
        fs::current_path(work);
        ElementTable table;
        clearElementTable(table);
        std::string result;
        try {
            loadElementFileFromPlaces(table, bin);
            result = std::string(1, table[1].symbol.chars[0]);
        } catch (const InOutError& error) {
            result = error.what();
        }
        fs::current_path(previous);
        EXPECT_EQ(result, c.expected) << c.name;
    }
    fs::remove_all(root);
}

}  // namespace isoquill::testing
