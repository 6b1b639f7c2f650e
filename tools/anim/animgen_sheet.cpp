// The review sheet: every clip as two strips of stick figures, seen from the
// side (forward to the right) and from behind (the player's right to the
// right), with the ball. The camera follows the root; a tick on the ground
// marks where the player's origin is. The contact frame's cell is yellow.
#include <algorithm>
#include <cmath>

#include "animgen_internal.h"
#include "engine/anim_pose.h"

namespace animgen {
namespace {

constexpr int kCellW = 72, kCellH = 120, kMargin = 44, kCells = 16;
constexpr double kScale = 44.0;  // pixels a metre

struct Canvas {
  int w, h;
  std::vector<std::uint8_t> px;  // BGR, top row first
  int clipX0 = 0, clipY0 = 0, clipX1 = 1 << 30, clipY1 = 1 << 30;
  void Set(int x, int y, std::array<std::uint8_t, 3> c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    if (x < clipX0 || y < clipY0 || x >= clipX1 || y >= clipY1) return;
    std::uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 3];
    p[0] = c[2];
    p[1] = c[1];
    p[2] = c[0];
  }
  void Line(double x0, double y0, double x1, double y1, std::array<std::uint8_t, 3> c) {
    const int n = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= n; ++i) {
      const double t = static_cast<double>(i) / n;
      Set(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)), c);
    }
  }
  void Disc(double cx, double cy, double r, std::array<std::uint8_t, 3> c) {
    for (int y = static_cast<int>(cy - r) - 1; y <= cy + r + 1; ++y) {
      for (int x = static_cast<int>(cx - r) - 1; x <= cx + r + 1; ++x) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) Set(x, y, c);
      }
    }
  }
  void Fill(int x0, int y0, int w0, int h0, std::array<std::uint8_t, 3> c) {
    for (int y = y0; y < y0 + h0; ++y) {
      for (int x = x0; x < x0 + w0; ++x) Set(x, y, c);
    }
  }
  // 3 x 5 digits, doubled.
  void Number(int x, int y, int v, std::array<std::uint8_t, 3> c) {
    static const char* const glyphs[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                           "101101111001001", "111100111001111", "111100111101111", "111001001001001",
                                           "111101111101111", "111101111001111"};
    const std::string s = std::to_string(v);
    for (size_t i = 0; i < s.size(); ++i) {
      const char* g = glyphs[s[i] - '0'];
      for (int k = 0; k < 15; ++k) {
        if (g[k] == '1') Fill(x + static_cast<int>(i) * 8 + (k % 3) * 2, y + (k / 3) * 2, 2, 2, c);
      }
    }
  }
};

}  // namespace

std::vector<std::uint8_t> Sheet(const Table& table, const Skeleton& skel, const Built& built) {
  // Clips in table order, each once, labelled with the first id using it.
  std::vector<std::pair<int, std::string>> order;
  for (const Row& r : table.rows) {
    bool seen = false;
    for (const auto& o : order) seen = seen || o.second == r.clip;
    if (!seen) order.push_back({r.id, r.clip});
  }
  Canvas cv{kMargin + kCells * kCellW, static_cast<int>(order.size()) * kCellH * 2, {}};
  cv.px.assign(static_cast<size_t>(cv.w) * cv.h * 3, 0);
  cv.Fill(0, 0, cv.w, cv.h, {235, 235, 235});
  const std::array<std::uint8_t, 3> black = {20, 20, 20}, blue = {30, 60, 220}, red = {210, 30, 30},
                                    green = {20, 160, 40}, grey = {150, 150, 150};
  for (size_t ci = 0; ci < order.size(); ++ci) {
    const Clip& c = built.clips.at(order[ci].second);
    const Row* row = table.Find(order[ci].first);
    const int contact = row->contact;
    std::vector<int> frames;
    const int step = (c.frames + kCells - 1) / kCells;
    for (int f = 0; f < c.frames; f += step) frames.push_back(f);
    if (contact >= 0 && std::find(frames.begin(), frames.end(), contact) == frames.end()) {
      frames.push_back(contact);
      std::sort(frames.begin(), frames.end());
      if (static_cast<int>(frames.size()) > kCells) {
        frames.erase(std::find(frames.begin(), frames.end(), contact) + 1 == frames.end()
                         ? std::find(frames.begin(), frames.end(), contact) - 1
                         : std::find(frames.begin(), frames.end(), contact) + 1);
      }
    }
    for (int view = 0; view < 2; ++view) {
      const int top = static_cast<int>(ci) * kCellH * 2 + view * kCellH;
      cv.clipX0 = cv.clipY0 = 0;
      cv.clipX1 = cv.clipY1 = 1 << 30;
      cv.Fill(0, top, cv.w, 1, grey);
      if (view == 0) cv.Number(4, top + 6, order[ci].first, black);
      for (size_t k = 0; k < frames.size(); ++k) {
        const int f = frames[k];
        const int left = kMargin + static_cast<int>(k) * kCellW;
        cv.clipX0 = left;
        cv.clipY0 = top;
        cv.clipX1 = left + kCellW;
        cv.clipY1 = top + kCellH;
        if (f == contact) cv.Fill(left, top + 1, kCellW, kCellH - 1, {250, 240, 170});
        cv.Fill(left, top + 1, 1, kCellH - 1, {210, 210, 210});
        const float* pose = &c.pose[static_cast<size_t>(f) * kPoseFloats];
        QMathMatrix m[kSegments];
        animpose_SegmentMatrices(pose, 0, 0, m);
        const int axis = view == 0 ? 0 : 2;
        const double cx = left + kCellW / 2.0 - m[0].m[12 + axis] * 0 , groundY = top + kCellH - 8;
        const double follow = m[0].m[12 + axis];
        auto sx = [&](double v) { return cx + (v - follow) * kScale * (view == 0 ? 1 : 1); };
        auto sy = [&](double v) { return groundY - v * kScale; };
        cv.Line(left + 2, groundY, left + kCellW - 2, groundY, grey);
        cv.Line(sx(0), groundY, sx(0), groundY + 4, black);
        for (int s = 0; s < kSegments; ++s) {
          const bool leftSide = (s >= 3 && s <= 5) || (s >= 11 && s <= 13);
          const bool rightSide = (s >= 6 && s <= 8) || (s >= 14 && s <= 16);
          const auto col = leftSide ? blue : rightSide ? red : black;
          const int parent = skel.seg[s].parent;
          if (parent >= 0) {
            cv.Line(sx(m[parent].m[12 + axis]), sy(m[parent].m[13]), sx(m[s].m[12 + axis]), sy(m[s].m[13]), col);
          }
          // Leaves draw their own bone.
          const bool leaf = s == 5 || s == 8 || s == 10 || s == 13 || s == 16;
          if (leaf) {
            const double* b = skel.seg[s].bone;
            const double e[3] = {b[0] * m[s].m[0] + b[1] * m[s].m[4] + b[2] * m[s].m[8] + m[s].m[12],
                                 b[0] * m[s].m[1] + b[1] * m[s].m[5] + b[2] * m[s].m[9] + m[s].m[13],
                                 b[0] * m[s].m[2] + b[1] * m[s].m[6] + b[2] * m[s].m[10] + m[s].m[14]};
            cv.Line(sx(m[s].m[12 + axis]), sy(m[s].m[13]), sx(e[axis]), sy(e[1]), col);
            if (s == 10) {
              const double hx = (m[s].m[12 + axis] + e[axis]) / 2, hy = (m[s].m[13] + e[1]) / 2;
              cv.Disc(sx(hx), sy(hy), 3.5, col);
              // The nose shows which way the face looks.
              const auto nose = PointInPose(skel, pose, "head", false);
              cv.Line(sx(hx), sy(hy), sx(hx + (nose[axis] - hx) * 0.8), sy(hy + (nose[1] - hy) * 0.8), {200, 120, 0});
            }
            if (s == 13 || s == 16) {
              const auto toe = PointInPose(skel, pose, s == 13 ? "toe_l" : "toe_r", false);
              cv.Line(sx(e[axis]), sy(e[1]), sx(toe[axis] * 0.4 + e[axis] * 0.6), sy(toe[1] * 0.4 + e[1] * 0.6), col);
            }
          }
        }
        if (c.hasTrack) {
          const double bx = pose[axis] + c.track[f * 3 + axis], by = pose[1] + c.track[f * 3 + 1];
          cv.Disc(sx(bx), sy(by), kBallRadius * kScale, green);
        }
      }
    }
  }
  std::vector<std::uint8_t> tga(18 + cv.px.size(), 0);
  tga[2] = 2;
  tga[12] = static_cast<std::uint8_t>(cv.w & 255);
  tga[13] = static_cast<std::uint8_t>(cv.w >> 8);
  tga[14] = static_cast<std::uint8_t>(cv.h & 255);
  tga[15] = static_cast<std::uint8_t>(cv.h >> 8);
  tga[16] = 24;
  tga[17] = 0x20;  // top row first
  std::copy(cv.px.begin(), cv.px.end(), tga.begin() + 18);
  return tga;
}

}  // namespace animgen
