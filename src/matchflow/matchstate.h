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

// Starts a new match (the in-match set-up, the demo's too): everything that
// belongs to one match is reset first, then the ball and, from it, the
// camera. The sides' team sheets are kept as the front end hands them over,
// for the same friendly played again.
void matchflow_MatchBegin();

// How the same sides start again.
enum class MatchAgain {
  // Play Again after a friendly or a quick start: from the team sheets its
  // first match started from (nobody substituted, booked or suspended by the
  // matches played since, the same line-up and formation).
  kFriendly,
  // A drawn tournament match replayed: the sheets as the tournament carries
  // them, the bookings of its matches among them.
  kTournament,
};
// Starts the same sides again: reset as a new match is, then the team sheets
// by eKind.
void matchflow_MatchBeginAgain(MatchAgain eKind);

// The blocks, in the order the start resets them.
std::size_t matchstate_BlocksGet(const MatchStateBlock** ppaBlocks);
// Called at the end of every start, for a look at the state it leaves.
void matchstate_ObserverSet(void (*pfnObserver)());
