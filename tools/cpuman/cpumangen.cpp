// cpumangen <cpuman.txt> <formations.txt> <out.cpp>: checks the computer
// manager's change table against the formations and writes it as C++.
#include <fstream>
#include <iostream>
#include <sstream>

#include "cpumangen.h"

static bool Read(const char* path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: cpumangen <cpuman.txt> <formations.txt> <out.cpp>\n";
    return 2;
  }
  std::string table, formations, error;
  if (!Read(argv[1], &table) || !Read(argv[2], &formations)) {
    std::cerr << "cpumangen: cannot read the sources\n";
    return 1;
  }
  cpumangen::Formations f;
  cpumangen::Table t;
  if (!cpumangen::ParseFormations(formations, &f, &error) || !cpumangen::Parse(table, argv[1], f, &t, &error)) {
    std::cerr << error << '\n';
    return 1;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << cpumangen::EmitCpp(t);
  if (!out) {
    std::cerr << argv[3] << ": cannot write\n";
    return 1;
  }
  return 0;
}
