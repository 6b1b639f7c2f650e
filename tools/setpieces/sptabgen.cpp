// sptabgen <positions.txt> <zones.txt> <out.cpp>: checks the set-piece
// position tables against the zone table and writes them as C++.
// sptabgen --trees <zones.txt> lists each tree's zone ids (for authoring).
#include <fstream>
#include <iostream>
#include <sstream>

#include "sptabgen.h"
#include "zonegen.h"

namespace {

bool ReadFile(const char* path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path << ": cannot read\n";
    return false;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

bool Zones(const char* path, zonegen::Table* t) {
  std::string text;
  if (!ReadFile(path, &text)) return false;
  std::vector<std::string> errors;
  if (!zonegen::Build(text, t, &errors)) {
    for (const auto& e : errors) std::cerr << path << ": " << e << '\n';
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--trees") {
    zonegen::Table t;
    if (!Zones(argv[2], &t)) return 1;
    const sptabgen::ZoneFacts f = sptabgen::FactsFromZoneTable(t);
    for (std::size_t i = 0; i < f.roots.size(); i++) {
      std::cout << f.roots[i] << ":";
      for (const auto& z : f.zones[i]) std::cout << ' ' << z.id << (z.width > 576 && z.height > 576 ? "" : "!");
      std::cout << '\n';
    }
    return 0;
  }
  if (argc != 4) {
    std::cerr << "usage: sptabgen <positions.txt> <zones.txt> <out.cpp> | sptabgen --trees <zones.txt>\n";
    return 2;
  }
  std::string text;
  if (!ReadFile(argv[1], &text)) return 1;
  zonegen::Table zt;
  if (!Zones(argv[2], &zt)) return 1;
  sptabgen::Tables tables;
  std::vector<std::string> errors;
  if (!sptabgen::Parse(text, argv[1], &tables, &errors) ||
      !sptabgen::Validate(tables, sptabgen::FactsFromZoneTable(zt), &errors)) {
    for (const auto& e : errors) std::cerr << (e.rfind(argv[1], 0) == 0 ? "" : std::string(argv[1]) + ": ") << e << '\n';
    return 1;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << sptabgen::EmitCpp(tables);
  if (!out) {
    std::cerr << argv[3] << ": cannot write\n";
    return 1;
  }
  std::cout << "set-piece positions: " << sptabgen::kRows << " rows checked\n";
  return 0;
}
