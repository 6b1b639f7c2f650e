#pragma once
// Data files by id: a table of relative paths that the portable game code
// opens, reads, sizes and seeks by number.
#include <cstdint>
#include <cstdio>

constexpr int32_t FILE_ID_MAX = 352;
constexpr int32_t FILE_PATH_SIZE = 70;

// The entry's path; null for an id past the table.
const char* file_pszGetPath(int32_t iID);
// Opens the file for binary reading through the path resolver; null when the
// id is past the table, names no PC file, or the file is missing.
std::FILE* file_Open(int32_t iID);
void file_Close(std::FILE* pFile);
// The size; the file is left positioned at its start.
int32_t file_iGetSize(std::FILE* pFile);
int32_t file_Read(std::FILE* pFile, void* pvBuffer, int32_t n);
// whence 0 from the start, 1 from the current position, 2 from the end; any
// other whence does nothing.
void file_Seek(std::FILE* pFile, int32_t iOffset, int32_t iWhence);
