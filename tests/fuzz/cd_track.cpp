// The disc's audio tracks: the input as track 2 of a disc, opened, played for
// a moment through the mixer and closed.
#include <filesystem>
#include <vector>

#include "fuzz_support.h"
#include "platform/audio.h"
#include "sound/synth.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  ksynth::Stereo s(600);
  for (size_t i = 0; i < s.frames(); ++i) s.left[i] = s.right[i] = (i % 50) / 100.0;
  ksynth::writeWav(dir + "/stereo.wav", s, 22050, 16);
  ksynth::writeWav(dir + "/mono8.wav", s.left, 11025, 8);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartHeadless();
  // The pseudo disc is the folder above the executable's.
  static const std::string folder = [] {
    std::string f = korvena_fuzz::EmptyGameRoot() + "/data/cdaudio";
    std::filesystem::create_directories(f);
    return f;
  }();
  FILE* f = std::fopen((folder + "/track02.wav").c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  // The silent device stays open from input to input; closing the disc
  // gives back all it held.
  if (!platform::audioOpen()) korvena_fuzz::Fail("the silent device does not open");
  if (platform::cdOpen()) {
    int tracks = platform::cdTrackCount();
    if (tracks != 2) korvena_fuzz::Fail("one file made other than two tracks");
    const uint32_t start = platform::cdTrackStart(2), end = platform::cdDiscLength();
    if (end < start) korvena_fuzz::Fail("the disc ends before its last track starts");
    if (end > start) {
      // The track's last CD frame and a little past it through the mixer:
      // the frame is loaded alone (a long track costs no more than a short
      // one) and the play stops at the disc's end.
      platform::cdPlay(end - 1, end);
      std::vector<int16_t> mix(2 * 300);
      platform::audioHeadlessMix(mix.data(), 300);
      if (platform::cdIsPlaying()) korvena_fuzz::Fail("the play went on past the disc's end");
    }
    platform::cdClose();
  }
  return 0;
}
