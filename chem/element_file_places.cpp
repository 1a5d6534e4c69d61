#include "chem/element_file_places.h"

namespace isoquill {

std::array<std::filesystem::path, 2> elementFilePlaces(const std::filesystem::path& executableDir) {
    return {std::filesystem::path(elementFileName),
            (executableDir / ".." / "share" / "isoquill" / elementFileName).lexically_normal()};
}

void loadElementFileFromPlaces(ElementTable& elementTable, const std::filesystem::path& executableDir) {
    const auto places = elementFilePlaces(executableDir);
    for (const std::filesystem::path& place : places) {
        try {
            loadElementFile(elementTable, place);
            return;
        } catch (const InOutError& error) {
            if (error.code() != 2) throw;
        }
    }
    std::error_code ignored;
    const std::filesystem::path here = std::filesystem::absolute(places[0], ignored);
    throw InOutError(2, InOutError::messageFor(2) + ": " + (here.empty() ? places[0] : here).string() + ", " +
                            places[1].string());
}

}  // namespace isoquill
