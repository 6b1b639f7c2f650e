// Set-piece script sources: whatever the assembler accepts disassembles to
// text that assembles to the same words.
#include "fuzz_support.h"
#include "setpieces/spasm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  spasm::Program prog;
  std::string error;
  if (!spasm::Assemble(text, "fuzz", &prog, &error)) {
    if (error.empty()) korvena_fuzz::Fail("a refusal without a reason");
    return 0;
  }
  spasm::Program again;
  if (!spasm::Assemble(spasm::Disassemble(prog), "again", &again, &error))
    korvena_fuzz::Fail("the disassembly does not assemble");
  if (again.scripts.size() != prog.scripts.size()) korvena_fuzz::Fail("script count changed");
  for (std::size_t i = 0; i < prog.scripts.size(); ++i)
    if (again.scripts[i].words != prog.scripts[i].words) korvena_fuzz::Fail("words changed");
  return 0;
}
