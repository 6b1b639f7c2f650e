// TGA and BMP readers and writers.
#include "display/qdl_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/q2dx_internal.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"

namespace {

std::string qdlImageError;

// Largest image accepted: 16384 x 16384 pixels, and 64 M pixels in all.
constexpr uint64_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 64u * 1024u * 1024u;

void* Fail(const char* pWhy) {
  qdlImageError = pWhy;
  return nullptr;
}

uint32_t FailCode(const char* pWhy) {
  qdlImageError = pWhy;
  return 7;
}

bool ReadFile(const char* pFileName, std::vector<uint8_t>* pOut) {
  if (!pFileName) return false;
  FILE* f = platform::openFile(pFileName, "rb");
  if (!f) return false;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) pOut->insert(pOut->end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

// A bounded reader over the file's bytes.
struct Cursor {
  const uint8_t* p;
  size_t size;
  size_t at;
  bool Has(size_t n) const { return at <= size && n <= size - at; }
  bool U8(uint32_t* v) {
    if (!Has(1)) return false;
    *v = p[at++];
    return true;
  }
  bool U16(uint32_t* v) {
    if (!Has(2)) return false;
    *v = static_cast<uint32_t>(p[at]) | (static_cast<uint32_t>(p[at + 1]) << 8);
    at += 2;
    return true;
  }
  bool U32(uint32_t* v) {
    if (!Has(4)) return false;
    *v = static_cast<uint32_t>(p[at]) | (static_cast<uint32_t>(p[at + 1]) << 8) |
         (static_cast<uint32_t>(p[at + 2]) << 16) | (static_cast<uint32_t>(p[at + 3]) << 24);
    at += 4;
    return true;
  }
  bool Skip(size_t n) {
    if (!Has(n)) return false;
    at += n;
    return true;
  }
};

uint32_t Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One TGA pixel or colour-map entry at a depth into a work pixel.
bool TgaPixel(Cursor* c, uint32_t depth, uint8_t* pOut) {
  uint32_t v;
  switch (depth) {
    case 8:
      if (!c->U8(&v)) return false;
      pOut[0] = pOut[1] = pOut[2] = pOut[3] = static_cast<uint8_t>(v);
      return true;
    case 15:
    case 16:
      if (!c->U16(&v)) return false;
      pOut[0] = static_cast<uint8_t>(((v >> 10) & 31) * 8);
      pOut[1] = static_cast<uint8_t>(((v >> 5) & 31) * 8);
      pOut[2] = static_cast<uint8_t>((v & 31) * 8);
      pOut[3] = (depth == 16 && (v & 0x8000)) ? 255 : 0;
      return true;
    case 24:
      if (!c->Has(3)) return false;
      pOut[2] = c->p[c->at];
      pOut[1] = c->p[c->at + 1];
      pOut[0] = c->p[c->at + 2];
      pOut[3] = 0;
      c->at += 3;
      return true;
    case 32:
      if (!c->Has(4)) return false;
      pOut[2] = c->p[c->at];
      pOut[1] = c->p[c->at + 1];
      pOut[0] = c->p[c->at + 2];
      pOut[3] = c->p[c->at + 3];
      c->at += 4;
      return true;
    default: return false;
  }
}

bool SizeOk(int64_t width, int64_t height) {
  return width > 0 && height > 0 && static_cast<uint64_t>(width) <= kMaxSide &&
         static_cast<uint64_t>(height) <= kMaxSide &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPixels;
}

// What a decoder hands to the common target step.
struct Decoded {
  int32_t width;
  int32_t height;
  std::vector<uint8_t> work;      // width x height work pixels
  bool indexed;                   // work pixels hold indices (not yet mapped)
  std::vector<uint8_t> map;       // colour map as work pixels
  bool hasMap;
  bool mapAlpha;                  // TGA keeps the entry's alpha; BMP gives 0
};

void ApplyMap(Decoded* d) {
  size_t n = d->work.size() / 4;
  size_t entries = d->map.size() / 4;
  for (size_t i = 0; i < n; ++i) {
    uint8_t* px = &d->work[i * 4];
    size_t idx = px[0];
    if (idx < entries) {
      const uint8_t* e = &d->map[idx * 4];
      px[0] = e[0];
      px[1] = e[1];
      px[2] = e[2];
      px[3] = d->mapAlpha ? e[3] : 0;
    } else {
      // An index past the colour map is black.
      px[0] = px[1] = px[2] = px[3] = 0;
    }
  }
}

uint32_t LowBit(uint32_t mask) {
  if (!mask) return 0;
  uint32_t n = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++n;
  }
  return n;
}

// Common step: store the decoded image into its target.
void* StoreImage(Decoded* d, Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc, uint32_t flags) {
  const int32_t w = d->width, h = d->height;
  if (flags & QDLIMG_MEMORY) {
    if (d->indexed && d->hasMap) ApplyMap(d);
    uint8_t* pBlock = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(w) * h * 4));
    if (!pBlock) return Fail("out of memory");
    // 32-bit pixels with red 0xFF0000, green 0xFF00, blue 0xFF (little-endian words).
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
      pBlock[i * 4 + 0] = d->work[i * 4 + 2];
      pBlock[i * 4 + 1] = d->work[i * 4 + 1];
      pBlock[i * 4 + 2] = d->work[i * 4 + 0];
      pBlock[i * 4 + 3] = 0;
    }
    if (pDesc) {
      std::memset(pDesc, 0, sizeof *pDesc);
      pDesc->width = w;
      pDesc->height = h;
      pDesc->pitch = w * 4;
      pDesc->surface = pBlock;
      pDesc->pixelFormat.flags = QDLPF_RGB;
      pDesc->pixelFormat.bitCount = 32;
      pDesc->pixelFormat.redMask = 0xFF0000;
      pDesc->pixelFormat.greenMask = 0xFF00;
      pDesc->pixelFormat.blueMask = 0xFF;
    }
    qdlImageError.clear();
    return pBlock;
  }
  bool created = false;
  Q2DXSurface* pTarget = pSurface;
  if (!pTarget) {
    uint32_t q = 0;
    if (flags & QDLIMG_TEXTURE) q |= Q2DXSURF_TEXTURE;
    if (flags & QDLIMG_VIDEO) q |= Q2DXSURF_VIDEO;
    else if (flags & QDLIMG_SYSTEM) q |= Q2DXSURF_SYSTEM;
    if ((flags & QDLIMG_PALETTED) && d->indexed) q |= Q2DXSURF_PALETTED;
    pTarget = Q2DXSurfaceCreate(w, h, q);
    if (!pTarget) return Fail("the surface could not be created");
    created = true;
  }
  auto drop = [&](const char* pWhy) -> void* {
    if (created) Q2DXRelease(pTarget);
    return Fail(pWhy);
  };
  QDLSurfaceDesc desc;
  Q2DXSurfaceGetDesc(pTarget, &desc);
  if (pDesc) *pDesc = desc;
  if (desc.width < w || desc.height < h) return drop("the surface is smaller than the image");
  const QDLPixelFormatDesc& f = desc.pixelFormat;
  bool paletted = (f.flags & QDLPF_PALETTEINDEXED8) != 0;
  if (f.bitCount == 4) return drop("4-bit paletted targets are not supported");
  if (paletted && !d->indexed) return drop("a true-colour image cannot fill a paletted surface");
  if (!paletted && d->indexed && d->hasMap) ApplyMap(d);
  if (Q2DXSurfaceLock(pTarget, 0, &desc) != 0) return drop("the surface could not be locked");
  uint8_t* pBase = static_cast<uint8_t*>(desc.surface);
  if (paletted) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        pBase[static_cast<size_t>(y) * desc.pitch + x] = d->work[(static_cast<size_t>(y) * w + x) * 4];
  } else {
    uint32_t sr = LowBit(f.redMask), sg = LowBit(f.greenMask), sb = LowBit(f.blueMask);
    uint32_t kr = f.redMask ? 255 / (f.redMask >> sr) : 1;
    uint32_t kg = f.greenMask ? 255 / (f.greenMask >> sg) : 1;
    uint32_t kb = f.blueMask ? 255 / (f.blueMask >> sb) : 1;
    if (!kr) kr = 1;
    if (!kg) kg = 1;
    if (!kb) kb = 1;
    uint32_t bpp = Q2DXBytesPerPixel(static_cast<int32_t>(f.bitCount));
    for (int32_t y = 0; y < h; ++y) {
      uint8_t* pRow = pBase + static_cast<size_t>(y) * desc.pitch;
      for (int32_t x = 0; x < w; ++x) {
        const uint8_t* px = &d->work[(static_cast<size_t>(y) * w + x) * 4];
        uint8_t* pOut = pRow + static_cast<size_t>(x) * bpp;
        if (bpp == 3) {
          pOut[sr / 8] = px[0];
          pOut[sg / 8] = px[1];
          pOut[sb / 8] = px[2];
          continue;
        }
        uint32_t v = ((px[0] / kr) << sr) | ((px[1] / kg) << sg) | ((px[2] / kb) << sb);
        if (bpp == 1) {
          pOut[0] = static_cast<uint8_t>(v);
        } else if (bpp == 2) {
          pOut[0] = static_cast<uint8_t>(v);
          pOut[1] = static_cast<uint8_t>(v >> 8);
        } else if (bpp == 4) {
          pOut[0] = static_cast<uint8_t>(v);
          pOut[1] = static_cast<uint8_t>(v >> 8);
          pOut[2] = static_cast<uint8_t>(v >> 16);
          pOut[3] = static_cast<uint8_t>(v >> 24);
        }
      }
    }
  }
  Q2DXSurfaceUnlock(pTarget);
  if (paletted) {
    QDLPaletteEntry entries[256];
    std::memset(entries, 0, sizeof entries);
    if (d->hasMap) {
      size_t n = d->map.size() / 4;
      for (size_t i = 0; i < 256 && i < n; ++i) {
        entries[i].red = d->map[i * 4];
        entries[i].green = d->map[i * 4 + 1];
        entries[i].blue = d->map[i * 4 + 2];
        entries[i].flags = 1;
      }
    } else {
      // A grey image without a map: its values are the levels of a grey ramp.
      for (uint32_t i = 0; i < 256; ++i) {
        entries[i].red = entries[i].green = entries[i].blue = static_cast<uint8_t>(i);
        entries[i].flags = 1;
      }
    }
    Q2DXPalette* pPal = Q2DXPaletteCreate(entries);
    if (!pPal) return drop("the palette could not be created");
    Q2DXSurfaceSetPalette(pTarget, pPal);
    Q2DXPaletteRelease(pPal);
  }
  qdlImageError.clear();
  return pTarget;
}

// Work buffer row for the r-th row in file order.
inline size_t RowOf(int32_t r, int32_t height, bool topFirst) {
  return static_cast<size_t>(topFirst ? r : height - 1 - r);
}

}  // namespace

const char* QDLImageLastError() { return qdlImageError.c_str(); }

// ---------------------------------------------------------------------------
// TGA

namespace {

uint32_t TgaHeaderInfo(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits,
                       bool deep32) {
  if (!pFileName) return 4;
  FILE* f = platform::openFile(pFileName, "rb");
  if (!f) return 4;
  uint8_t h[18];
  size_t n = std::fread(h, 1, 18, f);
  std::fclose(f);
  if (n < 18) return 7;
  int32_t bits = h[16];
  if (bits == 15) bits = 16;
  if (bits == 32 && !deep32) bits = 24;
  if (pWidth) *pWidth = static_cast<int32_t>(Get16(h + 12));
  if (pHeight) *pHeight = static_cast<int32_t>(Get16(h + 14));
  if (pBits) *pBits = bits;
  return 0;
}

}  // namespace

uint32_t QDLTGAGetInfo(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits) {
  return TgaHeaderInfo(pFileName, pWidth, pHeight, pBits, true);
}

uint32_t QDLTGAGetInfo24(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits) {
  return TgaHeaderInfo(pFileName, pWidth, pHeight, pBits, false);
}

void* QDLTGAReadMemory(const uint8_t* pData, size_t size, Q2DXSurface* pSurface,
                       QDLSurfaceDesc* pDesc, uint32_t flags) {
  if (!pData || size < 18) return Fail("TGA: short header");
  const uint8_t* h = pData;
  uint32_t idLength = h[0], mapType = h[1], type = h[2];
  uint32_t mapFirst = Get16(h + 3), mapLength = Get16(h + 5), mapBits = h[7];
  int32_t width = static_cast<int32_t>(Get16(h + 12));
  int32_t height = static_cast<int32_t>(Get16(h + 14));
  uint32_t depth = h[16];
  bool topFirst = (h[17] & 0x20) != 0;
  if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
    return Fail("TGA: unsupported image type");
  if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32)
    return Fail("TGA: unsupported pixel depth");
  bool mapped = (type == 1 || type == 9);
  if (mapped && (mapType == 0 || depth != 8)) return Fail("TGA: colour-mapped image without an 8-bit index map");
  if (!SizeOk(width, height)) return Fail("TGA: image size out of range");
  Cursor c{pData, size, 18};
  if (!c.Skip(idLength)) return Fail("TGA: truncated image ID");
  Decoded d;
  d.width = width;
  d.height = height;
  d.indexed = mapped || type == 3 || type == 11;
  d.hasMap = false;
  d.mapAlpha = true;
  if (mapType != 0) {
    if (mapBits != 8 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32)
      return Fail("TGA: unsupported colour-map entry size");
    if (mapped && mapLength == 0) return Fail("TGA: colour-mapped image with an empty colour map");
    if (!c.Has(static_cast<size_t>(mapLength) * ((mapBits + 7) / 8))) return Fail("TGA: truncated colour map");
    std::vector<uint8_t> entries(static_cast<size_t>(mapLength) * 4);
    for (uint32_t i = 0; i < mapLength; ++i)
      if (!TgaPixel(&c, mapBits, &entries[i * 4])) return Fail("TGA: truncated colour map");
    if (mapped) {
      // Entry i of the map is the colour of index first + i.
      d.map.assign(static_cast<size_t>(mapFirst + mapLength) * 4, 0);
      std::memcpy(&d.map[static_cast<size_t>(mapFirst) * 4], entries.data(), entries.size());
      d.hasMap = true;
    }
  }
  // The pixel data must be able to hold the image before it is made: every
  // pixel stored, or, run-length encoded, at best 128 pixels a packet.
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  const uint64_t pixelBytes = (depth + 7) / 8;
  const uint64_t needed = type <= 3 ? pixels * pixelBytes : (pixels + 127) / 128 * (1 + pixelBytes);
  if (!c.Has(static_cast<size_t>(needed)))
    return Fail(type <= 3 ? "TGA: truncated pixel data" : "TGA: truncated run-length data");
  d.work.assign(static_cast<size_t>(pixels) * 4, 0);
  uint8_t px[4];
  if (type <= 3) {
    for (int32_t r = 0; r < height; ++r) {
      uint8_t* pRow = &d.work[RowOf(r, height, topFirst) * width * 4];
      for (int32_t x = 0; x < width; ++x)
        if (!TgaPixel(&c, depth, pRow + x * 4)) return Fail("TGA: truncated pixel data");
    }
  } else {
    // Packets run on across row ends; they stop at the end of the image.
    int64_t total = static_cast<int64_t>(width) * height;
    int64_t done = 0;
    while (done < total) {
      uint32_t packet;
      if (!c.U8(&packet)) return Fail("TGA: truncated run-length data");
      int64_t count = (packet & 0x7F) + 1;
      if (count > total - done) count = total - done;
      if (packet & 0x80) {
        if (!TgaPixel(&c, depth, px)) return Fail("TGA: truncated run-length data");
        for (int64_t i = 0; i < count; ++i, ++done) {
          int32_t r = static_cast<int32_t>(done / width), x = static_cast<int32_t>(done % width);
          std::memcpy(&d.work[(RowOf(r, height, topFirst) * width + x) * 4], px, 4);
        }
      } else {
        for (int64_t i = 0; i < count; ++i, ++done) {
          int32_t r = static_cast<int32_t>(done / width), x = static_cast<int32_t>(done % width);
          if (!TgaPixel(&c, depth, &d.work[(RowOf(r, height, topFirst) * width + x) * 4]))
            return Fail("TGA: truncated run-length data");
        }
      }
    }
  }
  if (mapped) {
    // Every index must name an entry of the colour map.
    const uint32_t mapEnd = mapFirst + mapLength;
    for (size_t i = 0; i < d.work.size(); i += 4)
      if (d.work[i] < mapFirst || d.work[i] >= mapEnd) return Fail("TGA: pixel index outside the colour map");
  }
  return StoreImage(&d, pSurface, pDesc, flags);
}

void* QDLTGARead(const char* pFileName, Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc, uint32_t flags) {
  std::vector<uint8_t> data;
  if (!ReadFile(pFileName, &data)) return Fail("TGA: the file cannot be opened");
  return QDLTGAReadMemory(data.data(), data.size(), pSurface, pDesc, flags);
}

// ---------------------------------------------------------------------------
// BMP

uint32_t QDLBMPGetInfo(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits) {
  if (!pFileName) return 4;
  FILE* f = platform::openFile(pFileName, "rb");
  if (!f) return 4;
  uint8_t h[30];
  size_t n = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  if (n < 2 || Get16(h) != 0x4D42) return 7;
  if (n < 18) return 7;
  uint32_t infoSize = Get32(h + 14);
  int32_t width, height, bits;
  if (infoSize == 12) {
    if (n < 26) return 7;
    width = static_cast<int32_t>(Get16(h + 18));
    height = static_cast<int32_t>(Get16(h + 20));
    bits = static_cast<int32_t>(Get16(h + 24));
  } else {
    if (n < 30) return 7;
    width = static_cast<int32_t>(Get32(h + 18));
    height = static_cast<int32_t>(Get32(h + 22));
    bits = static_cast<int32_t>(Get16(h + 28));
  }
  if (height < 0 && height != INT32_MIN) height = -height;
  if (bits == 15) bits = 16;
  if (bits == 32) bits = 24;
  if (pWidth) *pWidth = width;
  if (pHeight) *pHeight = height;
  if (pBits) *pBits = bits;
  return 0;
}

void* QDLBMPReadMemory(const uint8_t* pData, size_t size, Q2DXSurface* pSurface,
                       QDLSurfaceDesc* pDesc, uint32_t flags) {
  if (!pData || size < 14 + 12) return Fail("BMP: short header");
  if (Get16(pData) != 0x4D42) return Fail("BMP: not a BMP file");
  uint32_t pixelOffset = Get32(pData + 10);
  Cursor c{pData, size, 14};
  uint32_t infoSize;
  c.U32(&infoSize);
  int64_t width, height;
  uint32_t bits, compression = 0, coloursUsed = 0;
  size_t entryBytes;
  if (infoSize == 12) {
    uint32_t w, hh, planes;
    if (!c.U16(&w) || !c.U16(&hh) || !c.U16(&planes) || !c.U16(&bits)) return Fail("BMP: short header");
    width = w;
    height = hh;
    entryBytes = 3;
  } else if (infoSize >= 40) {
    uint32_t w, hh, planes, imageSize, xppm, yppm;
    if (!c.U32(&w) || !c.U32(&hh) || !c.U16(&planes) || !c.U16(&bits) || !c.U32(&compression) ||
        !c.U32(&imageSize) || !c.U32(&xppm) || !c.U32(&yppm) || !c.U32(&coloursUsed))
      return Fail("BMP: short header");
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(hh);
    entryBytes = 4;
  } else {
    return Fail("BMP: unknown info header size");
  }
  bool topFirst = height < 0;
  if (height < 0) height = -height;
  if (!SizeOk(width, height)) return Fail("BMP: image size out of range");
  bool supported = (bits == 4 && compression == 0) || (bits == 8 && (compression == 0 || compression == 1)) ||
                   (bits == 24 && compression == 0);
  if (!supported) return Fail("BMP: unsupported bit count or compression");
  // The colour table follows the info header.
  size_t tableAt = 14 + static_cast<size_t>(infoSize);
  if (tableAt > size) return Fail("BMP: truncated info header");
  c.at = tableAt;
  Decoded d;
  d.width = static_cast<int32_t>(width);
  d.height = static_cast<int32_t>(height);
  d.indexed = bits <= 8;
  d.hasMap = false;
  d.mapAlpha = false;
  if (bits <= 8) {
    uint32_t maxEntries = 1u << bits;
    uint32_t entries = (coloursUsed != 0 && coloursUsed <= maxEntries) ? coloursUsed : maxEntries;
    if (coloursUsed > maxEntries) return Fail("BMP: colour count out of range");
    // The table cannot reach into the pixel data.
    if (pixelOffset > tableAt && (pixelOffset - tableAt) / entryBytes < entries)
      entries = static_cast<uint32_t>((pixelOffset - tableAt) / entryBytes);
    d.map.assign(static_cast<size_t>(entries) * 4, 0);
    for (uint32_t i = 0; i < entries; ++i) {
      if (!c.Has(entryBytes)) return Fail("BMP: truncated colour table");
      d.map[i * 4 + 2] = c.p[c.at];
      d.map[i * 4 + 1] = c.p[c.at + 1];
      d.map[i * 4 + 0] = c.p[c.at + 2];
      c.at += entryBytes;
    }
    d.hasMap = true;
  }
  // Pixel data starts where the file header says.
  if (pixelOffset < c.at || pixelOffset > size) return Fail("BMP: pixel data offset out of range");
  c.at = pixelOffset;
  const int32_t w = d.width, h = d.height;
  // The pixel data must be able to hold the image before it is made: every
  // row stored (the last may lack its padding), or, run-length encoded, at
  // best 255 pixels in a 2-byte run.
  const uint64_t pixels = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  const uint64_t stride = ((static_cast<uint64_t>(w) * bits + 31) / 32) * 4;
  const uint64_t needed = compression == 0 ? stride * static_cast<uint64_t>(h - 1) + (static_cast<uint64_t>(w) * bits + 7) / 8
                                           : (pixels + 254) / 255 * 2;
  if (!c.Has(static_cast<size_t>(needed)))
    return Fail(compression == 0 ? "BMP: truncated pixel data" : "BMP: truncated run-length data");
  d.work.assign(static_cast<size_t>(pixels) * 4, 0);
  if (compression == 0) {
    size_t rowBytes = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
    for (int32_t r = 0; r < h; ++r) {
      if (!c.Has(rowBytes)) {
        // The last row may lack its padding; anything else short is truncated.
        size_t need = (static_cast<size_t>(w) * bits + 7) / 8;
        if (r != h - 1 || !c.Has(need)) return Fail("BMP: truncated pixel data");
      }
      const uint8_t* src = c.p + c.at;
      uint8_t* pRow = &d.work[RowOf(r, h, topFirst) * w * 4];
      for (int32_t x = 0; x < w; ++x) {
        uint8_t* px = pRow + x * 4;
        if (bits == 4) {
          uint8_t b = src[x / 2];
          uint8_t v = (x & 1) ? (b & 15) : (b >> 4);
          px[0] = px[1] = px[2] = px[3] = v;
        } else if (bits == 8) {
          px[0] = px[1] = px[2] = px[3] = src[x];
        } else {
          px[2] = src[x * 3];
          px[1] = src[x * 3 + 1];
          px[0] = src[x * 3 + 2];
          px[3] = 0;
        }
      }
      c.at += c.Has(rowBytes) ? rowBytes : c.size - c.at;
    }
  } else {
    // 8-bit run-length: runs are clipped at the row's end; end of line,
    // end of bitmap and delta move the position as they say.
    int32_t x = 0, r = 0;
    for (;;) {
      uint32_t count, value;
      if (!c.U8(&count) || !c.U8(&value)) return Fail("BMP: truncated run-length data");
      if (count > 0) {
        for (uint32_t i = 0; i < count; ++i, ++x)
          if (x < w && r < h) {
            uint8_t* px = &d.work[(RowOf(r, h, topFirst) * w + x) * 4];
            px[0] = px[1] = px[2] = px[3] = static_cast<uint8_t>(value);
          }
      } else if (value == 0) {
        x = 0;
        ++r;
      } else if (value == 1) {
        break;
      } else if (value == 2) {
        uint32_t dx, dy;
        if (!c.U8(&dx) || !c.U8(&dy)) return Fail("BMP: truncated run-length data");
        x += static_cast<int32_t>(dx);
        r += static_cast<int32_t>(dy);
      } else {
        if (!c.Has(value)) return Fail("BMP: truncated run-length data");
        for (uint32_t i = 0; i < value; ++i, ++x)
          if (x < w && r < h) {
            uint8_t* px = &d.work[(RowOf(r, h, topFirst) * w + x) * 4];
            px[0] = px[1] = px[2] = px[3] = c.p[c.at + i];
          }
        c.at += value;
        if (value & 1) {
          if (!c.Skip(1)) return Fail("BMP: truncated run-length data");
        }
      }
      if (r >= h) break;
    }
  }
  return StoreImage(&d, pSurface, pDesc, flags);
}

void* QDLBMPRead(const char* pFileName, Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc, uint32_t flags) {
  std::vector<uint8_t> data;
  if (!ReadFile(pFileName, &data)) return Fail("BMP: the file cannot be opened");
  return QDLBMPReadMemory(data.data(), data.size(), pSurface, pDesc, flags);
}

// ---------------------------------------------------------------------------
// Writers

namespace {

void Put16(std::vector<uint8_t>* p, uint32_t v) {
  p->push_back(static_cast<uint8_t>(v));
  p->push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p, v >> 16);
}

// Writes bytes to a temporary file beside the name and renames it over the
// name, so a failed write leaves an older file intact.
uint32_t WriteAll(const char* pFileName, const std::vector<uint8_t>& bytes) {
  if (!pFileName) return FailCode("no file name");
  std::string path = platform::resolvePath(pFileName);
  std::string tmp = platform::temporaryPathFor(path);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return FailCode("the file cannot be created");
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return FailCode("the file cannot be written");
  }
  qdlImageError.clear();
  return 0;
}

// The rectangle of a surface as work pixels (top row first); 7 on failure.
uint32_t SurfaceToWork(Q2DXSurface* pSurface, const Q2DXRect* pRect, std::vector<uint8_t>* pWork,
                       int32_t* pW, int32_t* pH) {
  if (!pSurface) return FailCode("no surface");
  QDLSurfaceDesc desc;
  Q2DXSurfaceGetDesc(pSurface, &desc);
  Q2DXRect r = pRect ? *pRect : Q2DXRect{0, 0, desc.width, desc.height};
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > desc.width) r.right = desc.width;
  if (r.bottom > desc.height) r.bottom = desc.height;
  if (r.right <= r.left || r.bottom <= r.top) return FailCode("empty rectangle");
  const QDLPixelFormatDesc& f = desc.pixelFormat;
  bool paletted = (f.flags & QDLPF_PALETTEINDEXED8) != 0;
  Q2DXPalette* pPal = Q2DXSurfaceGetPalette(pSurface);
  if (paletted && !pPal) return FailCode("no palette attached");
  int32_t w = r.right - r.left, h = r.bottom - r.top;
  pWork->assign(static_cast<size_t>(w) * h * 4, 0);
  if (Q2DXSurfaceLock(pSurface, 0, &desc) != 0) return FailCode("the surface could not be locked");
  const uint8_t* pBase = static_cast<const uint8_t*>(desc.surface);
  uint32_t bpp = Q2DXBytesPerPixel(static_cast<int32_t>(f.bitCount));
  uint32_t sr = LowBit(f.redMask), sg = LowBit(f.greenMask), sb = LowBit(f.blueMask);
  uint32_t mr = f.redMask ? f.redMask >> sr : 1, mg = f.greenMask ? f.greenMask >> sg : 1,
           mb = f.blueMask ? f.blueMask >> sb : 1;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* pRow = pBase + static_cast<size_t>(r.top + y) * desc.pitch;
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* s = pRow + static_cast<size_t>(r.left + x) * bpp;
      uint8_t* px = &(*pWork)[(static_cast<size_t>(y) * w + x) * 4];
      if (paletted) {
        const QDLPaletteEntry& e = pPal->entries[s[0]];
        px[0] = e.red;
        px[1] = e.green;
        px[2] = e.blue;
      } else if (bpp == 3) {
        px[0] = s[sr / 8];
        px[1] = s[sg / 8];
        px[2] = s[sb / 8];
      } else {
        uint32_t v = s[0];
        if (bpp >= 2) v |= static_cast<uint32_t>(s[1]) << 8;
        if (bpp == 4) v |= (static_cast<uint32_t>(s[2]) << 16) | (static_cast<uint32_t>(s[3]) << 24);
        px[0] = static_cast<uint8_t>(((v & f.redMask) >> sr) * (255 / mr));
        px[1] = static_cast<uint8_t>(((v & f.greenMask) >> sg) * (255 / mg));
        px[2] = static_cast<uint8_t>(((v & f.blueMask) >> sb) * (255 / mb));
      }
    }
  }
  Q2DXSurfaceUnlock(pSurface);
  *pW = w;
  *pH = h;
  return 0;
}

}  // namespace

uint32_t QDLTGAWrite(const char* pFileName, Q2DXSurface* pSurface, const Q2DXRect* pRect, uint32_t) {
  std::vector<uint8_t> work;
  int32_t w, h;
  if (SurfaceToWork(pSurface, pRect, &work, &w, &h) != 0) return 7;
  // The header holds width and height in 16 bits.
  if (w > 65535 || h > 65535) return FailCode("the image is too large for a TGA file");
  std::vector<uint8_t> out;
  out.reserve(18 + work.size() / 4 * 3);
  out.insert(out.end(), {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  Put16(&out, static_cast<uint32_t>(w));
  Put16(&out, static_cast<uint32_t>(h));
  out.push_back(24);
  out.push_back(0);
  for (int32_t y = h - 1; y >= 0; --y)
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* px = &work[(static_cast<size_t>(y) * w + x) * 4];
      out.push_back(px[2]);
      out.push_back(px[1]);
      out.push_back(px[0]);
    }
  return WriteAll(pFileName, out);
}

uint32_t QDLBMPWrite(const char* pFileName, Q2DXSurface* pSurface, const Q2DXRect* pRect, uint32_t) {
  std::vector<uint8_t> work;
  int32_t w, h;
  if (SurfaceToWork(pSurface, pRect, &work, &w, &h) != 0) return 7;
  size_t pad = static_cast<size_t>(w) % 4;
  size_t fileSize = 54 + (static_cast<size_t>(w) * 3 + pad) * h;
  std::vector<uint8_t> out;
  out.reserve(fileSize);
  Put16(&out, 0x4D42);
  Put32(&out, static_cast<uint32_t>(fileSize));
  Put16(&out, 0);
  Put16(&out, 0);
  Put32(&out, 54);
  Put32(&out, 40);
  Put32(&out, static_cast<uint32_t>(w));
  Put32(&out, static_cast<uint32_t>(h));
  Put16(&out, 1);
  Put16(&out, 24);
  for (int i = 0; i < 6; ++i) Put32(&out, 0);
  for (int32_t y = h - 1; y >= 0; --y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* px = &work[(static_cast<size_t>(y) * w + x) * 4];
      out.push_back(px[2]);
      out.push_back(px[1]);
      out.push_back(px[0]);
    }
    for (size_t i = 0; i < pad; ++i) out.push_back(0);
  }
  return WriteAll(pFileName, out);
}

uint32_t QDLTGAWriteBuffer(const char* pFileName, const uint8_t* pPixels, int32_t width, int32_t height) {
  if (!pPixels || !SizeOk(width, height) || width > 65535 || height > 65535) return FailCode("bad buffer");
  std::vector<uint8_t> out;
  out.insert(out.end(), {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  Put16(&out, static_cast<uint32_t>(width));
  Put16(&out, static_cast<uint32_t>(height));
  out.push_back(32);
  out.push_back(0);
  for (int32_t y = height - 1; y >= 0; --y)
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* px = pPixels + (static_cast<size_t>(y) * width + x) * 4;
      out.push_back(px[2]);
      out.push_back(px[1]);
      out.push_back(px[0]);
      out.push_back(px[3]);
    }
  return WriteAll(pFileName, out);
}

uint32_t QDLImageScale(uint8_t* pDest, int32_t destWidth, int32_t destHeight, const uint8_t* pSource,
                       int32_t sourceWidth, int32_t sourceHeight) {
  if (!pDest || !pSource || destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 ||
      sourceHeight <= 0 || destWidth > 1024)
    return 7;
  const int64_t sw = sourceWidth, sh = sourceHeight, dw = destWidth, dh = destHeight;
  std::vector<uint8_t> row(static_cast<size_t>(dw) * 4);
  std::vector<int64_t> acc(static_cast<size_t>(dw) * 4, 0);
  int64_t rowNeed = sh;  // weight still needed by the current output row
  int32_t outRow = 0;
  for (int32_t sy = 0; sy < sourceHeight && outRow < destHeight; ++sy) {
    // Horizontal: each source pixel carries weight dw; each output pixel takes sw.
    const uint8_t* s = pSource + static_cast<size_t>(sy) * sw * 4;
    int64_t sum[4] = {0, 0, 0, 0};
    int64_t need = sw;
    int32_t ox = 0;
    for (int32_t sx = 0; sx < sourceWidth && ox < destWidth; ++sx) {
      int64_t have = dw;
      while (have > 0 && ox < destWidth) {
        int64_t take = have < need ? have : need;
        for (int i = 0; i < 4; ++i) sum[i] += take * s[sx * 4 + i];
        have -= take;
        need -= take;
        if (need == 0) {
          for (int i = 0; i < 4; ++i) {
            row[ox * 4 + i] = static_cast<uint8_t>(sum[i] / sw);
            sum[i] = 0;
          }
          ++ox;
          need = sw;
        }
      }
    }
    // Vertical: each resampled row carries weight dh; each output row takes sh.
    int64_t have = dh;
    while (have > 0 && outRow < destHeight) {
      int64_t take = have < rowNeed ? have : rowNeed;
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += take * row[i];
      have -= take;
      rowNeed -= take;
      if (rowNeed == 0) {
        uint8_t* d = pDest + static_cast<size_t>(outRow) * dw * 4;
        for (size_t i = 0; i < acc.size(); ++i) {
          d[i] = static_cast<uint8_t>(acc[i] / sh);
          acc[i] = 0;
        }
        ++outRow;
        rowNeed = sh;
      }
    }
  }
  return 0;
}
