// Save files as the load screen restores them: a refused image leaves the
// tournament and the settings as they were; an accepted one saves again to
// an image that restores to the same.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frontend/pcsave.h"
#include "fuzz_support.h"
#include "save_teams.h"
#include "matchflow/options.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmsave.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

void Fresh() {
  tmmain_PoolsReset();
  tmglobal_Reset();
  result_RandSeed(1);
  tmglobal_YearSet(78);
  options_SetDefaults();
  tmsave_YearTextSourceSet(korvena_fuzz::YearText78Source);
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  Fresh();
  // A 1978 history begun, the first team of the first round the human team;
  // then its settings and options at the ends of their ranges, and out of them.
  for (std::uint32_t uKey : {11u, 12u}) {
    const std::string& s = korvena_fuzz::YearText78(uKey);
    history_YearTextParse(s.data(), static_cast<std::int32_t>(s.size()));
  }
  for (Year* y = TheYearList; y; y = y->pNext) history_YearFixturesBuild(y);
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = TheYearList->pConfs->pGroups->pRounds->pTeams->Name;
  tmglobal.bStarted = 1;
  tmglobal.bFinalsLoaded = tmglobal.bQualifiersExtracted = 1;
  if (!pcsave_ImageBuild()) korvena_fuzz::Fail("a begun history does not save");
  korvena_fuzz::WriteSeed(dir, "begun.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  if (pcsave_ImageRestore() != PCSAVE_RESTORE_DONE) korvena_fuzz::Fail("our own save is refused");
  // Its current human team past its one human team (once loaded into a hub
  // without a fixture), and its finals-loaded flag cleared under a tree that
  // holds the finals.
  constexpr std::size_t kGlobal = PCSAVE_SETTINGS_BYTES + 4;
  pcsave_abImage[kGlobal + 48] = 2;
  korvena_fuzz::WriteSeed(dir, "current2.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  pcsave_abImage[kGlobal + 48] = 0;
  pcsave_abImage[kGlobal + 32] = 0;
  korvena_fuzz::WriteSeed(dir, "finals-unloaded.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  options_oBlock.iCamera = 4;
  options_oBlock.iMatchLength = 15;
  options_oBlock.iLevelOfDetail = 4;
  options_oBlock.iMusicVolume = options_oBlock.iSfxVolume = 16;
  if (!pcsave_ImageBuild()) korvena_fuzz::Fail("a begun history does not save");
  korvena_fuzz::WriteSeed(dir, "limits.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  constexpr std::size_t kCamera =
      PCSAVE_SETTINGS_BYTES + 4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS + 4 * 6;
  pcsave_abImage[kCamera] = 99;
  korvena_fuzz::WriteSeed(dir, "camera99.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  Fresh();
  if (!pcsave_ImageBuild()) korvena_fuzz::Fail("an empty tournament does not save");
  korvena_fuzz::WriteSeed(dir, "empty.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  options_oBlock.iPlayerChat = 8;
  options_oBlock.bOffside = 0;
  tmglobal.bHolderOption = 1;
  if (!pcsave_ImageBuild()) korvena_fuzz::Fail("an empty tournament does not save");
  korvena_fuzz::WriteSeed(dir, "settings.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
  // A new qualifier past the name table (once loaded, and the news stopped
  // the game at the next match).
  constexpr std::size_t kNewQualifier = PCSAVE_SETTINGS_BYTES + 4 + 352;
  pcsave_abImage[kNewQualifier] = 205;
  korvena_fuzz::WriteSeed(dir, "newqual205.sav", pcsave_abImage, PCSAVE_IMAGE_SIZE);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > static_cast<size_t>(PCSAVE_IMAGE_SIZE)) return 0;
  Fresh();
  const OptionsBlock o = options_oBlock;
  const std::int32_t iHolder = tmglobal.bHolderOption;
  std::memset(pcsave_abImage, 0, sizeof(pcsave_abImage));
  if (size) std::memcpy(pcsave_abImage, data, size);
  if (pcsave_ImageRestore() != PCSAVE_RESTORE_DONE) {
    if (TheYearList != nullptr || std::memcmp(&o, &options_oBlock, sizeof(o)) != 0 || tmglobal.bHolderOption != iHolder)
      korvena_fuzz::Fail("a refused save changed the game");
    return 0;
  }
  if (options_oBlock.iMusicVolume != o.iMusicVolume || options_oBlock.iSfxVolume != o.iSfxVolume)
    korvena_fuzz::Fail("a load changed the volumes");
  korvena_fuzz::LoadedTeamsShownCheck();
  korvena_fuzz::HumansInTreeCheck();
  korvena_fuzz::CurrentHumanAndYearCheck();
  if (options_oBlock.iCamera < 0 || options_oBlock.iCamera > 4) korvena_fuzz::Fail("a loaded camera option is out of range");
  if (!pcsave_ImageBuild()) korvena_fuzz::Fail("a loaded save does not save");
  const std::vector<std::uint8_t> a(pcsave_abImage, pcsave_abImage + PCSAVE_IMAGE_SIZE);
  if (pcsave_ImageRestore() != PCSAVE_RESTORE_DONE || !pcsave_ImageBuild())
    korvena_fuzz::Fail("a saved image does not load");
  if (std::memcmp(a.data(), pcsave_abImage, PCSAVE_IMAGE_SIZE) != 0) korvena_fuzz::Fail("save, load and save differ");
  return 0;
}
