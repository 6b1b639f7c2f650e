// soundbanks: the game's sound banks.
//   soundbanks effects <FRONTEND|INGAME|CROWDDEF|CROWDENG> <assets/sound/effects.txt> <out.kbb>
//   soundbanks speech <shouts|referee> <phrases.txt> <espeak voice> <work folder> <out.kbb>
// Effects and crowds are synthesized; shouts and referee phrases are spoken
// by espeak-ng (found on PATH or in $ESPEAK_NG), given a shout's edge and a
// short outdoor tail, and stored as 8-bit 11025 Hz mono. Every bank is
// checked against the layout the game plays from before it is written.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sound/instruments.h"
#include "sound/kbb.h"
#include "sound/synth.h"

using namespace ksynth;

namespace {

constexpr double kRate = 22050;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "soundbanks: %s\n", what.c_str());
  std::exit(1);
}

// ---- Helpers -----------------------------------------------------------------------

Mono tone(double hz, double length, double decay, double gain) {
  Mono m(at(kRate, length));
  Phasor p;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    m[i] = gain * sine(p.step(hz, kRate)) * std::exp(-t * decay) * ramp(t, 0, 0.002);
  }
  return m;
}

Mono noiseBurst(Rng& rng, double length, double centre, double q, double decay, double gain) {
  Mono m(at(kRate, length));
  Biquad b;
  b.bandpass(centre, q, kRate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    m[i] = gain * b.process(rng.noise()) * std::exp(-t * decay);
  }
  return m;
}

// A boot on the ball: a low thump falling in pitch and a leathery slap.
Mono kickSound(Rng& rng, double power) {
  double length = 0.12 + 0.1 * power;
  Mono m(at(kRate, length));
  Phasor p;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double hz = 70 + (90 + 60 * power) * std::exp(-t * 40);
    m[i] = sine(p.step(hz, kRate)) * std::exp(-t * (38 - 14 * power));
  }
  mixInto(&m, noiseBurst(rng, 0.04 + 0.02 * power, 1400 + 900 * power, 0.9, 90, 0.6 + 0.1 * power), 0, 1.0);
  normalize(&m, 0.45 + 0.5 * power);
  return m;
}

Mono bounceSound(Rng& rng) {
  Mono m = tone(95, 0.16, 30, 1.0);
  mixInto(&m, noiseBurst(rng, 0.03, 700, 1.0, 120, 0.25), 0, 1.0);
  normalize(&m, 0.5);
  return m;
}

// The woodwork rings: inharmonic partials of a hollow metal tube.
Mono postSound(Rng& rng, double base) {
  Mono m(at(kRate, 1.0));
  const double partials[4][2] = {{1.0, 1.0}, {2.58, 0.6}, {4.25, 0.35}, {6.1, 0.2}};
  for (const auto& pr : partials) mixInto(&m, tone(base * pr[0], 1.0, 4 + pr[0] * 2, pr[1]), 0, 1.0);
  mixInto(&m, kickSound(rng, 0.6), 0, 0.8);
  fadeOut(&m, 0.05, kRate);
  normalize(&m, 0.8);
  return m;
}

Mono saveSound(Rng& rng, bool catchIt) {
  Mono m = noiseBurst(rng, catchIt ? 0.18 : 0.12, catchIt ? 500 : 1100, 0.8, catchIt ? 28 : 45, 1.0);
  mixInto(&m, tone(catchIt ? 110 : 160, 0.12, 35, 0.7), 0, 1.0);
  normalize(&m, 0.75);
  return m;
}

// The ball in the net: rope mesh rustling, the sound falling as it settles.
Mono netSound(Rng& rng, double length, double bright) {
  Mono m(at(kRate, length));
  Biquad lp, hp;
  hp.highpass(300, 0.7, kRate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    lp.lowpass(std::max(400.0, bright * 5000 * std::exp(-t * 4)), 0.8, kRate);
    double grain = rng.uniform() < 0.02 ? rng.noise() * 3 : rng.noise() * 0.4;
    m[i] = hp.process(lp.process(grain)) * adsr(t, 0.01, 0.1, 0.6, length * 0.3, length * 0.6);
  }
  mixInto(&m, tone(80, 0.2, 20, 0.4), 0, 1.0);
  normalize(&m, 0.6);
  return m;
}

Mono swish(Rng& rng, double length) {
  Mono m(at(kRate, length));
  Biquad b;
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    b.bandpass(800 + 2400 * t / length, 1.5, kRate);
    m[i] = b.process(rng.noise()) * std::sin(kPi * t / length);
  }
  normalize(&m, 0.4);
  return m;
}

Mono chime(const std::vector<double>& notes, double step, double length, double gain) {
  Mono m(at(kRate, step * static_cast<double>(notes.size()) + length));
  for (size_t k = 0; k < notes.size(); ++k) mixInto(&m, bell(kRate, notes[k], length, gain), at(kRate, step * static_cast<double>(k)), 1.0);
  normalize(&m, gain);
  return m;
}

Mono click(Rng& rng) {
  Mono m = noiseBurst(rng, 0.08, 3500, 1.2, 120, 1.0);
  mixInto(&m, tone(1800, 0.08, 60, 0.5), 0, 1.0);
  normalize(&m, 0.5);
  return m;
}

Mono buzz() {
  Mono m(at(kRate, 0.22));
  Phasor p;
  Biquad lp;
  lp.lowpass(1800, 0.7, kRate);
  for (size_t i = 0; i < m.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    m[i] = lp.process(square(p.step(160, kRate))) * adsr(t, 0.005, 0.02, 0.8, 0.12, 0.07);
  }
  normalize(&m, 0.5);
  return m;
}

// ---- Crowd sounds (rendered in stereo, kept as one side) ---------------------------------

// A loop of `length` seconds whose end runs into its start without a click:
// rendered `fade` longer and the extra crossfaded over the head.
Mono loopOf(const Mono& m, double length, double fade) {
  size_t n = at(kRate, length), f = at(kRate, fade);
  if (m.size() < n + f) fail("loop source too short");
  Mono out(m.begin(), m.begin() + static_cast<long>(n));
  for (size_t i = 0; i < f; ++i) {
    double w = static_cast<double>(i) / static_cast<double>(f);
    out[i] = m[i] * w + m[n + i] * (1 - w);
  }
  return out;
}

void voices(Stereo* s, Rng& rng, int count, double lo, double hi, double length, Vowel v, double glide, double gain) {
  for (int k = 0; k < count; ++k) {
    double start = rng.range(0, std::max(0.01, static_cast<double>(s->frames()) / kRate - length));
    double len = length * rng.range(0.6, 1.2);
    Mono syl = syllable(kRate, rng, rng.range(lo, hi), len, v, 0.3, glide * rng.range(0.5, 1.5), 1.0);
    mixInto(s, syl, at(kRate, start), gain * rng.range(0.5, 1.0), rng.range(-1, 1));
  }
}

Mono crowdSound(int id, bool english, double* outLength) {
  Rng rng(1000 + static_cast<uint64_t>(id) * 17 + (english ? 5 : 0));
  const double loop = 2.6, fade = 0.4;
  double length = id == 2 ? 2.2 : loop + fade;
  Stereo s(at(kRate, length));
  switch (id) {
    case 0:
    case 1:  // a roar: a bright bed and a wall of shouting voices
      crowdBed(kRate, &s, 11 + static_cast<uint64_t>(id), 0.6, 1.4, 0.7);
      voices(&s, rng, 90, 150, 420, 1.2, id ? Vowel::O : Vowel::A, 0.08, 0.12);
      addClaps(kRate, &s, rng, 1.3, 40, 0.05, 1.2);
      break;
    case 2:  // a groan, falling, and fans whistling
      crowdBed(kRate, &s, 21, 0.3, 0.8, 0.5);
      voices(&s, rng, 70, 120, 260, 1.6, Vowel::O, -0.25, 0.12);
      for (int k = 0; k < 6; ++k)
        mixInto(&s, fanWhistle(kRate, rng, rng.range(1800, 2600), rng.range(-0.1, 0.05), rng.range(0.4, 0.9), 0.08),
                at(kRate, rng.range(0.2, 1.2)), 1.0, rng.range(-1, 1));
      fadeOut(&s, 0.4, kRate);
      break;
    case 3:  // jeers: a low boo and whistles
      crowdBed(kRate, &s, 31, 0.3, 0.7, 0.6);
      voices(&s, rng, 80, 100, 200, 1.4, Vowel::U, -0.05, 0.13);
      for (int k = 0; k < 10; ++k)
        mixInto(&s, fanWhistle(kRate, rng, rng.range(1900, 2800), rng.range(-0.15, 0.1), rng.range(0.3, 0.8), 0.07),
                at(kRate, rng.range(0, length - 0.8)), 1.0, rng.range(-1, 1));
      break;
    case 4: {  // the away end's cheer from across the ground
      Stereo near(s.frames());
      crowdBed(kRate, &near, 41, 0.4, 1.0, 0.6);
      voices(&near, rng, 60, 170, 380, 0.9, Vowel::E, 0.1, 0.12);
      if (english)
        sing(kRate, &near, rng, 0.1, {{67, 1}, {67, 1}, {64, 1}, {67, 2}, {69, 1}, {67, 2}}, 0.3, 30, Vowel::O, 0.2, 0.1);
      Biquad lp[2];
      lp[0].lowpass(1600, 0.7, kRate);
      lp[1].lowpass(1600, 0.7, kRate);
      for (size_t i = 0; i < s.frames(); ++i) {
        s.left[i] += lp[0].process(near.left[i]);
        s.right[i] += lp[1].process(near.right[i]);
      }
      break;
    }
    case 5:  // a tense murmur
      crowdBed(kRate, &s, 51, 0.5, 0.75, 0.9);
      voices(&s, rng, 30, 110, 220, 1.5, Vowel::U, 0.0, 0.05);
      break;
    default:  // 6: the bed of a full ground; the home end sings its own songs
      crowdBed(kRate, &s, 61, 0.5, 1.0, 0.8);
      if (english) {
        sing(kRate, &s, rng, 0.0, {{62, 1}, {62, 1}, {66, 1}, {69, 2}, {66, 1}, {64, 2}, {62, 1}}, 0.33, 40, Vowel::A,
             0.25, 0.12);
      } else {
        addClaps(kRate, &s, rng, 0.6, 20, 0.04, 0.5);
        addClaps(kRate, &s, rng, 1.9, 20, 0.04, 0.5);
      }
      break;
  }
  Mono m = s.left;
  for (size_t i = 0; i < m.size(); ++i) m[i] = 0.5 * (s.left[i] + s.right[i]);
  Biquad hp;
  hp.highpass(60, 0.7, kRate);
  for (double& v : m) v = hp.process(v);
  if (id != 2) m = loopOf(m, loop, fade);
  else fadeIn(&m, 0.05, kRate);
  normalize(&m, id == 5 || id == 6 ? 0.5 : 0.8);
  *outLength = static_cast<double>(m.size()) / kRate;
  return m;
}

// ---- Effects and crowd banks ---------------------------------------------------------------

Mono effectSound(const std::string& recipe, Rng& rng) {
  if (recipe.rfind("kick", 0) == 0) return kickSound(rng, std::atof(recipe.c_str() + 4) / 6.0);
  if (recipe == "header") return kickSound(rng, 0.15);
  if (recipe == "bounce") return bounceSound(rng);
  if (recipe == "post") return postSound(rng, 520);
  if (recipe == "bar") return postSound(rng, 430);
  if (recipe == "hoarding") {
    Mono m = tone(240, 0.2, 25, 1.0);
    mixInto(&m, noiseBurst(rng, 0.08, 900, 1.5, 60, 0.8), 0, 1.0);
    normalize(&m, 0.6);
    return m;
  }
  if (recipe == "block") {
    Mono m = tone(120, 0.15, 35, 1.0);
    mixInto(&m, noiseBurst(rng, 0.06, 400, 0.8, 60, 0.6), 0, 1.0);
    normalize(&m, 0.6);
    return m;
  }
  if (recipe == "parry") return saveSound(rng, false);
  if (recipe == "catch") return saveSound(rng, true);
  if (recipe == "swish") return swish(rng, 0.35);
  if (recipe == "net") return netSound(rng, 0.7, 1.0);
  if (recipe == "netlow") return netSound(rng, 0.9, 0.7);
  if (recipe == "whistleshort") {
    Mono m = refereeWhistle(kRate, rng, 0.32, 0.8);
    fadeOut(&m, 0.03, kRate);
    return m;
  }
  if (recipe == "whistlelong") {
    Mono m = refereeWhistle(kRate, rng, 1.1, 0.8);
    fadeOut(&m, 0.08, kRate);
    return m;
  }
  if (recipe == "move") return click(rng);
  if (recipe == "select") return chime({76, 83}, 0.06, 0.25, 0.5);
  if (recipe == "back") return chime({79, 72}, 0.06, 0.22, 0.45);
  if (recipe == "refused") return buzz();
  fail("unknown effect recipe " + recipe);
}

struct Line {
  std::string key;
  std::vector<std::string> words;
  std::string text;
};

std::vector<Line> readLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail("cannot read " + path);
  std::vector<Line> out;
  std::string s;
  while (std::getline(in, s)) {
    if (s.empty() || s[0] == '#') continue;
    Line l;
    size_t colon = s.find(':');
    std::string head = colon == std::string::npos ? s : s.substr(0, colon);
    if (colon != std::string::npos) {
      l.text = s.substr(colon + 1);
      size_t b = l.text.find_first_not_of(' ');
      l.text = b == std::string::npos ? "" : l.text.substr(b);
    }
    std::istringstream hs(head);
    std::string w;
    while (hs >> w) l.words.push_back(w);
    if (l.words.empty()) continue;
    l.key = l.words[0];
    out.push_back(l);
  }
  return out;
}

int toInt(const std::string& s, const std::string& where) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end) fail("not a number: " + s + " in " + where);
  return static_cast<int>(v);
}

void addSample(KbbBank* bank, const std::string& name, const Mono& m, uint32_t rate, int bits, bool loop) {
  KbbSound snd;
  snd.name = name.substr(0, 31);
  snd.sample = static_cast<uint32_t>(bank->samples.size());
  snd.rate = rate;
  snd.bits = static_cast<uint32_t>(bits);
  (void)loop;
  Mono r = rate == static_cast<uint32_t>(kRate) ? m : resample(m, kRate, rate);
  // For listening: KORVENA_SOUND_WAVS=<folder> also writes every sound as WAV.
  if (const char* dir = std::getenv("KORVENA_SOUND_WAVS")) {
    std::string file = name;
    for (char& c : file)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    writeWav(std::string(dir) + "/" + std::to_string(bank->sounds.size()) + "_" + file.substr(0, 24) + ".wav", r, rate, bits);
  }
  std::vector<uint8_t> bytes;
  if (bits == 8) {
    bytes = toPcm8(r);
  } else {
    std::vector<int16_t> p = toPcm16(r);
    bytes.resize(p.size() * 2);
    for (size_t i = 0; i < p.size(); ++i) {
      bytes[2 * i] = static_cast<uint8_t>(p[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<uint8_t>((static_cast<uint16_t>(p[i]) >> 8) & 0xFF);
    }
  }
  bank->samples.push_back(std::move(bytes));
  bank->sampleBits.push_back(bits);
  if (bits == 8) {
    // Should the budget run out, the loader compresses a sound instead: it
    // needs a 16-bit copy for that.
    std::vector<int16_t> p = toPcm16(r);
    std::vector<uint8_t> wide(p.size() * 2);
    for (size_t i = 0; i < p.size(); ++i) {
      wide[2 * i] = static_cast<uint8_t>(p[i] & 0xFF);
      wide[2 * i + 1] = static_cast<uint8_t>((static_cast<uint16_t>(p[i]) >> 8) & 0xFF);
    }
    snd.compressed = static_cast<uint32_t>(bank->samples.size());
    snd.compressedRate = rate;
    snd.compressedBits = 16;
    bank->samples.push_back(std::move(wide));
    bank->sampleBits.push_back(16);
  }
  bank->sounds.push_back(snd);
}

void writeChecked(const std::string& out, const KbbBank& bank, size_t expected) {
  if (bank.sounds.size() != expected) fail(out + ": " + std::to_string(bank.sounds.size()) + " sounds, want " + std::to_string(expected));
  std::vector<uint8_t> bytes = kbbBytes(bank);
  std::vector<std::string> warnings;
  std::string why;
  if (!kbbCheck(bytes, &warnings, &why)) fail(out + ": " + why);
  if (!warnings.empty()) fail(out + ": " + warnings[0]);
  std::filesystem::create_directories(std::filesystem::path(out).parent_path());
  if (!kbbWrite(out, bank)) fail("cannot write " + out);
}

int effects(const std::string& bankName, const std::string& table, const std::string& out) {
  // effects.txt: "<BANK> <id> <recipe>" a line; ids of a bank run 0..n-1 without gaps.
  std::map<int, std::string> recipes;
  for (const Line& l : readLines(table)) {
    if (l.key != bankName) continue;
    if (l.words.size() != 3) fail(table + ": want <bank> <id> <recipe>");
    int id = toInt(l.words[1], table);
    if (id < 0 || recipes.count(id)) fail(table + ": id " + l.words[1] + " twice or negative");
    recipes[id] = l.words[2];
  }
  if (recipes.empty()) fail(table + ": no sounds for " + bankName);
  if (recipes.rbegin()->first != static_cast<int>(recipes.size()) - 1) fail(table + ": ids of " + bankName + " have gaps");
  KbbBank bank;
  bool crowd = bankName.rfind("CROWD", 0) == 0;
  for (const auto& [id, recipe] : recipes) {
    Rng rng(77 + static_cast<uint64_t>(id));
    if (crowd) {
      double len = 0;
      if (recipe != "crowd" + std::to_string(id)) fail(table + ": crowd sound " + std::to_string(id) + " must be crowd" + std::to_string(id));
      addSample(&bank, recipe, crowdSound(id, bankName == "CROWDENG", &len), 11025, 16, id != 2);
    } else {
      addSample(&bank, recipe, effectSound(recipe, rng), 22050, 16, false);
    }
  }
  writeChecked(out, bank, recipes.size());
  return 0;
}

// ---- Speech -------------------------------------------------------------------------------------

std::string espeakProgram() {
  const char* e = std::getenv("ESPEAK_NG");
  return e && *e ? e : "espeak-ng";
}

Mono speak(const std::string& voice, const std::string& text, int pitch, int speed, int amplitude,
           const std::string& work, const std::string& tag) {
  std::string txt = work + "/" + tag + ".txt", wav = work + "/" + tag + ".wav";
  {
    std::ofstream t(txt, std::ios::binary);
    t << text << "\n";
  }
  std::string cmd = espeakProgram() + " -b 1 -v " + voice + " -p " + std::to_string(pitch) + " -s " +
                    std::to_string(speed) + " -a " + std::to_string(amplitude) + " -w '" + wav + "' -f '" + txt + "'";
  if (std::system(cmd.c_str()) != 0) fail("espeak-ng failed: " + cmd);
  WavData w;
  std::string why;
  if (!readWav(wav, &w, &why)) fail(wav + ": " + why);
  Mono m = w.left;
  if (w.rate != static_cast<uint32_t>(kRate)) m = resample(m, w.rate, kRate);
  return m;
}

// Silence trimmed from both ends, a shout's edge (drive and a presence lift),
// a short outdoor tail, soft ends and a fixed peak.
Mono finishSpeech(Mono m, bool shout, uint64_t seed) {
  size_t a = 0, b = m.size();
  while (a < b && std::fabs(m[a]) < 0.01) ++a;
  while (b > a && std::fabs(m[b - 1]) < 0.01) --b;
  if (b - a < at(kRate, 0.1)) fail("speech sample nearly silent");
  Mono v(m.begin() + static_cast<long>(a), m.begin() + static_cast<long>(b));
  normalize(&v, 1.0);
  if (shout) {
    Biquad lift;
    lift.peak(2200, 0.8, 6, kRate);
    for (double& x : v) x = std::tanh(2.2 * lift.process(x));
  }
  Stereo s(v.size() + at(kRate, 0.25));
  mixInto(&s, v, 0, 1.0, 0);
  Reverb room(kRate, 0.35 + 0.1 * static_cast<double>(seed % 3), 0.5, shout ? 0.18 : 0.12);
  room.apply(&s);
  Mono out(s.frames());
  for (size_t i = 0; i < out.size(); ++i) out[i] = 0.5 * (s.left[i] + s.right[i]);
  fadeIn(&out, 0.005, kRate);
  fadeOut(&out, 0.12, kRate);
  normalize(&out, 0.85);
  return out;
}

// Ranges of the shout bank: every index 0..51 in exactly one.
const int kShoutRanges[][2] = {{0, 6},  {6, 4},  {10, 4}, {14, 4}, {18, 6}, {24, 4}, {28, 3},
                               {31, 3}, {34, 3}, {37, 3}, {40, 3}, {43, 3}, {46, 6}};

int speech(const std::string& kind, const std::string& phrases, const std::string& voice, const std::string& work,
           const std::string& out) {
  std::filesystem::create_directories(work);
  bool shouts = kind == "shouts";
  if (!shouts && kind != "referee") fail("speech kind must be shouts or referee");
  std::map<int, std::vector<std::string>> texts;  // first index -> texts (shouts), phrase -> text (referee)
  for (const Line& l : readLines(phrases)) {
    if (l.key != (shouts ? "shout" : "ref")) continue;
    if (l.words.size() != 2 || l.text.empty()) fail(phrases + ": want '" + l.key + " <n>: <text>'");
    int n = toInt(l.words[1], phrases);
    std::vector<std::string>& v = texts[n];
    std::string t = l.text;
    size_t p;
    while ((p = t.find(" | ")) != std::string::npos) {
      v.push_back(t.substr(0, p));
      t = t.substr(p + 3);
    }
    v.push_back(t);
  }
  KbbBank bank;
  // Variants: the shouting team's voices differ by pitch, speed and the
  // voice's own variant; the referee is one calm voice.
  static const char* const kVariants[] = {"m1", "m2", "m3", "m4", "m5", "m6", "m7"};
  if (shouts) {
    for (const auto& r : kShoutRanges) {
      auto it = texts.find(r[0]);
      if (it == texts.end()) fail(phrases + ": no shouts for the range from " + std::to_string(r[0]));
      for (int k = 0; k < r[1]; ++k) {
        int idx = r[0] + k;
        Rng rng(9000 + static_cast<uint64_t>(idx));
        const std::string& text = it->second[static_cast<size_t>(k) % it->second.size()];
        std::string v = voice + "+" + kVariants[idx % 7];
        Mono m = speak(v, text, 40 + rng.below(35), 175 + rng.below(40), 160, work, "s" + std::to_string(idx));
        m = finishSpeech(m, true, static_cast<uint64_t>(idx));
        addSample(&bank, text, m, 11025, 8, false);
      }
    }
    for (const auto& [first, v] : texts) {
      bool known = false;
      for (const auto& r : kShoutRanges) known |= r[0] == first;
      if (!known) fail(phrases + ": shout " + std::to_string(first) + " starts no range");
    }
    writeChecked(out, bank, 52);
  } else {
    for (int n = 0; n < 21; ++n) {
      auto it = texts.find(n);
      if (it == texts.end() || it->second.size() != 1) fail(phrases + ": referee phrase " + std::to_string(n) + " missing or split");
      Mono m = speak(voice + "+m3", it->second[0], 38, 160, 150, work, "r" + std::to_string(n));
      addSample(&bank, it->second[0], finishSpeech(m, false, static_cast<uint64_t>(n)), 11025, 8, false);
    }
    if (texts.size() != 21) fail(phrases + ": referee phrases beyond 20");
    writeChecked(out, bank, 21);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() == 4 && a[0] == "effects") return effects(a[1], a[2], a[3]);
  if (a.size() == 6 && a[0] == "speech") return speech(a[1], a[2], a[3], a[4], a[5]);
  std::fprintf(stderr,
               "usage: soundbanks effects <bank> <effects.txt> <out.kbb>\n"
               "       soundbanks speech <shouts|referee> <phrases.txt> <voice> <work folder> <out.kbb>\n");
  return 2;
}
