#pragma once
// The films' 3D shots: the match scene drawn headless by the game's own
// software renderer at 640 x 480, players posed by the match's animation
// clips in their kits, the ball, and a camera from an eye to a target;
// each frame is read back and halved to the films' 320 x 240.
#include <cstdint>
#include <string>
#include <vector>

namespace fmvscene {

constexpr int kWidth = 320, kHeight = 240;

// The ground of a shot: the stadium look, day or night, the edition
// (0 for 1958 .. 10 for 1998: the kits and their colour mode) and the two
// teams' codes.
struct Ground {
  int32_t iLook = 1;
  int32_t bNight = 0;
  int32_t iEdition = 10;
  std::string home = "BRA", away = "ITA";
  bool operator==(const Ground&) const = default;
};

// A person in metres (x along the pitch, z across), facing in 65536ths of a
// turn, playing a clip of the match's animation table at a frame.
struct Person {
  float x = 0, z = 0, height = 0;
  uint16_t facing = 0;
  uint32_t anim = 0;
  float frame = 0;
  bool away = false, keeper = false, mirror = false;
};

struct View {
  float eye[3] = {0, 10, -40}, target[3] = {0, 0, 0};
  std::vector<Person> people;
  bool ball = false;
  float ballAt[3] = {0, 0.11f, 0};
  float ballTurn = 0;  // radians about the axis across the pitch
};

// The platform, the headless display and the software renderer, reading the
// data tree at dataDir; false (with why) when they do not come up.
bool Open(const std::string& dataDir, const std::string& workDir, std::string* why);
// Loads the ground through the match's loading steps (skipped when it is
// the one loaded); false when the loading does not finish.
bool Load(const Ground& g);
// Draws a view; rgb holds kWidth x kHeight triples of 0..1 values.
bool Draw(const View& v, std::vector<float>* rgb);
void Close();

}  // namespace fmvscene
