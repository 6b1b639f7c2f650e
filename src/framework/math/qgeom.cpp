#include "framework/math/qgeom.h"

#include "framework/math/g_fixpt.h"

namespace {

// Offsets and edges are formed in 64 bits, so that no coordinate pair can
// overflow.
bool WithinSpan(int32_t p, int32_t low, int32_t span) {
  const int64_t offset = static_cast<int64_t>(p) - low;
  return offset >= 0 && offset <= span;
}

int32_t Clamp(int32_t p, int32_t low, int32_t span) {
  if (p < low) {
    return low;
  }
  const int64_t high = static_cast<int64_t>(low) + span;
  if (p > high) {
    return static_cast<int32_t>(high);
  }
  return p;
}

// Overlap of [lo, lo + lw] and [hi, hi + hw] on one axis; false when apart.
bool Overlap(int32_t ax, int32_t aw, int32_t bx, int32_t bw, int32_t* x, int32_t* w) {
  const bool aLow = !(ax > bx);
  const int64_t loX = aLow ? ax : bx;
  const int64_t loEnd = loX + (aLow ? aw : bw);
  const int64_t hiX = aLow ? bx : ax;
  const int64_t hiW = aLow ? bw : aw;
  if (loEnd < hiX) {
    return false;
  }
  *x = static_cast<int32_t>(hiX);
  *w = static_cast<int32_t>(hiX + hiW < loEnd ? hiW : loEnd - hiX);
  return true;
}

int32_t Mirror(int32_t c, int32_t v) {
  return static_cast<int32_t>(2u * static_cast<uint32_t>(c) - static_cast<uint32_t>(v));
}

// Distance over n coordinate differences, each and the sum checked against the
// 32-bit range.
int32_t Distance(int32_t* out, const int64_t* differences, int n) {
  uint64_t sum = 0;
  bool allZero = true;
  for (int i = 0; i < n; ++i) {
    if (differences[i] == 0) {
      continue;
    }
    allZero = false;
    const uint64_t magnitude = static_cast<uint64_t>(differences[i] < 0 ? -differences[i] : differences[i]);
    const uint64_t square = magnitude * magnitude;  // below 2^64: |difference| < 2^32
    if (square > static_cast<uint64_t>(INT32_MAX)) {
      return 7;
    }
    sum += square;
  }
  if (allZero) {
    *out = 0;
    return 0;
  }
  if (sum > static_cast<uint64_t>(INT32_MAX)) {
    *out = static_cast<int32_t>(static_cast<uint32_t>(sum));
    return 7;
  }
  *out = QMathISqrt(static_cast<int32_t>(sum));
  return 0;
}

}  // namespace

int32_t QMathRectPointInside(const QMathPoint* point, const QMathRect* rect) {
  return QMathPointInRectXY(point->x, point->y, rect->x, rect->y, rect->w, rect->h);
}

int32_t QMathPointInRectXY(int32_t px, int32_t py, int32_t left, int32_t top, int32_t w, int32_t h) {
  return (WithinSpan(px, left, w) && WithinSpan(py, top, h)) ? 1 : 0;
}

QMathPoint* QMathRectClampPoint(QMathPoint* out, const QMathRect* rect, const QMathPoint* point) {
  const QMathPoint result = {Clamp(point->x, rect->x, rect->w), Clamp(point->y, rect->y, rect->h)};
  *out = result;
  return out;
}

int32_t QMathRectIntersect(QMathRect* out, const QMathRect* a, const QMathRect* b) {
  QMathRect result;
  if (!Overlap(a->x, a->w, b->x, b->w, &result.x, &result.w)) {
    return 0;
  }
  if (!Overlap(a->y, a->h, b->y, b->h, &result.y, &result.h)) {
    return 0;
  }
  *out = result;
  return 1;
}

QMathPoint* QMathPointMirrorX(QMathPoint* out, const QMathPoint* point, int32_t c) {
  *out = QMathPoint{Mirror(c, point->x), point->y};
  return out;
}

QMathPoint* QMathPointMirrorY(QMathPoint* out, const QMathPoint* point, int32_t c) {
  *out = QMathPoint{point->x, Mirror(c, point->y)};
  return out;
}

QMathRect* QMathRectMirrorX(const QMathRect* rect, QMathRect* out, int32_t c) {
  const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(Mirror(c, rect->x)) - static_cast<uint32_t>(rect->w));
  *out = QMathRect{x, rect->y, rect->w, rect->h};
  return out;
}

QMathRect* QMathRectMirrorY(const QMathRect* rect, QMathRect* out, int32_t c) {
  const int32_t y = static_cast<int32_t>(static_cast<uint32_t>(Mirror(c, rect->y)) - static_cast<uint32_t>(rect->h));
  *out = QMathRect{rect->x, y, rect->w, rect->h};
  return out;
}

int32_t QMathPointDistance2D(int32_t* out, const QMathPoint* a, const QMathPoint* b) {
  const int64_t d[2] = {static_cast<int64_t>(a->x) - b->x, static_cast<int64_t>(a->y) - b->y};
  return Distance(out, d, 2);
}

int32_t QMathPointDistance3D(int32_t* out, const QMathPoint3D* a, const QMathPoint3D* b) {
  const int64_t d[3] = {static_cast<int64_t>(a->x) - b->x, static_cast<int64_t>(a->y) - b->y,
                        static_cast<int64_t>(a->z) - b->z};
  return Distance(out, d, 3);
}

int32_t QMathPointDistance2DXY(int32_t* out, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const QMathPoint a = {x1, y1};
  const QMathPoint b = {x2, y2};
  return QMathPointDistance2D(out, &a, &b);
}
