// Builds the kit table from assets/kits/kits.txt and the player database's
// teams, and writes it only when every check passes.
//   korvena_kitgen --assets <assets> --out <data folder> [--stamp <file>]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "art/art_image.h"
#include "kitsource.h"

namespace {
std::string Slurp(const std::string& path, bool* ok) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  *ok = static_cast<bool>(f);
  return s.str();
}
}  // namespace

int main(int argc, char** argv) {
  std::string assets, out, stamp;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--assets") == 0) assets = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    else if (std::strcmp(argv[i], "--stamp") == 0) stamp = argv[i + 1];
  }
  if (assets.empty() || out.empty()) {
    std::fprintf(stderr, "usage: korvena_kitgen --assets <folder> --out <data folder> [--stamp <file>]\n");
    return 2;
  }
  bool ok1 = false, ok2 = false;
  const std::string kits = Slurp(assets + "/kits/kits.txt", &ok1);
  const std::string teams = Slurp(assets + "/database/teams.txt", &ok2);
  if (!ok1 || !ok2) {
    std::fprintf(stderr, "kitgen: cannot read %s\n", !ok1 ? "assets/kits/kits.txt" : "assets/database/teams.txt");
    return 1;
  }
  const kitsource::Source src = kitsource::Read(kits, teams);
  std::vector<std::string> lines = kitsource::Expand(src);
  std::vector<std::string> errors = src.asErrors;
  for (const std::string& e : kitsource::Check(lines)) errors.push_back(e);
  for (const std::string& e : errors) std::fprintf(stderr, "kitgen: %s\n", e.c_str());
  if (!errors.empty()) return 1;
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  const std::string path = out + "/database/pc/kits.bin";
  if (!art::MakeParentDirs(path) || !art::WriteFileAtomic(path, std::vector<uint8_t>(text.begin(), text.end()))) return 1;
  if (!stamp.empty()) {
    std::ofstream s(stamp);
    s << lines.size() << " kit lines\n";
  }
  return 0;
}
