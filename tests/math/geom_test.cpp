// Integer points and rectangles.
#include <gtest/gtest.h>

#include "framework/math/qmath.h"

namespace {

TEST(Rect, PointInsideIncludesBothEdges) {
  const QMathRect r = {10, 20, 5, 3};
  struct Case {
    QMathPoint p;
    int32_t inside;
  };
  const Case cases[] = {
      {{10, 20}, 1}, {{15, 23}, 1},  // the far corner (x + w, y + h)
      {{16, 20}, 0}, {{15, 24}, 0}, {{9, 21}, 0}, {{12, 19}, 0}, {{12, 22}, 1},
      {{INT32_MAX, 21}, 0}, {{INT32_MIN, 21}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QMathRectPointInside(&c.p, &r), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_EQ(QMathPointInRectXY(c.p.x, c.p.y, r.x, r.y, r.w, r.h), c.inside);
  }
  // Offsets that would overflow 32 bits.
  EXPECT_EQ(QMathPointInRectXY(INT32_MAX, 0, INT32_MIN, 0, 10, 0), 0);
  EXPECT_EQ(QMathPointInRectXY(INT32_MAX, 0, INT32_MAX - 3, 0, 3, 0), 1);
}

TEST(Rect, ClampPoint) {
  const QMathRect r = {-10, 0, 20, 5};
  const struct {
    QMathPoint in, out;
  } cases[] = {
      {{0, 2}, {0, 2}}, {{-11, 2}, {-10, 2}}, {{11, 6}, {10, 5}}, {{30, -1}, {10, 0}}, {{10, 5}, {10, 5}},
  };
  for (const auto& c : cases) {
    QMathPoint out;
    QMathRectClampPoint(&out, &r, &c.in);
    EXPECT_EQ(out.x, c.out.x);
    EXPECT_EQ(out.y, c.out.y);
  }
}

TEST(Rect, Intersection) {
  struct Case {
    QMathRect a, b;
    int32_t result;
    QMathRect overlap;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {10, 5, 4, 4}, 1, {10, 5, 0, 4}},   // touching on x
      {{10, 5, 4, 4}, {0, 0, 10, 10}, 1, {10, 5, 0, 4}},   // either order
      {{0, 0, 10, 10}, {2, 3, 4, 5}, 1, {2, 3, 4, 5}},     // contained
      {{0, 0, 10, 10}, {-5, -5, 10, 8}, 1, {0, 0, 5, 3}},  // corner overlap
      {{0, 0, 10, 10}, {3, -2, 20, 2}, 1, {3, 0, 7, 0}},   // touching on y
      {{0, 0, 10, 10}, {11, 0, 1, 1}, 0, {}},              // apart on x
      {{0, 0, 10, 10}, {0, 11, 1, 1}, 0, {}},              // apart on y
  };
  for (const Case& c : cases) {
    QMathRect out = {-1, -1, -1, -1};
    EXPECT_EQ(QMathRectIntersect(&out, &c.a, &c.b), c.result);
    if (c.result == 1) {
      EXPECT_EQ(out.x, c.overlap.x);
      EXPECT_EQ(out.y, c.overlap.y);
      EXPECT_EQ(out.w, c.overlap.w);
      EXPECT_EQ(out.h, c.overlap.h);
    } else {
      EXPECT_EQ(out.x, -1);  // left untouched
      EXPECT_EQ(out.w, -1);
    }
  }
  // The output may be an input.
  QMathRect a = {0, 0, 10, 10};
  const QMathRect b = {4, 4, 10, 10};
  EXPECT_EQ(QMathRectIntersect(&a, &a, &b), 1);
  EXPECT_EQ(a.x, 4);
  EXPECT_EQ(a.w, 6);
}

TEST(Rect, Mirroring) {
  const QMathRect r = {2, 0, 3, 1};
  QMathRect out;
  QMathRectMirrorX(&r, &out, 10);
  EXPECT_EQ(out.x, 15);  // 20 - 2 - 3
  EXPECT_EQ(out.y, 0);
  EXPECT_EQ(out.w, 3);
  EXPECT_EQ(out.h, 1);
  const QMathRect t = {0, 2, 1, 3};
  QMathRectMirrorY(&t, &out, 10);
  EXPECT_EQ(out.y, 15);
  EXPECT_EQ(out.x, 0);
  EXPECT_EQ(out.h, 3);
  // Mirroring twice gives the rectangle back.
  QMathRectMirrorX(&r, &out, -7);
  QMathRectMirrorX(&out, &out, -7);
  EXPECT_EQ(out.x, r.x);

  const QMathPoint p = {3, 4};
  QMathPoint q;
  QMathPointMirrorX(&q, &p, 10);
  EXPECT_EQ(q.x, 17);
  EXPECT_EQ(q.y, 4);
  QMathPointMirrorY(&q, &p, 10);
  EXPECT_EQ(q.x, 3);
  EXPECT_EQ(q.y, 16);
  QMathPointMirrorX(&q, &q, -1);
  EXPECT_EQ(q.x, -5);
}

TEST(Distance, ValuesAndTheOverflowCode) {
  int32_t out = -1;
  const QMathPoint o = {0, 0}, p34 = {3, 4};
  EXPECT_EQ(QMathPointDistance2D(&out, &o, &p34), 0);
  EXPECT_EQ(out, 5);
  EXPECT_EQ(QMathPointDistance2D(&out, &p34, &p34), 0);
  EXPECT_EQ(out, 0);
  const QMathPoint p2 = {10, -7}, p3 = {13, -3};
  EXPECT_EQ(QMathPointDistance2D(&out, &p2, &p3), 0);
  EXPECT_EQ(out, 5);
  const QMathPoint nearPt = {1, 1};
  EXPECT_EQ(QMathPointDistance2D(&out, &o, &nearPt), 0);
  EXPECT_EQ(out, 1);  // floor(sqrt(2))
  EXPECT_EQ(QMathPointDistance2DXY(&out, 1, 1, 4, 5), 0);
  EXPECT_EQ(out, 5);
  const QMathPoint edge = {46340, 0};  // square 2147395600 still fits
  EXPECT_EQ(QMathPointDistance2D(&out, &o, &edge), 0);
  EXPECT_EQ(out, 46340);

  // A square beyond the 32-bit range: 7, out untouched.
  out = -1;
  const QMathPoint far = {50000, 0};
  EXPECT_EQ(QMathPointDistance2D(&out, &o, &far), 7);
  EXPECT_EQ(out, -1);
  // 65537^2 wraps to a small positive number in 32 bits; still 7.
  EXPECT_EQ(QMathPointDistance2DXY(&out, 0, 0, 0, 65537), 7);
  // Differences that themselves exceed 32 bits.
  EXPECT_EQ(QMathPointDistance2DXY(&out, INT32_MIN, 0, INT32_MAX, 0), 7);
  // Each square fits but the sum does not: 7 with the sum's low 32 bits.
  EXPECT_EQ(QMathPointDistance2DXY(&out, 0, 0, 40000, 40000), 7);
  EXPECT_EQ(out, static_cast<int32_t>(3200000000u));

  const QMathPoint3D a = {1, 2, 3}, b = {3, 5, 9};
  EXPECT_EQ(QMathPointDistance3D(&out, &a, &b), 0);
  EXPECT_EQ(out, 7);  // (2, 3, 6)
  EXPECT_EQ(QMathPointDistance3D(&out, &a, &a), 0);
  EXPECT_EQ(out, 0);
  // Three squares whose 32-bit sum would wrap back to a positive number.
  const QMathPoint3D big = {40001, 40002, 40003};
  EXPECT_EQ(QMathPointDistance3D(&out, &a, &big), 7);
  const QMathPoint3D over = {1, 2, 3 + 50000};
  EXPECT_EQ(QMathPointDistance3D(&out, &a, &over), 7);
}

TEST(Rect, IntersectionTakesTheFirstRectangleAsLowOnEqualEdges) {
  // With equal x (or y) the first rectangle is the low one: its negative
  // width (height) ends before the other begins, so they are apart.
  QMathRect out = {-1, -1, -1, -1};
  const QMathRect a = {0, 0, -5, 10}, b = {0, 0, 3, 10};
  EXPECT_EQ(QMathRectIntersect(&out, &a, &b), 0);
  EXPECT_EQ(out.x, -1);
  QMathRect overlap;
  EXPECT_EQ(QMathRectIntersect(&overlap, &b, &a), 1);
  EXPECT_EQ(overlap.x, 0);
  EXPECT_EQ(overlap.w, -5);
  const QMathRect c = {0, 0, 10, -5}, d = {0, 0, 10, 3};
  EXPECT_EQ(QMathRectIntersect(&out, &c, &d), 0);
  EXPECT_EQ(QMathRectIntersect(&overlap, &d, &c), 1);
  EXPECT_EQ(overlap.h, -5);
}

}  // namespace
