// Builds the kit table from assets/kits/kits.txt and the player database's
// teams, and writes it only when every check passes.
//   korvena_kitgen --assets <assets> --out <data folder> [--stamp <file>]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "art/art_image.h"
#include "kitart.h"
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
  // The players' textures: the kits the table names, heads, skin, boots,
  // numbers, and the unique heads (folder and skin set of each line).
  bool ok3 = false;
  std::vector<std::string> uniques;
  std::istringstream uin(Slurp(assets + "/database/unique_heads.txt", &ok3));
  for (std::string l; std::getline(uin, l);) {
    if (l.empty() || l[0] == '#') continue;
    std::vector<std::string> f;
    std::istringstream fin(l);
    for (std::string x; std::getline(fin, x, '\t');) f.push_back(x);
    if (f.size() >= 6) uniques.push_back(f[0] + " " + f[5]);
  }
  const int written = kitart::WriteAll(lines, uniques, out + "/textures");
  if (written < 0) {
    std::fprintf(stderr, "kitgen: a texture cannot be written under %s/textures\n", out.c_str());
    return 1;
  }
  const std::vector<std::string> missing = kitsource::CheckUniqueTextures(lines, out + "/textures");
  for (const std::string& e : missing) std::fprintf(stderr, "kitgen: %s\n", e.c_str());
  if (!missing.empty()) return 1;
  if (!stamp.empty()) {
    std::ofstream s(stamp);
    s << lines.size() << " kit lines, " << written << " textures\n";
  }
  return 0;
}
