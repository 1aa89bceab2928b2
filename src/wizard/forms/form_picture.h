#pragma once
// Pictures stored in form files (Picture.Data, Glyph.Data, Bitmap.Data): a class name as a
// length-prefixed string ("TBitmap", "TIcon", ...) followed by that class's stream. For bitmaps
// the stream is a 32-bit length and a whole .bmp file.

#include <cstdint>
#include <string>
#include <vector>

#include "support/result.h"

namespace korvane::forms {

struct FormPicture {
  std::string class_name;      // TBitmap, TIcon, TMetafile, TJPEGImage ...
  std::vector<uint8_t> image;  // for TBitmap: the complete .bmp file (starts with "BM")
  int32_t width = 0;
  int32_t height = 0;
  int bits_per_pixel = 0;
};

// Checks the picture data and, for bitmaps, the file and info headers against the bytes
// present: a header that announces more pixels than the data holds is refused with a reason.
Result<FormPicture> DecodeFormPicture(const std::vector<uint8_t>& data);

// Builds picture data for a .bmp file (used by tests and the gallery generator).
std::vector<uint8_t> EncodeBitmapPicture(const std::vector<uint8_t>& bmp_file);

}  // namespace korvane::forms
