// cdtracks: the audio tracks of the game disc, synthesized.
//   cdtracks --track <2..7> --out <file.wav> [--seconds <s>]
// 2 to 5 are stadium crowds for the match (relaxed singing, excited chanting,
// an anxious murmur with whistles, a subdued grumble), 6 a light track for the
// training ground, 7 the menu music. 22050 Hz stereo 16-bit, ending in a
// five-second fade; the same arguments always give the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sound/synth.h"

using namespace ksynth;

namespace {

constexpr double kRate = 22050.0;
constexpr double kFadeSeconds = 5.0;

size_t at(double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * kRate); }
double hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// ---- Instruments: each renders one note as a mono buffer ----------------------
Mono kick(double gain) {
  Mono m(at(0.4));
  double phase = 0;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = 45.0 + 90.0 * std::exp(-t * 30.0);
    phase += f / kRate;
    m[i] = gain * std::sin(2 * kPi * phase) * std::exp(-t * 7.0);
  }
  return m;
}

Mono snare(Rng& rng, double gain) {
  Mono m(at(0.25));
  Biquad band;
  band.bandpass(1900, 0.7, kRate);
  Phasor tone;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double n = band.process(rng.noise()) * std::exp(-t * 16.0);
    double b = sine(tone.step(185, kRate)) * std::exp(-t * 30.0);
    m[i] = gain * (1.6 * n + 0.5 * b);
  }
  return m;
}

Mono hat(Rng& rng, double gain, double length) {
  Mono m(at(length));
  Biquad high;
  high.highpass(7000, 0.7, kRate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    m[i] = gain * high.process(rng.noise()) * std::exp(-t * 4.0 / length);
  }
  return m;
}

// One hand clap: three quick bursts of band-passed noise.
Mono clap(Rng& rng, double gain, double centre) {
  Mono m(at(0.12));
  Biquad band;
  band.bandpass(centre, 1.2, kRate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = 0;
    for (double s : {0.0, 0.011, 0.022}) env = std::max(env, t >= s ? std::exp(-(t - s) * 90.0) : 0.0);
    m[i] = gain * band.process(rng.noise()) * env * 3.0;
  }
  return m;
}

Mono bass(double note, double length, double gain) {
  Mono m(at(length + 0.05));
  Biquad lp;
  lp.lowpass(420, 1.1, kRate);
  Phasor a, b;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double s = 0.6 * saw(a.step(hz(note), kRate)) + 0.4 * square(b.step(hz(note) * 0.5, kRate));
    m[i] = gain * lp.process(s) * adsr(t, 0.005, 0.12, 0.7, length - 0.13, 0.05);
  }
  return m;
}

Mono pad(const std::vector<double>& notes, double length, double gain) {
  Mono m(at(length + 0.4));
  Biquad lp;
  lp.lowpass(1700, 0.8, kRate);
  std::vector<Phasor> osc(notes.size() * 2);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double s = 0;
    for (size_t k = 0; k < notes.size(); ++k) {
      s += saw(osc[2 * k].step(hz(notes[k]) * 1.003, kRate));
      s += saw(osc[2 * k + 1].step(hz(notes[k]) * 0.997, kRate));
    }
    m[i] = gain * lp.process(s / static_cast<double>(notes.size() * 2)) * adsr(t, 0.25, 0.3, 0.8, length - 0.55, 0.4);
  }
  return m;
}

Mono lead(double note, double length, double gain) {
  Mono m(at(length + 0.15));
  Biquad lp;
  lp.lowpass(3200, 0.9, kRate);
  Phasor a, b, vib;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double v = 1.0 + 0.004 * sine(vib.step(5.5, kRate)) * ramp(t, 0.15, 0.4);
    double s = 0.55 * square(a.step(hz(note) * v, kRate), 0.35) + 0.45 * saw(b.step(hz(note) * v * 1.002, kRate));
    m[i] = gain * lp.process(s) * adsr(t, 0.01, 0.15, 0.75, std::max(0.0, length - 0.16), 0.12);
  }
  return m;
}

// A plucked string (Karplus-Strong), as on a nylon guitar.
Mono pluck(Rng& rng, double note, double length, double gain) {
  size_t period = std::max<size_t>(2, static_cast<size_t>(kRate / hz(note)));
  std::vector<double> line(period);
  for (double& v : line) v = rng.noise();
  Mono m(at(length));
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
  fadeOut(&m, 0.05, kRate);
  return m;
}

Mono bell(double note, double length, double gain) {
  Mono m(at(length));
  Phasor a, b, c;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double s = sine(a.step(hz(note), kRate)) + 0.4 * sine(b.step(hz(note) * 2.0, kRate)) * std::exp(-t * 3) +
               0.2 * sine(c.step(hz(note) * 3.01, kRate)) * std::exp(-t * 6);
    m[i] = gain * s * std::exp(-t * 2.2) * std::min(1.0, t * 300.0);
  }
  return m;
}

// ---- Crowd voices ---------------------------------------------------------------
// Smoothed random level between lo and hi, changing every `period` seconds.
struct Wander {
  double value, target, lo, hi, period, t = 0;
  Rng rng;
  Wander(uint64_t seed, double lo_, double hi_, double period_) : lo(lo_), hi(hi_), period(period_), rng(seed) {
    value = target = rng.range(lo, hi);
  }
  double next() {
    t += 1.0 / kRate;
    if (t >= period) {
      t = 0;
      target = rng.range(lo, hi);
    }
    value += (target - value) * (1.0 / (period * kRate)) * 3.0;
    return value;
  }
};

// The murmur of a full stadium: noise through speech-like bands, each side
// its own, with a level that wanders.
void crowdBed(Stereo* s, uint64_t seed, double gain, double brightness, double wanderPeriod) {
  for (int side = 0; side < 2; ++side) {
    Rng rng(seed + static_cast<uint64_t>(side) * 7919);
    Biquad bands[3];
    const double centres[3] = {350 * brightness, 900 * brightness, 2300 * brightness};
    for (int b = 0; b < 3; ++b) bands[b].bandpass(centres[b], 1.1, kRate);
    Wander level(seed * 31 + static_cast<uint64_t>(side), 0.55, 1.0, wanderPeriod);
    Wander babble(seed * 57 + static_cast<uint64_t>(side), 0.6, 1.0, 0.18);
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
Mono syllable(Rng& rng, double pitchHz, double length, Vowel vowel, double breath, double glide, double gain) {
  Mono m(at(length));
  Formants f;
  f.set(vowel, kRate, rng.range(0.92, 1.1));
  Phasor osc, vib;
  double vibRate = rng.range(4.5, 6.0);
  double attack = std::min(0.06, length / 3), release = std::min(0.12, length / 3);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double p = pitchHz * (1.0 + glide * t / length) * (1.0 + 0.012 * sine(vib.step(vibRate, kRate)));
    double src = saw(osc.step(p, kRate)) + breath * rng.noise();
    m[i] = gain * f.process(src) * adsr(t, attack, 0.0, 1.0, length - attack - release, release);
  }
  return m;
}

void addClaps(Stereo* s, Rng& rng, double when, int hands, double gain, double spread) {
  for (int h = 0; h < hands; ++h) {
    Mono c = clap(rng, gain * rng.range(0.5, 1.0), rng.range(900, 2200));
    mixInto(s, c, at(when + rng.range(0.0, spread)), 1.0, rng.range(-0.9, 0.9));
  }
}

// A crowd sings a line: many voices, each a little off in pitch and time.
void sing(Stereo* s, Rng& rng, double start, const std::vector<std::pair<double, double>>& line, double beat, int voices,
          Vowel vowel, double breath, double gain) {
  for (int v = 0; v < voices; ++v) {
    double detune = std::pow(2.0, rng.range(-0.35, 0.35) / 12.0);
    double octave = rng.below(3) == 0 ? 0.5 : 1.0;  // some sing an octave down
    double pan = rng.range(-0.95, 0.95);
    double t = start;
    for (const auto& [note, beats] : line) {
      if (note > 0) {
        double length = beats * beat * rng.range(0.85, 1.0);
        Mono m = syllable(rng, hz(note) * detune * octave, length, vowel, breath, rng.range(-0.01, 0.01), gain);
        mixInto(s, m, at(t + rng.range(-0.04, 0.06)), 1.0, pan);
      }
      t += beats * beat;
    }
  }
}

void finish(Stereo* s, double roomSize, double wet, double peak) {
  Reverb room(kRate, roomSize, 0.45, wet);
  room.apply(s);
  normalize(s, peak);
  softClip(s, 1.2);
  fadeIn(&s->left, 0.05, kRate);
  fadeIn(&s->right, 0.05, kRate);
  fadeOut(s, kFadeSeconds, kRate);
}

// ---- The tracks -------------------------------------------------------------------
// 2: a relaxed crowd singing a slow, swaying song.
Stereo relaxedSinging(double seconds) {
  Stereo s(at(seconds));
  crowdBed(&s, 201, 0.08, 1.0, 3.0);
  Rng rng(202);
  const double beat = 60.0 / 84.0;
  // An original terrace song in G major, two lines of four bars.
  const std::vector<std::pair<double, double>> lineA = {{67, 1}, {71, 1}, {74, 2}, {72, 1}, {71, 1}, {69, 2},
                                                         {67, 1}, {69, 1}, {71, 1}, {72, 1}, {71, 3}, {0, 1}};
  const std::vector<std::pair<double, double>> lineB = {{74, 1}, {74, 1}, {76, 1}, {74, 1}, {72, 2}, {71, 2},
                                                         {69, 1}, {71, 1}, {72, 1}, {69, 1}, {67, 3}, {0, 1}};
  double t = 2.0;
  int verse = 0;
  while (t + 16 * beat < seconds - 2.0) {
    const auto& line = verse % 2 ? lineB : lineA;
    sing(&s, rng, t, line, beat, 14, verse % 3 == 2 ? Vowel::A : Vowel::O, 0.12, 0.05);
    // Claps on the off-beats of the second line, now and then.
    if (verse % 2) {
      for (int b = 0; b < 16; b += 2) addClaps(&s, rng, t + (b + 1) * beat, 10, 0.02, 0.05);
    }
    t += 16 * beat + (verse % 2 ? rng.range(1.5, 4.0) : 0.0);
    ++verse;
  }
  finish(&s, 0.85, 0.9, 0.7);
  return s;
}

// 3: an excited crowd chanting over a drum, with claps, shouts and a horn.
Stereo excitedChanting(double seconds) {
  Stereo s(at(seconds));
  crowdBed(&s, 301, 0.09, 1.15, 1.2);
  Rng rng(302);
  const double beat = 60.0 / 132.0;
  double t = 1.0;
  int bar = 0;
  while (t + 4 * beat < seconds - 1.0) {
    // The stand's big drum on every beat, heavier on the first.
    for (int b = 0; b < 4; ++b) {
      Mono d = kick(b == 0 ? 0.5 : 0.32);
      mixInto(&s, d, at(t + b * beat), 1.0, -0.3);
    }
    if (bar % 4 < 3) {
      // clap, clap, clap ... then a shouted call on the fourth beat.
      for (int b = 0; b < 3; ++b) addClaps(&s, rng, t + b * beat, 26, 0.03, 0.04);
      sing(&s, rng, t + 3 * beat, {{62, 0.9}}, beat, 12, Vowel::E, 0.55, 0.07);
    } else {
      // A chanted line: da-da da-da-da, the team's call.
      const std::vector<std::pair<double, double>> chant = {{64, 0.5}, {64, 0.5}, {67, 1}, {64, 0.5}, {62, 0.5}, {60, 1}};
      sing(&s, rng, t, chant, beat, 14, Vowel::A, 0.45, 0.06);
    }
    if (bar % 8 == 6) {
      // An air horn somewhere in the stand.
      Mono horn(at(1.1));
      Phasor a, b;
      Biquad lp;
      lp.lowpass(2500, 0.8, kRate);
      for (size_t i = 0; i < horn.size(); ++i) {
        double tt = static_cast<double>(i) / kRate;
        horn[i] = lp.process(saw(a.step(415, kRate)) + saw(b.step(523, kRate))) * adsr(tt, 0.03, 0.1, 0.8, 0.8, 0.15);
      }
      mixInto(&s, horn, at(t + 2 * beat), 0.05, rng.range(-0.8, 0.8));
    }
    t += 4 * beat;
    ++bar;
  }
  finish(&s, 0.8, 0.75, 0.75);
  return s;
}

// 4: an anxious crowd: a murmur that swells and ebbs, whistles, gasps.
Stereo anxiousMurmur(double seconds) {
  Stereo s(at(seconds));
  crowdBed(&s, 401, 0.08, 0.95, 5.0);
  Rng rng(402);
  for (double t = 1.0; t < seconds - 2.0; t += rng.range(0.6, 2.8)) {
    // A fan whistling: two fingers, a rising or falling slide.
    double len = rng.range(0.3, 1.4);
    double f0 = rng.range(1900, 3300), slide = rng.range(-0.25, 0.3);
    Mono w(at(len));
    Phasor p;
    for (size_t i = 0; i < w.size(); ++i) {
      double tt = static_cast<double>(i) / kRate;
      double f = f0 * (1.0 + slide * tt / len) * (1.0 + 0.01 * sine(tt * 6.0));
      w[i] = (sine(p.step(f, kRate)) + 0.05 * rng.noise()) * adsr(tt, 0.03, 0.05, 0.8, len - 0.16, 0.08);
    }
    mixInto(&s, w, at(t), rng.range(0.012, 0.03), rng.range(-0.9, 0.9));
  }
  for (double t = 6.0; t < seconds - 6.0; t += rng.range(7.0, 12.0)) {
    // An "ooh" of many voices when something nearly happens.
    Stereo swell(at(2.5));
    for (int v = 0; v < 12; ++v) {
      Mono m = syllable(rng, rng.range(140, 260), rng.range(1.2, 2.2), Vowel::U, 0.3, rng.range(-0.2, -0.05), 0.05);
      mixInto(&swell, m, at(rng.range(0.0, 0.25)), 1.0, rng.range(-0.9, 0.9));
    }
    mixInto(&s, swell.left, at(t), 1.0, -1.0);
    mixInto(&s, swell.right, at(t), 1.0, 1.0);
  }
  finish(&s, 0.75, 0.7, 0.6);
  return s;
}

// 5: a subdued crowd: low grumbling, scattered groans and the odd clap.
Stereo subduedGrumble(double seconds) {
  Stereo s(at(seconds));
  crowdBed(&s, 501, 0.07, 0.6, 6.0);
  Rng rng(502);
  for (double t = 0.5; t < seconds - 2.0; t += rng.range(0.3, 1.4)) {
    Vowel v = rng.below(2) ? Vowel::O : Vowel::U;
    Mono m = syllable(rng, rng.range(85, 140), rng.range(0.5, 1.6), v, 0.35, rng.range(-0.25, -0.05), 0.05);
    mixInto(&s, m, at(t), 1.0, rng.range(-0.9, 0.9));
  }
  for (double t = 3.0; t < seconds - 3.0; t += rng.range(4.0, 9.0)) addClaps(&s, rng, t, 3, 0.02, 0.6);
  finish(&s, 0.7, 0.6, 0.5);
  return s;
}

// Chords as MIDI notes.
struct Chord {
  double root;
  std::vector<double> notes;
};

// 6: the training ground: plucked arpeggios, a bell tune, soft kick and shaker.
Stereo trainingGround(double seconds) {
  Stereo s(at(seconds));
  Rng rng(602);
  const double beat = 60.0 / 100.0;
  const std::vector<Chord> chords = {{50, {62, 66, 69, 74}}, {55, {62, 67, 71, 74}}, {47, {62, 66, 71, 74}}, {57, {61, 64, 69, 73}}};
  const std::vector<std::pair<double, double>> tune = {{78, 1}, {76, 0.5}, {74, 0.5}, {76, 2}, {79, 1}, {78, 1},
                                                        {74, 2}, {71, 1}, {73, 1}, {74, 1}, {76, 1}, {73, 4}};
  double t = 0.5;
  int bar = 0;
  size_t tuneAt = 0;
  double tuneBeat = 0;
  while (t + 4 * beat < seconds) {
    const Chord& c = chords[bar % 4];
    for (int e = 0; e < 8; ++e) {
      double when = t + e * beat / 2;
      const int order[8] = {0, 1, 2, 3, 2, 1, 3, 2};
      mixInto(&s, pluck(rng, c.notes[order[e]], 1.4, 0.22), at(when), 1.0, e % 2 ? 0.35 : -0.35);
      mixInto(&s, hat(rng, 0.05, 0.06), at(when + beat / 4), 1.0, 0.5);
    }
    mixInto(&s, bass(c.root - 12, 4 * beat * 0.95, 0.22), at(t), 1.0, 0.0);
    if (bar >= 2) {
      mixInto(&s, kick(0.3), at(t), 1.0, 0.0);
      mixInto(&s, kick(0.22), at(t + 2 * beat), 1.0, 0.0);
    }
    if (bar >= 4 && bar % 16 < 12) {
      // The bell tune runs on across the bars.
      double end = t + 4 * beat;
      double when = t + tuneBeat * beat;
      while (when < end) {
        const auto& [note, beats] = tune[tuneAt];
        Mono ring = bell(note, beats * beat + 0.8, 0.12);
        mixInto(&s, ring, at(when), 1.0, 0.2);
        mixInto(&s, ring, at(when + 0.5 * beat), 0.25, -0.6);
        when += beats * beat;
        tuneAt = (tuneAt + 1) % tune.size();
      }
      tuneBeat = (when - end) / beat;
    }
    t += 4 * beat;
    ++bar;
  }
  finish(&s, 0.45, 0.35, 0.8);
  return s;
}

// 7: the menu music: drums, bass, chords and a lead line in A minor.
Stereo menuMusic(double seconds) {
  Stereo s(at(seconds));
  Rng rng(702);
  const double beat = 0.5;  // 120 beats a minute
  const std::vector<Chord> chords = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};
  // Two four-bar phrases: (beat within the phrase, length in beats, note).
  struct Note {
    double beat, length, note;
  };
  const std::vector<Note> phraseA = {{0, 1, 76},    {1, 1, 81},    {2, 0.5, 84},  {2.5, 0.5, 83}, {3, 1, 81},
                                     {4, 1.5, 84},  {5.5, 0.5, 81}, {6, 1, 77},   {7, 1, 81},     {8, 1, 79},
                                     {9, 0.5, 76},  {9.5, 0.5, 79}, {10, 1, 84},  {11, 1, 83},    {12, 1.5, 86},
                                     {13.5, 0.5, 83}, {14, 2, 79}};
  const std::vector<Note> phraseB = {{0, 0.5, 81},  {0.5, 0.5, 84}, {1, 0.5, 88},  {1.5, 0.5, 84}, {2, 1, 86},
                                     {3, 1, 84},    {4, 0.5, 81},   {4.5, 0.5, 84}, {5, 1, 89},    {6, 2, 88},
                                     {8, 0.5, 79},  {8.5, 0.5, 84}, {9, 1, 88},    {10, 1, 86},    {11, 1, 84},
                                     {12, 1, 83},   {13, 1, 86},    {14, 2, 88}};
  double t = 0.0;
  int bar = 0;
  const int bars = static_cast<int>((seconds - 0.5) / (4 * beat));
  while (bar < bars) {
    const Chord& c = chords[bar % 4];
    int section = bar / 8;  // 0 intro, 1 A, 2 B, 3 A, 4 B ...
    bool intro = section == 0;
    // Drums: kick on 1 and 3 (and the "and" of 4 in B), snare on 2 and 4, hats in eighths.
    for (int b = 0; b < 4; ++b) {
      double when = t + b * beat;
      if (b % 2 == 0) mixInto(&s, kick(0.6), at(when), 1.0, 0.0);
      if (!intro && b % 2 == 1) mixInto(&s, snare(rng, 0.28), at(when), 1.0, 0.1);
      for (int h = 0; h < 2; ++h) mixInto(&s, hat(rng, h ? 0.06 : 0.09, 0.07), at(when + h * beat / 2), 1.0, h ? -0.45 : 0.45);
    }
    if (section % 2 == 0 && !intro) mixInto(&s, kick(0.45), at(t + 3.5 * beat), 1.0, 0.0);
    // Bass in eighths on the root, octave on the off-beats.
    if (bar >= 2) {
      for (int e = 0; e < 8; ++e) {
        double note = c.root - 12 + (e % 2 ? 12 : 0);
        mixInto(&s, bass(note, beat / 2 * 0.9, 0.3), at(t + e * beat / 2), 1.0, 0.0);
      }
    }
    // The chords spread wide: the voicing on the left, an octave up on the right.
    mixInto(&s, pad(c.notes, 4 * beat, 0.16), at(t), 1.0, -0.55);
    std::vector<double> high;
    for (double n : c.notes) high.push_back(n + 12);
    mixInto(&s, pad(high, 4 * beat, 0.07), at(t), 1.0, 0.55);
    if (!intro) {
      const auto& phrase = section % 2 ? phraseA : phraseB;
      double phraseStart = (bar % 4) * 4.0;
      for (const Note& n : phrase) {
        if (n.beat < phraseStart || n.beat >= phraseStart + 4) continue;
        Mono note = lead(n.note, n.length * beat * 0.95, 0.16);
        size_t when = at(t + (n.beat - phraseStart) * beat);
        mixInto(&s, note, when, 1.0, 0.15);
        mixInto(&s, note, when + at(0.75 * beat), 0.3, -0.6);  // a dotted echo across the stereo field
      }
    }
    t += 4 * beat;
    ++bar;
  }
  finish(&s, 0.35, 0.25, 0.85);
  return s;
}

int usage() {
  std::fprintf(stderr, "usage: cdtracks --track <2..7> --out <file.wav> [--seconds <s>]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int track = 0;
  std::string out;
  double seconds = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--track" && i + 1 < argc)
      track = std::atoi(argv[++i]);
    else if (a == "--out" && i + 1 < argc)
      out = argv[++i];
    else if (a == "--seconds" && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      return usage();
  }
  if (track < 2 || track > 7 || out.empty() || seconds < 0 || seconds > 600) return usage();
  // Lengths within 60 to 90 seconds, each its own.
  const double lengths[8] = {0, 0, 72, 66, 70, 64, 68, 76};
  if (seconds == 0) seconds = lengths[track];
  if (seconds < kFadeSeconds + 1) return usage();
  Stereo s;
  switch (track) {
    case 2: s = relaxedSinging(seconds); break;
    case 3: s = excitedChanting(seconds); break;
    case 4: s = anxiousMurmur(seconds); break;
    case 5: s = subduedGrumble(seconds); break;
    case 6: s = trainingGround(seconds); break;
    default: s = menuMusic(seconds); break;
  }
  if (!writeWav(out, s, static_cast<uint32_t>(kRate), 16)) {
    std::fprintf(stderr, "cdtracks: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
