// The sources the match's models are built from (goal frames, corner flag,
// stadium shells): the goal text, then the shell text, then the looks,
// separated by lines "====". Whatever the readers accept builds models whose
// faces name their own vertices; a refusal always says why.
#include <fstream>
#include <sstream>

#include "fuzz_support.h"
#include "models/modelart.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string root = KORVENA_SOURCE_DIR;
  const std::string all = Read(root + "/assets/models/goals.txt") + "\n====\n" + Read(root + "/assets/models/stadiums.txt") +
                          "\n====\n" + Read(root + "/assets/ground/looks.txt");
  korvena_fuzz::WriteSeed(dir, "authored.txt", all.data(), all.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t a = text.find("\n====\n");
  const size_t b = a == std::string::npos ? std::string::npos : text.find("\n====\n", a + 6);
  if (b == std::string::npos) return 0;
  modelart::GoalSources g;
  modelart::ShellSources s;
  std::string err;
  const bool goals = modelart::GoalsParse(text.substr(0, a), g, err);
  if (!goals && err.empty()) korvena_fuzz::Fail("goals refused without a reason");
  err.clear();
  const bool shells = modelart::ShellsParse(text.substr(a + 6, b - a - 6), text.substr(b + 6), s, err);
  if (!shells && err.empty()) korvena_fuzz::Fail("shells refused without a reason");
  if (!goals || !shells) return 0;
  for (const modelart::OutModel& m : modelart::BuildAll(g, s)) {
    for (const modelart::Face& f : m.model.aFaces)
      if (f.a >= m.model.aVertices.size() || f.b >= m.model.aVertices.size() || f.c >= m.model.aVertices.size())
        korvena_fuzz::Fail("a face past its vertices");
    if (modelart::PcsBytes(m.model).size() != 8 + 12 * m.model.aVertices.size() + 40 * m.model.aFaces.size())
      korvena_fuzz::Fail("file size");
  }
  (void)modelart::Validate(modelart::BuildAll(g, s), g);
  return 0;
}
