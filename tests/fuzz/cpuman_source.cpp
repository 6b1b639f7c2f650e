// The computer manager's table source: whatever the generator accepts writes
// back to text that reads as the same rows, and every refusal has a reason.
#include <fstream>
#include <sstream>

#include "cpuman/cpumangen.h"
#include "fuzz_support.h"

namespace {

const cpumangen::Formations& TheFormations() {
  static const cpumangen::Formations f = [] {
    std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/assets/match/formations.txt", std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    cpumangen::Formations out;
    std::string error;
    if (!cpumangen::ParseFormations(ss.str(), &out, &error)) korvena_fuzz::Fail("the formations do not read");
    return out;
  }();
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const cpumangen::Formations& f = TheFormations();
  cpumangen::Table t;
  std::string error;
  if (!cpumangen::Parse(text, "fuzz", f, &t, &error)) {
    if (error.empty()) korvena_fuzz::Fail("a refusal without a reason");
    return 0;
  }
  cpumangen::Table again;
  if (!cpumangen::Parse(cpumangen::Write(t, f), "again", f, &again, &error)) korvena_fuzz::Fail("the text written back does not read");
  if (again.rows != t.rows) korvena_fuzz::Fail("rows changed");
  if (cpumangen::EmitCpp(t).empty()) korvena_fuzz::Fail("no table written");
  return 0;
}
