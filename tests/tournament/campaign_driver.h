#pragma once
// Plays history-mode campaigns headless through the tournament flow, as the
// history hub does: start an edition, simulate up to the human team's next
// fixture, enter its result, settle, move to the next edition it takes part in.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Round;
struct Fixture;

// Third: wins every match but the semi-finals, so it plays for third place.
// DrawTwice: draws its first two matches of an edition, loses the others.
enum class Script { Win, Lose, Draw, Third, DrawTwice };

struct EditionRecord {
  std::int32_t iYear = 0;
  bool bTookPart = false;
  bool bPlayedQualifiers = false;
  bool bFinalsReached = false;
  std::uint32_t uFlags = 0;  // the human team's progress flags at the end
  std::int32_t cMatches = 0;
  std::int32_t cQualifierMatches = 0;
  std::int32_t cPlayOffs = 0;
  std::int32_t cTwoLegged = 0;
  bool bFinalsComplete = false;
  bool bOver = false;
  std::int32_t cFaults = 0;
  std::string sStuck;
  // The human team's fixtures of the edition's years that stand played at
  // the end: each should be one of its matches.
  std::int32_t cPlayedFixtures = 0;
};

class Campaign {
 public:
  Campaign(std::uint32_t Team, Script script, std::uint32_t uSeed);
  // Starts the edition of the two-digit year; false when the team takes no
  // part in it.
  bool EditionStart(std::int32_t iYear);
  // Starts the edition of the two-digit year at its finals, with the teams
  // that really took part (no qualifiers played); false when the team is
  // not one of them.
  bool FinalsStart(std::int32_t iYear);
  // Plays the human team's next match; false when its edition is over.
  bool MatchPlay();
  // Ends the edition (the rest of the year simulated) and returns its record.
  EditionRecord EditionFinish();
  // Every edition from first to last in turn.
  std::vector<EditionRecord> Run(std::int32_t iFirst = 58, std::int32_t iLast = 98);
  // Called after every match (saves and loads in between, checks).
  std::function<void()> onMatch;

 private:
  std::uint32_t m_Team;
  Script m_Script;
  std::int32_t m_iDraw = 0;
  EditionRecord m_Rec;
};

// Resets the tournament state and seeds every draw.
void CampaignReset(std::uint32_t uSeed);

// Whether the running tree names a team in a team list of its groups or
// rounds.
bool TeamInTreeLists(std::uint32_t Name);
