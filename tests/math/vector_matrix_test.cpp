// Vectors and matrices: exact values of the builders, aliasing, and the
// identities the 3D code relies on.
#include <gtest/gtest.h>

#include "framework/math/qmath.h"

namespace {

constexpr float kQuarterSine = 65534.0f / 65536.0f;  // 0.999969

QMathMatrix Filled(float start) {
  QMathMatrix m;
  for (int i = 0; i < 16; ++i) {
    m.m[i] = start + static_cast<float>(i);
  }
  return m;
}

bool SameBits(const QMathMatrix& a, const QMathMatrix& b) {
  for (int i = 0; i < 16; ++i) {
    if (a.m[i] != b.m[i]) {
      return false;
    }
  }
  return true;
}

void ExpectNearMatrix(const QMathMatrix& a, const QMathMatrix& b, float tolerance) {
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "word " << i;
  }
}

TEST(Vector, ArithmeticCrossAndNormalise) {
  const QMathVec3 x = {1, 0, 0}, y = {0, 1, 0};
  QMathVec3 out;
  QMathVec3Cross(&out, &x, &y);  // b x a: y x x = -z
  EXPECT_EQ(out.x, 0.0f);
  EXPECT_EQ(out.y, 0.0f);
  EXPECT_EQ(out.z, -1.0f);
  const QMathVec3 a = {1, 2, 3}, b = {4, -5, 6};
  QMathVec3Cross(&out, &a, &b);
  EXPECT_EQ(out.x, 3.0f * -5.0f - 2.0f * 6.0f);
  EXPECT_EQ(out.y, 1.0f * 6.0f - 3.0f * 4.0f);
  EXPECT_EQ(out.z, 2.0f * 4.0f - 1.0f * -5.0f);
  EXPECT_EQ(QMathVec3Dot(&a, &b), 4.0f - 10.0f + 18.0f);
  QMathVec3Sub(&out, &a, &b);
  EXPECT_EQ(out.x, -3.0f);
  EXPECT_EQ(out.y, 7.0f);
  EXPECT_EQ(out.z, -3.0f);
  QMathVec3Add(&out, &out, &b);  // output aliasing an input
  EXPECT_EQ(out.x, 1.0f);
  EXPECT_EQ(out.y, 2.0f);
  EXPECT_EQ(out.z, 3.0f);
  QMathVec3Scale(&out, &a, 2.0f);
  EXPECT_EQ(out.z, 6.0f);
  QMathVec3Divide(&out, &out, 4.0f);
  EXPECT_EQ(out.z, 1.5f);

  const QMathVec3 v345 = {3, 4, 0};
  EXPECT_EQ(QMathVec3Length(&v345), 5.0f);
  QMathVec3Normalise(&out, &v345);
  EXPECT_FLOAT_EQ(out.x, 0.6f);
  EXPECT_FLOAT_EQ(out.y, 0.8f);
  // Within 0.0001 of unit length: copied unchanged.
  const QMathVec3 almost = {0, 0, 1.00004f};
  QMathVec3Normalise(&out, &almost);
  EXPECT_EQ(out.z, 1.00004f);
  const QMathVec3 beyond = {0, 0, 1.0001f};
  QMathVec3Normalise(&out, &beyond);
  EXPECT_EQ(out.z, 1.0f);

  const QMathVec2 p = {6, 8}, q = {1, 1};
  QMathVec2 o;
  EXPECT_EQ(QMathVec2Length(&p), 10.0f);
  EXPECT_EQ(QMathVec2Dot(&p, &q), 14.0f);
  QMathVec2Normalise(&o, &p);
  EXPECT_FLOAT_EQ(o.x, 0.6f);
  QMathVec2Sub(&o, &p, &q);
  EXPECT_EQ(o.y, 7.0f);
  QMathVec2Add(&o, &o, &q);
  EXPECT_EQ(o.y, 8.0f);
  QMathVec2Scale(&o, &q, 3.0f);
  QMathVec2Divide(&o, &o, 2.0f);
  EXPECT_EQ(o.x, 1.5f);
}

TEST(Matrix, RotationBuildersWriteOnlyTheRotationBlock) {
  QMathMatrix m = Filled(100.0f);
  QMathMatrixSetRotateY(&m, 16384);
  EXPECT_EQ(m.m[0], 0.0f);
  EXPECT_EQ(m.m[10], 0.0f);
  EXPECT_EQ(m.m[2], -kQuarterSine);
  EXPECT_EQ(m.m[8], kQuarterSine);
  EXPECT_EQ(m.m[5], 1.0f);
  EXPECT_EQ(m.m[1], 0.0f);
  EXPECT_EQ(m.m[4], 0.0f);
  EXPECT_EQ(m.m[6], 0.0f);
  EXPECT_EQ(m.m[9], 0.0f);
  for (int w : {3, 7, 11, 12, 13, 14, 15}) {
    EXPECT_EQ(m.m[w], 100.0f + static_cast<float>(w)) << w;
  }

  m = Filled(100.0f);
  QMathMatrixSetRotateX(&m, 16384);
  EXPECT_EQ(m.m[0], 1.0f);
  EXPECT_EQ(m.m[5], 0.0f);
  EXPECT_EQ(m.m[6], kQuarterSine);
  EXPECT_EQ(m.m[9], -kQuarterSine);
  EXPECT_EQ(m.m[10], 0.0f);
  EXPECT_EQ(m.m[12], 112.0f);

  // About the y axis the general builder agrees with the special one.
  QMathMatrix axisY = Filled(0.0f), special = Filled(0.0f);
  const QMathVec3 up = {0, 2, 0};  // normalised first
  QMathMatrixSetRotateAxis(&axisY, &up, 5000);
  QMathMatrixSetRotateY(&special, 5000);
  ExpectNearMatrix(axisY, special, 1e-6f);
  EXPECT_EQ(up.y, 2.0f);  // the caller's axis is not changed

  m = Filled(100.0f);
  QMathMatrixIdentity3x4(&m);
  EXPECT_EQ(m.m[0], 1.0f);
  EXPECT_EQ(m.m[3], 0.0f);
  EXPECT_EQ(m.m[11], 0.0f);
  EXPECT_EQ(m.m[12], 112.0f);
  EXPECT_EQ(m.m[15], 115.0f);
  QMathMatrixIdentity(&m);
  EXPECT_EQ(m.m[12], 0.0f);
  EXPECT_EQ(m.m[15], 1.0f);
}

TEST(Matrix, ProductsAreAliasSafe) {
  QMathMatrix a, b;
  QMathMatrixIdentity(&a);
  QMathMatrixIdentity(&b);
  QMathMatrixSetRotateY(&a, 7000);
  QMathMatrixSetRotateX(&b, -3000);
  const QMathVec3 ta = {1, 2, 3}, tb = {-4, 5, 0.5f};
  QMathMatrixSetTranslation(&a, &ta);
  QMathMatrixSetTranslation(&b, &tb);
  a.m[3] = 0.25f;  // a full product uses the fourth column too

  QMathMatrix third;
  QMathMatrixMultiply(&third, &a, &b);
  QMathMatrix inA = a, inB = b;
  QMathMatrixMultiply(&inA, &inA, &b);
  QMathMatrixMultiply(&inB, &a, &inB);
  EXPECT_TRUE(SameBits(inA, third));
  EXPECT_TRUE(SameBits(inB, third));
  // Row 0 column 3 of the product: a0 * b3 + a1 * b7 + a2 * b11 + a3 * b15.
  EXPECT_EQ(third.m[3], 0.25f);

  // Affine product: the translation is ta * b3 + tb.
  a.m[3] = 0.0f;
  QMathMatrix affine, affineAlias = a;
  QMathMatrixMultiplyAffine(&affine, &a, &b);
  QMathMatrixMultiplyAffine(&affineAlias, &affineAlias, &b);
  EXPECT_TRUE(SameBits(affine, affineAlias));
  QMathVec3 expected;
  QMathMatrixRotateVector(&b, &expected, &ta);
  EXPECT_EQ(affine.m[12], expected.x + tb.x);
  EXPECT_EQ(affine.m[14], expected.z + tb.z);
  EXPECT_EQ(affine.m[15], 1.0f);

  // Rotation product: the translation only when the output is a third matrix.
  QMathMatrix rotation = Filled(50.0f);
  QMathMatrixMultiplyRotation(&rotation, &a, &b);
  EXPECT_EQ(rotation.m[12], expected.x);
  EXPECT_EQ(rotation.m[15], 65.0f);
  QMathMatrix rotationAlias = a;
  QMathMatrixMultiplyRotation(&rotationAlias, &rotationAlias, &b);
  EXPECT_EQ(rotationAlias.m[0], rotation.m[0]);
  EXPECT_EQ(rotationAlias.m[9], rotation.m[9]);
  EXPECT_EQ(rotationAlias.m[12], a.m[12]);

  // Transforming by a product equals transforming twice (a first).
  const QMathVec3 p = {10, -20, 30};
  QMathVec3 once, twice;
  QMathMatrixTransformPoint(&affine, &once, &p);
  QMathMatrixTransformPoint(&a, &twice, &p);
  QMathMatrixTransformPoint(&b, &twice, &twice);
  EXPECT_NEAR(once.x, twice.x, 1e-4f);
  EXPECT_NEAR(once.y, twice.y, 1e-4f);
  EXPECT_NEAR(once.z, twice.z, 1e-4f);
}

TEST(Matrix, TransformAndTranslateLocal) {
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  QMathMatrixSetRotateY(&m, 16384);
  const QMathVec3 t = {5, 6, 7};
  QMathMatrixSetTranslation(&m, &t);
  const QMathVec3 x = {1, 0, 0};
  QMathVec3 out;
  QMathMatrixTransformPoint(&m, &out, &x);  // x row: (c, 0, -s)
  EXPECT_EQ(out.x, 5.0f);
  EXPECT_EQ(out.y, 6.0f);
  EXPECT_EQ(out.z, 7.0f - kQuarterSine);
  QMathMatrixRotateVector(&m, &out, &x);
  EXPECT_EQ(out.z, -kQuarterSine);
  QMathVec3 alias = x;
  QMathMatrixTransformPoint(&m, &alias, &alias);
  EXPECT_EQ(alias.z, 7.0f - kQuarterSine);

  const QMathVec3 step = {2, 0, 0};
  QMathMatrixTranslateLocal(&m, &step);
  EXPECT_EQ(m.m[12], 5.0f);
  EXPECT_EQ(m.m[14], 7.0f - 2.0f * kQuarterSine);
  EXPECT_EQ(step.x, 2.0f);
}

TEST(Matrix, ScaleTransposeDecompose) {
  QMathMatrix in;
  QMathMatrixIdentity(&in);
  QMathMatrixSetRotateY(&in, 3000);
  // A factor of exactly 1.0 leaves even another output untouched.
  QMathMatrix out = Filled(200.0f);
  const QMathMatrix before = out;
  EXPECT_EQ(QMathMatrixScale(&out, &in, 1.0f), &in);
  EXPECT_EQ(QMathMatrixScaleX(&out, &in, 1.0f), &in);
  EXPECT_TRUE(SameBits(out, before));

  QMathMatrixScaleX(&out, &in, 2.0f);
  EXPECT_EQ(out.m[0], in.m[0] * 2.0f);
  EXPECT_EQ(out.m[8], in.m[8] * 2.0f);
  EXPECT_EQ(out.m[1], 201.0f);  // other columns untouched
  QMathMatrixScaleY(&out, &in, 3.0f);
  EXPECT_EQ(out.m[5], 3.0f);
  QMathMatrixScaleZ(&out, &in, 4.0f);
  EXPECT_EQ(out.m[10], in.m[10] * 4.0f);
  EXPECT_EQ(out.m[12], 212.0f);

  float sx, sy, sz;
  QMathMatrixDecompose(&out, &sx, &sy, &sz);
  // The table sine and cosine make rotation rows a little shorter than 1.
  EXPECT_NEAR(sx, 2.0f, 2e-3f);
  EXPECT_EQ(sy, 3.0f);
  EXPECT_NEAR(sz, 4.0f, 4e-3f);
  // A squared length within 0.0001 of 1 is written as it is.
  QMathMatrix nearUnit;
  QMathMatrixIdentity(&nearUnit);
  nearUnit.m[0] = 1.00002f;
  QMathMatrixDecompose(&nearUnit, &sx, &sy, &sz);
  EXPECT_EQ(sx, 1.00002f * 1.00002f);
  EXPECT_EQ(sy, 1.0f);

  QMathMatrix scaled = in;
  QMathMatrixScale(&scaled, &in, 0.5f);
  EXPECT_EQ(scaled.m[2], in.m[2] * 0.5f);

  QMathMatrix t = Filled(300.0f);
  QMathMatrixTranspose3x3(&t, &in);
  EXPECT_EQ(t.m[2], in.m[8]);
  EXPECT_EQ(t.m[8], in.m[2]);
  EXPECT_EQ(t.m[12], 312.0f);
  QMathMatrixTranspose3x3(&t, &t);
  EXPECT_EQ(t.m[2], in.m[2]);
}

TEST(Matrix, InvertRigidGivesTheIdentity) {
  // An orthonormal rotation (from a unit quaternion) plus a translation.
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  QMathQuat q;
  const QMathVec3 axis = {0.267261f, 0.534522f, 0.801784f};
  QMathMatrixFromQuat(&m, QMathQuatFromAxisAngle(&q, &axis, 5000));
  const QMathVec3 t = {10, -20, 30};
  QMathMatrixSetTranslation(&m, &t);

  QMathMatrix inverse = Filled(9.0f);
  QMathMatrixInvertRigid(&inverse, &m);
  EXPECT_EQ(inverse.m[3], 0.0f);
  EXPECT_EQ(inverse.m[11], 0.0f);
  EXPECT_EQ(inverse.m[15], 1.0f);
  QMathMatrix product, identity;
  QMathMatrixIdentity(&identity);
  QMathMatrixMultiply(&product, &m, &inverse);
  ExpectNearMatrix(product, identity, 1e-5f);
  QMathMatrixMultiply(&product, &inverse, &m);
  ExpectNearMatrix(product, identity, 1e-5f);

  // The translation maps back to the origin.
  QMathVec3 origin;
  QMathMatrixTransformPoint(&inverse, &origin, &t);
  EXPECT_NEAR(origin.x, 0.0f, 1e-5f);
  EXPECT_NEAR(origin.y, 0.0f, 1e-5f);
  EXPECT_NEAR(origin.z, 0.0f, 1e-5f);

  QMathMatrix inPlace = m;
  QMathMatrixInvertRigid(&inPlace, &inPlace);
  EXPECT_TRUE(SameBits(inPlace, inverse));
}

TEST(Matrix, FromQuatMatchesTheSingleAxisBuilders) {
  for (int32_t angle : {0, 1234, 16384, 30000, 50000}) {
    QMathQuat q;
    QMathMatrix fromQuat = Filled(0.0f), direct = Filled(0.0f);
    QMathMatrixFromQuat(&fromQuat, QMathQuatFromAngleX(&q, angle));
    QMathMatrixSetRotateX(&direct, angle);
    ExpectNearMatrix(fromQuat, direct, 4e-4f);
    QMathMatrixFromQuat(&fromQuat, QMathQuatFromAngleY(&q, angle));
    QMathMatrixSetRotateY(&direct, angle);
    ExpectNearMatrix(fromQuat, direct, 4e-4f);
  }
  // A null quaternion gives the identity rotation; the fourth row is kept.
  QMathMatrix m = Filled(40.0f);
  const QMathQuat zero = {0, 0, 0, 0};
  QMathMatrixFromQuat(&m, &zero);
  EXPECT_EQ(m.m[0], 1.0f);
  EXPECT_EQ(m.m[1], 0.0f);
  EXPECT_EQ(m.m[10], 1.0f);
  EXPECT_EQ(m.m[12], 52.0f);
  // A non-unit quaternion is scaled by 2 / |q|^2.
  const QMathQuat doubled = {0, 0, 0, 2};
  QMathMatrixFromQuat(&m, &doubled);
  EXPECT_EQ(m.m[0], 1.0f);
}

TEST(Matrix, FromDirectionTurnsTheZAxisOntoTheDirection) {
  QMathMatrix m = Filled(7.0f);
  const QMathMatrix before = m;
  const QMathVec3 zero = {0, 0, 0};
  QMathMatrixFromDirection(&m, &zero);
  EXPECT_TRUE(SameBits(m, before));

  const QMathVec3 dirs[] = {{1, 0, 0}, {0, 0, 1}, {-3, 1, 2}, {0.5f, -2, -1}, {0, 1, 0}, {-1, 0, -1}};
  for (const QMathVec3& d : dirs) {
    QMathMatrixFromDirection(&m, &d);
    QMathVec3 unit;
    QMathVec3Normalise(&unit, &d);
    EXPECT_NEAR(m.m[8], unit.x, 2e-3f);
    EXPECT_NEAR(m.m[9], unit.y, 2e-3f);
    EXPECT_NEAR(m.m[10], unit.z, 2e-3f);
    EXPECT_EQ(m.m[1], 0.0f);  // no roll: the x axis stays horizontal
    EXPECT_EQ(m.m[12], 19.0f);
  }
  // (1, 0, 0): heading 16384, pitch 0.
  const QMathVec3 x = {1, 0, 0};
  QMathMatrixFromDirection(&m, &x);
  EXPECT_EQ(m.m[0], 0.0f);
  EXPECT_EQ(m.m[2], -kQuarterSine);
  EXPECT_EQ(m.m[5], kQuarterSine);
  EXPECT_EQ(m.m[8], kQuarterSine * kQuarterSine);
}

TEST(Matrix, RotateAxisAgreesWithTheSingleAxisBuildersAndTheQuaternion) {
  for (int32_t angle : {0, 1234, 16384, 30000, 50000}) {
    QMathMatrix axisM = Filled(0.0f), direct = Filled(0.0f);
    const QMathVec3 x = {3, 0, 0}, y = {0, 0.5f, 0};  // normalised first
    QMathMatrixSetRotateAxis(&axisM, &x, angle);
    QMathMatrixSetRotateX(&direct, angle);
    ExpectNearMatrix(axisM, direct, 1e-6f);
    QMathMatrixSetRotateAxis(&axisM, &y, angle);
    QMathMatrixSetRotateY(&direct, angle);
    ExpectNearMatrix(axisM, direct, 1e-6f);
    // A general axis: the same rotation as the axis-angle quaternion (whose
    // table sines are of the half angle, hence the tolerance).
    const QMathVec3 axis = {1, 2, 2};
    QMathVec3 unit;
    QMathVec3Normalise(&unit, &axis);
    QMathQuat q;
    QMathQuatFromAxisAngle(&q, &unit, angle);
    QMathMatrix fromQuat = Filled(0.0f);
    QMathMatrixFromQuat(&fromQuat, &q);
    QMathMatrixSetRotateAxis(&axisM, &axis, angle);
    ExpectNearMatrix(axisM, fromQuat, 5e-4f);
  }
}

TEST(Matrix, FromQuatOfATinyQuaternionScalesByItsSquaredLength) {
  // |q|^2 at most 0.0001: the factor is |q|^2 itself, not 2 / |q|^2.
  const QMathQuat q = {0.007f, 0, 0, 0.007f};
  const float n = q.x * q.x + q.w * q.w;
  ASSERT_LE(n, 0.0001f);
  QMathMatrix m = Filled(0.0f);
  QMathMatrixFromQuat(&m, &q);
  EXPECT_EQ(m.m[5], 1.0f - n * (q.x * q.x));
  EXPECT_EQ(m.m[6], n * (q.w * q.x));
  EXPECT_EQ(m.m[9], n * (-q.w * q.x));
}

}  // namespace
