// The element table: everything the program knows about the elements, read
// once at start-up from the element data file "PSE.DAT". A record in memory
// is byte for byte a record of the file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "chem/real48.h"

namespace isoquill {

// A text of at most 2 characters with its length byte in front, as the file
// stores symbols. One-letter symbols are blank + letter with length 2.
struct Symbol {
    std::uint8_t length = 0;
    std::array<char, 2> chars{};

    static Symbol from(std::string_view text);  // keeps the first 2 characters
    std::string_view text() const;              // length capped at 2
    bool empty() const { return length == 0; }
    // Equal length byte and equal characters as far as the length covers.
    // Inline: symbol matching compares every entry with a hundred records.
    friend bool operator==(const Symbol& a, const Symbol& b) {
        if (a.length != b.length) return false;
        return (a.length < 1 || a.chars[0] == b.chars[0]) && (a.length < 2 || a.chars[1] == b.chars[1]);
    }
};
static_assert(sizeof(Symbol) == 3);

struct Isotope {
    Real48 mass;       // u
    Real48 abundance;  // fraction of 1
};

// Exactly the 172-byte record of the file: isotope j (1..10) starts at byte 16*j.
struct ElementRecord {
    Symbol symbol;
    std::uint8_t number = 0;
    Real48 mass;  // mean atomic mass, u
    std::uint8_t isotopeCount = 0;
    std::array<std::uint8_t, 5> unused{};
    struct Slot {
        Isotope isotope;
        std::array<std::uint8_t, 4> unused;
    };
    std::array<Slot, 9> slots{};  // isotopes 1..9
    Isotope lastIsotope;          // isotope 10, without trailing bytes

    const Isotope& isotope(int j) const { return j == 10 ? lastIsotope : slots[static_cast<std::size_t>(j - 1)].isotope; }
    // isotopeCount, or 0 when the file claims more than the 10 slots: such an
    // element has no usable isotope data.
    int usableIsotopeCount() const { return isotopeCount <= 10 ? isotopeCount : 0; }
};
static_assert(sizeof(ElementRecord) == 172);

constexpr int elementRecordCount = 121;     // element numbers 0..120
constexpr int lastFormulaElement = 100;     // symbols match records 1..100 only
using ElementTable = std::array<ElementRecord, elementRecordCount>;

// An input/output error of the runtime, with its code and German message.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code);
    InOutError(int code, const std::string& message);
    int code() const { return code_; }
    static std::string messageFor(int code);

private:
    int code_;
};

// The runtime's code for a failed open or read with the system's error
// number `error` (2 for ENOENT, 5 for EACCES, ...).
int inOutErrorCode(int error);

// All records zero, then record i numbered i.
void clearElementTable(ElementTable& elementTable);

// Reads 121 records of 172 bytes from `path` (default "PSE.DAT" in the
// current directory) into the table, verbatim. The file is opened read-only
// and closed on every path. Raises InOutError: the system's code when it
// cannot be opened, 100 when it ends before record 120 is complete; records
// read before the failure keep the file's bytes.
void loadElementFile(ElementTable& elementTable, const std::filesystem::path& path = "PSE.DAT");

}  // namespace isoquill
