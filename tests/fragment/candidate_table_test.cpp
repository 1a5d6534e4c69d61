// The candidate table as text and as a saved file: exact bytes, numbers that
// read back to the stored values, and a save that leaves an existing file
// as it was when the new one cannot be written whole.
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <iterator>
#include <tuple>

#include <gtest/gtest.h>

#include "core_fixture.h"
#include "fragment/candidate_table.h"
#include "fragment/ranking.h"

namespace isoquill {
namespace {

using namespace testing;

// Glucose-like rows against target 180 over C, H, O, Na.
ResultTable smallTable() {
    ResultTable table;
    table.formula = parsed("CHONa");
    table.codeFields = 4;
    table.targetMass = storeReal48(180);
    table.rows = {{{6, 12, 6, 0}, storeReal48(180.0625L), storeReal48(12.5L)},
                  {{6, 0, 6, 0}, storeReal48(179.75L), Real48{}},
                  {{2, 3, 2, 1}, storeReal48(82.0L), storeReal48(1234.5L)},
                  {{10, 1, 0, 0}, storeReal48(0.1L), storeReal48(1e30L)}};
    return table;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<std::string> folderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The rows in the order given, the enumeration position 1-based; RDBE blank
// where sodium has no valence; counts of 1 written out. A stored 0.1 and
// 1e30 are written with every digit their Real48 holds.
TEST(CandidateTable, WritesTheGivenRowsWithHeaderAndExactNumbers) {
    const ResultTable table = smallTable();
    const std::vector<std::uint32_t> rows{2, 0, 1, 3};
    EXPECT_EQ(candidateTableText(table, rows, '\t'),
              "#\tMass\tDeviation\tppm\tError\tRDBE\tFormula\n"
              "3\t82\t-98\t-544444.4444444445\t1234.5\t\tC2H3O2Na1\n"
              "1\t180.0625\t0.0625\t347.22222222222223\t12.5\t1\tC6H12O6\n"
              "2\t179.75\t-0.25\t-1388.888888888889\t0\t7\tC6O6\n"
              "4\t0.10000000000002274\t-179.89999999990687\t-999444.444443927\t999999999999534741748122124288"
              "\t10.5\tC10H1\n");
    EXPECT_EQ(candidateTableText(table, std::vector<std::uint32_t>{0}, ','),
              "#,Mass,Deviation,ppm,Error,RDBE,Formula\n1,180.0625,0.0625,347.22222222222223,12.5,1,C6H12O6\n");

    // Random Real48 values of every size read back exactly, with "." and no exponent.
    std::mt19937 random(5);
    for (int i = 0; i < 2000; ++i) {
        const int exponent = std::uniform_int_distribution<int>(-120, 120)(random);
        const long double value = std::ldexp(std::uniform_real_distribution(-1.0, 1.0)(random), exponent);
        const double stored = static_cast<double>(roundReal48(value));
        const std::string text = exactNumberText(stored);
        ASSERT_EQ(std::strtod(text.c_str(), nullptr), stored) << text;
        ASSERT_EQ(text.find_first_of("eE,"), std::string::npos) << text;
    }

    const std::pair<const char*, char> names[] = {{"a.csv", ','},   {"a.CSV", ','},  {"a.tsv", '\t'},
                                                  {"a.txt", '\t'},  {"a", '\t'},     {"a.csv.txt", '\t'},
                                                  {"dir.csv/b", '\t'}};
    for (const auto& [name, separator] : names) EXPECT_EQ(separatorFor(name), separator) << name;
}

// Saved whole in place of an old file, keeping its permissions and leaving
// nothing beside it. A missing folder, a folder in the way and a file size
// limit (as a full disk does, the write fails midway) each raise SaveError
// naming the file and the reason, with the old file as it was and no partial
// file left.
TEST(CandidateTable, SavesWholeOrNotAtAll) {
    ResultTable table = smallTable();
    for (int i = 0; i < 20000; ++i) table.rows.push_back(table.rows[static_cast<std::size_t>(i % 4)]);
    const std::vector<std::uint32_t> rows = enumerationOrder(table);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "isoquill_candidate_table_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "taken.tsv");
    const std::filesystem::path saved = folder / "saved.csv";
    std::ofstream(saved) << "old";
    std::filesystem::permissions(saved, std::filesystem::perms(0640));

    saveCandidateTable(saved, table, rows, separatorFor(saved));
    EXPECT_EQ(fileText(saved), candidateTableText(table, rows, ','));
    EXPECT_EQ(std::filesystem::status(saved).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(folderNames(folder), (std::vector<std::string>{"saved.csv", "taken.tsv"}));

    std::ofstream(saved, std::ios::trunc) << "old";
    const std::tuple<std::filesystem::path, rlim_t, std::string> failures[] = {
        {saved, 100000, "File too large"},
        {folder / "missing" / "a.tsv", 0, "No such file or directory"},
        {folder / "taken.tsv", 0, "Is a directory"}};
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& [path, sizeLimit, reason] : failures) {
        rlimit limit = previous;
        if (sizeLimit > 0) limit.rlim_cur = sizeLimit;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string message;
        try {
            saveCandidateTable(path, table, rows, '\t');
        } catch (const SaveError& error) {
            message = error.what();
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_EQ(message, "Die Datei \"" + path.string() + "\" kann nicht gespeichert werden: " + reason);
    }
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(fileText(saved), "old");
    EXPECT_EQ(folderNames(folder), (std::vector<std::string>{"saved.csv", "taken.tsv"}));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace isoquill
