// Images of our own art for the data generators: a plain top-down RGB
// buffer and writers for the two image formats the game reads (24-bit BMP
// and TGA). Files are written field by field, little-endian, to a temporary
// name and renamed, so an interrupted build never leaves half a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// The marker colours of sprite sheets: background and separator, both
// transparent when a sheet is cut into frames.
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kCyan{0, 255, 255};

struct Image {
  int32_t iWidth = 0;
  int32_t iHeight = 0;
  std::vector<uint8_t> abPixels;  // r, g, b per pixel, top row first

  Image() = default;
  Image(int32_t w, int32_t h, Rgb fill);
  Rgb Get(int32_t x, int32_t y) const;
  void Set(int32_t x, int32_t y, Rgb c);          // ignores points outside
  void Fill(int32_t x, int32_t y, int32_t w, int32_t h, Rgb c);
};

// 24-bit uncompressed BMP, bottom-up rows padded to four bytes, 40-byte info
// header, pixel data at offset 54. Returns false (with a message on stderr)
// when the file cannot be written.
bool WriteBMP24(const Image& img, const std::string& path);
// 24-bit uncompressed TGA (image type 2), written bottom row first like the
// library's own writer.
bool WriteTGA24(const Image& img, const std::string& path);

// Writes bytes to path through a temporary file and a rename.
bool WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes);
// Creates the parent folders of a file path.
bool MakeParentDirs(const std::string& path);

}  // namespace art
