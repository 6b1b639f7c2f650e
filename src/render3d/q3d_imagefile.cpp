// TGA files for the renderer's images.
#include "render3d/q3d_imagefile.h"

#include <cstdio>
#include <cstring>

#include "platform/paths.h"

namespace {

constexpr int32_t kMaxSide = 4096;

uint32_t Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }

// One pixel of the file's pixel size to RGBA.
void ToRgba(const uint8_t* p, uint32_t bytes, uint8_t* out) {
  switch (bytes) {
    case 1:
      out[0] = out[1] = out[2] = p[0];
      out[3] = 255;
      break;
    case 2: {
      const uint32_t v = Get16(p);
      out[0] = static_cast<uint8_t>(((v >> 10) & 31) << 3);
      out[1] = static_cast<uint8_t>(((v >> 5) & 31) << 3);
      out[2] = static_cast<uint8_t>((v & 31) << 3);
      out[3] = 255;
      break;
    }
    case 3:
      out[0] = p[2];
      out[1] = p[1];
      out[2] = p[0];
      out[3] = 255;
      break;
    default:
      out[0] = p[2];
      out[1] = p[1];
      out[2] = p[0];
      out[3] = p[3];
      break;
  }
}

}  // namespace

uint32_t Q3DImageDecodeTGA(const uint8_t* d, size_t size, std::vector<uint8_t>* pRgba, int32_t* pWidth,
                           int32_t* pHeight) {
  if (d == nullptr || size < 18) return 7;
  const uint32_t idLen = d[0], mapType = d[1], type = d[2];
  const uint32_t mapFirst = Get16(d + 3), mapLen = Get16(d + 5), mapBits = d[7];
  const int32_t w = static_cast<int32_t>(Get16(d + 12)), h = static_cast<int32_t>(Get16(d + 14));
  const uint32_t bits = d[16], desc = d[17];
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return 7;
  const bool rle = type >= 9;
  const uint32_t base = rle ? type - 8 : type;
  if (base < 1 || base > 3) return 7;
  size_t at = 18 + idLen;
  std::vector<uint8_t> map;
  if (mapType == 1) {
    const uint32_t mapBytes = (mapBits + 7) / 8;
    if (mapBytes < 2 || mapBytes > 4) return 7;
    const size_t mapSize = static_cast<size_t>(mapLen) * mapBytes;
    if (at > size || size - at < mapSize) return 7;
    map.resize(static_cast<size_t>(mapLen) * 4);
    for (uint32_t i = 0; i < mapLen; ++i) ToRgba(d + at + static_cast<size_t>(i) * mapBytes, mapBytes, &map[i * 4]);
    at += mapSize;
  } else if (mapType != 0) {
    return 7;
  }
  uint32_t bytes;
  if (base == 1) {
    if (bits != 8 || map.empty()) return 7;
    bytes = 1;
  } else if (base == 3) {
    if (bits != 8) return 7;
    bytes = 1;
  } else {
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return 7;
    bytes = (bits + 7) / 8;
  }
  if (at > size) return 7;
  const size_t count = static_cast<size_t>(w) * h;
  std::vector<uint8_t> raw(count * bytes);
  if (!rle) {
    if (size - at < raw.size()) return 7;
    std::memcpy(raw.data(), d + at, raw.size());
  } else {
    size_t n = 0;
    while (n < count) {
      if (at >= size) return 7;
      const uint32_t head = d[at++];
      const size_t run = (head & 127) + 1;
      if (run > count - n) return 7;  // a packet past the image's end
      if (head & 128) {
        if (size - at < bytes) return 7;
        for (size_t k = 0; k < run; ++k) std::memcpy(&raw[(n + k) * bytes], d + at, bytes);
        at += bytes;
      } else {
        if (size - at < run * bytes) return 7;
        std::memcpy(&raw[n * bytes], d + at, run * bytes);
        at += run * bytes;
      }
      n += run;
    }
  }
  std::vector<uint8_t> out(count * 4);
  const bool topFirst = (desc & 0x20) != 0, rightFirst = (desc & 0x10) != 0;
  for (int32_t y = 0; y < h; ++y) {
    const int32_t row = topFirst ? y : h - 1 - y;
    for (int32_t x = 0; x < w; ++x) {
      const int32_t col = rightFirst ? w - 1 - x : x;
      const uint8_t* p = &raw[(static_cast<size_t>(y) * w + x) * bytes];
      uint8_t* o = &out[(static_cast<size_t>(row) * w + col) * 4];
      if (base == 1) {
        const uint32_t idx = p[0];
        if (idx < mapFirst || idx - mapFirst >= mapLen) {
          o[0] = o[1] = o[2] = 0;
          o[3] = 255;
        } else {
          std::memcpy(o, &map[(idx - mapFirst) * 4], 4);
        }
      } else {
        ToRgba(p, bytes, o);
      }
    }
  }
  pRgba->swap(out);
  *pWidth = w;
  *pHeight = h;
  return 0;
}

uint32_t Q3DImageFileRead(const char* pPath, int32_t width, int32_t height, uint8_t* pOut) {
  if (pPath == nullptr || pOut == nullptr) return 7;
  FILE* f = platform::openFile(pPath, "rb");
  if (f == nullptr) return 4;
  std::vector<uint8_t> bytes;
  uint8_t buf[16384];
  size_t n;
  bool ok = true;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    bytes.insert(bytes.end(), buf, buf + n);
    if (bytes.size() > (80u << 20)) {
      ok = false;
      break;
    }
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  if (!ok) return 7;
  std::vector<uint8_t> rgba;
  int32_t w = 0, h = 0;
  if (Q3DImageDecodeTGA(bytes.data(), bytes.size(), &rgba, &w, &h) != 0) return 7;
  if (w != width || h != height) return 7;
  std::memcpy(pOut, rgba.data(), rgba.size());
  return 0;
}

uint32_t Q3DDeviceInitialise(Q3DDevice* pDevice, void* pTarget) {
  if (pDevice == nullptr) return 7;
  const uint32_t r = pDevice->Initialise(pTarget);
  const Q3DImageReadFunc pfnRead = Q3DImageFileRead;
  pDevice->ParameterSet(Q3D_PARAM_IMAGE_READER, &pfnRead);
  return r;
}
