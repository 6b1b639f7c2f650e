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

#include "sound/instruments.h"
#include "sound/synth.h"

using namespace ksynth;

namespace {

constexpr double kRate = 22050.0;
constexpr double kFadeSeconds = 5.0;

// ---- The tracks -------------------------------------------------------------------
// 2: a relaxed crowd singing a slow, swaying song.
Stereo relaxedSinging(double seconds) {
  Stereo s(at(kRate, seconds));
  crowdBed(kRate, &s, 201, 0.08, 1.0, 3.0);
  Rng rng(202);
  const double beat = 60.0 / 84.0;
  // An original terrace song in G major, two lines of four bars, in the
  // range of a stand of grown men.
  const std::vector<std::pair<double, double>> lineA = {{55, 1}, {59, 1}, {62, 2}, {60, 1}, {59, 1}, {57, 2},
                                                         {55, 1}, {57, 1}, {59, 1}, {60, 1}, {59, 3}, {0, 1}};
  const std::vector<std::pair<double, double>> lineB = {{62, 1}, {62, 1}, {64, 1}, {62, 1}, {60, 2}, {59, 2},
                                                         {57, 1}, {59, 1}, {60, 1}, {57, 1}, {55, 3}, {0, 1}};
  double t = 2.0;
  int verse = 0;
  while (t + 16 * beat < seconds - 2.0) {
    const auto& line = verse % 2 ? lineB : lineA;
    sing(kRate, &s, rng, t, line, beat, 14, verse % 3 == 2 ? Vowel::A : Vowel::O, 0.12, 0.05);
    // Claps on the off-beats of the second line, now and then.
    if (verse % 2) {
      for (int b = 0; b < 16; b += 2) addClaps(kRate, &s, rng, t + (b + 1) * beat, 10, 0.02, 0.05);
    }
    t += 16 * beat + (verse % 2 ? rng.range(1.5, 4.0) : 0.0);
    ++verse;
  }
  finishTrack(kRate, &s, 0.85, 0.9, 0.7, kFadeSeconds);
  return s;
}

// 3: an excited crowd chanting over a drum, with claps, shouts and a horn.
Stereo excitedChanting(double seconds) {
  Stereo s(at(kRate, seconds));
  crowdBed(kRate, &s, 301, 0.09, 1.15, 1.2);
  Rng rng(302);
  const double beat = 60.0 / 132.0;
  double t = 1.0;
  int bar = 0;
  while (t + 4 * beat < seconds - 1.0) {
    // The stand's big drum on every beat, heavier on the first.
    for (int b = 0; b < 4; ++b) {
      Mono d = kick(kRate, b == 0 ? 0.5 : 0.32);
      mixInto(&s, d, at(kRate, t + b * beat), 1.0, -0.3);
    }
    if (bar % 4 < 3) {
      // clap, clap, clap ... then a shouted call on the fourth beat.
      for (int b = 0; b < 3; ++b) addClaps(kRate, &s, rng, t + b * beat, 26, 0.03, 0.04);
      sing(kRate, &s, rng, t + 3 * beat, {{62, 0.9}}, beat, 12, Vowel::E, 0.55, 0.07);
    } else {
      // A chanted line: da-da da-da-da, the team's call.
      const std::vector<std::pair<double, double>> chant = {{64, 0.5}, {64, 0.5}, {67, 1}, {64, 0.5}, {62, 0.5}, {60, 1}};
      sing(kRate, &s, rng, t, chant, beat, 14, Vowel::A, 0.45, 0.06);
    }
    if (bar % 8 == 6) {
      // An air horn somewhere in the stand.
      Mono horn(at(kRate, 1.1));
      Phasor a, b;
      Biquad lp;
      lp.lowpass(2500, 0.8, kRate);
      for (size_t i = 0; i < horn.size(); ++i) {
        double tt = static_cast<double>(i) / kRate;
        horn[i] = lp.process(saw(a.step(415, kRate)) + saw(b.step(523, kRate))) * adsr(tt, 0.03, 0.1, 0.8, 0.8, 0.15);
      }
      mixInto(&s, horn, at(kRate, t + 2 * beat), 0.05, rng.range(-0.8, 0.8));
    }
    t += 4 * beat;
    ++bar;
  }
  finishTrack(kRate, &s, 0.8, 0.75, 0.75, kFadeSeconds);
  return s;
}

// 4: an anxious crowd: a murmur that swells and ebbs, whistles, gasps.
Stereo anxiousMurmur(double seconds) {
  Stereo s(at(kRate, seconds));
  crowdBed(kRate, &s, 401, 0.08, 0.95, 5.0);
  Rng rng(402);
  for (double t = 1.0; t < seconds - 2.0; t += rng.range(0.6, 2.8)) {
    // A fan whistling: two fingers, a rising or falling slide.
    double len = rng.range(0.3, 1.4);
    double f0 = rng.range(1900, 3300), slide = rng.range(-0.25, 0.3);
    Mono w = fanWhistle(kRate, rng, f0, slide, len, 1.0);
    mixInto(&s, w, at(kRate, t), rng.range(0.012, 0.03), rng.range(-0.9, 0.9));
  }
  for (double t = 6.0; t < seconds - 6.0; t += rng.range(7.0, 12.0)) {
    // An "ooh" of many voices when something nearly happens.
    Stereo swell(at(kRate, 2.5));
    for (int v = 0; v < 12; ++v) {
      Mono m = syllable(kRate, rng, rng.range(140, 260), rng.range(1.2, 2.2), Vowel::U, 0.3, rng.range(-0.2, -0.05), 0.05);
      mixInto(&swell, m, at(kRate, rng.range(0.0, 0.25)), 1.0, rng.range(-0.9, 0.9));
    }
    mixInto(&s, swell.left, at(kRate, t), 1.0, -1.0);
    mixInto(&s, swell.right, at(kRate, t), 1.0, 1.0);
  }
  finishTrack(kRate, &s, 0.75, 0.7, 0.6, kFadeSeconds);
  return s;
}

// 5: a subdued crowd: low grumbling, scattered groans and the odd clap.
Stereo subduedGrumble(double seconds) {
  Stereo s(at(kRate, seconds));
  crowdBed(kRate, &s, 501, 0.07, 0.6, 6.0);
  Rng rng(502);
  for (double t = 0.5; t < seconds - 2.0; t += rng.range(0.3, 1.4)) {
    Vowel v = rng.below(2) ? Vowel::O : Vowel::U;
    Mono m = syllable(kRate, rng, rng.range(85, 140), rng.range(0.5, 1.6), v, 0.35, rng.range(-0.25, -0.05), 0.05);
    mixInto(&s, m, at(kRate, t), 1.0, rng.range(-0.9, 0.9));
  }
  for (double t = 3.0; t < seconds - 3.0; t += rng.range(4.0, 9.0)) addClaps(kRate, &s, rng, t, 3, 0.02, 0.6);
  finishTrack(kRate, &s, 0.7, 0.6, 0.5, kFadeSeconds);
  return s;
}

// Chords as MIDI notes.
struct Chord {
  double root;
  std::vector<double> notes;
};

// 6: the training ground: plucked arpeggios, a bell tune, soft kick and shaker.
Stereo trainingGround(double seconds) {
  Stereo s(at(kRate, seconds));
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
      mixInto(&s, pluck(kRate, rng, c.notes[order[e]], 1.4, 0.22), at(kRate, when), 1.0, e % 2 ? 0.35 : -0.35);
      mixInto(&s, hat(kRate, rng, 0.05, 0.06), at(kRate, when + beat / 4), 1.0, 0.5);
    }
    mixInto(&s, bass(kRate, c.root - 12, 4 * beat * 0.95, 0.22), at(kRate, t), 1.0, 0.0);
    if (bar >= 2) {
      mixInto(&s, kick(kRate, 0.3), at(kRate, t), 1.0, 0.0);
      mixInto(&s, kick(kRate, 0.22), at(kRate, t + 2 * beat), 1.0, 0.0);
    }
    if (bar >= 4 && bar % 16 < 12) {
      // The bell tune runs on across the bars.
      double end = t + 4 * beat;
      double when = t + tuneBeat * beat;
      while (when < end) {
        const auto& [note, beats] = tune[tuneAt];
        Mono ring = bell(kRate, note, beats * beat + 0.8, 0.12);
        mixInto(&s, ring, at(kRate, when), 1.0, 0.2);
        mixInto(&s, ring, at(kRate, when + 0.5 * beat), 0.25, -0.6);
        when += beats * beat;
        tuneAt = (tuneAt + 1) % tune.size();
      }
      tuneBeat = (when - end) / beat;
    }
    t += 4 * beat;
    ++bar;
  }
  finishTrack(kRate, &s, 0.45, 0.35, 0.8, kFadeSeconds);
  return s;
}

// 7: the menu music: drums, bass, chords and a lead line in A minor.
Stereo menuMusic(double seconds) {
  Stereo s(at(kRate, seconds));
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
      if (b % 2 == 0) mixInto(&s, kick(kRate, 0.6), at(kRate, when), 1.0, 0.0);
      if (!intro && b % 2 == 1) mixInto(&s, snare(kRate, rng, 0.28), at(kRate, when), 1.0, 0.1);
      for (int h = 0; h < 2; ++h) mixInto(&s, hat(kRate, rng, h ? 0.06 : 0.09, 0.07), at(kRate, when + h * beat / 2), 1.0, h ? -0.45 : 0.45);
    }
    if (section % 2 == 0 && !intro) mixInto(&s, kick(kRate, 0.45), at(kRate, t + 3.5 * beat), 1.0, 0.0);
    // Bass in eighths on the root, octave on the off-beats.
    if (bar >= 2) {
      for (int e = 0; e < 8; ++e) {
        double note = c.root - 12 + (e % 2 ? 12 : 0);
        mixInto(&s, bass(kRate, note, beat / 2 * 0.9, 0.3), at(kRate, t + e * beat / 2), 1.0, 0.0);
      }
    }
    // The chords spread wide: the voicing on the left, an octave up on the right.
    mixInto(&s, pad(kRate, c.notes, 4 * beat, 0.16), at(kRate, t), 1.0, -0.55);
    std::vector<double> high;
    for (double n : c.notes) high.push_back(n + 12);
    mixInto(&s, pad(kRate, high, 4 * beat, 0.07), at(kRate, t), 1.0, 0.55);
    if (!intro) {
      const auto& phrase = section % 2 ? phraseA : phraseB;
      double phraseStart = (bar % 4) * 4.0;
      for (const Note& n : phrase) {
        if (n.beat < phraseStart || n.beat >= phraseStart + 4) continue;
        Mono note = lead(kRate, n.note, n.length * beat * 0.95, 0.16);
        size_t when = at(kRate, t + (n.beat - phraseStart) * beat);
        mixInto(&s, note, when, 1.0, 0.15);
        mixInto(&s, note, when + at(kRate, 0.75 * beat), 0.3, -0.6);  // a dotted echo across the stereo field
      }
    }
    t += 4 * beat;
    ++bar;
  }
  finishTrack(kRate, &s, 0.35, 0.25, 0.85, kFadeSeconds);
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
