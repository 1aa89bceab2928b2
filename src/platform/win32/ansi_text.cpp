#include "platform/ansi_text.h"

#include <windows.h>

namespace korvane::platform {

std::string AnsiFromUtf16(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
  return result;
}

std::u16string Utf16FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string result(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<wchar_t*>(result.data()),
                      length);
  return result;
}

std::u16string Utf16FromCodePage(std::string_view text, uint32_t code_page) {
  if (text.empty()) return {};
  UINT page = code_page == 0 ? CP_ACP : code_page;
  int length = MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length == 0) return Utf16FromAnsi(text);  // a code page this system lacks
  std::u16string result(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<wchar_t*>(result.data()),
                      length);
  return result;
}

std::filesystem::path PathFromAnsi(std::string_view text) {
  std::u16string wide = Utf16FromAnsi(text);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

std::filesystem::path PathFromUtf16(std::u16string_view text) {
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

}  // namespace korvane::platform
