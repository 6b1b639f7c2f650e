#pragma once
// Helpers of the blitter tests: frames built from a grid of cells in any of
// the three encodings, surfaces over our own buffers with sentinel borders,
// and a reference model that places every pixel by the geometry rules and
// applies the pixel operation field by field.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "display/blit/qdl_blit.h"
#include "display/qdl.h"

namespace blittest {

// One position of a frame: transparent, or opaque with a pixel value.
struct Cell {
  bool opaque = false;
  uint32_t value = 0;  // index or pixel (low P bytes)
};

struct Grid {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Cell> cells;  // row-major
  Cell& at(int32_t i, int32_t j) { return cells[static_cast<size_t>(j) * width + i]; }
  const Cell& at(int32_t i, int32_t j) const { return cells[static_cast<size_t>(j) * width + i]; }
};

// A frame of one bank whose rows are given as bodies (the bytes after each
// row's length word). The bank's colour table holds tableBase + i (all zero
// for tableBase 0). The record points into itself, so it is never copied.
struct RowFrame {
  std::vector<uint8_t> data;
  QDLSpriteBank bank{};
  QDLPalette palette{};
  uint16_t table[256] = {};
  QDLFrame frame{};
  RowFrame(int srcBytes, uint32_t formatCode, int16_t width, int encoding,
           const std::vector<std::vector<uint8_t>>& rows, uint16_t tableBase = 0) {
    for (const auto& body : rows) {
      const size_t len = body.size() + 2;
      data.push_back(static_cast<uint8_t>(len));
      data.push_back(static_cast<uint8_t>(len >> 8));
      data.insert(data.end(), body.begin(), body.end());
    }
    if (tableBase != 0)
      for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(tableBase + i);
    palette.colourTable = table;
    bank.formatCode = formatCode;
    bank.sourceBytesPerPixel = static_cast<uint32_t>(srcBytes);
    bank.colourTable = table;
    bank.palette = &palette;
    frame.width = width;
    frame.height = static_cast<int16_t>(rows.size());
    frame.encoding = static_cast<int16_t>(encoding);
    frame.pixels = data.data();
    frame.bank = &bank;
  }
  RowFrame(const RowFrame&) = delete;
  RowFrame& operator=(const RowFrame&) = delete;
};

inline void PutPixel(std::vector<uint8_t>& out, uint32_t v, int P) {
  for (int b = 0; b < P; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
}

// Encodes a grid. Raw rows need every cell opaque. Run-length rows: runs
// split at random lengths (at most 127), the transparent tail of a row is
// sometimes spelled out and sometimes left to the end of the row, and a
// padding byte may follow the end-of-row control. Fill encoding needs runs
// of equal values: consecutive opaque cells of one value share a fill run.
// The last row's length is sometimes 0.
inline std::vector<uint8_t> Encode(const Grid& g, int encoding, int P, std::mt19937& rng) {
  std::vector<uint8_t> out;
  std::uniform_int_distribution<int> coin(0, 3);
  for (int32_t j = 0; j < g.height; ++j) {
    size_t start = out.size();
    out.push_back(0);
    out.push_back(0);
    if (encoding == QDLENC_RAW) {
      for (int32_t i = 0; i < g.width; ++i) PutPixel(out, g.at(i, j).value, P);
    } else {
      // Find where the opaque cells end: the rest may be left implicit.
      int32_t end = g.width;
      if (coin(rng) != 0) {
        while (end > 0 && !g.at(end - 1, j).opaque) --end;
      }
      int32_t i = 0;
      while (i < end) {
        const bool opaque = g.at(i, j).opaque;
        int32_t n = 1;
        const int32_t limit = std::uniform_int_distribution<int>(1, 127)(rng) > 100 ? 127 : 1 + coin(rng) * 3;
        while (i + n < end && n < 127 && g.at(i + n, j).opaque == opaque &&
               (!opaque || encoding != QDLENC_RLE_FILL || g.at(i + n, j).value == g.at(i, j).value) &&
               (n < limit || !opaque)) {
          ++n;
        }
        if (!opaque) {
          out.push_back(static_cast<uint8_t>(-n));
        } else {
          out.push_back(static_cast<uint8_t>(n));
          if (encoding == QDLENC_RLE) {
            for (int32_t k = 0; k < n; ++k) PutPixel(out, g.at(i + k, j).value, P);
          } else {
            PutPixel(out, g.at(i, j).value, P);
          }
        }
        i += n;
      }
      out.push_back(0);
      if (coin(rng) == 0) out.push_back(0xEE);  // padding
    }
    uint16_t len = static_cast<uint16_t>(out.size() - start);
    if (j == g.height - 1 && coin(rng) == 0) len = 0;
    out[start] = static_cast<uint8_t>(len);
    out[start + 1] = static_cast<uint8_t>(len >> 8);
  }
  return out;
}

// A surface record over a buffer of our own with a sentinel border of
// `margin` pixels around it (and extra bytes at the end of every row).
struct TestSurface {
  QDLSurface surface{};
  std::vector<uint8_t> buffer;
  int32_t bytes = 0;
  int32_t margin = 0;
  int32_t pitch = 0;

  TestSurface(int32_t width, int32_t height, int32_t bytesPerPixel, uint16_t formatCode,
              std::mt19937& rng, int32_t marginPixels = 3) {
    bytes = bytesPerPixel;
    margin = marginPixels;
    pitch = (width + 2 * margin) * bytes + 5;
    buffer.resize(static_cast<size_t>(pitch) * (height + 2 * margin));
    for (uint8_t& b : buffer) b = static_cast<uint8_t>(rng());
    surface.width = width;
    surface.height = height;
    surface.bitsPerPixel = bytesPerPixel * 8;
    surface.flags = QDLSURF_MEMORY | (bytesPerPixel == 1 ? static_cast<uint32_t>(QDLSURF_PALETTED) : 0u);
    surface.block = origin();
    surface.locked = 1;
    surface.pixels = origin();
    surface.pitch = pitch;
    surface.formatCode = formatCode;
    surface.bytesPerPixel = static_cast<uint16_t>(bytesPerPixel);
    if (bytesPerPixel == 2) {
      const bool is555 = (formatCode & 0xF81F) == 4;
      surface.redShift = is555 ? 10 : 11;
      surface.greenShift = 5;
      surface.blueShift = 0;
      surface.redLoss = 3;
      surface.greenLoss = is555 ? 3 : 2;
      surface.blueLoss = 3;
    }
  }
  TestSurface(const TestSurface&) = delete;
  TestSurface& operator=(const TestSurface&) = delete;
  uint8_t* origin() { return buffer.data() + static_cast<size_t>(margin) * pitch + margin * bytes; }
  uint32_t get(int32_t c, int32_t r) const {
    const uint8_t* p = buffer.data() + static_cast<size_t>(margin + r) * pitch + (margin + c) * bytes;
    uint32_t v = 0;
    for (int b = 0; b < bytes; ++b) v |= static_cast<uint32_t>(p[b]) << (8 * b);
    return v;
  }
  void set(int32_t c, int32_t r, uint32_t v) {
    uint8_t* p = buffer.data() + static_cast<size_t>(margin + r) * pitch + (margin + c) * bytes;
    for (int b = 0; b < bytes; ++b) p[b] = static_cast<uint8_t>(v >> (8 * b));
  }
  void fill(uint32_t v) {
    for (int32_t r = 0; r < surface.height; ++r)
      for (int32_t c = 0; c < surface.width; ++c) set(c, r, v);
  }
};

// A wrapping view over a surface (the record the display library makes).
inline QDLSurface MakeWrapView(QDLSurface* parent, int32_t viewX, int32_t viewY) {
  QDLSurface v{};
  v.width = parent->width;
  v.height = parent->height;
  v.bitsPerPixel = parent->bitsPerPixel;
  v.flags = QDLSURF_VIEW | QDLSURF_WRAP_VIEW;
  v.parent = parent;
  v.viewX = viewX;
  v.viewY = viewY;
  v.formatCode = parent->formatCode;
  v.bytesPerPixel = parent->bytesPerPixel;
  v.redShift = parent->redShift;
  return v;
}

// ---------------------------------------------------------------------------
// Reference pixel operations, written field by field.

struct Field {
  int shift;
  int bits;
};
inline void FieldsOf(bool is555, Field* f) {
  f[0] = {is555 ? 10 : 11, 5};
  f[1] = {5, is555 ? 5 : 6};
  f[2] = {0, 5};
}
inline uint32_t CeilDiv(uint32_t a, uint32_t b) { return (a + b - 1) / b; }

// The k-th halving piece (k = 1..5) of a field value: ceil(f/2^(k-1)) - ceil(f/2^k).
inline uint32_t Piece(uint32_t f, int k) { return CeilDiv(f, 1u << (k - 1)) - CeilDiv(f, 1u << k); }

// Translucent blend of the reference: per field, the source's pieces for the
// set level bits and the destination's for the clear ones.
inline uint16_t RefTrans(uint32_t s, uint32_t d, uint32_t level, bool is555) {
  Field f[3];
  FieldsOf(is555, f);
  uint32_t out = 0;
  for (const Field& fl : f) {
    const uint32_t m = (1u << fl.bits) - 1;
    const uint32_t sf = (s >> fl.shift) & m, df = (d >> fl.shift) & m;
    uint32_t sum = 0;
    for (int k = 1; k <= 5; ++k) sum += ((level >> (5 - k)) & 1u) ? Piece(sf, k) : Piece(df, k);
    out |= sum << fl.shift;
  }
  return static_cast<uint16_t>(out);
}

inline uint16_t RefHalf(uint32_t s, uint32_t d, bool is555) {
  Field f[3];
  FieldsOf(is555, f);
  uint32_t out = 0;
  for (const Field& fl : f) {
    const uint32_t m = (1u << fl.bits) - 1;
    out |= (((s >> fl.shift) & m) / 2 + ((d >> fl.shift) & m) / 2) << fl.shift;
  }
  return static_cast<uint16_t>(out);
}

// What a blit asks for, as the reference model sees it.
struct Request {
  int srcBytes = 1;      // 1, 2, 3, 4
  int dstBytes = 2;      // 1, 2, 3, 4
  uint32_t record = 0;   // QDLBLIT_RECORD_*
  bool mirrorX = false;
  bool mirrorY = false;
  int encoding = QDLENC_RAW;
  bool is555 = false;
  uint32_t colour = 0;
  uint32_t level = 0;
  const uint16_t* colourTable = nullptr;
};

// Counters the pattern kernels use, as the model tracks them.
struct Counters {
  uint16_t a = 0;  // raw and literal pixels
  uint16_t b = 0;  // fill-run pixels
};

// New value of one destination pixel for one drawn cell.
inline uint32_t RefPixel(const Request& q, const Cell& cell, bool fillRun, uint32_t old,
                         Counters& ctr) {
  const bool idx16 = q.srcBytes == 1 && q.dstBytes == 2;
  auto src16 = [&]() -> uint32_t { return idx16 ? q.colourTable[cell.value & 0xFF] : cell.value & 0xFFFF; };
  if (q.dstBytes == 1) {
    switch (q.record) {
      case QDLBLIT_RECORD_KEY:
        return (cell.value & 0xFF) == (q.colour & 0xFF) ? old : cell.value & 0xFF;
      case QDLBLIT_RECORD_SOLID:
        return q.colour & 0xFF;
      case QDLBLIT_RECORD_PATTERN:
        if (fillRun) {
          uint32_t v = ctr.a & 0xFF;
          ctr.a = static_cast<uint16_t>(ctr.a + 0x1111);
          return v;
        }
        return cell.value & 0xFF;
      default:  // plain, and the non-blending translucent, 50% and alpha records
        return cell.value & 0xFF;
    }
  }
  if (q.dstBytes >= 3) return cell.value;
  switch (q.record) {
    case QDLBLIT_RECORD_PLAIN:
      return src16();
    case QDLBLIT_RECORD_KEY:
      if (idx16) return (cell.value & 0xFF) == (q.colour & 0xFF) ? old : src16();
      return (cell.value & 0xFFFF) == (q.colour & 0xFFFF) ? old : src16();
    case QDLBLIT_RECORD_SOLID:
      return q.colour & 0xFFFF;
    case QDLBLIT_RECORD_PATTERN: {
      uint32_t v;
      if (fillRun) {
        v = ctr.b;
        if (!idx16) ctr.b = static_cast<uint16_t>(ctr.b + 0x1111);
      } else {
        v = ctr.a;
        ctr.a = static_cast<uint16_t>(ctr.a + 0x1111);
      }
      return v;
    }
    case QDLBLIT_RECORD_TRANS:
      if (!fillRun && q.level == 31) return src16();
      return RefTrans(src16(), old, q.level, q.is555);
    case QDLBLIT_RECORD_HALF:
      return RefHalf(src16(), old, q.is555);
    case QDLBLIT_RECORD_ALPHA: {
      const uint32_t cov = (src16() >> (q.is555 ? 10 : 11)) & 31u;
      if (!fillRun && cov == 0) return old;
      if (!fillRun && cov == 31) return q.colour & 0xFFFF;
      return RefTrans(q.colour & 0xFFFF, old, cov, q.is555);
    }
  }
  return old;
}

// Draws a grid into a model of the destination (the parent's pixels, as a
// vector of values W x H): each cell to its place by the geometry rules.
// (viewX, viewY) wrap the view's coordinates around the parent when `wrap`.
inline void RefDraw(const Request& q, const Grid& g, int32_t x, int32_t y, int32_t W, int32_t H,
                    bool wrap, int32_t viewX, int32_t viewY, std::vector<uint32_t>& model,
                    Counters& ctr) {
  const int32_t w = g.width, h = g.height;
  if (x >= W || y >= H || static_cast<int64_t>(x) + w < 0 || static_cast<int64_t>(y) + h < 0) return;
  // Visible range of source columns and rows, as the requested mirror shows them.
  auto range = [](int32_t pos, int32_t len, int32_t lim, bool mirror, int32_t* first, int32_t* count,
                  int32_t* dstStart) {
    int32_t lo = pos < 0 ? 0 : pos;
    int32_t hi = pos + len > lim ? lim : pos + len;
    *count = hi - lo > 0 ? hi - lo : 0;
    *dstStart = lo;
    // destination column d shows source i = d - pos (or pos + len - 1 - d mirrored)
    *first = mirror ? pos + len - 1 - (hi - 1) : lo - pos;
  };
  const bool pattern = q.record == QDLBLIT_RECORD_PATTERN;
  int32_t fx, cw, dx, fy, ch, dy;
  range(x, w, W, q.mirrorX, &fx, &cw, &dx);
  range(y, h, H, q.mirrorY, &fy, &ch, &dy);
  const bool drawMirrorX = q.mirrorX && !pattern;
  const bool drawMirrorY = q.mirrorY && !pattern;
  // Source stream order: rows top to bottom, positions left to right.
  for (int32_t j = fy; j < fy + ch; ++j) {
    for (int32_t i = fx; i < fx + cw; ++i) {
      const Cell& cell = g.at(i, j);
      if (!cell.opaque) continue;
      int32_t col = drawMirrorX ? dx + cw - 1 - (i - fx) : dx + (i - fx);
      int32_t row = drawMirrorY ? dy + ch - 1 - (j - fy) : dy + (j - fy);
      if (wrap) {
        col = static_cast<int32_t>(((static_cast<int64_t>(col) + viewX) % W + W) % W);
        row = static_cast<int32_t>(((static_cast<int64_t>(row) + viewY) % H + H) % H);
      }
      uint32_t& px = model[static_cast<size_t>(row) * W + col];
      px = RefPixel(q, cell, q.encoding == QDLENC_RLE_FILL, px, ctr);
    }
  }
}

}  // namespace blittest
