#pragma once
// Plays the game in this process, headless, through its own frame-loop step
// (start-up, one pass of the loop per Step, shut-down), and answers each game
// mode as a player would: the menu user's events, given one at a time once
// the screen has settled. Nothing is asserted; the modes visited are logged.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace korvena_test {

class HistoryDriver {
 public:
  // Menu events.
  enum : std::int32_t { kUp = 8, kDown = 9, kLeft = 10, kRight = 11, kSelect = 37, kBack = 38, kEscape = 152, kSkip = 161 };

  // The game's executable folder is <build>/bin (its data beside it); the
  // platform and the main window must be up (a headless test environment).
  HistoryDriver();
  ~HistoryDriver();
  HistoryDriver(const HistoryDriver&) = delete;
  HistoryDriver& operator=(const HistoryDriver&) = delete;

  // The game's start-up; false when it failed.
  bool Start();
  // One pass of the frame loop, after giving the next waiting event when the
  // screen has settled; false once the loop has ended.
  bool Step();
  // Steps until pred holds (true) or the loop ends or limit steps pass (false).
  // Each step first asks the answer of the current mode, when no event waits.
  bool RunUntil(const std::function<bool()>& pred, std::int32_t limit);

  // A keyboard key (a script's key name) pressed or let go at the next pass.
  void KeyboardKey(const char* pszKey, bool bDown);

  // Events for the menu user, given in order.
  void Events(std::initializer_list<std::int32_t> codes);
  // What the player does in a game mode when no event waits: queue events,
  // or nothing to let the screen run on.
  void Answer(std::int32_t eMode, std::function<void(HistoryDriver&)> fn);

  // What the player does in a mode without an answer of its own (null: nothing).
  void DefaultAnswer(std::function<void(HistoryDriver&)> fn) { default_ = std::move(fn); }

  // A test double for the match: when the front end hands over to a match,
  // the match is not played; the result the function gives (the human
  // team's goals, then the opponent's) is entered as the match's end would
  // enter it (normal-time score, in the fixture's order), and the front end
  // starts again as after a match. Null plays the real match.
  void MatchDouble(std::function<std::pair<std::int32_t, std::int32_t>()> fn) { double_ = std::move(fn); }
  std::int32_t Matches() const { return matches_; }

  std::int32_t Mode() const;
  // The game modes entered, in order (a mode held for several steps once).
  const std::vector<std::int32_t>& Modes() const { return modes_; }
  std::string ModesText() const;
  std::int64_t Steps() const { return steps_; }
  // Steps the current mode has been held.
  std::int32_t Held() const { return held_; }

 private:
  std::vector<std::int32_t> pending_;
  std::map<std::int32_t, std::function<void(HistoryDriver&)>> answers_;
  std::function<void(HistoryDriver&)> default_;
  std::function<std::pair<std::int32_t, std::int32_t>()> double_;
  std::int32_t matches_ = 0;
  bool returning_ = false;
  std::vector<std::int32_t> modes_;
  std::int64_t steps_ = 0;
  std::int32_t held_ = 0;
  std::int32_t sinceEvent_ = 0;
  bool started_ = false;
  bool ended_ = false;
  bool escapeHeld_ = false;
};

// The team selection's answer that picks a team (its team-name id) for the
// first player: over the map to the button of its confederation
// (pszButton, "EURO", "USA", ...), down its list to the team, select.
void TeamPick(HistoryDriver& h, const char* pszButton, std::uint32_t Team);

}  // namespace korvena_test
