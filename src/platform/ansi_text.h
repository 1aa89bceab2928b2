#pragma once
// Conversion between the engine's ANSI texts and wide text. On Windows ANSI means the process
// code page; on other hosts texts are UTF-8.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvane::platform {

// An ANSI text for a UTF-16 text; characters the code page lacks become '?'.
std::string AnsiFromUtf16(std::u16string_view text);
std::u16string Utf16FromAnsi(std::string_view text);
// A UTF-16 text for a text in the given Windows code page (the script package's, for names that
// came from it); code page 0, and one this system does not know, mean the ANSI code page.
// Bytes the code page cannot map become '?' (or the code page's own substitute).
std::u16string Utf16FromCodePage(std::string_view text, uint32_t code_page);
// A file system path for an ANSI path text.
std::filesystem::path PathFromAnsi(std::string_view text);
// A file system path for a UTF-16 text (exact, whatever the code page).
std::filesystem::path PathFromUtf16(std::u16string_view text);

}  // namespace korvane::platform
