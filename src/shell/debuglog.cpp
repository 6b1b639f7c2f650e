// The debug log.
#include "shell/debuglog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

static std::FILE* s_pFile;
static bool s_bOpened;

void debuglog_Printf(const char* pszFormat, ...) {
  if (!s_bOpened) {
    s_bOpened = true;
    const char* pszPath = std::getenv("KORVENA_DEBUG_LOG");
    if (pszPath && *pszPath) s_pFile = std::fopen(pszPath, "a");
  }
  if (!s_pFile) return;
  va_list args;
  va_start(args, pszFormat);
  std::vfprintf(s_pFile, pszFormat, args);
  va_end(args);
  std::fflush(s_pFile);
}

void debuglog_Reset() {
  if (s_pFile) std::fclose(s_pFile);
  s_pFile = nullptr;
  s_bOpened = false;
}
