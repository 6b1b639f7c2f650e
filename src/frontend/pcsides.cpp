// Choosing sides: each controller slides its icon from the middle to the home
// or the away column; select turns the choices into the users' sides.
#include "frontend/pcsides.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "framework/qdx_assert.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/matcha.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "tournament/tla.h"

namespace {

constexpr std::int32_t kModeSides = 11;
constexpr std::int32_t kModeTeams = 9;
constexpr std::int32_t kModeHistoryHub = 47;
constexpr std::int32_t kMovieSides = 163;

#define PCSIDES_RECORD(name, x, y, w, h, priority, visible) \
  { name, x, y, w, h, priority, {}, 255, 0, 0, visible, 0, 1 }

// Column x of the icons, noted from the layout at each entry.
std::int32_t s_xHomeKeyboard = 0, s_xAwayKeyboard = 0, s_xHomeJoypad = 0, s_xAwayJoypad = 0;

bool Training() { return global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING; }
bool HistoryContext() { return global_eGetExtendedGameMode() == kModeHistoryHub; }

std::int32_t RegionX(const char* pszName) { return mregion_XGet(mregion_FindByName(pszName)); }

// Region "<kind><n>" at x (its own x when x < 0) and its own y.
void Icon(const char* pszKind, std::int32_t n, std::int32_t x) {
  char sz[16];
  std::snprintf(sz, sizeof sz, "%s%d", pszKind, static_cast<int>(n));
  const std::int32_t i = mregion_FindByName(sz);
  mregion_Draw(i, x < 0 ? mregion_XGet(i) : x, mregion_YGet(i));
}

// A match team's name centred on a column of the 640 x 480 layout.
void TeamName(const MatchTeam* poTeam, std::int32_t x) {
  const std::int32_t iTeam = match_TeamIdGet(poTeam);
  if (iTeam <= 0) return;
  draw2d_TextColourSet(200, 200, 200, 255);
  draw2d_TextShadowDraw(tla_NameGet(iTeam), pcfe_ScaleX640(static_cast<std::int16_t>(x)),
                        pcfe_ScaleY480(static_cast<std::int16_t>(24)));
}

}  // namespace

// Player n's icons sit on the row of "Pn"; the home and away columns are
// told apart by x when drawn.
const RegionDef pcsides_aoLayout[PCSIDES_RECORDS] = {
    PCSIDES_RECORD("main", 0, 0, 640, 480, 255, 1),      PCSIDES_RECORD("away", 472, 46, 135, 388, 254, 0),
    PCSIDES_RECORD("2", 424, 370, 40, 64, 253, 0),       PCSIDES_RECORD("joypad1", 60, 82, 78, 60, 250, 0),
    PCSIDES_RECORD("joypad2", 501, 166, 78, 60, 250, 0), PCSIDES_RECORD("joypad3", 60, 252, 78, 60, 250, 0),
    PCSIDES_RECORD("joypad4", 501, 336, 78, 60, 250, 0), PCSIDES_RECORD("joystick1", 69, 82, 60, 60, 250, 0),
    PCSIDES_RECORD("joystick2", 510, 166, 60, 60, 250, 0), PCSIDES_RECORD("joystick3", 69, 252, 60, 60, 250, 0),
    PCSIDES_RECORD("joystick4", 510, 336, 60, 60, 250, 0), PCSIDES_RECORD("keyboard1", 58, 88, 85, 48, 250, 0),
    PCSIDES_RECORD("keyboard2", 497, 172, 85, 48, 250, 0), PCSIDES_RECORD("keyboard3", 58, 258, 85, 48, 250, 0),
    PCSIDES_RECORD("keyboard4", 497, 342, 85, 48, 250, 0), PCSIDES_RECORD("P1", 291, 87, 56, 50, 251, 0),
    PCSIDES_RECORD("P2", 291, 171, 56, 50, 251, 0),      PCSIDES_RECORD("P3", 291, 257, 56, 50, 251, 0),
    PCSIDES_RECORD("P4", 291, 341, 56, 50, 251, 0),
};

SidesEntry pcsides_aEntries[PCSIDES_ENTRIES] = {};
std::int32_t pcsides_bNeedsEnter = 1;
std::int32_t pcsides_bKeepEntries = 0;

void pcsides_Reset() { pcsides_bNeedsEnter = 1; }
void pcsides_ChoicesForget() { pcsides_bKeepEntries = 1; }

std::int32_t pcsides_EntryOfPort(const InputPort* pip) {
  if (pip == nullptr) return -1;
  for (std::int32_t i = 0; i < PCSIDES_ENTRIES; ++i)
    if (pcsides_aEntries[i].pip == pip) return i;
  return -1;
}

std::int32_t pcsides_EntryFree() {
  for (std::int32_t i = 0; i < PCSIDES_ENTRIES; ++i)
    if (pcsides_aEntries[i].pip == nullptr) return i;
  return -1;
}

std::int32_t pcsides_ComputerSideGet() {
  std::uint32_t u = 0;
  for (const SidesEntry& e : pcsides_aEntries) u |= e.cSide;
  return u == PCSIDES_HOME ? PCSIDES_AWAY : u == PCSIDES_AWAY ? PCSIDES_HOME : 0;
}

void pcsides_Enter() {
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mregion_Reset();
  for (std::int32_t i = 0; i < PCSIDES_RECORDS; ++i) mregion_Add(&pcsides_aoLayout[i], i, PCSIDES_SHEET);
  pcfe_ScreenSet(PCSIDES_SHEET);
  input_ActiveUsersBind(PCSIDES_BINDING);
  if (pcsides_bKeepEntries)
    for (SidesEntry& e : pcsides_aEntries) e = SidesEntry{};
  match_Clear();
  // The screen's movie: id 163 has no row in the movie table, so nothing plays.
  pcfmv_PlayById(kMovieSides);
  s_xHomeKeyboard = RegionX("keyboard1");
  s_xAwayKeyboard = RegionX("keyboard2");
  s_xHomeJoypad = RegionX("joypad3");
  s_xAwayJoypad = RegionX("joypad4");
  game_UsersReset();
  input_PortsReinit();
}

void pcsides_Draw() {
  mregion_DrawByName("main");
  for (std::int32_t i = 0; i < PCSIDES_ENTRIES; ++i) {
    const SidesEntry& e = pcsides_aEntries[i];
    const std::int32_t n = i + 1;
    if (e.cSide == PCSIDES_NONE || e.pip == nullptr) {
      Icon("P", n, -1);
      continue;
    }
    const bool bHome = e.cSide == PCSIDES_HOME;
    if (input_iGetDeviceType(e.pip) == INPUT_DEVICE_KEYBOARD) Icon("keyboard", n, bHome ? s_xHomeKeyboard : s_xAwayKeyboard);
    else Icon("joypad", n, bHome ? s_xHomeJoypad : s_xAwayJoypad);
  }
  if (!Training()) {
    mregion_DrawByName("away");
    mregion_DrawByName("2");
  }
  if (HistoryContext()) {
    pctext_FontSet(2);
    TeamName(match_HomeTeamGet(), 100);
    TeamName(match_AwayTeamGet(), 539);
    pctext_FontSet(0);
  }
}

std::int32_t pcsides_Input(std::int32_t iPort) {
  InputPort* pip = input_poGetPort(iPort);
  if (pip == nullptr) return kModeSides;
  if (pcfe_bEscapeHeld()) {
    sfx_Play(2);
    return HistoryContext() ? kModeHistoryHub : GAME_MODE_MAIN_MENU;
  }
  std::int32_t eNext = kModeSides;
  while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    const std::int32_t iEntry = pcsides_EntryOfPort(pip);
    switch (poEvent->eEvent) {
      case 10:
        sfx_Play(0);
        if (iEntry < 0) {
          const std::int32_t iFree = pcsides_EntryFree();
          if (iFree >= 0) pcsides_aEntries[iFree] = SidesEntry{PCSIDES_HOME, 0, pip};
        } else if (pcsides_aEntries[iEntry].cSide == PCSIDES_AWAY) {
          pcsides_aEntries[iEntry] = SidesEntry{};
        }
        break;
      case 11:
        sfx_Play(0);
        if (iEntry < 0) {
          const std::int32_t iFree = pcsides_EntryFree();
          if (iFree >= 0 && !Training()) pcsides_aEntries[iFree] = SidesEntry{PCSIDES_AWAY, 0, pip};
        } else if (pcsides_aEntries[iEntry].cSide == PCSIDES_HOME) {
          pcsides_aEntries[iEntry] = SidesEntry{};
        }
        break;
      case 37:
        if (iEntry < 0) break;
        sfx_Play(1);
        if (global_eGetExtendedGameMode() == GAME_MODE_QUICK_START) {
          eNext = GAME_MODE_QUICK_START;
        } else {
          input_ActiveUsersPortMarkSet();
          eNext = kModeTeams;
        }
        break;
      case 38:
        sfx_Play(2);
        eNext = HistoryContext() ? kModeHistoryHub : GAME_MODE_MAIN_MENU;
        break;
      default:
        break;
    }
    input_EventFree(&poEvent);
  }
  return eNext;
}

void pcsides_Commit() {
  for (std::int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    if (pip == nullptr || pcsides_EntryOfPort(pip) >= 0) continue;
    pip->bInUse = 0;
    input_PortPendingClear(pip);
    pip->pusr = nullptr;
  }
}

void pcsides_Run() {
  if (pcsides_bNeedsEnter) {
    pcsides_Enter();
    pcsides_bNeedsEnter = 0;
  }
  pcsides_Draw();
  mhelp_ScreenHook();
  std::int32_t eNext = kModeSides;
  for (std::int32_t i = 0; i < input_iGetPortCount(); ++i) {
    input_PortBindingSet(PCSIDES_BINDING, input_poGetPort(i));
    if (mhelp_bHelpShownGet()) continue;
    const std::int32_t e = pcsides_Input(i);
    if (e != kModeSides) eNext = e;
  }
  switch (eNext) {
    case kModeSides:
      return;
    case kModeTeams:
    case GAME_MODE_QUICK_START: {
      pcsides_Commit();
      global_SetHomeUser(nullptr);
      global_SetAwayUser(nullptr);
      for (std::int32_t i = 0; i < PCSIDES_ENTRIES; ++i) {
        User& u = user_aUsers[i];
        const SidesEntry& e = pcsides_aEntries[i];
        u.MyTeam = e.pip != nullptr ? static_cast<std::int32_t>(e.cSide) : 0;
        if (u.MyTeam == PCSIDES_NONE) continue;
        u.pip = e.pip;
        e.pip->pusr = &u;
        u.bAttachPending = 1;
        input_bUserActivate(&u);
        debuglog_Printf("sides: user %d side %d port %d device %d\n", static_cast<int>(i), static_cast<int>(u.MyTeam),
                        static_cast<int>(u.pip->iIndex), static_cast<int>(input_iGetDeviceType(u.pip)));
        if (u.MyTeam == PCSIDES_HOME && global_poGetHomeUser() == nullptr) global_SetHomeUser(&u);
        if (u.MyTeam == PCSIDES_AWAY && global_poGetAwayUser() == nullptr) global_SetAwayUser(&u);
      }
      global_SetGameMode(static_cast<GameMode>(eNext));
      pcsides_bNeedsEnter = 1;
      pcsides_bKeepEntries = 0;
      return;
    }
    // Back or Escape: to the main menu, or to the history hub it came from.
    case GAME_MODE_MAIN_MENU:
    case GAME_MODE_RETURN_TO_MAIN_MENU:
    case kModeHistoryHub:
      global_SetGameMode(static_cast<GameMode>(eNext));
      input_FirstFreeUserAttach();
      return;
    default:
      QDX_ASSERT(!"a choose-sides result");
      return;
  }
}
