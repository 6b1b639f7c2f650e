// String helpers.
#include "shell/cstring.h"

#include <climits>

#include "framework/qdx_assert.h"

char* cstring_Copy(char* pszTo, const char* pszFrom) {
  QDX_ASSERT(pszTo);
  QDX_ASSERT(pszFrom);
  char* p = pszTo;
  while ((*p++ = *pszFrom++) != '\0') {
  }
  return pszTo;
}

char* cstring_CopyN(char* pszTo, const char* pszFrom, int32_t n) {
  QDX_ASSERT(pszTo);
  QDX_ASSERT(pszFrom);
  for (int32_t i = 0; i < n; i++) {
    pszTo[i] = pszFrom[i];
    if (pszFrom[i] == '\0') break;
  }
  return pszTo;
}

int32_t cstring_bEqual(const char* psz1, const char* psz2) {
  QDX_ASSERT(psz1);
  QDX_ASSERT(psz2);
  return cstring_iCompare(psz1, psz2) == 0;
}

int32_t cstring_iCompare(const char* pszA, const char* pszB) {
  while (*pszA != '\0' && *pszA == *pszB) {
    pszA++;
    pszB++;
  }
  return static_cast<int32_t>(static_cast<signed char>(*pszA)) - static_cast<int32_t>(static_cast<signed char>(*pszB));
}

int32_t cstring_iToInt(const char* pszText) {
  while (*pszText == '\t' || *pszText == '\n' || *pszText == ' ') pszText++;
  bool bNegative = false;
  if (*pszText == '+' || *pszText == '-') {
    bNegative = *pszText == '-';
    pszText++;
  }
  int64_t iValue = 0;
  for (; *pszText != '\0'; pszText++) {
    if (*pszText < '0' || *pszText > '9') return 0;
    if (iValue <= static_cast<int64_t>(INT32_MAX) + 1) iValue = iValue * 10 + (*pszText - '0');
  }
  if (bNegative) iValue = -iValue;
  if (iValue > INT32_MAX) return INT32_MAX;
  if (iValue < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(iValue);
}

char* cstring_CopyUpper(char* pszTo, const char* pszFrom) {
  char* p = pszTo;
  for (;; pszFrom++, p++) {
    char c = *pszFrom;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    *p = c;
    if (c == '\0') break;
  }
  return pszTo;
}

int32_t cstring_FieldCopy(const char** ppszCursor, char* pszField, int32_t cFieldCapacity, char cSeparator) {
  QDX_ASSERT(ppszCursor && *ppszCursor);
  QDX_ASSERT(pszField);
  QDX_ASSERT(cFieldCapacity > 0);
  const char* p = *ppszCursor;
  int32_t cTaken = 0;
  while (*p != cSeparator && *p != 26 && *p != '\0') {
    if (cTaken < cFieldCapacity - 1) pszField[cTaken] = *p;
    cTaken++;
    p++;
  }
  pszField[cTaken < cFieldCapacity - 1 ? cTaken : cFieldCapacity - 1] = '\0';
  *ppszCursor = *p == '\0' ? p : p + 1;
  return cTaken + 1;
}
