// QAL: sound banks (".KBB", magic "kbbk"). The loader puts the bank's first
// sounds into hardware buffers while they land there, then works back from
// the last sound, storing sounds IMA-ADPCM-compressed until the rest fits the
// software budget, and loads the rest from the highest index down.
#include <cstring>
#include <memory>

#include "audio/qal.h"
#include "platform/paths.h"

namespace {

constexpr uint64_t kMaxBankFileBytes = 256ull << 20;

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

// Fields of a definition that the loader reads.
struct Def {
  int16_t tag;
  uint32_t paramA, paramB;
  uint32_t sample, second, rate, bits;
  uint32_t compressed, compressedRate, compressedBits;
};

Def readDef(const QALBankFile& f, uint32_t index) {
  const uint8_t* p = f.defs.data() + static_cast<size_t>(index) * QAL_BANK_DEF_BYTES;
  Def d;
  d.tag = static_cast<int16_t>(static_cast<uint16_t>(p[4] | (p[5] << 8)));
  d.paramA = le32(p + 14);
  d.paramB = le32(p + 18);
  d.sample = le32(p + 54);
  d.second = le32(p + 58);
  d.rate = le32(p + 62);
  d.bits = le32(p + 66);
  d.compressed = le32(p + 70);
  d.compressedRate = le32(p + 78);
  d.compressedBits = le32(p + 82);
  return d;
}

// The definition table of the last load, kept until the next one.
std::vector<uint8_t> g_lastDefs;

bool readFile(const char* path, std::vector<uint8_t>* out) {
  if (!path) return false;
  FILE* f = platform::openFile(path, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && static_cast<uint64_t>(size) <= kMaxBankFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out->resize(static_cast<size_t>(size));
    ok = std::fread(out->data(), 1, out->size(), f) == out->size();
  }
  std::fclose(f);
  return ok;
}

void setUp(QALBank* bank, const QALBankFile& file, uint32_t index) {
  QALSound& s = bank->sounds[index];
  Def d = readDef(file, index);
  s.remaining = file.soundCount - index;
  s.volume = 32767;
  s.paramA = d.paramA;
  s.paramB = d.paramB;
  if (s.sample && s.second) {
    QALSampleSetPan(s.sample, 0);
    QALSampleSetPan(s.second, 65535);
  } else if (s.sample) {
    QALSampleSetPan(s.sample, 32768);
  }
}

void loadSound(QALBank* bank, QALBankFile* file, uint32_t index) {
  Def d = readDef(*file, index);
  QALSound& s = bank->sounds[index];
  s.sample = QALBankLoadSample(file, d.sample, d.rate, d.bits);
  if (qal_oState.options & QAL_OPTION_SECOND_CHANNEL) s.second = QALBankLoadSample(file, d.second, d.rate, d.bits);
  setUp(bank, *file, index);
}

void compressSound(QALBank* bank, QALBankFile* file, uint32_t index) {
  Def d = readDef(*file, index);
  QALSound& s = bank->sounds[index];
  s.sample = nullptr;
  if (d.compressed != QAL_NO_SAMPLE)
    s.compressed = QALBankLoadSampleAdpcm(file, d.compressed, d.compressedRate, d.compressedBits);
  else
    s.compressed = QALBankLoadSampleAdpcm(file, d.sample, d.rate, d.bits);
  setUp(bank, *file, index);
}

// The two passes over a parsed file, into bank.
void loadAll(QALBank* bank, QALBankFile* file) {
  uint32_t count = file->soundCount;
  bank->sounds = new QALSound[count ? count : 1]();
  uint32_t budget = qal_oState.budgetRemaining;
  // Front pass: while every sample lands in hardware.
  uint32_t next = 0;
  while (next < count) {
    loadSound(bank, file, next);
    ++next;
    if (qal_oState.budgetRemaining != budget) break;
  }
  // Back pass: compress from the end until the rest fits, then load the rest
  // from the highest index down.
  if (next < count) {
    int64_t last = count - 1;
    while (last >= next && QALBankBytesNeeded(file, next, static_cast<uint32_t>(last)) > qal_oState.budgetRemaining) {
      compressSound(bank, file, static_cast<uint32_t>(last));
      --last;
    }
    for (int64_t i = last; i >= next; --i) loadSound(bank, file, static_cast<uint32_t>(i));
  }
  for (uint32_t i = 0; i < count; ++i) bank->sounds[i].tag = readDef(*file, i).tag;
}

const QALBankFile::Entry* entryOf(const QALBankFile* file, uint32_t index) {
  if (!file || index == QAL_NO_SAMPLE || index >= file->samples.size()) return nullptr;
  return &file->samples[index];
}

}  // namespace

bool QALBankParse(std::vector<uint8_t> bytes, QALBankFile* file, const char** why) {
  auto fail = [&](const char* text) {
    if (why) *why = text;
    return false;
  };
  if (bytes.size() < QAL_BANK_HEADER_BYTES) return fail("shorter than the 16-byte header");
  if (std::memcmp(bytes.data(), "kbbk", 4) != 0) return fail("not a sound bank (magic \"kbbk\" missing)");
  uint32_t soundCount = le32(bytes.data() + 8);
  uint32_t sampleCount = le32(bytes.data() + 12);
  uint64_t at = QAL_BANK_HEADER_BYTES;
  uint64_t defBytes = static_cast<uint64_t>(soundCount) * QAL_BANK_DEF_BYTES;
  if (defBytes > bytes.size() - at) return fail("the sound definitions run past the end of the file");
  uint64_t defsAt = at;
  at += defBytes;
  // Every sample needs at least its header: a count the file cannot hold is
  // refused before anything is allocated for it.
  if (static_cast<uint64_t>(sampleCount) * QAL_BANK_SAMPLE_HEADER_BYTES > bytes.size() - at)
    return fail("the sample count runs past the end of the file");
  QALBankFile parsed;
  parsed.samples.reserve(sampleCount);
  for (uint32_t i = 0; i < sampleCount; ++i) {
    if (bytes.size() - at < QAL_BANK_SAMPLE_HEADER_BYTES) return fail("a sample header runs past the end of the file");
    uint32_t byteCount = le32(bytes.data() + at + 4);
    at += QAL_BANK_SAMPLE_HEADER_BYTES;
    if (byteCount > bytes.size() - at) return fail("a sample's data runs past the end of the file");
    parsed.samples.push_back(QALBankFile::Entry{nullptr, byteCount});
    parsed.samples.back().pcm = reinterpret_cast<const uint8_t*>(at);  // fixed below
    at += byteCount;
  }
  parsed.soundCount = soundCount;
  parsed.defs.assign(bytes.begin() + static_cast<long>(defsAt), bytes.begin() + static_cast<long>(defsAt + defBytes));
  parsed.files.push_back(std::move(bytes));
  const uint8_t* base = parsed.files.back().data();
  for (auto& e : parsed.samples) e.pcm = base + reinterpret_cast<uintptr_t>(e.pcm);
  *file = std::move(parsed);
  return true;
}

QALSample* QALBankLoadSample(QALBankFile* file, uint32_t sampleIndex, uint32_t rate, uint32_t bits) {
  const QALBankFile::Entry* e = entryOf(file, sampleIndex);
  if (!e) return nullptr;
  // The PCM goes through a buffer of its own, as read from the file.
  std::unique_ptr<uint8_t[]> pcm(new uint8_t[e->byteCount ? e->byteCount : 1]);
  std::memcpy(pcm.get(), e->pcm, e->byteCount);
  auto* sample = new QALSample;
  if (!QALSampleCreate(sample, pcm.get(), e->byteCount, 1, static_cast<int32_t>(bits), rate)) {
    delete sample;
    return nullptr;
  }
  QALSampleSetLoop(sample, 0);
  return sample;
}

uint32_t QALBankBytesNeeded(const QALBankFile* file, uint32_t first, uint32_t last) {
  uint64_t total = 0;
  for (uint64_t i = first; i <= last && i < file->soundCount; ++i) {
    Def d = readDef(*file, static_cast<uint32_t>(i));
    const QALBankFile::Entry* e = entryOf(file, d.sample);
    if (d.sample == QAL_NO_SAMPLE) continue;
    if (e) total += e->byteCount;
    const QALBankFile::Entry* s = entryOf(file, d.second);
    if (s) total += s->byteCount;
  }
  return total > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(total);
}

QALAdpcmObject* QALBankLoadSampleAdpcm(QALBankFile* file, uint32_t sampleIndex, uint32_t rate, uint32_t bits) {
  (void)rate;
  const QALBankFile::Entry* e = entryOf(file, sampleIndex);
  if (!e || bits != 16) return nullptr;  // only 16-bit PCM is compressed
  uint32_t samples = e->byteCount / 2;
  std::vector<int16_t> pcm(samples ? samples : 1);
  for (uint32_t i = 0; i < samples; ++i)
    pcm[i] = static_cast<int16_t>(static_cast<uint16_t>(e->pcm[2 * i] | (e->pcm[2 * i + 1] << 8)));
  uint32_t size = (samples + 1) / 2;
  auto* out = new uint8_t[size ? size : 1]();
  QALAdpcmState state;
  QALAdpcmEncode(pcm.data(), out, samples, &state);
  return QALAdpcmObjectCreate(out, size);
}

namespace {
const char* g_pszBankLoadError = "";
}

const char* QALBankLoadError() { return g_pszBankLoadError; }

int32_t QALBankLoad(QALBank* bank, const char* path) {
  g_pszBankLoadError = "no bank record given";
  if (!bank) return 0;
  std::vector<uint8_t> bytes;
  if (!readFile(path, &bytes)) {
    g_pszBankLoadError = path && platform::fileExists(path) ? "the file cannot be read or is larger than 256 MB"
                                                           : "the file is missing";
    return 0;
  }
  QALBankFile file;
  if (!QALBankParse(std::move(bytes), &file, &g_pszBankLoadError)) return 0;
  g_pszBankLoadError = "";
  g_lastDefs = file.defs;
  QALBank loaded;
  loaded.soundCount = file.soundCount;
  loaded.sampleCount = static_cast<uint32_t>(file.samples.size());
  loadAll(&loaded, &file);
  *bank = loaded;
  return 1;
}

void QALSoundFree(QALSound* sound) {
  if (!sound) return;
  if (sound->sample) {
    QALSampleFree(sound->sample);
    if (sound->second) QALSampleFree(sound->second);
  } else {
    if (sound->second) QALSampleFree(sound->second);
    QALAdpcmObjectRelease(sound->compressed);
  }
  sound->sample = sound->second = nullptr;
  sound->compressed = nullptr;
}

void QALBankFree(QALBank* bank) {
  if (!bank || !bank->sounds) return;
  for (uint32_t i = 0; i < bank->soundCount; ++i) QALSoundFree(&bank->sounds[i]);
  delete[] bank->sounds;
  bank->sounds = nullptr;
}

QALBank* QALBankLoadMulti(uint32_t count, const char* const* paths, uint32_t* firstSoundOut) {
  if (!paths || count == 0) return nullptr;
  QALBankFile all;
  for (uint32_t k = 0; k < count; ++k) {
    std::vector<uint8_t> bytes;
    QALBankFile one;
    if (!readFile(paths[k], &bytes) || !QALBankParse(std::move(bytes), &one, nullptr)) return nullptr;
    uint32_t sampleBase = static_cast<uint32_t>(all.samples.size());
    if (firstSoundOut) firstSoundOut[k] = all.soundCount;
    // Sample indexes of this file move up by the samples before it.
    for (uint32_t i = 0; i < one.soundCount; ++i) {
      uint8_t* p = one.defs.data() + static_cast<size_t>(i) * QAL_BANK_DEF_BYTES;
      for (int offset : {54, 58, 70}) {
        uint32_t v = le32(p + offset);
        if (v == QAL_NO_SAMPLE) continue;
        v = v < one.samples.size() ? v + sampleBase : QAL_NO_SAMPLE - 1;  // out of range stays out of range
        for (int b = 0; b < 4; ++b) p[offset + b] = static_cast<uint8_t>(v >> (8 * b));
      }
    }
    all.defs.insert(all.defs.end(), one.defs.begin(), one.defs.end());
    all.samples.insert(all.samples.end(), one.samples.begin(), one.samples.end());
    for (auto& f : one.files) all.files.push_back(std::move(f));  // the PCM pointers stay valid
    all.soundCount += one.soundCount;
  }
  g_lastDefs = all.defs;
  auto* bank = new QALBank;
  bank->soundCount = all.soundCount;
  bank->sampleCount = static_cast<uint32_t>(all.samples.size());
  loadAll(bank, &all);
  return bank;
}
