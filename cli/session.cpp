#include "cli/session.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "chem/element_file_places.h"

namespace isoquill::cli {

const ElementTable& Session::elements() {
    if (loaded_) return elementTable_;
    clearElementTable(elementTable_);
    try {
        if (elementFile.empty()) loadElementFileFromPlaces(elementTable_, executableDir_);
        else loadElementFile(elementTable_, elementFile);
    } catch (const InOutError& error) {
        throw InputError(elementFile.empty() ? std::string(error.what()) : elementFile + ": " + error.what());
    }
    loaded_ = true;
    return elementTable_;
}

std::filesystem::path executableDir(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    return std::filesystem::absolute(argv0, error).parent_path();
}

void report(const std::string& message) { std::fprintf(stderr, "isoquill-cli: %s\n", message.c_str()); }

std::string missingDataMessage(const std::vector<Symbol>& symbols) {
    std::vector<std::string> names;
    for (const Symbol& symbol : symbols) {
        std::string name(symbol.text());
        name.erase(0, name.find_first_not_of(' '));
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::string message =
        names.size() == 1 ? "Die Daten zu diesem Element fehlen:" : "Die Daten zu diesen Elementen fehlen:";
    for (std::size_t i = 0; i < names.size(); ++i) message += (i == 0 ? " " : ", ") + names[i];
    return message;
}

}  // namespace isoquill::cli
