// korvena_fmvcheck <file>...: decodes every frame of each movie and checks the
// header's limits, every frame's sizes and CRC, the picture streams and the
// sound's length (each frame its share of frames x rate / fps, so the whole
// is right within one block). Prints one line a file; exits 1 at the first
// fault, naming it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/movie_codec.h"

namespace {

bool Check(const char* path, std::string* why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *why = "cannot be read";
    return false;
  }
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  platform::MovieHeader h;
  if (!platform::movieHeaderRead(b.data(), b.size(), &h, why)) return false;
  platform::MovieDecoder dec(h);
  size_t at = platform::kMovieHeaderBytes;
  uint64_t samples = 0;
  std::vector<int16_t> pcm;
  for (uint32_t f = 0; f < h.frameCount; ++f) {
    const std::string where = "frame " + std::to_string(f) + ": ";
    platform::MovieFrameHead head;
    if (b.size() - at < platform::kMovieFrameHeadBytes) {
      *why = where + "the file ends before it";
      return false;
    }
    if (!platform::movieFrameHeadRead(h, b.data() + at, &head)) {
      *why = where + "its sizes are out of range";
      return false;
    }
    at += platform::kMovieFrameHeadBytes;
    const size_t body = static_cast<size_t>(head.videoBytes) + head.soundBytes;
    if (b.size() - at < body) {
      *why = where + "the file ends inside it";
      return false;
    }
    if (platform::movieCrc32(b.data() + at, body) != head.crc) {
      *why = where + "its CRC differs";
      return false;
    }
    if (!dec.decodeVideo(b.data() + at, head.videoBytes)) {
      *why = where + "its picture does not decode";
      return false;
    }
    pcm.clear();
    const uint32_t n = platform::movieFrameSamples(h, f);
    if (h.channels && !dec.decodeSound(b.data() + at + head.videoBytes, head.soundBytes, n, &pcm)) {
      *why = where + "its sound does not decode to " + std::to_string(n) + " samples";
      return false;
    }
    samples += pcm.size();
    at += body;
  }
  if (at != b.size()) {
    *why = "bytes after the last frame";
    return false;
  }
  const uint64_t want = h.channels ? uint64_t{h.frameCount} * h.soundRate * 1000 / h.frameRateMilli : 0;
  if (samples != want) {
    *why = "the sound is " + std::to_string(samples) + " samples, not " + std::to_string(want);
    return false;
  }
  std::printf("%s: %u x %u, %u frames at %.3f fps, sound %u Hz precision %u, %zu bytes\n", path, h.width, h.height,
              h.frameCount, h.frameRateMilli / 1000.0, h.soundRate, h.precision, b.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korvena_fmvcheck <file>...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    std::string why;
    if (!Check(argv[i], &why)) {
      std::fprintf(stderr, "korvena_fmvcheck: %s: %s\n", argv[i], why.c_str());
      return 1;
    }
  }
  return 0;
}
