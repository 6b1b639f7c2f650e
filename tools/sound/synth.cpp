#include "sound/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace ksynth {

uint64_t Rng::next() {
  // xorshift64*
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return state_ * 2685821657736338717ull;
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

int Rng::below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }

double Rng::gaussian() {
  double s = 0;
  for (int i = 0; i < 6; ++i) s += uniform();
  return (s - 3.0) * 1.41421356;
}

double sine(double phase) { return std::sin(2.0 * kPi * phase); }
double saw(double phase) { return 2.0 * phase - 1.0; }
double square(double phase, double duty) { return phase < duty ? 1.0 : -1.0; }
double triangle(double phase) { return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; }

void OnePole::lowpass(double cutoffHz, double rate) { a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / rate); }

namespace {
struct Rbj {
  double w, cw, sw, alpha;
  Rbj(double hz, double q, double rate) {
    w = 2.0 * kPi * std::min(hz, rate * 0.49) / rate;
    cw = std::cos(w);
    sw = std::sin(w);
    alpha = sw / (2.0 * q);
  }
};
void setNormalised(Biquad* f, double b0, double b1, double b2, double a0, double a1, double a2) {
  f->b0 = b0 / a0;
  f->b1 = b1 / a0;
  f->b2 = b2 / a0;
  f->a1 = a1 / a0;
  f->a2 = a2 / a0;
}
}  // namespace

void Biquad::lowpass(double hz, double q, double rate) {
  Rbj r(hz, q, rate);
  setNormalised(this, (1 - r.cw) / 2, 1 - r.cw, (1 - r.cw) / 2, 1 + r.alpha, -2 * r.cw, 1 - r.alpha);
}

void Biquad::highpass(double hz, double q, double rate) {
  Rbj r(hz, q, rate);
  setNormalised(this, (1 + r.cw) / 2, -(1 + r.cw), (1 + r.cw) / 2, 1 + r.alpha, -2 * r.cw, 1 - r.alpha);
}

void Biquad::bandpass(double hz, double q, double rate) {
  Rbj r(hz, q, rate);
  setNormalised(this, r.alpha, 0, -r.alpha, 1 + r.alpha, -2 * r.cw, 1 - r.alpha);
}

void Biquad::peak(double hz, double q, double gainDb, double rate) {
  Rbj r(hz, q, rate);
  double a = std::pow(10.0, gainDb / 40.0);
  setNormalised(this, 1 + r.alpha * a, -2 * r.cw, 1 - r.alpha * a, 1 + r.alpha / a, -2 * r.cw, 1 - r.alpha / a);
}

void Formants::set(Vowel v, double rate, double shift) {
  // Formant centres of an adult voice (Hz).
  static const double table[5][3] = {{800, 1150, 2900}, {400, 1600, 2700}, {280, 2250, 2900}, {450, 800, 2830}, {325, 700, 2530}};
  const double* f = table[static_cast<int>(v)];
  for (int i = 0; i < 3; ++i) band[i].bandpass(f[i] * shift, i == 0 ? 6.0 : 9.0, rate);
}

double adsr(double t, double attack, double decay, double sustain, double hold, double release) {
  if (t < 0) return 0;
  if (t < attack) return attack > 0 ? t / attack : 1;
  t -= attack;
  if (t < decay) return 1.0 - (1.0 - sustain) * (t / decay);
  t -= decay;
  if (t < hold) return sustain;
  t -= hold;
  if (t < release) return sustain * (1.0 - t / release);
  return 0;
}

double ramp(double t, double start, double end) {
  if (t <= start) return 0;
  if (t >= end) return 1;
  return (t - start) / (end - start);
}

void mixInto(Stereo* dst, const Mono& src, size_t at, double gain, double pan) {
  double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
  double gl = gain * std::cos(angle), gr = gain * std::sin(angle);
  for (size_t i = 0; i < src.size() && at + i < dst->frames(); ++i) {
    dst->left[at + i] += src[i] * gl;
    dst->right[at + i] += src[i] * gr;
  }
}

void mixInto(Mono* dst, const Mono& src, size_t at, double gain) {
  for (size_t i = 0; i < src.size() && at + i < dst->size(); ++i) (*dst)[at + i] += src[i] * gain;
}

double peakOf(const Mono& m) {
  double p = 0;
  for (double v : m) p = std::max(p, std::fabs(v));
  return p;
}

double peakOf(const Stereo& s) { return std::max(peakOf(s.left), peakOf(s.right)); }

void scale(Mono* m, double gain) {
  for (double& v : *m) v *= gain;
}

void scale(Stereo* s, double gain) {
  scale(&s->left, gain);
  scale(&s->right, gain);
}

void normalize(Mono* m, double peak) {
  double p = peakOf(*m);
  if (p > 0) scale(m, peak / p);
}

void normalize(Stereo* s, double peak) {
  double p = peakOf(*s);
  if (p > 0) scale(s, peak / p);
}

void fadeIn(Mono* m, double seconds, double rate) {
  size_t n = std::min(m->size(), static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < n; ++i) (*m)[i] *= static_cast<double>(i) / static_cast<double>(n);
}

void fadeOut(Mono* m, double seconds, double rate) {
  size_t n = std::min(m->size(), static_cast<size_t>(seconds * rate));
  size_t start = m->size() - n;
  for (size_t i = 0; i < n; ++i) (*m)[start + i] *= static_cast<double>(n - 1 - i) / static_cast<double>(n);
}

void fadeOut(Stereo* s, double seconds, double rate) {
  fadeOut(&s->left, seconds, rate);
  fadeOut(&s->right, seconds, rate);
}

void softClip(Stereo* s, double drive) {
  for (Mono* m : {&s->left, &s->right})
    for (double& v : *m) v = std::tanh(v * drive) / std::tanh(drive);
}

Mono resample(const Mono& m, double fromRate, double toRate) {
  if (m.empty() || fromRate <= 0 || toRate <= 0) return {};
  size_t n = static_cast<size_t>(static_cast<double>(m.size()) * toRate / fromRate);
  Mono out(n);
  for (size_t i = 0; i < n; ++i) {
    double p = static_cast<double>(i) * fromRate / toRate;
    size_t k = static_cast<size_t>(p);
    double f = p - static_cast<double>(k);
    double a = m[std::min(k, m.size() - 1)], b = m[std::min(k + 1, m.size() - 1)];
    out[i] = a + (b - a) * f;
  }
  return out;
}

Reverb::Reverb(double rate, double roomSize, double damping, double wet)
    : feedback_(0.7 + 0.28 * std::clamp(roomSize, 0.0, 1.0)), damp_(std::clamp(damping, 0.0, 1.0)), wet_(wet) {
  // Delay lengths of the classic design at 44.1 kHz, scaled to the rate;
  // the right side is spread by 23 samples.
  static const int comb[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static const int pass[4] = {556, 441, 341, 225};
  for (int side = 0; side < 2; ++side) {
    for (int i = 0; i < 8; ++i)
      combs_[side][i].buf.assign(static_cast<size_t>((comb[i] + side * 23) * rate / 44100.0) + 1, 0.0);
    for (int i = 0; i < 4; ++i)
      passes_[side][i].buf.assign(static_cast<size_t>((pass[i] + side * 23) * rate / 44100.0) + 1, 0.0);
  }
}

void Reverb::process(double inLeft, double inRight, double* outLeft, double* outRight) {
  double in = (inLeft + inRight) * 0.015;
  double out[2] = {0, 0};
  for (int side = 0; side < 2; ++side) {
    for (Comb& c : combs_[side]) {
      double y = c.buf[c.pos];
      c.store = y * (1.0 - damp_) + c.store * damp_;
      c.buf[c.pos] = in + c.store * feedback_;
      if (++c.pos == c.buf.size()) c.pos = 0;
      out[side] += y;
    }
    for (Allpass& a : passes_[side]) {
      double b = a.buf[a.pos];
      double y = -out[side] + b;
      a.buf[a.pos] = out[side] + b * 0.5;
      if (++a.pos == a.buf.size()) a.pos = 0;
      out[side] = y;
    }
  }
  *outLeft = inLeft + out[0] * wet_;
  *outRight = inRight + out[1] * wet_;
}

void Reverb::apply(Stereo* s) {
  for (size_t i = 0; i < s->frames(); ++i) process(s->left[i], s->right[i], &s->left[i], &s->right[i]);
}

namespace {
void put16(std::vector<uint8_t>* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>* b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
// The inverse of the reader's scaling, so that PCM read in comes out unchanged.
int16_t to16(double v) { return static_cast<int16_t>(std::clamp<long>(std::lround(v * 32768.0), -32768, 32767)); }
uint8_t to8(double v) { return static_cast<uint8_t>(std::clamp<long>(std::lround(v * 128.0) + 128, 0, 255)); }

bool writeFrames(const std::string& path, const Mono* channels[], int count, uint32_t rate, int bits) {
  if ((bits != 8 && bits != 16) || count < 1 || count > 2) return false;
  size_t frames = channels[0]->size();
  uint32_t bytesPerFrame = static_cast<uint32_t>(count * bits / 8);
  uint32_t data = static_cast<uint32_t>(frames * bytesPerFrame);
  std::vector<uint8_t> b;
  b.reserve(44 + data);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  put32(&b, 36 + data);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(&b, 16);
  put16(&b, 1);
  put16(&b, static_cast<uint32_t>(count));
  put32(&b, rate);
  put32(&b, rate * bytesPerFrame);
  put16(&b, bytesPerFrame);
  put16(&b, static_cast<uint32_t>(bits));
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put32(&b, data);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < count; ++c) {
      double v = i < channels[c]->size() ? (*channels[c])[i] : 0.0;
      if (bits == 16)
        put16(&b, static_cast<uint16_t>(to16(v)));
      else
        b.push_back(to8(v));
    }
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}
}  // namespace

bool writeWav(const std::string& path, const Mono& m, uint32_t rate, int bits) {
  const Mono* ch[1] = {&m};
  return writeFrames(path, ch, 1, rate, bits);
}

bool writeWav(const std::string& path, const Stereo& s, uint32_t rate, int bits) {
  const Mono* ch[2] = {&s.left, &s.right};
  return writeFrames(path, ch, 2, rate, bits);
}

std::vector<int16_t> toPcm16(const Mono& m) {
  std::vector<int16_t> out(m.size());
  for (size_t i = 0; i < m.size(); ++i) out[i] = to16(m[i]);
  return out;
}

std::vector<uint8_t> toPcm8(const Mono& m) {
  std::vector<uint8_t> out(m.size());
  for (size_t i = 0; i < m.size(); ++i) out[i] = to8(m[i]);
  return out;
}

bool parseWav(const std::vector<uint8_t>& b, WavData* out, std::string* why) {
  auto fail = [&](const char* text) {
    if (why) *why = text;
    return false;
  };
  auto le32 = [&](size_t at) { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24); };
  auto le16 = [&](size_t at) { return static_cast<uint32_t>(b[at] | (b[at + 1] << 8)); };
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4))
    return fail("not a RIFF WAVE file");
  size_t at = 12;
  bool haveFormat = false;
  WavData w;
  while (at + 8 <= b.size()) {
    uint32_t size = le32(at + 4);
    size_t body = at + 8;
    if (size > b.size() - body) return fail("a chunk runs past the end of the file");
    if (!std::memcmp(b.data() + at, "fmt ", 4)) {
      if (size < 16) return fail("short format chunk");
      if (le16(body) != 1) return fail("not PCM");
      w.channels = static_cast<int>(le16(body + 2));
      w.rate = le32(body + 4);
      w.bits = static_cast<int>(le16(body + 14));
      if ((w.channels != 1 && w.channels != 2) || (w.bits != 8 && w.bits != 16) || w.rate == 0)
        return fail("only 8- or 16-bit mono or stereo PCM");
      haveFormat = true;
    } else if (!std::memcmp(b.data() + at, "data", 4)) {
      if (!haveFormat) return fail("data before the format");
      size_t frameBytes = static_cast<size_t>(w.channels * w.bits / 8);
      size_t frames = size / frameBytes;
      w.left.resize(frames);
      if (w.channels == 2) w.right.resize(frames);
      for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < w.channels; ++c) {
          size_t p = body + i * frameBytes + static_cast<size_t>(c) * static_cast<size_t>(w.bits / 8);
          double v = w.bits == 16 ? static_cast<int16_t>(le16(p)) / 32768.0 : (static_cast<int>(b[p]) - 128) / 128.0;
          (c == 0 ? w.left : w.right)[i] = v;
        }
      *out = std::move(w);
      return true;
    }
    at = body + size + (size & 1);
  }
  return fail("no data chunk");
}

bool readWav(const std::string& path, WavData* out, std::string* why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (why) *why = "cannot read " + path;
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parseWav(bytes, out, why);
}

}  // namespace ksynth
