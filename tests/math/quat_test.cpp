// Quaternions: normalising thresholds, composition against the matrices,
// slerp end points and branches, direction and axis-angle conversions.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/math/qmath.h"

namespace {

constexpr QMathQuat kIdentity = {0, 0, 0, 1};

void ExpectNearQuat(const QMathQuat& a, const QMathQuat& b, float tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
  EXPECT_NEAR(a.w, b.w, tolerance);
}

bool SameBits(const QMathQuat& a, const QMathQuat& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

QMathQuat Unit(QMathQuat q) {
  QMathQuatNormalise(&q, &q);
  return q;
}

QMathQuat AxisAngle(float x, float y, float z, int32_t angle) {
  QMathVec3 axis = {x, y, z};
  QMathVec3Normalise(&axis, &axis);
  QMathQuat q;
  return *QMathQuatFromAxisAngle(&q, &axis, angle);
}

TEST(Quat, ComponentwiseOperations) {
  const QMathQuat a = {1, 2, 3, 4}, b = {0.5f, -1, 2, -3};
  QMathQuat out;
  QMathQuatAdd(&out, &a, &b);
  EXPECT_TRUE(SameBits(out, QMathQuat{1.5f, 1, 5, 1}));
  QMathQuatSub(&out, &a, &b);
  EXPECT_TRUE(SameBits(out, QMathQuat{0.5f, 3, 1, 7}));
  EXPECT_EQ(QMathQuatDot(&a, &b), 0.5f - 2 + 6 - 12);
  EXPECT_EQ(QMathQuatLength(&a), std::sqrt(30.0f));
  QMathQuatNegate(&out, &a);
  EXPECT_TRUE(SameBits(out, QMathQuat{-1, -2, -3, -4}));
  QMathQuatConjugate(&out, &a);
  EXPECT_TRUE(SameBits(out, QMathQuat{-1, -2, -3, 4}));
}

TEST(Quat, NormaliseThresholds) {
  const QMathQuat near = {0, 0, 0, 1.00005f};
  QMathQuat out = {9, 9, 9, 9};
  QMathQuatNormalise(&out, &near);
  EXPECT_TRUE(SameBits(out, near));
  const QMathQuat two = {0, 0, 0, 2};
  QMathQuatNormalise(&out, &two);  // separate output
  EXPECT_TRUE(SameBits(out, kIdentity));
  QMathQuat inPlace = two;
  QMathQuatNormalise(&inPlace, &inPlace);
  EXPECT_TRUE(SameBits(inPlace, kIdentity));
  const QMathQuat low = {0, 0, 0, 0.99994f};  // q.q = 0.99988 < 0.9999
  QMathQuatNormalise(&out, &low);
  EXPECT_EQ(out.w, 1.0f);
}

TEST(Quat, MultiplyComposesLikeTheMatrixProduct) {
  const QMathQuat a = AxisAngle(1, 2, 3, 9000);
  const QMathQuat b = AxisAngle(-2, 0.5f, 1, 20000);
  QMathQuat ab;
  QMathQuatMultiply(&ab, &a, &b);
  QMathMatrix ma, mb, mab, product;
  QMathMatrixIdentity(&ma);
  QMathMatrixIdentity(&mb);
  QMathMatrixIdentity(&mab);
  QMathMatrixFromQuat(&ma, &a);
  QMathMatrixFromQuat(&mb, &b);
  QMathMatrixFromQuat(&mab, &ab);
  QMathMatrixMultiply(&product, &ma, &mb);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(mab.m[i], product.m[i], 1e-5f) << i;
  }
  // Alias-safe, and the identity is neutral.
  QMathQuat alias = a;
  QMathQuatMultiply(&alias, &alias, &b);
  EXPECT_TRUE(SameBits(alias, ab));
  alias = b;
  QMathQuatMultiply(&alias, &a, &alias);
  EXPECT_TRUE(SameBits(alias, ab));
  QMathQuat same;
  QMathQuatMultiply(&same, &kIdentity, &a);
  ExpectNearQuat(same, a, 1e-6f);

  // RotateX/Y/Z put the turn first: q = r then q.
  QMathQuat q = b, r, expected;
  QMathQuatRotateY(&q, 12345);
  QMathQuat ry = Unit(*QMathQuatFromAngleY(&r, 12345));
  QMathQuatMultiply(&expected, &ry, &b);
  EXPECT_TRUE(SameBits(q, expected));
  q = b;
  QMathQuat rx = Unit(*QMathQuatFromAngleX(&r, -4000));
  QMathQuatRotateX(&q, -4000);
  QMathQuatMultiply(&expected, &rx, &b);
  EXPECT_TRUE(SameBits(q, expected));
  q = b;
  QMathQuat rz = Unit(*QMathQuatFromAngleZ(&r, 30000));
  QMathQuatRotateZ(&q, 30000);
  QMathQuatMultiply(&expected, &rz, &b);
  EXPECT_TRUE(SameBits(q, expected));
}

TEST(Quat, SingleAxisAndAxisAngleValues) {
  QMathQuat q;
  // Half of 16384 is 8192: sin and cos of an eighth turn from the table.
  QMathQuatFromAngleZ(&q, 16384);
  EXPECT_EQ(q.x, 0.0f);
  EXPECT_EQ(q.z, 46340.0f / 65536.0f);
  EXPECT_EQ(q.w, 46340.0f / 65536.0f);
  QMathQuatFromAngleX(&q, 0);
  EXPECT_EQ(q.w, 65534.0f / 65536.0f);  // not normalised
  // The angle is taken as 16 bits before halving: -2 is 65534, half 32767.
  QMathQuat viaNegative, viaPositive;
  QMathQuatFromAngleY(&viaNegative, -2);
  QMathQuatFromAngleY(&viaPositive, 65534);
  EXPECT_TRUE(SameBits(viaNegative, viaPositive));

  const QMathVec3 axis = {0, 0, 1};
  QMathQuatFromAxisAngle(&q, &axis, 16384);
  EXPECT_NEAR(q.z, std::sqrt(0.5f), 1e-4f);
  EXPECT_NEAR(QMathQuatDot(&q, &q), 1.0f, 1e-4f);
}

TEST(Quat, ToAxisAngleRoundTrip) {
  const QMathQuat q = AxisAngle(0, 1, 0, 20000);
  QMathVec3 axis = {9, 9, 9};
  QMathAngle angle = 1;
  QMathQuatToAxisAngle(&q, &axis, &angle);
  EXPECT_NEAR(angle, 20000, 4);
  EXPECT_NEAR(axis.x, 0.0f, 1e-3f);
  EXPECT_NEAR(axis.y, 1.0f, 1e-3f);
  EXPECT_NEAR(axis.z, 0.0f, 1e-3f);
  // No rotation: angle 0 and the axis is not written. A scalar a little above
  // 1 (within the normalising tolerance) is no assertion failure.
  const QMathQuat over = {0, 0, 0, 1.00005f};
  axis = {9, 9, 9};
  QMathQuatToAxisAngle(&over, &axis, &angle);
  EXPECT_EQ(angle, 0);
  EXPECT_EQ(axis.x, 9.0f);
}

TEST(Quat, SlerpEndPointsAndBranches) {
  const QMathQuat a = AxisAngle(1, 0, 0, 3000);
  const QMathQuat b = AxisAngle(0, 1, 0, 9000);
  QMathQuat out;
  // General branch: the table sine of the same angle cancels exactly.
  QMathQuatSlerp(&out, &a, &b, 0.0f);
  EXPECT_TRUE(SameBits(out, a));
  QMathQuatSlerp(&out, &a, &b, 1.0f);
  EXPECT_TRUE(SameBits(out, b));
  // Equal inputs take the linear branch.
  QMathQuatSlerp(&out, &a, &a, 0.3f);
  ExpectNearQuat(out, a, 1e-6f);
  // Halfway between the identity and a quarter turn: an eighth turn.
  QMathQuat quarter, eighth;
  QMathQuatNormalise(&quarter, QMathQuatFromAngleY(&quarter, 16384));
  QMathQuatNormalise(&eighth, QMathQuatFromAngleY(&eighth, 8192));
  QMathQuatSlerp(&out, &kIdentity, &quarter, 0.5f);
  ExpectNearQuat(out, eighth, 3e-4f);
  // Nearly opposite: towards the perpendicular (-a.y, a.x, -a.w, a.z).
  QMathQuat minusA;
  QMathQuatNegate(&minusA, &a);
  QMathQuatSlerp(&out, &a, &minusA, 0.0f);
  ExpectNearQuat(out, a, 1e-4f);
  QMathQuatSlerp(&out, &a, &minusA, 1.0f);
  ExpectNearQuat(out, QMathQuat{-a.y, a.x, -a.w, a.z}, 1e-4f);
  // No sign flip for a negative dot product: the long way round.
  QMathQuat minusB;
  QMathQuatNegate(&minusB, &b);
  QMathQuatSlerp(&out, &a, &minusB, 1.0f);
  ExpectNearQuat(out, minusB, 1e-6f);
}

TEST(Quat, AlignAndScaleAngle) {
  const QMathQuat q = AxisAngle(1, 1, 0, 10000);
  QMathQuat minusQ, out;
  QMathQuatNegate(&minusQ, &q);
  QMathQuatAlign(&out, &minusQ, &kIdentity);
  EXPECT_TRUE(SameBits(out, q));
  QMathQuatAlign(&out, &q, &kIdentity);
  EXPECT_TRUE(SameBits(out, q));

  QMathQuatScaleAngle(&out, &q, 1.0f);
  ExpectNearQuat(out, q, 1e-6f);
  QMathQuatScaleAngle(&out, &minusQ, 1.0f);  // slerp from (0, 0, 0, -1)
  ExpectNearQuat(out, minusQ, 1e-6f);
  QMathQuatScaleAngle(&out, &q, 0.5f);
  ExpectNearQuat(out, AxisAngle(1, 1, 0, 5000), 3e-4f);
  QMathQuatScaleAngle(&out, &q, 0.0f);
  ExpectNearQuat(out, kIdentity, 1e-6f);
}

TEST(Quat, RotateVectorIsTheMirroredInverseRotation) {
  const QMathQuat q = AxisAngle(1, 2, -1, 11000);
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  QMathMatrixFromQuat(&m, &q);
  const QMathVec3 p = {3, -1, 2};
  QMathVec3 out;
  QMathQuatRotateVector(&q, &out, &p);
  // The column form M p (the inverse of p * M), with x negated.
  const float mx = m.m[0] * p.x + m.m[1] * p.y + m.m[2] * p.z;
  const float my = m.m[4] * p.x + m.m[5] * p.y + m.m[6] * p.z;
  const float mz = m.m[8] * p.x + m.m[9] * p.y + m.m[10] * p.z;
  EXPECT_NEAR(out.x, -mx, 1e-4f);
  EXPECT_NEAR(out.y, my, 1e-4f);
  EXPECT_NEAR(out.z, mz, 1e-4f);
  QMathVec3 alias = p;
  QMathQuatRotateVector(&q, &alias, &alias);
  EXPECT_EQ(alias.x, out.x);
  EXPECT_EQ(alias.z, out.z);
}

TEST(Quat, FromDirection) {
  QMathQuat out = {5, 6, 7, 8};
  const QMathVec3 zero = {0, 0, 0};
  QMathQuatFromDirection(&out, &zero);
  EXPECT_TRUE(SameBits(out, QMathQuat{5, 6, 7, 8}));

  // (1, 0, 0): heading 16384 and pitch 0.
  const QMathVec3 x = {1, 0, 0};
  QMathQuatFromDirection(&out, &x);
  QMathQuat ry, rx, turned, expected;
  QMathQuatFromAngleY(&ry, 16384);
  QMathQuatFromAngleX(&rx, 0);
  QMathQuatMultiply(&turned, &ry, &kIdentity);
  QMathQuatMultiply(&expected, &rx, &turned);
  EXPECT_TRUE(SameBits(out, expected));

  // The quaternion and the matrix forms agree.
  const QMathVec3 dirs[] = {{1, 0, 0}, {-3, 1, 2}, {0.5f, -2, -1}, {0, 0, -4}};
  for (const QMathVec3& d : dirs) {
    QMathQuatFromDirection(&out, &d);
    QMathMatrix fromQuat, direct;
    QMathMatrixIdentity(&fromQuat);
    QMathMatrixIdentity(&direct);
    QMathMatrixFromQuat(&fromQuat, &out);
    QMathMatrixFromDirection(&direct, &d);
    for (int i = 0; i < 11; ++i) {
      EXPECT_NEAR(fromQuat.m[i], direct.m[i], 1e-3f) << i;
    }
  }
}

TEST(Quat, FromMatrixRoundTrip) {
  // Positive trace and each branch of the largest diagonal entry.
  const QMathQuat cases[] = {AxisAngle(1, 2, 3, 5000), AxisAngle(1, 0.1f, 0.1f, 32000),
                             AxisAngle(0.1f, 1, 0.2f, 32000), AxisAngle(0.1f, 0.2f, 1, 31000),
                             AxisAngle(1, 1, 1, 30000)};
  for (const QMathQuat& q : cases) {
    QMathMatrix m;
    QMathMatrixIdentity(&m);
    QMathMatrixFromQuat(&m, &q);
    QMathQuat back;
    QMathQuatFromMatrix(&back, &m);
    QMathQuat aligned;
    QMathQuatAlign(&aligned, &back, &q);
    ExpectNearQuat(aligned, q, 1e-4f);
  }
}

TEST(Quat, SlerpBranchThresholds) {
  // 1 - c = 0.00005: within the linear branch, so t = 0.25 weighs 0.75 and 0.25.
  const QMathQuat a = kIdentity;
  const QMathQuat b = {0.01f, 0, 0, 0.99995f};
  ASSERT_LE(1.0f - QMathQuatDot(&a, &b), 0.0001f);
  QMathQuat out, linear;
  QMathQuatSlerp(&out, &a, &b, 0.25f);
  const QMathQuat mix = {0.25f * b.x, 0, 0, 0.75f * a.w + 0.25f * b.w};
  QMathQuatNormalise(&linear, &mix);
  EXPECT_TRUE(SameBits(out, linear));
  // c + 1 = 0.00005: within the opposite branch, turning towards
  // (-a.y, a.x, -a.w, a.z) = (0, 0, -1, 0) whatever b is.
  const QMathQuat opposite = {0.01f, 0, 0, -0.99995f};
  ASSERT_LE(QMathQuatDot(&a, &opposite) + 1.0f, 0.0001f);
  QMathQuatSlerp(&out, &a, &opposite, 0.5f);
  EXPECT_EQ(out.x, 0.0f);
  EXPECT_EQ(out.y, 0.0f);
  EXPECT_NEAR(out.z, -0.70711f, 1e-4f);
  EXPECT_NEAR(out.w, 0.70711f, 1e-4f);
}

TEST(Quat, FromMatrixTiesKeepTheLowerDiagonalIndex) {
  // Half turns about (1, -1, 0) and (1, 0, -1): trace -1, two equal largest
  // diagonal entries. The lower index is chosen, and its component is the
  // positive one.
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  m.m[0] = 0; m.m[5] = 0; m.m[10] = -1;
  m.m[1] = -1; m.m[4] = -1;
  m.m[2] = m.m[8] = m.m[6] = m.m[9] = 0;
  QMathQuat q;
  QMathQuatFromMatrix(&q, &m);
  EXPECT_NEAR(q.x, 0.70711f, 1e-5f);
  EXPECT_NEAR(q.y, -0.70711f, 1e-5f);
  EXPECT_EQ(q.z, 0.0f);
  EXPECT_EQ(q.w, 0.0f);
  QMathMatrixIdentity(&m);
  m.m[0] = 0; m.m[5] = -1; m.m[10] = 0;
  m.m[2] = -1; m.m[8] = -1;
  m.m[1] = m.m[4] = m.m[6] = m.m[9] = 0;
  QMathQuatFromMatrix(&q, &m);
  EXPECT_NEAR(q.x, 0.70711f, 1e-5f);
  EXPECT_EQ(q.y, 0.0f);
  EXPECT_NEAR(q.z, -0.70711f, 1e-5f);
  EXPECT_EQ(q.w, 0.0f);
}

}  // namespace
