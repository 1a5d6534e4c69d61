#include "chem/element_table.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shipped_elements.h"

namespace isoquill {
namespace {

namespace fs = std::filesystem;

class ElementFile : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::vector<char>& data) {
        std::ofstream(dir_ / "PSE.DAT", std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
        return dir_ / "PSE.DAT";
    }
    // A cleared table loaded from `path`; the InOutError code, 0 when the file loads.
    int loadCode(const fs::path& path) {
        clearElementTable(table_);
        try {
            loadElementFile(table_, path);
        } catch (const InOutError& error) {
            return error.code();
        }
        return 0;
    }

    const fs::path dir_ = fs::temp_directory_path() / ("isoquill_elements_" + std::to_string(::getpid()));
    const std::vector<char> shipped_{std::istreambuf_iterator<char>(
                                         std::ifstream(testing::shippedElementFile(), std::ios::binary).rdbuf()),
                                     {}};
    ElementTable table_;
};

// By the file's length: the code raised, the records loaded whole before the
// first one left cleared, and a record read in part holds the bytes it got.
TEST_F(ElementFile, LoadsTheBytesItHoldsWhateverItsLength) {
    ASSERT_EQ(shipped_.size(), 20812u);
    EXPECT_EQ(loadCode(testing::shippedElementFile()), 0);
    EXPECT_EQ(std::memcmp(table_.data(), shipped_.data(), shipped_.size()), 0);
    EXPECT_EQ(table_[50].symbol, Symbol::from("Sn"));
    EXPECT_EQ(table_[50].isotopeCount, 10);
    const struct { std::size_t size; int code; std::size_t wholeRecords; } cases[] = {
        {20812 + 500, 0, 121}, {120 * 172, 100, 120}, {20 * 172 + 4, 100, 20}, {0, 100, 0}, {20811, 100, 120},
    };
    for (const auto& c : cases) {
        std::vector<char> data = shipped_;
        data.resize(c.size, 'x');
        if (c.size < shipped_.size()) std::fill(data.begin() + long(c.wholeRecords * 172), data.end(), '\x55');  // so they show
        EXPECT_EQ(loadCode(write(data)), c.code) << c.size;
        EXPECT_EQ(std::memcmp(table_.data(), data.data(), c.wholeRecords * 172), 0) << c.size;
        if (c.wholeRecords > 120) continue;
        ElementRecord partial{};
        partial.number = static_cast<std::uint8_t>(c.wholeRecords);
        std::memcpy(&partial, data.data() + c.wholeRecords * 172, c.size - c.wholeRecords * 172);
        EXPECT_EQ(std::memcmp(&table_[c.wholeRecords], &partial, 172), 0) << c.size;
    }
}

TEST_F(ElementFile, ErrorCodesAndMessages) {
    EXPECT_EQ(loadCode(dir_ / "PSE.DAT"), 2);
    EXPECT_TRUE(table_[6].symbol.empty());
    EXPECT_EQ(table_[6].number, 6);
    EXPECT_EQ(loadCode(dir_), 5);
    EXPECT_EQ(loadCode(dir_ / std::string(300, 'x')), 3);  // a name too long for the file system
    const fs::path path = write(shipped_);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(loadCode(path), 0);  // opened read-only
    EXPECT_EQ(table_[6].symbol, Symbol::from(" C"));
    const std::pair<int, const char*> messages[] = {
        {2, "Datei nicht gefunden"}, {3, "Ungültiger Dateiname"}, {4, "Zu viele Dateien geöffnet"},
        {5, "Dateizugriff verweigert"}, {100, "Lesen nach Dateiende (EOF)"},
        {101, "Kapazität der Diskette/Festplatte erschöpft"}, {106, "Ungültige numerische Eingabe"}, {13, "I/O-Fehler 13"},
    };
    for (const auto& [code, message] : messages) EXPECT_STREQ(InOutError(code).what(), message) << code;
}

TEST(Symbol, ComparesLengthAndCoveredCharacters) {
    Symbol withJunk = Symbol::from("C");
    withJunk.chars[1] = 'x';  // beyond the length: not compared
    EXPECT_EQ(withJunk, Symbol::from("C"));
    EXPECT_NE(Symbol::from("C"), Symbol::from(" C"));
    EXPECT_NE(Symbol::from("Co"), Symbol::from("CO"));
}

}  // namespace
}  // namespace isoquill
