#pragma once

#include <string_view>

#include "support/result.h"

namespace korvane::platform {

// Opens the file, writes one line (text + CR LF) at its end and closes it again; truncate
// empties the file first. On NT systems the line is UTF-16 little-endian without a byte-order
// mark, converted from the ANSI code page; on the 95 family it is written as ANSI text.
Status AppendLogLine(std::string_view path, std::string_view text, bool truncate);

}  // namespace korvane::platform
