#pragma once
// Where the preparing window stands relative to the splash picture.

namespace korvane {

struct WindowRect {
  int left, top, width, height;
};

// Below and right of the splash's centre, pulled back so that it keeps 45 pixels above the
// bottom and 25 pixels from the right edge of the screen.
WindowRect PlacePreparingWindow(const WindowRect& splash, int width, int height, int screenWidth, int screenHeight);

// Centred on the screen (no splash).
WindowRect CentreOnScreen(int width, int height, int screenWidth, int screenHeight);

}  // namespace korvane
