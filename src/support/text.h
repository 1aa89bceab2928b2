#pragma once
// Locale-independent text helpers for the engine's ANSI texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Equality without regard to letter case (A to Z only; other bytes compare exactly).
bool SameText(std::string_view a, std::string_view b);

// Position of the first occurrence of needle in haystack at or after from, ignoring letter case.
size_t FindText(std::string_view haystack, std::string_view needle, size_t from = 0);

// Replace every occurrence of from by to, ignoring letter case; replaced text is not scanned again.
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

// Replace every exact occurrence of from by to.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

std::string_view TrimBlanks(std::string_view text);

// A whole decimal integer with an optional sign and surrounding blanks; nothing else.
std::optional<int64_t> ParseInteger(std::string_view text);

}  // namespace korvane
