#pragma once
// The framework's math library: fixed point, trigonometry, vectors, matrices,
// quaternions, random numbers and integer 2D geometry. Main thread only.
#include "framework/math/qmath_types.h"
#include "framework/math/g_fixpt.h"
#include "framework/math/trigw.h"
#include "framework/math/qvector.h"
#include "framework/math/qmatrix.h"
#include "framework/math/qquat.h"
#include "framework/math/qrand.h"
#include "framework/math/qgeom.h"
