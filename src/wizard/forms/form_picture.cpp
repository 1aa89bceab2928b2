#include "wizard/forms/form_picture.h"

#include <cstddef>

namespace korvane::forms {
namespace {

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

Result<FormPicture> CheckBitmap(FormPicture picture) {
  const std::vector<uint8_t>& b = picture.image;
  if (b.size() < 14 + 12) return Error{"bitmap too short for its headers (" + std::to_string(b.size()) + " bytes)"};
  if (b[0] != 'B' || b[1] != 'M') return Error{"bitmap does not start with BM"};
  uint32_t file_size = Le32(&b[2]);
  uint32_t bits_offset = Le32(&b[10]);
  uint32_t header_size = Le32(&b[14]);
  if (file_size > b.size()) return Error{"bitmap header announces " + std::to_string(file_size) + " bytes, " + std::to_string(b.size()) + " present"};
  int64_t width, height;
  int bpp;
  uint32_t compression = 0;
  if (header_size == 12) {
    width = Le16(&b[18]);
    height = static_cast<int16_t>(Le16(&b[20]));
    bpp = Le16(&b[24]);
  } else if (header_size >= 40 && 14 + static_cast<uint64_t>(header_size) <= b.size()) {
    width = static_cast<int32_t>(Le32(&b[18]));
    height = static_cast<int32_t>(Le32(&b[22]));
    bpp = Le16(&b[28]);
    compression = Le32(&b[30]);
  } else {
    return Error{"bitmap info header size " + std::to_string(header_size) + " is not valid here"};
  }
  if (width <= 0 || height == 0 || width > 32768 || height > 32768 || height < -32768)
    return Error{"bitmap size " + std::to_string(width) + "x" + std::to_string(height) + " is not valid"};
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Error{"bitmap has " + std::to_string(bpp) + " bits per pixel"};
  if (bits_offset < 14 + header_size || bits_offset > b.size()) return Error{"bitmap pixel offset " + std::to_string(bits_offset) + " lies outside the data"};
  // Colour table (up to 8 bits per pixel) and colour masks sit between the header and the
  // pixels; the drawing code reads them from there, so they must fit in that gap.
  uint64_t table = 0;
  if (bpp <= 8) {
    uint64_t colors = header_size >= 40 ? Le32(&b[46]) : 0;
    if (colors == 0) colors = uint64_t{1} << bpp;
    if (colors > (uint64_t{1} << bpp)) return Error{"bitmap announces " + std::to_string(colors) + " palette colours for " + std::to_string(bpp) + " bits per pixel"};
    table = colors * (header_size == 12 ? 3 : 4);
  } else if (compression == 3 && header_size == 40) {
    table = 12;
  }
  if (14 + header_size + table > bits_offset) return Error{"bitmap colour table of " + std::to_string(table) + " bytes overlaps the pixels"};
  if (compression == 1 || compression == 2) {
    uint32_t image_size = Le32(&b[34]);
    if (image_size == 0 || image_size > b.size() - bits_offset)
      return Error{"compressed bitmap announces " + std::to_string(image_size) + " bytes of pixels, " + std::to_string(b.size() - bits_offset) + " present"};
  } else if (compression != 0 && compression != 3) {
    return Error{"bitmap compression " + std::to_string(compression) + " is not supported"};
  }
  // Uncompressed pixels must all be present: rows are padded to 4 bytes.
  if (compression == 0 || compression == 3) {
    uint64_t row = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    uint64_t need = row * static_cast<uint64_t>(height < 0 ? -height : height);
    if (bits_offset + need > b.size())
      return Error{"bitmap header announces " + std::to_string(width) + "x" + std::to_string(height) + " pixels, the data holds only " + std::to_string(b.size() - bits_offset) + " bytes of them"};
  }
  picture.width = static_cast<int32_t>(width);
  picture.height = static_cast<int32_t>(height < 0 ? -height : height);
  picture.bits_per_pixel = bpp;
  return picture;
}

}  // namespace

Result<FormPicture> DecodeFormPicture(const std::vector<uint8_t>& data) {
  if (data.empty()) return Error{"picture data is empty"};
  size_t name_length = data[0];
  if (1 + name_length > data.size()) return Error{"picture class name runs past the data"};
  FormPicture picture;
  picture.class_name.assign(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(name_length));
  size_t at = 1 + name_length;
  if (picture.class_name == "TBitmap") {
    if (data.size() - at < 4) return Error{"bitmap length missing"};
    uint32_t length = Le32(&data[at]);
    at += 4;
    if (length > data.size() - at) return Error{"bitmap length " + std::to_string(length) + " exceeds the " + std::to_string(data.size() - at) + " bytes present"};
    picture.image.assign(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + length));
    return CheckBitmap(std::move(picture));
  }
  picture.image.assign(data.begin() + static_cast<std::ptrdiff_t>(at), data.end());
  return picture;
}

std::vector<uint8_t> EncodeBitmapPicture(const std::vector<uint8_t>& bmp_file) {
  static constexpr char kName[] = "TBitmap";
  constexpr size_t kNameLength = sizeof kName - 1;
  std::vector<uint8_t> out(1 + kNameLength + 4 + bmp_file.size());
  out[0] = static_cast<uint8_t>(kNameLength);
  for (size_t i = 0; i < kNameLength; ++i) out[1 + i] = static_cast<uint8_t>(kName[i]);
  auto n = static_cast<uint32_t>(bmp_file.size());
  for (size_t i = 0; i < 4; ++i) out[1 + kNameLength + i] = static_cast<uint8_t>(n >> (8 * i));
  for (size_t i = 0; i < bmp_file.size(); ++i) out[1 + kNameLength + 4 + i] = bmp_file[i];
  return out;
}

}  // namespace korvane::forms
