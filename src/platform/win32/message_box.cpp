#include "platform/message_box.h"

#include <windows.h>

#include <string>

namespace korvane::platform {

void ShowErrorMessage(std::string_view caption, std::string_view text, WindowHandle owner) {
  MessageBoxA(static_cast<HWND>(owner), std::string(text).c_str(), std::string(caption).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace korvane::platform
