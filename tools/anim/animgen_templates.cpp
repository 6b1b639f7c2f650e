// Templates: the clips that follow a pattern are made from a few parameters.
//   gait       runs, jogs, backpedals, shuffles and dribbles (loops)
//   kick       kicks, volleys, headers and chest traps: the body meets the ball
//              on a named point at the contact frame
//   reach      goalkeeper dives and saves, gathering the ball: both hands on
//              the ball at the contact frame
//   turnabout  a half turn that unwinds into another clip's frame
// A clip without a template is made of its keys alone.
#include <algorithm>
#include <cmath>

#include "animgen_internal.h"

namespace animgen {
namespace {

constexpr double kGround = 0.08;  // ankle height of a flat foot
constexpr double kGravity = 9.81 / 900.0;  // metres a frame squared

double Frac(double v) { return v - std::floor(v); }
double Smooth(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

Vec3 Dir(double deg) { return {std::cos(Rad(deg)), 0, -std::sin(Rad(deg))}; }

// Rotates a point of the player's frame about the vertical axis (positive: to the left).
Vec3 Turn(const Vec3& p, double deg) { return Apply(p, RotY(deg)); }

void SetFoot(Curves& o, const std::string& side, int f, const Vec3& p, double pitch) {
  o.Set(side + "foot.x", f, p[0]);
  o.Set(side + "foot.y", f, p[1]);
  o.Set(side + "foot.z", f, p[2]);
  o.Set(side + "foot.pitch", f, pitch);
}

void SetHand(Curves& o, const std::string& side, int f, const Vec3& p) {
  o.Set(side + "hand.x", f, p[0]);
  o.Set(side + "hand.y", f, p[1]);
  o.Set(side + "hand.z", f, p[2]);
}

Vec3 FootAt(const Curves& o, const std::string& side, int f, int frames) {
  const Channels ch = FrameChannels(o, f, frames);
  return {ch.at(side + "foot.x"), ch.at(side + "foot.y"), ch.at(side + "foot.z")};
}

BallKey BallAt(int f, const Vec3& p) {
  BallKey b;
  b.frame = f;
  b.mode = "at";
  b.p[0] = p[0];
  b.p[1] = p[1];
  b.p[2] = p[2];
  return b;
}
BallKey BallOn(int f, const std::string& point) {
  BallKey b;
  b.frame = f;
  b.mode = "point";
  b.point = point;
  return b;
}
BallKey BallFly(int f, const Vec3& v) {
  BallKey b = BallAt(f, v);
  b.mode = "fly";
  return b;
}

std::string SideOf(const ClipSource& s, const char* key, const char* fallback) {
  const std::string w = s.Word(key, fallback);
  if (w != "l" && w != "r") throw Error(s.file + ": " + key + " must be l or r");
  return w + ".";
}

// ---------------------------------------------------------------- gait
// Each foot lands ahead of its hip and is carried back at exactly the
// ground's speed under the player (his speed plus the root's own travel), so
// planted feet never slide; the stride is the speed times the cycle.
void Gait(const ClipSource& s, int frames, const Skeleton& skel, Curves& o) {
  o.loop = s.Param("loop", 1) != 0;
  o.speed = s.Param("speed", 0);
  o.dir = s.Param("dir", 0);
  const double v = o.speed / kUnits;                   // metres a frame, the player
  const double travel = s.Param("travel", 0) / kUnits;  // metres a frame, the root in the clip
  const int cycles = static_cast<int>(s.Param("cycles", 1));
  const double period = static_cast<double>(frames - 1) / cycles;
  const Vec3 m = Dir(o.dir);
  const double duty = s.Param("duty", 0.35), lift = s.Param("lift", 0.14), hip = s.Param("hip", 0.93);
  const double bob = s.Param("bob", 0.02), lean = s.Param("lean", 6), arms = s.Param("arms", 25);
  const double width = s.Param("width", 0.10), phase0 = s.Param("phase", 0), sway = s.Param("sway", 6);
  const double stride = (v + travel) * duty * period;  // ground covered by a planted foot
  for (int f = 0; f < frames; ++f) {
    const double t = f;
    const Vec3 root = Scale(m, travel * t);
    double phase[2];
    for (int side = 0; side < 2; ++side) {
      const std::string p = side == 0 ? "l." : "r.";
      const double ph = Frac(t / period + phase0 + (side == 0 ? 0.0 : 0.5));
      phase[side] = ph;
      double rel, y = kGround, pitch = 0;
      if (ph < duty) {
        rel = stride / 2 - stride * (ph / duty);
      } else {
        const double u = (ph - duty) / (1 - duty);
        rel = -stride / 2 + stride * Smooth(u);
        y += lift * std::sin(kPi * u);
        const double toe = std::clamp(lift / 0.14, 0.25, 1.0);
        pitch = u < 0.5 ? -35 * toe * std::sin(2 * kPi * u) : 15 * toe * std::sin(2 * kPi * (u - 0.5));
      }
      const double lateral = side == 0 ? -width : width;
      const Vec3 foot = Add(Add(root, Scale(m, rel)), Vec3{0, y, lateral});
      SetFoot(o, p, f, foot, pitch);
    }
    const double pl = phase[0], pr = phase[1];
    o.Set("root.x", f, root[0]);
    o.Set("root.z", f, root[2]);
    o.Set("root.y", f, hip - bob * std::cos(4 * kPi * (pl - duty / 2)));
    o.Set("root.pitch", f, lean * std::cos(Rad(o.dir)));
    o.Set("root.roll", f, -lean * 0.5 * std::sin(Rad(o.dir)));
    o.Set("root.yaw", f, sway * std::cos(2 * kPi * pl) + s.Param("yaw", 0));
    o.Set("chest.twist", f, -1.6 * sway * std::cos(2 * kPi * pl) + s.Param("twist", 0));
    o.Set("spine.bend", f, s.Param("bend", 4));
    o.Set("neck.bend", f, -lean * 0.6);
    o.Set("head.turn", f, s.Param("look", 0));
    const double base = s.Param("armbase", 0);
    o.Set("l.arm.fwd", f, base + arms * std::cos(2 * kPi * pr));
    o.Set("r.arm.fwd", f, base + arms * std::cos(2 * kPi * pl));
    o.Set("l.arm.out", f, s.Param("armout", 12));
    o.Set("r.arm.out", f, s.Param("armout", 12));
    o.Set("l.elbow", f, s.Param("elbow", 80) + 10 * std::cos(2 * kPi * pr));
    o.Set("r.elbow", f, s.Param("elbow", 80) + 10 * std::cos(2 * kPi * pl));
  }
  // Dribbling: the ball is touched on with one foot once a cycle at the
  // contact frame and rolls ahead, coming back under the foot by the next.
  if (s.Param("dribble", 0) != 0) {
    const std::string foot = SideOf(s, "foot", "r");
    const int touch = static_cast<int>(s.Param("touch", 0));
    const double ahead = s.Param("ahead", 0.5);
    const std::string toe = std::string("toe_") + foot[0];
    for (int k = 0; k < cycles; ++k) {
      const int tf = static_cast<int>(std::lround(touch + k * period)) % (frames - 1);
      // Lift the foot so that its toe meets the ball's middle.
      Channels ch = FrameChannels(o, tf, frames);
      Body b = Solve(skel, ch);
      Vec3 toePos = PointOf(skel, b, toe);
      const double dy = kBallRadius - toePos[1];
      o.Set(foot + "foot.y", tf, ch.at(foot + "foot.y") + dy);
      toePos[1] = kBallRadius;
      o.balls.push_back(BallAt(tf, toePos));
      const int mid = static_cast<int>(std::lround(tf + period / 2));
      o.balls.push_back(BallAt(std::min(mid, frames - 1), {toePos[0] + ahead, kBallRadius, toePos[2] * 0.5}));
      if (k == 0 && tf > 0) {
        // Before the first touch the ball comes back from the end of the cycle.
        o.balls.push_back(BallAt(0, {toePos[0] + ahead * (1.0 - static_cast<double>(tf) / period * 2) , kBallRadius, toePos[2] * 0.5}));
      }
      if (k == cycles - 1) o.balls.push_back(BallAt(frames - 1, o.balls.front().frame == 0 ? Vec3{o.balls.front().p[0], o.balls.front().p[1], o.balls.front().p[2]} : toePos));
    }
    o.contactFrame = touch;
    o.contactPoint = toe;
  }
  // Carrying the ball in both hands against the chest.
  if (s.Param("carry", 0) != 0) {
    for (int f = 0; f < frames; ++f) {
      const Channels ch = FrameChannels(o, f, frames);
      const Vec3 c = {ch.at("root.x") + 0.30, ch.at("root.y") + 0.32, ch.at("root.z")};
      SetHand(o, "l.", f, Add(c, {0, 0, -0.10}));
      SetHand(o, "r.", f, Add(c, {0, 0, 0.10}));
    }
    o.balls.push_back(BallOn(0, "hands"));
  }
}

// ---------------------------------------------------------------- kick
// The support foot plants beside the ball, the kicking leg swings back and
// through, the named point meets the ball's middle at the contact frame and
// the ball leaves along the kick's direction. Headers and chest traps jump
// or rise so that the point is at the wanted height.
void Kick(const ClipSource& s, int frames, const Skeleton& skel, Curves& o) {
  const int c = static_cast<int>(s.Param("contact", 4));
  const int last = frames - 2;  // the frame held at the end
  if (c < 1 || c >= last) throw Error(s.file + ": contact must lie inside the clip");
  const std::string k = SideOf(s, "foot", "r");
  const std::string p = k == "r." ? "l." : "r.";
  const double ks = k == "r." ? 1.0 : -1.0;  // the kicking side: +1 right
  const std::string pointWord = s.Word("point", "toe");
  const bool foot = pointWord == "toe" || pointWord == "inside" || pointWord == "outside" || pointWord == "heel" ||
                    pointWord == "sole";
  const std::string point = foot ? pointWord + "_" + k[0] : pointWord;
  const double height = s.Param("height", kBallRadius);
  const double runup = s.Param("runup", 0.2), after = s.Param("after", 0.15);
  const int steps = static_cast<int>(s.Param("steps", 0));
  const double dir = s.Param("dir", 0), turn = s.Param("turn", dir * 0.35);
  const double jump = s.Param("jump", 0);
  const double power = s.Param("power", 0.6), loft = s.Param("loft", 0.05);
  const double reach = s.Param("reach", 0.30), side = s.Param("side", 0.06);
  o.contactFrame = c;
  o.contactPoint = point;

  // Root: approach, then the follow-through.
  const int start = static_cast<int>(s.Param("start", std::max(0, c - 8 - steps * 8)));
  const double rootC = runup, rootEnd = runup + after;
  o.Set("root.x", 0, 0);
  o.Set("root.x", start, 0);
  o.Set("root.x", c, rootC);
  o.Set("root.x", last, rootEnd);
  o.Set("root.x", frames - 1, rootEnd);
  o.Set("root.z", 0, 0);
  o.Set("root.z", last, 0);
  o.Set("root.z", frames - 1, 0);
  o.Set("root.yaw", 0, 0);
  o.Set("root.yaw", std::max(1, c - 2), turn * 0.6);
  o.Set("root.yaw", c, turn);
  o.Set("root.yaw", std::min(last - 1, c + 4), turn * 0.8);
  o.Set("root.yaw", last, 0);
  const double dip = s.Param("dip", 0.05);
  o.Set("root.y", 0, 0.985);
  o.Set("root.y", std::max(1, c - 1), 0.985 - dip);
  o.Set("root.y", c, 0.985 - dip * 0.6 + jump);
  o.Set("root.y", std::min(last - 1, c + 3), 0.985 - dip * 0.3);
  o.Set("root.y", last, 0.985);
  const double lean = s.Param("lean", 4);
  o.Set("root.pitch", 0, 2);
  o.Set("root.pitch", c, lean);
  o.Set("root.pitch", std::min(last - 1, c + 4), lean * 0.5 + 2);
  o.Set("root.pitch", last, 0);
  o.Set("root.roll", 0, 0);
  o.Set("root.roll", c, s.Param("roll", -ks * 4));
  o.Set("root.roll", last, 0);

  // Where the ball is met, in the player's frame.
  Vec3 ball = Add({rootC, 0, 0}, Turn({reach, 0, ks * side}, turn * 0.5));
  ball[1] = height;
  if (s.params.count("ballx")) ball[0] = rootC + s.Param("ballx", 0);
  if (s.params.count("ballz")) ball[2] = ks * s.Param("ballz", 0);

  // Support foot: steps (alternating with the kicking foot) then plants beside the ball.
  const Vec3 standL = {0, kGround, -0.11}, standR = {0, kGround, 0.11};
  const Vec3 homeK = k == "r." ? standR : standL, homeP = k == "r." ? standL : standR;
  const int plantFrame = std::max(std::min(2, c - 1), c - 2);
  const Vec3 plant = jump > 0 ? Add(homeP, {rootC, 0, 0})
                              : Add(Vec3{ball[0] - 0.12, kGround, ball[2] - ks * 0.27}, Vec3{0, 0, 0});
  SetFoot(o, p, 0, homeP, 0);
  SetFoot(o, k, 0, homeK, 0);
  // Run-up: the feet land in turn, each staying put until the other has
  // landed, the root moving on with them; the support foot's landing beside
  // the ball ends it.
  if (foot && steps > 0) {
    const int n = steps + 1;  // landings, the plant the last
    std::vector<int> landFrame(n + 1);
    std::vector<double> landX(n + 1);
    landFrame[0] = start;
    landX[0] = 0;
    for (int i = 1; i <= n; ++i) {
      landFrame[i] = start + static_cast<int>(std::lround(static_cast<double>(plantFrame - start) * i / n));
      landX[i] = plant[0] * i / n;
    }
    SetFoot(o, k, start, homeK, 0);
    SetFoot(o, p, start, homeP, 0);
    for (int i = 1; i <= n; ++i) {
      const bool kicking = (n - i) % 2 == 1;
      const std::string fs = kicking ? k : p;
      const Vec3 pos = i == n ? plant : Vec3{landX[i], kGround, kicking ? homeK[2] : homeP[2]};
      SetFoot(o, fs, landFrame[i], pos, 0);
      // It stays until the other foot has landed (the kicking foot's last
      // stay ends where its swing begins).
      if (i < n - 1) SetFoot(o, fs, landFrame[i + 1], pos, 0);
      // The one not landing yet holds its place until then.
      if (i == 1) SetFoot(o, kicking ? p : k, landFrame[1], kicking ? homeP : homeK, 0);
      o.Set("root.x", landFrame[i], pos[0] - (i == n ? 0.12 : 0.18));
    }
  }
  if (foot && steps <= 0) {
    const int lift = std::max(0, std::min(plantFrame - 1, c - 5));
    SetFoot(o, p, lift, FootAt(o, p, lift, frames), 0);
    SetFoot(o, p, plantFrame, plant, 0);
  }
  if (foot) SetFoot(o, p, std::min(last - 2, c + 3), plant, 0);
  // The support foot finally steps in beside the kicking foot's landing.
  const Vec3 endK = {rootEnd + s.Param("land", 0.25), kGround, homeK[2]};
  const Vec3 endP = {rootEnd, kGround, homeP[2]};
  SetFoot(o, p, last, endP, 0);
  SetFoot(o, p, frames - 1, endP, 0);

  // Kicking foot: back, through the ball, follow through, land.
  const double pitchC = s.Param("pitch", pointWord == "toe" ? -40 : 0);
  const double yawC = s.Param("footyaw", pointWord == "inside" ? -ks * 65 : pointWord == "outside" ? ks * 25 : 0);
  const double back = s.Param("back", 0.45);
  if (foot) {
    const int bsw = std::max(1, c - static_cast<int>(s.Param("swing", 2)));
    const Vec3 start0 = FootAt(o, k, bsw - 1 > 0 ? bsw - 1 : 0, frames);
    (void)start0;
    if (c - 2 >= 1 && bsw < c) {
      const Vec3 b = pointWord == "heel" ? Vec3{ball[0] + 0.35, ball[1] + 0.15, ball[2]}
                                         : Vec3{ball[0] - back - 0.2, std::min(ball[1] * 0.6 + 0.30, 0.55), ball[2] + ks * 0.02};
      SetFoot(o, k, bsw, b, pointWord == "heel" ? 10 : -45);
    }
    // Contact placed below after solving.
    SetFoot(o, k, c, {ball[0] - 0.2, ball[1] + 0.03, ball[2]}, pitchC);
    o.Set(k + "foot.yaw", 0, 0);
    o.Set(k + "foot.yaw", c, yawC);
    o.Set(k + "foot.yaw", std::min(last - 1, c + 3), yawC * 0.5);
    o.Set(k + "foot.yaw", last, 0);
    const int ft = std::min(last - 2, c + static_cast<int>(s.Param("follow", 3)));
    const Vec3 through = pointWord == "heel"
                             ? Vec3{ball[0] - 0.45, ball[1] + 0.15, ball[2]}
                             : Add(Vec3{ball[0], ball[1] + std::min(0.45, 0.22 + loft * 1.5), ball[2]},
                                   Turn({0.35, 0, 0}, dir * 0.5));
    SetFoot(o, k, ft, through, pointWord == "heel" ? 10 : -25);
    const int land = std::min(last - 1, ft + std::max(2, (last - ft) / 2));
    if (land > ft) SetFoot(o, k, land, endK, 0);
    SetFoot(o, k, last, endK, 0);
    SetFoot(o, k, frames - 1, endK, 0);
  }
  if (!foot && jump <= 0) {
    // Standing to meet the ball: the feet step after the root.
    SetFoot(o, k, last, Add(homeK, {rootEnd, 0, 0}), 0);
    SetFoot(o, k, frames - 1, Add(homeK, {rootEnd, 0, 0}), 0);
  }
  if (jump > 0 && !foot) {
    // Both feet leave the ground together for the jump.
    const int off = std::max(1, c - 4), on = std::min(last - 1, c + 4);
    for (const std::string& fs : {k, p}) {
      const Vec3 h = fs == k ? homeK : homeP;
      SetFoot(o, fs, off, Add(h, {rootC * 0.4, 0, 0}), 0);
      SetFoot(o, fs, c, Add(h, {rootC - 0.05, jump * 0.9, 0}), -30);
      SetFoot(o, fs, on, Add(h, {rootEnd, 0, 0}), 0);
      SetFoot(o, fs, last, Add(h, {rootEnd, 0, 0}), 0);
      SetFoot(o, fs, frames - 1, Add(h, {rootEnd, 0, 0}), 0);
    }
    o.Set("root.y", off, 0.90);
    o.Set("root.y", on, 0.91);
  }
  // Upper body: arms out for balance, the head watching the ball.
  o.Set(p + "arm.out", c, 45);
  o.Set(p + "arm.out", 0, 10);
  o.Set(p + "arm.out", last, 10);
  o.Set(p + "arm.fwd", c, 35);
  o.Set(p + "arm.fwd", 0, 3);
  o.Set(p + "arm.fwd", last, 3);
  o.Set(k + "arm.out", c, 35);
  o.Set(k + "arm.out", 0, 10);
  o.Set(k + "arm.out", last, 10);
  o.Set(k + "arm.fwd", c, -25);
  o.Set(k + "arm.fwd", 0, 3);
  o.Set(k + "arm.fwd", last, 3);
  const double headBend = s.Param("nod", foot ? 25 : 10);
  o.Set("head.bend", 0, 5);
  o.Set("head.bend", std::max(1, c - 2), foot ? headBend : -20);
  o.Set("head.bend", c, headBend);
  o.Set("head.bend", last, 0);
  o.Set("spine.bend", 0, 2);
  o.Set("spine.bend", std::max(1, c - 2), s.Param("coil", foot ? 6 : -12));
  o.Set("spine.bend", c, s.Param("bend", foot ? 10 : 18));
  o.Set("spine.bend", last, 2);
  o.Set("spine.side", c, s.Param("sidebend", 0));
  o.Set("head.side", c, s.Param("headside", 0));
  o.Set("chest.twist", 0, 0);
  o.Set("chest.twist", std::max(1, c - 2), s.Param("wind", -ks * 10));
  o.Set("chest.twist", c, s.Param("unwind", ks * 12));
  o.Set("chest.twist", last, 0);

  // Put the point exactly on the ball: move the foot (or the root, for head
  // and chest) by what is left over, and settle in two passes.
  for (int pass = 0; pass < 3; ++pass) {
    const Channels ch = FrameChannels(o, c, frames);
    const Vec3 at = PointOf(skel, Solve(skel, ch), point);
    const Vec3 miss = Sub(ball, at);
    if (foot) {
      SetFoot(o, k, c, Add(Vec3{ch.at(k + "foot.x"), ch.at(k + "foot.y"), ch.at(k + "foot.z")}, miss), pitchC);
    } else {
      o.Set("root.x", c, ch.at("root.x") + miss[0]);
      o.Set("root.y", c, ch.at("root.y") + miss[1]);
      o.Set("root.z", c, ch.at("root.z") + miss[2]);
    }
  }
  // The ball: waiting on the ground, or coming in through the air, met at
  // the contact frame, then sent off.
  const double inFrames = s.Param("incoming", height > 0.2 ? 8 : 0);
  if (inFrames > 0) {
    // Coming in from ahead on a shallow arc.
    const int f0 = std::max(0, c - static_cast<int>(inFrames));
    const double tt = c - f0;
    const Vec3 from = {ball[0] + s.Param("inx", 0.18) * tt, ball[1] + s.Param("iny", 0.0) * tt,
                       ball[2] + ks * s.Param("inz", 0.0) * tt};
    const double arc = s.Param("arc", 0.25);
    for (int f = 0; f < c; ++f) {
      const double u = std::clamp((f - f0) / tt, 0.0, 1.0);
      Vec3 p = Add(Scale(from, 1 - u), Scale(ball, u));
      p[1] += arc * 4 * u * (1 - u);
      o.balls.push_back(BallAt(f, p));
    }
  } else {
    o.balls.push_back(BallAt(0, ball));
  }
  o.balls.push_back(BallOn(c, point));
  if (s.Param("keep", 0) != 0) {
    // Trapped: the ball drops to the feet ahead and stays.
    const Vec3 rest = {rootEnd + 0.45, kBallRadius, 0.05 * ks};
    o.balls.push_back(BallAt(std::min(last, c + 6), rest));
    o.balls.push_back(BallAt(frames - 1, rest));
  } else {
    const Vec3 v = Add(Scale(Dir(dir), power), {0, loft, 0});
    o.balls.push_back(BallFly(c + 1, v));
  }
}

// Walking in: n steps, the feet landing in turn beside the root as it moves
// from x0 (frame f0) to x1 (frame f1); the last landing is at f1.
void Steps(Curves& o, int f0, int f1, double x0, double x1, int n, double width) {
  if (n <= 0 || f1 <= f0) return;
  const double span = static_cast<double>(f1 - f0) / n;
  for (int i = 1; i <= n; ++i) {
    const std::string fs = (n - i) % 2 == 0 ? "l." : "r.";
    const int land = f0 + static_cast<int>(std::lround(span * i));
    const int lift = f0 + static_cast<int>(std::lround(span * (i - 1)));
    const double x = x0 + (x1 - x0) * i / n;
    const double xPrev = i >= 2 ? x0 + (x1 - x0) * (i - 2) / n : x0;
    const double z = fs == "l." ? -width : width;
    SetFoot(o, fs, lift, {xPrev, kGround, z}, 0);
    if (land - lift >= 2) SetFoot(o, fs, (lift + land) / 2, {(x + xPrev) / 2, kGround + 0.12, z}, -10);
    SetFoot(o, fs, land, {x, kGround, z}, 0);
  }
}

// ---------------------------------------------------------------- reach
// Both hands meet the ball at the contact frame (a save, a dive or a
// gather); then they keep it, bring it in to the chest, or let it go.
void Reach(const ClipSource& s, int frames, const Skeleton& skel, Curves& o) {
  const int c = static_cast<int>(s.Param("contact", 6));
  const int last = frames - 2;
  const Vec3 ball = {s.Param("ballx", 0.45), s.Param("bally", 1.0), s.Param("ballz", 0.0)};
  const double spread = s.Param("spread", 0.10);
  const double dive = s.Param("dive", 0);  // sideways dive: the body leaves the ground
  o.contactFrame = c;
  o.contactPoint = "hands";
  // Hands: ready, then on both sides of the ball, then in to the chest.
  const Vec3 across = dive != 0 ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
  auto handsAt = [&](int f, const Vec3& centre, const Vec3& axis) {
    SetHand(o, "l.", f, Sub(centre, Scale(axis, spread)));
    SetHand(o, "r.", f, Add(centre, Scale(axis, spread)));
  };
  const Vec3 ready = {s.Param("readyx", 0.35), s.Param("readyy", 0.95), 0};
  handsAt(0, ready, {0, 0, 1});
  handsAt(std::max(1, c - static_cast<int>(s.Param("lead", 3))), Add(Scale(ready, 0.3), Scale(ball, 0.7)), across);
  handsAt(c, ball, across);
  // Arriving in a straight line (or lying still) until the hands take it.
  const double inx = s.Param("inx", 0.3), iny = s.Param("iny", 0.0);
  o.balls.push_back(BallAt(0, {ball[0] + inx * c, ball[1] + iny * c, ball[2]}));
  if (c > 1) o.balls.push_back(BallAt(c - 1, {ball[0] + inx, ball[1] + iny, ball[2]}));
  o.balls.push_back(BallOn(c, "hands"));
  const bool keep = s.Param("keep", 1) != 0;
  if (!keep) {
    o.balls.push_back(BallFly(c + 1, {s.Param("outx", -0.05), s.Param("outy", 0.08), s.Param("outz", 0.25)}));
  }
  if (keep && s.Param("tochest", 1) != 0) {
    const int in = std::min(last - 1, c + static_cast<int>(s.Param("gather", 6)));
    // The chest position is worked out from the body at that frame below.
    o.Set("l.hand.x", in, 0);  // placeholder keys replaced after the body keys
    o.Set("r.hand.x", in, 0);
  }
  // Body keys.
  const double crouch = s.Param("crouch", 0.86), rootC = s.Param("rooty", crouch);
  o.Set("root.y", 0, s.Param("starty", crouch));
  o.Set("root.y", c, rootC);
  o.Set("root.y", last, s.Param("endy", crouch));
  o.Set("root.z", 0, 0);
  o.Set("root.z", c, s.Param("rootz", 0));
  o.Set("root.z", last, s.Param("endz", s.Param("rootz", 0)));
  o.Set("root.x", 0, 0);
  o.Set("root.x", c, s.Param("rootx", 0));
  o.Set("root.x", last, s.Param("endx", s.Param("rootx", 0)));
  o.Set("root.roll", 0, 0);
  o.Set("root.roll", c, s.Param("roll", 0));
  o.Set("root.roll", last, s.Param("endroll", s.Param("roll", 0)));
  o.Set("root.pitch", 0, s.Param("startpitch", 12));
  o.Set("root.pitch", c, s.Param("pitch", 12));
  o.Set("root.pitch", last, s.Param("endpitch", 8));
  o.Set("spine.bend", 0, 8);
  o.Set("spine.bend", c, s.Param("bend", 8));
  o.Set("spine.bend", last, s.Param("endbend", 6));
  o.Set("head.bend", c, s.Param("nod", 0));
  const double w = s.Param("width", 0.16);
  const Vec3 fl = {0, kGround, -w}, fr = {0, kGround, w};
  SetFoot(o, "l.", 0, fl, 0);
  SetFoot(o, "r.", 0, fr, 0);
  if (dive != 0) {
    // Push off the near foot, fly, land on the side.
    const int push = std::max(1, c - static_cast<int>(s.Param("push", 4)));
    const std::string near = dive > 0 ? "r." : "l.";
    const std::string far = dive > 0 ? "l." : "r.";
    SetFoot(o, near, push, dive > 0 ? fr : fl, 0);
    SetFoot(o, far, push, Add(dive > 0 ? fl : fr, {0, 0.10, dive * 0.15}), 0);
    const double rz = s.Param("rootz", 0), ry = rootC;
    SetFoot(o, near, c, {0, std::max(0.18, ry - 0.45), rz - dive * 0.75}, -40);
    SetFoot(o, far, c, {0.05, std::max(0.28, ry - 0.25), rz - dive * 0.85}, -40);
    const double ez = s.Param("endz", rz);
    const int down = std::min(last - 1, c + static_cast<int>(s.Param("fall", 8)));
    SetFoot(o, near, down, {0.05, kGround + 0.05, ez - dive * 0.80}, 30);
    SetFoot(o, far, down, {-0.05, kGround + 0.22, ez - dive * 0.85}, 30);
    SetFoot(o, near, last, {0.05, kGround + 0.05, ez - dive * 0.80}, 30);
    SetFoot(o, far, last, {-0.05, kGround + 0.22, ez - dive * 0.85}, 30);
    o.Set("root.y", down, s.Param("endy", 0.2));
    o.Set("root.roll", down, s.Param("endroll", dive * 80));
    o.Set("root.z", down, ez);
  } else {
    const Vec3 step = {s.Param("stepx", 0), 0, s.Param("stepz", 0)};
    const int sf = std::max(1, c - 2);
    const int walk = static_cast<int>(s.Param("walk", 0));
    if (walk > 0) {
      const int w0 = static_cast<int>(s.Param("walkstart", 0));
      o.Set("root.x", w0, 0);
      o.Set("root.x", sf, step[0]);
      Steps(o, w0, sf, 0, step[0], walk, w);
    }
    SetFoot(o, "l.", sf, Add(fl, step), 0);
    SetFoot(o, "r.", sf, Add(fr, step), 0);
    const Vec3 endStep = {s.Param("endx", s.Param("rootx", 0)), 0, s.Param("endz", s.Param("rootz", 0))};
    SetFoot(o, "l.", last, Add(fl, endStep), 0);
    SetFoot(o, "r.", last, Add(fr, endStep), 0);
    if (s.Param("kneel", 0) != 0) {
      // Down on the right knee for a low ball.
      SetFoot(o, "r.", c, Add(Add(fr, step), {-0.45, 0.16, -0.05}), -60);
      SetFoot(o, "r.", std::min(last - 1, c + 4), Add(Add(fr, step), {-0.45, 0.16, -0.05}), -60);
    }
    if (s.Param("jump", 0) > 0) {
      const double j = s.Param("jump", 0);
      SetFoot(o, "l.", std::max(1, c - 3), Add(fl, step), 0);
      SetFoot(o, "r.", std::max(1, c - 3), Add(fr, step), 0);
      SetFoot(o, "l.", c, Add(Add(fl, step), {-0.05, j, 0}), -30);
      SetFoot(o, "r.", c, Add(Add(fr, step), {-0.05, j, 0}), -30);
      SetFoot(o, "l.", std::min(last - 1, c + 4), Add(fl, endStep), 0);
      SetFoot(o, "r.", std::min(last - 1, c + 4), Add(fr, endStep), 0);
    }
  }
  SetFoot(o, "l.", frames - 1, FootAt(o, "l.", last, frames), FrameChannels(o, last, frames).at("l.foot.pitch"));
  SetFoot(o, "r.", frames - 1, FootAt(o, "r.", last, frames), FrameChannels(o, last, frames).at("r.foot.pitch"));
  // Hands in to the chest after a catch, worked out on the body.
  if (keep && s.Param("tochest", 1) != 0) {
    const int in = std::min(last - 1, c + static_cast<int>(s.Param("gather", 6)));
    for (int f : {in, last, frames - 1}) {
      Curves probe = o;
      probe.keys.erase("l.hand.x");
      probe.keys.erase("r.hand.x");
      probe.keys.erase("l.hand.y");
      probe.keys.erase("r.hand.y");
      probe.keys.erase("l.hand.z");
      probe.keys.erase("r.hand.z");
      const Body b = Solve(skel, FrameChannels(probe, f, frames));
      const Vec3 chest = PointOf(skel, b, "chest");
      const Vec3 centre = Add(chest, Scale(Normalise(Sub(chest, b.p[2])), 0.16));
      handsAt(f, Add(centre, {0.02, -0.05, 0}), {0, 0, 1});
    }
  }
  if (s.Param("release", 0) > 0) {
    // The ball is let go later (a throw, a roll or a drop).
    const int r = static_cast<int>(s.Param("release", 0));
    o.balls.push_back(BallFly(r, {s.Param("outx", 0.2), s.Param("outy", 0.0), s.Param("outz", 0.0)}));
  }
}

// ---------------------------------------------------------------- turnabout
// Starts turned half round (the display facing is flipped as the turn
// begins) and unwinds into the given frame of the clip that follows.
void Turnabout(const ClipSource& s, int frames, const Skeleton& skel, const Built& done, Curves& o) {
  const std::string into = s.Word("into", "");
  const auto at = into.find('@');
  const std::string target = into.substr(0, at);
  const int tf = at == std::string::npos ? 0 : std::atoi(into.substr(at + 1).c_str());
  const auto it = done.clips.find(target);
  if (it == done.clips.end() || tf >= it->second.frames) throw Error(s.file + ": bad into " + into);
  const Clip& t = it->second;
  const int last = frames - 2;
  Channels endCh = t.channels[tf];
  const double dx = endCh.at("root.x"), dz = endCh.at("root.z");
  const double travel = s.Param("travel", 0.3);
  const double turn = s.Param("turn", 180);
  // Start: standing (or the source's frame) turned round.
  Channels startCh = FrameChannels(Curves{}, 0, 2);
  const std::string from = s.Word("from", "");
  if (!from.empty()) {
    const auto fa = from.find('@');
    const auto fit = done.clips.find(from.substr(0, fa));
    if (fit == done.clips.end()) throw Error(s.file + ": bad from " + from);
    startCh = fit->second.channels[std::atoi(from.substr(fa + 1).c_str())];
  }
  auto place = [&](int f, const Channels& ch, double yaw, const Vec3& offset) {
    for (const auto& [name, v] : ch) {
      if (name.find(".foot.x") != std::string::npos || name.find(".foot.z") != std::string::npos) continue;
      if (name.find(".hand.") != std::string::npos) continue;
      if (name == "root.x" || name == "root.z" || name == "root.yaw") continue;
      o.Set(name, f, v);
    }
    o.Set("root.yaw", f, ch.at("root.yaw") + yaw);
    const Vec3 r = Add(Turn({ch.at("root.x"), 0, ch.at("root.z")}, yaw), offset);
    o.Set("root.x", f, r[0] - (f == 0 ? 0 : 0));
    o.Set("root.z", f, r[2]);
    for (const char* side : {"l.", "r."}) {
      const std::string sd = side;
      const Vec3 foot = Add(Turn({ch.at(sd + "foot.x"), 0, ch.at(sd + "foot.z")}, yaw), offset);
      o.Set(sd + "foot.x", f, foot[0]);
      o.Set(sd + "foot.z", f, foot[2]);
    }
  };
  const Vec3 startOffset = {-startCh.at("root.x") * 0, 0, 0};
  Channels s0 = startCh;
  s0["root.x"] = 0;
  s0["root.z"] = 0;
  for (const char* side : {"l.", "r."}) {
    s0[std::string(side) + "foot.x"] -= startCh.at("root.x");
    s0[std::string(side) + "foot.z"] -= startCh.at("root.z");
  }
  place(0, s0, turn, startOffset);
  // Mid-turn: pivot on the left foot, the right foot steps round.
  const int mid = last / 2;
  {
    const double yaw = turn * 0.5;
    Channels m = s0;
    m["root.y"] = 0.93;
    place(mid, m, yaw, {travel * 0.5, 0, 0});
    const Vec3 rf = Add(Turn({0.05, 0, 0.16}, yaw), {travel * 0.5, 0.14, 0});
    o.Set("r.foot.x", mid, rf[0]);
    o.Set("r.foot.y", mid, rf[1]);
    o.Set("r.foot.z", mid, rf[2]);
  }
  Channels e = endCh;
  e["root.x"] = 0;
  e["root.z"] = 0;
  for (const char* side : {"l.", "r."}) {
    e[std::string(side) + "foot.x"] -= dx;
    e[std::string(side) + "foot.z"] -= dz;
  }
  place(last, e, 0, {travel, 0, 0});
  place(frames - 1, e, 0, {travel, 0, 0});
  // The ball goes round with the feet.
  if (t.hasTrack) {
    const Vec3 endBall = {t.track[tf * 3] + endCh.at("root.x") - dx + travel,
                          t.track[tf * 3 + 1] + static_cast<double>(t.pose[static_cast<size_t>(tf) * kPoseFloats + 1]),
                          t.track[tf * 3 + 2] + endCh.at("root.z") - dz};
    const double r = std::hypot(endBall[0] - travel, endBall[2]);
    for (int f = 0; f <= last; ++f) {
      const double u = Smooth(static_cast<double>(f) / last);
      const double yaw = turn * (1 - u);
      const Vec3 b = Add(Turn({r, 0, endBall[2] * 0}, yaw), {travel * u, kBallRadius, 0});
      o.balls.push_back(BallAt(f, f == last ? endBall : b));
    }
    o.balls.push_back(BallAt(frames - 1, endBall));
  }
  (void)skel;
}

}  // namespace

void ExpandTemplate(const ClipSource& src, int frames, const Skeleton& skel, const Built& done, Curves& out) {
  const std::string t = src.templ;
  if (t.empty() || t == "pose") return;
  if (t == "gait") return Gait(src, frames, skel, out);
  if (t == "kick") return Kick(src, frames, skel, out);
  if (t == "reach") return Reach(src, frames, skel, out);
  if (t == "turnabout") return Turnabout(src, frames, skel, done, out);
  throw Error(src.file + ": unknown template \"" + t + "\"");
}

}  // namespace animgen
