// Clip building: channel curves from the template and the source's keys,
// the body solved frame by frame (joint turns, or reach for feet and hands),
// turned into segment quaternions, and the ball placed.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "animgen_internal.h"

namespace animgen {

Mat3 Identity() { return {1, 0, 0, 0, 1, 0, 0, 0, 1}; }

Mat3 Mul(const Mat3& a, const Mat3& b) {
  Mat3 r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      r[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
    }
  }
  return r;
}

Mat3 Transpose(const Mat3& a) { return {a[0], a[3], a[6], a[1], a[4], a[7], a[2], a[5], a[8]}; }

Mat3 RotX(double deg) {
  const double c = std::cos(Rad(deg)), s = std::sin(Rad(deg));
  return {1, 0, 0, 0, c, s, 0, -s, c};
}
Mat3 RotY(double deg) {
  const double c = std::cos(Rad(deg)), s = std::sin(Rad(deg));
  return {c, 0, -s, 0, 1, 0, s, 0, c};
}
Mat3 RotZ(double deg) {
  const double c = std::cos(Rad(deg)), s = std::sin(Rad(deg));
  return {c, s, 0, -s, c, 0, 0, 0, 1};
}

Vec3 Apply(const Vec3& p, const Mat3& m) {
  return {p[0] * m[0] + p[1] * m[3] + p[2] * m[6], p[0] * m[1] + p[1] * m[4] + p[2] * m[7],
          p[0] * m[2] + p[1] * m[5] + p[2] * m[8]};
}
Vec3 Add(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Scale(const Vec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalise(const Vec3& a) {
  const double l = Length(a);
  return l > 1e-12 ? Scale(a, 1.0 / l) : Vec3{0, 0, 0};
}

// Inverse of the engine's quaternion-to-matrix rule (m1 = 2(xy + wz), ...).
std::array<double, 4> QuatFromMatrix(const Mat3& m) {
  const double tr = m[0] + m[4] + m[8];
  double x, y, z, w;
  if (tr > 0) {
    const double s = std::sqrt(tr + 1.0) * 2;
    w = 0.25 * s;
    x = (m[5] - m[7]) / s;
    y = (m[6] - m[2]) / s;
    z = (m[1] - m[3]) / s;
  } else if (m[0] > m[4] && m[0] > m[8]) {
    const double s = std::sqrt(1.0 + m[0] - m[4] - m[8]) * 2;
    w = (m[5] - m[7]) / s;
    x = 0.25 * s;
    y = (m[1] + m[3]) / s;
    z = (m[2] + m[6]) / s;
  } else if (m[4] > m[8]) {
    const double s = std::sqrt(1.0 + m[4] - m[0] - m[8]) * 2;
    w = (m[6] - m[2]) / s;
    x = (m[1] + m[3]) / s;
    y = 0.25 * s;
    z = (m[5] + m[7]) / s;
  } else {
    const double s = std::sqrt(1.0 + m[8] - m[0] - m[4]) * 2;
    w = (m[1] - m[3]) / s;
    x = (m[2] + m[6]) / s;
    y = (m[5] + m[7]) / s;
    z = 0.25 * s;
  }
  const double n = std::sqrt(x * x + y * y + z * z + w * w);
  return {x / n, y / n, z / n, w / n};
}

Mat3 RootRest() { return {-1, 0, 0, 0, 0, -1, 0, -1, 0}; }

const std::map<std::string, double>& DefaultChannels() {
  static const std::map<std::string, double> defaults = [] {
    std::map<std::string, double> d = {
        {"root.x", 0},      {"root.y", 0.985},   {"root.z", 0},       {"root.yaw", 0},    {"root.pitch", 0},
        {"root.roll", 0},   {"spine.bend", 2},   {"spine.side", 0},   {"spine.twist", 0}, {"chest.bend", 2},
        {"chest.side", 0},  {"chest.twist", 0},  {"neck.bend", -3},   {"head.bend", 0},   {"head.turn", 0},
        {"head.side", 0},
    };
    for (const char* s : {"l.", "r."}) {
      const std::string p = s;
      d[p + "clav"] = 0;
      d[p + "arm.fwd"] = 3;
      d[p + "arm.out"] = 9;
      d[p + "arm.twist"] = 0;
      d[p + "elbow"] = 14;
      d[p + "hip.fwd"] = 0;
      d[p + "hip.out"] = 3;
      d[p + "hip.twist"] = 0;
      d[p + "knee"] = 4;
      d[p + "ankle"] = 0;
      d[p + "foot.x"] = 0;
      d[p + "foot.y"] = 0.08;
      d[p + "foot.z"] = (p == "l.") ? -0.11 : 0.11;
      d[p + "foot.pitch"] = 0;
      d[p + "foot.yaw"] = 0;
      d[p + "hand.x"] = 0;
      d[p + "hand.y"] = 0;
      d[p + "hand.z"] = 0;
    }
    return d;
  }();
  return defaults;
}

bool IsChannel(const std::string& name) { return DefaultChannels().count(name) != 0; }

Channels MirrorChannels(const Channels& ch) {
  static const std::set<std::string> negate = {"root.z",     "root.yaw",    "root.roll",  "spine.side",
                                               "spine.twist", "chest.side", "chest.twist", "head.turn",
                                               "head.side"};
  Channels out;
  for (const auto& [name, value] : ch) {
    std::string other = name;
    if (name.rfind("l.", 0) == 0) other = "r." + name.substr(2);
    if (name.rfind("r.", 0) == 0) other = "l." + name.substr(2);
    double v = value;
    if (negate.count(name)) v = -v;
    // Positions of feet and hands are in the player's frame: lateral flips.
    if (name.size() > 2 && (name.substr(2) == "foot.z" || name.substr(2) == "hand.z")) v = -v;
    if (name.size() > 2 && name.substr(2) == "foot.yaw") v = -v;
    out[other] = v;
  }
  return out;
}

double Evaluate(const std::map<int, double>& keys, double frame, bool loop, int period) {
  if (keys.empty()) return 0;
  if (keys.size() == 1) return keys.begin()->second;
  std::vector<std::pair<double, double>> k(keys.begin(), keys.end());
  if (loop && period > 0) {
    // Keys within one period, extended by two on each side across it so the
    // curve closes (a key at the period itself repeats frame 0 and is dropped).
    frame = std::fmod(frame, period);
    if (frame < 0) frame += period;
    std::vector<std::pair<double, double>> in;
    for (const auto& p : k) {
      if (p.first < period) in.push_back(p);
    }
    if (in.empty()) in.push_back(k.back());
    if (in.size() == 1) return in.front().second;
    std::vector<std::pair<double, double>> e;
    const size_t n = in.size();
    e.push_back({in[n - 2].first - period, in[n - 2].second});
    e.push_back({in[n - 1].first - period, in[n - 1].second});
    for (const auto& p : in) e.push_back(p);
    e.push_back({in[0].first + period, in[0].second});
    e.push_back({in[1].first + period, in[1].second});
    k = e;
  }
  if (frame <= k.front().first) return k.front().second;
  if (frame >= k.back().first) return k.back().second;
  size_t i = 0;
  while (!(frame >= k[i].first && frame <= k[i + 1].first)) ++i;
  auto tangent = [&](size_t j) -> double {
    if (j == 0 || j + 1 >= k.size()) return 0.0;
    const double d0 = k[j].second - k[j - 1].second, d1 = k[j + 1].second - k[j].second;
    if (d0 * d1 <= 0) return 0.0;  // a turning point: no overshoot
    const double m = (k[j + 1].second - k[j - 1].second) / (k[j + 1].first - k[j - 1].first);
    // Limit the slope so the segment stays monotone.
    const double s0 = d0 / (k[j].first - k[j - 1].first), s1 = d1 / (k[j + 1].first - k[j].first);
    const double lim = 3 * std::min(std::fabs(s0), std::fabs(s1));
    return std::copysign(std::min(std::fabs(m), lim), m);
  };
  const double t0 = k[i].first, t1 = k[i + 1].first, h = t1 - t0;
  const double t = (frame - t0) / h;
  const double m0 = tangent(i) * h, m1 = tangent(i + 1) * h;
  const double t2 = t * t, t3 = t2 * t;
  return (2 * t3 - 3 * t2 + 1) * k[i].second + (t3 - 2 * t2 + t) * m0 + (-2 * t3 + 3 * t2) * k[i + 1].second +
         (t3 - t2) * m1;
}

namespace {

constexpr double kAnkleTurn = 62;

double Ch(const Channels& ch, const std::string& name) {
  const auto it = ch.find(name);
  return it != ch.end() ? it->second : DefaultChannels().at(name);
}

// Local turn of a limb's upper joint: twist, then sideways, then forward/back.
Mat3 LimbTurn(double fwd, double out, double twist, double side) {
  return Mul(Mul(RotZ(side * twist), RotX(-side * out)), RotY(-fwd));
}

// Two-bone reach: the upper segment's world turn and the bend of the lower
// one so that the end point (lengths l1, l2 from the joint) lies on the
// target. The pole is where the middle joint points. bendPositive: the lower
// segment turns toward the body's back (+x) when it bends (legs).
void Reach(const Vec3& joint, const Vec3& target, const Vec3& pole, double l1, double l2, bool bendPositive,
           Mat3& upper, double& bend) {
  Vec3 d = Sub(target, joint);
  double dist = Length(d);
  const Vec3 u = dist > 1e-9 ? Scale(d, 1 / dist) : Vec3{0, -1, 0};
  dist = std::clamp(dist, std::fabs(l1 - l2) + 1e-4, (l1 + l2) * 0.99999);
  const double ca = std::clamp((l1 * l1 + dist * dist - l2 * l2) / (2 * l1 * dist), -1.0, 1.0);
  const double a = std::acos(ca);
  Vec3 p = Sub(pole, Scale(u, Dot(pole, u)));
  if (Length(p) < 1e-6) p = Normalise(Cross(u, Vec3{0, 0, 1}));
  p = Normalise(p);
  const Vec3 knee = Add(joint, Add(Scale(u, l1 * std::cos(a)), Scale(p, l1 * std::sin(a))));
  const Vec3 end = Add(joint, Scale(u, dist));
  const Vec3 t = Normalise(Sub(knee, joint));
  const Vec3 s = Normalise(Sub(end, knee));
  Vec3 b = Sub(s, Scale(t, Dot(s, t)));
  if (Length(b) < 1e-6) b = Scale(p, -1);
  b = Normalise(b);
  const Vec3 x = bendPositive ? b : Scale(b, -1);
  const Vec3 y = Cross(t, x);
  upper = {x[0], x[1], x[2], y[0], y[1], y[2], t[0], t[1], t[2]};
  bend = Deg(std::acos(std::clamp(Dot(t, s), -1.0, 1.0)));
}

}  // namespace

Body Solve(const Skeleton& skel, const Channels& ch) {
  Body b;
  auto place = [&](int s, const Mat3& local) {
    const int parent = skel.seg[s].parent;
    const Vec3 o = {skel.seg[s].origin[0], skel.seg[s].origin[1], skel.seg[s].origin[2]};
    b.w[s] = Mul(local, b.w[parent]);
    b.p[s] = Add(Apply(o, b.w[parent]), b.p[parent]);
  };
  const double yaw = Ch(ch, "root.yaw");
  b.w[0] = Mul(Mul(Mul(RootRest(), RotZ(-Ch(ch, "root.pitch"))), RotX(Ch(ch, "root.roll"))), RotY(yaw));
  b.p[0] = {Ch(ch, "root.x"), Ch(ch, "root.y"), Ch(ch, "root.z")};
  place(1, Mul(Mul(RotZ(-Ch(ch, "spine.twist")), RotX(Ch(ch, "spine.side"))), RotY(Ch(ch, "spine.bend"))));
  place(2, Mul(Mul(RotZ(-Ch(ch, "chest.twist")), RotX(Ch(ch, "chest.side"))), RotY(Ch(ch, "chest.bend"))));
  place(9, RotY(Ch(ch, "neck.bend")));
  place(10, Mul(Mul(RotZ(-Ch(ch, "head.turn")), RotX(Ch(ch, "head.side"))), RotY(Ch(ch, "head.bend"))));
  for (int side = 0; side < 2; ++side) {
    const std::string p = side == 0 ? "l." : "r.";
    const double sl = side == 0 ? 1.0 : -1.0;
    const int collar = side == 0 ? 3 : 6;
    place(collar, RotX(-sl * Ch(ch, p + "clav")));
    // Arms: by joint turns, or reaching for a hand target.
    const int upper = collar + 1, lower = collar + 2;
    if (ch.count(p + "hand.x")) {
      const Vec3 shoulder = Add(Apply({skel.seg[upper].origin[0], skel.seg[upper].origin[1], skel.seg[upper].origin[2]},
                                      b.w[collar]),
                                b.p[collar]);
      const Vec3 target = {Ch(ch, p + "hand.x"), Ch(ch, p + "hand.y"), Ch(ch, p + "hand.z")};
      const Point* hand = skel.FindPoint(side == 0 ? "hand_l" : "hand_r");
      const double l1 = skel.seg[lower].origin[2], l2 = hand->p[2];
      // Elbows point back, down and out in the chest's own frame.
      const Vec3 back = {b.w[2][0], b.w[2][1], b.w[2][2]}, down = {b.w[2][6], b.w[2][7], b.w[2][8]};
      const Vec3 out = {b.w[2][3] * sl, b.w[2][4] * sl, b.w[2][5] * sl};
      const Vec3 pole = Add(Add(back, Scale(down, 0.6)), Scale(out, 0.5));
      Mat3 world;
      double bend;
      Reach(shoulder, target, pole, l1, l2, false, world, bend);
      b.w[upper] = world;
      b.p[upper] = shoulder;
      place(lower, RotY(-bend));
    } else {
      place(upper, LimbTurn(Ch(ch, p + "arm.fwd"), Ch(ch, p + "arm.out"), Ch(ch, p + "arm.twist"), sl));
      place(lower, RotY(-Ch(ch, p + "elbow")));
    }
    // Legs: by joint turns when the hip is keyed, else reaching for the foot target.
    const int thigh = side == 0 ? 11 : 14, shin = thigh + 1, foot = thigh + 2;
    if (ch.count(p + "hip.fwd") || ch.count(p + "knee")) {
      place(thigh, LimbTurn(Ch(ch, p + "hip.fwd"), Ch(ch, p + "hip.out"), Ch(ch, p + "hip.twist"), sl));
      place(shin, RotY(Ch(ch, p + "knee")));
      place(foot, RotY(-Ch(ch, p + "ankle")));
    } else {
      const Vec3 hip = Add(Apply({skel.seg[thigh].origin[0], skel.seg[thigh].origin[1], skel.seg[thigh].origin[2]},
                                 b.w[0]),
                           b.p[0]);
      const Vec3 ankle = {Ch(ch, p + "foot.x"), Ch(ch, p + "foot.y"), Ch(ch, p + "foot.z")};
      const double footYaw = yaw + Ch(ch, p + "foot.yaw");
      // The knee points where the body faces (down when lying on the front).
      const Vec3 bodyFront = {-b.w[0][0], -b.w[0][1], -b.w[0][2]};
      // A leg raised ahead bends with the knee up.
      const Vec3 bodyUp = {-b.w[0][6], -b.w[0][7], -b.w[0][8]};
      const double ahead = std::max(0.0, Dot(Normalise(Sub(ankle, hip)), bodyFront));
      const Vec3 pole = Add(Add(Add(bodyFront, Scale(bodyUp, 2.5 * ahead)), Scale(Apply({1, 0, 0}, RotY(footYaw)), 0.3)),
                            Vec3{0, 0.1, 0});
      Mat3 world;
      double bend;
      Reach(hip, ankle, pole, skel.seg[shin].origin[2], skel.seg[foot].origin[2], true, world, bend);
      b.w[thigh] = world;
      b.p[thigh] = hip;
      place(shin, RotY(bend));
      Mat3 footWorld = Mul(Mul(RootRest(), RotZ(Ch(ch, p + "foot.pitch"))), RotY(footYaw));
      // The ankle turns at most kAnkleTurn from its rest: beyond, the foot follows the shin.
      const Mat3 local = Mul(footWorld, Transpose(b.w[shin]));
      const auto q = QuatFromMatrix(local);
      const double turn = 2 * Deg(std::acos(std::min(1.0, std::fabs(q[3]))));
      if (turn > kAnkleTurn) {
        const double k = kAnkleTurn / turn;
        const double half = Rad(turn) / 2 * k * (q[3] < 0 ? -1 : 1);
        const double vn = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
        const double sn = std::sin(half) / vn;
        const double x = q[0] * sn, y = q[1] * sn, z = q[2] * sn, w = std::cos(half);
        const Mat3 lim = {1 - 2 * (y * y + z * z), 2 * (x * y + w * z),     2 * (x * z - w * y),
                          2 * (x * y - w * z),     1 - 2 * (x * x + z * z), 2 * (y * z + w * x),
                          2 * (x * z + w * y),     2 * (y * z - w * x),     1 - 2 * (x * x + y * y)};
        footWorld = Mul(lim, b.w[shin]);
      }
      b.w[foot] = footWorld;
      b.p[foot] = Add(Apply({skel.seg[foot].origin[0], skel.seg[foot].origin[1], skel.seg[foot].origin[2]}, b.w[shin]),
                      b.p[shin]);
    }
  }
  return b;
}

Vec3 PointOf(const Skeleton& skel, const Body& body, const std::string& point) {
  if (point == "hands") return Scale(Add(PointOf(skel, body, "hand_l"), PointOf(skel, body, "hand_r")), 0.5);
  const Point* p = skel.FindPoint(point);
  if (!p) throw Error("unknown point " + point);
  return Add(Apply({p->p[0], p->p[1], p->p[2]}, body.w[p->segment]), body.p[p->segment]);
}

void PoseFromChannels(const Skeleton& skel, const Channels& ch, float* pose) {
  const Body b = Solve(skel, ch);
  for (int s = 0; s < kSegments; ++s) {
    const Mat3 local = s == 0 ? b.w[0] : Mul(b.w[s], Transpose(b.w[skel.seg[s].parent]));
    const auto q = QuatFromMatrix(local);
    float* out = pose + s * 7;
    if (s == 0) {
      out[0] = static_cast<float>(b.p[0][0]);
      out[1] = static_cast<float>(b.p[0][1]);
      out[2] = static_cast<float>(b.p[0][2]);
    } else {
      for (int c = 0; c < 3; ++c) out[c] = static_cast<float>(skel.seg[s].origin[c]);
    }
    for (int c = 0; c < 4; ++c) out[3 + c] = static_cast<float>(q[c]);
  }
}

std::array<double, 3> PointInPose(const Skeleton& skel, const float* pose, const std::string& point, bool mirror) {
  // Rebuild the world turns from the stored quaternions (what the engine sees).
  Body b;
  for (int s = 0; s < kSegments; ++s) {
    const float* q = pose + s * 7;
    const double x = q[3], y = q[4], z = q[5], w = q[6];
    const double n = x * x + y * y + z * z + w * w, k = 2.0 / n;
    const Mat3 m = {1 - k * (y * y + z * z), k * (x * y + w * z), k * (x * z - w * y),
                    k * (x * y - w * z),     1 - k * (x * x + z * z), k * (y * z + w * x),
                    k * (x * z + w * y),     k * (y * z - w * x),     1 - k * (x * x + y * y)};
    const Vec3 o = {q[0], q[1], q[2]};
    if (s == 0) {
      b.w[0] = m;
      b.p[0] = o;
    } else {
      const int parent = skel.seg[s].parent;
      b.w[s] = Mul(m, b.w[parent]);
      b.p[s] = Add(Apply(o, b.w[parent]), b.p[parent]);
    }
  }
  Vec3 v = PointOf(skel, b, point);
  if (mirror) v[2] = -v[2];
  return v;
}

int FramesNeeded(const Table& table, const std::string& clip) {
  int n = 0;
  for (const Row& r : table.rows) {
    if (r.clip != clip) continue;
    n = std::max(n, std::max(r.start, r.end) + 1);
    if (r.contact >= 0) n = std::max(n, r.contact + 1);
  }
  // Follow-on frames are frames of the clip switched to.
  for (const Row& r : table.rows) {
    if (r.followId == 1) continue;
    const Row* to = table.Find(r.followId);
    if (to && to->clip == clip) n = std::max(n, r.followFrame + 1);
  }
  return n;
}

// A foot going from one place on the ground to another is lifted on the way
// (one frame up, the middle, one frame before it lands) rather than dragged.
void LiftSteps(Curves& curves, int frames) {
  for (const char* side : {"l.", "r."}) {
    const std::string s = side;
    if (!curves.Has(s + "foot.x")) continue;
    std::set<int> frameSet = {0};
    for (const char* c : {"foot.x", "foot.y", "foot.z"}) {
      if (curves.Has(s + c)) {
        for (const auto& [f, v] : curves.keys.at(s + c)) frameSet.insert(f);
      }
    }
    const std::vector<int> keyFrames(frameSet.begin(), frameSet.end());
    std::vector<std::pair<int, Channels>> at;
    for (int f : keyFrames) at.push_back({f, FrameChannels(curves, f, frames)});
    for (size_t i = 0; i + 1 < at.size(); ++i) {
      const Channels& a = at[i].second;
      const Channels& b = at[i + 1].second;
      const int f0 = at[i].first, f1 = at[i + 1].first;
      if (f1 - f0 < 2) continue;
      const double ya = a.at(s + "foot.y"), yb = b.at(s + "foot.y");
      const bool groundA = ya <= 0.09, groundB = yb <= 0.09;
      if (!groundA && !groundB) continue;
      const double dx = b.at(s + "foot.x") - a.at(s + "foot.x"), dz = b.at(s + "foot.z") - a.at(s + "foot.z");
      const double dist = std::hypot(dx, dz);
      if (dist < 0.015) continue;
      const double lift = std::min(0.16, 0.06 + dist * 0.12);
      auto put = [&](int f, double u, double y) {
        curves.Set(s + "foot.x", f, a.at(s + "foot.x") + dx * u);
        curves.Set(s + "foot.z", f, a.at(s + "foot.z") + dz * u);
        curves.Set(s + "foot.y", f, y);
      };
      if (groundA && groundB) {
        if (f1 - f0 >= 4) {
          put(f0 + 1, 0.08, 0.08 + lift * 0.5);
          put(f1 - 1, 0.94, 0.08 + lift * 0.4);
        }
        put((f0 + f1) / 2, 0.5, 0.08 + lift);
      } else if (groundA) {
        put(f0 + 1, 0.08, std::max(ya, yb) * 0.3 + 0.08 * 0.7 + lift * 0.5);
      } else if (f1 - f0 >= 2) {
        put(f1 - 1, 0.92, std::max(ya, yb) * 0.3 + 0.08 * 0.7 + lift * 0.4);
      }
    }
  }
}

Channels FrameChannels(const Curves& curves, int f, int frames) {
  Channels ch;
  for (const auto& [name, value] : DefaultChannels()) {
    // Hands and feet reach only when keyed; joint turns of a reaching limb are unused.
    const bool target = name.find(".foot.") != std::string::npos || name.find(".hand.") != std::string::npos;
    if (!target) ch[name] = value;
  }
  for (const char* side : {"l.", "r."}) {
    const std::string s = side;
    const bool legKeyed = curves.Has(s + "hip.fwd") || curves.Has(s + "knee");
    if (!legKeyed) {
      for (const char* c : {"foot.x", "foot.y", "foot.z", "foot.pitch", "foot.yaw"}) ch[s + c] = DefaultChannels().at(s + c);
      ch.erase(s + "hip.fwd");
      ch.erase(s + "knee");
    }
    if (curves.Has(s + "hand.x")) {
      for (const char* c : {"hand.x", "hand.y", "hand.z"}) ch[s + c] = DefaultChannels().at(s + c);
    }
  }
  for (const auto& [name, keys] : curves.keys) {
    if (!keys.empty() && keys.begin()->first > 0 && !curves.loop && DefaultChannels().count(name)) {
      // A channel first keyed later starts from its standing value.
      std::map<int, double> k = keys;
      k[0] = DefaultChannels().at(name);
      ch[name] = Evaluate(k, f, false, frames - 1);
    } else {
      ch[name] = Evaluate(keys, f, curves.loop, frames - 1);
    }
  }
  return ch;
}

Clip BuildClip(const ClipSource& src, const Skeleton& skel, int frames, const Built& done) {
  Curves curves;
  ExpandTemplate(src, frames, skel, done, curves);
  // The source's own keys join the template's (a key at the same frame wins).
  for (const Key& k : src.keys) {
    if (!IsChannel(k.channel)) {
      throw Error(src.file + ":" + std::to_string(k.line) + ": unknown channel \"" + k.channel + "\"");
    }
    if (k.frame >= frames) {
      throw Error(src.file + ":" + std::to_string(k.line) + ": key frame " + std::to_string(k.frame) +
                  " past the clip's " + std::to_string(frames) + " frames");
    }
    curves.Set(k.channel, k.frame, k.value);
  }
  for (const PoseCopy& c : src.copies) {
    const bool mirror = c.clip[0] == '~';
    const std::string name = mirror ? c.clip.substr(1) : c.clip;
    const auto it = done.clips.find(name);
    if (it == done.clips.end() || c.clipFrame >= it->second.frames) {
      throw Error(src.file + ":" + std::to_string(c.line) + ": no frame " + name + "@" + std::to_string(c.clipFrame));
    }
    if (c.frame >= frames) throw Error(src.file + ":" + std::to_string(c.line) + ": copy frame past the clip");
    Channels ch = it->second.channels[c.clipFrame];
    if (mirror) ch = MirrorChannels(ch);
    for (const auto& [channel, value] : ch) {
      double v = value;
      if (!c.keepRoot && (channel == "root.x" || channel == "root.z")) {
        // The player stands where the root was: the offsets move into the feet.
        continue;
      }
      curves.Set(channel, c.frame, v);
    }
    if (!c.keepRoot) {
      const double dx = ch.count("root.x") ? ch.at("root.x") : 0, dz = ch.count("root.z") ? ch.at("root.z") : 0;
      curves.Set("root.x", c.frame, 0);
      curves.Set("root.z", c.frame, 0);
      for (const char* f : {"l.foot.x", "r.foot.x", "l.hand.x", "r.hand.x"}) {
        if (ch.count(f)) curves.Set(f, c.frame, ch.at(f) - dx);
      }
      for (const char* f : {"l.foot.z", "r.foot.z", "l.hand.z", "r.hand.z"}) {
        if (ch.count(f)) curves.Set(f, c.frame, ch.at(f) - dz);
      }
    }
  }
  if (!curves.skid) LiftSteps(curves, frames);
  for (const BallKey& b : src.balls) curves.balls.push_back(b);
  if (src.params.count("speed")) curves.speed = src.Param("speed", 0);
  if (src.params.count("loop")) curves.loop = src.Param("loop", 0) != 0;
  if (src.params.count("skid")) curves.skid = src.Param("skid", 0) != 0;
  // Carried by the engine at a speed of its own: the feet go with the ground
  // at whatever speed that is, so they are not held to one.
  if (src.Param("inplace", 0) != 0) curves.skid = true;
  if (!src.Word("contact_point", "").empty()) curves.contactPoint = src.Word("contact_point", "");
  if (src.params.count("contact")) curves.contactFrame = static_cast<int>(src.Param("contact", -1));

  Clip clip;
  clip.name = src.name;
  clip.frames = frames;
  clip.loop = curves.loop;
  clip.skid = curves.skid;
  clip.speed = curves.speed;
  clip.dir = curves.dir;
  clip.contactPoint = curves.contactPoint;
  clip.contactFrame = curves.contactFrame;
  clip.channels.resize(frames);
  clip.pose.resize(static_cast<size_t>(frames) * kPoseFloats);
  std::vector<Body> bodies(frames);
  const bool inPlace = src.Param("inplace", 0) != 0;
  std::vector<Vec3> shift(frames, Vec3{0, 0, 0});
  for (int f = 0; f < frames; ++f) {
    Channels& ch = clip.channels[f];
    ch = FrameChannels(curves, f, frames);
    if (inPlace) {
      // The engine carries the player: the root's own travel is taken out of
      // the whole body, so the root stays over the player's origin.
      shift[f] = {ch.at("root.x"), 0, ch.at("root.z")};
      for (const char* c : {"root.", "l.foot.", "r.foot.", "l.hand.", "r.hand."}) {
        for (int axis : {0, 2}) {
          const std::string name = std::string(c) + (axis == 0 ? "x" : "z");
          if (ch.count(name)) ch[name] -= shift[f][axis];
        }
      }
    }
    PoseFromChannels(skel, ch, &clip.pose[static_cast<size_t>(f) * kPoseFloats]);
    bodies[f] = Solve(skel, ch);
    // Keep neighbouring quaternions on one side so that blends take the short way.
    if (f > 0) {
      for (int s = 0; s < kSegments; ++s) {
        float* q = &clip.pose[static_cast<size_t>(f) * kPoseFloats + s * 7 + 3];
        const float* prev = &clip.pose[static_cast<size_t>(f - 1) * kPoseFloats + s * 7 + 3];
        if (q[0] * prev[0] + q[1] * prev[1] + q[2] * prev[2] + q[3] * prev[3] < 0) {
          for (int c = 0; c < 4; ++c) q[c] = -q[c];
        }
      }
    }
  }
  // The ball: keyed positions (fixed, on a body point, or flying) blended between keys.
  if (!curves.balls.empty()) {
    std::vector<BallKey> balls = curves.balls;
    std::stable_sort(balls.begin(), balls.end(), [](const BallKey& a, const BallKey& b) { return a.frame < b.frame; });
    auto at = [&](const BallKey& k, int f, const Vec3& flyStart) -> Vec3 {
      // Fixed and flying balls are placed on the ground; the body may have
      // been moved back over the origin (shift).
      if (k.mode == "at") return Sub(Vec3{k.p[0], k.p[1], k.p[2]}, shift[f]);
      if (k.mode == "point") return PointOf(skel, bodies[f], k.point);
      const double t = f - k.frame;  // fly
      Vec3 v = {flyStart[0] + k.p[0] * t, flyStart[1] + k.p[1] * t - 0.5 * (9.81 / 900.0) * t * t,
                flyStart[2] + k.p[2] * t};
      v[1] = std::max(v[1], kBallRadius);
      return Sub(v, shift[f]);
    };
    clip.hasTrack = true;
    clip.track.resize(static_cast<size_t>(frames) * 3);
    std::vector<Vec3> pos(frames);
    Vec3 flyStart{};
    for (int f = 0; f < frames; ++f) {
      size_t i = 0;
      while (i + 1 < balls.size() && balls[i + 1].frame <= f) ++i;
      const BallKey& k = balls[i];
      if (k.mode == "fly" && f == k.frame) flyStart = f > 0 ? Add(pos[f - 1], shift[f - 1]) : Vec3{0.5, kBallRadius, 0};
      if (f < k.frame || (i + 1 < balls.size() && balls[i + 1].mode != "fly" && k.mode != "fly")) {
        const BallKey& n = (f < k.frame) ? k : balls[i + 1];
        if (f < k.frame) {
          pos[f] = at(k, f, flyStart);
        } else {
          const double t = static_cast<double>(f - k.frame) / (n.frame - k.frame);
          pos[f] = Add(Scale(at(k, f, flyStart), 1 - t), Scale(at(n, f, flyStart), t));
        }
      } else {
        pos[f] = at(k, f, flyStart);
      }
      for (int c = 0; c < 3; ++c) {
        const double root = clip.pose[static_cast<size_t>(f) * kPoseFloats + c];
        clip.track[static_cast<size_t>(f) * 3 + c] = static_cast<float>(pos[f][c] - root);
      }
    }
  }
  return clip;
}

void BuildAll(const Table& table, const Skeleton& skel, const std::map<std::string, ClipSource>& sources, Built& out) {
  // Clips in the order their copies need them.
  std::set<std::string> visiting;
  std::function<void(const std::string&)> build = [&](const std::string& name) {
    if (out.clips.count(name)) return;
    const auto it = sources.find(name);
    if (it == sources.end()) throw Error("clip " + name + ": no source");
    if (visiting.count(name)) throw Error(it->second.file + ": copies form a cycle");
    visiting.insert(name);
    for (const PoseCopy& c : it->second.copies) {
      const std::string dep = c.clip[0] == '~' ? c.clip.substr(1) : c.clip;
      if (!sources.count(dep)) {
        throw Error(it->second.file + ":" + std::to_string(c.line) + ": no clip named " + dep);
      }
      build(dep);
    }
    for (const auto& [key, word] : it->second.words) {
      if (key == "from" || key == "into") {
        const std::string dep = word.first.substr(0, word.first.find('@'));
        if (!sources.count(dep)) {
          throw Error(it->second.file + ":" + std::to_string(word.second) + ": no clip named " + dep);
        }
        build(dep);
      }
    }
    int frames = FramesNeeded(table, name);
    if (frames == 0) frames = static_cast<int>(it->second.Param("frames", 2));
    out.clips[name] = BuildClip(it->second, skel, frames, out);
    visiting.erase(name);
  };
  for (const Row& r : table.rows) build(r.clip);
}

}  // namespace animgen
