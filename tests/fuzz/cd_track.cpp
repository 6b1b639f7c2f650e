// The disc's audio tracks: the input as track 2 of a disc, opened, played for
// a moment through the mixer and closed.
#include <filesystem>
#include <vector>

#include "fuzz_support.h"
#include "platform/audio.h"
#include "platform/paths.h"
#include "sound/synth.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  ksynth::Stereo s(600);
  for (size_t i = 0; i < s.frames(); ++i) s.left[i] = s.right[i] = (i % 50) / 100.0;
  ksynth::writeWav(dir + "/stereo.wav", s, 22050, 16);
  ksynth::writeWav(dir + "/mono8.wav", s.left, 11025, 8);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartHeadless();
  static bool placed = false;
  const std::string root = korvena_fuzz::WorkDir() + "/disc";
  if (!placed) {
    // The pseudo disc is the folder above the executable's.
    std::filesystem::create_directories(root + "/bin");
    std::filesystem::create_directories(root + "/data/cdaudio");
    platform::setExecutableDir(root + "/bin");
    placed = true;
  }
  FILE* f = std::fopen((root + "/data/cdaudio/track02.wav").c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  if (!platform::audioOpen()) korvena_fuzz::Fail("the silent device does not open");
  if (platform::cdOpen()) {
    int tracks = platform::cdTrackCount();
    if (tracks != 2) korvena_fuzz::Fail("one file made other than two tracks");
    uint32_t end = platform::cdDiscLength();
    if (end < platform::cdTrackStart(2)) korvena_fuzz::Fail("the disc ends before its last track starts");
    if (end > platform::cdTrackStart(2)) {
      platform::cdPlay(platform::cdTrackStart(2), end);
      // A little over one CD frame through the mixer: the track's start plays.
      std::vector<int16_t> mix(2 * 300);
      platform::audioHeadlessMix(mix.data(), 300);
    }
    platform::cdClose();
  }
  platform::audioClose();
  return 0;
}
