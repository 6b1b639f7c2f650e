#include "framework/qdx_chunk.h"

#include <sys/types.h>

#include <cstring>

#include "framework/qdx_assert.h"

namespace {

std::int64_t Tell(std::FILE* pFile) { return static_cast<std::int64_t>(ftello(pFile)); }

bool Seek(std::FILE* pFile, std::int64_t iPos) { return fseeko(pFile, static_cast<off_t>(iPos), SEEK_SET) == 0; }

// Size of the file; -1 when it cannot be positioned. The position is kept.
std::int64_t FileSize(std::FILE* pFile) {
  const std::int64_t iHere = Tell(pFile);
  if (iHere < 0 || fseeko(pFile, 0, SEEK_END) != 0) return -1;
  const std::int64_t iSize = Tell(pFile);
  if (!Seek(pFile, iHere)) return -1;
  return iSize;
}

}  // namespace

void QDXPutU16(std::uint8_t* p, std::uint16_t u) {
  p[0] = static_cast<std::uint8_t>(u);
  p[1] = static_cast<std::uint8_t>(u >> 8);
}

void QDXPutU32(std::uint8_t* p, std::uint32_t u) {
  for (int i = 0; i < 4; i++) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::uint16_t QDXGetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t QDXGetU32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

void QDXChunkReset(QDXChunk* pState) {
  QDX_ASSERT(pState != nullptr);
  std::memset(pState, 0, sizeof(*pState));
}

std::uint16_t QDXChunkReadHeader(QDXChunk* pState, std::FILE* pFile) {
  QDXChunkReset(pState);
  pState->eError = QDX_CHUNK_END;
  if (!pFile) return 0;
  const std::int64_t iHere = Tell(pFile);
  const std::int64_t iSize = FileSize(pFile);
  if (iHere < 0 || iSize < 0) {
    pState->eError = QDX_CHUNK_IO;
    return 0;
  }
  if (iHere >= iSize) return 0;
  if (iSize - iHere < QDX_CHUNK_HEADER_SIZE) {
    pState->eError = QDX_CHUNK_TRUNCATED;
    return 0;
  }
  std::uint8_t abHeader[QDX_CHUNK_HEADER_SIZE];
  if (std::fread(abHeader, 1, sizeof(abHeader), pFile) != sizeof(abHeader)) {
    Seek(pFile, iHere);
    pState->eError = QDX_CHUNK_TRUNCATED;
    return 0;
  }
  const std::uint16_t uId = QDXGetU16(abHeader);
  const std::uint32_t uLength = QDXGetU32(abHeader + 2);
  if (uLength < QDX_CHUNK_HEADER_SIZE || static_cast<std::int64_t>(uLength) > iSize - iHere) {
    // Left where it was: a caller that skips on cannot loop or leave the file.
    Seek(pFile, iHere);
    pState->eError = QDX_CHUNK_BAD_LENGTH;
    return 0;
  }
  pState->pFile = pFile;
  pState->uId = uId;
  pState->uLength = uLength;
  pState->iHeaderPos = iHere;
  pState->iEndPos = iHere + uLength;
  pState->eError = QDX_CHUNK_OK;
  return uId;
}

std::size_t QDXChunkRead(QDXChunk* pState, void* pBuffer, std::size_t uSize, std::size_t uCount) {
  QDX_ASSERT(pState != nullptr);
  if (!pState->pFile || uSize == 0 || uCount == 0) return 0;
  if (uCount > static_cast<std::size_t>(INT64_MAX) / uSize) return 0;
  const std::int64_t iBytes = static_cast<std::int64_t>(uSize * uCount);
  const std::int64_t iHere = Tell(pState->pFile);
  if (iHere < pState->iHeaderPos + QDX_CHUNK_HEADER_SIZE || iHere > pState->iEndPos ||
      iBytes > pState->iEndPos - iHere)
    return 0;
  return std::fread(pBuffer, uSize, uCount, pState->pFile);
}

int QDXChunkSkip(QDXChunk* pState) {
  QDX_ASSERT(pState != nullptr);
  std::FILE* pFile = pState->pFile;
  if (!pFile) return 0;
  const std::int64_t iHere = Tell(pFile);
  const std::int64_t iEnd = pState->iEndPos;
  QDXChunkReset(pState);
  if (iHere > iEnd) return 1;
  Seek(pFile, iEnd);
  return 0;
}

void QDXChunkRewind(QDXChunk* pState) {
  QDX_ASSERT(pState != nullptr);
  if (pState->pFile) Seek(pState->pFile, pState->iHeaderPos);
}

std::uint16_t QDXChunkBegin(QDXChunk* pState, std::uint16_t uId, std::FILE* pFile) {
  QDXChunkReset(pState);
  if (!pFile) return 0;
  const std::int64_t iHere = Tell(pFile);
  if (iHere < 0) return 0;
  std::uint8_t abHeader[QDX_CHUNK_HEADER_SIZE];
  QDXPutU16(abHeader, uId);
  QDXPutU32(abHeader + 2, 0);
  if (std::fwrite(abHeader, 1, sizeof(abHeader), pFile) != sizeof(abHeader)) return 0;
  pState->pFile = pFile;
  pState->uId = uId;
  pState->iHeaderPos = iHere;
  return uId;
}

std::size_t QDXChunkWrite(QDXChunk* pState, const void* pBuffer, std::size_t uSize, std::size_t uCount) {
  QDX_ASSERT(pState != nullptr);
  if (!pState->pFile || uSize == 0 || uCount == 0) return 0;
  return std::fwrite(pBuffer, uSize, uCount, pState->pFile);
}

std::uint32_t QDXChunkEnd(QDXChunk* pState) {
  QDX_ASSERT(pState != nullptr);
  std::FILE* pFile = pState->pFile;
  if (!pFile) return 0;
  const std::int64_t iHere = Tell(pFile);
  if (iHere < pState->iHeaderPos + QDX_CHUNK_HEADER_SIZE || iHere - pState->iHeaderPos > INT64_C(0xFFFFFFFF))
    return 0;
  const auto uLength = static_cast<std::uint32_t>(iHere - pState->iHeaderPos);
  std::uint8_t abLength[4];
  QDXPutU32(abLength, uLength);
  if (!Seek(pFile, pState->iHeaderPos + 2)) return 0;
  const bool bWritten = std::fwrite(abLength, 1, sizeof(abLength), pFile) == sizeof(abLength);
  if (!Seek(pFile, iHere) || !bWritten) return 0;
  pState->uLength = uLength;
  return uLength;
}
