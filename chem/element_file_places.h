// Where "PSE.DAT" is found: in the current directory, as always, and else in
// the data folder installed beside the program (../share/isoquill from the
// executable's folder), so an installed tree works wherever it is moved.
#pragma once

#include <array>
#include <filesystem>

#include "chem/element_table.h"

namespace isoquill {

inline constexpr char elementFileName[] = "PSE.DAT";

// The places in the order they are tried: "PSE.DAT" (relative, so the
// current directory), then <executableDir>/../share/isoquill/PSE.DAT.
std::array<std::filesystem::path, 2> elementFilePlaces(const std::filesystem::path& executableDir);

// loadElementFile from the first place that has the file. Only a file that
// does not exist moves on to the next place; any other failure there is
// raised as it is. When no place has it: InOutError code 2, "Datei nicht
// gefunden: " and both places, the current directory's written out.
void loadElementFileFromPlaces(ElementTable& elementTable, const std::filesystem::path& executableDir);

}  // namespace isoquill
