#pragma once
// A small deterministic synthesis library for the sound generators: seeded
// noise, oscillators, filters, envelopes, a stereo reverb, resampling, mixing
// and WAV files. Same seed and same calls give the same samples, bit for bit,
// on every run (no time, no std:: distributions).
#include <cstdint>
#include <string>
#include <vector>

namespace ksynth {

constexpr double kPi = 3.14159265358979323846;

// ---- Seeded noise ---------------------------------------------------------
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) { next(); }
  uint64_t next();
  double uniform();                       // [0, 1)
  double range(double lo, double hi);     // [lo, hi)
  int below(int n);                       // 0..n-1
  double noise() { return uniform() * 2.0 - 1.0; }  // white, [-1, 1)
  double gaussian();                      // mean 0, deviation about 1

 private:
  uint64_t state_;
};

// ---- Oscillators (phase in turns, 0..1) -------------------------------------
double sine(double phase);
double saw(double phase);
double square(double phase, double duty = 0.5);
double triangle(double phase);

// A phase accumulator.
struct Phasor {
  double phase = 0;
  double step(double hz, double rate) {
    double p = phase;
    phase += hz / rate;
    phase -= static_cast<double>(static_cast<int64_t>(phase));
    return p;
  }
};

// ---- Filters ------------------------------------------------------------------
struct OnePole {
  double a = 0, y = 0;
  void lowpass(double cutoffHz, double rate);
  double process(double x) { return y += a * (x - y); }
  double highpass(double x) { return x - process(x); }
};

struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  void lowpass(double hz, double q, double rate);
  void highpass(double hz, double q, double rate);
  void bandpass(double hz, double q, double rate);  // 0 dB at the peak
  void peak(double hz, double q, double gainDb, double rate);
  double process(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// Formant filter for sung and shouted vowels: three band-passes.
enum class Vowel { A, E, I, O, U };
struct Formants {
  Biquad band[3];
  double gain[3] = {1, 0.5, 0.25};
  void set(Vowel v, double rate, double shift = 1.0);
  double process(double x) { return band[0].process(x) * gain[0] + band[1].process(x) * gain[1] + band[2].process(x) * gain[2]; }
};

// ---- Envelopes ----------------------------------------------------------------
// Attack, decay to sustain, hold for `hold`, release; times in seconds.
double adsr(double t, double attack, double decay, double sustain, double hold, double release);
// 0 -> 1 over [start, end], clamped.
double ramp(double t, double start, double end);

// ---- Buffers ----------------------------------------------------------------
using Mono = std::vector<double>;
struct Stereo {
  Mono left, right;
  explicit Stereo(size_t frames = 0) : left(frames, 0.0), right(frames, 0.0) {}
  size_t frames() const { return left.size(); }
};

// Adds src into dst from frame `at`, with gain and a constant-power pan (-1 left .. 1 right).
void mixInto(Stereo* dst, const Mono& src, size_t at, double gain, double pan);
void mixInto(Mono* dst, const Mono& src, size_t at, double gain);
double peakOf(const Mono& m);
double peakOf(const Stereo& s);
void scale(Mono* m, double gain);
void scale(Stereo* s, double gain);
// Scales to the given peak (no change for silence).
void normalize(Mono* m, double peak);
void normalize(Stereo* s, double peak);
// Linear fades at the ends (seconds).
void fadeIn(Mono* m, double seconds, double rate);
void fadeOut(Mono* m, double seconds, double rate);
void fadeOut(Stereo* s, double seconds, double rate);
// Soft limiter: values stay inside (-1, 1), small ones pass almost unchanged.
void softClip(Stereo* s, double drive = 1.0);
// Linear-interpolating change of rate.
Mono resample(const Mono& m, double fromRate, double toRate);

// A stereo room: eight combs and four all-passes a side, a wet share and a
// room size 0..1 (bigger = longer tail).
class Reverb {
 public:
  Reverb(double rate, double roomSize, double damping, double wet);
  void process(double inLeft, double inRight, double* outLeft, double* outRight);
  void apply(Stereo* s);

 private:
  struct Comb {
    std::vector<double> buf;
    size_t pos = 0;
    double store = 0;
  };
  struct Allpass {
    std::vector<double> buf;
    size_t pos = 0;
  };
  Comb combs_[2][8];
  Allpass passes_[2][4];
  double feedback_, damp_, wet_;
};

// ---- WAV files ---------------------------------------------------------------
// Values -1..1 as 16-bit (or 8-bit unsigned) PCM, rounded and clamped.
bool writeWav(const std::string& path, const Mono& m, uint32_t rate, int bits = 16);
bool writeWav(const std::string& path, const Stereo& s, uint32_t rate, int bits = 16);
std::vector<int16_t> toPcm16(const Mono& m);
std::vector<uint8_t> toPcm8(const Mono& m);

struct WavData {
  uint32_t rate = 0;
  int channels = 0;
  int bits = 0;
  Mono left, right;  // right empty for mono; values -1..1
};
// Reads PCM WAV (8 or 16 bits, mono or stereo). False with *why on a fault.
bool readWav(const std::string& path, WavData* out, std::string* why);
bool parseWav(const std::vector<uint8_t>& bytes, WavData* out, std::string* why);

}  // namespace ksynth
