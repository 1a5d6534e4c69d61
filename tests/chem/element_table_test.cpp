#include "chem/element_table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compare/compare_chain.h"
#include "shipped_elements.h"

namespace isoquill {
namespace {

namespace fs = std::filesystem;

std::vector<char> shippedBytes() {
    std::ifstream in(testing::shippedElementFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ElementFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("isoquill_elements_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        clearElementTable(table_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::vector<char>& data) {
        const fs::path path = dir_ / "PSE.DAT";
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(data.data(), static_cast<std::streamsize>(data.size()));
        return path;
    }

    int loadCode(const fs::path& path) {
        try {
            loadElementFile(table_, path);
        } catch (const InOutError& error) {
            return error.code();
        }
        return 0;
    }

    fs::path dir_;
    ElementTable table_;
};

TEST_F(ElementFile, ShippedFileIsComplete) {
    const std::vector<char> data = shippedBytes();
    ASSERT_EQ(data.size(), 20812u);
    EXPECT_EQ(loadCode(testing::shippedElementFile()), 0);
    EXPECT_EQ(std::memcmp(table_.data(), data.data(), data.size()), 0);

    const ElementRecord& none = table_[0];
    EXPECT_TRUE(std::all_of(data.begin(), data.begin() + 172, [](char b) { return b == 0; }));
    EXPECT_EQ(none.isotopeCount, 0);
    for (int i = 0; i < elementRecordCount; ++i) EXPECT_EQ(table_[static_cast<std::size_t>(i)].number, i);

    const ElementRecord& carbon = table_[6];
    EXPECT_EQ(carbon.symbol, Symbol::from(" C"));
    EXPECT_EQ(carbon.isotopeCount, 2);
    EXPECT_EQ(loadReal48(carbon.isotope(1).mass), 12.0L);
    EXPECT_EQ(table_[17].symbol, Symbol::from("Cl"));
    EXPECT_EQ(table_[50].isotopeCount, 10);  // tin
    EXPECT_GT(loadReal48(table_[50].isotope(10).mass), loadReal48(table_[50].isotope(9).mass));
    EXPECT_EQ(table_[9].isotopeCount, 1);    // fluorine
    EXPECT_EQ(table_[43].isotopeCount, 0);   // technetium
    EXPECT_TRUE(table_[101].symbol.empty());
    for (int i = 1; i <= 100; ++i) {
        const ElementRecord& r = table_[static_cast<std::size_t>(i)];
        for (int j = 2; j <= r.isotopeCount; ++j)
            EXPECT_LT(loadReal48(r.isotope(j - 1).mass), loadReal48(r.isotope(j).mass)) << i;
    }
}

// By the file's length: the code raised, and the records loaded whole
// (the bytes read) before the first one left cleared.
TEST_F(ElementFile, ShortAndLongFilesLoadWhatTheyHold) {
    const std::vector<char> shipped = shippedBytes();
    const struct {
        std::size_t size;
        int code;
        std::size_t wholeRecords;
    } cases[] = {
        {20812 + 500, 0, 121}, {120 * 172, 100, 120}, {20 * 172 + 4, 100, 20}, {0, 100, 0}, {20811, 100, 120},
    };
    for (const auto& c : cases) {
        std::vector<char> data = shipped;
        data.resize(c.size, 'x');
        if (c.size < shipped.size()) std::fill(data.begin() + long(c.wholeRecords * 172), data.end(), '\x55');  // so they show
        clearElementTable(table_);
        EXPECT_EQ(loadCode(write(data)), c.code) << c.size;
        EXPECT_EQ(std::memcmp(table_.data(), data.data(), c.wholeRecords * 172), 0) << c.size;
        // A record read only in part holds the bytes it got, the rest as cleared.
        ElementRecord partial{};
        partial.number = static_cast<std::uint8_t>(c.wholeRecords);
        const std::size_t got = std::min<std::size_t>(c.size - std::min(c.size, c.wholeRecords * 172), 172);
        if (c.wholeRecords > 120) continue;
        std::memcpy(&partial, data.data() + c.wholeRecords * 172, got);
        EXPECT_EQ(std::memcmp(&table_[c.wholeRecords], &partial, 172), 0) << c.size;
    }
    try {
        loadElementFile(table_, write({}));
        FAIL();
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "Lesen nach Dateiende (EOF)");
    }
}

TEST_F(ElementFile, MissingFileDirectoryLongNameAndWriteProtectedFile) {
    try {
        loadElementFile(table_, dir_ / "PSE.DAT");
        FAIL();
    } catch (const InOutError& error) {
        EXPECT_EQ(error.code(), 2);
        EXPECT_STREQ(error.what(), "Datei nicht gefunden");
    }
    EXPECT_TRUE(table_[6].symbol.empty());
    EXPECT_EQ(table_[6].number, 6);
    EXPECT_EQ(loadCode(dir_), 5);
    EXPECT_EQ(loadCode(dir_ / std::string(300, 'x')), 3);  // a name too long for the file system
    const fs::path path = write(shippedBytes());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(loadCode(path), 0);
    EXPECT_EQ(table_[6].symbol, Symbol::from(" C"));
}

// An isotope count beyond the ten slots, taken from the file as it stands:
// the simulation reports the element as missing data and reads nothing past
// its record, even when that record is the table's last.
TEST_F(ElementFile, ElevenIsotopesMakeAnElementMissingData) {
    std::vector<char> data = shippedBytes();
    data[6 * 172 + 10] = 11;  // carbon
    // Record 100 names "Zz" as element 120, whose record takes tin's ten isotopes and claims eleven.
    const char zz[] = {2, 'Z', 'z', 120};
    std::copy(std::begin(zz), std::end(zz), data.begin() + 100 * 172);
    std::copy(data.begin() + 50 * 172, data.begin() + 51 * 172, data.begin() + 120 * 172);
    std::copy(std::begin(zz), std::end(zz), data.begin() + 120 * 172);
    data[120 * 172 + 10] = 11;
    // On the heap by itself, so that a read past record 120 is caught by the address sanitizer.
    const auto table = std::make_unique<ElementTable>();
    clearElementTable(*table);
    loadElementFile(*table, write(data));
    EXPECT_EQ((*table)[6].isotopeCount, 11);

    CompareState state;
    std::vector<std::string> notices;
    state.showMissingData = [&notices](const Symbol& symbol) { notices.emplace_back(symbol.text()); };
    ASSERT_TRUE(runComparisonChain(state, *table, "C6H12O6"));
    EXPECT_EQ(notices, std::vector<std::string>{" C"});
    ASSERT_TRUE(runComparisonChain(state, *table, "Zz2"));
    EXPECT_EQ(notices, (std::vector<std::string>{" C", "Zz"}));
    EXPECT_EQ(state.formula.formulaTable[0].element, 120);
    EXPECT_EQ(state.formula.formulaMass, storeReal48(2 * loadReal48((*table)[120].mass)));
    EXPECT_TRUE(state.simulation.simPeaks.empty());
}

TEST(InOutError, MessagesByCode) {
    const std::pair<int, const char*> cases[] = {
        {3, "Ungültiger Dateiname"}, {4, "Zu viele Dateien geöffnet"}, {5, "Dateizugriff verweigert"},
        {101, "Kapazität der Diskette/Festplatte erschöpft"}, {106, "Ungültige numerische Eingabe"}, {13, "I/O-Fehler 13"},
    };
    for (const auto& [code, message] : cases) EXPECT_EQ(InOutError::messageFor(code), message) << code;
}

TEST(ElementRecord, MoreThanTenIsotopesMeansNoData) {
    ElementRecord record{};
    record.isotopeCount = 10;
    EXPECT_EQ(record.usableIsotopeCount(), 10);
    record.isotopeCount = 11;
    EXPECT_EQ(record.usableIsotopeCount(), 0);
}

TEST(Symbol, ComparesLengthAndCoveredCharacters) {
    EXPECT_EQ(Symbol::from(" C"), Symbol::from(" C"));
    EXPECT_NE(Symbol::from("C"), Symbol::from(" C"));
    EXPECT_NE(Symbol::from("Co"), Symbol::from("CO"));
    Symbol withJunk = Symbol::from("C");
    withJunk.chars[1] = 'x';  // beyond the length: not compared
    EXPECT_EQ(withJunk, Symbol::from("C"));
}

}  // namespace
}  // namespace isoquill
