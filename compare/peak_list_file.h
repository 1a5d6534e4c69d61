// Peak lists from files: the text of a file checked before it goes through
// the paste rules (addPeakList), for the window's drop and open and the
// command-line tool alike.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace isoquill {

// Larger files are refused: the list holds a few hundred peaks.
constexpr std::size_t peakListFileLimit = 4 * 1024 * 1024;

// "<name>: <reason>", the reason in German like the runtime's messages.
class PeakListFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole text of the file, a UTF-8 byte order mark removed. Raises
// PeakListFileError naming the file when it cannot be opened or read (the
// runtime's message), is larger than peakListFileLimit, or holds a NUL byte
// (not a text file).
std::string readPeakListFile(const std::filesystem::path& path);

// The same for a stream already open, such as standard input, called `name`
// in messages. The stream is read to its end or the limit, not closed.
std::string readPeakListFile(std::FILE* file, const std::string& name);

}  // namespace isoquill
