// The checks every build runs over the generated data. A failure names the
// clip (and row) and the frame.
#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "animgen_internal.h"
#include "engine/anim_pose.h"

namespace animgen {
namespace {

// Failures of one run, all reported together.
thread_local std::vector<std::string>* g_failures = nullptr;

struct Skip {};  // ends the checks of one clip or row after its first failure

[[noreturn]] void Fail(const std::string& clip, int frame, const std::string& what) {
  std::ostringstream s;
  s << "clip " << clip;
  if (frame >= 0) s << " frame " << frame;
  s << ": " << what;
  if (!g_failures) throw Error(s.str());
  g_failures->push_back(s.str());
  throw Skip{};
}

std::string Metres(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f m", v);
  return buf;
}

// The kick choice: pair index by height band and direction sector, near and
// far, for the standard and the long kick; the pairs' animations.
constexpr int kPairs[18][2] = {{131, 130}, {113, 114}, {6, 6},   {157, 156}, {23, 22},   {99, 99},
                               {91, 91},   {98, 98},   {96, 97}, {109, 110}, {95, 95},   {89, 88},
                               {159, 158}, {93, 94},   {112, 112}, {92, 92}, {90, 90},   {182, 183}};
constexpr int kStandardNear[8][4] = {{0, 1, 1, 2}, {3, 1, 1, 4},   {3, 12, 12, 4}, {5, 5, 13, 6},
                                     {6, 13, 13, 6}, {6, 8, 8, 7}, {6, 8, 8, 7},   {16, 8, 8, 7}};
constexpr int kStandardFar[8][4] = {{9, 1, 1, 4}, {9, 1, 1, 4},   {9, 1, 1, 4},   {5, 13, 13, 5},
                                    {5, 13, 13, 5}, {10, 8, 8, 7}, {10, 8, 8, 7}, {10, 8, 8, 7}};
constexpr int kLongNear[8][4] = {{9, 11, 11, 4},  {3, 12, 12, 4},  {3, 12, 12, 12}, {5, 13, 12, 12},
                                 {5, 13, 13, 14}, {15, 8, 8, 14}, {15, 8, 8, 14},  {10, 8, 8, 7}};
constexpr int kLongFar[8][4] = {{11, 11, 4, 4},   {3, 12, 12, 4},   {11, 12, 12, 12}, {5, 13, 14, 14},
                                {5, 13, 14, 14},  {16, 13, 14, 14}, {15, 8, 8, 14},   {10, 8, 8, 7}};
// Running with the ball: the ball is at the dribbler's feet (band 0).
constexpr int kRunning[2][4] = {{17, 17, 1, 2}, {17, 1, 1, 4}};

// The goalkeeper's saves: the animation of each save row for the first and
// the second column (the ball to his right, to his left), and the save
// choice tables that pick a row by height class (24 units each) and speed.
constexpr int kSaveAnims[19][2] = {{38, 39}, {40, 41}, {42, 42}, {44, 44}, {46, 47}, {48, 49}, {50, 50},
                                   {51, 52}, {53, 54}, {55, 56}, {66, 66}, {45, 45}, {43, 43}, {80, 81},
                                   {86, 87}, {82, 83}, {84, 85}, {1, 1},   {78, 79}};
constexpr int kSaveChoice[2][18][14] = {
    {{11, 11, 11, 10, 8, 8, 8, 7, 7, 7, 7, 7, 7, 7}, {11, 11, 11, 10, 8, 8, 8, 7, 7, 7, 7, 7, 7, 7},
     {10, 10, 10, 10, 8, 8, 8, 7, 7, 7, 7, 7, 7, 7}, {10, 10, 10, 10, 8, 8, 8, 7, 7, 7, 7, 7, 7, 7},
     {10, 10, 10, 10, 8, 8, 8, 8, 7, 7, 7, 7, 7, 7}, {10, 10, 10, 10, 8, 8, 8, 8, 7, 7, 7, 7, 7, 7},
     {6, 6, 6, 6, 5, 5, 5, 5, 7, 7, 7, 7, 7, 7},     {6, 6, 6, 6, 5, 5, 5, 5, 7, 7, 7, 7, 7, 7},
     {6, 6, 6, 6, 5, 5, 5, 5, 7, 7, 7, 7, 7, 7},     {6, 6, 6, 6, 5, 5, 5, 5, 5, 7, 7, 7, 7, 7},
     {3, 3, 3, 3, 3, 5, 5, 5, 5, 0, 0, 0, 0, 0},     {3, 3, 3, 3, 3, 5, 5, 5, 5, 0, 0, 0, 0, 0},
     {3, 3, 3, 3, 3, 5, 5, 5, 5, 0, 0, 0, 0, 0},     {3, 3, 3, 3, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0},
     {3, 3, 3, 3, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0},     {3, 3, 12, 12, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},
     {3, 12, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},    {12, 12, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{13, 13, 13, 13, 13, 13, 8, 8, 8, 8, 8, 0, 7, 7}, {13, 13, 13, 13, 13, 13, 8, 8, 8, 8, 8, 7, 7, 7},
     {14, 14, 14, 14, 14, 14, 8, 8, 8, 8, 8, 7, 7, 7}, {14, 14, 14, 14, 14, 14, 8, 8, 8, 8, 7, 7, 7, 7},
     {14, 14, 14, 14, 8, 8, 8, 8, 8, 8, 7, 7, 7, 7},   {15, 15, 14, 14, 8, 8, 8, 8, 8, 8, 7, 7, 7, 7},
     {15, 15, 15, 15, 15, 5, 5, 5, 5, 5, 7, 7, 7, 7},  {15, 15, 15, 15, 15, 15, 5, 5, 5, 5, 7, 7, 7, 7},
     {15, 15, 15, 15, 15, 5, 5, 5, 5, 7, 7, 7, 7, 7},  {15, 15, 15, 15, 5, 5, 5, 5, 5, 7, 7, 7, 7, 7},
     {15, 15, 16, 16, 16, 16, 5, 5, 5, 0, 0, 0, 0, 0}, {15, 15, 16, 16, 16, 16, 5, 5, 5, 0, 0, 0, 0, 0},
     {15, 16, 16, 16, 16, 16, 5, 5, 5, 0, 0, 0, 0, 0}, {15, 16, 16, 16, 16, 16, 1, 1, 1, 0, 0, 0, 0, 0},
     {12, 12, 2, 2, 2, 2, 0, 0, 1, 0, 0, 0, 0, 0},     {12, 12, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},
     {12, 12, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},     {12, 12, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}}};

// Rows whose ball rests on the ground at the feet the whole clip.
const std::set<int> kGroundBall = {3, 4, 5, 105, 107, 129, 136, 137, 152, 161};

// Joints of the left side and their right twins.
int Twin(int s) {
  static const int twin[kSegments] = {0, 1, 2, 6, 7, 8, 3, 4, 5, 9, 10, 14, 15, 16, 11, 12, 13};
  return twin[s];
}

struct Joints {
  double p[kSegments][3];
};

Joints JointsOf(const float* pose, bool mirror) {
  QMathMatrix m[kSegments];
  animpose_SegmentMatrices(pose, mirror ? 1 : 0, 0, m);
  Joints j;
  for (int s = 0; s < kSegments; ++s) {
    for (int c = 0; c < 3; ++c) j.p[s][c] = m[s].m[12 + c];
  }
  return j;
}

}  // namespace

std::vector<int> KickBands(int id) {
  std::set<int> bands;
  auto scan = [&](const int (&t)[8][4]) {
    for (int b = 0; b < 8; ++b) {
      for (int s = 0; s < 4; ++s) {
        if (kPairs[t[b][s]][0] == id || kPairs[t[b][s]][1] == id) bands.insert(b);
      }
    }
  };
  scan(kStandardNear);
  scan(kStandardFar);
  scan(kLongNear);
  scan(kLongFar);
  for (const auto& col : kRunning) {
    for (int p : col) {
      if (kPairs[p][0] == id || kPairs[p][1] == id) bands.insert(0);
    }
  }
  return {bands.begin(), bands.end()};
}

SaveUse SaveUseOf(int id) {
  SaveUse u;
  for (int row = 0; row < 19; ++row) {
    for (int col = 0; col < 2; ++col) {
      if (kSaveAnims[row][col] != id) continue;
      u.columns |= 1 << col;
      for (const auto& t : kSaveChoice) {
        for (int h = 0; h < 18; ++h) {
          for (int sp = 0; sp < 14; ++sp) {
            if (t[h][sp] != row) continue;
            u.lo = u.lo < 0 ? h : std::min(u.lo, h);
            u.hi = std::max(u.hi, h);
          }
        }
      }
    }
  }
  return u;
}

namespace {
void CheckRows(const Table& table, const Skeleton& skel, const Built& built, const Row& r);
void CheckClip(const Skeleton& skel, const std::string& name, const Clip& c);
void CheckSeam(const Table& table, const Skeleton& skel, const Built& built, const Seam& sm);
}  // namespace

void CheckAll(const Table& table, const Skeleton& skel, const Built& built) {
  std::vector<std::string> failures;
  g_failures = &failures;
  for (const Row& r : table.rows) {
    try {
      CheckRows(table, skel, built, r);
    } catch (const Skip&) {
    }
  }
  for (const auto& [name, c] : built.clips) {
    try {
      CheckClip(skel, name, c);
    } catch (const Skip&) {
    }
  }
  for (const Seam& sm : table.seams) {
    try {
      CheckSeam(table, skel, built, sm);
    } catch (const Skip&) {
    }
  }
  g_failures = nullptr;
  if (!failures.empty()) {
    std::string all;
    for (const std::string& f : failures) all += (all.empty() ? "" : "\n") + f;
    throw Error(all);
  }
}

namespace {

void CheckRows(const Table& table, const Skeleton& skel, const Built& built, const Row& r) {
  {
    const Clip& c = built.clips.at(r.clip);
    const std::string name = r.clip + " (id " + std::to_string(r.id) + ")";
    if (c.frames < std::max(r.start, r.end) + 1) Fail(name, -1, "too few frames for the row's range");
    if (r.contact >= 0 && r.contact >= std::max(r.start, r.end)) Fail(name, r.contact, "contact frame not before the end");
    if (r.followId != 1) {
      const Row* to = table.Find(r.followId);
      if (!to) Fail(name, -1, "follow-on id without a row");
      if (r.followFrame >= built.clips.at(to->clip).frames) Fail(name, -1, "follow-on frame past its clip");
    }
    if (r.track != c.hasTrack) Fail(name, -1, r.track ? "the row needs a ball track" : "the clip has a ball track the row has not");
    if (r.step == 5 || r.hook == 6) {
      // The movement state moves the player itself while these play; the
      // held frame's root, which he is put on at the end, must not add to it.
      for (int f = 0; f < c.frames; ++f) {
        const float* pose = &c.pose[static_cast<size_t>(f) * kPoseFloats];
        if (std::hypot(pose[0], pose[2]) > 0.02) {
          Fail(name, f, "root travels " + Metres(std::hypot(pose[0], pose[2])) + " while the movement state moves the player");
        }
      }
    }
    if (r.step == 1) {
      // Loops close: the frame after the last shown equals the first.
      const Joints a = JointsOf(&c.pose[static_cast<size_t>(r.end) * kPoseFloats], false);
      const Joints b = JointsOf(&c.pose[static_cast<size_t>(r.start) * kPoseFloats], false);
      for (int s = 0; s < kSegments; ++s) {
        for (int k = 0; k < 3; ++k) {
          if (std::fabs(a.p[s][k] - b.p[s][k]) > 0.02) Fail(name, r.end, "loop does not close at segment " + std::to_string(s));
        }
      }
    }
    if (r.contact >= 0 && r.track) {
      if (c.contactPoint.empty()) Fail(name, r.contact, "the row has a contact frame but the clip no contact point");
      if (c.contactFrame != r.contact) {
        Fail(name, r.contact, "the clip meets the ball at frame " + std::to_string(c.contactFrame));
      }
      if (!c.hasTrack) Fail(name, r.contact, "a contact needs a ball track");
      const float* pose = &c.pose[static_cast<size_t>(r.contact) * kPoseFloats];
      const auto at = PointInPose(skel, pose, c.contactPoint, false);
      double d2 = 0;
      for (int k = 0; k < 3; ++k) {
        const double d = pose[k] + c.track[r.contact * 3 + k] - at[k];
        d2 += d * d;
      }
      if (std::sqrt(d2) > 0.06) {
        Fail(name, r.contact, "ball " + Metres(std::sqrt(d2)) + " from " + c.contactPoint + " at contact");
      }
      const std::vector<int> bands = KickBands(r.id);
      if (!bands.empty() || r.type == kKick) {
        const int h = static_cast<int>(pose[1] * kUnits) + static_cast<int>(c.track[r.contact * 3 + 1] * kUnits) - 18;
        const int band = std::max(h, 0) / 48;
        const std::vector<int> allowed = bands.empty() ? std::vector<int>{0} : bands;
        if (std::find(allowed.begin(), allowed.end(), band) == allowed.end()) {
          Fail(name, r.contact, "ball at height band " + std::to_string(band) + ", outside the bands this kick is chosen for");
        }
      }
    }
    const SaveUse save = SaveUseOf(r.id);
    if (save.lo >= 0 && r.track) {
      // A save meets the ball at its contact frame (the frame it holds at
      // its end when it has none): there the ball must be at a height the
      // save is chosen for (within two classes) and on the side of its column.
      const int meet = r.contact >= 0 ? r.contact : std::max(r.start, r.end) - 1;
      const float* pose = &c.pose[static_cast<size_t>(meet) * kPoseFloats];
      const int h = static_cast<int>((pose[1] + c.track[meet * 3 + 1]) * kUnits);
      const int lo = save.lo * 24 - 30 - 48, hi = save.hi * 24 - 7 + 48;
      if (h < lo || h > hi) {
        Fail(name, meet, "ball " + std::to_string(h) + " units up, outside the heights this save is chosen for (" +
                             std::to_string(lo) + ".." + std::to_string(hi) + ")");
      }
      double z = (pose[2] + c.track[meet * 3 + 2]) * kUnits;
      if (r.mirror) z = -z;
      if ((save.columns == 1 && z > 24) || (save.columns == 2 && z < -24)) {
        Fail(name, meet, "ball on the wrong side for the save's column");
      }
    }
    if (kGroundBall.count(r.id)) {
      for (int f = 0; f < c.frames; ++f) {
        const float* pose = &c.pose[static_cast<size_t>(f) * kPoseFloats];
        const int h = static_cast<int>(pose[1] * kUnits) + static_cast<int>(c.track[f * 3 + 1] * kUnits);
        if (h < 17 || h > 19) Fail(name, f, "ball at the feet " + std::to_string(h) + " units up, not 18");
      }
    }
  }
}

void CheckClip(const Skeleton& skel, const std::string& name, const Clip& c) {
  {
    Joints prev{};
    for (int f = 0; f < c.frames; ++f) {
      const float* pose = &c.pose[static_cast<size_t>(f) * kPoseFloats];
      for (int k = 0; k < kPoseFloats; ++k) {
        if (!std::isfinite(pose[k])) Fail(name, f, "value not finite");
      }
      for (int s = 0; s < kSegments; ++s) {
        const float* q = pose + s * 7 + 3;
        const double n = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2] + double(q[3]) * q[3]);
        if (std::fabs(n - 1.0) > 1e-5) Fail(name, f, "segment " + std::to_string(s) + " quaternion not of unit length");
        if (s > 0) {
          const double turn = 2 * Deg(std::acos(std::min(1.0, std::fabs(static_cast<double>(q[3])))));
          if (turn > skel.seg[s].maxTurn + 0.5) {
            Fail(name, f, skel.seg[s].name + " turned " + std::to_string(static_cast<int>(turn)) + " degrees, past its limit");
          }
        }
      }
      QMathMatrix m[kSegments];
      animpose_SegmentMatrices(pose, 0, 0, m);
      const Joints j = JointsOf(pose, false);
      for (int s = 0; s < kSegments; ++s) {
        // Inside the drawing's box, in the root segment's space.
        double d[3], local[3];
        for (int k = 0; k < 3; ++k) d[k] = j.p[s][k] - m[0].m[12 + k];
        for (int k = 0; k < 3; ++k) local[k] = d[0] * m[0].m[k * 4] + d[1] * m[0].m[k * 4 + 1] + d[2] * m[0].m[k * 4 + 2];
        const double lo[3] = {-1.5, -1.25, -1.5}, hi[3] = {1.5, 1.5, 1.5};
        for (int k = 0; k < 3; ++k) {
          if (local[k] < lo[k] || local[k] > hi[k]) Fail(name, f, skel.seg[s].name + " outside the body's box");
        }
        if (j.p[s][1] < -0.01) Fail(name, f, skel.seg[s].name + " under the ground");
      }
      for (const char* pt : {"tip_l", "tip_r", "back_l", "back_r"}) {
        const auto p = PointInPose(skel, pose, pt, false);
        if (p[1] < -0.02) Fail(name, f, std::string("foot in the ground (") + pt + " " + Metres(p[1]) + ")");
      }
      if (f > 0) {
        for (int s = 0; s < kSegments; ++s) {
          const double step = std::hypot(j.p[s][0] - prev.p[s][0], j.p[s][1] - prev.p[s][1], j.p[s][2] - prev.p[s][2]);
          if (step > 1.0) Fail(name, f, skel.seg[s].name + " jumps " + Metres(step) + " in one frame");
        }
        // A planted foot stays where it is on the ground (which passes under
        // the player at his speed).
        if (!c.skid) {
          const double v = c.speed / kUnits;
          const double gx = -v * std::cos(Rad(c.dir)), gz = v * std::sin(Rad(c.dir));
          for (int s : {13, 16}) {
            if (j.p[s][1] < 0.086 && prev.p[s][1] < 0.086) {
              const double slide = std::hypot(j.p[s][0] - prev.p[s][0] - gx, j.p[s][2] - prev.p[s][2] - gz);
              if (slide > 0.02) Fail(name, f, skel.seg[s].name + " slides " + Metres(slide) + " on the ground");
            }
          }
        }
      }
      prev = j;
    }
    if (std::fabs(c.pose[0]) > 1e-6 || std::fabs(c.pose[2]) > 1e-6) Fail(name, 0, "root not at the origin");
  }
}

// Named seams: the pose shown last equals the next clip's first (with the
// player moved to the root; mirrored rows compare side for side).
void CheckSeam(const Table& table, const Skeleton& skel, const Built& built, const Seam& sm) {
  {
    const Row* a = table.Find(sm.fromId);
    const Row* b = table.Find(sm.toId);
    const Clip& ca = built.clips.at(a->clip);
    const Clip& cb = built.clips.at(b->clip);
    const std::string name = a->clip + " (id " + std::to_string(a->id) + ") into " + b->clip + " (id " +
                             std::to_string(b->id) + ")";
    if (sm.fromFrame >= ca.frames || sm.toFrame >= cb.frames) Fail(name, -1, "seam frame past the clip");
    const Joints ja = JointsOf(&ca.pose[static_cast<size_t>(sm.fromFrame) * kPoseFloats], a->mirror);
    const Joints jb = JointsOf(&cb.pose[static_cast<size_t>(sm.toFrame) * kPoseFloats], b->mirror);
    // A mirrored body shows its left limbs where the other's right ones are.
    const bool swap = a->mirror != b->mirror;
    for (int s = 0; s < kSegments; ++s) {
      const int t = swap ? Twin(s) : s;
      for (int k = 0; k < 3; ++k) {
        const double va = ja.p[s][k] - (k != 1 ? ja.p[0][k] : 0);
        const double vb = jb.p[t][k] - (k != 1 ? jb.p[0][k] : 0);
        if (std::fabs(va - vb) > 0.04) {
          Fail(name, sm.fromFrame, "seam breaks at " + skel.seg[s].name + " by " + Metres(std::fabs(va - vb)));
        }
      }
    }
  }
}

}  // namespace

}  // namespace animgen
