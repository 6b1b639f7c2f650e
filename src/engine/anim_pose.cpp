// The skeleton walk: the segments hang on a matrix stack, saved before the
// first segment of each chain and restored after its last, so that both arms
// and the neck start from the chest and both legs from the root.
#include "engine/anim_pose.h"

#include "engine/anim_data.h"
#include "framework/math/qmatrix.h"

namespace {

// Save the current matrix before these segments; restore it after those.
constexpr bool kPush[ANIM_SEGMENTS] = {false, true, false, true, false, false, true, false, false,
                                       false, false, true, false, false, false, false, false};
constexpr bool kPop[ANIM_SEGMENTS] = {false, false, false, false, false, true, false, false, true,
                                      false, true, false, false, true, false, false, false};

}  // namespace

void animpose_SegmentMatrices(const float* pfFrame, int bMirror, std::uint16_t uAngle16, QMathMatrix aOut[17]) {
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  QMathMatrixSetRotateY(&m, uAngle16);
  if (bMirror) {
    // diag(1, 1, -1) applied first: the body's lateral row of the turn flips.
    m.m[8] = -m.m[8];
    m.m[9] = -m.m[9];
    m.m[10] = -m.m[10];
  }
  QMathMatrix stack[ANIM_SEGMENTS];
  int depth = 0;
  for (int s = 0; s < ANIM_SEGMENTS; ++s) {
    const float* p = pfFrame + s * 7;
    if (kPush[s]) stack[depth++] = m;
    QMathMatrix r;
    QMathMatrixIdentity(&r);
    const QMathQuat q = {p[3], p[4], p[5], p[6]};
    QMathMatrixFromQuat(&r, &q);
    r.m[12] = p[0];
    r.m[13] = p[1];
    r.m[14] = p[2];
    QMathMatrix next;
    QMathMatrixMultiplyAffine(&next, &r, &m);
    m = next;
    aOut[s] = m;
    if (kPop[s]) m = stack[--depth];
  }
}

void animpose_JointsWorld(const float* pfFrame, int bMirror, std::uint16_t uAngle16, std::int32_t x, std::int32_t height,
                          std::int32_t y, std::int32_t aiOut[17][3]) {
  QMathMatrix mats[ANIM_SEGMENTS];
  animpose_SegmentMatrices(pfFrame, bMirror, uAngle16, mats);
  const std::int32_t origin[3] = {x, height, y};
  for (int s = 0; s < ANIM_SEGMENTS; ++s) {
    for (int c = 0; c < 3; ++c) {
      aiOut[s][c] = static_cast<std::int32_t>(mats[s].m[12 + c] * ANIM_METRES_TO_UNITS) + origin[c];
    }
  }
}
