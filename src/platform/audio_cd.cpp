// The CD of the pseudo disc: audio tracks as WAV files, played through the
// mixer in place of a drive's audio output.
#include <algorithm>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/audio_internal.h"
#include "platform/internal.h"
#include "platform/paths.h"
#include "platform/saidonce.h"

namespace platform {
namespace internal {
namespace {

constexpr int kMaxDiscTracks = 99;
constexpr uint32_t kDataTrackFrames = 2 * 75;

struct Track {
  std::string path;  // empty for the data track
  uint32_t startFrame = 0;
  uint32_t frames = 0;
};

struct Disc {
  bool open = false;
  std::vector<Track> tracks;  // index 0 = track 1
  uint32_t length = 0;
  // PCM of the range last played, kept for a replay of the same range.
  uint32_t loadedFrom = 0, loadedTo = 0;
  std::shared_ptr<std::vector<int16_t>> loaded;
  std::shared_ptr<CdPlayState> state;
};
Disc g_disc;
std::atomic<uint32_t> g_auxVolume{0xFFFFFFFFu};

struct WavInfo {
  int channels = 0, bits = 0;
  uint32_t rate = 0;
  long dataOffset = 0;
  uint32_t dataBytes = 0;
};

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Reads the format and the data chunk's place; the data may be shorter
// than its chunk says (then the file's end counts).
bool readWavInfo(FILE* f, WavInfo* info) {
  uint8_t head[12];
  if (std::fread(head, 1, 12, f) != 12 || std::memcmp(head, "RIFF", 4) || std::memcmp(head + 8, "WAVE", 4))
    return false;
  bool haveFormat = false;
  for (int guard = 0; guard < 64; ++guard) {
    uint8_t chunk[8];
    if (std::fread(chunk, 1, 8, f) != 8) return false;
    uint32_t size = le32(chunk + 4);
    if (!std::memcmp(chunk, "fmt ", 4)) {
      uint8_t fmt[16];
      if (size < 16 || std::fread(fmt, 1, 16, f) != 16) return false;
      if (le16(fmt) != 1) return false;  // PCM only
      info->channels = le16(fmt + 2);
      info->rate = le32(fmt + 4);
      info->bits = le16(fmt + 14);
      if ((info->channels != 1 && info->channels != 2) || (info->bits != 8 && info->bits != 16) ||
          info->rate < 8000 || info->rate > 192000)
        return false;
      haveFormat = true;
      if (std::fseek(f, static_cast<long>(size - 16 + (size & 1)), SEEK_CUR)) return false;
    } else if (!std::memcmp(chunk, "data", 4)) {
      if (!haveFormat) return false;
      info->dataOffset = std::ftell(f);
      std::fseek(f, 0, SEEK_END);
      long end = std::ftell(f);
      info->dataBytes = static_cast<uint32_t>(std::min<long>(size, end - info->dataOffset));
      return true;
    } else if (std::fseek(f, static_cast<long>(size + (size & 1)), SEEK_CUR)) {
      return false;
    }
  }
  return false;
}

// Output-rate frames of a WAV's data.
uint64_t outputFrames(const WavInfo& w) {
  uint64_t frames = w.dataBytes / static_cast<uint32_t>(w.channels * w.bits / 8);
  return frames * kAudioOutputRate / w.rate;
}

// Appends the CD frames [from, to) of the track (counted from the track's
// start) as stereo 16-bit at the output rate; past the data's end (the track
// is a whole number of frames) silence. Only the source frames those output
// frames are taken from are read.
void appendTrackRange(const Track& t, uint32_t from, uint32_t to, std::vector<int16_t>* out) {
  const uint64_t first = static_cast<uint64_t>(from) * kAudioFramesPerCdFrame;
  const uint64_t want = static_cast<uint64_t>(to - from) * kAudioFramesPerCdFrame;
  const size_t base = out->size();
  out->resize(base + want * 2, 0);
  if (t.path.empty() || want == 0) return;
  FILE* f = std::fopen(t.path.c_str(), "rb");
  if (!f) return;
  WavInfo w;
  if (readWavInfo(f, &w)) {
    const uint32_t bytesPerFrame = static_cast<uint32_t>(w.channels * w.bits / 8);
    const uint64_t inFrames = w.dataBytes / bytesPerFrame;
    const uint64_t srcFirst = first * w.rate / kAudioOutputRate;
    const uint64_t srcEnd = std::min<uint64_t>(inFrames, (first + want - 1) * w.rate / kAudioOutputRate + 1);
    if (srcFirst < srcEnd && std::fseek(f, static_cast<long>(w.dataOffset + srcFirst * bytesPerFrame), SEEK_SET) == 0) {
      std::vector<uint8_t> raw((srcEnd - srcFirst) * bytesPerFrame);
      const uint64_t got = std::fread(raw.data(), 1, raw.size(), f) / bytesPerFrame;
      auto sample = [&](uint64_t frame, int ch) -> int16_t {
        const uint8_t* p = raw.data() + frame * bytesPerFrame + (w.channels == 2 ? ch : 0) * (w.bits / 8);
        return w.bits == 8 ? static_cast<int16_t>((p[0] - 128) * 256) : static_cast<int16_t>(le16(p));
      };
      int16_t* dst = out->data() + base;
      for (uint64_t k = 0; k < want; ++k) {
        const uint64_t src = (first + k) * w.rate / kAudioOutputRate - srcFirst;
        if (src >= got) break;
        dst[2 * k] = sample(src, 0);
        dst[2 * k + 1] = sample(src, 1);
      }
    }
  }
  std::fclose(f);
}

// The disc's track folder on the host, resolved once per game root: the
// resolver matches every component of the path against the disk, which
// costs more than listing the folder. Resolved again when the root moves
// or when asked (the cached folder could not be listed).
std::string g_folder;
uint32_t g_folderGeneration = 0;
const std::string& trackFolder(bool again) {
  const uint32_t generation = pathRootGeneration();
  if (again || g_folder.empty() || generation != g_folderGeneration) {
    g_folder = resolvePath("D:\\data\\cdaudio");
    g_folderGeneration = generation;
  }
  return g_folder;
}

void syncLocked() {
  if (audioIsOpen()) audioBackend().sync();
  collectGarbage(false);
}

// Replaces the play state (the mixer keeps writing only to the one it has).
void installState(std::shared_ptr<CdPlayState> s) {
  mixer().cd.store(s.get(), std::memory_order_release);
  if (g_disc.state) deferFree(g_disc.state);
  g_disc.state = std::move(s);
}

std::shared_ptr<CdPlayState> stoppedAt(uint64_t sample) {
  auto s = std::make_shared<CdPlayState>();
  s->pos.store(sample);
  return s;
}

void applyAuxGains(uint32_t v) {
  // The library writes volumes doubled: 65534 is full volume.
  auto gain = [](uint32_t x) { return static_cast<int32_t>(std::min<uint64_t>(65536, (x * 65536ull + 32767) / 65534)); };
  mixer().cdGainLeft.store(gain(v & 0xFFFF));
  mixer().cdGainRight.store(gain(v >> 16));
}

}  // namespace

void cdDeviceClosed() {
  mixer().cd.store(nullptr);
  if (g_disc.state) deferFree(g_disc.state);
  if (g_disc.loaded) deferFree(g_disc.loaded);
  g_disc = Disc{};
}

std::string cdStateText() {
  char line[160];
  if (!g_disc.open) return "audio cd=closed\n";
  uint32_t pos = static_cast<uint32_t>(g_disc.state ? g_disc.state->pos.load() / kAudioFramesPerCdFrame : 0);
  bool playing = g_disc.state && g_disc.state->playing.load();
  int track = 0;
  for (size_t i = 0; i < g_disc.tracks.size(); ++i)
    if (pos >= g_disc.tracks[i].startFrame) track = static_cast<int>(i) + 1;
  uint32_t rel = track ? pos - g_disc.tracks[track - 1].startFrame : 0;
  std::snprintf(line, sizeof line, "audio cd=open tracks=%zu track=%d playing=%d pos=%02u:%02u:%02u track-pos=%02u:%02u:%02u\n",
                g_disc.tracks.size(), track, playing ? 1 : 0, pos / 4500, pos / 75 % 60, pos % 75, rel / 4500,
                rel / 75 % 60, rel % 75);
  return line;
}

}  // namespace internal

using namespace internal;

bool cdOpen() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (g_disc.open) return true;
  if (!audioIsOpen()) return false;
  Disc disc;
  disc.tracks.push_back(Track{"", 0, kDataTrackFrames});
  uint32_t at = kDataTrackFrames;
  // The disc runs to the last track file there is; a track among them that
  // cannot be read is reported once and stays on the disc as two seconds of
  // silence, so that the others keep their numbers and play.
  // The folder is read once: track files by number, names without regard to case.
  std::string paths[kMaxDiscTracks + 1];
  int last = 1;
  std::error_code error;
  std::filesystem::directory_iterator it(trackFolder(false), error);
  if (error) it = std::filesystem::directory_iterator(trackFolder(true), error);
  for (std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
    std::string file = it->path().filename().string();
    for (char& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    int n = 0;
    if (file.size() != 11 || file.compare(0, 5, "track") != 0 || file.compare(7, 4, ".wav") != 0 ||
        !std::isdigit(static_cast<unsigned char>(file[5])) || !std::isdigit(static_cast<unsigned char>(file[6])))
      continue;
    n = (file[5] - '0') * 10 + (file[6] - '0');
    if (n < 2) continue;
    paths[n] = it->path().string();
    last = std::max(last, n);
  }
  auto trackPath = [&paths](int n) {
    char name[64];
    std::snprintf(name, sizeof name, "D:\\data\\cdaudio\\track%02d.wav", n);
    return std::pair<std::string, std::string>(name, paths[n]);
  };
  for (int n = 2; n <= last; ++n) {
    auto [name, path] = trackPath(n);
    WavInfo w;
    bool ok = false;
    if (FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb")) {
      ok = readWavInfo(f, &w) && outputFrames(w) / kAudioFramesPerCdFrame > 0;
      std::fclose(f);
    }
    if (!ok) {
      // Reported once a run, however often the disc is opened.
      sayOnce("CD tracks", name, "Korvena Football: the CD track " + name + " cannot be read; it is left out");
      disc.tracks.push_back(Track{"", at, kDataTrackFrames});
      at += kDataTrackFrames;
      continue;
    }
    uint32_t frames = static_cast<uint32_t>(outputFrames(w) / kAudioFramesPerCdFrame);
    disc.tracks.push_back(Track{path, at, frames});
    at += frames;
  }
  if (disc.tracks.size() < 2) return false;  // no audio tracks: no disc in the drive
  disc.length = at;
  disc.open = true;
  g_disc = std::move(disc);
  installState(stoppedAt(0));
  applyAuxGains(g_auxVolume.load());
  return true;
}

void cdClose() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open) return;
  syncLocked();
  cdDeviceClosed();
}

bool cdIsOpen() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  return g_disc.open;
}

int cdTrackCount() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  return static_cast<int>(g_disc.tracks.size());
}

uint32_t cdTrackStart(int track) {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (track < 1 || track > static_cast<int>(g_disc.tracks.size()) + 1) return 0;
  if (track == static_cast<int>(g_disc.tracks.size()) + 1) return g_disc.length;
  return g_disc.tracks[track - 1].startFrame;
}

uint32_t cdDiscLength() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  return g_disc.length;
}

bool cdPlay(uint32_t fromFrame, uint32_t toFrame) {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open || fromFrame >= toFrame || toFrame > g_disc.length) return false;
  syncLocked();
  if (!g_disc.loaded || g_disc.loadedFrom > fromFrame || g_disc.loadedTo < toFrame) {
    // Only the frames of the range are loaded, track by track.
    auto pcm = std::make_shared<std::vector<int16_t>>();
    pcm->reserve(static_cast<size_t>(toFrame - fromFrame) * kAudioFramesPerCdFrame * 2);
    for (const Track& t : g_disc.tracks) {
      const uint32_t end = t.startFrame + t.frames;
      if (end <= fromFrame || t.startFrame >= toFrame) continue;
      appendTrackRange(t, std::max(fromFrame, t.startFrame) - t.startFrame, std::min(toFrame, end) - t.startFrame,
                       pcm.get());
    }
    if (g_disc.loaded) deferFree(g_disc.loaded);
    g_disc.loaded = pcm;
    g_disc.loadedFrom = fromFrame;
    g_disc.loadedTo = toFrame;
  }
  auto s = std::make_shared<CdPlayState>();
  s->pcm = g_disc.loaded->data();
  s->firstSample = static_cast<uint64_t>(g_disc.loadedFrom) * kAudioFramesPerCdFrame;
  s->pcmFrames = g_disc.loaded->size() / 2;
  s->endSample = static_cast<uint64_t>(toFrame) * kAudioFramesPerCdFrame;
  s->pos.store(static_cast<uint64_t>(fromFrame) * kAudioFramesPerCdFrame);
  s->playing.store(true);
  installState(std::move(s));
  return true;
}

bool cdStop() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open) return false;
  syncLocked();
  installState(stoppedAt(g_disc.state ? g_disc.state->pos.load() : 0));
  return true;
}

bool cdSeek(uint32_t frame) {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open || frame > g_disc.length) return false;
  syncLocked();
  installState(stoppedAt(static_cast<uint64_t>(frame) * kAudioFramesPerCdFrame));
  return true;
}

uint32_t cdPosition() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open) return 0;
  syncLocked();
  return static_cast<uint32_t>(g_disc.state->pos.load() / kAudioFramesPerCdFrame);
}

bool cdIsPlaying() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_disc.open) return false;
  syncLocked();
  return g_disc.state->playing.load();
}

void cdSetAuxVolume(uint32_t leftRight) {
  g_auxVolume.store(leftRight);
  applyAuxGains(leftRight);
}

uint32_t cdAuxVolume() { return g_auxVolume.load(); }

}  // namespace platform
