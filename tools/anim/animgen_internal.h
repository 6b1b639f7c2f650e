#pragma once
// Internals shared by the generator's parts: small vector maths in the row
// vector convention of the engine (p' = p * M, A * B applies A first), the
// channel curves and the templates.
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "animgen.h"

namespace animgen {

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<double, 9>;  // rows

constexpr double kPi = 3.14159265358979323846;
inline double Rad(double deg) { return deg * kPi / 180.0; }
inline double Deg(double rad) { return rad * 180.0 / kPi; }

Mat3 Identity();
Mat3 Mul(const Mat3& a, const Mat3& b);  // a first, then b
Mat3 Transpose(const Mat3& a);
Mat3 RotX(double deg);  // right-handed turns about the axis
Mat3 RotY(double deg);
Mat3 RotZ(double deg);
Vec3 Apply(const Vec3& p, const Mat3& m);  // p * m
Vec3 Add(const Vec3& a, const Vec3& b);
Vec3 Sub(const Vec3& a, const Vec3& b);
Vec3 Scale(const Vec3& a, double s);
double Dot(const Vec3& a, const Vec3& b);
Vec3 Cross(const Vec3& a, const Vec3& b);
double Length(const Vec3& a);
Vec3 Normalise(const Vec3& a);
std::array<double, 4> QuatFromMatrix(const Mat3& m);  // x, y, z, w

// The root's rest turn: body frame (x back, y left, z down) onto the
// player's (x forward, y up, z right).
Mat3 RootRest();

// Keys of a clip under construction: per channel, frame -> value.
struct Curves {
  std::map<std::string, std::map<int, double>> keys;
  std::vector<BallKey> balls;
  bool loop = false;
  bool skid = false;
  double speed = 0;
  double dir = 0;  // the direction the player moves in, degrees (0 ahead, 90 to the left)
  int contactFrame = -1;
  std::string contactPoint;
  void Set(const std::string& channel, int frame, double value) { keys[channel][frame] = value; }
  bool Has(const std::string& channel) const { return keys.count(channel) != 0; }
};

// Channel names and their standing values.
const std::map<std::string, double>& DefaultChannels();
bool IsChannel(const std::string& name);
// Channels of the other side: left and right swapped, sideways values negated.
Channels MirrorChannels(const Channels& ch);

// The value of a channel at a frame from its keys (smooth, no overshoot;
// wrapping with the period for loops).
double Evaluate(const std::map<int, double>& keys, double frame, bool loop, int period);

// All channel values of a frame: the standing values, then the curves.
Channels FrameChannels(const Curves& curves, int f, int frames);

// Template expansion: fills curves from the source's parameters. The pose
// template (no template line) adds nothing.
void ExpandTemplate(const ClipSource& src, int frames, const Skeleton& skel, const Built& done, Curves& out);

// Segment world turns and positions (player frame, metres) from channels.
struct Body {
  Mat3 w[kSegments];
  Vec3 p[kSegments];
};
Body Solve(const Skeleton& skel, const Channels& ch);
Vec3 PointOf(const Skeleton& skel, const Body& body, const std::string& point);

}  // namespace animgen
