#include "chem/element_table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
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

TEST_F(ElementFile, LongerFileLoadsTheSameRecords) {
    std::vector<char> data = shippedBytes();
    const std::vector<char> original = data;
    data.resize(data.size() + 500, 'x');
    EXPECT_EQ(loadCode(write(data)), 0);
    EXPECT_EQ(std::memcmp(table_.data(), original.data(), original.size()), 0);
}

TEST_F(ElementFile, MissingFileRaisesCodeTwo) {
    try {
        loadElementFile(table_, dir_ / "PSE.DAT");
        FAIL();
    } catch (const InOutError& error) {
        EXPECT_EQ(error.code(), 2);
        EXPECT_STREQ(error.what(), "Datei nicht gefunden");
    }
    EXPECT_TRUE(table_[6].symbol.empty());
    EXPECT_EQ(table_[6].number, 6);
}

TEST_F(ElementFile, ShortFileKeepsWhatWasRead) {
    std::vector<char> data = shippedBytes();
    data.resize(120 * 172);
    try {
        loadElementFile(table_, write(data));
        FAIL();
    } catch (const InOutError& error) {
        EXPECT_EQ(error.code(), 100);
        EXPECT_STREQ(error.what(), "Lesen nach Dateiende (EOF)");
    }
    EXPECT_EQ(table_[6].symbol, Symbol::from(" C"));
    EXPECT_EQ(std::memcmp(&table_[119], data.data() + 119 * 172, 172), 0);
    ElementRecord cleared{};
    cleared.number = 120;
    EXPECT_EQ(std::memcmp(&table_[120], &cleared, 172), 0);

    // A record read only in part holds the bytes it got, the rest as cleared.
    data.resize(20 * 172 + 4);
    data[20 * 172 + 3] = 77;  // the number byte of record 20
    clearElementTable(table_);
    EXPECT_EQ(loadCode(write(data)), 100);
    EXPECT_EQ(table_[20].number, 77);
    EXPECT_TRUE(table_[21].symbol.empty());
    EXPECT_EQ(table_[21].number, 21);
}

TEST_F(ElementFile, EmptyFileAndDirectoryFail) {
    EXPECT_EQ(loadCode(write({})), 100);
    EXPECT_EQ(table_[1].number, 1);
    EXPECT_EQ(loadCode(dir_), 5);
}

TEST_F(ElementFile, FileOneByteShortKeepsAllButTheLastByte) {
    std::vector<char> data = shippedBytes();
    std::fill(data.end() - 172, data.end(), '\x55');  // record 120, so its bytes show
    data.pop_back();
    ASSERT_EQ(data.size(), 20811u);
    EXPECT_EQ(loadCode(write(data)), 100);
    EXPECT_EQ(std::memcmp(table_.data(), data.data(), 120 * 172), 0);
    const auto* last = reinterpret_cast<const unsigned char*>(&table_[120]);
    EXPECT_TRUE(std::all_of(last, last + 171, [](unsigned char byte) { return byte == 0x55; }));
    EXPECT_EQ(last[171], 0);
}

// Whatever bytes the file holds, loading raises nothing but the short
// file's code, and formulas over what it loaded either compare or end in
// one of the runtime's errors: no crash, no read outside a table. Random
// files give mostly missing data; the shipped file with random isotope
// masses and abundances (zero, huge, negative) reaches the simulation.
TEST_F(ElementFile, RandomBytesLoadAndSimulateWithoutHarm) {
    std::mt19937 random(20811);
    const std::vector<char> shipped = shippedBytes();
    for (const bool keepRecords : {false, true}) {
        for (const std::size_t size : {1u, 171u, 172u, 3001u, 20811u, 20812u, 25000u}) {
            std::vector<char> data(size);
            for (std::size_t i = 0; i < size; ++i) {
                const bool isotopeValue = i % 172 >= 16 && i % 16 < 12;
                data[i] = keepRecords && i < shipped.size() && !isotopeValue ? shipped[i] : static_cast<char>(random());
            }
            clearElementTable(table_);
            EXPECT_EQ(loadCode(write(data)), size < 20812 ? 100 : 0) << size;

            // Formulas of the symbols the file offers, as typed, with small counts.
            std::vector<std::string> formulas = {"C6H12O6", "SnCl4", "Xx"};
            for (int f = 0; f < 6; ++f) {
                std::string text;
                for (int e = 0; e < 3; ++e) {
                    std::string written(table_[1 + random() % lastFormulaElement].symbol.text());
                    if (!written.empty() && written.front() == ' ') written.erase(0, 1);
                    text += written + std::to_string(1 + random() % 12);
                }
                formulas.push_back(text);
            }
            CompareState state;
            state.observed.observedPeaks[1] = {storeReal48(100.0L), 100.0L};
            state.observed.observedPeaks[2] = {storeReal48(101.0L), 30.0L};
            state.observed.observedNext = 3;
            for (const std::string& text : formulas) {
                try {
                    if (!runComparisonChain(state, table_, text)) continue;
                    for (const Peak& peak : state.simulation.simPeaks) {
                        EXPECT_TRUE(std::isfinite(peak.abundance)) << text;
                        EXPECT_LE(peak.abundance, 100.000001L) << text;
                    }
                    EXPECT_LE(state.comparison.rowCount, maxComparisonRows);
                } catch (const InOutError&) {
                } catch (const FloatOverflowError&) {
                } catch (const SimulationTooLargeError&) {
                } catch (const EmptyPatternError&) {
                } catch (const ComparisonTooWideError&) {
                }
            }
        }
    }
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

TEST_F(ElementFile, WriteProtectedFileLoads) {
    const fs::path path = write(shippedBytes());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(loadCode(path), 0);
    EXPECT_EQ(table_[6].symbol, Symbol::from(" C"));
}

TEST(InOutError, MessagesByCode) {
    EXPECT_EQ(InOutError::messageFor(3), "Ungültiger Dateiname");
    EXPECT_EQ(InOutError::messageFor(4), "Zu viele Dateien geöffnet");
    EXPECT_EQ(InOutError::messageFor(5), "Dateizugriff verweigert");
    EXPECT_EQ(InOutError::messageFor(101), "Kapazität der Diskette/Festplatte erschöpft");
    EXPECT_EQ(InOutError::messageFor(106), "Ungültige numerische Eingabe");
    EXPECT_EQ(InOutError::messageFor(13), "I/O-Fehler 13");
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
