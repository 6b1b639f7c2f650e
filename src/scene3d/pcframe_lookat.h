#pragma once
// A frame packet's camera at an eye looking at a target (scene metres: x
// along the pitch, y up, z across), level with no roll: how still cameras are
// posed where no match camera runs.
#include <cmath>
#include <cstdint>

#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"

inline void pcframe_CameraLookAt(FramePacket* p, const float eye[3], const float target[3]) {
  float f[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
  const float lf = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
  for (float& c : f) c /= lf;
  // right = up x forward with up (0, 1, 0), then up = forward x right.
  float r[3] = {f[2], 0.0f, -f[0]};
  const float lr = std::sqrt(r[0] * r[0] + r[2] * r[2]);
  for (float& c : r) c /= lr;
  const float u[3] = {f[1] * r[2] - f[2] * r[1], f[2] * r[0] - f[0] * r[2], f[0] * r[1] - f[1] * r[0]};
  for (int row = 0; row < 3; ++row) {
    p->oCamera.aafRotation[row][0] = r[row];
    p->oCamera.aafRotation[row][1] = u[row];
    p->oCamera.aafRotation[row][2] = f[row];
    p->oCamera.aafRotation[row][3] = 0.0f;
    p->oCamera.aiEye[row] = static_cast<std::int32_t>(std::lround(eye[row] / SCENE3D_METRES_PER_UNIT));
  }
  p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 1;
}
