// The match environment: stadium look, night and pitch.
#include "matchflow/environ.h"

#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "shell/debuglog.h"
#include "shell/global.h"
#include "tournament/tournament_services.h"

Environment environ_oEnvironment = {0, ENVIRON_LOOK_DEFAULT, 0, 0, 0, 0, ENVIRON_PITCH_DEFAULT, 0};

namespace {

// The kind of game set up through the quick match (next to the friendly, 50,
// the games set up through the match-conditions screens).
constexpr GameMode kQuickMatchKind = static_cast<GameMode>(74);

std::int32_t RandomBit() { return static_cast<std::int32_t>((QMathRandNext() >> 12) & 1); }
std::int32_t RandomTwoBits() { return static_cast<std::int32_t>((QMathRandNext() >> 12) & 3); }

void Special(std::int32_t iLook) {
  Environment& e = environ_oEnvironment;
  e.iLook = iLook;
  e.iVariant = 0;
  e.iRandomBit = 0;
  environ_NightChoose();
}

}  // namespace

void environ_Reset() {
  Environment& e = environ_oEnvironment;
  e.iLook = ENVIRON_LOOK_DEFAULT;
  e.iVariant = 0;
  e.iRandomBit = 0;
  e.bNight = 0;
  e.iLights = 0;
}

void environ_PitchReset() {
  environ_oEnvironment.iPitchType = ENVIRON_PITCH_DEFAULT;
  environ_oEnvironment.iPitchWear = 0;
}

void environ_StadiumSet(std::int32_t iId) { environ_oEnvironment.StadiumID = iId; }
std::int32_t environ_StadiumGet() { return environ_oEnvironment.StadiumID; }

void environ_NightChoose() {
  Environment& e = environ_oEnvironment;
  const GameMode eKind = global_eGetExtendedGameMode();
  if (eKind != GAME_MODE_START_FRIENDLY && eKind != kQuickMatchKind) e.bNight = RandomBit();
  else e.bNight = mcondi_DayNightGet() == 1 ? 0 : 1;
  e.iLights = e.bNight;
}

void environ_Choose() {
  Environment& e = environ_oEnvironment;
  const std::int32_t iId = e.StadiumID;
  if (!stadium_SpecialGet(iId) || iId == 247) {
    e.iLook = stadium_ModelGet(iId);
    e.iVariant = iId & 3;
    e.iRandomBit = RandomBit();
    environ_NightChoose();
    return;
  }
  switch (iId) {
    case 71: Special(20); return;
    case 107: Special(18); return;
    case 157: Special(19); return;
    case 174: Special(23); return;
    case 300: Special(22); return;
    case 117:
    case 125:
      environ_NightChoose();
      e.iVariant = 0;
      e.iRandomBit = 0;
      if (e.bNight) {
        e.iLook = 24;
      } else {
        e.iLook = 17;
        e.iLights = 5;
      }
      return;
    default:
      debuglog_Printf("Ooops!!! Stadium gone missing! [ID:%d]\n", iId);
      QDX_ASSERT(!"special stadium without a look");
  }
}

void environ_PitchChoose() {
  Environment& e = environ_oEnvironment;
  const std::int32_t iPitch = stadium_PitchGet(e.StadiumID);
  e.iPitchWear = 0;
  switch (iPitch) {
    case 0:
    case 1:
    case 2:
    case 4:
      e.iPitchType = iPitch;
      return;
    case 3: {
      // Two random bits, 3 counting as 0: 0 twice as often as 1 or 2.
      const std::int32_t r = RandomTwoBits();
      e.iPitchType = r == 3 ? 0 : r;
      return;
    }
    default:
      debuglog_Printf("No pitch: %d\n", iPitch);
      QDX_ASSERT(!"pitch type outside 0..4");
  }
}

std::int32_t environ_LightsSet(std::int32_t bFlag) {
  environ_oEnvironment.iLights = bFlag != 0;
  return environ_oEnvironment.iLights;
}
std::int32_t environ_LookGet() { return environ_oEnvironment.iLook; }
std::int32_t environ_VariantGet() { return environ_oEnvironment.iVariant; }
std::int32_t environ_RandomBitGet() { return environ_oEnvironment.iRandomBit; }
std::int32_t environ_bIsNight() { return environ_oEnvironment.bNight; }
std::int32_t environ_LightsGet() { return environ_oEnvironment.iLights; }
std::int32_t environ_PitchTypeGet() { return environ_oEnvironment.iPitchType; }
std::int32_t environ_PitchWearGet() { return environ_oEnvironment.iPitchWear; }
