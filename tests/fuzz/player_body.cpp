// The player body reader: any bytes the model reader accepts and the body
// check passes can be built into a mesh and walked over a pose without
// reading outside the model; a refused body always says why.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "scene3d/model.h"
#include "scene3d/player3d.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  // Two triangles over four vertices: the first segment holds three rigid
  // vertices and one half-turn vertex, the chest saves, the arm restores.
  std::vector<QMathVec3> v = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  std::vector<ModelFace> f = {{{0, 1, 2}, 0, {0, 0, 1, 0, 0, 1}}, {{1, 2, 3}, 25, {0.5f, 0.5f, 1, 1, 0, 0.25f}}};
  std::vector<uint32_t> e(17, 0);
  e[0] = 0x03010000u;  // push 0, pop 0, half 1, rigid 3
  e[1] = 0x00000001u;  // push
  e[5] = 0x00000100u;  // pop
  ModelRecord r{4, 2, 17, v.data(), f.data(), e.data()};
  const std::vector<uint8_t> b = model_VSKBytes(r);
  korvena_fuzz::WriteSeed(dir, "body.vsk", b.data(), b.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModelRecord* m = model_poVSKParse(data, size, "input");
  if (m == nullptr) return 0;
  const char* why = player3d_pszModelCheck(m);
  if (why == nullptr) korvena_fuzz::Fail("the body check gave no answer");
  if (*why == 0) {
    PlayerMesh mesh(m);
    if (mesh.FaceCount() > m->uFaceCount) korvena_fuzz::Fail("the mesh holds more faces than the model");
    std::vector<float> pose(PLAYER3D_POSE_FLOATS, 0.0f);
    for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) pose[7 * s + 6] = 1.0f;
    QMathMatrix start{};
    for (int i = 0; i < 4; ++i) start.m[5 * i] = 1.0f;
    int32_t joints[PLAYER3D_SEGMENTS][3];
    mesh.JointsCompute(joints, pose.data(), &start);
    float depths[PLAYER3D_SEGMENTS];
    mesh.SegmentDepthsCompute(depths, pose.data(), &start, &start);
  }
  model_Free(m);
  return 0;
}
