#pragma once
// The file layer: open file objects kept in a list, whole-file load and save,
// copy, move, delete, attributes and path splitting. Every name is a game
// path (backslashes, "..\" from the executable's folder, names matched
// without regard to case) resolved by the platform layer.
#include <cstddef>
#include <cstdint>
#include <cstdio>

enum : std::uint8_t {
  QDXFILE_MODE_READ = 1,          // "rb"
  QDXFILE_MODE_WRITE = 2,         // "wb"
  QDXFILE_MODE_APPEND = 3,        // "a+b"
  QDXFILE_MODE_UPDATE_WRITE = 4,  // "w+b"
  QDXFILE_MODE_UPDATE_READ = 5,   // "r+b"
};

struct QDXFile {
  std::uint8_t uMode;
  std::uint8_t uFlag;  // the caller's
  QDXFile* pNext;
  QDXFile* pPrev;
  std::FILE* pFile;
};

// A new open file object at the head of the open list; null when the file
// cannot be opened or the mode is unknown.
QDXFile* QDXFileOpen(const char* pszName, std::uint8_t uFlag, std::uint8_t uMode);
QDXFile* QDXFileOpenRead(const char* pszName, std::uint8_t uFlag);
// Closes and frees an object of the list; 0, or 7 for an object not in it.
std::int32_t QDXFileClose(QDXFile* poFile);
void QDXFileCloseAll();
// 1 when the object is in the open list and has a runtime file.
std::int32_t QDXFileIsOpen(const QDXFile* poFile);
// The object when it is in the open list, else null.
QDXFile* QDXFileFind(const QDXFile* poFile);
std::uint32_t QDXFileOpenCount();

// n bytes; in the update modes the stream is first sought to its position.
// Return the number of bytes read or written.
std::size_t QDXFileRead(QDXFile* poFile, void* pBuffer, std::size_t n);
std::size_t QDXFileWrite(QDXFile* poFile, const void* pBuffer, std::size_t n);
std::int32_t QDXFileAtEnd(const QDXFile* poFile);
// 0 on success (as fseek).
std::int32_t QDXFileSeek(QDXFile* poFile, std::int64_t iOffset, std::int32_t iWhence);
std::int64_t QDXFileTell(const QDXFile* poFile);
// Size of a runtime file, its position kept; -1 when it cannot be positioned.
std::int64_t QDXFileSize(std::FILE* pFile);

// 1 when the file opens for reading.
std::int32_t QDXFileExists(const char* pszName);
// Writes n bytes to a temporary file beside the target and renames it over
// the target, so a failed save leaves the old file intact. Returns the count
// written (0 when the file could not be replaced).
std::size_t QDXFileSave(const char* pszName, const void* pBuffer, std::size_t n);
// Reads n bytes (n = 0: the whole file) into a buffer of uCapacity bytes.
// When the bytes asked for do not fit, nothing is read and 0 is returned.
// Returns the count read.
std::size_t QDXFileLoad(const char* pszName, void* pBuffer, std::size_t n, std::size_t uCapacity);

// The system operations; 1 on success, 0 on failure.
std::int32_t QDXFileCopy(const char* pszFrom, const char* pszTo, std::int32_t bFailIfExists);
std::int32_t QDXFileMove(const char* pszFrom, const char* pszTo);
std::int32_t QDXFileDelete(const char* pszName);
// Attribute bits: 0x01 read-only, 0x10 directory, 0x80 normal; 0xFFFFFFFF
// when the file does not exist.
std::uint32_t QDXFileGetAttributes(const char* pszName);
std::int32_t QDXFileSetAttributes(const char* pszName, std::uint32_t uAttributes);

enum { QDX_PATH_MAX = 256 };
// Splits a path (at most 255 characters are looked at): drive "C:", directory
// up to and including the last '\' or '/', name, and extension (after the
// last '.' of the name, without the dot). Each output may be null; each holds
// QDX_PATH_MAX bytes.
void QDXPathSplit(const char* pszPath, char* pszDrive, char* pszDirectory, char* pszName, char* pszExtension);
