#pragma once
// Golden files: whether this run records them afresh (KORVENA_UPDATE_GOLDEN=1)
// instead of comparing with them, and how a test that rewrote one reports
// itself: skipped, since it compared nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace korvena_test {

inline bool UpdatingGolden() {
  const char* psz = std::getenv("KORVENA_UPDATE_GOLDEN");
  return psz != nullptr && std::strcmp(psz, "1") == 0;
}

// Marks the running test skipped (the rest of the test still runs, and a
// later failure still fails it).
inline void GoldenRewritten(const std::string& path) { GTEST_SKIP() << path << " rewritten, nothing compared"; }

}  // namespace korvena_test
