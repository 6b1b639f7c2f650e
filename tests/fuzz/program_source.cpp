// Action program sources: whatever the assembler accepts disassembles to a
// source that assembles to the same table, and the checks run on it
// without a fault.
#include "fuzz_support.h"
#include "programs/progasm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  progasm::Table t;
  std::vector<std::string> errors;
  if (!progasm::Assemble(text, "fuzz", &t, &errors)) {
    if (errors.empty()) korvena_fuzz::Fail("a refusal without a reason");
    return 0;
  }
  progasm::Roles roles;
  roles.uses[0].push_back(progasm::SetUse{8, 1, 1});
  roles.uses[1].push_back(progasm::SetUse{8, 2, 2});
  roles.treeIds[1] = {0, 1, 8};
  roles.treeIds[2] = {0, 1};
  progasm::Validate(t, roles, "fuzz", &errors);
  (void)progasm::Explain(t, 0);
  progasm::Table again;
  if (!progasm::Assemble(progasm::Disassemble(t), "again", &again, &errors))
    korvena_fuzz::Fail("the disassembly does not assemble");
  if (again.bytes != t.bytes) korvena_fuzz::Fail("records changed");
  for (int s = 0; s < progasm::kSets; s++)
    for (int e = 0; e < progasm::kEntries; e++)
      if (again.programs[again.sets[s][e]].offset != t.programs[t.sets[s][e]].offset)
        korvena_fuzz::Fail("set table changed");
  return 0;
}
