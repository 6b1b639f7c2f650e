#pragma once
// The history hub (game mode 47): the human team's next fixture, its squad
// and tactics, the opponent and the other history screens.
#include <cstdint>

struct HumanTeam;
struct MatchTeam;
struct User;
struct Year;

constexpr std::int32_t MFHMAIN_MODE = 47;
constexpr std::int32_t MFHMAIN_ITEMS = 8;
constexpr std::int32_t MFHMAIN_FORCE_OFF = 3;
// The debug keys' last twelve bits (0 from key 165, 1 from key 166) that
// arm the forced score and make those keys count its goals.
constexpr std::uint32_t MFHMAIN_FORCE_PATTERN = 0xA5Cu;

// The team sheets of the last two match sides, kept across matches so that
// a chosen formation survives the next preparation.
struct MFHMainSheet {
  std::int32_t iTeamId;         // -1 none
  std::int32_t iEdition;
  std::int32_t iFormation;
  std::int32_t iSavedFormation;
};
extern MFHMainSheet mfhmain_aoSheets[2];

struct MFHMainScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iCursor;         // 0..7: the left column 0..3, the right 4..7
  std::int32_t bTeamChoice;     // choosing the current one of several human teams
  std::int32_t iTeamChoice;
  std::int32_t bQuitBox;        // "Quit History?" shows
  std::int32_t iQuitChoice;     // 0 Yes, 1 No
  std::int32_t iInputDelay;     // frames before back may open the quit box
  std::int32_t bHistoryOver;
  std::int32_t cEditionsPlayed;
  std::int32_t bFinals;         // "Choose Squad" is not available
  // The forced score of a history match: shown and used while armed.
  std::int32_t iForceState;     // 0 armed, MFHMAIN_FORCE_OFF disarmed
  std::int32_t iForceHome, iForceAway;  // 0..10
  std::uint32_t uForceKeys;     // the debug keys' shift register
};
extern MFHMainScreen mfhmain_oScreen;

void mfhmain_Reset();
void mfhmain_Enter();
void mfhmain_Draw();
// The menu user's events; the next game mode (47 to stay).
std::int32_t mfhmain_Input(User* poUser);
void mfhmain_Run();
// 1 when the current human team has an unplayed fixture in the current year.
std::int32_t mfhmain_bHasNextFixture();

// Prepares the human team's (record and index in the human-team table) next
// fixture in the year as a match: the sides
// in the fixture's order (the human side in the first squad buffer and
// squad-cache slot 0), their squads, formations and strengths, the round's
// play format, tie-break and second leg, and the stadium. 0 when there is no
// fixture with a known opponent or a squad does not load.
std::int32_t mfhmain_MatchPrepare(Year* poYear, std::int32_t iHuman, const HumanTeam* poRecord);
// Sets the date to the human team's next fixture and plays the rest of the
// world's fixtures due by then.
void mfhmain_SimulateUntilFixture();
// The home or away match team whose squad is the team's; null when neither.
MatchTeam* mfhmain_poMatchTeamGet(std::uint32_t TeamId);
// 1 while the forced score is armed, with its two goals.
std::int32_t mfhmain_ForcedScoreGet(std::int32_t* piHome, std::int32_t* piAway);
// The debug keys 164 (disarm), 165 and 166.
void mfhmain_ForceKey(std::int32_t eCode);
void mfhmain_ForcedScoreDisarm();

// ---- Editions -------------------------------------------------------------------------
// The edition each human team's record was last set up for (-1 none).
extern std::int32_t mfhmain_aiHumanEdition[4];
// Begins the history when it has not started (start year, human team 0, the
// pools and lists cleared), then loads the current year.
void mfhmain_HistoryBegin();
// Loads the edition of the two-digit year: a host or holder playing with
// qualifiers goes straight to the finals; else the year starts per the options.
void mfhmain_YearLoad(std::int32_t iYear);
// The first later edition (up to 10) whose confederation table lists the
// team with that edition's bit; 0 when none.
std::int32_t mfhmain_NextEditionForTeam(std::uint32_t TeamId);
// Moves the history to the first human team's next edition; 0 (and the
// history over) when there is none.
std::int32_t mfhmain_NextEditionStart();
