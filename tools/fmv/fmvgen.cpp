// fmvgen: the game's films from storyboards.
//   fmvgen --board <name.txt> --out <name.rpl> --font <ttf> [--narration <dir>] [--work <dir>] [--data <dir>] [--look <dir>]
//
// A storyboard is a text file of lines ('#' starts a comment):
//   seed <n>                          the film's noise and crowds
//   shot <seconds> <scene> [key=value ...]
//   cue <at seconds> <sound> [key=value ...]
//   narrate <at seconds> <language> <key>   a line of narration/<language>.txt, spoken
// Scenes: ident, title, flyover, walkout, volley, trophy, celebrate, rain,
// numerals, era. Keys of a shot: text=WORDS_WITH_UNDERSCORES, year=1958..1998,
// grade=colour|mono|sepia, fade=in|out|both|none, night=0|1, emblem=rings|diamond.
// Sounds: sting, crowd (length= gain=), roar, whistle, kick, net, bang, rain.
// The 3D scenes (title, flyover, walkout, volley, trophy, celebrate, rain,
// era) are drawn by the game's scene and software renderer from the data
// tree (--data): an era shot in its edition's kits, ball, goals and colour
// mode; a film narrated in a language shows that language's side.
// --look writes a frame a second as TGA files to look at.
// The film is 320 x 240 at 15 frames a second with mono 22050 Hz IMA ADPCM
// sound; the same storyboard always gives the same bytes. A fault in the
// storyboard stops with "file:line: what".
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim.h"
#include "fmvscene.h"
#include "platform/movie_codec.h"
#include "sound/instruments.h"
#include "sound/synth.h"

namespace {

constexpr int kW = 320, kH = 240;
constexpr uint32_t kFpsMilli = 15000;
constexpr double kFps = 15.0;
constexpr double kRate = 22050.0;
constexpr int kTolerance = 1;
// The match shots' textures would make most blocks raw: their blocks keep
// a little more.
constexpr int kMatchTolerance = 3;

// ---- Storyboard ---------------------------------------------------------------------

struct Shot {
  double seconds = 0;
  std::string scene;
  std::map<std::string, std::string> keys;
  double start = 0;
  std::string key(const std::string& k, const std::string& d = "") const {
    auto it = keys.find(k);
    return it == keys.end() ? d : it->second;
  }
  double num(const std::string& k, double d) const {
    auto it = keys.find(k);
    return it == keys.end() ? d : std::atof(it->second.c_str());
  }
};
struct Cue {
  double at = 0;
  std::string sound;
  std::map<std::string, std::string> keys;
  std::string language, line;
  double num(const std::string& k, double d) const {
    auto it = keys.find(k);
    return it == keys.end() ? d : std::atof(it->second.c_str());
  }
};
struct Board {
  uint64_t seed = 1;
  std::vector<Shot> shots;
  std::vector<Cue> cues;
  double seconds = 0;
  std::string team;  // the side of the film's language, from its narration
};

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "fmvgen: %s\n", what.c_str());
  std::exit(1);
}

bool Number(const std::string& s, double lo, double hi, double* out) {
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (s.empty() || *end != 0 || !(v >= lo && v <= hi)) return false;
  *out = v;
  return true;
}

Board ReadBoard(const std::string& path) {
  static const char* const kScenes[] = {"ident", "title", "flyover", "walkout", "volley", "trophy",
                                        "celebrate", "rain", "numerals", "era"};
  static const char* const kSounds[] = {"sting", "crowd", "roar", "whistle", "kick", "net", "bang", "rain"};
  static const char* const kKeys[] = {"text", "year", "grade", "fade", "night", "emblem", "length", "gain"};
  std::ifstream in(path);
  if (!in) Die(path + ": cannot be read");
  Board b;
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    const std::string where = path + ":" + std::to_string(n) + ": ";
    if (line.find('#') != std::string::npos) line.resize(line.find('#'));
    std::istringstream ss(line);
    std::vector<std::string> w;
    for (std::string t; ss >> t;) w.push_back(t);
    if (w.empty()) continue;
    std::map<std::string, std::string> keys;
    auto readKeys = [&](size_t from) {
      for (size_t i = from; i < w.size(); ++i) {
        const size_t eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0) Die(where + "\"" + w[i] + "\" is not key=value");
        const std::string k = w[i].substr(0, eq);
        if (std::find(std::begin(kKeys), std::end(kKeys), k) == std::end(kKeys)) Die(where + "unknown key " + k);
        keys[k] = w[i].substr(eq + 1);
      }
      if (keys.count("year")) {
        double y = 0;
        if (!Number(keys["year"], 1958, 1998, &y) || (static_cast<int>(y) - 1958) % 4) Die(where + "no edition year");
      }
    };
    double v = 0;
    if (w[0] == "seed") {
      if (w.size() != 2 || !Number(w[1], 0, 1e9, &v)) Die(where + "seed needs one number");
      b.seed = static_cast<uint64_t>(v);
    } else if (w[0] == "shot") {
      if (w.size() < 3 || !Number(w[1], 0.2, 60, &v)) Die(where + "shot needs a length of 0.2 to 60 seconds and a scene");
      if (std::find(std::begin(kScenes), std::end(kScenes), w[2]) == std::end(kScenes)) Die(where + "unknown scene " + w[2]);
      readKeys(3);
      Shot s;
      s.seconds = v;
      s.scene = w[2];
      s.keys = keys;
      s.start = b.seconds;
      b.seconds += v;
      b.shots.push_back(s);
    } else if (w[0] == "cue") {
      if (w.size() < 3 || !Number(w[1], 0, 120, &v)) Die(where + "cue needs a time and a sound");
      if (std::find(std::begin(kSounds), std::end(kSounds), w[2]) == std::end(kSounds)) Die(where + "unknown sound " + w[2]);
      readKeys(3);
      Cue c;
      c.at = v;
      c.sound = w[2];
      c.keys = keys;
      b.cues.push_back(c);
    } else if (w[0] == "narrate") {
      if (w.size() != 4 || !Number(w[1], 0, 120, &v)) Die(where + "narrate needs a time, a language and a key");
      Cue c;
      c.at = v;
      c.sound = "narrate";
      c.language = w[2];
      c.line = w[3];
      b.cues.push_back(c);
      static const std::map<std::string, std::string> kTeams = {{"eng", "ENG"}, {"fra", "FRA"}, {"jap", "JPN"},
                                                                {"ita", "ITA"}, {"spa", "ESP"}, {"ger", "GER"},
                                                                {"por", "POR"}};
      if (kTeams.count(c.language)) b.team = kTeams.at(c.language);
    } else {
      Die(where + "unknown line \"" + w[0] + "\"");
    }
  }
  if (b.shots.empty()) Die(path + ": no shots");
  if (b.seconds > 60) Die(path + ": longer than a minute");
  return b;
}

// ---- Pictures -------------------------------------------------------------------------

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

struct Image {
  std::vector<Rgb> px = std::vector<Rgb>(kW * kH);
  Rgb& at(int x, int y) { return px[static_cast<size_t>(y) * kW + x]; }
  void blend(int x, int y, Rgb c, double a) {
    if (x < 0 || y < 0 || x >= kW || y >= kH || a <= 0) return;
    Rgb& p = at(x, y);
    p = Mix(p, c, std::min(a, 1.0));
  }
  void disc(double cx, double cy, double r, Rgb c, double a = 1) {
    for (int y = static_cast<int>(cy - r - 1); y <= cy + r + 1; ++y)
      for (int x = static_cast<int>(cx - r - 1); x <= cx + r + 1; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        blend(x, y, c, a * std::clamp(r + 0.5 - d, 0.0, 1.0));
      }
  }
  void rect(double x0, double y0, double x1, double y1, Rgb c, double a = 1) {
    for (int y = std::max(0, static_cast<int>(y0)); y < std::min<double>(kH, y1); ++y)
      for (int x = std::max(0, static_cast<int>(x0)); x < std::min<double>(kW, x1); ++x) blend(x, y, c, a);
  }
  void line(double x0, double y0, double x1, double y1, double width, Rgb c, double a = 1) {
    const double len = std::max(1.0, std::hypot(x1 - x0, y1 - y0));
    for (double s = 0; s <= len; s += 0.5) {
      const double t = s / len;
      disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c, a);
    }
  }
};

// Text from a TrueType face, centred on (cx, baseline), with a shadow.
class Lettering {
 public:
  explicit Lettering(const std::string& font) {
    if (FT_Init_FreeType(&lib_) || FT_New_Face(lib_, font.c_str(), 0, &face_)) Die(font + ": not a font");
  }
  ~Lettering() {
    FT_Done_Face(face_);
    FT_Done_FreeType(lib_);
  }
  Lettering(const Lettering&) = delete;
  Lettering& operator=(const Lettering&) = delete;
  void draw(Image* img, const std::string& text, double cx, double baseline, int size, Rgb c, double a) {
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size));
    double width = 0;
    for (char ch : text)
      if (!FT_Load_Char(face_, static_cast<FT_ULong>(static_cast<unsigned char>(ch)), FT_LOAD_DEFAULT))
        width += face_->glyph->advance.x / 64.0;
    for (int pass = 0; pass < 2; ++pass) {
      double pen = cx - width / 2 + (pass == 0 ? 2 : 0);
      const double base = baseline + (pass == 0 ? 2 : 0);
      for (char ch : text) {
        if (FT_Load_Char(face_, static_cast<FT_ULong>(static_cast<unsigned char>(ch)), FT_LOAD_RENDER)) continue;
        const FT_Bitmap& bm = face_->glyph->bitmap;
        for (unsigned y = 0; y < bm.rows; ++y)
          for (unsigned x = 0; x < bm.width; ++x)
            img->blend(static_cast<int>(pen) + face_->glyph->bitmap_left + static_cast<int>(x),
                       static_cast<int>(base) - face_->glyph->bitmap_top + static_cast<int>(y),
                       pass == 0 ? Rgb{} : c, a * bm.buffer[y * bm.pitch + x] / 255.0 * (pass == 0 ? 0.7 : 1));
        pen += face_->glyph->advance.x / 64.0;
      }
    }
  }

 private:
  FT_Library lib_ = nullptr;
  FT_Face face_ = nullptr;
};

uint32_t Hash(int64_t a, int64_t b, uint64_t c) {
  uint64_t h = static_cast<uint64_t>(a) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(b) * 0xC2B2AE3D27D4EB4Full ^ c;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return static_cast<uint32_t>(h);
}

Rgb KitColour(int i) {
  static const Rgb kKits[8] = {{0.85, 0.1, 0.12}, {0.95, 0.95, 0.95}, {0.1, 0.25, 0.75}, {0.95, 0.8, 0.1},
                               {0.1, 0.55, 0.25}, {0.9, 0.45, 0.1}, {0.45, 0.7, 0.95}, {0.15, 0.15, 0.15}};
  return kKits[i & 7];
}

void Card(Image* img, Rgb top, Rgb bottom) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) img->at(x, y) = Mix(top, bottom, y / double(kH));
}

// A bright band crossing the picture at progress u, lighting what is there.
void Sweep(Image* img, double u, double y0, double y1) {
  const double centre = -60 + u * (kW + 120);
  for (int y = static_cast<int>(y0); y < y1; ++y)
    for (int x = 0; x < kW; ++x) {
      const double d = std::abs(x - centre + (y - kH / 2) * 0.5);
      if (d < 24) {
        Rgb& p = img->at(x, y);
        const double k = (1 - d / 24) * 0.6;
        p = {p.r + (1 - p.r) * k * p.r * 1.5, p.g + (1 - p.g) * k * p.g * 1.5, p.b + (1 - p.b) * k * p.b * 1.5};
      }
    }
}

void Fireworks(Image* img, double t, uint64_t seed) {
  for (int burst = 0; burst < 12; ++burst) {
    const double born = burst * 0.6 + (Hash(burst, 1, seed) % 100) / 200.0;
    const double age = t - born;
    if (age < 0 || age > 1.6) continue;
    const double cx = 30 + Hash(burst, 2, seed) % (kW - 60), cy = 20 + Hash(burst, 3, seed) % 80;
    const Rgb c = KitColour(static_cast<int>(Hash(burst, 4, seed)));
    for (int i = 0; i < 36; ++i) {
      const double ang = i * 2 * ksynth::kPi / 36, sp = 38 + Hash(burst, i, seed) % 14;
      img->disc(cx + std::cos(ang) * sp * age, cy + std::sin(ang) * sp * age + 14 * age * age, 1.3,
                Mix(c, Rgb{1, 1, 1}, 0.4), 1.2 - age / 1.6);
    }
  }
}

void Trophy(Image* img, double cx, double cy, double s) {
  const Rgb gold{0.95, 0.75, 0.2}, dark{0.6, 0.42, 0.08};
  img->rect(cx - 7 * s, cy + 14 * s, cx + 7 * s, cy + 20 * s, Rgb{0.2, 0.45, 0.25});
  img->rect(cx - 5 * s, cy + 6 * s, cx + 5 * s, cy + 14 * s, gold);
  img->line(cx, cy + 6 * s, cx, cy - 4 * s, 4 * s, dark);
  img->disc(cx, cy - 10 * s, 8 * s, gold);
  img->disc(cx - 9 * s, cy - 10 * s, 3 * s, dark);
  img->disc(cx + 9 * s, cy - 10 * s, 3 * s, dark);
  img->disc(cx - 2.5 * s, cy - 13 * s, 2.5 * s, Rgb{1, 0.95, 0.7});
}

void Rain(Image* img, int frame, double amount) {
  for (int i = 0; i < 260 * amount; ++i) {
    const double x = (Hash(i, 5, 9) % (kW + 60)) - 30 + frame * 3.0, y = std::fmod(Hash(i, 6, 9) % kH + frame * 21.0, kH + 20) - 10;
    img->line(std::fmod(x + kW * 4, kW), y, std::fmod(x + kW * 4, kW) - 3, y + 11, 1, Rgb{0.75, 0.78, 0.85}, 0.45);
  }
}

// Colour of the era: the first edition sepia, the second black and white.
std::string GradeOf(const Shot& s) {
  const int year = static_cast<int>(s.num("year", 1998));
  return s.key("grade", year == 1958 ? "sepia" : year == 1962 ? "mono" : "colour");
}

// ---- Match shots ---------------------------------------------------------------------

bool MatchScene(const Shot& s) {
  static const char* const kScenes[] = {"flyover", "walkout", "volley", "trophy", "celebrate", "rain", "era", "title"};
  return std::find(std::begin(kScenes), std::end(kScenes), s.scene) != std::end(kScenes);
}

// Clips of the match's animation table the shots pose players with.
constexpr uint32_t kClipJog = 102, kClipRun = 127, kClipStand = 136, kClipVolley = 99, kClipDive = 56,
                   kClipTired = 37, kClipArms = 13, kClipCelebrateRun = 14, kClipSlide = 12, kClipDribble = 129,
                   kClipShot = 32, kClipKeeper = 58;
// The clips play at the match's 20 frames a second.
constexpr double kClipRate = 20.0;
// The scene draws every second film frame; the frame between holds it.
// The era shots, old film, hold each picture for three.
constexpr int kHold = 2, kEraHold = 3;
// The host of each edition, at home to the side of the most editions.
constexpr const char* kHosts[11] = {"SWE", "CHI", "ENG", "MEX", "FRG", "ARG", "ESP", "MEX", "ITA", "USA", "FRA"};

uint16_t Facing(double dx, double dz) {
  return static_cast<uint16_t>(std::lround(std::atan2(dz, dx) / (2 * ksynth::kPi) * 65536.0) & 0xFFFF);
}

float ClipFrame(uint32_t clip, double seconds, bool loop) {
  const int frames = std::max<int>(1, anim_RecordGet(clip)->cFrames);
  const double f = std::max(0.0, seconds) * kClipRate;
  return static_cast<float>(loop ? std::fmod(f, frames) : std::min<double>(f, frames - 1));
}

fmvscene::Person Posed(double x, double z, uint16_t facing, uint32_t clip, double seconds, bool loop, bool away) {
  fmvscene::Person p;
  p.x = static_cast<float>(x);
  p.z = static_cast<float>(z);
  p.facing = facing;
  p.anim = clip;
  p.frame = ClipFrame(clip, seconds, loop);
  p.away = away;
  return p;
}

// The 22 of a kick-off, standing, each side in its half.
void KickOffLineUp(std::vector<fmvscene::Person>* people, double t) {
  static const float kSpots[11][2] = {{-48, 0},   {-34, -20}, {-36, -7}, {-36, 7},  {-34, 20}, {-20, -24},
                                      {-21, -8},  {-21, 8},   {-20, 24}, {-8, -12}, {-1, 3}};
  for (int i = 0; i < 22; ++i) {
    const bool away = i >= 11;
    const int k = i % 11;
    fmvscene::Person p = Posed(away ? -kSpots[k][0] : kSpots[k][0], away ? -kSpots[k][1] : kSpots[k][1],
                               away ? 32768 : 0, k % 3 == 1 ? kClipRun : kClipStand, t + i * 0.3, true, away);
    p.keeper = k == 0;
    people->push_back(p);
  }
}

// A match shot: the ground loaded for the film's look, people, ball and
// camera keyed on the shot's time, drawn by the game's renderer; then what
// the scene has no model for painted over (fireworks, the cup, rain,
// streamers).
void Match3D(Image* img, const Shot& s, double t, int frame, const Board& b) {
  static std::vector<Rgb> held;
  static std::string heldKey;
  // The title's stadium is still: one picture for the shot.
  const int hold = s.scene == "era" ? kEraHold : kHold;
  const std::string key = std::to_string(static_cast<long>(s.start * 1000)) + ":" +
                          std::to_string(s.scene == "title" ? 0 : frame / hold);
  if (key != heldKey) {
    // The moment drawn is that of the first frame of the held ones.
    const double ts = t - (frame % hold) / kFps, us = ts / s.seconds;
    fmvscene::Ground g;
    const int year = static_cast<int>(s.num("year", 1998));
    g.iEdition = (year - 1958) / 4;
    g.bNight = s.num("night", s.scene == "flyover" || s.scene == "walkout" || s.scene == "volley" ||
                                      s.scene == "trophy" || s.scene == "title") != 0;
    g.home = b.team.empty() ? "BRA" : b.team;
    g.away = g.home == "ITA" ? "BRA" : "ITA";
    if (s.scene == "era") g.home = kHosts[g.iEdition], g.away = "BRA";
    fmvscene::View v;
    auto look = [&](double ex, double ey, double ez, double tx, double ty, double tz) {
      const float e[3] = {float(ex), float(ey), float(ez)}, c[3] = {float(tx), float(ty), float(tz)};
      std::copy(e, e + 3, v.eye);
      std::copy(c, c + 3, v.target);
    };
    if (s.scene == "flyover") {
      // A flight round the stadium, down from over the stand to the line-up.
      const double ang = -1.2 + us * 1.5, r = 105 - us * 30, height = 42 - us * 26;
      look(std::sin(ang) * r, height, -std::cos(ang) * r, 0, 2, 0);
      KickOffLineUp(&v.people, ts);
    } else if (s.scene == "walkout") {
      // Two lines from the tunnel to the halfway line, the camera backing away in front.
      for (int i = 0; i < 22; ++i) {
        const bool away = i % 2;
        const double z = -33 + us * 18 - (i / 2) * 1.6;
        v.people.push_back(Posed(away ? 1.0 : -1.0, z, Facing(0, 1), kClipJog, ts + i * 0.37, true, away));
      }
      look(4.5, 1.7, -20 + us * 12, 0, 1.1, -33 + us * 18);
    } else if (s.scene == "volley") {
      // A cross falls to the striker; he volleys past the diving keeper and runs off.
      const double hit = 0.3, in = 0.55;
      const double sx = 40, sz = 5;
      uint32_t clip = kClipVolley;
      double since = ts - (hit * s.seconds - 7 / kClipRate);
      if (us > in + 0.05) clip = kClipCelebrateRun, since = ts - (in + 0.05) * s.seconds;
      v.people.push_back(Posed(sx, sz, Facing(52.5 - sx, -sz), clip, since, false, false));
      fmvscene::Person keeper = Posed(51, 0.5, 32768, us < 0.38 ? kClipStand : kClipDive, ts - 0.38 * s.seconds, false, true);
      keeper.keeper = true;
      v.people.push_back(keeper);
      v.people.push_back(Posed(45, -2 + us * 4, Facing(0, 1), kClipRun, ts, true, true));
      v.ball = true;
      double bx, by, bz;
      if (us < hit) {
        const double k = us / hit;
        bx = 46 + (sx + 0.6 - 46) * k, bz = -24 + (sz + 24) * k, by = 0.6 + std::sin(k * ksynth::kPi) * 7 * (1 - k) + k * 0.6;
      } else {
        const double k = std::min((us - hit) / (in - hit), 1.0);
        bx = sx + 0.6 + (53.2 - sx - 0.6) * k, bz = sz + (-1.5 - sz) * k, by = 0.6 + std::sin(k * ksynth::kPi) * 0.9 + k * 0.8;
      }
      v.ballAt[0] = float(bx), v.ballAt[1] = float(by), v.ballAt[2] = float(bz);
      v.ballTurn = float(us * 40);
      look(31 + us * 3, 1.9, 13, 46, 1.0, 1);
    } else if (s.scene == "title") {
      // The night stadium from high in a corner, the sides lined up.
      KickOffLineUp(&v.people, 0);
      look(-35, 18, -75, 5, 4, 20);
    } else if (s.scene == "era" && Hash(year, static_cast<int>(s.start * 10), b.seed) % 2 == 0) {
      // A run with the ball down the wing, two defenders chasing, seen
      // from the side by a camera panning slowly after it.
      const double rx = -16 + us * 30, rz = -12 + us * 3;
      v.people.push_back(Posed(rx, rz, Facing(1, 0.1), kClipDribble, ts, true, false));
      v.people.push_back(Posed(rx - 3 - us * 2, rz + 4, Facing(1, -0.2), kClipRun, ts + 0.3, true, true));
      v.people.push_back(Posed(rx + 9 - us * 6, rz + 9, Facing(-0.4, -1), kClipRun, ts + 0.6, true, true));
      v.people.push_back(Posed(rx - 2, rz + 16, Facing(1, 0), kClipRun, ts + 0.1, true, false));
      v.ball = true;
      v.ballAt[0] = float(rx + 0.9), v.ballAt[2] = float(rz + 0.1);
      v.ballTurn = float(ts * 20);
      look(rx * 0.8, 6, -32, rx * 0.8, 0, -6);
    } else if (s.scene == "era") {
      // A shot into the goal: the striker runs in with the ball and drives
      // it past the diving keeper into the net.
      const double hit = 0.45, in = 0.6;
      const double k = std::min(us / hit, 1.0);
      const double sx = 33 + k * 7.5, sz = 4.5 - k;
      uint32_t clip = kClipDribble;
      double since = ts;
      if (us >= hit - 5 / kClipRate / s.seconds) clip = kClipShot, since = ts - (hit * s.seconds - 5 / kClipRate);
      if (us > in + 0.15) clip = kClipArms, since = ts - (in + 0.15) * s.seconds;
      v.people.push_back(Posed(sx, sz, Facing(52.5 - sx, sz), clip, since, clip == kClipDribble, false));
      fmvscene::Person keeper = Posed(51, 0.5, 32768, us < 0.48 ? kClipKeeper : kClipDive, ts - 0.48 * s.seconds,
                                      us < 0.48, true);
      keeper.keeper = true;
      v.people.push_back(keeper);
      v.people.push_back(Posed(sx - 2.5 + k, sz - 2.5, Facing(52.5 - sx, -sz), kClipRun, ts + 0.4, true, true));
      v.ball = true;
      const double dx = 52.5 - sx, dz = -sz, dl = std::hypot(dx, dz);
      double bx = sx + 0.8 * dx / dl, by = 0.11, bz = sz + 0.8 * dz / dl;
      if (us > hit) {
        const double f = std::min((us - hit) / (in - hit), 1.0);
        const double hx = 40.5 + 0.8 * 12 / std::hypot(12, 3.5), hz = 3.5 - 0.8 * 3.5 / std::hypot(12, 3.5);
        bx = hx + (53.3 - hx) * f, bz = hz + (-1.5 - hz) * f, by = 0.11 + std::sin(f * ksynth::kPi * 0.8) * 1.3;
      }
      v.ballAt[0] = float(bx), v.ballAt[1] = float(by), v.ballAt[2] = float(bz);
      v.ballTurn = float(ts * 25);
      look(29, 2.6, 13, 49, 1, 1);
    } else {
      const bool sad = s.scene == "rain";
      for (int i = 0; i < 9; ++i) {
        const double x = -6.8 + i * 1.7 + (i % 2) * 0.3, z = (i % 3) * 1.4;
        uint32_t clip = s.scene == "trophy" ? kClipArms : sad ? (i % 3 ? kClipTired : kClipJog) : (i % 3 == 0 ? kClipArms : i % 3 == 1 ? kClipCelebrateRun : kClipSlide);
        const double speed = sad ? 0.5 : 1.0;
        v.people.push_back(Posed(x, z + (sad ? -ts * 0.3 : 0), Facing(0, -1) + (i - 4) * 900, clip, ts * speed + i * 0.45, true, false));
      }
      // No ball (behind the camera); a still camera: only the people move.
      v.ball = true;
      v.ballAt[2] = -60;
      look(-1, s.scene == "trophy" ? 1.4 : 2.0, -11, 0, s.scene == "trophy" ? 2.3 : 1.0, 1.4);
    }
    if (!fmvscene::Load(g)) Die("the scene did not load");
    std::vector<float> rgb;
    if (!fmvscene::Draw(v, &rgb)) Die("the scene did not draw");
    held.resize(img->px.size());
    for (size_t i = 0; i < held.size(); ++i) held[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    heldKey = key;
  }
  img->px = held;
  if (s.scene == "trophy") {
    Fireworks(img, t, b.seed);
    Trophy(img, kW / 2.0, kH / 2.0 - 6, 1.6);
  } else if (s.scene == "rain") {
    for (Rgb& p : img->px) p = Mix(Scale(p, 0.6), Rgb{0.3, 0.33, 0.4}, 0.3);
    Rain(img, frame / kHold * kHold, 1.0);
  } else if (s.scene == "celebrate") {
    for (int i = 0; i < 90; ++i) {
      const double x = std::fmod(Hash(i, 7, b.seed) % kW + std::sin(t * 2 + i) * 10 + kW, kW);
      const double y = std::fmod(Hash(i, 8, b.seed) % kH + t * 40, kH);
      img->rect(x, y, x + 2, y + 3, KitColour(i));
    }
  }
}

void Paint(Image* img, const Shot& s, double t, int frame, const Board& b, Lettering* font) {
  const double u = t / s.seconds;
  const int year = static_cast<int>(s.num("year", 1998));
  std::string text = s.key("text");
  std::replace(text.begin(), text.end(), '_', ' ');
  if (s.scene == "ident") {
    Card(img, Rgb{0.02, 0.03, 0.08}, Rgb{0.1, 0.12, 0.25});
    const double grow = std::min(1.0, u * 2.5);
    for (int ring = 0; ring < 4; ++ring) {
      const double r = (16 + ring * 12) * grow;
      for (int a = 0; a < 120; ++a) {
        const double ang = a * 2 * ksynth::kPi / 120 + t * (ring % 2 ? 0.8 : -0.6);
        if (s.key("emblem") == "diamond" && (a / 15) % 2) continue;
        img->disc(160 + std::cos(ang) * r, 95 + std::sin(ang) * r * 0.9, 1.4, KitColour(ring + 2), 0.9);
      }
    }
    font->draw(img, text, 160, 190, 30, Rgb{0.95, 0.95, 0.98}, std::clamp(u * 3 - 0.6, 0.0, 1.0));
    Sweep(img, std::clamp(u * 1.6 - 0.3, 0.0, 1.0), 150, 200);
  } else if (s.scene == "title") {
    Match3D(img, s, t, frame, b);
    for (Rgb& p : img->px) p = Scale(p, 0.55);
    font->draw(img, text, 160, 132, 26, Rgb{1, 0.85, 0.2}, std::clamp(u * 4, 0.0, 1.0));
    Sweep(img, std::fmod(u * 1.5, 1.0), 95, 145);
  } else if (s.scene == "numerals") {
    Card(img, Rgb{0.05, 0.05, 0.05}, Rgb{0.18, 0.16, 0.14});
    for (int i = 0; i < 6; ++i)
      img->line(0, 40 + i * 32 + std::fmod(t * 20, 32), kW, 40 + i * 32 + std::fmod(t * 20, 32), 1,
                Rgb{0.3, 0.3, 0.3}, 0.5);
    font->draw(img, std::to_string(year), 160, 140 + (1 - std::min(1.0, u * 3)) * 30, 64, Rgb{0.95, 0.92, 0.85},
               std::min(1.0, u * 3));
  } else if (s.scene == "era") {
    Match3D(img, s, t, frame, b);
    font->draw(img, std::to_string(year), 262, 222, 26, Rgb{1, 1, 1}, 0.9);
    if (year < 1970) {
      const int scratch = static_cast<int>(Hash(frame / 2, 3, b.seed) % kW);
      img->line(scratch, 0, scratch + 4, kH, 1, Rgb{0.9, 0.9, 0.9}, 0.35);
    }
  } else {
    Match3D(img, s, t, frame, b);
  }
  // Grading and fades.
  const std::string grade = GradeOf(s);
  const std::string fade = s.key("fade", "both");
  double k = 1;
  if ((fade == "in" || fade == "both") && t < 0.5) k = t / 0.5;
  if ((fade == "out" || fade == "both") && s.seconds - t < 0.5) k = std::min(k, (s.seconds - t) / 0.5);
  for (Rgb& p : img->px) {
    if (grade != "colour") {
      const double y = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
      p = grade == "mono" ? Rgb{y, y, y} : Rgb{y * 0.9098, y * 0.8784, y * 0.8196};
    }
    p = Scale(p, k);
  }
}

uint16_t To565(Rgb c) {
  auto q = [](double v, int bits) { return static_cast<uint16_t>(std::lround(std::clamp(v, 0.0, 1.0) * ((1 << bits) - 1))); };
  return static_cast<uint16_t>(q(c.r, 5) << 11 | q(c.g, 6) << 5 | q(c.b, 5));
}

// ---- Sound ---------------------------------------------------------------------------------

// A line of narration spoken by espeak-ng into a work file.
ksynth::Mono Speak(const std::string& dir, const std::string& work, const Cue& c) {
  std::ifstream in(dir + "/" + c.language + ".txt");
  if (!in) Die(dir + "/" + c.language + ".txt: cannot be read");
  std::string line, text;
  while (std::getline(in, line))
    if (line.rfind(c.line + " ", 0) == 0) text = line.substr(c.line.size() + 1);
  if (text.empty()) Die(dir + "/" + c.language + ".txt: no line " + c.line);
  static const std::map<std::string, std::string> kVoices = {{"eng", "en-gb"}, {"fra", "fr"}, {"jap", "ja"},
                                                             {"ita", "it"},    {"spa", "es"}, {"ger", "de"},
                                                             {"por", "pt"}};
  auto v = kVoices.find(c.language);
  if (v == kVoices.end()) Die("no voice for language " + c.language);
  const std::string txt = work + "/" + c.language + "_" + c.line + ".txt", wav = work + "/" + c.language + "_" + c.line + ".wav";
  std::ofstream(txt) << text << "\n";
  const char* e = std::getenv("ESPEAK_NG");
  const std::string cmd = std::string(e && *e ? e : "espeak-ng") + " -b 1 -v " + v->second + " -s 150 -f \"" + txt +
                          "\" -w \"" + wav + "\" >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) Die("espeak-ng failed on " + txt);
  ksynth::WavData d;
  std::string why;
  if (!ksynth::readWav(wav, &d, &why)) Die(wav + ": " + why);
  return ksynth::resample(d.left, d.rate, kRate);
}

ksynth::Mono Soundtrack(const Board& b, const std::string& narration, const std::string& work, size_t samples) {
  using namespace ksynth;
  Mono out(samples, 0.0);
  Rng rng(b.seed);
  for (const Cue& c : b.cues) {
    const size_t at0 = at(kRate, c.at);
    const double gain = c.num("gain", 1.0);
    if (c.sound == "sting") {
      // The menu tune's opening over its first chord.
      static const double kNotes[5][3] = {{0, 1, 76}, {1, 1, 81}, {2, 0.5, 84}, {2.5, 0.5, 83}, {3, 1.5, 81}};
      const double beat = 0.22;
      for (const auto& n : kNotes) {
        mixInto(&out, bell(kRate, n[2], n[1] * beat + 0.6, 0.25 * gain), at0 + at(kRate, n[0] * beat), 1.0);
        mixInto(&out, lead(kRate, n[2] - 12, n[1] * beat, 0.08 * gain), at0 + at(kRate, n[0] * beat), 1.0);
      }
      mixInto(&out, pad(kRate, {57, 60, 64}, 5 * beat + 1.0, 0.12 * gain), at0, 1.0);
      mixInto(&out, kick(kRate, 0.5 * gain), at0, 1.0);
    } else if (c.sound == "crowd" || c.sound == "roar" || c.sound == "rain") {
      const double length = c.num("length", 4.0);
      Stereo s(at(kRate, length));
      if (c.sound == "rain") {
        OnePole lp;
        lp.lowpass(3000, kRate);
        for (double& v : s.left) v = lp.process(rng.noise()) * 0.25;
      } else {
        crowdBed(kRate, &s, b.seed + static_cast<uint64_t>(c.at * 100), c.sound == "roar" ? 0.5 : 0.15, 1.0, 2.0);
      }
      Mono m(s.frames());
      for (size_t i = 0; i < m.size(); ++i) {
        const double tt = i / kRate;
        const double env = c.sound == "roar" ? std::min(1.0, tt / 0.3) * std::exp(-std::max(0.0, tt - 1.0) * 0.8)
                                             : std::min({1.0, tt / 0.5, (length - tt) / 0.5});
        m[i] = (s.left[i] + s.right[i]) * 0.5 * env;
      }
      mixInto(&out, m, at0, gain);
    } else if (c.sound == "whistle") {
      mixInto(&out, refereeWhistle(kRate, rng, 0.6, 0.35 * gain), at0, 1.0);
    } else if (c.sound == "kick") {
      mixInto(&out, kick(kRate, 0.6 * gain), at0, 1.0);
    } else if (c.sound == "net" || c.sound == "bang") {
      Mono m(at(kRate, c.sound == "net" ? 0.35 : 0.8));
      Biquad f;
      f.bandpass(c.sound == "net" ? 2500 : 300, 0.8, kRate);
      for (size_t i = 0; i < m.size(); ++i) m[i] = f.process(rng.noise()) * std::exp(-i / kRate * (c.sound == "net" ? 9 : 5));
      mixInto(&out, m, at0, 0.8 * gain);
    } else if (c.sound == "narrate") {
      mixInto(&out, Speak(narration, work, c), at0, 0.8);
    }
  }
  fadeOut(&out, 0.4, kRate);
  for (double& v : out) v = std::tanh(v * 1.1) * 0.9;
  return out;
}

// A frame as a 24-bit TGA, to look at.
void LookWrite(const std::string& path, const Image& img) {
  std::vector<uint8_t> b(18, 0);
  b[2] = 2;
  b[12] = kW & 255, b[13] = kW >> 8, b[14] = kH & 255, b[15] = kH >> 8, b[16] = 24, b[17] = 0x20;
  for (const Rgb& p : img.px)
    for (double c : {p.b, p.g, p.r}) b.push_back(static_cast<uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255)));
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace

int main(int argc, char** argv) {
  std::string board, out, font, narration = ".", work = ".", data, look;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--board") board = argv[i + 1];
    else if (a == "--out") out = argv[i + 1];
    else if (a == "--font") font = argv[i + 1];
    else if (a == "--narration") narration = argv[i + 1];
    else if (a == "--work") work = argv[i + 1];
    else if (a == "--data") data = argv[i + 1];
    else if (a == "--look") look = argv[i + 1];
    else Die("unknown argument " + a);
  }
  if (board.empty() || out.empty() || font.empty())
    Die("usage: fmvgen --board <name.txt> --out <name.rpl> --font <ttf> [--narration <dir>] [--work <dir>] [--data <dir>] [--look <dir>]");
  const Board b = ReadBoard(board);
  Lettering letters(font);
  // The match shots draw on the game's scene from the data tree.
  const bool match = std::any_of(b.shots.begin(), b.shots.end(), MatchScene);
  if (match) {
    std::string why;
    if (data.empty()) Die(board + ": its match shots need --data <the data tree>");
    if (!fmvscene::Open(data, work + "/scene", &why)) Die(why);
  }
  platform::MovieHeader h;
  h.width = kW;
  h.height = kH;
  h.frameRateMilli = kFpsMilli;
  h.frameCount = static_cast<uint32_t>(std::lround(b.seconds * kFps));
  h.soundRate = static_cast<uint32_t>(kRate);
  h.channels = 1;
  h.precision = 4;
  uint64_t total = 0;
  for (uint32_t f = 0; f < h.frameCount; ++f) total += platform::movieFrameSamples(h, f);
  const std::vector<int16_t> pcm = ksynth::toPcm16(Soundtrack(b, narration, work, total));
  platform::MovieEncoder enc(h, kTolerance);
  std::vector<uint8_t> bytes;
  enc.headerWrite(&bytes);
  size_t shot = 0;
  uint64_t sample = 0;
  std::vector<uint16_t> frame(kW * kH);
  for (uint32_t f = 0; f < h.frameCount; ++f) {
    const double t = f / kFps;
    while (shot + 1 < b.shots.size() && t >= b.shots[shot + 1].start) ++shot;
    Image img;
    enc.toleranceSet(MatchScene(b.shots[shot]) ? kMatchTolerance : kTolerance);
    Paint(&img, b.shots[shot], t - b.shots[shot].start, static_cast<int>(f), b, &letters);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = To565(img.px[i]);
    if (!look.empty() && f % 15 == 0) LookWrite(look + "/" + std::to_string(f / 15) + ".tga", img);
    const uint32_t n = platform::movieFrameSamples(h, f);
    enc.frameWrite(frame.data(), pcm.data() + sample, n, &bytes);
    sample += n;
  }
  if (match) fmvscene::Close();
  const std::string tmp = out + ".part";
  std::ofstream o(tmp, std::ios::binary);
  o.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  o.close();
  if (!o || std::rename(tmp.c_str(), out.c_str()) != 0) Die(out + ": cannot be written");
  std::printf("fmvgen: %s: %u frames, %zu bytes\n", out.c_str(), h.frameCount, bytes.size());
  return 0;
}
