// QAL: IMA ADPCM, compressed-sound objects over shared holders, and streaming
// voices that decode an object into a ring buffer refilled every 50 ms.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/movie_codec.h"
#include "platform/paths.h"
#include "platform/timer.h"

namespace {

uint8_t encodeOne(int32_t sample, QALAdpcmState* st) {
  platform::AdpcmState s{st->predictor, st->stepIndex};
  const uint8_t code = platform::adpcmEncodeOne(sample, &s);
  st->predictor = static_cast<int16_t>(s.predictor);
  st->stepIndex = static_cast<int8_t>(s.stepIndex);
  return code;
}

int16_t decodeOne(uint8_t code, QALAdpcmState* st) {
  platform::AdpcmState s{st->predictor, st->stepIndex};
  const int16_t sample = platform::adpcmDecodeOne(code, &s);
  st->predictor = static_cast<int16_t>(s.predictor);
  st->stepIndex = static_cast<int8_t>(s.stepIndex);
  return sample;
}

// Stream fields touched by the refill timer and the main thread.
std::recursive_mutex& streamMutex() {
  static std::recursive_mutex m;
  return m;
}

}  // namespace

struct QALAdpcmData {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  std::atomic<int32_t> references{1};
};

struct QALAdpcmObject {
  uint32_t ring = 0;  // streaming voice, 0 when not streaming
  QALAdpcmData* holder = nullptr;
  uint32_t writePosition = 0;
  uint32_t readPosition = 0;
  int32_t endCount = 0;
  QALAdpcmState state;
  int32_t volume = 0;
  int32_t pan = 0;
  int32_t loop = 0;
  std::atomic<platform::PeriodicTimer*> timer{nullptr};
  // The end of a non-looping stream: set when the data's last byte is in the
  // ring, with the bytes still to be played before it.
  bool dataEnded = false;
  int64_t drain = 0;
  uint32_t lastPlay = 0;
};

void QALAdpcmEncode(const int16_t* pcm16, uint8_t* out, uint32_t sampleCount, QALAdpcmState* state) {
  for (uint32_t i = 0; i < sampleCount; i += 2) {
    uint8_t high = encodeOne(pcm16[i], state);
    uint8_t low = i + 1 < sampleCount ? encodeOne(pcm16[i + 1], state) : 0;
    out[i / 2] = static_cast<uint8_t>((high << 4) | low);
  }
}

void QALAdpcmDecode(const uint8_t* in, int16_t* pcm16, uint32_t sampleCount, QALAdpcmState* state) {
  for (uint32_t i = 0; i < sampleCount; ++i) {
    uint8_t byte = in[i / 2];
    pcm16[i] = decodeOne((i & 1) ? (byte & 15) : (byte >> 4), state);
  }
}

QALAdpcmObject* QALAdpcmObjectCreate(uint8_t* data, uint32_t size) {
  auto* holder = new QALAdpcmData;
  holder->data = data;
  holder->size = size;
  auto* object = new QALAdpcmObject;
  object->holder = holder;
  return object;
}

QALAdpcmObject* QALAdpcmObjectClone(QALAdpcmObject* object) {
  if (!object) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  auto* copy = new QALAdpcmObject;
  copy->holder = object->holder;
  copy->holder->references.fetch_add(1);
  // A clone does not stream: the ring buffer and the timer stay the original's.
  copy->volume = object->volume;
  copy->pan = object->pan;
  copy->loop = object->loop;
  return copy;
}

void QALAdpcmObjectRelease(QALAdpcmObject* object) {
  if (!object) return;
  QALStreamStop(object);
  if (object->holder && object->holder->references.fetch_sub(1) == 1) {
    delete[] object->holder->data;
    delete object->holder;
  }
  delete object;
}

QALAdpcmInfo QALAdpcmObjectInfo(const QALAdpcmObject* object) {
  QALAdpcmInfo info;
  if (!object) return info;
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  info.data = object->holder ? object->holder->data : nullptr;
  info.size = object->holder ? object->holder->size : 0;
  info.references = object->holder ? object->holder->references.load() : 0;
  info.streaming = object->ring != 0;
  info.writePosition = object->writePosition;
  info.readPosition = object->readPosition;
  info.endCount = object->endCount;
  info.volume = object->volume;
  info.pan = object->pan;
  info.voice = object->ring;
  return info;
}

void QALAdpcmObjectSetLoop(QALAdpcmObject* object, int32_t on) {
  if (object) object->loop = on ? 1 : 0;
}

QALAdpcmObject* QALFileReadCompressed(const char* path) {
  if (!path) return nullptr;
  FILE* f = platform::openFile(path, "rb");
  if (!f) return nullptr;
  auto* buffer = new uint8_t[QAL_COMPRESSED_FILE_MAX];
  uint32_t size = 0;
  bool tooLong = false;
  for (;;) {
    uint32_t want = std::min<uint32_t>(16, QAL_COMPRESSED_FILE_MAX - size);
    if (want == 0) {
      // Full: one more byte means the file does not fit.
      tooLong = std::fgetc(f) != EOF;
      break;
    }
    size_t got = std::fread(buffer + size, 1, want, f);
    size += static_cast<uint32_t>(got);
    if (got < want) break;
  }
  std::fclose(f);
  if (tooLong) {
    delete[] buffer;
    return nullptr;
  }
  auto* data = new uint8_t[size ? size : 1];
  std::memcpy(data, buffer, size);
  delete[] buffer;
  return QALAdpcmObjectCreate(data, size);
}

namespace {

constexpr uint32_t kRing = QAL_STREAM_BUFFER_BYTES;

// Fills one locked part of the ring; returns the bytes written. Stops early
// when a looping voice's data starts over. `unplayed` is what the ring held
// ahead of the play cursor before this refill plus what it has written so far.
uint32_t fillPart(QALAdpcmObject* o, uint8_t* part, uint32_t bytes, uint32_t unplayed, uint32_t play) {
  uint32_t done = 0;
  const QALAdpcmData* h = o->holder;
  while (done + 4 <= bytes) {
    if (o->readPosition < h->size) {
      int16_t pcm[2];
      QALAdpcmDecode(h->data + o->readPosition, pcm, 2, &o->state);
      ++o->readPosition;
      for (int k = 0; k < 2; ++k) {
        part[done++] = static_cast<uint8_t>(pcm[k] & 0xFF);
        part[done++] = static_cast<uint8_t>((pcm[k] >> 8) & 0xFF);
      }
      continue;
    }
    if (o->loop) {
      // Start over, from the codec's starting state as the data was encoded.
      o->readPosition = 0;
      o->state = QALAdpcmState{};
      return done;
    }
    if (!o->dataEnded) {
      // The data's last byte is written: the end counter starts once the
      // play cursor has played what is still ahead of it.
      o->dataEnded = true;
      o->drain = static_cast<int64_t>(unplayed) + done;
      o->lastPlay = play;
    }
    std::memset(part + done, 0, bytes - done);
    done = bytes;
  }
  return done;
}

// Writes `bytes` from the write position in up to two parts.
void fillRing(QALAdpcmObject* o, uint32_t bytes, uint32_t play) {
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (!platform::voiceLock(o->ring, o->writePosition, bytes, &p1, &n1, &p2, &n2)) return;
  uint32_t unplayed = (o->writePosition + kRing - play) % kRing;
  uint32_t written = fillPart(o, static_cast<uint8_t*>(p1), n1, unplayed, play);
  if (written == n1 && p2 && n2) written += fillPart(o, static_cast<uint8_t*>(p2), n2, unplayed + written, play);
  o->writePosition = (o->writePosition + written) % kRing;
  platform::voiceUnlock(o->ring);
}

void releaseRing(QALAdpcmObject* o) {
  if (o->ring) {
    platform::voiceStop(o->ring);
    platform::voiceRelease(o->ring);
  }
  o->ring = 0;
  o->writePosition = o->readPosition = 0;
  o->endCount = 0;
  o->dataEnded = false;
  o->drain = 0;
  o->lastPlay = 0;
  o->state = QALAdpcmState{};
}

void refill(void* user) {
  auto* o = static_cast<QALAdpcmObject*>(user);
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  if (!o->ring) return;
  if (o->endCount >= 4) {
    releaseRing(o);
    platform::PeriodicTimer* t = o->timer.exchange(nullptr);
    if (t) platform::timerStop(t);  // from its own tick
    return;
  }
  uint32_t play = 0;
  if (!platform::voicePosition(o->ring, &play)) return;
  if (o->dataEnded) {
    // A refill of silence counts once the data has been heard to its end.
    o->drain -= (play + kRing - o->lastPlay) % kRing;
    o->lastPlay = play;
    if (o->drain <= 0) ++o->endCount;
  }
  if (play == o->writePosition) return;
  uint32_t free = (play + kRing - o->writePosition) % kRing;
  free &= ~3u;
  if (free) fillRing(o, free, play);
}

}  // namespace

int32_t QALStreamStart(QALAdpcmObject* object, uint32_t rate) {
  if (!object) return QAL_OK;
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  if (object->ring || !object->holder) return QAL_ERROR;
  uint32_t ring = platform::voiceCreateWritable(QAL_STREAM_BUFFER_BYTES, 16, rate);
  if (!ring) return QAL_ERROR;
  object->ring = ring;
  object->writePosition = object->readPosition = 0;
  object->endCount = 0;
  object->dataEnded = false;
  object->state = QALAdpcmState{};
  fillRing(object, QAL_STREAM_BUFFER_BYTES, 0);
  object->timer.store(platform::timerStart(1000 / 50, refill, object));
  platform::voiceSetVolume(ring, std::clamp(object->volume, -10000, 0));
  platform::voiceSetPan(ring, std::clamp(object->pan, -10000, 10000));
  platform::voicePlay(ring, true);
  return QAL_OK;
}

int32_t QALStreamStop(QALAdpcmObject* object) {
  if (!object) return QAL_ERROR;
  platform::PeriodicTimer* t = object->timer.exchange(nullptr);
  if (t) platform::timerStop(t);  // waits for a running refill
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  releaseRing(object);
  return QAL_OK;
}

int32_t QALStreamSetAttenuation(QALAdpcmObject* object, int32_t hundredthsDb) {
  if (!object) return QAL_ERROR;
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  object->volume = std::clamp(hundredthsDb, -10000, 0);
  if (object->ring) platform::voiceSetVolume(object->ring, object->volume);
  return QAL_OK;
}

int32_t QALStreamSetVolume(QALAdpcmObject* object, int32_t volume) {
  return QALStreamSetAttenuation(object, QALVolumeToAttenuation(volume) + qal_oState.masterAttenuation);
}

int32_t QALStreamSetPan(QALAdpcmObject* object, int32_t pan) {
  if (!object) return QAL_ERROR;
  std::lock_guard<std::recursive_mutex> lock(streamMutex());
  object->pan = QALPanToDevice(pan);
  if (object->ring) platform::voiceSetPan(object->ring, object->pan);
  return QAL_OK;
}
