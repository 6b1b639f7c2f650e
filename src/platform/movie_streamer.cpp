// The movie streamer over our movie format: read-ahead, frame records checked
// once when parsed, pictures into the target, sound into the player's halves.
#include "platform/movie_streamer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/movie_codec.h"
#include "platform/paths.h"

namespace {

using platform::MovieHeader;

constexpr size_t kReadChunk = 65536;

enum class Parse { ok, more, damaged, truncated };

struct Record {
  size_t offset = 0;  // of the video bytes
  uint32_t videoBytes = 0;
  std::vector<int16_t> pcm;
};

struct Movie {
  FILE* file = nullptr;
  bool eof = false;
  std::vector<uint8_t> bytes;  // everything read so far, from the start
  MovieHeader header;
  std::unique_ptr<platform::MovieDecoder> decoder;
  uint32_t preload = 524288;
  std::vector<Record> records;  // parsed so far, in order
  size_t parsePos = platform::kMovieHeaderBytes;
  Parse broken = Parse::ok;  // why parsing stopped before the last frame
  uint32_t shown = 0;        // frames shown
  uint32_t soundFrame = 0;   // frames whose sound is queued
  std::vector<int16_t> queue;
  ~Movie() {
    if (file) std::fclose(file);
  }
};

struct Video {
  uint32_t movie = 0;
  int32_t x = 0, y = 0, width = platform::kMovieTargetWidth, height = platform::kMovieTargetHeight;
  int32_t pitch = platform::kMovieTargetWidth;
  platform::MovieConverter converter;
};

struct Sound {
  StreamerFillCallback fill = nullptr;
  uint32_t halfBytes = 0;
  void* half[2] = {nullptr, nullptr};
  int32_t mode = -1;
};

uint32_t s_uNextHandle = 1;
std::map<uint32_t, std::unique_ptr<Movie>> s_oMovies;
std::map<uint32_t, std::unique_ptr<Video>> s_oVideos;
std::map<uint32_t, std::unique_ptr<Sound>> s_oSounds;
uint32_t s_uPriority = platform::kPriorityNormal;

template <typename T>
T* find(std::map<uint32_t, std::unique_ptr<T>>& m, uint32_t h) {
  auto it = m.find(h);
  return it == m.end() ? nullptr : it->second.get();
}

template <typename T>
void shutDown(std::map<uint32_t, std::unique_ptr<T>>& m, uint32_t* h) {
  if (!h) return;
  m.erase(*h);
  *h = 0;
}

// Reads one more chunk; false at the end of the file.
bool readMore(Movie* m) {
  if (m->eof || !m->file) return false;
  const size_t at = m->bytes.size();
  m->bytes.resize(at + kReadChunk);
  const size_t n = std::fread(m->bytes.data() + at, 1, kReadChunk, m->file);
  m->bytes.resize(at + n);
  if (n == 0) m->eof = true;
  return n > 0;
}

// Parses the next frame record from the bytes read so far.
Parse parseNext(Movie* m) {
  if (m->broken != Parse::ok) return m->broken;
  const size_t have = m->bytes.size() - m->parsePos;
  const auto stop = [m](Parse p) {
    if (p == Parse::truncated && !m->eof) return Parse::more;
    m->broken = p;
    return p;
  };
  if (have < platform::kMovieFrameHeadBytes) return stop(Parse::truncated);
  platform::MovieFrameHead head;
  const uint8_t* p = m->bytes.data() + m->parsePos;
  if (!platform::movieFrameHeadRead(m->header, p, &head)) return stop(Parse::damaged);
  const size_t body = static_cast<size_t>(head.videoBytes) + head.soundBytes;
  if (have - platform::kMovieFrameHeadBytes < body) return stop(Parse::truncated);
  p += platform::kMovieFrameHeadBytes;
  if (platform::movieCrc32(p, body) != head.crc) return stop(Parse::damaged);
  Record r;
  r.offset = m->parsePos + platform::kMovieFrameHeadBytes;
  r.videoBytes = head.videoBytes;
  const uint32_t expected = platform::movieFrameSamples(m->header, static_cast<uint32_t>(m->records.size()));
  if (m->header.channels && !m->decoder->decodeSound(p + head.videoBytes, head.soundBytes, expected, &r.pcm))
    return stop(Parse::damaged);
  m->records.push_back(std::move(r));
  m->parsePos += platform::kMovieFrameHeadBytes + body;
  return Parse::ok;
}

// Parses every record the bytes read so far hold.
void parseAvailable(Movie* m) {
  while (m->records.size() < m->header.frameCount && parseNext(m) == Parse::ok) {
  }
}

// Parses up to frame i, reading as needed.
Parse ensureRecord(Movie* m, uint32_t i) {
  while (m->records.size() <= i) {
    const Parse p = parseNext(m);
    if (p == Parse::more) readMore(m);
    else if (p != Parse::ok) return p;
  }
  return Parse::ok;
}

// Fills the half the decode mode names once a half's worth of sound is
// decoded (after the movie's sound, or where its data breaks, with silence)
// and tells the player through its callback.
void soundService(Movie* m, uint32_t sound) {
  Sound* s = find(s_oSounds, sound);
  if (!s || (s->mode != 0 && s->mode != 1) || !s->half[s->mode]) return;
  const size_t want = s->halfBytes / 2;
  while (m->queue.size() < want && m->soundFrame < m->header.frameCount) {
    if (m->soundFrame >= m->records.size()) parseAvailable(m);
    if (m->soundFrame >= m->records.size()) {
      if (m->broken == Parse::ok) return;  // not read yet
      break;
    }
    std::vector<int16_t>& pcm = m->records[m->soundFrame++].pcm;
    m->queue.insert(m->queue.end(), pcm.begin(), pcm.end());
    std::vector<int16_t>().swap(pcm);
  }
  m->queue.resize(std::max(m->queue.size(), want), 0);
  std::memcpy(s->half[s->mode], m->queue.data(), want * 2);
  m->queue.erase(m->queue.begin(), m->queue.begin() + static_cast<ptrdiff_t>(want));
  s->fill(sound);
}

}  // namespace

// ---- Movies -------------------------------------------------------------------

namespace {
int32_t openMovie(uint32_t* movie, std::unique_ptr<Movie> m) {
  if (!movie) return STREAMER_NO_FILE;
  *movie = 0;
  while (m->bytes.size() < platform::kMovieHeaderBytes && readMore(m.get())) {
  }
  if (!platform::movieHeaderRead(m->bytes.data(), m->bytes.size(), &m->header, nullptr)) return STREAMER_BAD_HEADER;
  m->decoder = std::make_unique<platform::MovieDecoder>(m->header);
  *movie = s_uNextHandle++;
  s_oMovies[*movie] = std::move(m);
  return STREAMER_OK;
}
}  // namespace

int32_t Streamer_InitMovie(uint32_t* movie, int32_t, int32_t, const char* path, uint32_t, int32_t) {
  auto m = std::make_unique<Movie>();
  m->file = path ? platform::openFile(path, "rb") : nullptr;
  if (!m->file) {
    if (movie) *movie = 0;
    return STREAMER_NO_FILE;
  }
  return openMovie(movie, std::move(m));
}

int32_t Streamer_InitMovieFromMemory(uint32_t* movie, const uint8_t* data, size_t size) {
  auto m = std::make_unique<Movie>();
  m->bytes.assign(data, data + size);
  m->eof = true;
  return openMovie(movie, std::move(m));
}

void Streamer_SetPreloadAmount(uint32_t movie, uint32_t bytes) {
  if (Movie* m = find(s_oMovies, movie)) m->preload = bytes;
}

int32_t Movie_GetXSize(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? m->header.width : 0;
}
int32_t Movie_GetYSize(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? m->header.height : 0;
}
float Movie_GetFrameRate(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? static_cast<float>(m->header.frameRateMilli) / 1000.0f : 0.0f;
}
int32_t Movie_GetFrameCount(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? static_cast<int32_t>(m->header.frameCount) : 0;
}
int32_t Movie_GetCurrentFrame(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? static_cast<int32_t>(m->shown) : 0;
}
int32_t Movie_GetSoundChannels(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? m->header.channels : 0;
}
int32_t Movie_GetSoundPrecision(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? m->header.precision : 0;
}
int32_t Movie_GetSoundRate(uint32_t movie) {
  Movie* m = find(s_oMovies, movie);
  return m ? static_cast<int32_t>(m->header.soundRate) : 0;
}

// ---- Video and sound ------------------------------------------------------------

int32_t Streamer_InitVideo(uint32_t* video, uint32_t movie, int32_t xSize, int32_t ySize, int32_t x, int32_t y,
                           int32_t, int32_t, int32_t width, int32_t height, int32_t, void*, void*) {
  if (!video) return STREAMER_VIDEO_FAILED;
  *video = 0;
  Movie* m = find(s_oMovies, movie);
  if (!m || xSize != m->header.width || ySize != m->header.height || width <= 0 || height <= 0 || x < 0 || y < 0)
    return STREAMER_VIDEO_FAILED;
  auto v = std::make_unique<Video>();
  v->movie = movie;
  v->x = x;
  v->y = y;
  v->width = width;
  v->height = height;
  v->pitch = width;
  v->converter.formatSet(platform::MoviePixelFormat{});
  *video = s_uNextHandle++;
  s_oVideos[*video] = std::move(v);
  return STREAMER_OK;
}

void Streamer_SetVideoPitch(uint32_t video, int32_t pitchPixels, int32_t) {
  Video* v = find(s_oVideos, video);
  if (v && pitchPixels >= v->x + v->width) v->pitch = pitchPixels;
}

void Streamer_SetPixelFormat(uint32_t video, int32_t bits, int32_t, int32_t, int32_t rs, int32_t rw, int32_t gs,
                             int32_t gw, int32_t bs, int32_t bw) {
  Video* v = find(s_oVideos, video);
  if (v && bits == 16) v->converter.formatSet(platform::MoviePixelFormat{rs, rw, gs, gw, bs, bw});
}

int32_t Streamer_InitSound(StreamerFillCallback fill, uint32_t* sound, uint32_t halfBytes, int32_t, int32_t, int32_t,
                           int32_t channels) {
  if (!sound) return STREAMER_SOUND_FAILED;
  *sound = 0;
  if (!fill || halfBytes == 0 || halfBytes % 2 || channels != 1) return STREAMER_SOUND_FAILED;
  auto s = std::make_unique<Sound>();
  s->fill = fill;
  s->halfBytes = halfBytes;
  *sound = s_uNextHandle++;
  s_oSounds[*sound] = std::move(s);
  return STREAMER_OK;
}

void Streamer_SetSoundBuffer(uint32_t sound, int32_t half, void* memory) {
  Sound* s = find(s_oSounds, sound);
  if (s && (half == 0 || half == 1)) s->half[half] = memory;
}

void Streamer_SetSoundDecodeMode(uint32_t sound, int32_t mode) {
  if (Sound* s = find(s_oSounds, sound)) s->mode = mode == 0 || mode == 1 ? mode : -1;
}

int32_t Streamer_GetSoundDecodeMode(uint32_t sound) {
  Sound* s = find(s_oSounds, sound);
  return s ? s->mode : -1;
}

// ---- Streaming --------------------------------------------------------------------

int32_t Streamer_InitStreaming(uint32_t movie, uint32_t video, uint32_t sound) {
  Movie* m = find(s_oMovies, movie);
  Video* v = find(s_oVideos, video);
  if (!m || !v || v->movie != movie) return STREAMER_ENDED;
  if (sound != 0 && (!find(s_oSounds, sound) || m->header.channels == 0)) return STREAMER_ENDED;
  while (m->bytes.size() < m->preload && readMore(m)) {
  }
  parseAvailable(m);
  soundService(m, sound);
  return STREAMER_OK;
}

int32_t Streamer_Stream(uint32_t movie, uint32_t video, uint32_t sound, int32_t, int32_t, void* surface, int32_t,
                        int32_t, int32_t) {
  Movie* m = find(s_oMovies, movie);
  if (!m) return STREAMER_ENDED;
  if (!surface) {
    const size_t ahead = m->records.size() > m->shown ? m->bytes.size() - m->records[m->shown].offset : 0;
    const bool more = ahead < m->preload && readMore(m);
    parseAvailable(m);
    soundService(m, sound);
    return more ? STREAMER_PUMP_AGAIN : STREAMER_OK;
  }
  if (m->shown >= m->header.frameCount) return STREAMER_ENDED;
  const Parse p = ensureRecord(m, m->shown);
  if (p == Parse::truncated) return STREAMER_TRUNCATED;
  if (p != Parse::ok) return STREAMER_DAMAGED;
  const Record& r = m->records[m->shown];
  if (!m->decoder->decodeVideo(m->bytes.data() + r.offset, r.videoBytes)) {
    m->broken = Parse::damaged;
    return STREAMER_DAMAGED;
  }
  if (Video* v = find(s_oVideos, video)) {
    uint16_t* target = static_cast<uint16_t*>(surface) + static_cast<ptrdiff_t>(v->y) * v->pitch + v->x;
    v->converter.convert(m->decoder->frame().data(), m->header.width, m->header.height, target, v->pitch, v->width,
                         v->height);
  }
  ++m->shown;
  soundService(m, sound);
  return STREAMER_OK;
}

void Streamer_ShutDownSound(uint32_t* sound) { shutDown(s_oSounds, sound); }
void Streamer_ShutDownVideo(uint32_t* video) { shutDown(s_oVideos, video); }
void Streamer_ShutDownMovie(uint32_t* movie) { shutDown(s_oMovies, movie); }

int32_t Streamer_OpenHandleCount() {
  return static_cast<int32_t>(s_oMovies.size() + s_oVideos.size() + s_oSounds.size());
}

namespace platform {
uint32_t processPriorityGet() { return s_uPriority; }
void processPrioritySet(uint32_t priorityClass) { s_uPriority = priorityClass; }
}  // namespace platform
