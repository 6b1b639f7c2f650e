// The program sets and the trap table read by the action pass and the touch
// machine; the data itself is generated (action_program_data.cpp,
// trap_table.cpp in the build tree).
#include "engine/action_programs.h"

#include "engine/action.h"
#include "framework/qdx_assert.h"

const std::uint8_t* action_ProgramGet(std::int32_t iSet, std::int32_t iEntry) {
  QDX_ASSERT(iSet >= 0 && iSet < ACTION_PROGRAM_SETS);
  QDX_ASSERT(iEntry >= 0 && iEntry < ACTION_PROGRAM_ENTRIES);
  return &action_abProgramRecords[action_aauProgramSets[iSet][iEntry]];
}

std::uint32_t trap_AnimGet(std::int32_t iHeightClass) {
  if (iHeightClass < 0) iHeightClass = 0;
  if (iHeightClass >= TRAP_HEIGHT_CLASSES) iHeightClass = TRAP_HEIGHT_CLASSES - 1;
  return trap_auAnims[iHeightClass];
}
