// Drawing primitives: software drawing through a lock, with the 16-bit
// blend flags (mix, darken, brighten). Every shape is clipped to the
// surface (a view's own area); lines are always clipped, whatever their
// flags.
#include "display/qdl_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "display/qdl.h"

namespace {

// The pixels of one operation: the outermost surface, the view's offset and
// the area the coordinates may address.
struct DrawTarget {
  QDLSurface* pBase = nullptr;
  int32_t ox = 0, oy = 0;
  int32_t width = 0, height = 0;
  bool is565 = true;
  bool lockedHere = false;
};

bool Is16Bit(const QDLSurface* pSurface) {
  const uint32_t cls = pSurface->formatCode & QDLFORMAT_CLASS_MASK;
  return pSurface->bytesPerPixel == 2 && (cls == QDLFORMAT_RGB16 || cls == QDLFORMAT_RGB15);
}

// 3 for a null surface, 4 for one without pixels or not 16-bit 5-6-5 /
// 5-5-5: the shapes built from lines and halves check this once up front.
uint32_t Check16(const QDLSurface* pSurface) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pSurface->flags & QDLSURF_NO_PIXELS) return QDL_ERR_INVALID;
  const QDLSurface* pBase =
      (pSurface->flags & QDLSURF_VIEW) && pSurface->parent != nullptr ? pSurface->parent : pSurface;
  if ((pBase->flags & QDLSURF_NO_PIXELS) || !Is16Bit(pBase)) return QDL_ERR_INVALID;
  return QDL_OK;
}

// Resolves the view, checks the pixel format when 16 bits are required and
// locks the outermost surface unless it is locked already.
uint32_t Begin(QDLSurface* pSurface, bool need16, DrawTarget* pT) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pSurface->flags & QDLSURF_NO_PIXELS) return QDL_ERR_INVALID;
  QDLSurface* pBase = pSurface;
  pT->ox = pT->oy = 0;
  if ((pSurface->flags & QDLSURF_VIEW) && pSurface->parent != nullptr) {
    pBase = pSurface->parent;
    pT->ox = pSurface->viewX;
    pT->oy = pSurface->viewY;
  }
  if (need16 && !Is16Bit(pBase)) return QDL_ERR_INVALID;
  pT->pBase = pBase;
  pT->width = pSurface->width;
  pT->height = pSurface->height;
  pT->is565 = (pBase->formatCode & QDLFORMAT_CLASS_MASK) == QDLFORMAT_RGB16;
  pT->lockedHere = false;
  if (!pBase->locked || pBase->pixels == nullptr) {
    if (QDLSurfaceLock(pBase) != 0 || pBase->pixels == nullptr) return QDL_ERR_GENERAL;
    pT->lockedHere = true;
  }
  return QDL_OK;
}

void End(DrawTarget* pT) {
  if (pT->lockedHere) QDLSurfaceUnlock(pT->pBase);
  pT->lockedHere = false;
}

uint16_t* Pixel16(const DrawTarget& t, int32_t x, int32_t y) {
  return reinterpret_cast<uint16_t*>(t.pBase->pixels + static_cast<intptr_t>(y + t.oy) * t.pBase->pitch) +
         (x + t.ox);
}

// The blend of the flags table for one 16-bit pixel.
uint16_t Blend(uint16_t p, uint32_t c, uint32_t flags, bool is565) {
  const uint32_t gBits = is565 ? 6 : 5;
  const uint32_t rShift = is565 ? 11 : 10;
  const uint32_t gMax = (1u << gBits) - 1;
  if (flags & QDLDRAW_MIX) {
    const uint32_t r = (((p >> rShift) & 31) + ((c >> rShift) & 31)) / 2;
    const uint32_t g = (((p >> 5) & gMax) + ((c >> 5) & gMax)) / 2;
    const uint32_t b = ((p & 31) + (c & 31)) / 2;
    return static_cast<uint16_t>((r << rShift) | (g << 5) | b);
  }
  if (flags & QDLDRAW_DARKEN) return static_cast<uint16_t>((p >> 1) & (is565 ? 0x7BEF : 15855));
  if (flags & QDLDRAW_BRIGHTEN) {
    const uint32_t r = std::min<uint32_t>(((p >> rShift) & 31) * 2, 31);
    const uint32_t g = std::min<uint32_t>(((p >> 5) & gMax) * 2, gMax);
    const uint32_t b = std::min<uint32_t>((p & 31) * 2, 31);
    const uint32_t v = (r << rShift) | (g << 5) | b;
    return static_cast<uint16_t>(v & (is565 ? 0xF7DE : 0x7BDE));
  }
  return static_cast<uint16_t>(c);
}

// Spans in surface coordinates already clamped to the surface.
void RawSpanH(const DrawTarget& t, int32_t x1, int32_t x2, int32_t y, uint32_t colour, uint32_t flags) {
  uint16_t* p = Pixel16(t, x1, y);
  for (int32_t x = x1; x <= x2; ++x, ++p) *p = Blend(*p, colour, flags, t.is565);
}

void RawSpanV(const DrawTarget& t, int32_t x, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags) {
  for (int32_t y = y1; y <= y2; ++y) {
    uint16_t* p = Pixel16(t, x, y);
    *p = Blend(*p, colour, flags, t.is565);
  }
}

// Clips and draws a horizontal span; 4 when it lies wholly outside.
uint32_t ClipSpanH(const DrawTarget& t, int32_t x1, int32_t x2, int32_t y, uint32_t colour, uint32_t flags) {
  if (!(flags & QDLDRAW_ORDERED) && x1 > x2) std::swap(x1, x2);
  if (y < 0 || y >= t.height || x2 < 0 || x1 >= t.width) return QDL_ERR_INVALID;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, t.width - 1);
  if (x2 - x1 + 1 < 1) return QDL_OK;
  RawSpanH(t, x1, x2, y, colour, flags);
  return QDL_OK;
}

uint32_t ClipSpanV(const DrawTarget& t, int32_t x, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags) {
  if (!(flags & QDLDRAW_ORDERED) && y1 > y2) std::swap(y1, y2);
  if (x < 0 || x >= t.width || y2 < 0 || y1 >= t.height) return QDL_ERR_INVALID;
  y1 = std::max(y1, 0);
  y2 = std::min(y2, t.height - 1);
  if (y2 - y1 + 1 < 1) return QDL_OK;
  RawSpanV(t, x, y1, y2, colour, flags);
  return QDL_OK;
}

void PutRawPixel(const DrawTarget& t, int32_t x, int32_t y, uint32_t value) {
  QDLSurface* b = t.pBase;
  uint8_t* p = b->pixels + static_cast<intptr_t>(y + t.oy) * b->pitch + static_cast<intptr_t>(x + t.ox) * b->bytesPerPixel;
  switch (b->bytesPerPixel) {
    case 1: p[0] = static_cast<uint8_t>(value); break;
    case 2: *reinterpret_cast<uint16_t*>(p) = static_cast<uint16_t>(value); break;
    case 3:
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value >> 16);
      break;
    default: *reinterpret_cast<uint32_t*>(p) = value; break;
  }
}

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Column intervals of a shape before drawing: every column's intervals are
// merged so that no pixel is blended twice.
struct ColumnSpans {
  int32_t x0 = 0;
  std::vector<std::vector<std::pair<int32_t, int32_t>>> cols;
  void Add(int32_t x, int32_t a, int32_t b) {
    if (x < x0 || x >= x0 + static_cast<int32_t>(cols.size())) return;
    if (a > b) std::swap(a, b);
    cols[static_cast<size_t>(x - x0)].emplace_back(a, b);
  }
  void Draw(const DrawTarget& t, uint32_t colour, uint32_t flags) {
    for (size_t i = 0; i < cols.size(); ++i) {
      auto& v = cols[i];
      if (v.empty()) continue;
      std::sort(v.begin(), v.end());
      int32_t lo = v[0].first, hi = v[0].second;
      for (size_t k = 1; k <= v.size(); ++k) {
        if (k < v.size() && static_cast<int64_t>(v[k].first) <= static_cast<int64_t>(hi) + 1) {
          hi = std::max(hi, v[k].second);
          continue;
        }
        ClipSpanV(t, x0 + static_cast<int32_t>(i), lo, hi, colour, flags | QDLDRAW_ORDERED);
        if (k < v.size()) {
          lo = v[k].first;
          hi = v[k].second;
        }
      }
    }
  }
};

// y of an edge at column x, rounded to the nearest row.
int32_t EdgeY(int64_t xa, int64_t ya, int64_t xb, int64_t yb, int64_t x) {
  const int64_t den = xb - xa;
  return static_cast<int32_t>(ya + FloorDiv(2 * (yb - ya) * (x - xa) + den, 2 * den));
}

// The pixels of an edge, column by column, inside [0, width).
void EdgePieces(ColumnSpans* pCols, QDLPoint a, QDLPoint b, int32_t width) {
  if (a.x > b.x) std::swap(a, b);
  if (a.x == b.x) {
    pCols->Add(a.x, a.y, b.y);
    return;
  }
  const int32_t from = std::max(a.x, 0), to = std::min(b.x, width - 1);
  for (int32_t x = from; x <= to; ++x) {
    const int32_t y0 = EdgeY(a.x, a.y, b.x, b.y, x);
    int32_t y1 = x < b.x ? EdgeY(a.x, a.y, b.x, b.y, x + 1) : y0;
    if (y1 > y0) --y1;
    else if (y1 < y0) ++y1;
    pCols->Add(x, y0, y1);
  }
}

// Fills and/or outlines a polygon by columns (even-odd rule for the fill).
uint32_t DrawPolygonColumns(QDLSurface* pSurface, const QDLPoint* pts, int32_t n, uint32_t colour, uint32_t flags) {
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  int32_t minX = pts[0].x, maxX = pts[0].x;
  for (int32_t i = 1; i < n; ++i) {
    minX = std::min(minX, pts[i].x);
    maxX = std::max(maxX, pts[i].x);
  }
  if (maxX < 0 || minX >= t.width) {
    End(&t);
    return QDL_ERR_INVALID;
  }
  ColumnSpans cols;
  cols.x0 = std::max(minX, 0);
  cols.cols.resize(static_cast<size_t>(std::min(maxX, t.width - 1) - cols.x0 + 1));
  for (int32_t i = 0; i < n; ++i) EdgePieces(&cols, pts[i], pts[(i + 1) % n], t.width);
  if (flags & QDLDRAW_FILLED) {
    std::vector<int32_t> ys;
    for (int32_t x = cols.x0; x < cols.x0 + static_cast<int32_t>(cols.cols.size()); ++x) {
      ys.clear();
      for (int32_t i = 0; i < n; ++i) {
        QDLPoint a = pts[i], b = pts[(i + 1) % n];
        if (a.x == b.x) continue;
        if (a.x > b.x) std::swap(a, b);
        if (x < a.x || x >= b.x) continue;
        ys.push_back(EdgeY(a.x, a.y, b.x, b.y, x));
      }
      std::sort(ys.begin(), ys.end());
      for (size_t k = 0; k + 1 < ys.size(); k += 2) cols.Add(x, ys[k], ys[k + 1]);
    }
  }
  cols.Draw(t, colour, flags);
  End(&t);
  return QDL_OK;
}

// A filled triangle from the apex to its base row at apex y + height (the
// half width growing linearly to halfWidth there); the base row can be left
// out when another half draws it.
uint32_t DiamondHalfRows(QDLSurface* pSurface, int32_t apexX, int32_t apexY, int32_t halfWidth, int32_t height,
                         uint32_t colour, uint32_t flags, bool skipBase) {
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  const int32_t n = std::abs(height);
  const int32_t dir = height < 0 ? -1 : 1;
  const int32_t w = std::abs(halfWidth);
  for (int32_t k = 0; k <= n - (skipBase ? 1 : 0); ++k) {
    const int32_t y = apexY + dir * k;
    if (y < 0 || y >= t.height) continue;
    const int32_t hw = n == 0 ? w : static_cast<int32_t>((2 * static_cast<int64_t>(w) * k + n) / (2 * static_cast<int64_t>(n)));
    ClipSpanH(t, apexX - hw, apexX + hw, y, colour, (flags & ~QDLDRAW_FILLED) | QDLDRAW_ORDERED);
  }
  End(&t);
  return QDL_OK;
}

}  // namespace

uint32_t QDLFillRect(QDLSurface* pSurface, QDLRectI16* pRect, uint32_t colour, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pSurface->flags & QDLSURF_NO_PIXELS) return QDL_OK;
  int32_t x = 0, y = 0, w = pSurface->width, h = pSurface->height;
  if (pRect != nullptr) {
    // The caller's rectangle is clipped in place.
    if (pRect->x < 0) {
      pRect->width = static_cast<int16_t>(pRect->width + pRect->x);
      pRect->x = 0;
    }
    if (pRect->x >= pSurface->width) return QDL_ERR_INVALID;
    if (pRect->x + pRect->width > pSurface->width) pRect->width = static_cast<int16_t>(pSurface->width - pRect->x);
    if (pRect->y < 0) {
      pRect->height = static_cast<int16_t>(pRect->height + pRect->y);
      pRect->y = 0;
    }
    if (pRect->y >= pSurface->height) return QDL_ERR_INVALID;
    if (pRect->y + pRect->height > pSurface->height)
      pRect->height = static_cast<int16_t>(pSurface->height - pRect->y);
    x = pRect->x;
    y = pRect->y;
    w = pRect->width;
    h = pRect->height;
  }
  const bool blend = (flags & (QDLDRAW_MIX | QDLDRAW_DARKEN | QDLDRAW_BRIGHTEN)) != 0;
  QDLSurface* pBase = (pSurface->flags & QDLSURF_VIEW) && pSurface->parent ? pSurface->parent : pSurface;
  if (w <= 0 || h <= 0) {
    // The hardware fill refuses an empty rectangle; the software paths do nothing.
    const bool hardware = !blend && !(flags & QDLDRAW_SOFTWARE) && !pBase->locked && (pBase->flags & QDLSURF_VIDEO);
    return hardware ? QDL_ERR_INVALID : QDL_OK;
  }
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, blend, &t);
  if (rc != QDL_OK) return rc;
  if (blend) {
    const uint16_t m = t.is565 ? 0x7BEF : 0xBDEF;
    for (int32_t j = y; j < y + h; ++j) {
      uint16_t* p = Pixel16(t, x, j);
      for (int32_t i = 0; i < w; ++i, ++p) {
        if (flags & QDLDRAW_MIX)
          *p = static_cast<uint16_t>(((*p >> 1) & m) + ((colour >> 1) & m));
        else
          *p = Blend(*p, colour, flags, t.is565);
      }
    }
  } else if (t.pBase->bytesPerPixel == 2) {
    // Two pixels per 32-bit write where the row allows it.
    const uint32_t pair = (colour & 0xFFFF) | (colour << 16);
    for (int32_t j = y; j < y + h; ++j) {
      uint16_t* p = Pixel16(t, x, j);
      int32_t n = w;
      if ((reinterpret_cast<uintptr_t>(p) & 3) != 0 && n > 0) {
        *p++ = static_cast<uint16_t>(colour);
        --n;
      }
      uint32_t* q = reinterpret_cast<uint32_t*>(p);
      for (; n >= 2; n -= 2) *q++ = pair;
      if (n) *reinterpret_cast<uint16_t*>(q) = static_cast<uint16_t>(colour);
    }
  } else {
    for (int32_t j = y; j < y + h; ++j)
      for (int32_t i = x; i < x + w; ++i) PutRawPixel(t, i, j, colour);
  }
  End(&t);
  return QDL_OK;
}

uint32_t QDLPutPixel(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t colour, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (x < 0 || y < 0 || x >= pSurface->width || y >= pSurface->height) return QDL_ERR_INVALID;
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  uint16_t* p = Pixel16(t, x, y);
  *p = Blend(*p, colour, flags, t.is565);
  End(&t);
  return QDL_OK;
}

uint32_t QDLGetPixel(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t* pPixel) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (x < 0 || y < 0 || x >= pSurface->width || y >= pSurface->height) return QDL_ERR_INVALID;
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, false, &t);
  if (rc != QDL_OK) return rc == QDL_ERR_INVALID ? QDL_ERR_INVALID : QDL_ERR_FAILED;
  QDLSurface* b = t.pBase;
  const uint8_t* p = b->pixels + static_cast<intptr_t>(y + t.oy) * b->pitch +
                     static_cast<intptr_t>(x + t.ox) * b->bytesPerPixel;
  uint32_t result = QDL_OK;
  // 8 and 16 bits are read from any surface; 24 and 32 bits only from
  // memory surfaces.
  const bool memory = (b->flags & QDLSURF_MEMORY) != 0;
  switch (b->bytesPerPixel) {
    case 1: *pPixel = p[0]; break;
    case 2: *pPixel = *reinterpret_cast<const uint16_t*>(p); break;
    case 3:
      if (memory) *pPixel = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
      else result = QDL_ERR_FAILED;
      break;
    case 4:
      if (memory) *pPixel = *reinterpret_cast<const uint32_t*>(p);
      else result = QDL_ERR_FAILED;
      break;
    default: result = QDL_ERR_FAILED; break;
  }
  End(&t);
  return result;
}

uint32_t QDLGetPixelRGB(QDLSurface* pSurface, int32_t x, int32_t y, uint8_t* pR, uint8_t* pG, uint8_t* pB) {
  uint32_t pixel = 0;
  const uint32_t rc = QDLGetPixel(pSurface, x, y, &pixel);
  if (rc != QDL_OK) return rc;
  QDLSurfacePixelToRGB(pSurface, pixel, pR, pG, pB);
  return QDL_OK;
}

uint32_t QDLLine(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour,
                 uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  const int64_t w = pSurface->width, h = pSurface->height;
  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  // Always clipped: both ends off one side draws nothing.
  if ((ax < 0 && bx < 0) || (ax >= w && bx >= w) || (ay < 0 && by < 0) || (ay >= h && by >= h))
    return QDL_ERR_INVALID;
  // Each end outside moves along the line onto the edge, first in x, then in y.
  auto clipEnd = [&](int64_t& px, int64_t& py, int64_t qx, int64_t qy) -> bool {
    if (px < 0 || px > w - 1) {
      const int64_t ex = px < 0 ? 0 : w - 1;
      if (qx == px) return false;
      py = py + (qy - py) * (ex - px) / (qx - px);
      px = ex;
    }
    if (py < 0 || py > h - 1) {
      const int64_t ey = py < 0 ? 0 : h - 1;
      if (qy == py) return false;
      px = px + (qx - px) * (ey - py) / (qy - py);
      py = ey;
    }
    return px >= 0 && px < w && py >= 0 && py < h;
  };
  const int64_t oax = ax, oay = ay;
  if (!clipEnd(ax, ay, bx, by)) return QDL_OK;
  if (!clipEnd(bx, by, oax, oay)) return QDL_OK;

  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  const int32_t dx = static_cast<int32_t>(bx - ax), dy = static_cast<int32_t>(by - ay);
  const int32_t adx = std::abs(dx), ady = std::abs(dy);
  const bool yMajor = ady >= adx;
  const int32_t major = yMajor ? ady : adx, minor = yMajor ? adx : ady;
  const int32_t sMajor = (yMajor ? dy : dx) < 0 ? -1 : 1;
  const int32_t sMinor = (yMajor ? dx : dy) < 0 ? -1 : 1;
  int32_t px = static_cast<int32_t>(ax), py = static_cast<int32_t>(ay);
  int32_t err = 2 * minor - major;
  *Pixel16(t, px, py) = colour;
  for (int32_t i = 1; i <= major; ++i) {
    if (err >= 0) {
      if (yMajor) px += sMinor;
      else py += sMinor;
      err -= 2 * major;
    }
    if (yMajor) py += sMajor;
    else px += sMajor;
    err += 2 * minor;
    if ((flags & QDLDRAW_DOTTED) && (i & 1)) continue;
    if (px >= 0 && py >= 0 && px < t.width && py < t.height) *Pixel16(t, px, py) = colour;
  }
  End(&t);
  return QDL_OK;
}

uint32_t QDLLineTo(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  const int32_t fromX = pSurface->penX, fromY = pSurface->penY;
  pSurface->penX = x;
  pSurface->penY = y;
  return QDLLine(pSurface, fromX, fromY, x, y, static_cast<uint16_t>(pSurface->penColour), flags);
}

uint32_t QDLLineBy(QDLSurface* pSurface, int32_t dx, int32_t dy, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  return QDLLineTo(pSurface, pSurface->penX + dx, pSurface->penY + dy, flags);
}

uint32_t QDLSpanH(QDLSurface* pSurface, int32_t x1, int32_t x2, int32_t y, uint32_t colour, uint32_t flags) {
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  const uint32_t result = ClipSpanH(t, x1, x2, y, colour, flags);
  End(&t);
  return result;
}

uint32_t QDLSpanV(QDLSurface* pSurface, int32_t x, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags) {
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  const uint32_t result = ClipSpanV(t, x, y1, y2, colour, flags);
  End(&t);
  return result;
}

uint32_t QDLSpanHPair(QDLSurface* pSurface, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags,
                      const QDLSpanExtent* pExtent) {
  if (pExtent == nullptr) return QDL_ERR_INVALID;
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  ClipSpanH(t, pExtent->first, pExtent->last, y1, colour, flags);
  if (pExtent->bothSpans && y2 != y1) ClipSpanH(t, pExtent->first, pExtent->last, y2, colour, flags);
  End(&t);
  return QDL_OK;
}

uint32_t QDLSpanVPair(QDLSurface* pSurface, int32_t x1, int32_t x2, uint32_t colour, uint32_t flags,
                      const QDLSpanExtent* pExtent) {
  if (pExtent == nullptr) return QDL_ERR_INVALID;
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  ClipSpanV(t, x1, pExtent->first, pExtent->last, colour, flags);
  if (pExtent->bothSpans && x2 != x1) ClipSpanV(t, x2, pExtent->first, pExtent->last, colour, flags);
  End(&t);
  return QDL_OK;
}

uint32_t QDLRect(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                 uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (!(flags & QDLDRAW_ORDERED)) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
  }
  if (flags & QDLDRAW_FILLED) {
    // Clamp to the i16 rectangle of the fill first.
    const int64_t cx1 = std::max<int64_t>(x1, -32768), cy1 = std::max<int64_t>(y1, -32768);
    const int64_t cx2 = std::min<int64_t>(x2, 32767), cy2 = std::min<int64_t>(y2, 32767);
    if (cx2 < cx1 || cy2 < cy1) return QDL_ERR_INVALID;
    QDLRectI16 r{static_cast<int16_t>(cx1), static_cast<int16_t>(cy1),
                 static_cast<int16_t>(std::min<int64_t>(cx2 - cx1 + 1, 32767)),
                 static_cast<int16_t>(std::min<int64_t>(cy2 - cy1 + 1, 32767))};
    return QDLFillRect(pSurface, &r, colour, flags | QDLDRAW_ORDERED);
  }
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  const uint32_t f = flags | QDLDRAW_ORDERED;
  ClipSpanH(t, x1, x2, y1, colour, f);
  if (y2 != y1) ClipSpanH(t, x1, x2, y2, colour, f);
  if (y2 - y1 > 1) {
    ClipSpanV(t, x1, y1 + 1, y2 - 1, colour, f);
    if (x2 != x1) ClipSpanV(t, x2, y1 + 1, y2 - 1, colour, f);
  }
  End(&t);
  return QDL_OK;
}

uint32_t QDLRectWH(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour,
                   uint32_t flags) {
  return QDLRect(pSurface, x, y, x + width - 1, y + height - 1, colour, flags);
}

uint32_t QDLEllipse(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                    uint32_t flags) {
  DrawTarget t;
  const uint32_t rc = Begin(pSurface, true, &t);
  if (rc != QDL_OK) return rc;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int32_t rx = static_cast<int32_t>((static_cast<int64_t>(x2) - x1) / 2);
  const int32_t ry = static_cast<int32_t>((static_cast<int64_t>(y2) - y1) / 2);
  const int32_t cx = x1 + rx, cy = y1 + ry;
  // Rows when the ellipse is wider than tall, else columns with the radii exchanged.
  const bool byRows = rx >= ry;
  const int32_t rMajor = byRows ? rx : ry, rMinor = byRows ? ry : rx;
  const int32_t cMajor = byRows ? cx : cy, cMinor = byRows ? cy : cx;
  const uint32_t f = (flags & ~QDLDRAW_FILLED) | QDLDRAW_ORDERED;
  auto span = [&](int32_t a, int32_t b, int32_t at) {
    if (a > b) return;
    if (byRows) ClipSpanH(t, a, b, at, colour, f);
    else ClipSpanV(t, at, a, b, colour, f);
  };
  if (rMinor == 0) {
    // A zero radius draws a span (or a single pixel).
    span(cMajor - rMajor, cMajor + rMajor, cMinor);
    End(&t);
    return QDL_OK;
  }
  std::vector<int32_t> half(static_cast<size_t>(rMinor) + 1);
  double step = 0.0;
  for (int32_t j = 0; j <= rMinor; ++j) {
    const double s = std::min(step, 1.0);  // the accumulated steps may pass 1
    half[static_cast<size_t>(j)] = static_cast<int32_t>(rMajor * std::sin(std::acos(s)));
    step += 1.0 / rMinor;
  }
  for (int32_t j = 0; j <= rMinor; ++j) {
    const int32_t h = half[static_cast<size_t>(j)];
    if ((flags & QDLDRAW_FILLED) || j == rMinor) {
      span(cMajor - h, cMajor + h, cMinor - j);
      if (j > 0) span(cMajor - h, cMajor + h, cMinor + j);
      continue;
    }
    // Outline: only what reaches beyond the next row outwards.
    const int32_t next = half[static_cast<size_t>(j) + 1];
    const int32_t inner = next < h ? next + 1 : h;
    span(cMajor - h, cMajor - inner, cMinor - j);
    span(cMajor + inner, cMajor + h, cMinor - j);
    if (j > 0) {
      span(cMajor - h, cMajor - inner, cMinor + j);
      span(cMajor + inner, cMajor + h, cMinor + j);
    }
  }
  End(&t);
  return QDL_OK;
}

uint32_t QDLEllipseWH(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width, int32_t height,
                      uint32_t colour, uint32_t flags) {
  return QDLEllipse(pSurface, x, y, x + width - 1, y + height - 1, colour, flags);
}

uint32_t QDLCircle(QDLSurface* pSurface, int32_t cx, int32_t cy, int32_t radius, uint32_t colour, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (radius < 0) return QDL_ERR_INVALID;
  if (radius == 0) return QDLPutPixel(pSurface, cx, cy, colour, flags);
  return QDLEllipse(pSurface, cx - radius, cy - radius, cx + radius - 1, cy + radius - 1, colour, flags);
}

uint32_t QDLTriangle(QDLSurface* pSurface, const QDLPoint* pP1, const QDLPoint* pP2, const QDLPoint* pP3,
                     uint32_t colour, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pP1 == nullptr || pP2 == nullptr || pP3 == nullptr) return QDL_ERR_INVALID;
  const QDLPoint pts[3] = {*pP1, *pP2, *pP3};
  return DrawPolygonColumns(pSurface, pts, 3, colour, flags);
}

uint32_t QDLQuad(QDLSurface* pSurface, const QDLPoint* pP1, const QDLPoint* pP2, const QDLPoint* pP3,
                 const QDLPoint* pP4, uint32_t colour, uint32_t flags) {
  if (const uint32_t rc = Check16(pSurface); rc != QDL_OK) return rc;
  if (pP1 == nullptr || pP2 == nullptr || pP3 == nullptr || pP4 == nullptr) return QDL_ERR_INVALID;
  const QDLPoint pts[4] = {*pP1, *pP2, *pP3, *pP4};
  if (flags & QDLDRAW_FILLED) return DrawPolygonColumns(pSurface, pts, 4, colour, flags);
  for (int i = 0; i < 4; ++i)
    QDLLine(pSurface, pts[i].x, pts[i].y, pts[(i + 1) % 4].x, pts[(i + 1) % 4].y, static_cast<uint16_t>(colour),
            flags);
  return QDL_OK;
}

uint32_t QDLPolygon(QDLSurface* pSurface, const QDLPoint* pPoints, int32_t count, uint32_t colour, uint32_t flags) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pPoints == nullptr || count < 3 || count > 16) return QDL_ERR_INVALID;
  if (const uint32_t rc = Check16(pSurface); rc != QDL_OK) return rc;
  if (flags & QDLDRAW_FILLED) return DrawPolygonColumns(pSurface, pPoints, count, colour, flags);
  for (int32_t i = 0; i < count; ++i) {
    const QDLPoint& a = pPoints[i];
    const QDLPoint& b = pPoints[(i + 1) % count];
    QDLLine(pSurface, a.x, a.y, b.x, b.y, static_cast<uint16_t>(colour), flags);
  }
  return QDL_OK;
}

uint32_t QDLDiamond(QDLSurface* pSurface, int32_t cx, int32_t cy, int32_t halfWidth, int32_t halfHeight,
                    uint32_t colour, uint32_t flags) {
  if (const uint32_t rc = Check16(pSurface); rc != QDL_OK) return rc;
  if (flags & QDLDRAW_FILLED) {
    // The two halves share the centre row: the lower one leaves it out, so a
    // blended diamond darkens (or mixes) every pixel once.
    DiamondHalfRows(pSurface, cx, cy - halfHeight, halfWidth, halfHeight, colour, flags, false);
    DiamondHalfRows(pSurface, cx, cy + halfHeight, halfWidth, -halfHeight, colour, flags, true);
    return QDL_OK;
  }
  const uint16_t c = static_cast<uint16_t>(colour);
  QDLLine(pSurface, cx, cy - halfHeight, cx + halfWidth, cy, c, flags);
  QDLLine(pSurface, cx + halfWidth, cy, cx, cy + halfHeight, c, flags);
  QDLLine(pSurface, cx, cy + halfHeight, cx - halfWidth, cy, c, flags);
  QDLLine(pSurface, cx - halfWidth, cy, cx, cy - halfHeight, c, flags);
  return QDL_OK;
}

uint32_t QDLDiamondHalf(QDLSurface* pSurface, int32_t apexX, int32_t apexY, int32_t halfWidth, int32_t height,
                        uint32_t colour, uint32_t flags) {
  return DiamondHalfRows(pSurface, apexX, apexY, halfWidth, height, colour, flags, false);
}
