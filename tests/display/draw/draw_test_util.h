#pragma once
// Helpers of the drawing tests: temporary folders, file bytes and a simple
// reference decoder of sprite frames.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "display/qdl_types.h"

namespace drawtest {

// A fresh folder for one test, removed by the destructor.
struct TempDir {
  std::filesystem::path path;
  explicit TempDir(const std::string& name) {
    path = std::filesystem::temp_directory_path() /
           ("korvena_draw_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string File(const std::string& name) const { return (path / name).string(); }
};

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> v;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return v;
  int c;
  while ((c = std::fgetc(f)) != EOF) v.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return v;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& v) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!v.empty()) std::fwrite(v.data(), 1, v.size(), f);
  std::fclose(f);
}

inline uint32_t U16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint32_t>(v[at] | (v[at + 1] << 8)); }
inline uint32_t U32(const std::vector<uint8_t>& v, size_t at) { return U16(v, at) | (U16(v, at + 2) << 16); }

// Decodes a frame into width x height values, -1 for transparent positions.
// Walks the rows by their lengths like the blitters do.
inline std::vector<int64_t> Decode(const QDLFrame& f, uint32_t bpp) {
  std::vector<int64_t> out(static_cast<size_t>(f.width) * static_cast<size_t>(f.height), -1);
  if (f.encoding == QDLENC_NONE) return out;
  const uint8_t* row = f.pixels;
  auto pixel = [&](const uint8_t* p) {
    int64_t v = 0;
    for (uint32_t i = 0; i < bpp; ++i) v |= static_cast<int64_t>(p[i]) << (8 * i);
    return v;
  };
  for (int y = 0; y < f.height; ++y) {
    const uint32_t len = static_cast<uint32_t>(row[0] | (row[1] << 8));
    const uint8_t* p = row + 2;
    if (f.encoding == QDLENC_RAW) {
      for (int x = 0; x < f.width; ++x) out[static_cast<size_t>(y * f.width + x)] = pixel(p + x * bpp);
    } else {
      int x = 0;
      for (;;) {
        const int8_t c = static_cast<int8_t>(*p++);
        if (c == 0) break;
        if (c < 0) {
          x += -c;
          continue;
        }
        for (int k = 0; k < c; ++k) {
          out[static_cast<size_t>(y * f.width + x + k)] = pixel(p);
          if (f.encoding == QDLENC_RLE) p += bpp;
        }
        if (f.encoding == QDLENC_RLE_FILL) p += bpp;
        x += c;
      }
    }
    row += len;
  }
  return out;
}

}  // namespace drawtest
