#include "playergeom.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace playergeom {

namespace {

// Body parts of the faces (the texture list's entries).
enum Part : uint32_t {
  kShirtFront = 0, kShirtBack = 1, kSleeveRight = 2, kSleeveLeft = 3, kShirtTop = 4, kShortsFront = 5,
  kShortsBack = 6, kHand = 7, kSocks = 8, kFace = 9, kFaceSide = 10, kHeadBack = 11, kHeadTop = 12, kArm = 13,
  kLegBack = 14, kLegFront = 15, kBoots = 16, kNumber = 17, kNumber2 = 18,
};

// A ring of vertices around the bone at distance t (metres) from the
// segment's origin, with its two radii and what it is dressed in. A part of
// kShirtFront or kShortsFront or kLegFront means "front or back by the
// face's side"; kFace means the head's four parts by side.
struct Ring {
  float t, r1, r2;
  uint32_t uPart;
  bool bOptional;  // left out below level 2
};

struct Tube {
  float afStart[3];  // the point of t = 0, segment space
  float afAxis[3];   // unit
  float afE1[3];     // the first radius's direction (front/back)
  float afE2[3];
  std::vector<Ring> aRings;
  bool bCapStart = false, bCapEnd = false;
  bool bHalfFirst = false;  // the first ring turns half with the joint
};

const float kX[3] = {1, 0, 0}, kY[3] = {0, 1, 0}, kZ[3] = {0, 0, 1};
const float kNegX[3] = {-1, 0, 0}, kNegZ[3] = {0, 0, -1};

Tube Along(const float* start, const float* axis, const float* e1, const float* e2) {
  Tube t;
  std::memcpy(t.afStart, start, sizeof t.afStart);
  std::memcpy(t.afAxis, axis, sizeof t.afAxis);
  std::memcpy(t.afE1, e1, sizeof t.afE1);
  std::memcpy(t.afE2, e2, sizeof t.afE2);
  return t;
}

// The shape of each segment for a model code.
Tube SegmentTube(int s, const std::string& code) {
  const float zero[3] = {0, 0, 0};
  const bool longShorts = code.size() >= 6 && code.compare(4, 2, "LS") == 0;
  const bool tightShorts = code.size() >= 6 && code.compare(4, 2, "TS") == 0;
  const float hem = longShorts ? 0.22f : tightShorts ? 0.08f : 0.15f;
  const std::string hair = code.size() >= 4 ? code.substr(2, 2) : "SH";
  const float fuller = hair == "AH" ? 1.05f : hair == "LH" ? 1.08f : 1.0f;
  Tube t;
  switch (s) {
    case 0:  // hips: shorts, then the tucked shirt up to the waist
      t = Along(zero, kNegZ, kX, kY);
      t.aRings = {{-0.07f, 0.10f, 0.15f, kShortsFront, false}, {0.10f, 0.105f, 0.15f, kShortsFront, false},
                  {0.10f, 0.105f, 0.15f, kShirtFront, false}, {0.188f, 0.105f, 0.155f, kShirtFront, false}};
      t.bCapStart = true;
      break;
    case 1:  // belly
      t = Along(zero, kNegZ, kX, kY);
      t.aRings = {{0.0f, 0.105f, 0.155f, kShirtFront, false}, {0.187f, 0.115f, 0.17f, kShirtFront, false}};
      t.bHalfFirst = true;
      break;
    case 2:  // chest up to the shoulders
      t = Along(zero, kNegZ, kX, kY);
      t.aRings = {{0.0f, 0.115f, 0.17f, kShirtFront, false}, {0.11f, 0.11f, 0.195f, kShirtFront, true},
                  {0.157f, 0.08f, 0.13f, kShirtTop, false}};
      t.bCapEnd = true;
      break;
    case 3:
    case 6: {  // shoulders
      const float y = s == 3 ? 1.0f : -1.0f;
      const float axis[3] = {0, y, 0};
      t = Along(zero, axis, kX, kZ);
      t.aRings = {{0.06f, 0.06f, 0.06f, kShirtTop, false}, {0.19f, 0.06f, 0.06f, kShirtTop, false}};
      t.bCapEnd = true;
      break;
    }
    case 4:
    case 7: {  // upper arms: sleeve, then bare arm
      const uint32_t sleeve = s == 4 ? kSleeveLeft : kSleeveRight;
      t = Along(zero, kZ, kX, kY);
      t.aRings = {{-0.02f, 0.055f, 0.055f, sleeve, false}, {0.15f, 0.052f, 0.052f, sleeve, false},
                  {0.15f, 0.047f, 0.047f, kArm, false}, {0.30f, 0.04f, 0.04f, kArm, false}};
      break;
    }
    case 5:
    case 8:  // forearms and hands
      t = Along(zero, kZ, kX, kY);
      t.aRings = {{0.0f, 0.04f, 0.04f, kArm, false}, {0.25f, 0.032f, 0.032f, kArm, false},
                  {0.25f, 0.032f, 0.032f, kHand, false}, {0.30f, 0.025f, 0.04f, kHand, true},
                  {0.34f, 0.02f, 0.03f, kHand, false}};
      t.bCapEnd = true;
      break;
    case 9: {  // neck
      t = Along(zero, kNegZ, kX, kY);
      t.aRings = {{-0.01f, 0.05f, 0.05f, kFaceSide, false}, {0.12f, 0.045f, 0.045f, kFaceSide, false}};
      break;
    }
    case 10: {  // head: face in front, hair behind and on top
      const float start[3] = {-0.01f, 0, 0};
      t = Along(start, kNegZ, kX, kY);
      t.aRings = {{-0.07f, 0.05f, 0.05f, kFace, false},
                  {-0.03f, 0.09f, 0.075f, kFace, false},
                  {0.06f, 0.105f * fuller, 0.085f * fuller, kFace, true},
                  {0.12f, 0.085f * fuller, 0.07f * fuller, kHeadTop, false}};
      t.bCapStart = true;
      t.bCapEnd = true;
      break;
    }
    case 11:
    case 14:  // thighs: shorts to the hem, then the bare leg
      t = Along(zero, kZ, kX, kY);
      t.aRings = {{0.0f, 0.09f, 0.09f, kShortsFront, false}, {hem, 0.08f, 0.08f, kShortsFront, false},
                  {hem, 0.075f, 0.075f, kLegFront, false}, {0.48f, 0.055f, 0.055f, kLegFront, false}};
      t.bHalfFirst = true;
      break;
    case 12:
    case 15:  // shins: knee, then the sock to the ankle
      t = Along(zero, kZ, kX, kY);
      t.aRings = {{0.0f, 0.055f, 0.055f, kLegFront, false}, {0.08f, 0.058f, 0.058f, kLegFront, false},
                  {0.08f, 0.058f, 0.058f, kSocks, false}, {0.24f, 0.055f, 0.055f, kSocks, true},
                  {0.42f, 0.04f, 0.04f, kSocks, false}};
      break;
    default: {  // feet: a boot from the heel to the toe along -x
      const float start[3] = {0.07f, 0, 0.035f};
      t = Along(start, kNegX, kZ, kY);
      t.aRings = {{0.0f, 0.045f, 0.04f, kBoots, false}, {0.12f, 0.05f, 0.05f, kBoots, true},
                  {0.27f, 0.03f, 0.04f, kBoots, false}};
      t.bCapStart = true;
      t.bCapEnd = true;
      break;
    }
  }
  return t;
}

// The part of a face or vertex from its ring's part and the direction d of
// its side (segment space: x toward the back, y toward the left, z down).
uint32_t SidePart(uint32_t part, const float* d, int seg) {
  const bool back = d[0] > 0.0f;
  switch (part) {
    case kShirtFront: return back ? kShirtBack : kShirtFront;
    case kShortsFront: return back ? kShortsBack : kShortsFront;
    case kLegFront: return back ? kLegBack : kLegFront;
    case kFace:
      if (seg != 10) return kFace;
      if (d[0] < -0.5f) return kFace;
      if (d[0] > 0.3f) return kHeadBack;
      return kFaceSide;
    default: return part;
  }
}

void Sub(const float* a, const float* b, float* o) {
  for (int k = 0; k < 3; ++k) o[k] = a[k] - b[k];
}
void Cross(const float* a, const float* b, float* o) {
  o[0] = a[1] * b[2] - a[2] * b[1];
  o[1] = a[2] * b[0] - a[0] * b[2];
  o[2] = a[0] * b[1] - a[1] * b[0];
}
float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Normal of a face against the outward direction from an interior point.
float Outwardness(const float* p0, const float* p1, const float* p2, const float* inside) {
  float a[3], b[3], n[3], c[3];
  Sub(p1, p0, a);
  Sub(p2, p0, b);
  Cross(a, b, n);
  for (int k = 0; k < 3; ++k) c[k] = (p0[k] + p1[k] + p2[k]) / 3.0f - inside[k];
  return Dot(n, c);
}

const int kSides[5] = {8, 6, 5, 4, 3};

}  // namespace

bool SkeletonParse(const std::string& text, Skeleton& out, std::string& err) {
  std::istringstream in(text);
  std::string line;
  bool seen[kSegments] = {};
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.empty() || line[0] == '#' || line.compare(0, 5, "point") == 0) continue;
    std::istringstream ls(line);
    int seg = -1, parent = 0, push = 0, pop = 0;
    std::string name;
    float v[6], turn = 0;
    if (!(ls >> seg >> name >> parent >> push >> pop >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] >> turn) ||
        seg < 0 || seg >= kSegments || parent >= seg || (seg > 0 && parent < 0)) {
      err = "skeleton.txt line " + std::to_string(lineNo) + ": not a segment line";
      return false;
    }
    Segment& s = out.aSeg[seg];
    s.iParent = parent;
    s.bPush = push;
    s.bPop = pop;
    for (int k = 0; k < 3; ++k) {
      s.afOrigin[k] = v[k];
      s.afBone[k] = v[3 + k];
    }
    seen[seg] = true;
  }
  for (int s = 0; s < kSegments; ++s)
    if (!seen[s]) {
      err = "skeleton.txt: segment " + std::to_string(s) + " is missing";
      return false;
    }
  return true;
}

std::vector<std::string> ModelCodes() {
  std::vector<std::string> out;
  for (const char* sl : {"SS", "LS"})
    for (const char* h : {"SH", "AH", "LH"})
      for (const char* sh : {"LS", "MS", "TS"}) out.push_back(std::string(sl) + h + sh);
  return out;
}

Body BodyBuild(const Skeleton& skel, int level, const std::string& codeIn) {
  // The lower levels read only the hair; the farthest none.
  std::string code = codeIn;
  if (level == 3) code = "SS" + codeIn.substr(2, 2) + "MS";
  if (level >= 4) code = "SSSHMS";
  const int sides = kSides[level < 0 ? 0 : level > 4 ? 4 : level];
  Body body;
  for (int s = 0; s < kSegments; ++s) {
    Tube tube = SegmentTube(s, code);
    std::vector<Ring> rings;
    for (size_t i = 0; i < tube.aRings.size(); ++i)
      if (!(tube.aRings[i].bOptional && level > 2) || i == 0 || i + 1 == tube.aRings.size())
        rings.push_back(tube.aRings[i]);
    const uint32_t first = static_cast<uint32_t>(body.afVertices.size() / 3);
    // Vertices: ring by ring; the first ring of a half-turn segment is held
    // in the parent's frame around the parent's origin (the segment's origin
    // added), as the half turn places it.
    const float t0 = rings.front().t, t1 = rings.back().t;
    std::vector<uint32_t> ringStart;
    float inside[3] = {0, 0, 0};
    for (size_t r = 0; r < rings.size(); ++r) {
      ringStart.push_back(static_cast<uint32_t>(body.afVertices.size() / 3));
      const Ring& g = rings[r];
      for (int j = 0; j < sides; ++j) {
        const float a = 6.2831853f * (static_cast<float>(j) + 0.5f) / static_cast<float>(sides);
        const float c = std::cos(a), sn = std::sin(a);
        for (int k = 0; k < 3; ++k) {
          float v = tube.afStart[k] + tube.afAxis[k] * g.t + tube.afE1[k] * g.r1 * c + tube.afE2[k] * g.r2 * sn;
          if (r == 0 && tube.bHalfFirst) v += skel.aSeg[s].afOrigin[k];
          body.afVertices.push_back(v);
        }
      }
    }
    // Cap centres.
    uint32_t capStart = 0, capEnd = 0;
    auto centre = [&](float t) {
      const uint32_t idx = static_cast<uint32_t>(body.afVertices.size() / 3);
      for (int k = 0; k < 3; ++k) body.afVertices.push_back(tube.afStart[k] + tube.afAxis[k] * t);
      return idx;
    };
    if (tube.bCapStart) capStart = centre(t0 - 0.015f);
    if (tube.bCapEnd) capEnd = centre(t1 + 0.015f);
    // The shirt number: a patch of its own just off the back of the chest
    // (x toward the back, y toward the left, z down), read from behind; the
    // second number (1994 and 1998 shirts), smaller, just off its front.
    uint32_t number = 0;
    const bool numbered = s == 2 && level <= 2;
    if (numbered) {
      number = static_cast<uint32_t>(body.afVertices.size() / 3);
      const float corners[8][3] = {{0.128f, 0.065f, -0.12f},    {0.128f, -0.065f, -0.12f},
                                   {0.128f, -0.065f, 0.0f},     {0.128f, 0.065f, 0.0f},
                                   {-0.118f, -0.035f, -0.125f}, {-0.118f, 0.035f, -0.125f},
                                   {-0.118f, 0.035f, -0.055f},  {-0.118f, -0.035f, -0.055f}};
      for (const auto& c : corners) body.afVertices.insert(body.afVertices.end(), c, c + 3);
    }
    const uint32_t end = static_cast<uint32_t>(body.afVertices.size() / 3);
    for (uint32_t i = first; i < end; ++i)
      for (int k = 0; k < 3; ++k) inside[k] += body.afVertices[3 * i + k] / static_cast<float>(end - first);
    const uint32_t halfCount = tube.bHalfFirst ? static_cast<uint32_t>(sides) : 0;
    body.aauEntry[s][0] = static_cast<uint8_t>(skel.aSeg[s].bPush);
    body.aauEntry[s][1] = static_cast<uint8_t>(skel.aSeg[s].bPop);
    body.aauEntry[s][2] = static_cast<uint8_t>(halfCount);
    body.aauEntry[s][3] = static_cast<uint8_t>(end - first - halfCount);
    // The half-turn ring is wound as if it stood at its rest place.
    auto at = [&](uint32_t i, float* p) {
      for (int k = 0; k < 3; ++k) p[k] = body.afVertices[3 * i + k];
      if (tube.bHalfFirst && i >= first && i < first + halfCount)
        for (int k = 0; k < 3; ++k) p[k] -= skel.aSeg[s].afOrigin[k];
    };
    float inLocal[3] = {inside[0], inside[1], inside[2]};
    if (tube.bHalfFirst)
      for (int k = 0; k < 3; ++k)
        inLocal[k] -= skel.aSeg[s].afOrigin[k] * static_cast<float>(halfCount) / static_cast<float>(end - first);
    auto face = [&](uint32_t a, uint32_t b, uint32_t c, uint32_t ringPart, float ua, float va, float ub, float vb,
                    float uc, float vc) {
      float p0[3], p1[3], p2[3];
      at(a, p0);
      at(b, p1);
      at(c, p2);
      Face f{{a, b, c}, 0, {ua, va, ub, vb, uc, vc}};
      if (Outwardness(p0, p1, p2, inLocal) < 0.0f) {
        std::swap(f.auIndex[1], f.auIndex[2]);
        std::swap(f.afUV[2], f.afUV[4]);
        std::swap(f.afUV[3], f.afUV[5]);
      }
      float d[3];
      for (int k = 0; k < 3; ++k) d[k] = (p0[k] + p1[k] + p2[k]) / 3.0f - inLocal[k];
      // The side's direction in the ring's plane.
      const float along = Dot(d, tube.afAxis);
      for (int k = 0; k < 3; ++k) d[k] -= along * tube.afAxis[k];
      const float len = std::sqrt(Dot(d, d));
      if (len > 0.0f)
        for (float& x : d) x /= len;
      f.uPart = SidePart(ringPart, d, s);
      body.aFaces.push_back(f);
    };
    const float span = t1 > t0 ? t1 - t0 : 1.0f;
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
      if (rings[r + 1].t <= rings[r].t) continue;  // a change of dress, no band
      const float va = (rings[r].t - t0) / span, vb = (rings[r + 1].t - t0) / span;
      for (int j = 0; j < sides; ++j) {
        const int jn = (j + 1) % sides;
        const float ua = static_cast<float>(j) / static_cast<float>(sides);
        const float ub = static_cast<float>(j + 1) / static_cast<float>(sides);
        const uint32_t a0 = ringStart[r] + j, a1 = ringStart[r] + jn;
        const uint32_t b0 = ringStart[r + 1] + j, b1 = ringStart[r + 1] + jn;
        face(a0, a1, b1, rings[r].uPart, ua, va, ub, va, ub, vb);
        face(a0, b1, b0, rings[r].uPart, ua, va, ub, vb, ua, vb);
      }
    }
    auto cap = [&](uint32_t ringIdx, uint32_t c, float v) {
      const uint32_t part = rings[ringIdx].uPart;
      for (int j = 0; j < sides; ++j) {
        const int jn = (j + 1) % sides;
        const float ua = static_cast<float>(j) / static_cast<float>(sides);
        const float ub = static_cast<float>(j + 1) / static_cast<float>(sides);
        face(ringStart[ringIdx] + j, ringStart[ringIdx] + jn, c, part, ua, v, ub, v, (ua + ub) * 0.5f, v);
      }
    };
    if (tube.bCapStart) cap(0, capStart, 0.0f);
    if (tube.bCapEnd) cap(rings.size() - 1, capEnd, 1.0f);
    if (numbered) {
      face(number, number + 1, number + 2, kNumber, 1, 0, 0, 0, 0, 1);
      face(number, number + 2, number + 3, kNumber, 1, 0, 0, 1, 1, 1);
      face(number + 4, number + 5, number + 6, kNumber2, 1, 0, 0, 0, 0, 1);
      face(number + 4, number + 6, number + 7, kNumber2, 1, 0, 0, 1, 1, 1);
    }
  }
  static const char* const kLevel[5] = {"VHigh", "High", "Medium", "low", "vlow"};
  const int lv = level < 0 ? 0 : level > 4 ? 4 : level;
  if (lv <= 2) body.sPath = std::string("players/") + kLevel[lv] + "/" + codeIn + ".bin";
  else if (lv == 3) body.sPath = "players/low/" + codeIn.substr(2, 2) + ".bin";
  else body.sPath = "players/vlow/vlow.bin";
  return body;
}

std::vector<Body> BodiesBuildAll(const Skeleton& skel) {
  std::vector<Body> out;
  for (const std::string& c : ModelCodes())
    for (int l = 0; l < 3; ++l) out.push_back(BodyBuild(skel, l, c));
  for (const char* h : {"SH", "AH", "LH"}) out.push_back(BodyBuild(skel, 3, std::string("SS") + h + "MS"));
  out.push_back(BodyBuild(skel, 4, "SSSHMS"));
  return out;
}

std::string BodyValidate(const Skeleton& skel, const Body& b) {
  const std::string name = b.sPath + ": ";
  const uint32_t nv = static_cast<uint32_t>(b.afVertices.size() / 3);
  uint32_t sum = 0;
  int depth = 0;
  std::vector<int> segOf(nv, -1);
  for (int s = 0; s < kSegments; ++s) {
    const uint8_t* e = b.aauEntry[s];
    if (e[0] != skel.aSeg[s].bPush || e[1] != skel.aSeg[s].bPop)
      return name + "segment " + std::to_string(s) + " links differ from the skeleton";
    if (e[3] == 0) return name + "segment " + std::to_string(s) + " has no rigid vertex";
    for (uint32_t i = sum; i < sum + e[2] + e[3] && i < nv; ++i) segOf[i] = s;
    sum += e[2] + e[3];
    if (e[0] > 0) ++depth;
    if (e[1] > 0 && --depth < 0) return name + "segment " + std::to_string(s) + " pops an empty stack";
  }
  if (sum != nv) return name + "segment counts add up to " + std::to_string(sum) + ", not " + std::to_string(nv);
  if (depth != 0) return name + "pushes and pops do not balance";
  // Interior point of each segment (rest places).
  std::vector<float> inside(kSegments * 3, 0.0f);
  std::vector<int> count(kSegments, 0);
  auto restAt = [&](uint32_t i, float* p) {
    const int s = segOf[i];
    for (int k = 0; k < 3; ++k) p[k] = b.afVertices[3 * i + k];
    uint32_t start = 0;
    for (int q = 0; q < s; ++q) start += b.aauEntry[q][2] + b.aauEntry[q][3];
    if (i < start + b.aauEntry[s][2])
      for (int k = 0; k < 3; ++k) p[k] -= skel.aSeg[s].afOrigin[k];
  };
  for (uint32_t i = 0; i < nv; ++i) {
    float p[3];
    restAt(i, p);
    for (int k = 0; k < 3; ++k) inside[3 * segOf[i] + k] += p[k];
    ++count[segOf[i]];
  }
  for (int s = 0; s < kSegments; ++s)
    for (int k = 0; k < 3; ++k) inside[3 * s + k] /= static_cast<float>(count[s] > 0 ? count[s] : 1);
  for (size_t f = 0; f < b.aFaces.size(); ++f) {
    const Face& fc = b.aFaces[f];
    const std::string where = name + "face " + std::to_string(f);
    for (uint32_t i : fc.auIndex)
      if (i >= nv) return where + " names a vertex past the list";
    if (fc.uPart > 18) return where + " has body part " + std::to_string(fc.uPart);
    for (float uv : fc.afUV)
      if (!(uv >= 0.0f && uv <= 1.0f)) return where + " has a texture coordinate outside 0..1";
    const int s = segOf[fc.auIndex[0]];
    if (segOf[fc.auIndex[1]] != s || segOf[fc.auIndex[2]] != s) return where + " spans two segments";
    float p0[3], p1[3], p2[3];
    restAt(fc.auIndex[0], p0);
    restAt(fc.auIndex[1], p1);
    restAt(fc.auIndex[2], p2);
    if (!(Outwardness(p0, p1, p2, &inside[3 * s]) > 0.0f)) return where + " is wound inward";
  }
  return "";
}

std::vector<uint8_t> BodyBytes(const Body& b) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
  };
  auto f32 = [&](float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    u32(v);
  };
  u32(static_cast<uint32_t>(b.afVertices.size() / 3));
  u32(static_cast<uint32_t>(b.aFaces.size()));
  u32(kSegments);
  for (float v : b.afVertices) f32(v);
  for (const Face& f : b.aFaces) {
    for (uint32_t i : f.auIndex) u32(i);
    u32(f.uPart);
    for (float uv : f.afUV) f32(uv);
  }
  for (const auto& e : b.aauEntry)
    for (uint8_t x : e) out.push_back(x);
  return out;
}

}  // namespace playergeom
