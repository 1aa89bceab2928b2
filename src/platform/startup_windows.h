#pragma once
// The two start-up windows: the splash picture and the small "preparing" window with its
// progress bar.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/window_handle.h"

namespace korvane::platform {

class StartupWindows {
 public:
  virtual ~StartupWindows() = default;
  // Progress bar range and position; Step advances by one. Both repaint the windows.
  virtual void SetProgress(int minimum, int maximum, int position) = 0;
  virtual void Step() = 0;
  // The preparing window, owner of the start-up message boxes.
  [[nodiscard]] virtual WindowHandle Owner() const = 0;
  // Hides and frees both windows.
  virtual void Close() = 0;
};

// Shows the splash (when splashPicture exists) and the preparing window with the given caption
// and text, placed as the start-up sequence wants them.
std::unique_ptr<StartupWindows> ShowStartupWindows(const std::filesystem::path& splashPicture,
                                                   const std::string& caption, const std::string& text);

}  // namespace korvane::platform
