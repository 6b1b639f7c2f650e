// Scripted camera flights: straight moves of eye and target at a constant
// speed per key, a hold, then the next key.
#include "matchflow/virtdir.h"

#include "framework/qdx_assert.h"

namespace {
// clang-format off
constexpr CameraPathKey kPath1[] = {
    {360, {0, 480, -7200}, {0, 480, -3600}, {-8640, 480, 4320}, {8640, 960, 4320}, 0, -1},
    {60, {0, 480, -3600}, {0, 480, -4032}, {8640, 960, 4320}, {9072, 1104, 4320}, 30, -1},
    {180, {-11520, 384, -1440}, {-11520, 384, 1440}, {0, 960, 5760}, {0, 960, -5760}, 0, -1},
    {60, {-11520, 384, 1440}, {-11520, 384, 1728}, {0, 960, -5760}, {0, 960, -6048}, 45, -1},
    {150, {0, 1440, -7200}, {864, 1200, -1728}, {288, 192, -864}, {0, 192, 0}, 45, -2},
};
constexpr CameraPathKey kPath2[] = {
    {600, {720, 480, -5328}, {-720, 480, -5328}, {-720, 0, 0}, {720, 0, 0}, 0, -1},
    {360, {-720, 480, -5328}, {0, 2400, -10080}, {720, 0, 0}, {7200, 1440, 5760}, 45, -1},
    {180, {12240, 1680, 0}, {864, 576, -1728}, {0, 240, 0}, {0, 192, 0}, 45, -2},
};
constexpr CameraPathKey kPath3[] = {
    {420, {0, 480, -5040}, {0, 2400, -10080}, {0, 240, 5760}, {0, 1440, 5760}, 45, -1},
    {360, {0, 2400, -10080}, {0, 2400, -10080}, {0, 1440, 5760}, {7200, 1440, 5760}, 45, -1},
    {360, {12240, 720, 0}, {12240, 2400, 0}, {0, 480, 0}, {0, 2400, 0}, 45, -2},
};
// clang-format on

// Every key divides its distance by its frame count.
template <std::size_t N>
constexpr bool virtdir_bFramesPositive(const CameraPathKey (&ao)[N]) {
  for (const CameraPathKey& k : ao)
    if (k.iFrames <= 0) return false;
  return true;
}
static_assert(virtdir_bFramesPositive(kPath1) && virtdir_bFramesPositive(kPath2) && virtdir_bFramesPositive(kPath3),
              "every camera path key needs at least one frame");

struct PathEntry {
  const CameraPathKey* po;
  std::int32_t c;
};
constexpr PathEntry kPaths[VIRTDIR_PATHS] = {{kPath1, 5}, {kPath2, 3}, {kPath3, 3}};
}  // namespace

const CameraPathKey* virtdir_poPathGet(std::int32_t iPath) {
  return iPath >= 1 && iPath <= VIRTDIR_PATHS ? kPaths[iPath - 1].po : nullptr;
}

std::int32_t virtdir_iPathKeysGet(std::int32_t iPath) {
  return iPath >= 1 && iPath <= VIRTDIR_PATHS ? kPaths[iPath - 1].c : 0;
}

std::int32_t virtdir_Abs(std::int32_t n) { return n < 0 ? -n : n; }

void virtdir_PathSet(std::int32_t iPath) {
  camera_Push(CAMERA_VIR);
  camera_TargetSourceSet(0, camera_TargetNone);
  CameraView* v = camera_poViewGet();
  if (const CameraPathKey* po = virtdir_poPathGet(iPath)) v->poPath = po;
  v->iKey = 0;
  v->iPhase = 0;
}

void virtdir_Update() {
  CameraView* v = camera_poViewGet();
  if (!v->poPath) return;
  const CameraPathKey& k = v->poPath[v->iKey];
  switch (v->iPhase) {
    case 0:
      v->iCounter = k.iFrames;
      for (std::int32_t i = 0; i < 3; i++) {
        v->aiEye[i] = k.aiEyeStart[i];
        v->aiTarget[i] = k.aiTargetStart[i];
        v->aiEyeStep[i] = (k.aiEyeEnd[i] - k.aiEyeStart[i]) / k.iFrames;
        v->aiTargetStep[i] = (k.aiTargetEnd[i] - k.aiTargetStart[i]) / k.iFrames;
      }
      v->iPhase = 1;
      break;
    case 1:
      for (std::int32_t i = 0; i < 3; i++) {
        v->aiEye[i] += v->aiEyeStep[i];
        v->aiTarget[i] += v->aiTargetStep[i];
      }
      if (v->iCounter < 1) v->iPhase = 2;
      else v->iCounter--;
      break;
    case 2:
      v->iCounter = k.iHold;
      v->iPhase = 3;
      break;
    case 3:
      if (v->iCounter < 1) v->iPhase = 4;
      else v->iCounter--;
      break;
    case 4:
      if (k.iNext == -2) {
        v->iPhase = 5;
      } else {
        v->iKey = k.iNext == -1 ? v->iKey + 1 : k.iNext;
        v->iPhase = 0;
      }
      break;
    case 5: break;
    default: QDX_ASSERT(!"unknown camera path phase"); break;
  }
}
