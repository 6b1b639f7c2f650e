#pragma once
// Instruments and crowd voices built on the synthesis library, shared by the
// sound generators. Every function takes the sample rate first; times are in
// seconds, notes in MIDI numbers (69 = A 440 Hz), gains linear.
#include <cstdint>
#include <utility>
#include <vector>

#include "sound/synth.h"

namespace ksynth {

size_t at(double rate, double seconds);  // frames in a time
double midiHz(double midi);

// ---- Drums and notes: each renders one hit or note ----------------------------
Mono kick(double rate, double gain);                             // a falling sine thump
Mono snare(double rate, Rng& rng, double gain);                  // band-passed noise and a tone
Mono hat(double rate, Rng& rng, double gain, double length);     // high noise tick
Mono clap(double rate, Rng& rng, double gain, double centre);    // one hand clap (three bursts)
Mono bass(double rate, double note, double length, double gain);
Mono pad(double rate, const std::vector<double>& notes, double length, double gain);  // detuned saws
Mono lead(double rate, double note, double length, double gain);                     // square and saw, vibrato
Mono pluck(double rate, Rng& rng, double note, double length, double gain);          // plucked string
Mono bell(double rate, double note, double length, double gain);

// A fan whistling through two fingers: a sine at f0 sliding by `slide`
// (a fraction) over its length, with a little air.
Mono fanWhistle(double rate, Rng& rng, double f0, double slide, double length, double gain);
// A referee's pea whistle: two close tones near 2.8 kHz trilled by the pea.
Mono refereeWhistle(double rate, Rng& rng, double length, double gain);

// ---- Voices and crowds ----------------------------------------------------------
// The murmur of a full stadium added into s: noise through speech-like bands,
// each side its own, with a level that wanders every wanderPeriod seconds.
void crowdBed(double rate, Stereo* s, uint64_t seed, double gain, double brightness, double wanderPeriod);
// One voice singing or shouting: a buzzing source (plus `breath` noise)
// through the vowel's formants, vibrato, the pitch gliding by `glide` (a
// fraction) over its length.
Mono syllable(double rate, Rng& rng, double pitchHz, double length, Vowel vowel, double breath, double glide,
              double gain);
// `hands` claps around `when` (spread seconds), each placed somewhere in the stand.
void addClaps(double rate, Stereo* s, Rng& rng, double when, int hands, double gain, double spread);
// A crowd sings a line of (note, beats) pairs (note 0 = rest): `voices`
// singers, each a little off in pitch and time, some an octave down.
void sing(double rate, Stereo* s, Rng& rng, double start, const std::vector<std::pair<double, double>>& line,
          double beat, int voices, Vowel vowel, double breath, double gain);
// A stadium's room, a peak level, a soft limit and fades at both ends.
void finishTrack(double rate, Stereo* s, double roomSize, double wet, double peak, double fadeSeconds);

}  // namespace ksynth
