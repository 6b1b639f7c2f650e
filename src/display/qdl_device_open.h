#pragma once
// The device layer's procedural way to open a 3D device: the display opened
// full screen or windowed for a device of the device table, a render target
// with an attached z-buffer, a background material, one viewport over the
// target and the world, view and projection transforms with their handles.
// The game opens its renderers through the display context instead; this
// path stands beside it. Main thread only.
#include <cstdint>
#include <cstdio>

#include "display/q2dx.h"

// A matrix (row vectors: a point is the row [x y z 1] times the matrix; the
// translation is elements 12 to 14) and its handle (0 until it is first set).
struct QDLMatrix {
  float m[16];
  uint32_t handle;
};

// The viewport: a screen rectangle and the clip volume it shows.
struct QDLViewport {
  int32_t x, y, width, height;
  float clipX, clipY, clipWidth, clipHeight, minZ, maxZ;
  uint32_t created;
  uint32_t background;   // handle of the background material
};

struct QDLMaterial {
  uint32_t handle;
  float diffuse[4], ambient[4], specular[4];   // red, green, blue, alpha
  float power;
  uint32_t rampSize;
};

// An orientation (three rows: right, up, forward) and a position.
struct QDLTransform {
  float orientation[9];
  float position[3];
};

// The state of the procedurally opened device.
struct QDLOpenDevice {
  uint32_t created;
  int32_t device;              // index in the device table
  Q2DXSurface* pTarget;        // the render target (not owned)
  Q2DXSurface* pZBuffer;       // attached z-buffer (owned), null without one
  uint32_t zBufferDepth;       // its depth in bits, 0 without one
  QDLMaterial background;
  QDLViewport viewport;
  QDLMatrix world, view, projection;
  uint32_t inScene;
  uint32_t scenes;             // scenes ended
};

// Transform states of the setters and getters.
enum : uint32_t { QDLTRANSFORM_WORLD = 1, QDLTRANSFORM_VIEW = 2, QDLTRANSFORM_PROJECTION = 3 };

// Opens the display full screen in the device's mode (an exact match on its
// driver, with the given back buffer size or the mode's when 0) and creates
// the device on the back buffer; z asks for a z-buffer. The Q2DX result is
// kept as the layer's last error; 0, or 1 when the display or the device
// could not be made.
uint32_t QDLDeviceOpenFullScreen(void* pWindow, int32_t device, int32_t mode, int32_t width, int32_t height,
                                 uint32_t z);
// Opens the display windowed at the window's client size (no device is
// created). 0, or 1 with the Q2DX result as the last error.
uint32_t QDLDeviceOpenWindowed(void* pWindow, int32_t device);
// Creates the device on a render target: the z-buffer (the depth nearest 16
// of the device's z-buffer depths, video memory for a hardware device), the
// black background material, a viewport over the whole target made current,
// world and view identity, the projection with 1 at (0,0), (1,1), (2,2) and
// (2,3) and -1 at (3,2). 0, or 1 for an unknown device or no target.
uint32_t QDLDeviceCreate(int32_t device, Q2DXSurface* pTarget, uint32_t z);
// Releases the viewport, the z-buffer and the device. Safe when none.
void QDLDeviceClose();
const QDLOpenDevice* QDLDeviceOpened();

// A viewport at x, y of width x height: clip x -1, clip width 2, clip height
// 2 x height / width, clip y half the clip height, z from 0 to 1; created,
// given the background material and made current. The update only sets the
// values of the current one. 1 when no device is created or the size is 0.
uint32_t QDLDeviceViewportSetup(int32_t x, int32_t y, int32_t width, int32_t height);
uint32_t QDLDeviceViewportUpdate(int32_t x, int32_t y, int32_t width, int32_t height);

// The transforms: a setter copies the matrix and gives it a handle (a new one
// the first time, kept after); a getter copies it out. 1 without a device or
// for another state.
uint32_t QDLDeviceTransformSet(uint32_t state, const float* pMatrix);
uint32_t QDLDeviceTransformGet(uint32_t state, float* pMatrix);
uint32_t QDLDeviceWorldSet(const float* pMatrix);
uint32_t QDLDeviceViewSet(const float* pMatrix);
uint32_t QDLDeviceProjectionSet(const float* pMatrix);

// A scene: 1 without a device, for a begin inside a scene or an end outside one.
uint32_t QDLDeviceSceneBegin();
uint32_t QDLDeviceSceneEnd();

// The matrix of a transform (orientation rows, position as translation),
// then rotated about x, y and z by the three angles in radians, each applied
// only when its magnitude exceeds 0.0001.
void QDLMatrixFromTransform(float* pOut, const QDLTransform* pTransform, float angleX, float angleY, float angleZ);
// A perspective projection: x and y scaled by cot(fov / 2), z mapped from
// near..far onto 0..1, w the view depth.
void QDLMatrixPerspective(float* pOut, float nearZ, float farZ, float fieldOfView);
// The view matrix of a camera at the transform: the inverse of its matrix
// (the orientation transposed, the position negated and turned).
void QDLMatrixView(float* pOut, const QDLTransform* pTransform);

// Writes the device's 640 x 480 x 16 mode as one record: u32 1 and the mode's
// six words, or u32 0 when the device has no such mode (or is unknown).
// False when the file cannot be written.
bool QDLDeviceModeRecordWrite(FILE* pFile, int32_t device);
