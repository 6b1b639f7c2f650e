#pragma once
// The debug log: silent unless KORVENA_DEBUG_LOG names a file, to which each
// line is appended as it is written.
void debuglog_Printf(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
// Closes the file so that a changed KORVENA_DEBUG_LOG is read again (tests).
void debuglog_Reset();
