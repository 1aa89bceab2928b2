#include "tools/statement_codes.h"

#include <cstdio>

#include "support/text.h"

namespace korvane::builder {
namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// FNV-1a over the bytes, then a 64-bit finaliser so that neighbouring inputs spread out.
uint64_t Mix(uint64_t h, std::string_view bytes) {
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 0x100000001b3ULL;
  }
  return h;
}
uint64_t Finalise(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

}  // namespace

bool IsStatementKey(std::string_view text) {
  static constexpr std::string_view pattern = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (pattern[i] == 'X' ? !IsHexDigit(text[i]) : text[i] != pattern[i]) return false;
  }
  return true;
}

bool IsCommandHeader(std::string_view text) {
  if (text.empty() || text.size() > 8) return false;
  for (char c : text)
    if (!IsHexDigit(c)) return false;
  return true;
}

bool StatementCodes::ReserveKey(std::string_view key) { return keys_.insert(UpperCase(key)).second; }

bool StatementCodes::ReserveHeader(std::string_view header) { return headers_.insert(UpperCase(header)).second; }

uint64_t StatementCodes::Hash(std::string_view kind, std::string_view identity, uint64_t attempt) const {
  uint64_t h = 0xcbf29ce484222325ULL;
  // A zero byte between the parts keeps "ab"+"c" apart from "a"+"bc".
  for (std::string_view part : {std::string_view(seed_), kind, identity}) {
    h = Mix(h, part);
    h = Mix(h, std::string_view("\0", 1));
  }
  return Finalise(h + attempt * 0x9e3779b97f4a7c15ULL);
}

std::string StatementCodes::NewKey(std::string_view identity) {
  for (uint64_t attempt = 0;; ++attempt) {
    const uint64_t high = Hash("key-high", identity, attempt);
    const uint64_t low = Hash("key-low", identity, attempt);
    // Marked as a name-based GUID of the RFC 4122 variant.
    const unsigned version = static_cast<unsigned>((high & 0x0fff) | 0x5000);
    const unsigned variant = static_cast<unsigned>(((low >> 48) & 0x3fff) | 0x8000);
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>((high >> 16) & 0xffff), version, variant,
                  static_cast<unsigned long long>(low & 0xffffffffffffULL));
    if (ReserveKey(text)) return text;
  }
}

std::string StatementCodes::NewHeader(std::string_view identity) {
  for (uint64_t attempt = 0;; ++attempt) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Hash("header", identity, attempt) >> 32));
    if (ReserveHeader(text)) return text;
  }
}

}  // namespace korvane::builder
