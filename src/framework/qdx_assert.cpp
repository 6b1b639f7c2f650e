#include "framework/qdx_assert.h"

#include <cstdio>
#include <cstdlib>

void QDXAssertFail(const char* expression, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, file, line);
  std::fflush(stderr);
  std::abort();
}
