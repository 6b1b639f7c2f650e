#pragma once
// The scene camera: view matrix, perspective projection into the clip space
// 0 <= x, y, z <= w, the viewport to screen pixels and their products.
#include <cstdint>

#include "render3d/q3d.h"

void Q3DCameraSetWindow(Q3DCamera* pCamera, float cx, float cy, float halfWidth);
// size: width and height in pixels.
void Q3DCameraSetScreen(Q3DCamera* pCamera, const uint32_t* pSize, float aspect);
void Q3DCameraUpdate(Q3DCamera* pCamera);
void Q3DCameraPositionGet(const Q3DCamera* pCamera, QMathVec3* pOut);
void Q3DCameraFarPointGet(const Q3DCamera* pCamera, QMathVec3* pOut);

// What the last Q3DCameraUpdate recomputed (its work mask: 32 clamp, 2
// projection, 4 VP, 8 viewport, 16 VPS); for tests.
uint32_t Q3DCameraLastWork();
