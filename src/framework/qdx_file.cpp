#include "framework/qdx_file.h"

#include <sys/types.h>

#include <cstring>
#include <string>

#include "framework/qdx_assert.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"

namespace {

QDXFile* qdxfile_poHead = nullptr;
std::uint32_t qdxfile_cOpen = 0;

const char* ModeString(std::uint8_t uMode) {
  switch (uMode) {
    case QDXFILE_MODE_READ: return "rb";
    case QDXFILE_MODE_WRITE: return "wb";
    case QDXFILE_MODE_APPEND: return "a+b";
    case QDXFILE_MODE_UPDATE_WRITE: return "w+b";
    case QDXFILE_MODE_UPDATE_READ: return "r+b";
    default: return nullptr;
  }
}

bool IsUpdate(const QDXFile* poFile) {
  return poFile->uMode == QDXFILE_MODE_UPDATE_WRITE || poFile->uMode == QDXFILE_MODE_UPDATE_READ;
}

void CopyOut(char* pszOut, const char* pBegin, std::size_t uLength) {
  if (!pszOut) return;
  if (uLength > QDX_PATH_MAX - 1) uLength = QDX_PATH_MAX - 1;
  std::memcpy(pszOut, pBegin, uLength);
  pszOut[uLength] = '\0';
}

}  // namespace

QDXFile* QDXFileOpen(const char* pszName, std::uint8_t uFlag, std::uint8_t uMode) {
  const char* pszMode = ModeString(uMode);
  if (!pszName || !pszMode) return nullptr;
  std::FILE* pFile = platform::openFile(pszName, pszMode);
  if (!pFile) return nullptr;
  auto* poFile = new QDXFile{uMode, uFlag, qdxfile_poHead, nullptr, pFile};
  if (qdxfile_poHead) qdxfile_poHead->pPrev = poFile;
  qdxfile_poHead = poFile;
  qdxfile_cOpen++;
  return poFile;
}

QDXFile* QDXFileOpenRead(const char* pszName, std::uint8_t uFlag) { return QDXFileOpen(pszName, uFlag, QDXFILE_MODE_READ); }

QDXFile* QDXFileFind(const QDXFile* poFile) {
  for (QDXFile* p = qdxfile_poHead; p; p = p->pNext)
    if (p == poFile) return p;
  return nullptr;
}

std::int32_t QDXFileIsOpen(const QDXFile* poFile) {
  const QDXFile* p = QDXFileFind(poFile);
  return p && p->pFile ? 1 : 0;
}

std::int32_t QDXFileClose(QDXFile* poFile) {
  if (!poFile || !QDXFileFind(poFile)) return 7;
  if (poFile->pPrev)
    poFile->pPrev->pNext = poFile->pNext;
  else
    qdxfile_poHead = poFile->pNext;
  if (poFile->pNext) poFile->pNext->pPrev = poFile->pPrev;
  qdxfile_cOpen--;
  if (poFile->pFile) std::fclose(poFile->pFile);
  delete poFile;
  return 0;
}

void QDXFileCloseAll() {
  while (qdxfile_poHead) QDXFileClose(qdxfile_poHead);
}

std::uint32_t QDXFileOpenCount() { return qdxfile_cOpen; }

std::size_t QDXFileRead(QDXFile* poFile, void* pBuffer, std::size_t n) {
  if (!poFile || !poFile->pFile || n == 0) return 0;
  if (IsUpdate(poFile)) fseeko(poFile->pFile, 0, SEEK_CUR);
  return std::fread(pBuffer, 1, n, poFile->pFile);
}

std::size_t QDXFileWrite(QDXFile* poFile, const void* pBuffer, std::size_t n) {
  if (!poFile || !poFile->pFile || n == 0) return 0;
  if (IsUpdate(poFile)) fseeko(poFile->pFile, 0, SEEK_CUR);
  return std::fwrite(pBuffer, 1, n, poFile->pFile);
}

std::int32_t QDXFileAtEnd(const QDXFile* poFile) {
  return !poFile || !poFile->pFile || std::feof(poFile->pFile) ? 1 : 0;
}

std::int32_t QDXFileSeek(QDXFile* poFile, std::int64_t iOffset, std::int32_t iWhence) {
  if (!poFile || !poFile->pFile) return -1;
  return fseeko(poFile->pFile, static_cast<off_t>(iOffset), iWhence);
}

std::int64_t QDXFileTell(const QDXFile* poFile) {
  if (!poFile || !poFile->pFile) return -1;
  return static_cast<std::int64_t>(ftello(poFile->pFile));
}

std::int64_t QDXFileSize(std::FILE* pFile) {
  if (!pFile) return -1;
  const off_t iHere = ftello(pFile);
  if (iHere < 0 || fseeko(pFile, 0, SEEK_END) != 0) return -1;
  const off_t iSize = ftello(pFile);
  if (fseeko(pFile, iHere, SEEK_SET) != 0) return -1;
  return static_cast<std::int64_t>(iSize);
}

std::int32_t QDXFileExists(const char* pszName) { return pszName && platform::fileExists(pszName) ? 1 : 0; }

std::size_t QDXFileSave(const char* pszName, const void* pBuffer, std::size_t n) {
  if (!pszName) return 0;
  const std::string oTarget = platform::resolvePath(pszName);
  // A temporary file of this process's own; leftovers of games killed while
  // saving into the folder go first.
  platform::removeStaleTemporariesBeside(oTarget);
  const std::string oTemp = platform::temporaryPathFor(oTarget);
  std::FILE* pFile = std::fopen(oTemp.c_str(), "wb");
  if (!pFile) return 0;
  const std::size_t uWritten = n ? std::fwrite(pBuffer, 1, n, pFile) : 0;
  const bool bClosed = std::fclose(pFile) == 0;
  if (uWritten != n || !bClosed || std::rename(oTemp.c_str(), oTarget.c_str()) != 0) {
    std::remove(oTemp.c_str());
    return 0;
  }
  return uWritten;
}

std::size_t QDXFileLoad(const char* pszName, void* pBuffer, std::size_t n, std::size_t uCapacity) {
  if (!pszName) return 0;
  std::FILE* pFile = platform::openFile(pszName, "rb");
  if (!pFile) return 0;
  std::size_t uWanted = n;
  if (uWanted == 0) {
    const std::int64_t iSize = QDXFileSize(pFile);
    uWanted = iSize > 0 ? static_cast<std::size_t>(iSize) : 0;
  }
  std::size_t uRead = 0;
  if (uWanted > 0 && uWanted <= uCapacity && pBuffer) uRead = std::fread(pBuffer, 1, uWanted, pFile);
  std::fclose(pFile);
  return uRead;
}

std::int32_t QDXFileCopy(const char* pszFrom, const char* pszTo, std::int32_t bFailIfExists) {
  if (!pszFrom || !pszTo) return 0;
  return platform::copyFile(pszFrom, pszTo, bFailIfExists != 0) ? 1 : 0;
}

std::int32_t QDXFileMove(const char* pszFrom, const char* pszTo) {
  if (!QDXFileCopy(pszFrom, pszTo, 1)) return 0;
  return QDXFileDelete(pszFrom);
}

std::int32_t QDXFileDelete(const char* pszName) { return pszName && platform::deleteFile(pszName) ? 1 : 0; }

std::uint32_t QDXFileGetAttributes(const char* pszName) {
  return pszName ? platform::fileAttributes(pszName) : platform::kFileAttributeInvalid;
}

std::int32_t QDXFileSetAttributes(const char* pszName, std::uint32_t uAttributes) {
  return pszName && platform::setFileAttributes(pszName, uAttributes) ? 1 : 0;
}

void QDXPathSplit(const char* pszPath, char* pszDrive, char* pszDirectory, char* pszName, char* pszExtension) {
  for (char* pszOut : {pszDrive, pszDirectory, pszName, pszExtension})
    if (pszOut) pszOut[0] = '\0';
  if (!pszPath) return;
  const std::string oPath(pszPath, strnlen(pszPath, QDX_PATH_MAX - 1));
  std::size_t uStart = 0;
  const std::size_t uColon = oPath.find(':');
  if (uColon != std::string::npos && uColon >= 1) {
    CopyOut(pszDrive, oPath.data() + uColon - 1, 2);
    uStart = uColon + 1;
  }
  const std::size_t uSlash = oPath.find_last_of("\\/");
  std::size_t uNameStart = uStart;
  if (uSlash != std::string::npos && uSlash >= uStart) {
    CopyOut(pszDirectory, oPath.data() + uStart, uSlash + 1 - uStart);
    uNameStart = uSlash + 1;
  }
  // The extension follows the last dot of the last path component only.
  const std::size_t uDot = oPath.find_last_of('.');
  std::size_t uNameEnd = oPath.size();
  if (uDot != std::string::npos && uDot >= uNameStart) {
    CopyOut(pszExtension, oPath.data() + uDot + 1, oPath.size() - uDot - 1);
    uNameEnd = uDot;
  }
  CopyOut(pszName, oPath.data() + uNameStart, uNameEnd - uNameStart);
}
