#pragma once
// Assertions that report the expression, the source file and the line. They
// stay on in every build: fixed tables assert their limits instead of growing.

[[noreturn]] void QDXAssertFail(const char* expression, const char* file, int line);

#define QDX_ASSERT(expr) \
  ((expr) ? static_cast<void>(0) : QDXAssertFail(#expr, __FILE__, __LINE__))
