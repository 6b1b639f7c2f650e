// The action replay's records.
#include "matchflow/replay.h"

#include "framework/qdx_assert.h"

ReplayFrame* replay_poFrames = nullptr;

namespace {
ReplaySide replay_aoSide[REPLAY_FRAMES];
}  // namespace

ReplaySide* replay_poSideGet(std::int32_t iFrame) {
  QDX_ASSERT(iFrame >= 0 && iFrame < REPLAY_FRAMES);
  return &replay_aoSide[iFrame];
}
