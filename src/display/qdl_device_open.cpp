// The device layer's procedural device: opening, viewport, transforms and
// the matrix helpers.
#include "display/qdl_device_open.h"

#include <cmath>
#include <cstring>

#include "display/qdl_device.h"
#include "platform/window.h"

namespace {

QDLOpenDevice g_open = {};
uint32_t g_nextMatrixHandle = 1;
uint32_t g_nextMaterialHandle = 1;

void Identity(float* m) {
  std::memset(m, 0, 16 * sizeof(float));
  m[0] = m[5] = m[10] = m[15] = 1.0f;
}

// out = a * b (row vectors), out may be either input.
void Multiply(float* out, const float* a, const float* b) {
  float r[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 4; ++k) s += a[i * 4 + k] * b[k * 4 + j];
      r[i * 4 + j] = s;
    }
  std::memcpy(out, r, sizeof r);
}

// A rotation by the angle about axis 0 (x), 1 (y) or 2 (z).
void Rotation(float* m, int axis, float angle) {
  Identity(m);
  const float c = std::cos(angle), s = std::sin(angle);
  // The two axes turned, in the order that gives the left-handed turn.
  const int a = (axis + 1) % 3, b = (axis + 2) % 3;
  m[a * 4 + a] = c;
  m[a * 4 + b] = s;
  m[b * 4 + a] = -s;
  m[b * 4 + b] = c;
}

// Options of the Q2DX opening: 3D target, and the back buffer in video
// memory for a hardware device.
uint32_t OpenOption(const QDLDeviceInfo* pInfo) {
  return pInfo->hardware ? static_cast<uint32_t>(Q2DXOPT_3D | Q2DXOPT_VIDEO_BACK) : static_cast<uint32_t>(Q2DXOPT_3D);
}

QDLMatrix* TransformOf(uint32_t state) {
  switch (state) {
    case QDLTRANSFORM_WORLD: return &g_open.world;
    case QDLTRANSFORM_VIEW: return &g_open.view;
    case QDLTRANSFORM_PROJECTION: return &g_open.projection;
    default: return nullptr;
  }
}

void ViewportValues(int32_t x, int32_t y, int32_t width, int32_t height) {
  QDLViewport& v = g_open.viewport;
  v.x = x;
  v.y = y;
  v.width = width;
  v.height = height;
  v.clipX = -1.0f;
  v.clipWidth = 2.0f;
  v.clipHeight = 2.0f * static_cast<float>(height) / static_cast<float>(width);
  v.clipY = v.clipHeight / 2.0f;
  v.minZ = 0.0f;
  v.maxZ = 1.0f;
}

}  // namespace

uint32_t QDLDeviceOpenFullScreen(void* pWindow, int32_t device, int32_t mode, int32_t width, int32_t height,
                                 uint32_t z) {
  const QDLDeviceInfo* pInfo = device >= 0 ? QDLDeviceGet(static_cast<uint32_t>(device)) : nullptr;
  if (pInfo == nullptr || mode < 0 || static_cast<uint32_t>(mode) >= pInfo->modeCount) {
    QDLDeviceLastErrorSet(1);
    return 1;
  }
  const Q2DXMode& m = pInfo->modes[mode];
  const int32_t driver = static_cast<int32_t>(pInfo->driverIndex);
  const int32_t found = Q2DXFindMode(driver, static_cast<int32_t>(m.width), static_cast<int32_t>(m.height),
                                     static_cast<int32_t>(m.bitsPerPixel), Q2DXOPT_EXACT);
  if (found < 0) {
    QDLDeviceLastErrorSet(1);
    return 1;
  }
  const uint32_t r = Q2DXInitFullScreenMode(pWindow, driver, found, width, height, OpenOption(pInfo));
  QDLDeviceLastErrorSet(r);
  // A display that did not open has no back buffer to create the device on.
  if (r != 0) return 1;
  return QDLDeviceCreate(device, Q2DXBackBuffer(), z);
}

uint32_t QDLDeviceOpenWindowed(void* pWindow, int32_t device) {
  const QDLDeviceInfo* pInfo = device >= 0 ? QDLDeviceGet(static_cast<uint32_t>(device)) : nullptr;
  if (pInfo == nullptr || pWindow == nullptr) {
    QDLDeviceLastErrorSet(1);
    return 1;
  }
  int w = 0, h = 0;
  platform::windowSize(static_cast<platform::Window*>(pWindow), &w, &h);
  const uint32_t r = Q2DXInitWindowed(pWindow, w, h, OpenOption(pInfo));
  QDLDeviceLastErrorSet(r);
  return r != 0 ? 1 : 0;
}

uint32_t QDLDeviceCreate(int32_t device, Q2DXSurface* pTarget, uint32_t z) {
  const QDLDeviceInfo* pInfo = device >= 0 ? QDLDeviceGet(static_cast<uint32_t>(device)) : nullptr;
  if (pInfo == nullptr || pTarget == nullptr) return 1;
  QDLDeviceClose();
  g_open.device = device;
  g_open.pTarget = pTarget;
  if (z) {
    uint32_t depths[7];
    uint32_t n = 0;
    for (uint32_t flag = QDL_DDBD_32; flag <= QDL_DDBD_1; flag <<= 1)
      if (pInfo->deviceDesc.deviceZBufferBitDepth & flag) depths[n++] = QDLDDBDToDepth(flag);
    const uint32_t depth = QDLZBufferFormatPick(depths, n);
    if (depth != 0) {
      g_open.pZBuffer = Q2DXSurfaceCreateFormat(pTarget->width, pTarget->height, depth <= 8 ? 8 : 16,
                                                pInfo->hardware ? static_cast<uint32_t>(Q2DXSURF_VIDEO)
                                                                : static_cast<uint32_t>(Q2DXSURF_SYSTEM));
      if (g_open.pZBuffer != nullptr) g_open.zBufferDepth = depth;
    }
  }
  g_open.created = 1;
  // The background: black, opaque.
  QDLMaterial& b = g_open.background;
  b = QDLMaterial{};
  b.diffuse[3] = b.ambient[3] = b.specular[3] = 1.0f;
  b.power = 40.0f;
  b.rampSize = 32;
  b.handle = g_nextMaterialHandle++;
  QDLDeviceViewportSetup(0, 0, pTarget->width, pTarget->height);
  float m[16];
  Identity(m);
  QDLDeviceWorldSet(m);
  QDLDeviceViewSet(m);
  std::memset(m, 0, sizeof m);
  m[0] = m[5] = m[10] = m[11] = 1.0f;
  m[14] = -1.0f;
  QDLDeviceProjectionSet(m);
  return 0;
}

void QDLDeviceClose() {
  // The viewport, the z-buffer's attachment, then the device.
  g_open.viewport = QDLViewport{};
  if (g_open.pZBuffer != nullptr) Q2DXRelease(g_open.pZBuffer);
  g_open = QDLOpenDevice{};
  g_open.device = -1;
}

const QDLOpenDevice* QDLDeviceOpened() { return &g_open; }

uint32_t QDLDeviceViewportSetup(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!g_open.created || width <= 0 || height <= 0) return 1;
  ViewportValues(x, y, width, height);
  g_open.viewport.created = 1;
  g_open.viewport.background = g_open.background.handle;
  return 0;
}

uint32_t QDLDeviceViewportUpdate(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!g_open.created || !g_open.viewport.created || width <= 0 || height <= 0) return 1;
  ViewportValues(x, y, width, height);
  return 0;
}

uint32_t QDLDeviceTransformSet(uint32_t state, const float* pMatrix) {
  QDLMatrix* t = TransformOf(state);
  if (!g_open.created || t == nullptr || pMatrix == nullptr) return 1;
  std::memcpy(t->m, pMatrix, sizeof t->m);
  if (t->handle == 0) t->handle = g_nextMatrixHandle++;
  return 0;
}

uint32_t QDLDeviceTransformGet(uint32_t state, float* pMatrix) {
  const QDLMatrix* t = TransformOf(state);
  if (!g_open.created || t == nullptr || pMatrix == nullptr) return 1;
  std::memcpy(pMatrix, t->m, sizeof t->m);
  return 0;
}

uint32_t QDLDeviceWorldSet(const float* pMatrix) { return QDLDeviceTransformSet(QDLTRANSFORM_WORLD, pMatrix); }
uint32_t QDLDeviceViewSet(const float* pMatrix) { return QDLDeviceTransformSet(QDLTRANSFORM_VIEW, pMatrix); }
uint32_t QDLDeviceProjectionSet(const float* pMatrix) {
  return QDLDeviceTransformSet(QDLTRANSFORM_PROJECTION, pMatrix);
}

uint32_t QDLDeviceSceneBegin() {
  if (!g_open.created || g_open.inScene) return 1;
  g_open.inScene = 1;
  return 0;
}

uint32_t QDLDeviceSceneEnd() {
  if (!g_open.created || !g_open.inScene) return 1;
  g_open.inScene = 0;
  ++g_open.scenes;
  return 0;
}

void QDLMatrixFromTransform(float* pOut, const QDLTransform* pTransform, float angleX, float angleY, float angleZ) {
  Identity(pOut);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) pOut[r * 4 + c] = pTransform->orientation[r * 3 + c];
  for (int c = 0; c < 3; ++c) pOut[12 + c] = pTransform->position[c];
  const float angles[3] = {angleX, angleY, angleZ};
  for (int axis = 0; axis < 3; ++axis) {
    if (!(std::fabs(angles[axis]) > 0.0001f)) continue;
    float rot[16];
    Rotation(rot, axis, angles[axis]);
    Multiply(pOut, pOut, rot);
  }
}

void QDLMatrixPerspective(float* pOut, float nearZ, float farZ, float fieldOfView) {
  std::memset(pOut, 0, 16 * sizeof(float));
  const float half = fieldOfView * 0.5f;
  const float scale = std::cos(half) / std::sin(half);
  const float q = farZ / (farZ - nearZ);
  pOut[0] = scale;
  pOut[5] = scale;
  pOut[10] = q;
  pOut[11] = 1.0f;
  pOut[14] = -q * nearZ;
}

void QDLMatrixView(float* pOut, const QDLTransform* pTransform) {
  Identity(pOut);
  const float* o = pTransform->orientation;
  const float* p = pTransform->position;
  // The orientation's rows become columns; the translation is the negated
  // position expressed in them.
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) pOut[r * 4 + c] = o[c * 3 + r];
  for (int c = 0; c < 3; ++c) pOut[12 + c] = -(p[0] * o[c * 3 + 0] + p[1] * o[c * 3 + 1] + p[2] * o[c * 3 + 2]);
}

bool QDLDeviceModeRecordWrite(FILE* pFile, int32_t device) {
  if (pFile == nullptr) return false;
  const QDLDeviceInfo* pInfo = device >= 0 ? QDLDeviceGet(static_cast<uint32_t>(device)) : nullptr;
  const Q2DXMode* pMode = nullptr;
  if (pInfo != nullptr)
    for (uint32_t i = 0; i < pInfo->modeCount && pMode == nullptr; ++i)
      if (pInfo->modes[i].width == 640 && pInfo->modes[i].height == 480 && pInfo->modes[i].bitsPerPixel == 16)
        pMode = &pInfo->modes[i];
  uint8_t bytes[28];
  size_t n = 0;
  auto put = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[n++] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(pMode != nullptr ? 1u : 0u);
  if (pMode != nullptr) {
    put(pMode->width);
    put(pMode->height);
    put(pMode->bitsPerPixel);
    put(pMode->zero);
    put(pMode->testPassed);
    put(pMode->spare);
  }
  return std::fwrite(bytes, 1, n, pFile) == n;
}
