#pragma once
// The history groups and tables screen (game mode 55): every confederation of
// the current year, and in each its group rounds in a fixed order, as a league
// table or as results in the layout of the round's rules. The news screen's
// draw page uses the group-order list.
#include <cstdint>

struct Confederation;
struct Group;
struct Round;
struct User;

constexpr int MAX_GROUP_ORDER_LIST_SIZE = 30;

// ---- The group-order list -----------------------------------------------------------
// For the round-name first characters "1" to "9" and then ":", the first round
// of each group whose name starts with it, a round whose (non-empty) long name
// is already listed skipped. More than MAX_GROUP_ORDER_LIST_SIZE entries is an assertion.
void mfhgroup_OrderListBuild(Confederation* pConf);
std::int32_t mfhgroup_OrderListSize();
Group* mfhgroup_OrderGroupGet(std::int32_t i);
Round* mfhgroup_OrderRoundGet(std::int32_t i);
// The round of the group with the same name and long name as the given round
// (the same stage played by another group); null when the group has none.
Round* mfhgroup_GroupOfRound(const Group* pGroup, const Round* pRound);

// Set by the news screen before it opens this screen: Exit then returns to the
// news (57) with its arrival flag, and the screen opens on the last round that
// lists the human team.
extern std::int32_t mfhgroup_bFromNews;

// ---- Layouts and markers --------------------------------------------------------------
// How a round is shown, by its tie-break and play format.
enum : std::int32_t {
  MFHGROUP_LAYOUT_LEAGUE = 0,     // the league table
  MFHGROUP_LAYOUT_TWO_LEGS = 1,   // "agg", "agg2": the two legs side by side
  MFHGROUP_LAYOUT_KO = 2,         // "ko"
  MFHGROUP_LAYOUT_KO_REPLAY = 3,  // "ko1"
  MFHGROUP_LAYOUT_KO_REPEAT = 4,  // "ko2"
  MFHGROUP_LAYOUT_KO_PENS = 5,    // "ko3"
  MFHGROUP_LAYOUT_KO_GOLDEN = 6,  // "ko4"
};
std::int32_t mfhgroup_LayoutGet(const Round* pRound);
// The markers a played fixture shows in its round's layout: what decided it,
// among those the layout has.
enum : std::uint32_t {
  MFHGROUP_MARK_EXTRA = 1, MFHGROUP_MARK_PENALTIES = 2, MFHGROUP_MARK_COIN_TOSS = 4, MFHGROUP_MARK_GOLDEN_GOAL = 8,
};
struct Fixture;
std::uint32_t mfhgroup_MarkersGet(const Round* pRound, const Fixture* pFixture);

// The round's teams ordered by points, goal difference and goals for, all
// descending; equal teams keep the round's order. Returns the count.
constexpr int MFHGROUP_TABLE_MAX = 40;
struct TMTeam;
std::int32_t mfhgroup_LeagueSort(const Round* pRound, TMTeam** apOut);

// ---- The screen -----------------------------------------------------------------------
constexpr std::int32_t MFHGROUP_MODE = 55;
constexpr std::int32_t MFHGROUP_WINDOW = 5;  // visible rows of the table and the results
// Visible ties of the two-legs results: each has a line for its aggregate
// under its score boxes.
constexpr std::int32_t MFHGROUP_LEGS_WINDOW = 4;
// The room of a team's name (640 x 480 units): in a row of the league
// table, on either side of a result, on either side of a leg of a two-legged
// tie. A wider name is fitted to it as every team name is (pcfe_TeamNameFit).
constexpr std::int32_t MFHGROUP_TABLE_NAME_ROOM = 236, MFHGROUP_RESULT_NAME_ROOM = 230, MFHGROUP_LEG_NAME_ROOM = 90;
enum : std::int32_t {
  MFHGROUP_FOCUS_CONF = 0, MFHGROUP_FOCUS_GROUP = 1, MFHGROUP_FOCUS_AREA = 2, MFHGROUP_FOCUS_VIEW = 3,
  MFHGROUP_FOCUS_FURTHER = 4, MFHGROUP_FOCUS_EXIT = 5,
};
enum : std::int32_t { MFHGROUP_VIEW_TABLE = 1, MFHGROUP_VIEW_RESULTS = 2 };

struct MFHGroupScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iConf;   // the confederation, in tree order
  std::int32_t iEntry;  // into the confederation's group-order list
  std::int32_t iFocus;
  std::int32_t iView;
  std::int32_t iTableRow, iTableTop;      // the table's cursor and its window's first row
  std::int32_t iResultsRow, iResultsTop;  // the same for the results
};
extern MFHGroupScreen mfhgroup_oScreen;

void mfhgroup_Reset();
void mfhgroup_Enter();
void mfhgroup_Draw();
// The menu user's events; the next game mode (55 to stay).
std::int32_t mfhgroup_Input(User* poUser);
void mfhgroup_Run();
