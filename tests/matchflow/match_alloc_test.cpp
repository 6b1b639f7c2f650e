// A whole match makes no heap allocation between the first kick-off and
// the end: every global operator new of this program is counted while a
// match runs its ticks, and the first few are reported with their stacks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "shell/global.h"
#include "support/match_harness.h"

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define KORVENA_ALLOC_STACKS 1
#endif

namespace {

bool g_bCounting = false;
bool g_bStarted = false;
bool g_bInside = false;
std::size_t g_cAllocations = 0;
constexpr std::size_t kStacksShown = 4;

void* Counted(std::size_t n) {
  if (g_bCounting && !g_bInside && match_harness::InMatchTick()) {
    g_bInside = true;
    if (g_cAllocations++ < kStacksShown) {
      std::fprintf(stderr, "allocation of %zu bytes during the match:\n", n);
#ifdef KORVENA_ALLOC_STACKS
      __sanitizer_print_stack_trace();
#endif
    }
    g_bInside = false;
  }
  return std::malloc(n ? n : 1);
}

void* CountedAligned(std::size_t n, std::align_val_t a) {
  if (g_bCounting && match_harness::InMatchTick()) g_cAllocations++;
  const std::size_t al = static_cast<std::size_t>(a);
  return std::aligned_alloc(al, (n + al - 1) / al * al);
}

}  // namespace

void* operator new(std::size_t n) {
  if (void* p = Counted(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  if (void* p = Counted(n)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Counted(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Counted(n); }
void* operator new(std::size_t n, std::align_val_t a) {
  if (void* p = CountedAligned(n, a)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n, std::align_val_t a) {
  if (void* p = CountedAligned(n, a)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

namespace mh = match_harness;

// Counting runs from the end of the first tick of open play to the end of
// the tick that reaches the end of the match, in the game's part of each
// tick (the harness's own records are not the game's).
void Window(std::int32_t, void*) {
  if (global.eGameMode == GAME_MODE_PLAY && !g_bStarted) g_bStarted = g_bCounting = true;
  if (global.eGameMode == GAME_MODE_MATCH_END) g_bCounting = false;
}

std::size_t AllocationsIn(const mh::Config& c, mh::Result* pr) {
  g_cAllocations = 0;
  g_bCounting = g_bStarted = false;
  *pr = mh::Run(c, nullptr, Window, nullptr);
  g_bCounting = false;
  return g_cAllocations;
}

TEST(MatchAllocations, NoneFromTheKickOffToTheEnd) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // Goals, celebrations and replays, restarts, extra time and a shoot-out;
  // then a monkey side pressing what a player would.
  mh::Config c;
  c.uSeed = 103;
  c.iLength = 2;
  c.iExtraTime = 1;
  c.bPenalties = 1;
  mh::Result r;
  EXPECT_EQ(AllocationsIn(c, &r), 0u) << r.Describe(c);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
  c.uSeed = 104;
  c.iExtraTime = 0;
  c.aeSide[0] = mh::SideKind::Monkey;
  EXPECT_EQ(AllocationsIn(c, &r), 0u) << r.Describe(c);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
}

}  // namespace
