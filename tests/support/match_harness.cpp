// The headless match harness.
#include "support/match_harness.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/target.h"
#include "engine/team.h"
#include "framework/math/qrand.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/mflow_services.h"
#include "matchflow/replay.h"
#include "matchflow/usrctl.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "scene3d/pcframe.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "support/temp_dir.h"
#include "tournament/squad.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace fs = std::filesystem;

namespace match_harness {

const char* const kGroupNames[kGroups] = {"players", "ball", "referee", "match", "clock", "modes", "random"};

namespace {

bool g_bSetUp = false;
bool g_bInMatchTick = false;
fs::path g_oRoot;

struct Fnv {
  std::uint64_t h = 0xCBF29CE484222325ull;
  void Add(std::int64_t v) {
    std::uint64_t u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; i++) {
      h ^= (u >> (8 * i)) & 0xFF;
      h *= 0x100000001B3ull;
    }
  }
  void Ptr(const Player* pp) { Add(pp ? pp->ID : -1); }
};

void PlayerAdd(Fnv& f, const Player& p) {
  f.Add(p.ID);
  f.Add(p.Control);
  f.Add(p.MyTeam);
  f.Add(p.Direction);
  f.Add(p.PositionCode);
  f.Add(p.MoveState);
  f.Add(p.iFacing);
  f.Add(p.uWantedFacing);
  f.Add(p.iDisplayFacing);
  f.Add(p.x);
  f.Add(p.y);
  f.Add(p.height);
  f.Add(p.iSpeed);
  f.Add(p.iWantedSpeed);
  f.Add(p.uStamina);
  f.Add(p.uPower);
  f.Add(p.iKnocks);
  f.Add(p.oAnimData.eActionAnim);
  f.Add(p.oAnimData.uPos);
  f.Add(p.oAnimData.uFlags);
  f.Add(p.oAnimInfo.eActionAnim);
  f.Add(p.oTouch.iState);
  f.Add(p.oTouch.iTimer);
  f.Add(p.oSetPiece.iPosState);
  f.Add(p.oSetPiece.iTargetX);
  f.Add(p.oSetPiece.iTargetY);
}

}  // namespace

std::uint64_t Hash::Combined() const {
  Fnv f;
  for (std::uint64_t u : au) f.Add(static_cast<std::int64_t>(u));
  return f.h;
}

Hash StateHash() {
  Hash o;
  {
    Fnv f;
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) PlayerAdd(f, player_aHome[i]);
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) PlayerAdd(f, player_aAway[i]);
    o.au[kPlayers] = f.h;
  }
  {
    Fnv f;
    const Ball& b = ball_oBall;
    f.Add(b.iX128);
    f.Add(b.iHeight128);
    f.Add(b.iY128);
    f.Add(b.iState);
    f.Add(b.iKind);
    f.Add(b.iHeading);
    f.Add(b.iT);
    f.Ptr(b.poOwner);
    o.au[kBall] = f.h;
  }
  {
    Fnv f;
    PlayerAdd(f, player_oReferee);
    f.Add(referee_MatchOverGet());
    f.Add(referee_GoldenGoalGet());
    o.au[kReferee] = f.h;
  }
  {
    Fnv f;
    f.Add(match.HomeGoals);
    f.Add(match.AwayGoals);
    f.Add(match.CoinToss);
    f.Add(match_HomeClubStateGet());
    f.Add(match_AwayClubStateGet());
    f.Add(match.HomeTeam.KickOff);
    f.Add(match.AwayTeam.KickOff);
    for (const MatchTeam* t : {&match.HomeTeam, &match.AwayTeam}) {
      const MatchStats& s = t->MatchStats;
      f.Add(gstatso_GoalCountGet(&s));
      f.Add(gstatso_ShotsGet(&s));
      f.Add(gstatso_OnTargetGet(&s));
      f.Add(gstatso_PossessionGet(&s));
      f.Add(gstatso_CornersGet(&s));
      f.Add(gstatso_FreeKicksGet(&s));
      f.Add(gstatso_BookedGet(&s));
      f.Add(t->iSubsAllowed);
    }
    f.Add(tmglobal_MatchPhaseGet());
    o.au[kMatch] = f.h;
  }
  {
    Fnv f;
    const MatchClock& c = clock_oClock;
    f.Add(c.iClock);
    f.Add(c.iStep);
    f.Add(c.iPeriod);
    f.Add(c.iRunState);
    for (std::int32_t e : c.aiPeriodEnd) f.Add(e);
    f.Add(c.bPeriodOver);
    o.au[kClock] = f.h;
  }
  {
    Fnv f;
    f.Add(global.eGameMode);
    f.Add(global.iStackPointer);
    for (std::int32_t i = 0; i < global.iStackPointer && i < GLOBAL_GAME_MODE_STACK_MAX; i++)
      f.Add(global.aStack[i].eMode);
    f.Add(matchstart_StepGet());
    f.Add(kickoffwait_CounterGet());
    f.Add(matchflow_LineupPhaseGet());
    f.Add(periodbreak_PhaseGet());
    f.Add(mftime_StepGet());
    f.Add(mftime_NextModeGet());
    f.Add(celebrate_CounterGet());
    f.Add(setp_CommandGet());
    const MPensoState& m = mpenso_oState;
    f.Add(m.iRow);
    f.Add(m.aiGoals[0]);
    f.Add(m.aiGoals[1]);
    f.Add(m.iPhase);
    f.Add(m.cTotal);
    f.Add(m.iNextKick);
    f.Add(replay_oState.bRecording);
    if (replay_oState.bRecording) f.Add(replay_oState.iIndex);
    f.Add(caption_oState.iPending);
    f.Add(caption_oState.iType);
    o.au[kModes] = f.h;
  }
  {
    Fnv f;
    QMathRandState r;
    QMathRandStateSave(&r);
    for (std::uint32_t u : r.table) f.Add(u);
    f.Add(r.j);
    f.Add(r.k);
    o.au[kRandom] = f.h;
  }
  return o;
}

namespace {

fs::path g_oDump;

// A temporary folder of this process's own with the player database in it,
// the data and settings folders pointed at it.
bool FolderMake(std::string* pWhy) {
  std::string oTemplate = (fs::temp_directory_path() / "korvena-match-XXXXXX").string();
  if (!mkdtemp(oTemplate.data())) {
    if (pWhy) *pWhy = "no temporary folder";
    return false;
  }
  g_oRoot = oTemplate;
  fs::create_directories(g_oRoot / "bin");
  fs::create_directories(g_oRoot / "data" / "database" / "dump");
  fs::create_directories(g_oRoot / "run");
  fs::copy_file(g_oDump, g_oRoot / "data" / "database" / "dump" / "dump.dat");
  setenv("XDG_CONFIG_HOME", (g_oRoot / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (g_oRoot / "share").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (g_oRoot / "run").c_str(), 1);
  return true;
}

void FolderPoint() {
  platform::setExecutableDir((g_oRoot / "bin").string());
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, (g_oRoot / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User, (g_oRoot / "user.txt").string());
}

}  // namespace

bool Setup(std::string* pWhy) {
  if (g_bSetUp) return true;
  // The build tree: KORVENA_BUILD_DIR, else the folder above the program's.
  const char* pszBuild = std::getenv("KORVENA_BUILD_DIR");
  std::error_code oErr;
  const fs::path oBuild = pszBuild ? fs::path(pszBuild) : fs::read_symlink("/proc/self/exe", oErr).parent_path().parent_path();
  g_oDump = oBuild / "data" / "database" / "dump" / "dump.dat";
  if (!fs::exists(g_oDump)) {
    if (pWhy) *pWhy = "no player database at " + g_oDump.string();
    return false;
  }
  if (!FolderMake(pWhy)) return false;
  std::string oWhy;
  if (!platform::isRunning() && !platform::init(platform::BackendKind::Headless, &oWhy)) {
    if (pWhy) *pWhy = oWhy;
    return false;
  }
  FolderPoint();
  QKeyboardSetup(0);
  game_UsersReset();
  input_BindingTablesClear();
  input_PortsInit();
  input_DefaultBindingsRegister();
  pcframe_Init();
  // The clip table filled, as after a first match: the referee's set-up at
  // the match start asks for a clip only once the table is there.
  anim_TableInit();
  // Without a display the match runs without its 3D scene.
  matchstart_SceneInitSet([] {});
  g_bSetUp = true;
  std::atexit([] {
    std::error_code e;
    fs::remove_all(g_oRoot, e);
  });
  return true;
}

bool FolderOwn(std::string* pWhy) {
  if (!g_bSetUp) return Setup(pWhy);
  if (!FolderMake(pWhy)) return false;
  FolderPoint();
  return true;
}

void FolderRemove() {
  std::error_code e;
  fs::remove_all(g_oRoot, e);
}

bool InMatchTick() { return g_bInMatchTick; }

namespace {
constexpr std::int32_t kFunctionPass = 4;
}  // namespace

std::vector<Command> PassTaps(std::int32_t iEvery, std::int32_t iUntil, std::int32_t iFirst) {
  std::vector<Command> a;
  for (std::int32_t t = iFirst; iEvery > 0 && t <= iUntil; t += iEvery) {
    a.push_back(Command{t, -kFunctionPass, 0, 1});
    a.push_back(Command{t + 1, -kFunctionPass, 0, 0});
  }
  return a;
}

std::vector<Command> OneTwoTaps(std::int32_t iEvery, std::int32_t iUntil) {
  std::vector<Command> a;
  for (std::int32_t t = 0; iEvery > 0 && t <= iUntil; t += iEvery) {
    a.push_back(Command{t, 153, 0, 0});
    a.push_back(Command{t + iEvery / 2, 63, 0, 0});
  }
  return a;
}

ShotOrigin ShotOriginOf(std::int32_t x, std::int32_t y, std::int32_t iGoalSign) {
  const std::int32_t iFromLine = BALL_GOAL_LINE_X - (iGoalSign < 0 ? -x : x);
  if (iFromLine <= kPenaltyAreaDepth && std::abs(y) <= kPenaltyAreaHalfWidth) return kShotInArea;
  return iFromLine <= 25 * kUnitsPerYard ? kShotWithin25 : kShotBeyond25;
}

void SeedRestore(std::uint32_t uSeed) {
  QMathRandState r{};
  std::uint64_t x = 0x9E3779B97F4A7C15ull ^ uSeed;
  for (std::int32_t i = 1; i <= 55; i++) {
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    r.table[i] = static_cast<std::uint32_t>((x * 0x2545F4914F6CDD1Dull) >> 32);
  }
  r.table[1] |= 1;  // an additive generator needs an odd word
  r.j = 24;
  r.k = 55;
  QMathRandStateRestore(&r);
}

namespace {

// The monkey: seeded presses of what a player would do. It moves the stick,
// charges a kick of a random kind (press, held some ticks, release: passes,
// chips, kicks ahead, shots and crosses in open play, the aim and kick at a
// set piece), kicks at the target point, takes kick-offs, switches players,
// sprints, celebrates and skips captions.
struct Monkey {
  std::uint32_t s;
  std::int32_t aiHeld[2] = {0, 0};   // the press event of the kick being charged
  std::int32_t aiLeft[2] = {0, 0};   // ticks until its release
  std::uint32_t Next(std::uint32_t n) {
    s = s * 1103515245u + 12345u;
    return (s >> 8) % n;
  }
};

void EventPost(User* pusr, std::int32_t iEvent) {
  if (!pusr || !pusr->pip) return;
  InputEvent* pe = nullptr;
  if (!input_bEventAlloc(&pe)) return;
  pe->eEvent = iEvent;
  pe->pWidget = nullptr;
  queue_Append(&pusr->pip->oEvents, &pe->oLink);
}

// The users: user 0 on port 0 always (it answers the replay and the end
// choice); a user side takes user 0 (home) or user 1 (away).
User* SideUser(std::int32_t k) { return &user_aUsers[k]; }

void UsersSet(const Config& c) {
  game_UsersReset();
  for (std::int32_t k = 0; k < 2; k++) {
    const bool bPlays = c.aeSide[k] != SideKind::Computer;
    if (k == 1 && !bPlays) continue;
    InputPort* pip = input_poGetPort(k);
    if (!pip) continue;
    pip->bInUse = 1;
    pip->bEventsEnabled = 1;
    input_PortBindingSet(1, pip);
    User& u = user_aUsers[k];
    u.pip = pip;
    u.bActive = 1;
    u.iIndex = k;
    u.MyTeam = bPlays ? (k == 0 ? player_PlaysFor_Home : player_PlaysFor_Away) : 0;
    pip->pusr = &u;
  }
  global_SetHomeUser(c.aeSide[0] != SideKind::Computer ? &user_aUsers[0] : nullptr);
  global_SetAwayUser(c.aeSide[1] != SideKind::Computer ? &user_aUsers[1] : nullptr);
}

// The pad buttons of the two sides held down: bit w for widget w.
std::uint32_t g_auButtons[2];

std::int32_t WidgetOf(const User* pusr, std::int32_t eFunction) {
  const std::int32_t w = gmewidg_eGetWidget(eFunction, pusr->pip->cConfig);
  return w > 0 && w < INPUT_WIDGETS_MAX ? w : 0;
}

// The events of a side's pad buttons this tick, from the port's active
// binding table as the input task makes them: every function read from a
// widget gives its press, held (down this tick and the tick before) and
// release events.
void ButtonEvents(User* pusr, std::uint32_t uWas, std::uint32_t uNow) {
  for (const InputPortBinding* pe = pusr->pip->pipbInputPortBinding; pe->eTrigger != INPUT_TRIGGER_END; ++pe) {
    const std::int32_t w = WidgetOf(pusr, static_cast<std::int32_t>(pe->eFunction));
    if (w == 0) continue;
    const bool bPrev = (uWas >> w) & 1u, bCur = (uNow >> w) & 1u;
    if ((pe->eTrigger == INPUT_TRIGGER_PRESS && !bPrev && bCur) ||
        (pe->eTrigger == INPUT_TRIGGER_RELEASE && bPrev && !bCur) ||
        (pe->eTrigger == INPUT_TRIGGER_HELD && bPrev && bCur))
      EventPost(pusr, static_cast<std::int32_t>(pe->eEvent));
  }
}

void Inputs(const Config& c, std::int32_t iTick, Monkey* pm, std::size_t* aiNext) {
  for (std::int32_t k = 0; k < 2; k++) {
    User* pusr = SideUser(k);
    // User 0 is always there: commands for side 0 reach it even while the
    // computer plays the home side (it then answers as a spectator).
    if (c.aeSide[k] == SideKind::User || (k == 0 && c.aeSide[0] == SideKind::Computer)) {
      const std::vector<Command>& a = c.aoCommands[k];
      const std::uint32_t uWas = g_auButtons[k];
      const bool bPad = pusr && pusr->pip && pusr->pip->pipbInputPortBinding;
      while (aiNext[k] < a.size() && a[aiNext[k]].iTick <= iTick) {
        const Command& cmd = a[aiNext[k]++];
        if (cmd.iTick < iTick) continue;
        if (cmd.iEvent < 0) {
          const std::int32_t w = bPad ? WidgetOf(pusr, -cmd.iEvent) : 0;
          if (w == 0) continue;
          g_auButtons[k] = cmd.iMagnitude ? g_auButtons[k] | 1u << w : g_auButtons[k] & ~(1u << w);
          continue;
        }
        if (cmd.iEvent == 23)
          pusr->uStickDirection = (static_cast<std::uint32_t>(cmd.iDegrees) << 16) | static_cast<std::uint32_t>(cmd.iMagnitude);
        EventPost(pusr, cmd.iEvent);
      }
      if (bPad && (uWas | g_auButtons[k])) ButtonEvents(pusr, uWas, g_auButtons[k]);
    } else if (c.aeSide[k] == SideKind::Monkey) {
      if (pm->aiHeld[k]) {
        // Held, then released: the press's event + 1 each tick, + 2 at the end.
        EventPost(pusr, --pm->aiLeft[k] > 0 ? pm->aiHeld[k] + 1 : pm->aiHeld[k] + 2);
        if (pm->aiLeft[k] <= 0) pm->aiHeld[k] = 0;
        continue;
      }
      if (pm->Next(6) != 0) continue;
      // Open play and set pieces: stick, kicks charged (pass, chip, kick
      // ahead, shot, cross; the keeper's pass and chip), target-point kicks;
      // restarts: kick-off, throw, the keeper's kick, the penalty shot, the
      // keeper putting the ball down; player switch, sprint, celebrations, skip.
      static const std::int32_t kEvents[] = {23,  23,  23,  23,  26,  26,  26,  29, 48, 53, 53, 58, 74, 77, 129, 130,
                                             131, 63,  63,  73,  163, 162, 95,  25, 33, 120, 122, 124, 37};
      const std::int32_t e = kEvents[pm->Next(sizeof kEvents / sizeof kEvents[0])];
      if (e == 23) pusr->uStickDirection = (pm->Next(360) << 16) | pm->Next(129);
      if (e == 26 || e == 29 || e == 48 || e == 53 || e == 58 || e == 74 || e == 77) {
        pm->aiHeld[k] = e;
        pm->aiLeft[k] = 1 + static_cast<std::int32_t>(pm->Next(24));
      }
      EventPost(pusr, e);
    }
  }
}

// What the harness reads of the match each tick up to full time, into the
// result's full-time figures. It only reads.
struct FullTimeWatch {
  std::int32_t aiShots[2] = {}, aiGoals[2] = {}, aiCorners[2] = {}, cFreeKicks = 0, cCalls = 0;
  std::int32_t aiMoveState[22] = {};
  bool bShotFlying = false;  // the ball free in a shot's flight
  // Struck shots: each player's kick waiting for its contact on the tick
  // before, and the strike followed (its striker, side, whether it was bound
  // for the goal, the side's goals when it was struck).
  AnimContactFn apfnContact[22] = {};
  const Player* poStriker = nullptr;
  std::int32_t iStrikeSide = 0, iStrikeGoals = 0;
  bool bStrikeBound = false;

  static const MatchStats& Stats(std::int32_t k) { return (k == 0 ? match.HomeTeam : match.AwayTeam).MatchStats; }
  static const Player& PlayerAt(std::int32_t i) { return i < 11 ? player_aHome[i] : player_aAway[i - 11]; }
  // The end a side attacks: -1 the goal at -x, +1 the one at +x.
  static std::int32_t GoalSignOf(const Player& p) { return p.Direction == 0 ? -1 : 1; }

  // The counts as they stand; a count that drops was cleared by the match's
  // set-up (the last match's left until then), and is followed from there.
  void Start() {
    for (std::int32_t k = 0; k < 2; k++) {
      aiShots[k] = gstatso_ShotsGet(&Stats(k));
      aiGoals[k] = gstatso_GoalCountGet(&Stats(k));
      aiCorners[k] = gstatso_CornersGet(&Stats(k));
    }
    cFreeKicks = gstatso_FreeKicksGet(&Stats(0)) + gstatso_FreeKicksGet(&Stats(1));
    cCalls = referee_oLastCall.cCalls;
    for (std::int32_t i = 0; i < 22; i++) aiMoveState[i] = PlayerAt(i).MoveState;
    const Ball& b = ball_oBall;
    bShotFlying = b.iKind == BALL_KIND_SHOT && b.iState == BALL_STATE_FREE && b.poOwner == nullptr;
    for (std::int32_t i = 0; i < 22; i++) apfnContact[i] = PlayerAt(i).oAnimData.pfnContact;
    poStriker = nullptr;
  }

  static bool Shooting(AnimContactFn pfn) {
    return pfn == target_DoShotRandom || pfn == target_DoShotMedium || pfn == target_DoShotFull ||
           pfn == target_DoShotByMode || pfn == target_DoChip70 || pfn == target_DoShotAtPoint;
  }
  static std::int32_t SideOf(const Player& p) { return p.MyTeam == player_PlaysFor_Home ? 0 : 1; }
  static std::int32_t GoalsOf(std::int32_t k) { return k == 0 ? match.HomeGoals : match.AwayGoals; }

  // The strike followed to its end: the net, the first touch of anyone but
  // the striker, or the ball out of open play.
  void StrikeFollow(Result::FullTime* pf) {
    if (poStriker == nullptr) return;
    const Ball& b = ball_oBall;
    const std::int32_t k = iStrikeSide;
    const Player* poToucher = b.poOwner != nullptr ? b.poOwner : b.pplyrWhoKicked;
    if (GoalsOf(k) > iStrikeGoals) {
      pf->aiStruckOnTarget[k]++;
      pf->aiStruckScored[k]++;
    } else if (poToucher != poStriker) {
      const bool bKeeper = poToucher != nullptr && player_IsGoalkeeper(poToucher) && SideOf(*poToucher) != k;
      if (bKeeper && bStrikeBound) {
        pf->aiStruckOnTarget[k]++;
        pf->aiKeeperSaves[k]++;
      }
    } else if (global.eGameMode == GAME_MODE_PLAY || global.eGameMode == GAME_MODE_PLAY_ON) {
      return;
    }
    poStriker = nullptr;
  }

  // A strike: a player's shooting kick reached its contact this tick and
  // the ball left him, free, in a flight of his (penalty kicks aside).
  void StrikeFind(Result::FullTime* pf) {
    const Ball& b = ball_oBall;
    const bool bKick = global.eGameMode != GAME_MODE_PENALTY && global.eGameMode != GAME_MODE_SHOOTOUT &&
                       b.poOwner == nullptr && b.iState == BALL_STATE_FREE && b.pplyrWhoKicked != nullptr;
    for (std::int32_t i = 0; i < 22; i++) {
      const Player& p = PlayerAt(i);
      const bool bStruck = bKick && Shooting(apfnContact[i]) && p.oAnimData.pfnContact == nullptr &&
                           b.pplyrWhoKicked == &p && ball_PathIndexGet() <= 1;
      apfnContact[i] = p.oAnimData.pfnContact;
      if (!bStruck) continue;
      const std::int32_t k = SideOf(p);
      const std::int32_t iSign = GoalSignOf(p);
      pf->aiStruck[k]++;
      if (b.iKind == BALL_KIND_HIGH_HEADER || b.iKind == BALL_KIND_HEADER) pf->aiStruckHeaders[k]++;
      pf->aaiStruckOrigin[k][ShotOriginOf(ball_aPath[0].iX, ball_aPath[0].iY, iSign)]++;
      poStriker = &p;
      iStrikeSide = k;
      iStrikeGoals = GoalsOf(k);
      bStrikeBound = ball_OutcomeGet() == BALL_OUTCOME_GOAL && ball_OutcomeSideGet() == (iSign < 0 ? 1 : 2);
    }
  }

  void Tick(Result::FullTime* pf, const std::array<std::int32_t, GAME_MODE_LAST + 1>& aiEntries) {
    const bool bPlay = global.eGameMode == GAME_MODE_PLAY;
    std::int32_t cFreeKicksNow = 0;
    for (std::int32_t k = 0; k < 2; k++) {
      const MatchStats& s = Stats(k);
      // A new shot: the path the game just predicted starts where it was struck.
      const std::int32_t cShots = gstatso_ShotsGet(&s);
      if (cShots < aiShots[k]) aiShots[k] = cShots;
      if (gstatso_GoalCountGet(&s) < aiGoals[k]) aiGoals[k] = gstatso_GoalCountGet(&s);
      for (; aiShots[k] < cShots; aiShots[k]++) {
        const std::int32_t iSign = GoalSignOf(PlayerAt(11 * k));
        pf->aaiShotOrigin[k][ShotOriginOf(ball_aPath[0].iX, ball_aPath[0].iY, iSign)]++;
      }
      const std::int32_t cGoals = gstatso_GoalCountGet(&s);
      for (; aiGoals[k] < cGoals && aiGoals[k] < GSTATSO_GOALS_MAX; aiGoals[k]++) {
        if (gstatso_GoalKindGet(&s, aiGoals[k]) != 0) pf->aiOwnGoals[k]++;
        else if (ball_OutcomeGet() == BALL_OUTCOME_PENALTY) pf->aiPenaltyGoals[k]++;
      }
      cFreeKicksNow += gstatso_FreeKicksGet(&s);
      // A corner given: the player the referee found last on the ball.
      const std::int32_t cCorners = gstatso_CornersGet(&s);
      if (cCorners < aiCorners[k]) aiCorners[k] = cCorners;
      for (; aiCorners[k] < cCorners; aiCorners[k]++) {
        const Player* poLast = referee_poTestPlayerGet();
        if (poLast && player_IsGoalkeeper(poLast) && SideOf(*poLast) != k) pf->aiCornersOffKeeper[k]++;
      }
    }
    // A shot kick: the ball free in a flight of the shot's kind where it was
    // not on the tick before (a touch on its way, or the net, leaves it one
    // flight), counted where the game's prediction of it starts.
    const Ball& b = ball_oBall;
    const bool bShot = b.iKind == BALL_KIND_SHOT && b.iState == BALL_STATE_FREE && b.poOwner == nullptr &&
                       b.pplyrWhoKicked != nullptr && global.eGameMode != GAME_MODE_PENALTY &&
                       global.eGameMode != GAME_MODE_SHOOTOUT;
    if (bShot && !bShotFlying) {
      const Player& p = *b.pplyrWhoKicked;
      const std::int32_t k = SideOf(p);
      pf->aiShotKicks[k]++;
      pf->aaiShotKickOrigin[k][ShotOriginOf(ball_aPath[0].iX, ball_aPath[0].iY, GoalSignOf(p))]++;
    }
    bShotFlying = bShot;
    StrikeFollow(pf);
    StrikeFind(pf);
    // A foul given: the referee's last call, where it happened.
    const RefereeCallRecord& o = referee_oLastCall;
    if (cFreeKicksNow > cFreeKicks && o.cCalls != cCalls && o.iEvent == REFEREE_EVENT_FOUL &&
        ShotOriginOf(o.x, o.y, o.x < 0 ? -1 : 1) == kShotInArea)
      pf->cFoulsInArea++;
    cFreeKicks = cFreeKicksNow;
    cCalls = o.cCalls;
    for (std::int32_t i = 0; i < 22; i++) {
      const Player& p = PlayerAt(i);
      if (bPlay && p.MoveState == MOVE_STATE_TACKLE && aiMoveState[i] != MOVE_STATE_TACKLE) {
        pf->cChallenges++;
        // His own penalty area: at the end his side does not attack.
        const std::int32_t iOwn = -GoalSignOf(p);
        if (ShotOriginOf(p.x, p.y, iOwn) == kShotInArea) {
          pf->cChallengesInArea++;
          const Player* poHolder = ball_OwnerGet();
          if (poHolder && SideOf(*poHolder) != SideOf(p) && !player_IsGoalkeeper(&p) &&
              referee_TackleScore(&p, poHolder) >= 80)
            pf->cChallengesInAreaFoulScore++;
        }
      }
      aiMoveState[i] = p.MoveState;
    }
    for (std::int32_t k = 0; k < 2; k++) {
      const MatchStats& s = Stats(k);
      pf->aiGoals[k] = k == 0 ? match.HomeGoals : match.AwayGoals;
      pf->aiShots[k] = gstatso_ShotsGet(&s);
      pf->aiOnTarget[k] = gstatso_OnTargetGet(&s);
      pf->aiCorners[k] = gstatso_CornersGet(&s);
      pf->aiFouled[k] = gstatso_FreeKicksGet(&s);
      pf->aiBooked[k] = gstatso_BookedGet(&s);
      pf->aiSentOff[k] = gstatso_SentOffGet(&s);
      pf->aiPossession[k] = gstatso_PossessionGet(&s);
    }
    pf->cPenaltyKicks = aiEntries[GAME_MODE_PENALTY];
  }
};

// The two places the match waits for a person.
// *piPlayedAgain: 0, 1 Play Again pressed while the choice shows, 2 taken.
void Answer(const Config& c, std::int32_t* piPlayedAgain) {
  User* pusr = &user_aUsers[0];
  if (global.eGameMode == GAME_MODE_REPLAY) {
    const ReplayState& r = replay_oState;
    if (!r.bPlaying || r.iIndex == r.iEnd) EventPost(pusr, 83);
  } else if (global.eGameMode == GAME_MODE_PERIOD_END && mftime_StepGet() == 12 && c.bAnswerChoice) {
    // Pressed on every step the choice shows (the step that first draws it
    // drops the press): Play Again until the choice gives way to it once,
    // then Main Menu.
    const bool bAgain = c.bPlayAgain && *piPlayedAgain != 2;
    if (bAgain) *piPlayedAgain = 1;
    EventPost(pusr, bAgain ? 8 : 9);
    EventPost(pusr, 37);
  } else if (*piPlayedAgain == 1) {
    *piPlayedAgain = 2;
  }
}

}  // namespace

Result Run(const Config& c, std::vector<Hash>* paHashes, TickFn pfnTick, void* pvContext) {
  Result res;
  if (!Setup()) return res;
  mcondi_MatchLengthSet(c.iLength);
  mcondi_ExtraTimeSet(c.iExtraTime);
  mcondi_PenaltiesSet(c.bPenalties);
  mcondi_FoulsSet(c.bFouls);
  mcondi_RefereeSet(c.iReferee);
  mcondi_CameraSet(c.iCamera);
  tmglobal_TournamentMatchSet(c.bTournament);
  tmglobal_RoundFormatSet(c.iRoundFormat);
  tmglobal_TieBreakSet(c.iTieBreak);
  tmglobal_FirstLeg = TMFirstLeg{c.aiFirstLeg[0], c.aiFirstLeg[1], c.bFirstLegPlayed};
  tmglobal_MatchPhaseSet(0);
  tmglobal_NormalTimeScoreSet(0, 0);

  // The records a fresh process starts with.
  if (c.bFreshRecords) {
    for (Player& p : player_aHome) p = Player{};
    for (Player& p : player_aAway) p = Player{};
    clock_oClock = MatchClock{};
  }
  // The referee (his flags and decisions), the match record, the shoot-out
  // and the line-up are left as the last match left them: the game's own
  // set-up starts them afresh, as it must when a player plays on.
  // The front end's part: users, squads, kind of game.
  global_Init();
  global.bHistory = 0;
  global.poScorer = nullptr;
  UsersSet(c);
  squadcache_Clear();
  match_Clear();
  team_PlayersInit();
  match_SquadBuffersPoint();
  if (!matchflow_SideLoad(player_PlaysFor_Home, c.aiTeam[0], c.aiEdition[0]) ||
      !matchflow_SideLoad(player_PlaysFor_Away, c.aiTeam[1], c.aiEdition[1]))
    return res;
  global_SetExtendedGameMode(c.bDemo ? GAME_MODE_DEMO : GAME_MODE_START_FRIENDLY);
  vsync_Init();
  SeedRestore(c.uSeed);

  game_MatchEnter();
  Monkey oMonkey{c.uMonkeySeed};
  g_auButtons[0] = g_auButtons[1] = 0;
  std::size_t aiNext[2] = {0, 0};
  std::int32_t iPlayedAgain = 0;
  std::int32_t ePrev = global.eGameMode;
  // The records of the run kept in fixed room while the match runs: the
  // ticks make no heap allocation of the harness's own.
  res.aiModes.reserve(16384);
  res.aiModes.push_back(ePrev);
  std::array<std::int32_t, GAME_MODE_LAST + 1> aiEntries{};
  aiEntries[static_cast<std::size_t>(ePrev)]++;
  std::int32_t aiPrevX[22] = {}, aiPrevY[22] = {};
  std::int32_t aiUserTick[22], aiUserKind[22] = {};
  FullTimeWatch oFullTime;
  oFullTime.Start();
  for (std::int32_t& i : aiUserTick) i = -1000;
  for (std::int32_t t = 0; t < c.cTickCap; t++) {
    g_bInMatchTick = true;
    Inputs(c, t, &oMonkey, aiNext);
    Answer(c, &iPlayedAgain);
    Player* const poHeld = ball_OwnerGet();
    pcframe_Begin();
    vsync_TasksRun();
    const std::int32_t bGoOn = game_MatchTick();
    g_bInMatchTick = false;
    res.cTicks = t + 1;
    if (paHashes) paHashes->push_back(StateHash());
    if (pfnTick) pfnTick(t, pvContext);
    const std::int32_t e = global.eGameMode;
    if (e == 66) {  // the shoot-out
      for (std::int32_t k = 0; k < 2; k++) {
        res.aiPenalties[k] = mpenso_oState.aiGoals[k];
        res.aiShootoutKicks[k] = mpenso_oState.aiKicks[k];
      }
    } else if (clock_SecondsGet() > res.iSeconds) {
      res.iSeconds = clock_SecondsGet();
    }
    if (e != ePrev) {
      if (res.aiModes.size() < res.aiModes.capacity()) res.aiModes.push_back(e);
      if (e >= 0 && e <= GAME_MODE_LAST) aiEntries[static_cast<std::size_t>(e)]++;
      ePrev = e;
    }
    // Up to full time: the clock leaves the second half on the tick normal
    // time ends.
    if (!res.oFullTime.bReached) {
      oFullTime.Tick(&res.oFullTime, aiEntries);
      if (clock_oClock.iPeriod >= 2) {
        res.oFullTime.bReached = true;
        res.oFullTime.iTick = t;
      }
    } else if (!res.bReplayed) {
      // Played again: the clock starts afresh in the first half.
      if (clock_oClock.iPeriod < 2) {
        res.bReplayed = true;
      } else if (aiEntries[GAME_MODE_SHOOTOUT] == 0) {
        if (e == GAME_MODE_PLAY) res.bExtraTime = true;
        res.aiExtraGoals[0] = match.HomeGoals - res.oFullTime.aiGoals[0];
        res.aiExtraGoals[1] = match.AwayGoals - res.oFullTime.aiGoals[1];
      }
    }
    // A user's kick: the ball leaves a player a user steered within the last
    // second (the user lets him go when the kick is decided, the ball leaves
    // at the kick's contact), of the kind last charged for him.
    for (std::int32_t i = 0; i < 22; i++) {
      const Player& p = i < 11 ? player_aHome[i] : player_aAway[i - 11];
      if (p.Control != PLAYER_CONTROL_USER) continue;
      aiUserTick[i] = t;
      if (usrctl_oKick.eKind > 0 && usrctl_oKick.eKind < 6 && ball_OwnerGet() == &p) aiUserKind[i] = usrctl_oKick.eKind;
    }
    const std::ptrdiff_t iHeld = poHeld == nullptr                                         ? -1
                                 : poHeld >= player_aHome && poHeld < player_aHome + 11 ? poHeld - player_aHome
                                 : poHeld >= player_aAway && poHeld < player_aAway + 11 ? 11 + (poHeld - player_aAway)
                                                                                        : -1;
    if (iHeld >= 0 && ball_OwnerGet() != poHeld && ball_WhoKickedGet() == poHeld && t - aiUserTick[iHeld] <= 30) {
      res.aaiUserKicks[iHeld < 11 ? 0 : 1][aiUserKind[iHeld]]++;
      aiUserKind[iHeld] = 0;
    }
    for (std::int32_t i = 0; i < 22; i++) {
      const Player& p = i < 11 ? player_aHome[i] : player_aAway[i - 11];
      if (t > 0 && e == GAME_MODE_PLAY) {
        const std::int32_t dx = p.x - aiPrevX[i], dy = p.y - aiPrevY[i];
        res.aiDistance[i] += static_cast<std::int32_t>(std::abs(dx) + std::abs(dy));
      }
      aiPrevX[i] = p.x;
      aiPrevY[i] = p.y;
    }
    if (c.bStopAtChoice && e == GAME_MODE_PERIOD_END && mftime_StepGet() == 12) break;
    if (!bGoOn || e == GAME_MODE_MATCH_END) {
      res.bFinished = true;
      break;
    }
  }
  if (!res.bFinished) res.eStuckMode = global.eGameMode;
  for (std::size_t e = 0; e < aiEntries.size(); e++)
    if (aiEntries[e]) res.mapEntries[static_cast<std::int32_t>(e)] = aiEntries[e];
  res.aiScore[0] = match.HomeGoals;
  res.aiScore[1] = match.AwayGoals;
  res.iPhase = tmglobal_MatchPhaseGet();
  // The stage scores the period end recorded for the tournament.
  res.aiNormal[0] = tmglobal.cNormalA;
  res.aiNormal[1] = tmglobal.cNormalB;
  res.aiExtra[0] = tmglobal.cExtraA;
  res.aiExtra[1] = tmglobal.cExtraB;
  for (std::int32_t k = 0; k < 2; k++) {
    const MatchStats& s = (k == 0 ? match.HomeTeam : match.AwayTeam).MatchStats;
    res.aiShots[k] = gstatso_ShotsGet(&s);
    res.aiOnTarget[k] = gstatso_OnTargetGet(&s);
    res.aiCorners[k] = gstatso_CornersGet(&s);
    res.aiFouled[k] = gstatso_FreeKicksGet(&s);
    res.aiPossession[k] = gstatso_PossessionGet(&s);
    res.cShots += gstatso_ShotsGet(&s);
    res.cOnTarget += gstatso_OnTargetGet(&s);
    res.cCards += gstatso_BookedGet(&s) + gstatso_SentOffGet(&s);
    res.cSentOff += gstatso_SentOffGet(&s);
  }
  if (auto it = res.mapEntries.find(58); it != res.mapEntries.end()) res.cPenaltyKicks = it->second;
  res.cSaves = res.cOnTarget - (res.aiScore[0] + res.aiScore[1] - res.aiPenalties[0] - res.aiPenalties[1]);
  if (res.cSaves < 0) res.cSaves = 0;
  // As the game leaves a match.
  replay_Reset();
  match_SquadsCopyBack();
  return res;
}

std::string Result::Describe(const Config& c) const {
  std::ostringstream o;
  o << "seed " << c.uSeed << ": " << (bFinished ? "finished" : "stopped") << " after " << cTicks << " ticks";
  if (!bFinished) o << " in mode " << eStuckMode;
  o << ", score " << aiScore[0] << "-" << aiScore[1];
  if (aiPenalties[0] + aiPenalties[1] > 0) o << " (shoot-out " << aiPenalties[0] << "-" << aiPenalties[1] << ")";
  o << ", shots " << aiShots[0] << "-" << aiShots[1] << ", saves "
    << cSaves << ", phase " << iPhase << ", modes";
  for (std::size_t i = 0; i < aiModes.size() && i < 60; i++) o << ' ' << aiModes[i];
  return o.str();
}

// ---- Recorded runs ---------------------------------------------------------------------------

std::uint32_t RecordedWord(const Hash& h) {
  const std::uint64_t u = h.Combined();
  return static_cast<std::uint32_t>((u ^ (u >> 16) ^ (u >> 32) ^ (u >> 48)) & 0xFFFFu);
}

bool HashesWrite(const std::string& path, const std::vector<Hash>& aHashes) {
  std::ofstream out(path);
  for (const Hash& h : aHashes) {
    for (std::uint64_t u : h.au) out << u << ' ';
    out << '\n';
  }
  out.close();
  return static_cast<bool>(out);
}

std::vector<Hash> ChildHashes(const std::string& sEnv, const std::string& sOutVariable) {
  const korvena_test::TempDir oDir;
  std::vector<Hash> a;
  if (oDir.path().empty()) return a;
  const std::string out = oDir / "hashes.txt";
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string cmd = sEnv + " " + sOutVariable + "='" + out + "' '" + self + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return a;
  std::ifstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    Hash h;
    for (std::uint64_t& u : h.au) ss >> u;
    a.push_back(h);
  }
  return a;
}

bool RecordWrite(const std::string& path, const Config& c, const std::vector<Hash>& aHashes) {
  std::ofstream out(path);
  out << "seed " << c.uSeed << "\n";
  out << "teams " << c.aiTeam[0] << ' ' << c.aiEdition[0] << ' ' << c.aiTeam[1] << ' ' << c.aiEdition[1] << "\n";
  out << "rules " << c.iLength << ' ' << c.iExtraTime << ' ' << c.bPenalties << ' ' << c.bFouls << ' ' << c.iReferee
      << ' ' << c.iCamera << "\n";
  out << "tournament " << c.bTournament << ' ' << c.iRoundFormat << ' ' << c.iTieBreak << ' ' << c.bFirstLegPlayed
      << ' ' << c.aiFirstLeg[0] << ' ' << c.aiFirstLeg[1] << "\n";
  for (std::int32_t k = 0; k < 2; k++) {
    out << "side " << k << ' ' << static_cast<int>(c.aeSide[k]) << ' ' << c.uMonkeySeed << "\n";
    for (const Command& cmd : c.aoCommands[k])
      out << "input " << k << ' ' << cmd.iTick << ' ' << cmd.iEvent << ' ' << cmd.iDegrees << ' ' << cmd.iMagnitude
          << "\n";
  }
  out << "ticks " << aHashes.size() << "\n";
  // Each tick's word, sixteen a line; every 50th tick the groups in full.
  char sz[40];
  for (std::size_t t = 0; t < aHashes.size(); t++) {
    if (t % 16 == 0) out << "h " << t;
    std::snprintf(sz, sizeof sz, " %04x", static_cast<unsigned>(RecordedWord(aHashes[t])));
    out << sz;
    if (t % 16 == 15 || t + 1 == aHashes.size()) out << "\n";
  }
  for (std::size_t t = 0; t < aHashes.size(); t += kCheckpointEvery) {
    out << "g " << t;
    for (std::uint64_t u : aHashes[t].au) {
      std::snprintf(sz, sizeof sz, " %016llx", static_cast<unsigned long long>(u));
      out << sz;
    }
    out << "\n";
  }
  return out.good();
}

bool RecordRead(const std::string& path, Config* pc, std::vector<std::uint32_t>* paCombined,
                std::map<std::int32_t, Hash>* pmapCheckpoints) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  Config c;
  std::size_t cTicks = 0;
  paCombined->clear();
  pmapCheckpoints->clear();
  while (std::getline(in, line)) {
    std::istringstream l(line);
    std::string w;
    l >> w;
    if (w == "seed") l >> c.uSeed;
    else if (w == "teams") l >> c.aiTeam[0] >> c.aiEdition[0] >> c.aiTeam[1] >> c.aiEdition[1];
    else if (w == "rules") l >> c.iLength >> c.iExtraTime >> c.bPenalties >> c.bFouls >> c.iReferee >> c.iCamera;
    else if (w == "tournament")
      l >> c.bTournament >> c.iRoundFormat >> c.iTieBreak >> c.bFirstLegPlayed >> c.aiFirstLeg[0] >> c.aiFirstLeg[1];
    else if (w == "side") {
      int k = 0, kind = 0;
      l >> k >> kind >> c.uMonkeySeed;
      if (k < 0 || k > 1 || kind < 0 || kind > 2) return false;
      c.aeSide[static_cast<std::size_t>(k)] = static_cast<SideKind>(kind);
    } else if (w == "input") {
      int k = 0;
      Command cmd;
      l >> k >> cmd.iTick >> cmd.iEvent >> cmd.iDegrees >> cmd.iMagnitude;
      if (k < 0 || k > 1) return false;
      c.aoCommands[k].push_back(cmd);
    } else if (w == "ticks") {
      l >> cTicks;
    } else if (w == "h") {
      std::size_t t = 0;
      l >> t;
      if (t != paCombined->size()) return false;
      std::string hex;
      while (l >> hex) paCombined->push_back(static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16)));
    } else if (w == "g") {
      std::int32_t t = 0;
      l >> t;
      Hash h;
      for (std::uint64_t& u : h.au) {
        std::string hex;
        l >> hex;
        u = std::stoull(hex, nullptr, 16);
      }
      (*pmapCheckpoints)[t] = h;
    }
    if (l.fail() && w != "h") return false;
  }
  *pc = c;
  return paCombined->size() == cTicks;
}

}  // namespace match_harness
