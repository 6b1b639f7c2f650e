// modelgen: builds the PCS models of the match (goal frames, corner flag,
// stadium shells) from assets/models and assets/ground/looks.txt into the
// models folder, after checking them.
//   modelgen --assets <assets> --out <data/models> [--stamp <file>]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "art/art_image.h"
#include "modelart.h"

namespace {

bool Read(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string assets, out, stamp;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--assets")) assets = argv[i + 1];
    else if (!std::strcmp(argv[i], "--out")) out = argv[i + 1];
    else if (!std::strcmp(argv[i], "--stamp")) stamp = argv[i + 1];
  }
  if (assets.empty() || out.empty()) {
    std::fprintf(stderr, "usage: modelgen --assets DIR --out DIR [--stamp FILE]\n");
    return 2;
  }
  std::string goals, shells, looks, err;
  if (!Read(assets + "/models/goals.txt", goals) || !Read(assets + "/models/stadiums.txt", shells) ||
      !Read(assets + "/ground/looks.txt", looks)) {
    std::fprintf(stderr, "modelgen: cannot read the sources under %s\n", assets.c_str());
    return 1;
  }
  modelart::GoalSources g;
  modelart::ShellSources s;
  if (!modelart::GoalsParse(goals, g, err) || !modelart::ShellsParse(shells, looks, s, err)) {
    std::fprintf(stderr, "modelgen: %s\n", err.c_str());
    return 1;
  }
  const std::vector<modelart::OutModel> models = modelart::BuildAll(g, s);
  err = modelart::Validate(models, g);
  if (!err.empty()) {
    std::fprintf(stderr, "modelgen: %s\n", err.c_str());
    return 1;
  }
  for (const modelart::OutModel& m : models)
    if (!art::WriteFileAtomic(out + "/" + m.sPath, modelart::PcsBytes(m.model))) return 1;
  if (!stamp.empty() && !art::WriteFileAtomic(stamp, std::vector<uint8_t>{'o', 'k', '\n'})) return 1;
  return 0;
}
