// The checks every build runs over the generated data. A failure names the
// clip (and row) and the frame.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "animgen_internal.h"
#include "engine/anim_pose.h"

namespace animgen {
namespace {

[[noreturn]] void Fail(const std::string& clip, int frame, const std::string& what) {
  std::ostringstream s;
  s << "clip " << clip;
  if (frame >= 0) s << " frame " << frame;
  s << ": " << what;
  throw Error(s.str());
}

}  // namespace

void CheckAll(const Table& table, const Skeleton& skel, const Built& built) {
  for (const Row& r : table.rows) {
    const Clip& c = built.clips.at(r.clip);
    const std::string name = r.clip + " (id " + std::to_string(r.id) + ")";
    if (c.frames < std::max(r.start, r.end) + 1) Fail(name, -1, "too few frames for the row's range");
    if (r.contact >= c.frames) Fail(name, -1, "too few frames for the contact frame");
    if (r.followId != 1) {
      const Row* to = table.Find(r.followId);
      if (!to) Fail(name, -1, "follow-on id without a row");
      if (r.followFrame >= built.clips.at(to->clip).frames) Fail(name, -1, "follow-on frame past its clip");
    }
    if (r.track != c.hasTrack) Fail(name, -1, r.track ? "the row needs a ball track" : "the row has no ball track");
  }
  for (const auto& [name, c] : built.clips) {
    for (int f = 0; f < c.frames; ++f) {
      const float* pose = &c.pose[static_cast<size_t>(f) * kPoseFloats];
      for (int k = 0; k < kPoseFloats; ++k) {
        if (!std::isfinite(pose[k])) Fail(name, f, "value not finite");
      }
      for (int s = 0; s < kSegments; ++s) {
        const float* q = pose + s * 7 + 3;
        const double n = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2] + double(q[3]) * q[3]);
        if (std::fabs(n - 1.0) > 1e-5) Fail(name, f, "segment " + std::to_string(s) + " quaternion not of unit length");
      }
    }
    if (std::fabs(c.pose[0]) > 1e-6 || std::fabs(c.pose[2]) > 1e-6) Fail(name, 0, "root not at the origin");
  }
}

}  // namespace animgen
