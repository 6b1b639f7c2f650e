#include "art_image.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace art {

Image::Image(int32_t w, int32_t h, Rgb fill) : iWidth(w), iHeight(h) {
  abPixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  Fill(0, 0, w, h, fill);
}

Rgb Image::Get(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= iWidth || y >= iHeight) return Rgb{0, 0, 0};
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(iWidth) + static_cast<size_t>(x)) * 3;
  return Rgb{abPixels[i], abPixels[i + 1], abPixels[i + 2]};
}

void Image::Set(int32_t x, int32_t y, Rgb c) {
  if (x < 0 || y < 0 || x >= iWidth || y >= iHeight) return;
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(iWidth) + static_cast<size_t>(x)) * 3;
  abPixels[i] = c.r;
  abPixels[i + 1] = c.g;
  abPixels[i + 2] = c.b;
}

void Image::Fill(int32_t x, int32_t y, int32_t w, int32_t h, Rgb c) {
  for (int32_t j = y; j < y + h; ++j)
    for (int32_t i = x; i < x + w; ++i) Set(i, j, c);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool MakeParentDirs(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::filesystem::create_directories(parent, ec);
  return !ec;
}

bool WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!MakeParentDirs(path)) {
    std::fprintf(stderr, "art: cannot create the folder of %s\n", path.c_str());
    return false;
  }
  const std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "art: cannot create %s\n", tmp.c_str());
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) {
    std::fprintf(stderr, "art: cannot write %s\n", tmp.c_str());
    std::remove(tmp.c_str());
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::fprintf(stderr, "art: cannot rename %s to %s\n", tmp.c_str(), path.c_str());
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool WriteBMP24(const Image& img, const std::string& path) {
  const uint32_t rowBytes = static_cast<uint32_t>(img.iWidth) * 3;
  const uint32_t pad = (4 - rowBytes % 4) % 4;
  const uint32_t dataSize = (rowBytes + pad) * static_cast<uint32_t>(img.iHeight);
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  Put16(out, 0x4D42);  // "BM"
  Put32(out, 54 + dataSize);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(img.iWidth));
  Put32(out, static_cast<uint32_t>(img.iHeight));  // positive: bottom row first
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // compression .. important colours
  for (int32_t y = img.iHeight - 1; y >= 0; --y) {
    for (int32_t x = 0; x < img.iWidth; ++x) {
      const Rgb c = img.Get(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (uint32_t p = 0; p < pad; ++p) out.push_back(0);
  }
  return WriteFileAtomic(path, out);
}

bool WriteTGA24(const Image& img, const std::string& path) {
  std::vector<uint8_t> out;
  out.reserve(18 + img.abPixels.size());
  out.push_back(0);  // ID length
  out.push_back(0);  // no colour map
  out.push_back(2);  // uncompressed true colour
  Put16(out, 0);     // first colour-map index
  Put16(out, 0);     // colour-map length
  out.push_back(0);  // colour-map entry size
  Put16(out, 0);     // x origin
  Put16(out, 0);     // y origin
  Put16(out, static_cast<uint32_t>(img.iWidth));
  Put16(out, static_cast<uint32_t>(img.iHeight));
  out.push_back(24);
  out.push_back(0);  // bottom row first
  for (int32_t y = img.iHeight - 1; y >= 0; --y)
    for (int32_t x = 0; x < img.iWidth; ++x) {
      const Rgb c = img.Get(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
  return WriteFileAtomic(path, out);
}

}  // namespace art
