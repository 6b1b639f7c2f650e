// The start-up chain and the history intro: skips, films ending by
// themselves and films missing, as (events, film state) to stage, film and
// next mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "audio/qal.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/intro.h"
#include "frontend/mfhsetup.h"
#include "frontend/pcfmv.h"
#include "frontend/frontend_env.h"
#include "frontend/wcqual.h"
#include "platform/headless.h"
#include "platform/input_headless.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcinstall.h"
#include "shell/user.h"
#include "test_films.h"
#include "tournament/tmtree.h"

namespace {

namespace fs = std::filesystem;

void WriteFilms(const std::vector<const char*>& names, uint32_t frames) {
  const fs::path dir = FrontEndTestRoot() / "data" / "fmv";
  fs::create_directories(dir);
  const std::vector<uint8_t> film = test_films::Film(16, 16, frames, 4);
  for (const char* n : names)
    std::ofstream(dir / n, std::ios::binary).write(reinterpret_cast<const char*>(film.data()),
                                                   static_cast<std::streamsize>(film.size()));
}

void Event(int32_t eCode) {
  InputEvent* ev = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&ev));
  ev->eEvent = eCode;
  ev->pWidget = nullptr;
  queue_Append(&input_poGetPort(0)->oEvents, &ev->oLink);
}

std::string Film() {
  if (!pcfmv_bPlaying) return "";
  const std::string path = pcfmv_o.szPath;
  return path.substr(path.find_last_of('\\') + 1);
}

class Intro : public ::testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(pcinstall_szFmvPath, PCINSTALL_PATH_SIZE, "..\\data\\fmv\\");
    fs::remove_all(FrontEndTestRoot() / "data" / "fmv");
    if (QALInit(nullptr, 1048576, 1024) >= 0) qal_bStarted = 1;
    pcfmv_TargetInit();
    intro_bNeedsEnter = 1;
    histintro_bNeedsEnter = 1;
  }
  void TearDown() override {
    pcfmv_Stop();
    if (qal_bStarted) QALShutdown();
    qal_bStarted = 0;
  }
  // One front-end frame of mode 73: the screen, then the film's frame.
  static int32_t Run() {
    global_SetGameMode(GAME_MODE_INTRO);
    intro_Run();
    if (pcfmv_bPlaying) pcfmv_FrameShow(1);
    platform::headlessAdvanceClock(66666667);
    return static_cast<int32_t>(global.eGameMode);
  }
};

TEST_F(Intro, FourSkipsWalkThroughTheChainToTheLanguageCheck) {
  WriteFilms({"ostrellogo.rpl", "quorrel.rpl", "korvenaintn.rpl", "histry.rpl"}, 100);
  struct Step {
    int32_t skip;
    int32_t stage;
    const char* film;
    int32_t mode;
  };
  const Step steps[] = {{0, 2, "ostrellogo.rpl", 73}, {1, 1, "quorrel.rpl", 73}, {0, 1, "quorrel.rpl", 73},
                        {1, 0, "korvenaintn.rpl", 73}, {1, 3, "histry.rpl", 73}, {0, 3, "histry.rpl", 73},
                        {1, INTRO_STAGE_END, "", GAME_MODE_LANGUAGE}};
  for (const Step& s : steps) {
    if (s.skip) Event(1);
    const int32_t mode = Run();
    EXPECT_EQ(intro_iStage, s.stage);
    EXPECT_EQ(Film(), s.film);
    EXPECT_EQ(mode, s.mode);
  }
  EXPECT_EQ(pcfmv_o.bOpen, 0);
  EXPECT_EQ(global_poGetMenuUser(), &user_aUsers[0]);
  EXPECT_EQ(intro_bNeedsEnter, 1);
}

TEST_F(Intro, FilmsThatEndByThemselvesHandOnAndTheChainEnds) {
  WriteFilms({"ostrellogo.rpl", "quorrel.rpl", "korvenaintn.rpl", "histry.rpl"}, 3);
  std::vector<std::string> seen;
  int32_t mode = GAME_MODE_INTRO;
  int frames = 0;
  for (; frames < 40 && mode == GAME_MODE_INTRO; ++frames) {
    mode = Run();
    if (!Film().empty() && (seen.empty() || seen.back() != Film())) seen.push_back(Film());
  }
  EXPECT_EQ(mode, GAME_MODE_LANGUAGE);
  EXPECT_EQ(seen, (std::vector<std::string>{"ostrellogo.rpl", "quorrel.rpl", "korvenaintn.rpl", "histry.rpl"}));
  EXPECT_LE(frames, 4 * 4 + 1);
  EXPECT_EQ(pcfmv_o.bOpen, 0);
  EXPECT_EQ(qal_bStarted, 1);
}

TEST_F(Intro, WithoutFilmsTheChainReachesTheLanguageCheckWithinAFewFrames) {
  int frames = 1;
  while (Run() == GAME_MODE_INTRO && frames < 10) ++frames;
  EXPECT_LE(frames, 4);
  EXPECT_EQ(static_cast<int32_t>(global.eGameMode), GAME_MODE_LANGUAGE);
  EXPECT_EQ(qal_bStarted, 1);
}

TEST_F(Intro, HistoryIntroLeavesForTheSetUpWhenSkippedOrEnded) {
  WriteFilms({"histshrt.rpl"}, 4);
  input_FirstFreeUserAttach();
  ASSERT_TRUE(input_bUserActivate(&user_aUsers[0]));
  for (bool skip : {true, false}) {
    int frames = 0;
    do {
      global_SetGameMode(GAME_MODE_HISTORY_INTRO);
      histintro_Run();
      if (frames == 0) {
        EXPECT_EQ(Film(), "histshrt.rpl");
        if (skip) Event(161);
      }
      if (pcfmv_bPlaying) pcfmv_FrameShow(1);
      ++frames;
    } while (global.eGameMode == GAME_MODE_HISTORY_INTRO && frames < 20);
    EXPECT_EQ(static_cast<int32_t>(global.eGameMode), MFHSETUP_MODE);
    EXPECT_EQ(frames, skip ? 2 : 6) << (skip ? "skipped" : "to its end");
    EXPECT_EQ(pcfmv_o.bOpen, 0);
    EXPECT_EQ(histintro_bNeedsEnter, 1);
  }
}

TEST_F(Intro, HoldingEscapeLeavesOnTheNextFrame) {
  WriteFilms({"ostrellogo.rpl", "quorrel.rpl", "korvenaintn.rpl", "histry.rpl"}, 100);
  ASSERT_EQ(QKeyboardSetup(0), 0);
  QKeyboardAcquire();
  EXPECT_EQ(Run(), GAME_MODE_INTRO);
  EXPECT_EQ(Film(), "ostrellogo.rpl");
  ASSERT_TRUE(platform::headlessKey(1, true));  // Escape
  QKeyboardPoll();
  EXPECT_EQ(Run(), GAME_MODE_LANGUAGE);
  EXPECT_EQ(pcfmv_o.bOpen, 0);
  EXPECT_EQ(intro_bNeedsEnter, 1);
  platform::headlessKey(1, false);
  QKeyboardPoll();
  QKeyboardShutdown();
}

// Escape, Return or the keypad's Enter already down when the history film or
// an edition's film starts (the key that chose the screen, held on) and let
// go while the film plays leave it playing; the same key pressed and let go
// during the film skips it.
TEST_F(Intro, AKeyHeldFromBeforeAFilmDoesNotSkipItWhenLetGo) {
  WriteFilms({"histshrt.rpl", "swdn58mv.rpl"}, 100);
  input_FirstFreeUserAttach();
  ASSERT_TRUE(input_bUserActivate(&user_aUsers[0]));
  tmglobal_YearSet(58);
  ASSERT_EQ(QKeyboardSetup(0), 0);
  QKeyboardAcquire();
  const auto Key = [](uint8_t uScanCode, bool bDown) {
    ASSERT_TRUE(platform::headlessKey(uScanCode, bDown));
    QKeyboardPoll();
  };
  const struct {
    int32_t eMode;
    void (*pfnRun)();
    const char* pszFilm;
    int32_t eNext;
  } aScreens[] = {{GAME_MODE_HISTORY_INTRO, histintro_Run, "histshrt.rpl", MFHSETUP_MODE},
                  {WC_MODE_INTRO, wcintro_Run, "swdn58mv.rpl", GAME_MODE_NEWS}};
  for (const auto& o : aScreens) {
    // One front-end frame of the screen: the screen, then the film's frame.
    const auto Frame = [&o] {
      global_SetGameMode(static_cast<GameMode>(o.eMode));
      o.pfnRun();
      if (pcfmv_bPlaying) pcfmv_FrameShow(1);
      platform::headlessAdvanceClock(66666667);
      return static_cast<int32_t>(global.eGameMode);
    };
    const uint8_t auKeys[] = {0x01, 0x1C, 0x9C};  // Escape, Return, the keypad's Enter
    for (uint8_t uKey : auKeys) {
      SCOPED_TRACE(std::string(o.pszFilm) + " key " + std::to_string(uKey));
      Key(uKey, true);
      EXPECT_EQ(Frame(), o.eMode);
      EXPECT_EQ(Film(), o.pszFilm);
      EXPECT_EQ(Frame(), o.eMode);
      Key(uKey, false);
      for (int i = 0; i < 3; i++) EXPECT_EQ(Frame(), o.eMode) << "held from before the film, let go";
      EXPECT_EQ(Film(), o.pszFilm);
      Key(uKey, true);
      EXPECT_EQ(Frame(), o.eMode) << "pressed during the film";
      Key(uKey, false);
      EXPECT_EQ(Frame(), o.eNext) << "let go after its press";
      EXPECT_EQ(pcfmv_o.bOpen, 0);
    }
  }
  QKeyboardShutdown();
}

}  // namespace
