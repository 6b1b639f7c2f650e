// Chunk files read chunk by chunk, each chunk's data read in pieces and, when
// it looks like chunks itself, walked one level down, the way loaders of
// nested chunk files do.
#include <cstdio>
#include <vector>

#include "bank_seeds.h"
#include "framework/qdx_chunk.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  korvena_fuzz::WriteBankSeeds(dir);
  // Nested chunks written by the chunk writer.
  const std::string path = dir + "/nested.chunks";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  QDXChunk outer, inner;
  QDXChunkBegin(&outer, 1, f);
  for (uint16_t id = 10; id < 13; ++id) {
    QDXChunkBegin(&inner, id, f);
    const uint8_t body[5] = {static_cast<uint8_t>(id), 1, 2, 3, 4};
    QDXChunkWrite(&inner, body, 1, sizeof body);
    QDXChunkEnd(&inner);
  }
  QDXChunkEnd(&outer);
  QDXChunkBegin(&outer, 2, f);
  QDXChunkEnd(&outer);
  std::fclose(f);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!f) return 0;
  QDXChunk chunk;
  uint8_t buffer[64];
  int guard = 0;
  while (QDXChunkReadHeader(&chunk, f) != 0 && ++guard < 4096) {
    const QDXChunk outer = chunk;
    QDXChunkRead(&chunk, buffer, 1, sizeof buffer);
    QDXChunkRead(&chunk, buffer, 4, 2);
    // One level down, inside the chunk's data.
    QDXChunkRewind(&chunk);
    QDXChunkReadHeader(&chunk, f);
    QDXChunk sub;
    int subGuard = 0;
    while (ftello(f) < outer.iEndPos && QDXChunkReadHeader(&sub, f) != 0 && ++subGuard < 4096) {
      if (sub.iEndPos > outer.iEndPos) break;
      QDXChunkRead(&sub, buffer, 2, 3);
      if (QDXChunkSkip(&sub) != 0) break;
    }
    std::fseek(f, static_cast<long>(outer.iHeaderPos), SEEK_SET);
    chunk = outer;
    if (QDXChunkSkip(&chunk) != 0) break;
  }
  std::fclose(f);
  return 0;
}
