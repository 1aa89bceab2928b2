#pragma once
// The language file that the archive library carries after its image.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "support/result.h"
#include "wizard/language_table.h"

namespace korvane {

// Reads the bytes of library after imageEnd as a language file into table, choosing blocks by
// userLanguage. A library with nothing after its image leaves the table as it is. The bytes
// are read straight from the library: no "lang.loc" copy in the temporary folder, which two
// setups started together would overwrite under each other.
Status ReadLibraryLanguageFile(const std::filesystem::path& library, uint64_t imageEnd, LanguageTable& table,
                               std::string_view userLanguage);

}  // namespace korvane
