// progasm: the action program sets and the team trap table as C++.
//   progasm --zones <zones.txt> --programs <programs.txt> --out <dir>
//       checks the programs against the zone and role tables and writes
//       action_program_data.cpp; reports the program and empty-entry counts
//   progasm --zones <zones.txt> --programs <programs.txt> --explain <set>
//       prints the set as an 8 x 8 grid of program names
//   progasm --zones <zones.txt> --programs <programs.txt> --canonical
//       prints the canonical source (what disassembling the table gives)
//   progasm --traps <traps.txt> --anim <assets/anim> --out <dir>
//       checks the trap table against the animation data, writes trap_table.cpp
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "anim/animgen.h"
#include "progasm.h"
#include "zones/zonegen.h"

namespace {

using zonegen::ReadFile;
using zonegen::WriteIfChanged;

int Report(const std::vector<std::string>& errors) {
  for (const std::string& e : errors) std::cerr << e << "\n";
  return 1;
}

int Traps(const std::string& source, const std::string& anim, const std::string& out) {
  std::string text;
  if (!ReadFile(source, &text)) {
    std::cerr << source << ": cannot read\n";
    return 1;
  }
  std::vector<std::string> errors;
  progasm::TrapTable t;
  if (!progasm::ReadTraps(text, source, &t, &errors)) return Report(errors);
  std::map<int, progasm::AnimContact> anims;
  try {
    animgen::Loaded data;
    animgen::LoadAndBuild(anim, data, false);
    for (const animgen::Row& r : data.table.rows) {
      progasm::AnimContact c;
      c.takes = r.type == animgen::kCarry || r.hook == 2;
      auto it = data.built.clips.find(r.clip);
      if (r.contact >= 0 && r.track && it != data.built.clips.end() && it->second.hasTrack &&
          r.contact < it->second.frames) {
        const animgen::Clip& clip = it->second;
        const float* pose = &clip.pose[static_cast<std::size_t>(r.contact) * animgen::kPoseFloats];
        // The ball's centre is 18 above its resting height.
        int h = static_cast<int>(pose[1] * animgen::kUnits) +
                static_cast<int>(clip.track[static_cast<std::size_t>(r.contact) * 3 + 1] * animgen::kUnits) - 18;
        c.height = h < 0 ? 0 : h;
      }
      anims[r.id] = c;
    }
  } catch (const std::exception& e) {
    std::cerr << anim << ": " << e.what() << "\n";
    return 1;
  }
  if (!progasm::CheckTraps(t, anims, source, &errors)) return Report(errors);
  if (!WriteIfChanged(out + "/trap_table.cpp", progasm::EmitTraps(t))) {
    std::cerr << out << ": cannot write\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string zones, programs, out, traps, anim, explain;
  bool canonical = false;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    auto next = [&](std::string* v) {
      if (i + 1 >= argc) return false;
      *v = argv[++i];
      return true;
    };
    bool ok = true;
    if (a == "--zones") ok = next(&zones);
    else if (a == "--programs") ok = next(&programs);
    else if (a == "--out") ok = next(&out);
    else if (a == "--traps") ok = next(&traps);
    else if (a == "--anim") ok = next(&anim);
    else if (a == "--explain") ok = next(&explain);
    else if (a == "--canonical") canonical = true;
    else ok = false;
    if (!ok) {
      std::cerr << "usage: progasm --zones <zones.txt> --programs <programs.txt> (--out <dir> | --explain <set> | "
                   "--canonical)\n       progasm --traps <traps.txt> --anim <anim assets> --out <dir>\n";
      return 2;
    }
  }
  if (!traps.empty()) return Traps(traps, anim, out);

  std::string ztext, ptext;
  if (!ReadFile(zones, &ztext)) {
    std::cerr << zones << ": cannot read\n";
    return 1;
  }
  if (!ReadFile(programs, &ptext)) {
    std::cerr << programs << ": cannot read\n";
    return 1;
  }
  std::vector<std::string> errors;
  zonegen::Table z;
  if (!zonegen::Build(ztext, &z, &errors) || !zonegen::Validate(z, &errors)) {
    for (std::string& e : errors) e = zones + ": " + e;
    return Report(errors);
  }
  progasm::Table t;
  if (!progasm::Assemble(ptext, programs, &t, &errors)) return Report(errors);
  if (!progasm::Validate(t, progasm::RolesFromZones(z), programs, &errors)) return Report(errors);
  if (!explain.empty()) {
    std::cout << progasm::Explain(t, std::atoi(explain.c_str()));
    return 0;
  }
  if (canonical) {
    std::cout << progasm::Disassemble(t);
    return 0;
  }
  if (!WriteIfChanged(out + "/action_program_data.cpp", progasm::Emit(t))) {
    std::cerr << out << ": cannot write\n";
    return 1;
  }
  std::cout << "progasm: " << progasm::DistinctPrograms(t) << " distinct programs, " << progasm::EmptyEntries(t)
            << " entries on the empty program\n";
  return 0;
}
