#pragma once
// Chunk files: a run of chunks to the end of the file, each a little-endian
// header (16-bit id, 32-bit length counting the 6 header bytes and the data)
// followed by the data. Chunks may nest: a chunk's data may itself be chunks.
#include <cstdint>
#include <cstdio>

enum : std::uint32_t { QDX_CHUNK_HEADER_SIZE = 6 };

// Why the last header read gave no chunk.
enum QDXChunkError : std::uint32_t {
  QDX_CHUNK_OK = 0,
  QDX_CHUNK_END = 1,          // the file (or a null file) is at its end
  QDX_CHUNK_TRUNCATED = 2,    // fewer than 6 header bytes left
  QDX_CHUNK_BAD_LENGTH = 3,   // length below 6 or past the end of the file
  QDX_CHUNK_IO = 4,           // the file could not be positioned
};

// Reader or writer state of one chunk.
struct QDXChunk {
  std::FILE* pFile;
  std::uint16_t uId;
  std::uint32_t uLength;
  std::int64_t iHeaderPos;  // file position of the chunk's header
  std::int64_t iEndPos;     // (reader) position just past the chunk
  QDXChunkError eError;     // (reader) why the last header read gave no chunk
};

void QDXChunkReset(QDXChunk* pState);

// Reads the next chunk header at the file's position and returns its id; 0
// for a null file, at the end of the file, or for a header that cannot be
// trusted (truncated, length below 6 or past the end), with eError telling
// which. Nothing is left half-read: the state is cleared.
std::uint16_t QDXChunkReadHeader(QDXChunk* pState, std::FILE* pFile);
// Reads size x count bytes only when they end within the chunk; otherwise
// reads nothing and returns 0. Returns the number of whole items read.
std::size_t QDXChunkRead(QDXChunk* pState, void* pBuffer, std::size_t uSize, std::size_t uCount);
// Moves to the chunk's end and clears the state: returns 0, or 1 when the
// file is already past the chunk's end. A null file returns 0.
int QDXChunkSkip(QDXChunk* pState);
// Back to the chunk's header.
void QDXChunkRewind(QDXChunk* pState);

// Starts a chunk at the file's position: writes the id and a length of 0.
// Returns the id (0 for a null file or when the header cannot be written).
std::uint16_t QDXChunkBegin(QDXChunk* pState, std::uint16_t uId, std::FILE* pFile);
// Writes size x count bytes of data; returns the number of whole items written.
std::size_t QDXChunkWrite(QDXChunk* pState, const void* pBuffer, std::size_t uSize, std::size_t uCount);
// Ends the chunk: its length becomes the position minus the header position,
// written into the header; the file returns to where writing stopped. Returns
// the length, or 0 when the file could not be positioned or written.
std::uint32_t QDXChunkEnd(QDXChunk* pState);

// Little-endian field helpers for chunk data.
void QDXPutU16(std::uint8_t* p, std::uint16_t u);
void QDXPutU32(std::uint8_t* p, std::uint32_t u);
std::uint16_t QDXGetU16(const std::uint8_t* p);
std::uint32_t QDXGetU32(const std::uint8_t* p);
