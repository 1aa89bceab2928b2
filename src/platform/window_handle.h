#pragma once

namespace korvane::platform {

// A window of the operating system, opaque to portable code (an HWND on Windows).
using WindowHandle = void*;

}  // namespace korvane::platform
