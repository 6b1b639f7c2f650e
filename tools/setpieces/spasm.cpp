// spasm <source> <output.cpp> [--list <disassembly.txt>]: checks the set-piece
// scripts, writes the generated table and prints the word total.
#include <fstream>
#include <iostream>
#include <sstream>

#include "spasm.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::cerr << "usage: spasm <scripts.txt> <out.cpp> [--list <out.txt>]\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  spasm::Program prog;
  std::string error;
  if (!spasm::Assemble(ss.str(), argv[1], &prog, &error)) {
    std::cerr << error << '\n';
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << spasm::EmitCpp(prog);
  if (!out) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  if (argc == 5) {
    std::ofstream list(argv[4], std::ios::binary);
    list << spasm::Disassemble(prog);
  }
  std::cout << "set-piece scripts: " << prog.scripts.size() << " scripts, " << prog.WordTotal() << " words\n";
  return 0;
}
