#include "modelart.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <set>
#include <sstream>

namespace modelart {

namespace {

// Lines without comments and blank lines, with their numbers.
std::vector<std::pair<int, std::string>> Lines(const std::string& text) {
  std::vector<std::pair<int, std::string>> out;
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    out.emplace_back(n, line);
  }
  return out;
}

// key value pairs after the first word.
bool Pairs(std::istringstream& in, std::map<std::string, std::string>& out) {
  std::string k, v;
  while (in >> k) {
    if (!(in >> v)) return false;
    out[k] = v;
  }
  return true;
}

bool Number(const std::map<std::string, std::string>& m, const char* key, float* out) {
  auto it = m.find(key);
  if (it == m.end()) return false;
  char* end = nullptr;
  *out = std::strtof(it->second.c_str(), &end);
  return end != nullptr && *end == 0 && std::isfinite(*out);
}

// ---- Building ---------------------------------------------------------------------------------

struct Builder {
  Model m;
  std::vector<float> aKeys;  // painting key of each face (larger drawn first)

  uint32_t Add(Vec v) {
    m.aVertices.push_back(v);
    return static_cast<uint32_t>(m.aVertices.size() - 1);
  }
  void Tri(uint32_t a, uint32_t b, uint32_t c, uint32_t page, const float uv[6], float key) {
    Face f;
    f.a = a;
    f.b = b;
    f.c = c;
    f.uPage = page;
    std::copy(uv, uv + 6, f.uv);
    m.aFaces.push_back(f);
    aKeys.push_back(key);
  }
  // A quad p0 p1 p2 p3 (around its edge) showing the texture square
  // (u0, v0) at p0 to (u1, v1) at p2.
  void Quad(Vec p0, Vec p1, Vec p2, Vec p3, uint32_t page, float u0, float v0, float u1, float v1, float key) {
    const uint32_t a = Add(p0), b = Add(p1), c = Add(p2), d = Add(p3);
    const float t0[6] = {u0, v0, u1, v0, u1, v1};
    const float t1[6] = {u0, v0, u1, v1, u0, v1};
    Tri(a, b, c, page, t0, key);
    Tri(a, c, d, page, t1, key);
  }
};

// A tube of n sides round the segment a-b (a square post with 4), its
// texture the square (u0, v0)-(u1, v1) wrapped round it.
void Tube(Builder& b, Vec a, Vec e, float r, int n, float u0, float v0, float u1, float v1) {
  Vec d{e.x - a.x, e.y - a.y, e.z - a.z};
  const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  d = Vec{d.x / len, d.y / len, d.z / len};
  // Two unit vectors across the tube.
  Vec s = std::fabs(d.y) < 0.9f ? Vec{-d.z, 0, d.x} : Vec{1, 0, 0};
  const float ls = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
  s = Vec{s.x / ls, s.y / ls, s.z / ls};
  const Vec t{d.y * s.z - d.z * s.y, d.z * s.x - d.x * s.z, d.x * s.y - d.y * s.x};
  const float phase = n == 4 ? 0.785398f : 0.0f;
  for (int k = 0; k < n; ++k) {
    const float a0 = phase + 6.2831853f * k / n, a1 = phase + 6.2831853f * (k + 1) / n;
    auto at = [&](Vec base, float ang) {
      const float c = std::cos(ang) * r, sn = std::sin(ang) * r;
      return Vec{base.x + s.x * c + t.x * sn, base.y + s.y * c + t.y * sn, base.z + s.z * c + t.z * sn};
    };
    const float ua = u0 + (u1 - u0) * k / n, ub = u0 + (u1 - u0) * (k + 1) / n;
    b.Quad(at(a, a0), at(a, a1), at(e, a1), at(e, a0), 0, ua, v0, ub, v1, 0);
  }
}

Model Bar(const GoalSources& g, const Era& e) {
  Builder b;
  const float hw = g.fWidth * 0.5f, r = e.fSize * 0.5f, y = g.fBar + r;
  Tube(b, Vec{-hw - e.fSize, y, -r}, Vec{hw + e.fSize, y, -r}, r, e.bRound ? 8 : 4, 0.0f, 0.0f, 0.5f, 1.0f);
  return b.m;
}

Model Posts(const GoalSources& g, const Era& e) {
  Builder b;
  const float hw = g.fWidth * 0.5f, r = e.fSize * 0.5f;
  const int n = e.bRound ? 8 : 4;
  const float top = g.fTop + e.fTopAdd, ground = g.fGround + e.fGroundAdd;
  const float back = e.bBackIsBar ? g.fBar : g.fBack;
  for (float side : {-1.0f, 1.0f}) {
    const float x = side * (hw + r);
    Tube(b, Vec{x, 0, -r}, Vec{x, g.fBar + e.fSize, -r}, r, n, 0.0f, 0.0f, 0.5f, 1.0f);
    const float thin = r * 0.5f;
    if (e.sSupport == "stanchions") {
      // A bent bar from the post's top back along the net's side to the
      // ground behind it.
      const Vec p0{x, g.fBar, 0}, p1{x, back, top}, p2{x, thin, ground};
      Tube(b, p0, p1, thin, 6, 0.0f, 0.0f, 0.5f, 1.0f);
      Tube(b, p1, p2, thin, 6, 0.0f, 0.0f, 0.5f, 1.0f);
    } else if (e.sSupport == "box") {
      // The box frame: the roof's side bar, a back post and a ground bar.
      const Vec p0{x, g.fBar, 0}, p1{x, back, top}, p2{x, thin, ground}, p3{x, thin, 0};
      Tube(b, p0, p1, thin, 6, 0.0f, 0.0f, 0.5f, 1.0f);
      Tube(b, p1, p2, thin, 6, 0.0f, 0.0f, 0.5f, 1.0f);
      Tube(b, p2, p3, thin, 6, 0.0f, 0.0f, 0.5f, 1.0f);
    }
  }
  if (e.sSupport == "box") {
    Tube(b, Vec{-hw, back, top}, Vec{hw, back, top}, r * 0.5f, 6, 0.0f, 0.0f, 0.5f, 1.0f);
    Tube(b, Vec{-hw, r * 0.5f, ground}, Vec{hw, r * 0.5f, ground}, r * 0.5f, 6, 0.0f, 0.0f, 0.5f, 1.0f);
  }
  return b.m;
}

Model Flag(const GoalSources& g) {
  Builder b;
  Tube(b, Vec{0, 0, 0}, Vec{0, g.fFlagHeight, 0}, g.fFlagRadius, 4, 0.5f, 0.5f, 1.0f, 1.0f);
  const float k = 0.70710677f;
  const Vec top{0, g.fFlagHeight, 0}, low{0, g.fFlagHeight - g.fClothH, 0};
  const Vec out{g.fClothW * k, 0, g.fClothW * k};
  b.Quad(top, Vec{top.x + out.x, top.y - 0.03f, top.z + out.z}, Vec{low.x + out.x, low.y - 0.03f, low.z + out.z},
         low, 0, 0.5f, 0.0f, 1.0f, 0.5f, 0);
  return b.m;
}

// ---- Stadium shells ---------------------------------------------------------------------------

constexpr float kSurroundX = 105.15728f, kSurroundZ = 73.15289f;
constexpr float kPage1WallTop = 192.0f / 256.0f;
constexpr float kRoofUnder0 = 48.0f / 256.0f, kRoofUnder1 = 96.0f / 256.0f;
constexpr float kLattice0 = 96.0f / 256.0f, kLattice1 = 160.0f / 256.0f;
constexpr float kTerrace0 = 160.0f / 256.0f, kTerrace1 = 224.0f / 256.0f;
constexpr float kOuter0 = 224.0f / 256.0f;

// How far out a point lies: 1 on the surround's edge.
float Outness(Vec p) { return std::sqrt((p.x / kSurroundX) * (p.x / kSurroundX) + (p.z / kSurroundZ) * (p.z / kSurroundZ)); }

// The profile of one stand across its depth: points (d out from the
// surround, y up).
struct Profile {
  std::vector<std::pair<float, float>> aTierFront, aTierBack;  // per tier, lowest first
  float fBack = 0, fTop = 0, fRoofY = 0, fRoofFront = 0;
};

Profile StandProfile(const ShellSources& s, const StandLook& l) {
  Profile p;
  float d = s.fGap, y = s.fFront;
  for (int t = 0; t < l.iTiers; ++t) {
    if (t > 0) y += s.fFascia;
    p.aTierFront.emplace_back(d, y);
    d += s.fTierDepth;
    y += s.fTierRise;
    p.aTierBack.emplace_back(d, y);
  }
  p.fBack = d;
  p.fTop = y;
  p.fRoofY = y + (l.iRoof != 0 ? s.fRoofClear : 1.2f);
  p.fRoofFront = l.iRoof == 2 ? s.fGap - 1.0f : s.fGap + (d - s.fGap) * 0.5f;
  return p;
}

// One straight stand along the surround's edge: origin o on the edge,
// along a, outward n; from -half to +half along a, in pieces of seg.
void Stand(Builder& b, const ShellSources& s, const StandLook& l, Vec o, Vec a, Vec n, float half, float seg,
           bool software, int advertSeed) {
  const Profile p = StandProfile(s, l);
  auto at = [&](float along, float d, float y) {
    return Vec{o.x + a.x * along + n.x * d, y, o.z + a.z * along + n.z * d};
  };
  const int pieces = std::max(1, static_cast<int>(std::ceil(2 * half / seg)));
  const float band = 1.0f / 256.0f * static_cast<float>(192 / l.iTiers);
  for (int i = 0; i < pieces; ++i) {
    const float s0 = -half + 2 * half * i / pieces, s1 = -half + 2 * half * (i + 1) / pieces;
    auto key = [&](float d, float y) {
      (void)y;
      return Outness(at(0.5f * (s0 + s1), d, 0));
    };
    // Back wall up to the roof (or the parapet), then the tiers from the
    // top down, each with the fascia below it, then the front wall.
    b.Quad(at(s0, p.fBack, p.fRoofY), at(s1, p.fBack, p.fRoofY), at(s1, p.fBack, p.fTop), at(s0, p.fBack, p.fTop),
             kPageSeats, 0, kPage1WallTop, 1, 1, key(p.fBack + 1, 0));
    for (int t = l.iTiers - 1; t >= 0; --t) {
      const int bandIndex = l.iTiers - 1 - t;  // the top tier shows the page's first band
      const auto [fd, fy] = p.aTierFront[static_cast<size_t>(t)];
      const auto [bd, by] = p.aTierBack[static_cast<size_t>(t)];
      b.Quad(at(s0, bd, by), at(s1, bd, by), at(s1, fd, fy), at(s0, fd, fy), kPageSeats, 0, band * bandIndex, 1,
             band * (bandIndex + 1), key(0.5f * (fd + bd), 0));
      const float wallTop = fy, wallBottom = t == 0 ? 0.0f : fy - s.fFascia;
      if (t > 0) {
        // The fascia below an upper tier carries an advert.
        const int k = (advertSeed + i + t) % 16;
        const float u = (k % 2) * 0.5f, v = (k / 2) * 0.125f;
        b.Quad(at(s0, fd, wallTop), at(s1, fd, wallTop), at(s1, fd, wallBottom), at(s0, fd, wallBottom),
               kPageAdverts, u, v, u + 0.5f, v + 0.125f, key(fd, 0) - 0.001f);
      } else {
        b.Quad(at(s0, fd, wallTop), at(s1, fd, wallTop), at(s1, fd, wallBottom), at(s0, fd, wallBottom), kPageSeats,
               0, kPage1WallTop, 1, 1, key(fd, 0) - 0.001f);
      }
    }
    // The roof: its underside, then its front edge.
    if (l.iRoof != 0) {
      const float rise = l.iRoof == 2 ? 2.0f : 1.0f;
      b.Quad(at(s0, p.fBack, p.fRoofY), at(s1, p.fBack, p.fRoofY), at(s1, p.fRoofFront, p.fRoofY + rise),
             at(s0, p.fRoofFront, p.fRoofY + rise), kPageRoof, 0, kRoofUnder0, 1, kRoofUnder1,
             key(p.fRoofFront, 0) - 0.002f);
      b.Quad(at(s0, p.fRoofFront, p.fRoofY + rise + 0.8f), at(s1, p.fRoofFront, p.fRoofY + rise + 0.8f),
               at(s1, p.fRoofFront, p.fRoofY + rise - 0.8f), at(s0, p.fRoofFront, p.fRoofY + rise - 0.8f), kPageRoof,
               0, 0, 1, kRoofUnder0, key(p.fRoofFront, 0) - 0.003f);
    }
  }
  // The stand's two ends: its profile as a wall, from the ground up.
  for (float end : {-half, half}) {
    const Vec g0 = at(end, s.fGap, 0), g1 = at(end, p.fBack, 0);
    const Vec t0 = at(end, s.fGap, s.fFront), t1 = at(end, p.fBack, p.fRoofY);
    b.Quad(t0, t1, g1, g0, kPageRoof, 0, kOuter0, 1, 1, Outness(at(end, p.fBack, 0)) + 0.01f);
  }
}

// A corner between two stands: seats (closed) or a low open terrace.
void Corner(Builder& b, const ShellSources& s, const StandLook& l, float sx, float sz) {
  const Profile p = StandProfile(s, l);
  const float X = kSurroundX, Z = kSurroundZ;
  const float top = l.iOpenCorners != 0 ? std::min(p.fTop, 6.0f) : p.fTop;
  const float reach = l.iOpenCorners != 0 ? s.fGap + (p.fBack - s.fGap) * 0.5f : p.fBack;
  const Vec f0{sx * X, s.fFront, sz * (Z + s.fGap)}, f1{sx * (X + s.fGap), s.fFront, sz * Z};
  const Vec b1{sx * (X + reach), top, sz * Z}, b0{sx * X, top, sz * (Z + reach)};
  const float key = Outness(Vec{sx * (X + reach * 0.5f), 0, sz * (Z + reach * 0.5f)});
  if (l.iOpenCorners != 0)
    b.Quad(b0, b1, f1, f0, kPageRoof, 0, kTerrace0, 1, kTerrace1, key);
  else
    b.Quad(b0, b1, f1, f0, kPageSeats, 0, 0, 1, kPage1WallTop, key);
  const float wallTop = l.iOpenCorners != 0 ? top + 1.0f : p.fRoofY;
  b.Quad(Vec{b0.x, wallTop, b0.z}, Vec{b1.x, wallTop, b1.z}, b1, b0, kPageRoof, 0, kOuter0, 1, 1, key + 0.05f);
  if (l.iOpenCorners != 0 || l.iRoof == 0) return;
  // A closed corner's roof joins the two stands' roofs (their underside,
  // then their front edge) from the back wall's top to the roofs' fronts.
  const float rise = l.iRoof == 2 ? 2.0f : 1.0f, front = p.fRoofFront, y = p.fRoofY + rise;
  const Vec r0{sx * X, y, sz * (Z + front)}, r1{sx * (X + front), y, sz * Z};
  const float roofKey = Outness(Vec{sx * (X + front * 0.5f), 0, sz * (Z + front * 0.5f)}) - 0.002f;
  b.Quad(Vec{b0.x, p.fRoofY, b0.z}, Vec{b1.x, p.fRoofY, b1.z}, r1, r0, kPageRoof, 0, kRoofUnder0, 1, kRoofUnder1,
         roofKey);
  b.Quad(Vec{r0.x, y + 0.8f, r0.z}, Vec{r1.x, y + 0.8f, r1.z}, Vec{r1.x, y - 0.8f, r1.z}, Vec{r0.x, y - 0.8f, r0.z},
         kPageRoof, 0, 0, 1, kRoofUnder0, roofKey - 0.001f);
}

// A floodlight: a lattice pylon from the ground when it stands beyond the
// ground, the lamp bank facing the pitch's centre and, at night, its glow.
void Floodlight(Builder& b, const ShellSources& s, float x, float z, float height, bool software) {
  const float key = 0.0f;
  const float ground = 68.58083f, groundZ = 45.720554f;
  const bool pylon = std::fabs(x) > ground || std::fabs(z) > groundZ;
  // Facing: toward the centre, across.
  float fx = -x, fz = -z;
  const float lf = std::sqrt(fx * fx + fz * fz);
  fx /= lf;
  fz /= lf;
  const Vec across{-fz, 0, fx};
  if (pylon) {
    const float rb = s.fPylonBase, rt = s.fPylonTop;
    // The software shell's pylon is one storey (its lattice stretched).
    const int storeys = software ? 1 : std::max(1, static_cast<int>(height / 8.0f));
    for (int k = 0; k < storeys; ++k) {
      const float y0 = height * k / storeys, y1 = height * (k + 1) / storeys;
      const float r0 = rb + (rt - rb) * k / storeys, r1 = rb + (rt - rb) * (k + 1) / storeys;
      const Vec c[4] = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
      for (int side = 0; side < 4; ++side) {
        const Vec a = c[side], e = c[(side + 1) % 4];
        b.Quad(Vec{x + a.x * r1, y1, z + a.z * r1}, Vec{x + e.x * r1, y1, z + e.z * r1},
               Vec{x + e.x * r0, y0, z + e.z * r0}, Vec{x + a.x * r0, y0, z + a.z * r0}, kPageLattice, 0, kLattice0,
               0.25f, kLattice1, key);
      }
    }
  }
  const float hw = s.fLampW * 0.5f, hh = s.fLampH * 0.5f;
  auto lamp = [&](float push, float grow, uint32_t page, float u0, float v0, float u1, float v1) {
    const Vec c{x + fx * push, height, z + fz * push};
    const float w = hw * grow, h = hh * grow;
    b.Quad(Vec{c.x - across.x * w, c.y + h, c.z - across.z * w}, Vec{c.x + across.x * w, c.y + h, c.z + across.z * w},
           Vec{c.x + across.x * w, c.y - h, c.z + across.z * w}, Vec{c.x - across.x * w, c.y - h, c.z - across.z * w},
           page, u0, v0, u1, v1, key);
  };
  // The bank's frame by day and night (page2's outer wall), its lamps and
  // glow at night only.
  lamp(0.0f, 1.0f, kPageRoof, 0, kOuter0, 1, 1);
  if (!software) {
    lamp(0.3f, 1.0f, kPageLamps, 0.25f, 0.375f, 0.75f, 0.625f);
    lamp(0.6f, 2.6f, kPageGlow, 0, 0, 1, 1);
  }
}

Model Shell(const ShellSources& s, const StandLook& l, bool software) {
  Builder b;
  const float seg = software ? s.fSwSegment : s.fSegment;
  const int seed = static_cast<int>(l.sName.size() * 7 + static_cast<size_t>(l.sName.back()));
  // Side stands along the touch lines, then the end stands.
  Stand(b, s, l, Vec{0, 0, kSurroundZ}, Vec{1, 0, 0}, Vec{0, 0, 1}, kSurroundX, seg, software, seed);
  Stand(b, s, l, Vec{0, 0, -kSurroundZ}, Vec{-1, 0, 0}, Vec{0, 0, -1}, kSurroundX, seg, software, seed + 5);
  Stand(b, s, l, Vec{kSurroundX, 0, 0}, Vec{0, 0, -1}, Vec{1, 0, 0}, kSurroundZ, seg, software, seed + 9);
  Stand(b, s, l, Vec{-kSurroundX, 0, 0}, Vec{0, 0, 1}, Vec{-1, 0, 0}, kSurroundZ, seg, software, seed + 13);
  for (float sx : {-1.0f, 1.0f})
    for (float sz : {-1.0f, 1.0f}) Corner(b, s, l, sx, sz);
  const auto it = s.mLights.find(l.sName);
  if (it != s.mLights.end())
    for (int i = 0; i < 4; ++i) Floodlight(b, s, it->second[2 * i], it->second[2 * i + 1], it->second[8], software);
  // Painting order (both shells: the full one is drawn group by group
  // without writing depth): the faces farthest out first (stable for equal keys,
  // so a stand's pieces keep their order from the top tier down).
  std::vector<size_t> order(b.m.aFaces.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) { return b.aKeys[x] > b.aKeys[y]; });
  Model out;
  out.aVertices = b.m.aVertices;
  for (size_t i : order) out.aFaces.push_back(b.m.aFaces[i]);
  return out;
}

}  // namespace

// ---- Sources ----------------------------------------------------------------------------------

bool GoalsParse(const std::string& text, GoalSources& out, std::string& err) {
  out = GoalSources{};
  bool net = false, flag = false;
  for (const auto& [n, line] : Lines(text)) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    const std::string where = "goals.txt: line " + std::to_string(n) + ": ";
    std::string eraName;
    if (kind == "era") in >> eraName;
    std::map<std::string, std::string> kv;
    if (kind != "flag" && !Pairs(in, kv)) {
      err = where + "a key without its value";
      return false;
    }
    if (kind == "net") {
      if (!Number(kv, "width", &out.fWidth) || !Number(kv, "bar", &out.fBar) || !Number(kv, "back", &out.fBack) ||
          !Number(kv, "top", &out.fTop) || !Number(kv, "ground", &out.fGround) || out.fWidth <= 0 ||
          out.fWidth > 20 || out.fBar <= 0 || out.fBar > 10 || out.fBack <= 0 || out.fBack > out.fBar ||
          out.fTop <= 0 || out.fTop > 5 || out.fGround <= 0 || out.fGround > 5) {
        err = where + "net needs width (up to 20), bar (up to 10), back (up to the bar), top and ground (up to 5)";
        return false;
      }
      net = true;
    } else if (kind == "era") {
      Era e;
      float backBar = 0;
      e.sName = eraName;
      auto section = kv.find("section");
      if (section == kv.end() || (section->second != "square" && section->second != "round")) {
        err = where + "section must be square or round";
        return false;
      }
      e.bRound = section->second == "round";
      e.sSupport = kv.count("support") ? kv["support"] : "";
      if (e.sSupport != "posts" && e.sSupport != "stanchions" && e.sSupport != "box") {
        err = where + "support must be posts, stanchions or box";
        return false;
      }
      if (!Number(kv, "size", &e.fSize) || !Number(kv, "top_add", &e.fTopAdd) ||
          !Number(kv, "ground_add", &e.fGroundAdd) || !Number(kv, "back_is_bar", &backBar) || e.fSize <= 0 ||
          e.fSize > 0.3f || e.fTopAdd < 0 || e.fTopAdd > 1 || e.fGroundAdd < 0 || e.fGroundAdd > 1) {
        err = where + "era needs size (0 to 0.3), top_add and ground_add (0 to 1) and back_is_bar";
        return false;
      }
      e.bBackIsBar = backBar != 0;
      out.aEras.push_back(e);
    } else if (kind == "flag") {
      std::string k1, k2, k3;
      if (!(in >> k1 >> out.fFlagHeight >> k2 >> out.fFlagRadius >> k3 >> out.fClothW >> out.fClothH) ||
          k1 != "height" || k2 != "radius" || k3 != "cloth" || out.fFlagHeight <= 0 || out.fFlagHeight > 1.9f ||
          out.fFlagRadius <= 0 || out.fFlagRadius > 0.2f || out.fClothW <= 0 || out.fClothW > 1 || out.fClothH <= 0 ||
          out.fClothH > out.fFlagHeight) {
        err = where + "flag height H radius R cloth W H";
        return false;
      }
      flag = true;
    } else {
      err = where + "unknown line \"" + kind + "\"";
      return false;
    }
  }
  std::set<std::string> eras;
  for (const Era& e : out.aEras) eras.insert(e.sName);
  if (!net || !flag || eras != std::set<std::string>{"62", "74", "78"} || out.aEras.size() != 3) {
    err = "goals.txt: needs the net, the flag and the eras 62, 74 and 78 once each";
    return false;
  }
  return true;
}

bool ShellsParse(const std::string& text, const std::string& looks, ShellSources& out, std::string& err) {
  out = ShellSources{};
  bool shell = false;
  for (const auto& [n, line] : Lines(text)) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    const std::string where = "stadiums.txt: line " + std::to_string(n) + ": ";
    if (kind == "shell") {
      std::map<std::string, std::string> kv;
      std::string k, v;
      while (in >> k >> v) {
        kv[k] = v;
        if (k == "lamp") {
          std::string h;
          if (!(in >> h)) break;
          kv["lamp_h"] = h;
        }
      }
      if (!Number(kv, "gap", &out.fGap) || !Number(kv, "front", &out.fFront) ||
          !Number(kv, "tier_depth", &out.fTierDepth) || !Number(kv, "tier_rise", &out.fTierRise) ||
          !Number(kv, "fascia", &out.fFascia) || !Number(kv, "roof_clear", &out.fRoofClear) ||
          !Number(kv, "segment", &out.fSegment) || !Number(kv, "sw_segment", &out.fSwSegment) ||
          !Number(kv, "pylon_base", &out.fPylonBase) || !Number(kv, "pylon_top", &out.fPylonTop) ||
          !Number(kv, "lamp", &out.fLampW) || !Number(kv, "lamp_h", &out.fLampH)) {
        err = where + "shell needs gap, front, tier_depth, tier_rise, fascia, roof_clear, segment, sw_segment, "
                      "pylon_base, pylon_top and lamp W H";
        return false;
      }
      const float all[] = {out.fGap, out.fFront, out.fTierDepth, out.fTierRise, out.fFascia, out.fRoofClear,
                           out.fSegment, out.fSwSegment, out.fPylonBase, out.fPylonTop, out.fLampW, out.fLampH};
      bool inRange = true;
      for (float f : all) inRange = inRange && f > 0.0f && f <= 100.0f;
      if (!inRange || out.fSegment <= 1 || out.fSwSegment < out.fSegment) {
        err = where + "the measures must lie in 0 to 100 (segment above 1) and sw_segment at least segment";
        return false;
      }
      shell = true;
    } else if (kind == "lights") {
      std::string name;
      std::array<float, 9> v{};
      if (!(in >> name)) {
        err = where + "lights without a look";
        return false;
      }
      for (float& f : v)
        if (!(in >> f)) {
          err = where + "lights " + name + ": four x z pairs and a height";
          return false;
        }
      std::string rest;
      bool placed = v[8] > 0 && v[8] <= 100;
      for (int i = 0; i < 8; ++i) placed = placed && std::fabs(v[i]) <= 200 && (v[i & ~1] != 0 || v[i | 1] != 0);
      if ((in >> rest) || !placed) {
        err = where + "lights " + name + ": four x z pairs within 200 of the centre and a height up to 100, nothing more";
        return false;
      }
      out.mLights[name] = v;
    } else {
      err = where + "unknown line \"" + kind + "\"";
      return false;
    }
  }
  if (!shell) {
    err = "stadiums.txt: no shell line";
    return false;
  }
  for (const auto& [n, line] : Lines(looks)) {
    std::istringstream in(line);
    StandLook l;
    if (!(in >> l.sName >> l.iTiers >> l.iRoof >> l.iOpenCorners) || l.iTiers < 1 || l.iTiers > 3 || l.iRoof < 0 ||
        l.iRoof > 2 || l.iOpenCorners < 0 || l.iOpenCorners > 1) {
      err = "looks.txt: line " + std::to_string(n) + ": name, tiers 1-3, roof 0-2, open 0-1";
      return false;
    }
    if (!out.mLights.count(l.sName)) {
      err = "stadiums.txt: no lights for the look " + l.sName;
      return false;
    }
    out.aLooks.push_back(l);
  }
  if (out.aLooks.empty()) {
    err = "looks.txt: no looks";
    return false;
  }
  return true;
}

std::vector<OutModel> BuildAll(const GoalSources& g, const ShellSources& s) {
  std::vector<OutModel> out;
  for (const Era& e : g.aEras) {
    out.push_back({"goals/" + e.sName + "postb.pcs", Posts(g, e)});
    out.push_back({"goals/" + e.sName + "bar.pcs", Bar(g, e)});
  }
  out.push_back({"goals/flag.pcs", Flag(g)});
  for (const StandLook& l : s.aLooks) {
    out.push_back({"stadiums/" + l.sName + ".pcs", Shell(s, l, false)});
    out.push_back({"stadiums/SW" + l.sName + ".pcs", Shell(s, l, true)});
  }
  return out;
}

std::string Validate(const std::vector<OutModel>& models, const GoalSources& g) {
  std::set<std::string> seen;
  std::map<std::string, size_t> fullFaces;
  for (const OutModel& om : models) {
    const Model& m = om.model;
    const std::string& p = om.sPath;
    if (!seen.insert(p).second) return p + ": built twice";
    if (m.aFaces.empty()) return p + ": no faces";
    std::set<uint32_t> pages;
    for (const Face& f : m.aFaces) {
      if (f.a >= m.aVertices.size() || f.b >= m.aVertices.size() || f.c >= m.aVertices.size())
        return p + ": a face names a vertex past the vertex count";
      if (f.uPage > 7) return p + ": page id " + std::to_string(f.uPage) + " above 7";
      pages.insert(f.uPage);
      for (float t : f.uv)
        if (!(t >= 0.0f && t <= 1.0f)) return p + ": a texel pair outside its page";
    }
    if (pages.size() > 8) return p + ": more than 8 page ids";
    const bool stadium = p.rfind("stadiums/", 0) == 0;
    const bool software = p.rfind("stadiums/SW", 0) == 0;
    if (!stadium && (pages.size() != 1 || *pages.begin() != 0)) return p + ": a prop uses page 0 only";
    if (p.rfind("goals/", 0) == 0 && p != "goals/flag.pcs") {
      // Inside the net's box, the deepest era's net with a post's margin.
      const float hw = g.fWidth * 0.5f + 0.35f, h = g.fBar + 0.35f, depth = g.fGround + 0.6096f + 0.35f;
      for (const Vec& v : m.aVertices)
        if (std::fabs(v.x) > hw || v.y < -0.001f || v.y > h || v.z < -0.35f || v.z > depth)
          return p + ": a vertex outside the goal's box";
    } else if (p == "goals/flag.pcs") {
      for (const Vec& v : m.aVertices)
        if (std::fabs(v.x) > 1.0f || std::fabs(v.z) > 1.0f || v.y < -0.001f || v.y > 2.0f)
          return p + ": a vertex outside the flag's box";
    } else if (stadium) {
      for (const Face& f : m.aFaces) {
        const uint32_t page = f.uPage;
        if (software && (page == 3 || page == 7)) return p + ": night faces in a software shell";
        const bool stand = page == kPageSeats || page == kPageAdverts;
        for (uint32_t i : {f.a, f.b, f.c}) {
          const Vec& v = m.aVertices[i];
          if (v.y < -0.001f || std::fabs(v.x) > 250 || std::fabs(v.z) > 250) return p + ": a vertex out of bounds";
          if (stand && std::fabs(v.x) < 105.15728f - 0.01f && std::fabs(v.z) < 73.15289f - 0.01f)
            return p + ": a stand inside the surround";
        }
      }
      if (!software) fullFaces[p.substr(9)] = m.aFaces.size();
    }
  }
  for (const OutModel& om : models) {
    if (om.sPath.rfind("stadiums/SW", 0) != 0) continue;
    const std::string look = om.sPath.substr(11);
    auto it = fullFaces.find(look);
    if (it == fullFaces.end()) return om.sPath + ": no full shell beside it";
    if (om.model.aFaces.size() >= it->second) return om.sPath + ": not smaller than its full shell";
  }
  for (const char* need : {"goals/62postb.pcs", "goals/62bar.pcs", "goals/74postb.pcs", "goals/74bar.pcs",
                           "goals/78postb.pcs", "goals/78bar.pcs", "goals/flag.pcs"})
    if (!seen.count(need)) return std::string(need) + ": missing";
  return {};
}

std::vector<uint8_t> PcsBytes(const Model& m) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto f32 = [&](float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    u32(v);
  };
  u32(static_cast<uint32_t>(m.aVertices.size()));
  u32(static_cast<uint32_t>(m.aFaces.size()));
  for (const Vec& v : m.aVertices) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
  }
  for (const Face& f : m.aFaces) {
    u32(f.a);
    u32(f.b);
    u32(f.c);
    u32(f.uPage);
    for (float t : f.uv) f32(t);
  }
  return out;
}

}  // namespace modelart
