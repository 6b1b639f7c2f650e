#include "sound/kbb.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "audio/qal.h"
#include "sound/synth.h"

namespace ksynth {
namespace {

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

bool parseNumber(const std::string& text, uint32_t* out) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFull) return false;
  *out = static_cast<uint32_t>(v);
  return true;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::vector<uint8_t> kbbBytes(const KbbBank& bank) {
  std::vector<uint8_t> out(QAL_BANK_HEADER_BYTES + bank.sounds.size() * QAL_BANK_DEF_BYTES, 0);
  std::memcpy(out.data(), "kbbk", 4);
  put32(out.data() + 4, 1);  // format version, for our tools only
  put32(out.data() + 8, static_cast<uint32_t>(bank.sounds.size()));
  put32(out.data() + 12, static_cast<uint32_t>(bank.samples.size()));
  for (size_t i = 0; i < bank.sounds.size(); ++i) {
    const KbbSound& s = bank.sounds[i];
    uint8_t* d = out.data() + QAL_BANK_HEADER_BYTES + i * QAL_BANK_DEF_BYTES;
    put32(d, static_cast<uint32_t>(i));
    d[4] = static_cast<uint8_t>(s.tag);
    d[5] = static_cast<uint8_t>(static_cast<uint16_t>(s.tag) >> 8);
    put32(d + 14, s.paramA);
    put32(d + 18, s.paramB);
    std::memcpy(d + 22, s.name.data(), std::min<size_t>(s.name.size(), 32));
    put32(d + 54, s.sample);
    put32(d + 58, s.second);
    put32(d + 62, s.rate);
    put32(d + 66, s.bits);
    put32(d + 70, s.compressed);
    put32(d + 78, s.compressedRate);
    put32(d + 82, s.compressedBits);
  }
  for (const auto& pcm : bank.samples) {
    uint8_t head[8] = {};
    put32(head + 4, static_cast<uint32_t>(pcm.size()));
    out.insert(out.end(), head, head + 8);
    out.insert(out.end(), pcm.begin(), pcm.end());
  }
  return out;
}

bool kbbWrite(const std::string& path, const KbbBank& bank) {
  std::vector<uint8_t> bytes = kbbBytes(bank);
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool kbbFromManifest(const std::string& manifestPath, KbbBank* bank, std::string* why) {
  std::ifstream in(manifestPath);
  if (!in) {
    *why = "cannot read " + manifestPath;
    return false;
  }
  const std::string base = folderOf(manifestPath);
  KbbBank out;
  std::map<std::tuple<std::string, uint32_t, uint32_t, int>, uint32_t> stored;  // (file, rate, bits, channel)
  std::map<std::string, WavData> wavs;
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& text) {
    *why = manifestPath + ":" + std::to_string(number) + ": " + text;
    return false;
  };
  // Adds (or finds) a sample: the file's channel at a rate and bit depth.
  auto sampleOf = [&](const std::string& file, uint32_t rate, uint32_t bits, int channel, uint32_t* index) {
    auto key = std::make_tuple(file, rate, bits, channel);
    auto it = stored.find(key);
    if (it != stored.end()) {
      *index = it->second;
      return true;
    }
    auto w = wavs.find(file);
    if (w == wavs.end()) {
      WavData data;
      std::string reason;
      if (!readWav(base + "/" + file, &data, &reason)) return fail(reason);
      w = wavs.emplace(file, std::move(data)).first;
    }
    const WavData& d = w->second;
    if (channel == 1 && d.channels != 2) return fail(file + " has no right channel");
    const Mono& src = channel == 1 ? d.right : d.left;
    Mono m = rate == d.rate ? src : resample(src, d.rate, rate);
    if (m.empty()) return fail(file + " holds no samples");
    std::vector<uint8_t> pcm;
    if (bits == 16) {
      for (int16_t v : toPcm16(m)) {
        pcm.push_back(static_cast<uint8_t>(v & 0xFF));
        pcm.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
      }
    } else {
      pcm = toPcm8(m);
    }
    *index = static_cast<uint32_t>(out.samples.size());
    out.samples.push_back(std::move(pcm));
    out.sampleBits.push_back(static_cast<int>(bits));
    stored[key] = *index;
    return true;
  };
  while (std::getline(in, line)) {
    ++number;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    if (word != "sound") return fail("expected \"sound\", found \"" + word + "\"");
    std::map<std::string, std::string> fields;
    bool none = false;
    while (words >> word) {
      if (word == "none") {
        none = true;
        continue;
      }
      size_t eq = word.find('=');
      if (eq == std::string::npos || eq == 0) return fail("expected key=value, found \"" + word + "\"");
      std::string key = word.substr(0, eq);
      if (fields.count(key)) return fail("\"" + key + "\" given twice");
      fields[key] = word.substr(eq + 1);
    }
    static const char* const known[] = {"wav", "channel", "rate", "bits", "second", "compress", "crate", "a", "b", "tag", "name"};
    for (const auto& [key, value] : fields) {
      bool ok = false;
      for (const char* k : known) ok = ok || key == k;
      if (!ok) return fail("unknown field \"" + key + "\"");
    }
    KbbSound s;
    s.name = fields.count("name") ? fields["name"] : "";
    if (s.name.size() > 32) return fail("a name has at most 32 bytes");
    uint32_t v = 0;
    for (const char* k : {"a", "b", "tag"}) {
      if (!fields.count(k)) continue;
      if (!parseNumber(fields[k], &v)) return fail(std::string("bad number for ") + k);
      if (!std::strcmp(k, "a")) s.paramA = v;
      if (!std::strcmp(k, "b")) s.paramB = v;
      if (!std::strcmp(k, "tag")) {
        if (v > 32767) return fail("tag is 0..32767");
        s.tag = static_cast<int16_t>(v);
      }
    }
    if (none) {
      if (fields.count("wav") || fields.count("second") || fields.count("compress")) return fail("a sound \"none\" has no samples");
      out.sounds.push_back(s);
      continue;
    }
    if (!fields.count("wav")) return fail("missing wav=");
    const std::string& file = fields["wav"];
    WavData probe;
    auto w = wavs.find(file);
    if (w == wavs.end()) {
      std::string reason;
      if (!readWav(base + "/" + file, &probe, &reason)) return fail(reason);
      w = wavs.emplace(file, std::move(probe)).first;
    }
    s.rate = w->second.rate;
    if (fields.count("rate") && (!parseNumber(fields["rate"], &s.rate) || s.rate < 100 || s.rate > 100000))
      return fail("rate is 100..100000 Hz");
    s.bits = 16;
    if (fields.count("bits") && (!parseNumber(fields["bits"], &s.bits) || (s.bits != 8 && s.bits != 16)))
      return fail("bits is 8 or 16");
    int channel = 0;
    if (fields.count("channel")) {
      if (fields["channel"] == "right")
        channel = 1;
      else if (fields["channel"] != "left")
        return fail("channel is left or right");
    }
    if (!sampleOf(file, s.rate, s.bits, channel, &s.sample)) return false;
    if (fields.count("second") && !sampleOf(fields["second"], s.rate, s.bits, 0, &s.second)) return false;
    s.compressedRate = s.rate;
    s.compressedBits = 16;
    if (fields.count("crate") && (!parseNumber(fields["crate"], &s.compressedRate) || s.compressedRate < 100 ||
                                  s.compressedRate > 100000))
      return fail("crate is 100..100000 Hz");
    if (fields.count("compress")) {
      if (!sampleOf(fields["compress"], s.compressedRate, 16, 0, &s.compressed)) return false;
    } else {
      s.compressedRate = s.rate;
      s.compressedBits = s.bits;
    }
    out.sounds.push_back(s);
  }
  *bank = std::move(out);
  return true;
}

bool kbbCheck(const std::vector<uint8_t>& bytes, std::vector<std::string>* warnings, std::string* why) {
  QALBankFile file;
  const char* reason = nullptr;
  if (!QALBankParse(bytes, &file, &reason)) {
    *why = reason ? reason : "not a bank";
    return false;
  }
  const uint32_t samples = static_cast<uint32_t>(file.samples.size());
  size_t used = QAL_BANK_HEADER_BYTES + static_cast<size_t>(file.soundCount) * QAL_BANK_DEF_BYTES;
  for (const auto& e : file.samples) used += QAL_BANK_SAMPLE_HEADER_BYTES + e.byteCount;
  if (used != bytes.size()) warnings->push_back(std::to_string(bytes.size() - used) + " bytes after the last sample");
  for (uint32_t i = 0; i < file.soundCount; ++i) {
    const uint8_t* d = file.defs.data() + static_cast<size_t>(i) * QAL_BANK_DEF_BYTES;
    uint32_t sample = get32(d + 54), second = get32(d + 58), rate = get32(d + 62), bits = get32(d + 66);
    uint32_t comp = get32(d + 70), crate = get32(d + 78), cbits = get32(d + 82);
    std::string at = "sound " + std::to_string(i) + ": ";
    auto bad = [&](uint32_t index) { return index != kKbbNone && index >= samples; };
    if (bad(sample) || bad(second) || bad(comp)) {
      *why = at + "a sample index past the " + std::to_string(samples) + " samples";
      return false;
    }
    if (sample == kKbbNone) {
      if (second != kKbbNone) warnings->push_back(at + "a second channel without a first");
      continue;
    }
    if ((bits != 8 && bits != 16) || rate < 100 || rate > 100000) {
      *why = at + "bits must be 8 or 16 and the rate 100..100000 Hz";
      return false;
    }
    if (file.samples[sample].byteCount == 0 || (bits == 16 && file.samples[sample].byteCount % 2)) {
      *why = at + "an empty sample or a 16-bit sample of odd length";
      return false;
    }
    uint32_t cIndex = comp == kKbbNone ? sample : comp;
    uint32_t cBits = comp == kKbbNone ? bits : cbits;
    if (cBits != 16)
      warnings->push_back(at + "no 16-bit sample to compress: silent if the budget runs out");
    else if (comp != kKbbNone && (crate < 100 || crate > 100000))
      warnings->push_back(at + "the compressed sample's rate is outside 100..100000 Hz");
    (void)cIndex;
  }
  return true;
}

}  // namespace ksynth
