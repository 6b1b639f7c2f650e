// zonegen: the zone table, the role table and the support grid as C++.
//   zonegen --zones <zones.txt> <out dir>      zone_boxes.cpp, zone_roles.cpp
//   zonegen --grid <support_grid.txt> <out dir> grid_support.cpp
//   zonegen --show <zones.txt> <root> [--flip n]  a tree as an ASCII map
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "zonegen.h"

namespace {

using zonegen::ReadFile;
using zonegen::WriteIfChanged;

int Report(const std::string& src, const std::vector<std::string>& errors) {
  for (const std::string& e : errors) std::cerr << src << ": " << e << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (argc < 4 || (mode != "--zones" && mode != "--grid" && mode != "--show")) {
    std::cerr << "usage: zonegen --zones|--grid <source> <out dir> | --show <source> <root> [--flip n]\n";
    return 2;
  }
  std::string text;
  if (!ReadFile(argv[2], &text)) {
    std::cerr << argv[2] << ": cannot read\n";
    return 1;
  }
  std::vector<std::string> errors;
  if (mode == "--grid") {
    std::vector<std::uint8_t> grid;
    if (!zonegen::BuildGrid(text, &grid, &errors)) return Report(argv[2], errors);
    if (!WriteIfChanged(std::string(argv[3]) + "/grid_support.cpp", zonegen::EmitGrid(grid))) {
      std::cerr << argv[3] << ": cannot write\n";
      return 1;
    }
    return 0;
  }
  zonegen::Table table;
  if (!zonegen::Build(text, &table, &errors) || !zonegen::Validate(table, &errors)) return Report(argv[2], errors);
  if (mode == "--show") {
    int flip = 0;
    if (argc >= 6 && std::string(argv[4]) == "--flip") flip = std::atoi(argv[5]);
    std::cout << zonegen::Show(table, std::atoi(argv[3]), flip);
    return 0;
  }
  std::string dir = argv[3];
  if (!WriteIfChanged(dir + "/zone_boxes.cpp", zonegen::EmitRecords(table)) ||
      !WriteIfChanged(dir + "/zone_roles.cpp", zonegen::EmitRoles(table))) {
    std::cerr << dir << ": cannot write\n";
    return 1;
  }
  return 0;
}
