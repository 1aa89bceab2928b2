#pragma once
// Entry names: the safe relative path an entry is written to, and the ANSI name it is listed by.

#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"

namespace korvane::archive {

// The folder parts and file name of an entry, or an error when writing it would leave the
// destination folder or address something other than a plain file there: absolute and network
// paths, drive letters, alternate data streams (any colon), ".." parts, parts ending in a dot or
// a blank (which the file system would strip), control and wildcard characters, and reserved
// device names (CON, NUL, COM1, LPT1, ... with or without an extension). "." parts and doubled
// separators are dropped.
Result<std::vector<std::u16string>> SafeRelativePath(std::u16string_view name);

// The name an entry is listed (and requested) by: its stored name with either separator turned
// into the system's own, in the ANSI code page.
std::string ListedName(std::u16string_view name);

}  // namespace korvane::archive
