#pragma once
// The headless match harness: a whole match in this process, from the
// in-match set-up through the loading steps and every match tick to the end
// (mode 33), with no rate gate. Sides are played by the computer, by a user
// following a tick-indexed list of commands, or by a seeded "monkey" that
// presses what a player would. The harness answers the two places a match
// waits for a person: it leaves the replay once the replay rests and picks
// Main Menu (or Play Again) at the end.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace match_harness {

enum class SideKind { Computer, User, Monkey };

// One command of a user side: on the tick, the event (with a stick reading
// for event 23: direction in degrees and magnitude 0..128). A negative event
// is a button of the side's pad: the button that reads game function
// -iEvent (4 Pass, 5 Shoot, ...), pressed with iMagnitude 1 and let go with
// 0. It gives the events the port's active binding table gives every
// function read from that button, as a real pad's button does (the Pass
// button passes in open play, throws at a throw-in, takes the kick-off).
struct Command {
  std::int32_t iTick = 0;
  std::int32_t iEvent = 0;
  std::int32_t iDegrees = 0;
  std::int32_t iMagnitude = 0;
};

// A person who only taps the Pass button (pressed on one tick, let go on
// the next) every iEvery ticks from tick iFirst up to tick iUntil, and never
// moves the stick.
std::vector<Command> PassTaps(std::int32_t iEvery, std::int32_t iUntil, std::int32_t iFirst = 0);
// A person who plays the One-Two (Pass tapped twice: event 153) every iEvery
// ticks up to tick iUntil, and takes his kick-offs (event 63) between.
std::vector<Command> OneTwoTaps(std::int32_t iEvery, std::int32_t iUntil);

struct Config {
  std::uint32_t uSeed = 1;
  std::int32_t aiTeam[2] = {144, 88};   // team ids, home and away
  std::int32_t aiEdition[2] = {3, 3};   // 0..10 (1958..1998)
  std::int32_t iLength = 10;            // minutes
  std::int32_t iExtraTime = 0;          // 0 off, 1 on, 2 golden goal
  std::int32_t bPenalties = 1;
  std::int32_t bFouls = 1;
  std::int32_t iReferee = 1;
  std::int32_t iCamera = 2;
  // Tournament: the round's play format, its tie-break and the first leg.
  std::int32_t bTournament = 0;
  std::int32_t iRoundFormat = 0;
  std::int32_t iTieBreak = 0;
  std::int32_t bFirstLegPlayed = 0;
  std::int32_t aiFirstLeg[2] = {0, 0};
  bool bDemo = false;
  std::array<SideKind, 2> aeSide = {SideKind::Computer, SideKind::Computer};
  std::vector<Command> aoCommands[2];  // side 0's also reach a spectator user 0
  std::uint32_t uMonkeySeed = 7;
  bool bPlayAgain = false;       // at the end choose Play Again once, then Main Menu
  bool bStopAtChoice = false;    // stop when the end choice shows
  bool bAnswerChoice = true;     // off: the end choice is left to the test's own presses
  std::int32_t cTickCap = 400000;
  // Off: the player and clock records are left as the last match left them
  // (the game's own set-up must clear them), not cleared here first.
  bool bFreshRecords = true;
};

// The state hash in groups; a mismatch names its group.
enum HashGroup { kPlayers, kBall, kReferee, kMatch, kClock, kModes, kRandom, kGroups };
extern const char* const kGroupNames[kGroups];
struct Hash {
  std::uint64_t au[kGroups] = {};
  std::uint64_t Combined() const;
};
Hash StateHash();

// Where a shot was struck, seen from the goal it attacks, by the pitch's
// marks: 144 units a yard (1,440 units are ten yards), the goal line at
// 9,360 from the centre, the penalty area 18 yards (2,592) deep and 44 wide
// (3,168 either side of the middle), as the referee's own test of it.
enum ShotOrigin : std::int32_t { kShotInArea = 0, kShotWithin25 = 1, kShotBeyond25 = 2, kShotOrigins = 3 };
constexpr std::int32_t kUnitsPerYard = 144;
constexpr std::int32_t kPenaltyAreaDepth = 18 * kUnitsPerYard;
constexpr std::int32_t kPenaltyAreaHalfWidth = 22 * kUnitsPerYard;
// In the penalty area of the goal at the end iGoalSign (-1 the goal at -x,
// +1 the one at +x), edges included; else within 25 yards of that goal line
// (25 yards included), else beyond.
ShotOrigin ShotOriginOf(std::int32_t x, std::int32_t y, std::int32_t iGoalSign);

struct Result {
  bool bFinished = false;        // reached mode 33
  bool bAsserted = false;
  std::int32_t eStuckMode = 0;   // the mode the tick cap stopped it in
  std::int32_t aiScore[2] = {};
  std::int32_t iPhase = 0;       // the tournament end-of-match phase
  std::int32_t aiNormal[2] = {}, aiExtra[2] = {};
  std::int32_t aiPenalties[2] = {};             // shoot-out goals (counted in the score too)
  std::int32_t cTicks = 0;
  std::vector<std::int32_t> aiModes;            // each mode entered, in order (repeats collapsed)
  std::map<std::int32_t, std::int32_t> mapEntries;  // entries per mode
  std::int32_t cShots = 0, cOnTarget = 0, cSaves = 0, cCards = 0;
  std::int32_t cSentOff = 0;                    // players sent off, both sides
  std::int32_t aiDistance[22] = {};             // ground covered per player (units)
  std::int32_t aiShots[2] = {};                 // per side, home and away
  // Per side, home and away: shots on target, corners won, free kicks and
  // penalties given to the side for fouls against it, clock units with the
  // ball; the penalties of the match (not the shoot-out's) and its kicks.
  std::int32_t aiOnTarget[2] = {}, aiCorners[2] = {}, aiFouled[2] = {}, aiPossession[2] = {};
  std::int32_t cPenaltyKicks = 0;
  std::int32_t aiShootoutKicks[2] = {};
  std::int32_t iSeconds = 0;                    // match time played before any shoot-out
  // Kicks by a user's player per side: the ball left his feet in open play,
  // counted by the kind charged when it left (0 a touch or a tackle).
  std::int32_t aaiUserKicks[2][6] = {};
  // The match at full time: the moment normal time ends (the clock's second
  // half over; a match without extra time ends there anyway), or its end
  // when it never got there (bReached false). Goals and statistics per side,
  // home and away, as the match's statistics held them then.
  struct FullTime {
    bool bReached = false;
    std::int32_t iTick = 0;                      // the tick normal time ended on
    std::int32_t aiGoals[2] = {};                // the score
    std::int32_t aiPenaltyGoals[2] = {};         // of them, scored from penalty kicks
    std::int32_t aiOwnGoals[2] = {};             // of them, own goals by the other side
    std::int32_t aiShots[2] = {}, aiOnTarget[2] = {}, aiCorners[2] = {};
    std::int32_t aiFouled[2] = {};               // free kicks and penalties given to the side for fouls
    std::int32_t aiBooked[2] = {}, aiSentOff[2] = {};  // of the side's players
    std::int32_t aiPossession[2] = {};           // clock units with the ball
    std::int32_t cPenaltyKicks = 0;              // penalty kicks awarded
    // Each counted shot by where it was struck (ShotOrigin), per side. The
    // match statistics count a shot only when its flight reaches the goal
    // or passes close by it; every shot kick (a shot's flight launched, wide
    // or blocked ones too, penalty kicks aside) is counted apart.
    std::int32_t aaiShotOrigin[2][kShotOrigins] = {};
    std::int32_t aiShotKicks[2] = {};
    std::int32_t aaiShotKickOrigin[2][kShotOrigins] = {};
    // Challenges (tackles begun in open play), those by a defender standing
    // in his own penalty area, and the fouls given for something done in a
    // penalty area (either).
    std::int32_t cChallenges = 0, cChallengesInArea = 0, cFoulsInArea = 0;
    // Of the challenges in the own area, those by an outfield player on the
    // other side's holder that the referee's rule scores a foul (80 or more,
    // as the challenge begins: from behind, or late on the ball).
    std::int32_t cChallengesInAreaFoulScore = 0;
    // Of the side's corners, those the other side's keeper was last on the
    // ball for (his parries and tips, a ball he let go over the line).
    std::int32_t aiCornersOffKeeper[2] = {};
    // Struck shots, as football counts them: every strike at goal (a
    // shooting kick or header reaching its contact, penalty kicks aside),
    // wide, blocked or on target, by where it was struck. Each is followed
    // to its end: on target when it went in, or when it was bound for the
    // goal and the other side's keeper stopped it (a block by anyone else
    // first is no shot on target); the keeper's saves are those stops.
    std::int32_t aiStruck[2] = {}, aiStruckOnTarget[2] = {}, aiStruckScored[2] = {};
    std::int32_t aiKeeperSaves[2] = {};  // of the side's struck shots, by the other keeper
    std::int32_t aiStruckHeaders[2] = {};  // of them, headed
    std::int32_t aaiStruckOrigin[2][kShotOrigins] = {};
  };
  FullTime oFullTime;
  // After full time, before any shoot-out: extra time played and its goals
  // per side. A tie played again from the start after a level extra time
  // (some tournament rounds) is bReplayed; the match played again is not
  // the one these figures follow.
  bool bExtraTime = false;
  std::int32_t aiExtraGoals[2] = {};
  bool bReplayed = false;
  std::string Describe(const Config& c) const;
};

// Per-tick observer (after the tick), for tests that look inside.
using TickFn = void (*)(std::int32_t iTick, void* pvContext);

// Sets the process up once (headless platform, data folder with the player
// database, keyboard, ports, frame packet). Safe to call again.
bool Setup(std::string* pWhy = nullptr);

// A forked worker process: a temporary folder of its own (settings and
// data), apart from its parent's. FolderRemove removes this process's folder
// (a worker's, before it leaves with _exit).
bool FolderOwn(std::string* pWhy = nullptr);
void FolderRemove();

Result Run(const Config& c, std::vector<Hash>* paHashes = nullptr, TickFn pfnTick = nullptr, void* pvContext = nullptr);

// True while Run is inside the game's part of a tick (inputs, tasks and the
// match tick), not the harness's own bookkeeping.
bool InMatchTick();

// The generator state a seed stands for.
void SeedRestore(std::uint32_t uSeed);

// Recorded runs (tests/data/matches/*.txt): the config, the inputs and the
// hashes. Replay fails at the first differing tick.
// Each tick keeps 16 bits of the combined hash; every kCheckpointEvery-th
// tick keeps the groups in full, to name the group of a mismatch.
std::uint32_t RecordedWord(const Hash& h);
bool RecordWrite(const std::string& path, const Config& c, const std::vector<Hash>& aHashes);
bool RecordRead(const std::string& path, Config* pc, std::vector<std::uint32_t>* paCombined,
                std::map<std::int32_t, Hash>* pmapCheckpoints);
constexpr std::int32_t kCheckpointEvery = 50;

// A run handed from a child process to its parent: every group of every
// tick, one tick a line. ChildHashes runs this program again with sEnv
// (NAME='value' words) before it and the variable sOutVariable naming a file
// of this call's own (in a new temporary folder, so that runs of the same
// tests side by side never meet), for the child to write its run to; empty
// when the child failed.
bool HashesWrite(const std::string& path, const std::vector<Hash>& aHashes);
std::vector<Hash> ChildHashes(const std::string& sEnv, const std::string& sOutVariable);

}  // namespace match_harness
