// Frames captured from the headless display: 16-bit pixels read back,
// written out as TGA files to look at, and small statistics to compare.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "platform/display.h"

namespace capture {

struct Shot {
  int w = 0, h = 0;
  std::vector<uint16_t> px;
  uint16_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  void rgb(int x, int y, int* r, int* g, int* b) const {
    const uint16_t p = at(x, y);
    *r = (p >> 11) << 3;
    *g = ((p >> 5) & 63) << 2;
    *b = (p & 31) << 3;
  }
};

inline Shot Capture(QDLSurface* s) {
  Shot out;
  if (s == nullptr || QDLSurfaceLock(s) != 0) return out;
  out.w = s->width;
  out.h = s->height;
  out.px.resize(static_cast<size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y)
    std::memcpy(&out.px[static_cast<size_t>(y) * out.w], s->pixels + static_cast<size_t>(y) * s->pitch,
                static_cast<size_t>(out.w) * 2);
  QDLSurfaceUnlock(s);
  return out;
}

// The last frame the display presented (both devices present every drawn
// frame; the z-buffered one clears its own frame after presenting).
inline Shot LastPresented() {
  Shot out;
  std::vector<uint8_t> rgb;
  if (!platform::displayLastFrame(&rgb, &out.w, &out.h)) return Shot{};
  out.px.resize(static_cast<size_t>(out.w) * out.h);
  for (size_t i = 0; i < out.px.size(); ++i)
    out.px[i] = static_cast<uint16_t>(((rgb[3 * i] >> 3) << 11) | ((rgb[3 * i + 1] >> 2) << 5) | (rgb[3 * i + 2] >> 3));
  return out;
}

// 24-bit TGA of a shot, top row first.
inline bool WriteShot(const std::string& path, const Shot& s) {
  std::vector<uint8_t> b(18, 0);
  b[2] = 2;
  b[12] = static_cast<uint8_t>(s.w);
  b[13] = static_cast<uint8_t>(s.w >> 8);
  b[14] = static_cast<uint8_t>(s.h);
  b[15] = static_cast<uint8_t>(s.h >> 8);
  b[16] = 24;
  b[17] = 0x20;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      int r, g, bl;
      s.rgb(x, y, &r, &g, &bl);
      b.push_back(static_cast<uint8_t>(bl));
      b.push_back(static_cast<uint8_t>(g));
      b.push_back(static_cast<uint8_t>(r));
    }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  // The captures' folder is shared by every run of the tests in the tree:
  // the picture is written under a name of this process's own and renamed
  // over the target, so a run beside this one never finds it half written.
  const std::string part = path + "." + std::to_string(::getpid()) + ".part";
  FILE* f = std::fopen(part.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  if (std::fclose(f) != 0 || !ok || std::rename(part.c_str(), path.c_str()) != 0) {
    std::remove(part.c_str());
    return false;
  }
  return true;
}

// A small picture of the shot: the mean colour of each cell of a grid of
// cols x rows cells, three bytes a cell.
inline std::vector<uint8_t> Downscale(const Shot& s, int cols, int rows) {
  std::vector<uint8_t> out;
  for (int cy = 0; cy < rows; ++cy)
    for (int cx = 0; cx < cols; ++cx) {
      long sum[3] = {0, 0, 0};
      long n = 0;
      for (int y = cy * s.h / rows; y < (cy + 1) * s.h / rows; ++y)
        for (int x = cx * s.w / cols; x < (cx + 1) * s.w / cols; ++x) {
          int r, g, b;
          s.rgb(x, y, &r, &g, &b);
          sum[0] += r;
          sum[1] += g;
          sum[2] += b;
          ++n;
        }
      for (long v : sum) out.push_back(static_cast<uint8_t>(n ? v / n : 0));
    }
  return out;
}

}  // namespace capture
