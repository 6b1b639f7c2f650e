#include "sound/instruments.h"

#include <algorithm>
#include <cmath>

namespace ksynth {
namespace {
// Smoothed random level between lo and hi, changing every `period` seconds.
struct Wander {
  double value, target, lo, hi, period, rate, t = 0;
  Rng rng;
  Wander(double rate_, uint64_t seed, double lo_, double hi_, double period_)
      : lo(lo_), hi(hi_), period(period_), rate(rate_), rng(seed) {
    value = target = rng.range(lo, hi);
  }
  double next() {
    t += 1.0 / rate;
    if (t >= period) {
      t = 0;
      target = rng.range(lo, hi);
    }
    value += (target - value) * (1.0 / (period * rate)) * 3.0;
    return value;
  }
};

}  // namespace

size_t at(double rate, double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * rate); }
double midiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// ---- Instruments: each renders one note as a mono buffer ----------------------
Mono kick(double rate, double gain) {
  Mono m(at(rate, 0.4));
  double phase = 0;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double f = 45.0 + 90.0 * std::exp(-t * 30.0);
    phase += f / rate;
    m[i] = gain * std::sin(2 * kPi * phase) * std::exp(-t * 7.0);
  }
  return m;
}

Mono snare(double rate, Rng& rng, double gain) {
  Mono m(at(rate, 0.25));
  Biquad band;
  band.bandpass(1900, 0.7, rate);
  Phasor tone;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double n = band.process(rng.noise()) * std::exp(-t * 16.0);
    double b = sine(tone.step(185, rate)) * std::exp(-t * 30.0);
    m[i] = gain * (1.6 * n + 0.5 * b);
  }
  return m;
}

Mono hat(double rate, Rng& rng, double gain, double length) {
  Mono m(at(rate, length));
  Biquad high;
  high.highpass(7000, 0.7, rate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    m[i] = gain * high.process(rng.noise()) * std::exp(-t * 4.0 / length);
  }
  return m;
}

// One hand clap: three quick bursts of band-passed noise.
Mono clap(double rate, Rng& rng, double gain, double centre) {
  Mono m(at(rate, 0.12));
  Biquad band;
  band.bandpass(centre, 1.2, rate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double env = 0;
    for (double s : {0.0, 0.011, 0.022}) env = std::max(env, t >= s ? std::exp(-(t - s) * 90.0) : 0.0);
    m[i] = gain * band.process(rng.noise()) * env * 3.0;
  }
  return m;
}

Mono bass(double rate, double note, double length, double gain) {
  Mono m(at(rate, length + 0.05));
  Biquad lp;
  lp.lowpass(420, 1.1, rate);
  Phasor a, b;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double s = 0.6 * saw(a.step(midiHz(note), rate)) + 0.4 * square(b.step(midiHz(note) * 0.5, rate));
    m[i] = gain * lp.process(s) * adsr(t, 0.005, 0.12, 0.7, length - 0.13, 0.05);
  }
  return m;
}

Mono pad(double rate, const std::vector<double>& notes, double length, double gain) {
  Mono m(at(rate, length + 0.4));
  Biquad lp;
  lp.lowpass(1700, 0.8, rate);
  std::vector<Phasor> osc(notes.size() * 2);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double s = 0;
    for (size_t k = 0; k < notes.size(); ++k) {
      s += saw(osc[2 * k].step(midiHz(notes[k]) * 1.003, rate));
      s += saw(osc[2 * k + 1].step(midiHz(notes[k]) * 0.997, rate));
    }
    m[i] = gain * lp.process(s / static_cast<double>(notes.size() * 2)) * adsr(t, 0.25, 0.3, 0.8, length - 0.55, 0.4);
  }
  return m;
}

Mono lead(double rate, double note, double length, double gain) {
  Mono m(at(rate, length + 0.15));
  Biquad lp;
  lp.lowpass(3200, 0.9, rate);
  Phasor a, b, vib;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double v = 1.0 + 0.004 * sine(vib.step(5.5, rate)) * ramp(t, 0.15, 0.4);
    double s = 0.55 * square(a.step(midiHz(note) * v, rate), 0.35) + 0.45 * saw(b.step(midiHz(note) * v * 1.002, rate));
    m[i] = gain * lp.process(s) * adsr(t, 0.01, 0.15, 0.75, std::max(0.0, length - 0.16), 0.12);
  }
  return m;
}

// A plucked string (Karplus-Strong), as on a nylon guitar.
Mono pluck(double rate, Rng& rng, double note, double length, double gain) {
  size_t period = std::max<size_t>(2, static_cast<size_t>(rate / midiHz(note)));
  std::vector<double> line(period);
  for (double& v : line) v = rng.noise();
  Mono m(at(rate, length));
  size_t p = 0;
  double last = 0;
  for (size_t i = 0; i < m.size(); ++i) {
    double cur = line[p];
    double next = line[(p + 1) % period];
    line[p] = 0.996 * 0.5 * (cur + next);
    m[i] = gain * (0.7 * cur + 0.3 * last);
    last = cur;
    p = (p + 1) % period;
  }
  fadeOut(&m, 0.05, rate);
  return m;
}

Mono bell(double rate, double note, double length, double gain) {
  Mono m(at(rate, length));
  Phasor a, b, c;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double s = sine(a.step(midiHz(note), rate)) + 0.4 * sine(b.step(midiHz(note) * 2.0, rate)) * std::exp(-t * 3) +
               0.2 * sine(c.step(midiHz(note) * 3.01, rate)) * std::exp(-t * 6);
    m[i] = gain * s * std::exp(-t * 2.2) * std::min(1.0, t * 300.0);
  }
  return m;
}

Mono fanWhistle(double rate, Rng& rng, double f0, double slide, double length, double gain) {
  Mono w(at(rate, length));
  Phasor p;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double f = f0 * (1.0 + slide * t / length) * (1.0 + 0.01 * sine(t * 6.0));
    w[i] = gain * (sine(p.step(f, rate)) + 0.05 * rng.noise()) *
           adsr(t, 0.03, 0.05, 0.8, std::max(0.0, length - 0.16), 0.08);
  }
  return w;
}

Mono refereeWhistle(double rate, Rng& rng, double length, double gain) {
  Mono w(at(rate, length));
  Phasor a, b, trill;
  double trillHz = rng.range(28.0, 36.0);
  Biquad air;
  air.bandpass(2900, 2.0, rate);
  for (size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double am = 0.6 + 0.4 * sine(trill.step(trillHz, rate));
    double s = sine(a.step(2780, rate)) + 0.7 * sine(b.step(2815, rate)) + 0.6 * air.process(rng.noise());
    w[i] = gain * s * am * adsr(t, 0.015, 0.04, 0.85, std::max(0.0, length - 0.1), 0.045) / 2.3;
  }
  return w;
}

// ---- Crowd voices ---------------------------------------------------------------
// The murmur of a full stadium: noise through speech-like bands, each side
// its own, with a level that wanders.
void crowdBed(double rate, Stereo* s, uint64_t seed, double gain, double brightness, double wanderPeriod) {
  for (int side = 0; side < 2; ++side) {
    Rng rng(seed + static_cast<uint64_t>(side) * 7919);
    Biquad bands[3];
    const double centres[3] = {350 * brightness, 900 * brightness, 2300 * brightness};
    for (int b = 0; b < 3; ++b) bands[b].bandpass(centres[b], 1.1, rate);
    Wander level(rate, seed * 31 + static_cast<uint64_t>(side), 0.55, 1.0, wanderPeriod);
    Wander babble(rate, seed * 57 + static_cast<uint64_t>(side), 0.6, 1.0, 0.18);
    Mono& out = side ? s->right : s->left;
    for (size_t i = 0; i < out.size(); ++i) {
      double n = rng.noise();
      double v = bands[0].process(n) * 1.0 + bands[1].process(n) * 0.8 + bands[2].process(n) * 0.35;
      out[i] += gain * v * level.next() * babble.next();
    }
  }
}

// One voice singing or shouting a syllable: a buzzing source through the
// vowel's formants, with vibrato and a gentle start and end.
Mono syllable(double rate, Rng& rng, double pitchHz, double length, Vowel vowel, double breath, double glide, double gain) {
  Mono m(at(rate, length));
  Formants f;
  f.set(vowel, rate, rng.range(0.92, 1.1));
  Phasor osc, vib;
  double vibRate = rng.range(4.5, 6.0);
  double attack = std::min(0.06, length / 3), release = std::min(0.12, length / 3);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double p = pitchHz * (1.0 + glide * t / length) * (1.0 + 0.012 * sine(vib.step(vibRate, rate)));
    double src = saw(osc.step(p, rate)) + breath * rng.noise();
    m[i] = gain * f.process(src) * adsr(t, attack, 0.0, 1.0, length - attack - release, release);
  }
  return m;
}

void addClaps(double rate, Stereo* s, Rng& rng, double when, int hands, double gain, double spread) {
  for (int h = 0; h < hands; ++h) {
    Mono c = clap(rate, rng, gain * rng.range(0.5, 1.0), rng.range(900, 2200));
    mixInto(s, c, at(rate, when + rng.range(0.0, spread)), 1.0, rng.range(-0.9, 0.9));
  }
}

// A crowd sings a line: many voices, each a little off in pitch and time.
void sing(double rate, Stereo* s, Rng& rng, double start, const std::vector<std::pair<double, double>>& line, double beat, int voices,
          Vowel vowel, double breath, double gain) {
  for (int v = 0; v < voices; ++v) {
    double detune = std::pow(2.0, rng.range(-0.35, 0.35) / 12.0);
    double octave = rng.below(3) == 0 ? 0.5 : 1.0;  // some sing an octave down
    double pan = rng.range(-0.95, 0.95);
    double t = start;
    for (const auto& [note, beats] : line) {
      if (note > 0) {
        double length = beats * beat * rng.range(0.85, 1.0);
        Mono m = syllable(rate, rng, midiHz(note) * detune * octave, length, vowel, breath, rng.range(-0.01, 0.01), gain);
        mixInto(s, m, at(rate, t + rng.range(-0.04, 0.06)), 1.0, pan);
      }
      t += beats * beat;
    }
  }
}

void finishTrack(double rate, Stereo* s, double roomSize, double wet, double peak, double fadeSeconds) {
  Reverb room(rate, roomSize, 0.45, wet);
  room.apply(s);
  normalize(s, peak);
  softClip(s, 1.2);
  fadeIn(&s->left, 0.05, rate);
  fadeIn(&s->right, 0.05, rate);
  fadeOut(s, fadeSeconds, rate);
}

}  // namespace ksynth
