#pragma once
// Reading what a headless run of the game leaves behind: its TGA captures and
// the menu sheets it converted to 16 bits, both as 5-6-5 pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "support/temp_dir.h"

namespace korvena_test {

struct Picture {
  int width = 0, height = 0;
  std::vector<uint16_t> pixels;  // 5-6-5
  uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

inline uint16_t To565(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

inline uint32_t U16(const std::vector<uint8_t>& b, size_t i) { return b.at(i) | (b.at(i + 1) << 8); }
inline uint32_t U32(const std::vector<uint8_t>& b, size_t i) { return U16(b, i) | (U16(b, i + 2) << 16); }

// An uncompressed 24- or 32-bit TGA, as the headless capture writes it.
inline Picture ReadTga(const std::filesystem::path& p) {
  std::vector<uint8_t> b = korvena_test::readBytes(p);
  Picture pic;
  if (b.size() < 18 || b[2] != 2) return pic;
  pic.width = static_cast<int>(U16(b, 12));
  pic.height = static_cast<int>(U16(b, 14));
  const int bpp = b[16] / 8;
  const bool topDown = (b[17] & 0x20) != 0;
  size_t at = 18 + b[0];
  pic.pixels.resize(static_cast<size_t>(pic.width * pic.height));
  for (int row = 0; row < pic.height; ++row)
    for (int x = 0; x < pic.width; ++x, at += static_cast<size_t>(bpp)) {
      const int y = topDown ? row : pic.height - 1 - row;
      pic.pixels[static_cast<size_t>(y * pic.width + x)] = To565(b.at(at + 2), b.at(at + 1), b.at(at));
    }
  return pic;
}

// Whether a captured frame shows the front end's error box: a black box
// across the middle of the screen (at least 240 pixels wide on the row just
// inside its top) with light text inside it.
inline bool ErrorBoxShown(const std::filesystem::path& p) {
  const Picture pic = ReadTga(p);
  if (pic.width != 640 || pic.height != 480 || pic.At(320, 216) != 0) return false;
  int x0 = 320, x1 = 320;
  while (x0 > 0 && pic.At(x0 - 1, 216) == 0) x0--;
  while (x1 < 639 && pic.At(x1 + 1, 216) == 0) x1++;
  int cText = 0;
  for (int y = 216; y < 320; ++y)
    for (int x = x0; x <= x1; ++x) cText += (pic.At(x, y) >> 11) >= 19;
  return x1 - x0 >= 240 && cText > 50;
}

// The frames of a converted 16-bit sprite-bank file, read field by field.
inline std::vector<Picture> ReadBank16(const std::filesystem::path& p) {
  std::vector<uint8_t> b = korvena_test::readBytes(p);
  std::map<uint32_t, std::pair<size_t, size_t>> chunks;  // id -> data offset, size
  for (size_t at = 0; at + 6 <= b.size();) {
    const uint32_t id = U16(b, at), len = U32(b, at + 2);
    if (len < 6) break;
    chunks[id] = {at + 6, len - 6};
    at += len;
  }
  std::vector<Picture> frames;
  if (!chunks.count(2) || !chunks.count(6) || !chunks.count(7)) return frames;
  const uint32_t n = U16(b, chunks[2].first);
  const size_t table = chunks[6].first, data = chunks[7].first;
  for (uint32_t i = 0; i < n; ++i) {
    Picture f;
    f.width = static_cast<int>(U16(b, table + 10 * i));
    f.height = static_cast<int>(U16(b, table + 10 * i + 2));
    EXPECT_EQ(U16(b, table + 10 * i + 4), 1u);  // raw rows
    size_t row = data + U32(b, table + 10 * i + 6);
    for (int y = 0; y < f.height; ++y) {
      for (int x = 0; x < f.width; ++x) f.pixels.push_back(static_cast<uint16_t>(U16(b, row + 2 + 2 * static_cast<size_t>(x))));
      row += U16(b, row);
    }
    frames.push_back(f);
  }
  return frames;
}

// Lightness 0..255 of a 5-6-5 pixel.
inline double Light(uint16_t v) {
  const double r = (v >> 11) * 255.0 / 31, g = ((v >> 5) & 63) * 255.0 / 63, b = (v & 31) * 255.0 / 31;
  return 0.299 * r + 0.587 * g + 0.114 * b;
}

// A rectangle of a picture.
struct Box {
  int x0, y0, x1, y1;  // x1, y1 past the end
};

// The lightest pixel inside the box.
inline double Lightest(const Picture& pic, const Box& b) {
  double m = 0;
  for (int y = b.y0; y < b.y1; ++y)
    for (int x = b.x0; x < b.x1; ++x) m = std::max(m, Light(pic.At(x, y)));
  return m;
}

// The lines of text the frame shows over its backdrop inside the box: the
// runs of pixel rows in which the frame differs from the backdrop, each with
// the extent of its differing pixels.
inline std::vector<Box> TextLines(const Picture& shot, const Picture& backdrop, const Box& in) {
  std::vector<Box> lines;
  bool bOpen = false;
  for (int y = in.y0; y < in.y1; ++y) {
    int x0 = in.x1, x1 = in.x0;
    for (int x = in.x0; x < in.x1; ++x)
      if (shot.At(x, y) != backdrop.At(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x + 1);
    if (x1 <= x0) {
      bOpen = false;
      continue;
    }
    if (!bOpen) lines.push_back({x0, y, x1, y + 1});
    Box& b = lines.back();
    b.x0 = std::min(b.x0, x0), b.x1 = std::max(b.x1, x1), b.y1 = y + 1;
    bOpen = true;
  }
  return lines;
}

}  // namespace korvena_test
