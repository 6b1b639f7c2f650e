// Cutting sheets into sprite banks: six cutting modes, the choice of each
// frame's encoding from its colours, and the encoders.
#include "display/qdl_sheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unordered_set>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_internal.h"
#include "display/qdl_bank.h"
#include "display/qdl_convert.h"
#include "display/qdl_palette.h"

namespace {

// Marker colours persist between builds.
struct SheetMarkers {
  uint8_t bg[3] = {255, 0, 255};
  bool bgSet = false;
  uint8_t sep[3] = {0, 255, 255};
  bool sepSet = false;
} qdlSheetMarkers;

constexpr uint8_t kDefaultBg[3] = {255, 0, 255};
constexpr uint8_t kDefaultSep[3] = {0, 255, 255};

// One loaded, locked sheet with its pixels read out: raw values for storing
// and values in the target's format for comparing with the markers.
struct Sheet {
  int32_t w = 0, h = 0;
  uint32_t format = 0;
  const QDLPalette* pPalette = nullptr;
  std::vector<uint32_t> raw, cmp;
  uint32_t bg = 0, sep = 0;
  // Pixels already in the target's format (or indices for an indexed
  // target) are used as they are; the others go through the converters.
  bool alike = false;
  QDLPixelConverter toCompare, toStore;

  uint32_t Raw(int32_t x, int32_t y) const { return raw[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
  uint32_t Cmp(int32_t x, int32_t y) const { return cmp[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
  bool IsBg(int32_t x, int32_t y) const { return Cmp(x, y) == bg; }
  bool IsSep(int32_t x, int32_t y) const { return Cmp(x, y) == sep; }
  bool IsOpaque(int32_t x, int32_t y) const {
    const uint32_t c = Cmp(x, y);
    return c != bg && c != sep;
  }
  bool ColumnHasNonBg(int32_t x, int32_t y0, int32_t y1) const {
    for (int32_t y = y0; y <= y1; ++y)
      if (!IsBg(x, y)) return true;
    return false;
  }
  bool RowHasNonBg(int32_t y, int32_t x0, int32_t x1) const {
    for (int32_t x = x0; x <= x1; ++x)
      if (!IsBg(x, y)) return true;
    return false;
  }
};

// The build in progress.
struct Build {
  uint32_t target = 0;      // full target format code
  uint32_t targetBpp = 0;
  std::vector<QDLFrame> frames;
  std::vector<uint32_t> offsets;
  std::vector<uint8_t> data;
  std::vector<int32_t> values;
  bool haveValues = false;
  QDLPalette* pPalette = nullptr;
  bool warnedFull = false;
};

bool IsIndexed(uint32_t format) { return (format & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8; }

// A sheet pixel in the target's format, for comparing (no dither).
uint32_t CompareValue(const Sheet& s, uint32_t raw) {
  if (s.alike) return raw;
  uint32_t uNoDraws = 0;
  return QDLPixelConvert(s.toCompare, raw, &uNoDraws);
}

// A sheet pixel as stored in the bank (dithered when the formats differ).
// Indexed sheets take their colours from their palette.
uint32_t StoreValue(const Sheet& s, uint32_t raw) {
  if (s.alike) return raw;
  return QDLPixelConvert(s.toStore, raw, &qdlGlobals.ditherSeed);
}

void PutPixel(std::vector<uint8_t>& out, uint32_t v, uint32_t bpp) {
  // Pixels are stored as surfaces hold them: little-endian, low byte first.
  for (uint32_t i = 0; i < bpp; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void BeginRow(std::vector<uint8_t>& out, size_t* pStart) {
  *pStart = out.size();
  out.push_back(0);
  out.push_back(0);
}

void EndRow(std::vector<uint8_t>& out, size_t start, bool last) {
  if ((out.size() - start) & 1) out.push_back(0);
  const size_t len = last ? 0 : out.size() - start;
  out[start] = static_cast<uint8_t>(len);
  out[start + 1] = static_cast<uint8_t>(len >> 8);
}

void EncodeRaw(const Sheet& s, const Build& b, int32_t x0, int32_t y0, int32_t w, int32_t h, std::vector<uint8_t>& out) {
  for (int32_t y = 0; y < h; ++y) {
    size_t start;
    BeginRow(out, &start);
    for (int32_t x = 0; x < w; ++x) PutPixel(out, StoreValue(s, s.Raw(x0 + x, y0 + y)), b.targetBpp);
    EndRow(out, start, y == h - 1);
  }
}

void EncodeRuns(const Sheet& s, const Build& b, int32_t x0, int32_t y0, int32_t w, int32_t h, bool fill,
                std::vector<uint8_t>& out) {
  for (int32_t y = 0; y < h; ++y) {
    size_t start;
    BeginRow(out, &start);
    int32_t x = 0;
    while (x < w) {
      const bool opaque = s.IsOpaque(x0 + x, y0 + y);
      int32_t n = 1;
      while (x + n < w && n < 127 && s.IsOpaque(x0 + x + n, y0 + y) == opaque) ++n;
      if (!opaque) {
        bool restClear = true;
        for (int32_t k = x + n; k < w && restClear; ++k) restClear = !s.IsOpaque(x0 + k, y0 + y);
        if (restClear) break;  // the row ends in transparency: the terminator stands for the skip
        out.push_back(static_cast<uint8_t>(static_cast<int8_t>(-n)));
      } else {
        out.push_back(static_cast<uint8_t>(n));
        const int32_t stored = fill ? 1 : n;
        for (int32_t k = 0; k < stored; ++k)
          PutPixel(out, StoreValue(s, s.Raw(x0 + x + k, y0 + y)), b.targetBpp);
      }
      x += n;
    }
    out.push_back(0);
    EndRow(out, start, y == h - 1);
  }
}

// Appends one frame cut from the rectangle, with its encoding chosen by its
// colours. Frames past the work bank's limits are dropped.
void AddFrame(Build* pB, const Sheet& s, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t descFlags,
              int32_t* pIndex) {
  if (pIndex) *pIndex = -1;
  // The view of the rectangle ends at the sheet's edges.
  if (x < 0 || y < 0 || x > s.w || y > s.h) return;
  w = std::max(0, std::min(w, s.w - x));
  h = std::max(0, std::min(h, s.h - y));
  w = std::min(w, 32767);
  h = std::min(h, 32767);
  if (pB->frames.size() >= QDLSHEET_MAX_FRAMES) {
    if (!pB->warnedFull) std::fprintf(stderr, "QDLSpriteBankFromSheets: more than %u frames, the rest are dropped\n",
                                      static_cast<unsigned>(QDLSHEET_MAX_FRAMES));
    pB->warnedFull = true;
    return;
  }
  int16_t encoding;
  if (descFlags & QDLSHEET_RAW) {
    encoding = QDLENC_RAW;
  } else {
    std::unordered_set<uint32_t> colours;
    int64_t opaque = 0;
    for (int32_t j = 0; j < h; ++j)
      for (int32_t i = 0; i < w; ++i)
        if (s.IsOpaque(x + i, y + j)) {
          ++opaque;
          if (colours.size() <= QDLSHEET_MAX_COLOURS) colours.insert(s.Raw(x + i, y + j));
        }
    if (opaque == 0) encoding = QDLENC_NONE;
    else if (colours.size() == 1) encoding = QDLENC_RLE_FILL;
    else if (opaque == static_cast<int64_t>(w) * h) encoding = QDLENC_RAW;
    else encoding = QDLENC_RLE;
    if (IsIndexed(pB->target) && colours.size() >= 256) encoding = QDLENC_NONE;
  }
  if (w == 0 || h == 0) encoding = QDLENC_NONE;
  std::vector<uint8_t> enc;
  if (encoding == QDLENC_RAW) EncodeRaw(s, *pB, x, y, w, h, enc);
  else if (encoding != QDLENC_NONE) EncodeRuns(s, *pB, x, y, w, h, encoding == QDLENC_RLE_FILL, enc);
  if (pB->data.size() + enc.size() > QDLSHEET_MAX_BYTES) {
    if (!pB->warnedFull) std::fprintf(stderr, "QDLSpriteBankFromSheets: more than %u bytes, frames are dropped\n",
                                      static_cast<unsigned>(QDLSHEET_MAX_BYTES));
    pB->warnedFull = true;
    return;
  }
  QDLFrame fr{};
  fr.width = static_cast<int16_t>(w);
  fr.height = static_cast<int16_t>(h);
  fr.encoding = encoding;
  pB->offsets.push_back(encoding == QDLENC_NONE ? UINT32_MAX : static_cast<uint32_t>(pB->data.size()));
  pB->data.insert(pB->data.end(), enc.begin(), enc.end());
  pB->frames.push_back(fr);
  if (pIndex) *pIndex = static_cast<int32_t>(pB->frames.size()) - 1;
}

void AppendEmptyFrame(Build* pB) {
  if (pB->frames.size() >= QDLSHEET_MAX_FRAMES) return;
  pB->frames.push_back(QDLFrame{});
  pB->offsets.push_back(UINT32_MAX);
}

// Mode 2: a strip cut by columns; a frame needs an empty column and an empty
// row after it inside the strip.
void CutStripByColumns(Build* pB, const Sheet& s, int32_t x0, int32_t x1, int32_t y0, int32_t y1, uint32_t f) {
  int32_t x = x0;
  while (x <= x1) {
    if (!s.ColumnHasNonBg(x, y0, y1)) {
      ++x;
      continue;
    }
    int32_t xe = x;
    while (xe <= x1 && s.ColumnHasNonBg(xe, y0, y1)) ++xe;
    if (xe > x1) return;  // no empty column follows inside the strip
    int32_t ys = y0;
    while (ys <= y1 && !s.RowHasNonBg(ys, x, xe - 1)) ++ys;
    int32_t ye = ys;
    while (ye <= y1 && s.RowHasNonBg(ye, x, xe - 1)) ++ye;
    if (ye <= y1) AddFrame(pB, s, x, ys, xe - x, ye - ys, f, nullptr);
    x = xe;
  }
}

void CutGrid(Build* pB, const Sheet& s, int32_t cw, int32_t ch, uint32_t f) {
  if (cw <= 0 || ch <= 0) return;
  for (int32_t y = 0; y + ch <= s.h; y += ch)
    for (int32_t x = 0; x + cw <= s.w; x += cw) AddFrame(pB, s, x, y, cw, ch, f, nullptr);
}

void CutRows(Build* pB, const Sheet& s, uint32_t f) {
  int32_t prev = -1;
  for (int32_t y = 0; y < s.h; ++y) {
    if (!s.IsSep(0, y)) continue;
    int32_t run = 0;
    while (run < s.w && s.IsSep(run, y)) ++run;
    if (y - 1 >= prev + 1) CutStripByColumns(pB, s, 0, run - 1, prev + 1, y - 1, f);
    prev = y;
  }
}

void CutStrips(Build* pB, const Sheet& s, uint32_t f) {
  int32_t prev = 0;  // row 0 always bounds the first strip
  for (int32_t y = 1; y < s.h; ++y) {
    if (!s.IsSep(0, y)) continue;
    const int32_t y0 = prev + 1, y1 = y - 1;
    prev = y;
    if (y1 < y0) continue;
    int32_t x = 0;
    while (x < s.w) {
      if (!s.ColumnHasNonBg(x, y0, y1)) {
        ++x;
        continue;
      }
      int32_t xe = x;
      while (xe < s.w && s.ColumnHasNonBg(xe, y0, y1)) ++xe;
      int32_t ys = y0;
      while (!s.RowHasNonBg(ys, x, xe - 1)) ++ys;
      int32_t ye = y1;
      while (!s.RowHasNonBg(ye, x, xe - 1)) --ye;
      AddFrame(pB, s, x, ys, xe - x, ye - ys + 1, f, nullptr);
      x = xe;
    }
  }
}

void CutBoxes(Build* pB, const Sheet& s, uint32_t f) {
  for (int32_t y = 0; y + 1 < s.h; ++y)
    for (int32_t x = 0; x + 1 < s.w; ++x) {
      if (!s.IsSep(x, y) || !s.IsSep(x + 1, y) || !s.IsSep(x, y + 1)) continue;
      int32_t top = 0;
      while (x + top < s.w && s.IsSep(x + top, y)) ++top;
      int32_t left = 0;
      while (y + left < s.h && s.IsSep(x, y + left)) ++left;
      AddFrame(pB, s, x + 1, y + 1, top - 1, left - 1, f, nullptr);
    }
}

void CutTable(Build* pB, const Sheet& s, const QDLSheetDesc& d) {
  if (d.pPositions == nullptr) return;
  if (!pB->haveValues) {
    pB->values.assign(QDLSHEET_MAX_FRAMES, 0);
    pB->haveValues = true;
  }
  for (uint32_t i = 0; i < QDLSHEET_POSITIONS; ++i) {
    const QDLSheetPosition& p = d.pPositions[i];
    if (p.x == 0 && p.y == 0) {
      AppendEmptyFrame(pB);
      continue;
    }
    int32_t index = -1;
    AddFrame(pB, s, p.x, p.y, d.cellWidth, d.cellHeight, d.flags, &index);
    if (index >= 0) pB->values[static_cast<size_t>(index)] = p.value;
  }
}

bool ReadSheet(QDLSurface* pSurf, Sheet* pS) {
  QDLSurface* pBase = (pSurf->flags & QDLSURF_VIEW) && pSurf->parent ? pSurf->parent : pSurf;
  pS->w = pSurf->width;
  pS->h = pSurf->height;
  pS->format = pBase->formatCode;
  pS->pPalette = pSurf->palette != nullptr ? pSurf->palette : pBase->palette;
  const uint32_t bpp = pBase->bytesPerPixel;
  if (pSurf->pixels == nullptr || bpp < 1 || bpp > 4) return false;
  pS->raw.resize(static_cast<size_t>(pS->w) * static_cast<size_t>(pS->h));
  for (int32_t y = 0; y < pS->h; ++y) {
    const uint8_t* row = pSurf->pixels + static_cast<intptr_t>(y) * pSurf->pitch;
    for (int32_t x = 0; x < pS->w; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * bpp;
      uint32_t v = 0;
      for (uint32_t i = 0; i < bpp; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
      pS->raw[static_cast<size_t>(y) * static_cast<size_t>(pS->w) + static_cast<size_t>(x)] = v;
    }
  }
  return true;
}

}  // namespace

bool QDLSheetIsTGA(const char* pFileName) {
  if (pFileName == nullptr) return false;
  const char* dot = std::strrchr(pFileName, '.');
  return dot != nullptr && strcasecmp(dot + 1, "tga") == 0;
}

void QDLSheetSetBackgroundColour(uint8_t r, uint8_t g, uint8_t b) {
  qdlSheetMarkers.bg[0] = r;
  qdlSheetMarkers.bg[1] = g;
  qdlSheetMarkers.bg[2] = b;
  qdlSheetMarkers.bgSet = true;
}

void QDLSheetSetSeparatorColour(uint8_t r, uint8_t g, uint8_t b) {
  qdlSheetMarkers.sep[0] = r;
  qdlSheetMarkers.sep[1] = g;
  qdlSheetMarkers.sep[2] = b;
  qdlSheetMarkers.sepSet = true;
}

void QDLSheetResetBackgroundColour() { qdlSheetMarkers.bgSet = false; }
void QDLSheetResetSeparatorColour() { qdlSheetMarkers.sepSet = false; }

QDLSpriteBank* QDLSpriteBankFromSheets(const QDLSheetDesc* pList, uint32_t formatCode) {
  if (formatCode == 0) {
    QDLSurface* pDisplay = qdlGlobals.pDisplay;
    if (pDisplay == nullptr) return nullptr;
    formatCode = pDisplay->formatCode;
  }
  Build b;
  b.target = formatCode;
  b.targetBpp = QDLFormatBitsPerPixel(formatCode) / 8;
  if (b.targetBpp == 0) return nullptr;

  for (const QDLSheetDesc* d = pList; d != nullptr && d->pFileName != nullptr; ++d) {
    const uint32_t mode = d->flags & QDLSHEET_MODE_MASK;
    const bool paletted = mode >= 33 && mode <= 38;
    uint32_t loadFlags = QDLIMAGE_MEMORY;
    if (paletted) loadFlags |= QDLIMAGE_PALETTE | ((d->flags & QDLSHEET_32_COLOURS) ? static_cast<uint32_t>(QDLIMAGE_32_COLOURS) : 0u);
    QDLSurface* pImage = QDLSheetIsTGA(d->pFileName) ? QDLImageLoadTGA(nullptr, d->pFileName, loadFlags)
                                                     : QDLImageLoadBMP(nullptr, d->pFileName, loadFlags);
    if (pImage == nullptr) continue;  // passed over
    if (QDLSurfaceLock(pImage) != 0) {
      QDLSurfaceFree(pImage);
      continue;
    }
    Sheet s;
    if (!ReadSheet(pImage, &s)) {
      QDLSurfaceUnlock(pImage);
      QDLSurfaceFree(pImage);
      continue;
    }
    s.alike = s.format == b.target || (IsIndexed(s.format) && IsIndexed(b.target));
    const uint32_t uPaletteCount = s.pPalette != nullptr ? s.pPalette->entryCount : 0;
    QDLPixelConverterForFormats(&s.toCompare, s.format, b.target, s.pPalette, uPaletteCount, false, false);
    QDLPixelConverterForFormats(&s.toStore, s.format, b.target, s.pPalette, uPaletteCount,
                                (d->flags & QDLSHEET_NO_DITHER) == 0, false);
    if (paletted && IsIndexed(s.format) && b.pPalette == nullptr && s.pPalette != nullptr) {
      // The first paletted sheet gives the bank its palette.
      b.pPalette = QDLPaletteCreate(256, 1, 0);
      if (b.pPalette != nullptr) {
        QDLPaletteEntry entries[256] = {};
        QDLPaletteGetEntries(const_cast<QDLPalette*>(s.pPalette), entries, 0, std::min<uint32_t>(256, s.pPalette->entryCount));
        QDLPaletteSetEntries(b.pPalette, entries, 0, 256);
      }
    }
    // Marker pixels in the target's format.
    if (paletted && IsIndexed(s.format)) {
      QDLPalette* pPal = const_cast<QDLPalette*>(s.pPalette);
      const uint8_t* bgc = qdlSheetMarkers.bgSet ? qdlSheetMarkers.bg : kDefaultBg;
      const uint8_t* sepc = qdlSheetMarkers.sepSet ? qdlSheetMarkers.sep : kDefaultSep;
      int32_t bgi = pPal ? QDLPaletteFindColour(pPal, bgc[0], bgc[1], bgc[2]) : -1;
      if (bgi < 0) bgi = 0;
      int32_t sepi = pPal ? QDLPaletteFindColour(pPal, sepc[0], sepc[1], sepc[2]) : -1;
      if (sepi < 0 && pPal) sepi = QDLPaletteFindColour(pPal, 0, 255, 0);
      if (sepi < 0) sepi = bgi;
      s.bg = CompareValue(s, static_cast<uint32_t>(bgi));
      s.sep = CompareValue(s, static_cast<uint32_t>(sepi));
    } else {
      if (!qdlSheetMarkers.bgSet) std::memcpy(qdlSheetMarkers.bg, kDefaultBg, 3);
      if (!qdlSheetMarkers.sepSet) std::memcpy(qdlSheetMarkers.sep, kDefaultSep, 3);
      s.bg = QDLRGBToPixel(b.target, qdlSheetMarkers.bg[0], qdlSheetMarkers.bg[1], qdlSheetMarkers.bg[2]);
      s.sep = QDLRGBToPixel(b.target, qdlSheetMarkers.sep[0], qdlSheetMarkers.sep[1], qdlSheetMarkers.sep[2]);
    }
    s.cmp.resize(s.raw.size());
    for (size_t i = 0; i < s.raw.size(); ++i) s.cmp[i] = CompareValue(s, s.raw[i]);

    switch (mode & 31) {
      case QDLSHEET_MODE_GRID: CutGrid(&b, s, d->cellWidth, d->cellHeight, d->flags); break;
      case QDLSHEET_MODE_ROWS: CutRows(&b, s, d->flags); break;
      case QDLSHEET_MODE_STRIPS: CutStrips(&b, s, d->flags); break;
      case QDLSHEET_MODE_BOXES: CutBoxes(&b, s, d->flags); break;
      case QDLSHEET_MODE_TABLE: CutTable(&b, s, *d); break;
      case QDLSHEET_MODE_WHOLE: AddFrame(&b, s, 0, 0, s.w, s.h, d->flags, nullptr); break;
      default: break;  // mode 0 or above 6: no frames
    }
    QDLSurfaceUnlock(pImage);
    QDLSurfaceFree(pImage);
  }

  const int32_t n = static_cast<int32_t>(b.frames.size());
  QDLSpriteBank* pBank = QDLSpriteBankCreate(n, static_cast<uint32_t>(b.data.size()), QDLBANK_FROM_SHEETS);
  if (pBank == nullptr) {
    if (b.pPalette) QDLPaletteFree(b.pPalette);
    return nullptr;
  }
  pBank->formatCode = b.target & QDLFORMAT_SIZE_MASK;
  pBank->sourceBytesPerPixel = b.targetBpp;
  if (!b.data.empty()) std::memcpy(pBank->pixelData, b.data.data(), b.data.size());
  for (int32_t i = 0; i < n; ++i) {
    QDLFrame& fr = pBank->frames[i];
    fr = b.frames[static_cast<size_t>(i)];
    fr.bank = pBank;
    const uint32_t off = b.offsets[static_cast<size_t>(i)];
    fr.pixels = off == UINT32_MAX ? nullptr : pBank->pixelData + off;
  }
  if (b.haveValues && n > 0) {
    pBank->valueTable = static_cast<int32_t*>(std::calloc(static_cast<size_t>(n), sizeof(int32_t)));
    if (pBank->valueTable) std::memcpy(pBank->valueTable, b.values.data(), sizeof(int32_t) * static_cast<size_t>(n));
  }
  if (b.pPalette) QDLSpriteBankAdoptPalette(pBank, b.pPalette);
  return pBank;
}
