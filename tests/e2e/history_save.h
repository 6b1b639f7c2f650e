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

}  // namespace korvena_test
