#pragma once
// The player bodies: the skeleton read from assets/anim/skeleton.txt and the
// five detail levels of every model code built around it as rings of
// vertices along each segment's bone, with the checks every written model
// must pass.
#include <cstdint>
#include <string>
#include <vector>

namespace playergeom {

constexpr int kSegments = 17;

struct Segment {
  int iParent = -1;
  int bPush = 0, bPop = 0;
  float afOrigin[3] = {0, 0, 0};
  float afBone[3] = {0, 0, 0};
};

struct Skeleton {
  Segment aSeg[kSegments];
};

// Reads the segment lines of skeleton.txt; false with a message naming the
// line when a segment line is malformed or a segment is missing.
bool SkeletonParse(const std::string& sText, Skeleton& oOut, std::string& sError);

struct Face {
  uint32_t auIndex[3];
  uint32_t uPart;
  float afUV[6];
};

// One body as the VSK file holds it: vertices segment by segment (half-turn
// vertices first), faces with their body parts, and the 17 segment entries
// (push, pop, half count, rigid count).
struct Body {
  std::vector<float> afVertices;  // x, y, z
  std::vector<Face> aFaces;
  uint8_t aauEntry[kSegments][4] = {};
  std::string sPath;  // under the models folder, e.g. players/VHigh/SSSHMS.bin
};

// The 18 model codes: sleeves SS/LS, hair SH/AH/LH, shorts LS/MS/TS.
std::vector<std::string> ModelCodes();
// A level (0 VHigh .. 4 VLow) of a model code (levels 3 and 4 read only the
// hair code; level 4 none).
Body BodyBuild(const Skeleton& oSkel, int iLevel, const std::string& sCode);
// Every model file of the game: three levels of each code, three hair
// models and the one farthest model.
std::vector<Body> BodiesBuildAll(const Skeleton& oSkel);
// The checks: "" when the body agrees with the skeleton (entries, counts,
// a rigid vertex in every segment, faces inside the vertex list with parts
// 0 to 18 and coordinates 0 to 1, every face wound outward).
std::string BodyValidate(const Skeleton& oSkel, const Body& oBody);
// The VSK bytes of a body.
std::vector<uint8_t> BodyBytes(const Body& oBody);

}  // namespace playergeom
