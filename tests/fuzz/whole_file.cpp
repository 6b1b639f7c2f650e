// Whole-file loads of the file layer: into buffers too small, exactly fitting
// and larger, and read through an open file object with seeks.
#include <vector>

#include "framework/qdx_file.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string text = "written by the file layer\n";
  QDXFileSave((dir + "/saved.bin").c_str(), text.data(), text.size());
  const uint8_t bytes[16] = {0, 1, 2, 3, 255, 254, 128, 127, 10, 13, 0, 0, 'K', 'F', 0, 1};
  QDXFileSave((dir + "/binary.bin").c_str(), bytes, sizeof bytes);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = korvena_fuzz::WriteInput(data, size, "whole.bin");
  std::vector<uint8_t> buffer(size + 8);
  const size_t all = QDXFileLoad(path.c_str(), buffer.data(), 0, buffer.size());
  if (all != size) korvena_fuzz::Fail("a whole-file load read the wrong count");
  uint8_t small[16];
  const size_t some = QDXFileLoad(path.c_str(), small, 0, sizeof small);
  if (some != (size <= sizeof small ? size : 0)) korvena_fuzz::Fail("a load into a small buffer overran or lost bytes");
  // The first byte asks for a count: more than the buffer holds reads nothing.
  const size_t wanted = size > 0 ? data[0] : 0;
  const size_t part = QDXFileLoad(path.c_str(), small, wanted, sizeof small);
  if (part > sizeof small) korvena_fuzz::Fail("a load overran its buffer");
  if (QDXFile* f = QDXFileOpenRead(path.c_str(), 0)) {
    uint8_t piece[7];
    for (size_t at = 0; at < size && at < 4096; at += 97) {
      QDXFileSeek(f, static_cast<int64_t>(at), SEEK_SET);
      QDXFileRead(f, piece, sizeof piece);
    }
    QDXFileSeek(f, -3, SEEK_END);
    QDXFileRead(f, piece, sizeof piece);
    QDXFileClose(f);
  }
  return 0;
}
