#pragma once
// String helpers of the portable game code. Texts are Windows-1252 bytes.
#include <cstdint>

char* cstring_Copy(char* pszTo, const char* pszFrom);
// Copies at most n characters; the terminator is copied when it comes within n.
char* cstring_CopyN(char* pszTo, const char* pszFrom, int32_t n);
int32_t cstring_bEqual(const char* psz1, const char* psz2);
// Signed difference of the first differing characters (as signed bytes).
int32_t cstring_iCompare(const char* pszA, const char* pszB);
// Leading tabs, line feeds and spaces, an optional sign, then decimal digits to
// the end; any other character gives 0. Values beyond 32 bits saturate.
int32_t cstring_iToInt(const char* pszText);
char* cstring_CopyUpper(char* pszTo, const char* pszFrom);
// Copies from *ppszCursor into pszField until the separator, a Ctrl-Z (26) or
// the end of the text; at most cFieldCapacity - 1 characters are stored and the
// field is always terminated. The cursor moves one past a separator or
// Ctrl-Z (it stays on a terminator). Returns the characters taken plus 1.
int32_t cstring_FieldCopy(const char** ppszCursor, char* pszField, int32_t cFieldCapacity, char cSeparator);
