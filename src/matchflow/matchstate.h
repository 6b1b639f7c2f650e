#pragma once
// What belongs to one match, and the one start every match goes through.
//
// Each module keeps what belongs to one match together (one record where it
// can) and resets it beside it; matchstate.cpp lists them all, in the order
// the start resets them, with what is kept across matches on purpose.
#include <cstddef>
#include <cstring>

// One module's state of one match: its bytes as the start leaves them.
struct MatchStateBlock {
  const char* pszName;
  void* pv;
  std::size_t cb;
};

// A record put back as the program starts it, byte for byte (its padding
// too, so that two starts leave the same bytes whatever came before).
template <class T>
void matchstate_Restore(T& o, const T& oFresh) {
  std::memcpy(static_cast<void*>(&o), &oFresh, sizeof o);
}

// A record that starts as zeros put back to them.
template <class T>
void matchstate_Clear(T& o) {
  static constexpr T kFresh{};
  matchstate_Restore(o, kFresh);
}

// Starts a match: a new one (the in-match set-up, the demo's too) or the same
// sides again (Play Again, a history match replayed). Everything that belongs
// to one match is reset first, then the ball and, from it, the camera.
void matchflow_MatchBegin();

// The blocks, in the order the start resets them.
std::size_t matchstate_BlocksGet(const MatchStateBlock** ppaBlocks);
// Called at the end of every start, for a look at the state it leaves.
void matchstate_ObserverSet(void (*pfnObserver)());
