// MIDI stream files: the header's data size against the file, and the record
// that loads.
#include <cstring>
#include <vector>

#include "audio/qal.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  std::vector<uint8_t> b(52, 0);
  std::memcpy(b.data(), "RIFF", 4);
  std::memcpy(b.data() + 8, "MIDS", 4);
  b[20] = 0xE0;
  b[21] = 0x01;  // 480 ticks
  b[36] = 40;    // data size: 28 bytes of events
  for (int i = 0; i < 28; ++i) b.push_back(static_cast<uint8_t>(i));
  korvena_fuzz::WriteSeed(dir, "stream.mds", b.data(), b.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartHeadless();
  const std::string path = korvena_fuzz::WriteInput(data, size, "stream.mds");
  QALMidi* m = QALMidiLoad(path.c_str());
  if (!m) return 0;
  if (size < 52 || m->header.bufferLength > size - 52) korvena_fuzz::Fail("a stream longer than its file loaded");
  uint32_t sum = 0;
  for (uint32_t i = 0; i < m->header.bufferLength; ++i) sum += m->data[i];
  (void)sum;
  QALMidiSetVolume(m, 20000);
  QALMidiSetTempo(m, 150);
  QALMidiPlay(m);
  QALMidiFree(m);
  return 0;
}
