// The real executable, headless, with a prepared save folder: from the main
// menu's Load Game, a damaged save shows "Error!" and changes nothing, then a
// good one loads and the history hub follows, where Escape opens the quit box.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/history_save.h"
#include "engine/player.h"
#include "engine/team.h"
#include "frontend/pcsave.h"
#include "matchflow/options.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "support/captured_pictures.h"
#include "support/error_box_picture.h"
#include "support/run_game.h"
#include "tournament/fixtures.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmsave.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

using Game = korvena_test::GameRunner;
using korvena_test::scriptKey;
using korvena_test::readFile;
using korvena_test::EnglandHistoryBuild;
using korvena_test::GameWithCutDatabase;
using korvena_test::LoadAndPlayMatch;
using korvena_test::Write;

TEST_F(Game, ALoadFromTheMainMenuRefusesADamagedSaveAndLoadsAGoodOne) {
  // A history saved by the game's own writer.
  EnglandHistoryBuild(exe_);
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  const char* pb = reinterpret_cast<const char*>(pcsave_abImage);
  Write(folder / "A damaged 1970  1.6.70.SAV", pb, 4000);
  Write(folder / "Scotland 1998  10.6.98.SAV", pb, PCSAVE_IMAGE_SIZE);
  const std::string before = readFile(folder / "A damaged 1970  1.6.70.SAV");
  const std::string log = home_ / "debug.txt", list = home_ / "list.tga";
  env_["KORVENA_DEBUG_LOG"] = log;
  // The main menu's Load Game (right, right, down); Load, the first entry.
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(118, "RETURN");
  s += scriptKey(140, "RETURN") + scriptKey(146, "RETURN");
  // After the error box: Load, down to the second entry, a capture, select.
  s += scriptKey(200, "RETURN") + scriptKey(206, "DOWN") + "212 capture " + list + "\n" + scriptKey(216, "RETURN");
  // The history hub follows; Escape opens its quit box, "No" closes it, and
  // the hub stays until the script ends the run.
  const std::string hub = home_ / "hub.tga", box = home_ / "box.tga", closed = home_ / "closed.tga";
  s += "400 capture " + hub + "\n" + scriptKey(420, "ESCAPE") + "450 capture " + box + "\n";
  s += scriptKey(470, "RETURN") + "500 capture " + closed + "\n";
  s += "900 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  // The refusal names the file and the reason on standard error.
  EXPECT_NE(r.err.find("pcsave: the save " + (folder / "A damaged 1970  1.6.70.SAV").string() +
                       " was refused: it is 4000 bytes long, not a save's " + std::to_string(PCSAVE_IMAGE_SIZE) + "\n"),
            std::string::npos)
      << r.err;
  const std::string d = readFile(log);
  const std::size_t refused = d.find("pcsave: refused \"A damaged 1970  1.6.70\"");
  const std::size_t loaded = d.find("pcsave: loaded \"Scotland 1998  10.6.98\"");
  EXPECT_NE(refused, std::string::npos) << d;
  ASSERT_NE(loaded, std::string::npos) << d;
  EXPECT_LT(refused, loaded);
  EXPECT_EQ(readFile(folder / "A damaged 1970  1.6.70.SAV"), before);
  EXPECT_EQ(std::filesystem::file_size(folder / "Scotland 1998  10.6.98.SAV"),
            static_cast<std::uintmax_t>(PCSAVE_IMAGE_SIZE));
  EXPECT_FALSE(readFile(list).empty());
  ASSERT_FALSE(readFile(hub).empty());
  EXPECT_NE(readFile(box), readFile(hub));
  EXPECT_EQ(readFile(closed), readFile(hub));
}

// Saves whose team ids are outside the name table (a new qualifier, the roll
// of honour, the human team) are refused, each named on standard error with
// its reason, and left as they were; the good save after them loads.
TEST_F(Game, SavesWithTeamIdsOutsideTheNameTableAreRefusedAndNamed) {
  EnglandHistoryBuild(exe_);
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  const std::size_t kGlobal = PCSAVE_SETTINGS_BYTES + 4;
  const struct {
    const char* name;
    std::size_t at;
    std::uint32_t id;
    const char* reason;
  } bad[] = {{"A qualifier 1958  1.1.57", kGlobal + 352, 205, "the new qualifier's team id 205 is not a team"},
             {"B roll 1958  1.1.57", kGlobal + 156 + 32, 300, "the roll of honour's team id 300 (edition 2) is not a team"},
             {"C human 1958  1.1.57", kGlobal + 108, 500, "the human team id 500 is not a team"}};
  std::vector<std::string> before;
  for (const auto& b : bad) {
    std::string bytes(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
    for (int i = 0; i < 4; i++) bytes[b.at + i] = static_cast<char>(b.id >> (8 * i));
    Write(folder / (std::string(b.name) + ".SAV"), bytes.data(), bytes.size());
    before.push_back(bytes);
  }
  Write(folder / "D good 1958  1.1.57.SAV", reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  // Load Game; then each entry in turn: Load, down to it, select.
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(118, "RETURN");
  for (int k = 0; k < 4; k++) {
    const int t = 140 + 80 * k;
    s += scriptKey(t, "RETURN") + (k ? scriptKey(t + 8, "DOWN") : "") + scriptKey(t + 16, "RETURN");
  }
  s += "600 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  for (std::size_t i = 0; i < 3; i++) {
    const std::filesystem::path f = folder / (std::string(bad[i].name) + ".SAV");
    EXPECT_NE(r.err.find("pcsave: the save " + f.string() + " was refused: " + bad[i].reason + "\n"), std::string::npos)
        << r.err;
    EXPECT_EQ(readFile(f), before[i]);
  }
  EXPECT_NE(readFile(log).find("pcsave: loaded \"D good 1958  1.1.57\""), std::string::npos) << readFile(log);
}

// The sides as the match kinds before a history leave them: a match between
// two squads (a Quick Start or a Friendly), then a training session, which
// sets the home squad up again and takes the away side's squad away. Then a
// new 1958 history, England the human team, saved by the game's writer and
// loaded from the main menu by a fresh run of the game.
TEST_F(Game, AHistorySavedAfterAMatchAndATrainingSessionLoadsInAFreshRun) {
  match_SquadBuffersPoint();
  const std::int32_t iEng = tla_IDFind("ENG"), iBra = tla_IDFind("BRA");
  ASSERT_EQ(matchflow_SideLoad(player_PlaysFor_Home, iBra, 10), 1);
  ASSERT_EQ(matchflow_SideLoad(player_PlaysFor_Away, iEng, 10), 1);
  ASSERT_NE(match_AwayTeamGet()->poPitchList, nullptr);
  ASSERT_EQ(matchflow_SideLoad(player_PlaysFor_Home, iEng, 0), 1);
  match_AwaySquadSet(nullptr);
  gstatso_Clear(&match_HomeTeamGet()->MatchStats);
  gstatso_Clear(&match_AwayTeamGet()->MatchStats);
  // The history.
  EnglandHistoryBuild(exe_);
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  Write(folder / "England 1958  7.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(118, "RETURN");
  s += scriptKey(140, "RETURN") + scriptKey(146, "RETURN") + "400 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string d = readFile(log);
  EXPECT_NE(d.find("pcsave: loaded \"England 1958  7.5.57\""), std::string::npos) << d << r.err;
  EXPECT_EQ(d.find("pcsave: refused"), std::string::npos) << d;
}

// Saves whose settings are out of range (a settings byte, an option word of
// the stream) or whose human team has no place in its edition's tree are
// refused, each named on standard error with the word and its value; the
// saves are left as they were.
TEST_F(Game, SavesWithSettingsOutOfRangeOrAHumanTeamOutsideTheTreeAreRefusedAndNamed) {
  EnglandHistoryBuild(exe_);
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  const std::size_t kGlobal = PCSAVE_SETTINGS_BYTES + 4;
  const std::size_t kOptions = kGlobal + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS;
  const struct {
    const char* name;
    std::size_t at;
    std::uint32_t value;
    int cBytes;
    const char* reason;
  } bad[] = {{"A camera 1958  1.1.57", kOptions + 4 * 6, 99, 4, "its camera option (settings word 6) is 99, not 0 to 4"},
             {"B camera 1958  1.1.57", kOptions + 4 * 6, 0xFFFFFFFFu, 4, "its camera option (settings word 6) is -1, not 0 to 4"},
             {"C camera 1958  1.1.57", kOptions + 4 * 6, 0x80000000u, 4,
              "its camera option (settings word 6) is -2147483648, not 0 to 4"},
             {"D length 1958  1.1.57", kOptions, 0, 4, "its match length option (settings word 0) is 0, not 5, 10 or 15"},
             {"E volume 1958  1.1.57", 1, 17, 1, "its music volume (settings byte 1) is 17, not 0 to 16"},
             {"F human 1958  1.1.57", kGlobal + 108, 0, 4, "human team 1's id 0 has no place in the tree of its edition"},
             {"G human 1958  1.1.57", kGlobal + 108, TLA_COUNT - 1, 4,
              "human team 1's id 204 has no place in the tree of its edition"}};
  ASSERT_EQ(TLA_COUNT - 1, 204);
  std::vector<std::string> before;
  for (const auto& b : bad) {
    std::string bytes(reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
    for (int i = 0; i < b.cBytes; i++) bytes[b.at + static_cast<std::size_t>(i)] = static_cast<char>(b.value >> (8 * i));
    Write(folder / (std::string(b.name) + ".SAV"), bytes.data(), bytes.size());
    before.push_back(bytes);
  }
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  std::string s = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(118, "RETURN");
  // Each entry in turn: Load, down to it (the cursor stays where it was),
  // select.
  for (int k = 0; k < 7; k++) {
    const int t = 140 + 80 * k;
    s += scriptKey(t, "RETURN") + (k ? scriptKey(t + 8, "DOWN") : "") + scriptKey(t + 16, "RETURN");
  }
  s += "760 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  for (std::size_t i = 0; i < std::size(bad); i++) {
    const std::filesystem::path f = folder / (std::string(bad[i].name) + ".SAV");
    EXPECT_NE(r.err.find("pcsave: the save " + f.string() + " was refused: " + bad[i].reason + "\n"), std::string::npos)
        << bad[i].name << "\n" << r.err;
    EXPECT_EQ(readFile(f), before[i]);
  }
  EXPECT_EQ(readFile(log).find("pcsave: loaded"), std::string::npos) << readFile(log);
}

// Saves with every option at one end of its range load, and the hub's Play
// Match starts their match.
TEST_F(Game, SavesWithTheSettingsAtTheEndsOfTheirRangesLoadAndPlay) {
  timeLimitSeconds_ = 300;
  const OptionsBlock o = options_oBlock;
  const int iHolder = tmglobal.bHolderOption;
  for (bool bHigh : {false, true}) {
    OptionsBlock& b = options_oBlock;
    b.iMatchLength = bHigh ? 15 : 5;
    b.iMusicVolume = b.iSfxVolume = bHigh ? OPTIONS_VOLUME_MAX : 0;
    b.iPlayerChat = bHigh ? OPTIONS_CHAT_MAX : 0;
    b.bOffside = b.bCatchUp = b.bPenalties = b.bFouls = b.iDayNight = bHigh ? 1 : 0;
    b.iCamera = bHigh ? 4 : 0;
    b.iExtraTime = b.iReferee = bHigh ? 2 : 0;
    b.iLevelOfDetail = bHigh ? OPTIONS_DETAIL_MAX : 0;
    EnglandHistoryBuild(exe_);
    tmglobal.bHolderOption = bHigh ? 1 : 0;
    ASSERT_EQ(pcsave_ImageBuild(), 1);
    options_oBlock = o;
    tmglobal.bHolderOption = iHolder;
    const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Write(folder / "England 1958  7.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
    const std::string log = home_ / (bHigh ? "high.txt" : "low.txt");
    env_["KORVENA_DEBUG_LOG"] = log;
    korvena_test::GameRun r = run(LoadAndPlayMatch() + "600 quit 3\n");
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
    const std::string d = readFile(log);
    EXPECT_NE(d.find("pcsave: loaded \"England 1958  7.5.57\""), std::string::npos) << bHigh << d << r.err;
    EXPECT_NE(d.find("match start: home"), std::string::npos) << bHigh << d << r.err;
  }
}

// With the player database unreadable, a loaded history's Play Match shows
// the game's error box naming the file, and the hub stays.
TEST_F(Game, AnUnreadablePlayerDatabaseShowsTheErrorBoxAtPlayMatch) {
  squadcache_Clear();  // every squad comes from the database
  exe_ = GameWithCutDatabase(exe_, home_.path(), 5000);
  const std::string log = home_ / "debug.txt", hub = home_ / "hub.tga", box = home_ / "box.tga";
  env_["KORVENA_DEBUG_LOG"] = log;
  korvena_test::GameRun r = run(LoadAndPlayMatch() + "214 capture " + hub + "\n240 capture " + box + "\n400 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string d = readFile(log);
  const std::size_t loaded = d.find("pcsave: loaded \"England 1958  7.5.57\"");
  ASSERT_NE(loaded, std::string::npos) << d << r.err;
  EXPECT_NE(d.find("error box: ..\\data\\database\\dump\\dump.dat cannot be read\n", loaded), std::string::npos) << d;
  EXPECT_EQ(d.find("match start: home"), std::string::npos) << d;
  EXPECT_NE(r.err.find("squads: the player database ..\\data\\database\\dump\\dump.dat cannot be read"), std::string::npos)
      << r.err;
  // The hub showed no box before Play Match.
  EXPECT_FALSE(korvena_test::ErrorBoxShown(hub));
  EXPECT_TRUE(korvena_test::ErrorBoxShown(box));
}

// With the player database cut to 1,000 bytes, a loaded history's Play
// Match shows the game's error box over the hub: it reads "Error!" over the
// file's name and nothing of the hub's labels (Choose Squad, Fixtures, Roll
// of Honour, Options) is drawn over it or its text, however long it shows:
// it stays until a key, which only takes it away.
TEST_F(Game, ThePlayerDatabasesErrorBoxIsDrawnOverTheHubsLabels) {
  squadcache_Clear();
  exe_ = GameWithCutDatabase(exe_, home_.path(), 1000);
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  std::string s = LoadAndPlayMatch();
  const int aSteps[] = {226, 240, 270, 900};
  for (int t : aSteps) s += std::to_string(t) + " capture " + (home_ / ("box" + std::to_string(t) + ".tga")) + "\n";
  s += korvena_test::scriptKey(910, "RETURN") + "940 capture " + (home_ / "after.tga") + "\n";
  korvena_test::GameRun r = run(s + "960 quit 3\n");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string d = readFile(log);
  ASSERT_NE(d.find("error box: ..\\data\\database\\dump\\dump.dat cannot be read\n"), std::string::npos) << d;
  EXPECT_EQ(d.find("match start: home"), std::string::npos) << d;
  for (int t : aSteps) {
    std::string why;
    EXPECT_TRUE(korvena_test::ErrorBoxReads(home_ / ("box" + std::to_string(t) + ".tga"),
                                            "..\\data\\database\\dump\\dump.dat cannot be read", &why))
        << why;
  }
  // The key took the box away and played no match.
  EXPECT_FALSE(korvena_test::ErrorBoxShown(home_ / "after.tga"));
  EXPECT_EQ(readFile(log).find("match start: home"), std::string::npos);
}

// A key held for eight steps.
std::string Hold(int iStep, const char* pszKey) {
  return std::to_string(iStep) + " keydown " + pszKey + "\n" + std::to_string(iStep + 8) + " keyup " + pszKey + "\n";
}

// All by keyboard in one run: a Quick Start kicked off and quit; Training
// (Albania 1998) kicked off and quit; a new history (1958, Austria) from its
// film, set-up, map, rules and draw to the hub, whose Options save it. A
// fresh run of the game loads that save from the main menu.
TEST_F(Game, AHistorySavedByKeysAfterAQuickStartAndATrainingSessionLoadsInAFreshRun) {
  timeLimitSeconds_ = 400;
  const std::string log = home_ / "debug.txt";
  env_["KORVENA_DEBUG_LOG"] = log;
  // The Quick Start, quit through the pause menu ("Quit Match", "Yes"), and
  // Training, kicked off and quit the same way; the menu keeps Training.
  // The draw below takes from the one random source the two matches drew
  // from, so the step Training is quit at decides it: quit at 2120, Austria's
  // first match (29.9.56) comes before any other match is played, no results
  // page shows and the draw's Return leads straight to the hub.
  std::string s = korvena_test::scriptQuickStartThenTraining() + scriptKey(2120, "ESCAPE");
  for (int t : {2140, 2146, 2152}) s += scriptKey(t, "DOWN");
  s += scriptKey(2170, "J") + scriptKey(2190, "DOWN") + scriptKey(2200, "J");
  // History: its film (Space skips it), the set-up, the map (Austria), the
  // rules and the draw; then the hub.
  const struct {
    int iStep;
    const char* pszKey;
  } aKeys[] = {{2330, "DOWN"},   {2350, "LEFT"},   {2370, "LEFT"},   {2392, "RETURN"}, {2434, "SPACE"},
               {2476, "RETURN"}, {2518, "SPACE"},  {2560, "RETURN"}, {2602, "RETURN"}, {2684, "RETURN"},
               {2766, "RETURN"},
               // The hub's Options (the right column's last item), its Save
               // Game (fifth), and the save screen's Save.
               {2834, "RIGHT"},  {2864, "DOWN"},   {2894, "DOWN"},   {2924, "DOWN"},   {2956, "RETURN"},
               {3036, "DOWN"},   {3066, "DOWN"},   {3096, "DOWN"},   {3126, "DOWN"},   {3158, "RETURN"},
               {3240, "RETURN"}};
  for (const auto& k : aKeys) s += Hold(k.iStep, k.pszKey);
  s += "3332 quit 3\n";
  korvena_test::GameRun r = run(s);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err.find("Assertion failed"), std::string::npos) << r.err;
  const std::string first = readFile(log);
  ASSERT_NE(first.find("match start: home 59"), std::string::npos) << first;  // the training session
  const std::filesystem::path folder = home_ / "share/korvena-football/savegame";
  std::vector<std::filesystem::path> saves;
  if (std::filesystem::exists(folder))
    for (const auto& e : std::filesystem::directory_iterator(folder)) saves.push_back(e.path());
  ASSERT_EQ(saves.size(), 1u) << "the history was not saved";
  EXPECT_EQ(saves[0].extension(), ".SAV");
  EXPECT_EQ(saves[0].stem().string().rfind("Austria 1958  ", 0), 0u) << saves[0];

  // The fresh run: Load Game, the list, the one save.
  const std::string log2 = home_ / "debug2.txt";
  env_["KORVENA_DEBUG_LOG"] = log2;
  std::string s2 = scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(118, "RETURN");
  s2 += scriptKey(140, "RETURN") + scriptKey(146, "RETURN") + "400 quit 3\n";
  r = run(s2);
  EXPECT_EQ(r.exitCode, 3) << r.err;
  const std::string d = readFile(log2);
  EXPECT_NE(d.find("pcsave: loaded \"" + saves[0].stem().string() + "\""), std::string::npos) << d << r.err;
  EXPECT_EQ(d.find("pcsave: refused"), std::string::npos) << d;
}

}  // namespace
