#pragma once
// Scripted camera flights for the presentation scenes of a match: the match
// start, the walk-on and the half-time and full-time sequences pick one of
// three fixed paths, which the "VIR" camera then plays key by key.
#include <cstdint>

#include "matchflow/camera.h"

constexpr std::int32_t VIRTDIR_PATHS = 3;

// The keys of path n (1..3) and their count.
const CameraPathKey* virtdir_poPathGet(std::int32_t iPath);
std::int32_t virtdir_iPathKeysGet(std::int32_t iPath);

void virtdir_PathSet(std::int32_t iPath);
void virtdir_Update();
std::int32_t virtdir_Abs(std::int32_t n);
