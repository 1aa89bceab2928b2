#include "bootstrap/window_placement.h"

namespace korvane {

WindowRect PlacePreparingWindow(const WindowRect& splash, int width, int height, int screenWidth, int screenHeight) {
  WindowRect r{splash.left + splash.width / 2 + 50, splash.top + splash.height + 25, width, height};
  if (r.top > screenHeight - height - 45) r.top = screenHeight - height - 45;
  if (r.left > screenWidth - width - 25) r.left = screenWidth - width - 25;
  return r;
}

WindowRect CentreOnScreen(int width, int height, int screenWidth, int screenHeight) {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}

}  // namespace korvane
