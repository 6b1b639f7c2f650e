// The kit table reader: any bytes give a table (perhaps empty) whose lines
// the kit choice, the colour reader and the texture names use without
// reading astray; the choice always names two kits and a colour mode.
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "scene3d/kits_slots.h"
#include "scene3d/kits_table.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string table =
      "BRA1970H,T,6,1,1,SS,F5D219,1,1,11,21,21,193CAF,1,2,EEEEEE,1,GK8C8C8C-1C1C1C\n"
      "BRA1970A,T,4,5,1,SS,193CAF,1,1,11,21,21,EEEEEE,1,2,193CAF,1,GK8C8C8C-1C1C1C\n"
      "ARG1958H,T,5,1,1,LS,6EAFE6-EEEEEE,2,2,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C\n"
      "ARG1958A,T,3,5,1,LS,141E5F,1,1,11,21,21,1C1C1C,1,2,141E5F,1,GK19873C-1C1C1C\n"
      "ARG1966H,T,5,1,1,SS,6EAFE6-EEEEEE,2,2,11,21,21,1C1C1C,1,2,EEEEEE,1,GK19873C-1C1C1C\n"
      "ARG1966A,T,3,5,1,SS,141E5F,1,1,11,21,21,1C1C1C,1,2,141E5F,1,GK19873C-1C1C1C\n"
      "ANT1966H,U,1,1,1,SS,antil,GKANT\n";
  korvena_fuzz::WriteSeed(dir, "kits.bin", table.data(), table.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t n = kits_TableParse(reinterpret_cast<const char*>(data), size);
  if (n != kits_TableLineCount()) korvena_fuzz::Fail("the line count disagrees");
  if (n == 0 && kits_pszTableProblem()[0] == 0) korvena_fuzz::Fail("an empty table without a reason");
  static const char* const kTeams[] = {"BRA", "ARG", "CUR", "ANT"};
  for (int32_t i = 0; i < 8; ++i) {
    KitChoice k{};
    kits_ColourEquivalentsFind(&k, kTeams[i % 4], i % 2 == 0 ? 0 : 10, kTeams[(i + 1) % 4], i * 3 % 11);
    if (std::strlen(k.aszName[0]) < 4 || std::strlen(k.aszName[1]) < 4 || k.iColourMode < 0 || k.iColourMode > 2)
      korvena_fuzz::Fail("a choice without two kit names");
    for (int32_t side = 0; side < 2; ++side) {
      KitLook look{};
      const KitEntry* e = kits_poKitEntryFind(k.aszName[side]);
      if (kits_bKitLookRead(e, &look) && (look.iPattern < 1 || look.iPattern > 5)) korvena_fuzz::Fail("a pattern outside 1..5");
      // The texture names made from the line stay within their slots.
      kits_SlotsReset();
      kits_KitNamesSet(side * 16, e, i % 3);
      for (const PlayerTextureSlot& t : kits_aTextureSlots)
        if (std::memchr(t.szName, 0, sizeof t.szName) == nullptr) korvena_fuzz::Fail("an unterminated texture name");
    }
  }
  return 0;
}
