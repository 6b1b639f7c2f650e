#include "support/history_driver.h"

#include <cstdlib>
#include <cstring>

#include "framework/qdx_window.h"
#include "frontend/mregion.h"
#include "frontend/mteam.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcmain.h"
#include "shell/pcmain_states.h"
#include "shell/user.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace korvena_test {
namespace {

// A screen flushes its events when it is entered: an event is given only
// after the mode has been held this many steps, and the next one after as
// many again (the hub's quit box waits five frames after entering).
constexpr std::int32_t kSettle = 6;
constexpr std::int32_t kGap = 2;

// A key pressed or released at the next pump, as the headless script does it.
void Key(const char* pszKey, bool bDown) {
  std::string why;
  platform::headlessLoadScriptText(
      std::to_string(platform::headlessStep() + 1) + (bDown ? " keydown " : " keyup ") + pszKey + "\n", &why);
}

void Push(std::int32_t code) {
  User* poUser = global_poGetMenuUser();
  if (!poUser || !poUser->pip) poUser = &user_aUsers[0];
  InputPort* pip = poUser->pip ? poUser->pip : input_poGetPort(0);
  InputEvent* e = nullptr;
  if (!input_bEventAlloc(&e)) return;
  e->eEvent = code;
  queue_Append(&pip->oEvents, &e->oLink);
}

// The human team's goals and the opponent's as the match's end enters them:
// in the order of the fixture being played.
void ScoreEnter(std::int32_t iHuman, std::int32_t iOther) {
  const std::int32_t h = tmglobal.iCurrentHuman;
  const std::uint32_t Human = h >= 0 && h < TM_HUMAN_MAX ? tmglobal.aHumans[h].Name : 0;
  Round* r = nullptr;
  Fixture* f = nullptr;
  const bool bFound = history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human, &r, &f) != 0;
  const bool bHumanA = !bFound || history_FixtureTeamA(r, f) == Human;
  tmglobal_MatchPhaseSet(0);
  tmglobal_NormalTimeScoreSet(bHumanA ? iHuman : iOther, bHumanA ? iOther : iHuman);
}

}  // namespace

HistoryDriver::HistoryDriver() {
  if (const char* psz = std::getenv("KORVENA_BUILD_DIR")) platform::setExecutableDir(std::string(psz) + "/bin");
}

HistoryDriver::~HistoryDriver() {
  if (started_) pcmain_Shutdown();
}

bool HistoryDriver::Start() {
  QDXClearQuit();
  started_ = true;
  if (!pcmain_Startup(1, nullptr)) {
    ended_ = true;
    return false;
  }
  // The start-up films end while Escape is held; it is let go at the menu.
  Key("ESCAPE", true);
  escapeHeld_ = true;
  return true;
}

std::int32_t HistoryDriver::Mode() const { return static_cast<std::int32_t>(global_eGetGameMode()); }

void HistoryDriver::KeyboardKey(const char* pszKey, bool bDown) { Key(pszKey, bDown); }

void HistoryDriver::Events(std::initializer_list<std::int32_t> codes) {
  pending_.insert(pending_.end(), codes.begin(), codes.end());
}

void HistoryDriver::Answer(std::int32_t eMode, std::function<void(HistoryDriver&)> fn) {
  answers_[eMode] = std::move(fn);
}

bool HistoryDriver::Step() {
  if (ended_) return false;
  if (!pending_.empty() && held_ >= kSettle && sinceEvent_ >= kGap) {
    Push(pending_.front());
    pending_.erase(pending_.begin());
    sinceEvent_ = 0;
  }
  QDXClearPumped();
  const std::int32_t bQuit = pcmain_LoopStep();
  if (!QDXPumpedThisPass()) QDXPumpMessages();
  steps_++;
  sinceEvent_++;
  if (double_ && pcmain_eCurrentState == APP_STATE_FRONT_END && pcmain_eRequestedState == APP_STATE_MATCH_LOADING) {
    // The match is replaced: its result entered, the front end left and
    // entered again (through no state) as after a match.
    const std::pair<std::int32_t, std::int32_t> oScore = double_();
    ScoreEnter(oScore.first, oScore.second);
    matches_++;
    pcmain_eRequestedState = APP_STATE_NONE;
    returning_ = true;
  } else if (returning_ && pcmain_eCurrentState == APP_STATE_NONE) {
    pcmain_eRequestedState = APP_STATE_FRONT_END;
    returning_ = false;
  } else if (pcmain_eCurrentState == APP_STATE_FRONT_END && pcmain_eRequestedState == APP_STATE_MATCH_LOADING) {
    matches_++;
  }
  const std::int32_t e = Mode();
  if (modes_.empty() || modes_.back() != e) {
    modes_.push_back(e);
    held_ = 0;
    // Events meant for the screen just left are not given to the next one.
    pending_.clear();
  } else {
    held_++;
  }
  if (escapeHeld_ && e == GAME_MODE_MAIN_MENU) {
    Key("ESCAPE", false);
    escapeHeld_ = false;
  }
  if (bQuit || QDXQuitSeen()) ended_ = true;
  return !ended_;
}

bool HistoryDriver::RunUntil(const std::function<bool()>& pred, std::int32_t limit) {
  for (std::int32_t i = 0; i < limit; i++) {
    if (pred()) return true;
    if (pending_.empty() && held_ >= kSettle) {
      const auto it = answers_.find(Mode());
      if (it != answers_.end()) it->second(*this);
      else if (default_) default_(*this);
    }
    if (!Step()) return pred();
  }
  return pred();
}

std::string HistoryDriver::ModesText() const {
  std::string s;
  for (std::int32_t e : modes_) s += (s.empty() ? "" : " ") + std::to_string(e);
  return s;
}

void TeamPick(HistoryDriver& h, const char* pszButton, std::uint32_t Team) {
  const TacticsSide& ps = mteam_aoSides[0];
  if (ps.iPhase == MTEAM_MAP && std::strcmp(mregion_aoTable[ps.iButton].szName, pszButton) != 0) {
    h.Events({HistoryDriver::kLeft});
  } else if (ps.iPhase == MTEAM_LIST) {
    const ConferenceEntry* p = mteam_TeamByIndex(0, tmglobal_EditionMaskGet(), ps.iTeamIndex);
    h.Events({p != nullptr && p->uTeam != Team ? HistoryDriver::kDown : HistoryDriver::kSelect});
  } else {
    h.Events({HistoryDriver::kSelect});
  }
}

}  // namespace korvena_test
