#pragma once
// A new 1958 history written by the game's own save writer, for runs of the
// real executable that load it from the main menu.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/pcsave.h"
#include "support/run_game.h"
#include "tournament/fixtures.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace korvena_test {

inline void Write(const std::filesystem::path& p, const char* pb, std::size_t n) {
  std::ofstream out(p, std::ios::binary);
  out.write(pb, static_cast<std::streamsize>(n));
}

// A new 1958 history, England the human team, its first match to play,
// saved into the image by the game's own writer.
inline void EnglandHistoryBuild(const std::string& exe) {
  tmmain_PoolsReset();
  tmglobal_Reset();
  const std::filesystem::path build = std::filesystem::path(exe).parent_path().parent_path();
  const std::string text = readFile(build / "data" / "database" / "tm" / "english" / "year58.csv");
  ASSERT_FALSE(text.empty());
  history_YearTextParse(text.data(), static_cast<std::int32_t>(text.size()));
  ASSERT_NE(TheYearList, nullptr);
  history_YearFixturesBuild(TheYearList);
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("ENG"));
  history_UserFixturesMark(TheYearList);
  tmglobal.iYear = tmglobal.iStartYear = 58;
  tmglobal.bStarted = tmglobal.bPlayQualifiers = 1;
  tmmain_RollOfHonourInit(0);
  ASSERT_EQ(pcsave_ImageBuild(), 1);
}

// Keys from the main menu: Load Game, Load, the first save; the hub shows
// by step 200.
inline std::string LoadToHub() {
  return scriptKey(100, "RIGHT") + scriptKey(106, "RIGHT") + scriptKey(112, "DOWN") + scriptKey(132, "RETURN") +
         scriptKey(154, "RETURN") + scriptKey(160, "RETURN");
}

// The same, and the hub's Play Match at step 220.
inline std::string LoadAndPlayMatch() { return LoadToHub() + scriptKey(220, "RETURN"); }

// A saved England 1958 history in the save folder under home, and a game of
// its own: the executable (with its renderers) beside links to the build's
// data, the player database cut to its first cbKeep bytes. Returns the new
// executable.
inline std::string GameWithCutDatabase(const std::string& exe, const std::filesystem::path& home, std::size_t cbKeep) {
  namespace fs = std::filesystem;
  EnglandHistoryBuild(exe);
  const fs::path folder = home / "share/korvena-football/savegame";
  fs::create_directories(folder);
  Write(folder / "England 1958  7.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage), PCSAVE_IMAGE_SIZE);
  const fs::path build = fs::path(exe).parent_path().parent_path(), game = home / "game";
  fs::create_directories(game / "bin");
  for (const auto& e : fs::directory_iterator(build / "bin"))
    if (e.path().filename() == "korvena" || e.path().extension() == ".so" || e.path().extension() == ".bmp")
      fs::copy_file(e.path(), game / "bin" / e.path().filename());
  const fs::path data = fs::absolute(build / "data");
  for (const auto& e : fs::recursive_directory_iterator(data)) {
    const fs::path to = game / "data" / fs::relative(e.path(), data);
    if (e.is_directory()) fs::create_directories(to);
    else fs::create_symlink(e.path(), to);
  }
  const fs::path dump = game / "data" / "database" / "dump" / "dump.dat";
  const std::string cut = readFile(dump).substr(0, cbKeep);
  fs::remove(dump);
  Write(dump, cut.data(), cut.size());
  return (game / "bin" / "korvena").string();
}

}  // namespace korvena_test
