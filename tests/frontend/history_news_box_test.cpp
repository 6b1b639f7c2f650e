// The news of a new edition over a player database that cannot be read: the
// squad changes page asks for the human team's squads as it is drawn, each
// frame; the error box it brings up shows once, and once the player takes it
// away the page takes his keys and the news goes on without the squads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhnews.h"
#include "frontend/pctext.h"
#include "history_new.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/headless_env.h"
#include "support/temp_dir.h"
#include "tournament/squad.h"
#include "tournament/tmtree.h"

namespace {

namespace fs = std::filesystem;

// While it lives, the player database is cut to its first 1,000 bytes and
// no squad is in the cache; the whole file comes back at the end.
class CutDatabase {
 public:
  CutDatabase() : path_(korvena_test::HeadlessRoot() / "data" / "database" / "dump" / "dump.dat") {
    whole_ = korvena_test::readFile(path_);
    Write(whole_.substr(0, 1000));
    squadcache_Clear();
  }
  ~CutDatabase() {
    Restore();
    pctext_ErrorBoxDismiss();
    mfhnews_NewsReset();
  }
  CutDatabase(const CutDatabase&) = delete;
  CutDatabase& operator=(const CutDatabase&) = delete;
  // The whole file back, no squad in the cache; the news is left as it is.
  void Restore() const {
    Write(whole_);
    squadcache_Clear();
  }

 private:
  void Write(const std::string& bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  fs::path path_;
  std::string whole_;
};

void Push(int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&input_poGetPort(0)->oEvents, &e->oLink);
}

// One front-end tick of the news screen: the kept box's look at the keys,
// then the screen.
void Tick() {
  pcframe_Begin();
  pctext_ErrorBoxKeyTake();
  mfhnews_Run();
}

// England's 1958 history, the news run by the menu user on the keyboard.
void EnglandsNews() {
  HistoryNew("ENG", 58, 1, 11);
  mfhnews_NewsReset();
  mfhnews_Reset();
  user_aUsers[0].bActive = 1;
  user_aUsers[0].pip = input_poGetPort(0);
  global_SetMenuUser(&user_aUsers[0]);
  input_EventQueueFlush(&input_poGetPort(0)->oEvents);
}

// The news of the next edition's qualifiers at its squad changes page.
MFHNewsScreen& NewsAtTheSquadChangesPage() {
  global_SetGameMode(static_cast<GameMode>(MFHNEWS_MODE));
  MFHNewsScreen& s = mfhnews_oScreen;
  s.bNeedsEnter = 0;
  s.iScript = MFHNEWS_NEXT_QUALIFYING;
  s.iPos = 2;
  s.iPendingScript = -1;
  s.iNextMode = MFHNEWS_MODE;
  s.bFirstFrame = 1;
  s.cFrames = 0;
  return s;
}

TEST(HistoryNewsBox, TheSquadChangesPageShowsTheErrorBoxOnceAndGoesOnWithoutTheSquads) {
  // England's 1962 qualifiers follow its 1958 history; the news of the new
  // edition stands at its squad changes page.
  EnglandsNews();
  mfhmain_HistoryBegin();
  ASSERT_EQ(mfhmain_NextEditionStart(), 1);
  ASSERT_EQ(tmglobal.iYear, 62);
  MFHNewsScreen& s = NewsAtTheSquadChangesPage();

  const CutDatabase cut;
  int cHolds = 0;  // the frames on which a box newly showed
  auto Ticks = [&](int n) {
    for (int i = 0; i < n; i++) {
      const bool bBefore = pctext_bErrorBoxHeldGet() != 0;
      Tick();
      cHolds += !bBefore && pctext_bErrorBoxHeldGet();
    }
  };
  Ticks(1);
  ASSERT_EQ(s.iPage, 0);
  ASSERT_TRUE(pctext_bErrorBoxHeldGet());
  ASSERT_NE(pctext_ErrorBoxGet(), nullptr);
  EXPECT_EQ(std::string(pctext_ErrorBoxGet()), "..\\data\\database\\dump\\dump.dat cannot be read");
  Ticks(5);
  EXPECT_TRUE(pctext_bErrorBoxHeldGet()) << "the box stays until a key";

  // The first key only takes the box away: the page stays, and no box
  // comes back however many frames the page is drawn.
  Push(37);
  Ticks(1);
  EXPECT_FALSE(pctext_bErrorBoxHeldGet());
  EXPECT_EQ(s.iPage, 0);
  Ticks(10);
  EXPECT_FALSE(pctext_bErrorBoxHeldGet());
  EXPECT_EQ(s.iPage, 0);
  EXPECT_EQ(s.cLines, 1) << "no squad, no name: the blank line between the joined and the left";

  // The next key reaches the page, and the news goes on to the rules page
  // (setting up the home side, whose squad is the one that could not be
  // read, shows no box again).
  Push(37);
  Ticks(2);
  EXPECT_NE(s.iPage, 0);
  EXPECT_EQ(s.iPage, 2);
  EXPECT_EQ(s.iNextMode, MFHNEWS_MODE);
  EXPECT_FALSE(pctext_bErrorBoxHeldGet());
  EXPECT_EQ(cHolds, 1);
}

// Every squad the database did not give is remembered while the news runs,
// however many teams ask: a second human team's page asks for two more
// squads (four in all, past the two squad slots); its box shows once too and,
// once taken away, does not come back however many frames the page is drawn.
TEST(HistoryNewsBox, TheSquadsThatCouldNotBeReadAreRememberedForEveryTeam) {
  EnglandsNews();
  mfhmain_HistoryBegin();
  ASSERT_EQ(mfhmain_NextEditionStart(), 1);
  MFHNewsScreen& s = NewsAtTheSquadChangesPage();

  const CutDatabase cut;
  int cHolds = 0;
  auto Ticks = [&](int n) {
    for (int i = 0; i < n; i++) {
      const bool bBefore = pctext_bErrorBoxHeldGet() != 0;
      Tick();
      cHolds += !bBefore && pctext_bErrorBoxHeldGet();
    }
  };
  // England's page: its two squads, one box, taken away.
  Ticks(2);
  ASSERT_EQ(s.iPage, 0);
  ASSERT_TRUE(pctext_bErrorBoxHeldGet());
  Push(37);
  Ticks(3);
  ASSERT_FALSE(pctext_bErrorBoxHeldGet());
  ASSERT_EQ(cHolds, 1);

  // Scotland's page, of the same editions.
  tmglobal.cHumans = 2;
  tmglobal.aHumans[1].Name = Id("SCO");
  mfhmain_aiHumanEdition[1] = mfhmain_aiHumanEdition[0];
  tmglobal.iCurrentHuman = 1;
  s.bFirstFrame = 1;
  Ticks(2);
  EXPECT_EQ(s.iPage, 0);
  EXPECT_TRUE(pctext_bErrorBoxHeldGet()) << "Scotland's squads are asked for too";
  Push(37);
  Ticks(1);
  EXPECT_FALSE(pctext_bErrorBoxHeldGet());
  Ticks(10);
  EXPECT_FALSE(pctext_bErrorBoxHeldGet()) << "no squad asked for again";
  EXPECT_EQ(s.iPage, 0);
  EXPECT_EQ(cHolds, 2);
  tmglobal.iCurrentHuman = 0;
  tmglobal.cHumans = 1;
}

// The squads the database did not give are remembered only while the news
// runs: a news entered again (from the hub, not back from a screen it
// opened) asks for them again, so once the database can be read the squad
// changes page lists the players it could not list before.
TEST(HistoryNewsBox, TheNewsEnteredAgainAsksAgainForTheSquadsItCouldNotRead) {
  EnglandsNews();
  mfhmain_HistoryBegin();
  const std::int32_t eOld = mfhmain_aiHumanEdition[0];
  ASSERT_EQ(mfhmain_NextEditionStart(), 1);
  MFHNewsScreen& s = NewsAtTheSquadChangesPage();
  // The page over the whole database: the players who joined and left.
  Tick();
  ASSERT_EQ(s.iPage, 0);
  ASSERT_FALSE(pctext_bErrorBoxHeldGet());
  const std::int32_t cWhole = s.cLines;
  ASSERT_GT(cWhole, 3);
  squadcache_Clear();

  CutDatabase cut;
  NewsAtTheSquadChangesPage();
  Tick();
  ASSERT_TRUE(pctext_bErrorBoxHeldGet());
  Push(37);
  Tick();
  ASSERT_FALSE(pctext_bErrorBoxHeldGet());
  ASSERT_EQ(s.cLines, 1);
  // The database can be read again; this news does not ask again.
  cut.Restore();
  for (int i = 0; i < 3; i++) Tick();
  EXPECT_EQ(s.iPage, 0);
  EXPECT_EQ(s.cLines, 1);

  // The news entered anew, at the same page of the same editions.
  mfhnews_bArrived = 0;
  mfhnews_Enter();
  mfhmain_aiHumanEdition[0] = eOld;
  NewsAtTheSquadChangesPage();
  Tick();
  EXPECT_FALSE(pctext_bErrorBoxHeldGet());
  EXPECT_EQ(s.iPage, 0);
  EXPECT_EQ(s.cLines, cWhole) << "the squads are asked for again";
}

}  // namespace
