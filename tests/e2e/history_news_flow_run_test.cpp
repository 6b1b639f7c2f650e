// The history news from page to page, and the films between its pages,
// played in this process through the game's own frame loop.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/frontend_services.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhnews.h"
#include "frontend/mfhsetup.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/pctext.h"
#include "frontend/wcqual.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "support/frame_texts.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace {

using korvena_test::HistoryDriver;
using H = HistoryDriver;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-news-flow", true, nullptr, nullptr});

// The main menu's History; the set-up from 1958, with or without the
// qualifiers; the map's first team.
void NewHistoryFrom1958(HistoryDriver& d, bool bQualifiers) {
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(MFHSETUP_MODE, [bQualifiers](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, bQualifiers ? H::kLeft : H::kRight, H::kSelect});
  });
  d.Answer(MTEAM_MODE, [](H& h) { h.Events({H::kSelect}); });
}

// Steps until the mode is eMode and has been held long enough to take keys.
bool Settled(HistoryDriver& d, std::int32_t eMode, std::int32_t limit) {
  return d.RunUntil([&] { return d.Mode() == eMode && d.Held() >= 8; }, limit);
}

// A key tapped on the keyboard: down for three steps, then up; the steps
// until the mode changes from eMode (at most limit after the key is up).
std::int32_t TapUntilLeft(HistoryDriver& d, const char* pszKey, std::int32_t eMode, std::int32_t limit) {
  d.KeyboardKey(pszKey, true);
  for (int i = 0; i < 3; i++) d.Step();
  d.KeyboardKey(pszKey, false);
  std::int32_t n = 0;
  while (d.Mode() == eMode && n < limit && d.Step()) n++;
  return n;
}

// Escape skips the history film and Return the edition's film, as the skip
// button does: each film was still playing when its key was let go, the
// next screen shows within a few steps, and the key does nothing there
// (Escape would leave the set-up for the main menu).
TEST(NewsFlow, EscapeAndReturnSkipTheFilms) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  NewHistoryFrom1958(d, false);
  d.Answer(GAME_MODE_HISTORY_INTRO, [](H&) {});
  ASSERT_TRUE(Settled(d, GAME_MODE_HISTORY_INTRO, 2000)) << d.ModesText();
  ASSERT_EQ(pcfmv_IsIdle(), 0) << "the history film plays";
  EXPECT_LE(TapUntilLeft(d, "ESCAPE", GAME_MODE_HISTORY_INTRO, 200), 3) << d.ModesText();
  EXPECT_EQ(d.Mode(), MFHSETUP_MODE);
  d.Answer(MFHSETUP_MODE, [](H&) {});
  d.RunUntil([] { return false; }, 40);
  EXPECT_EQ(d.Mode(), MFHSETUP_MODE) << d.ModesText();

  // The set-up without the qualifiers: the news of the 1958 finals shows
  // the edition's film first.
  NewHistoryFrom1958(d, false);
  d.Answer(WC_MODE_INTRO, [](H&) {});
  ASSERT_TRUE(Settled(d, WC_MODE_INTRO, 3000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iYear, 58);
  ASSERT_EQ(pcfmv_IsIdle(), 0) << "the 1958 film plays";
  EXPECT_LE(TapUntilLeft(d, "RETURN", WC_MODE_INTRO, 200), 3) << d.ModesText();
  EXPECT_EQ(d.Mode(), GAME_MODE_NEWS);
}

// The texts of the frame but the "Exit" label.
std::vector<std::string> PageTexts() {
  std::vector<std::string> a;
  for (const korvena_test::TextBox& b : korvena_test::FrameTexts())
    if (b.text != festr_IDToStr(IDS_FE_EXIT)) a.push_back(b.text);
  return a;
}

// A history whose team loses every qualifier: the news of its failure goes
// on with Return alone from every page, the group tables it opens
// included (select goes from the confederation to the group, to the table,
// to Exit and out), and no page it waits on shows nothing but "Exit", up to
// the hub of the next edition.
TEST(NewsFlow, ReturnAloneGoesOnThroughTheNewsOfAFailedQualification) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  NewHistoryFrom1958(d, true);
  d.Answer(GAME_MODE_HISTORY_INTRO, [](H& h) { h.Events({H::kSkip}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MTATICS_MODE, [](H& h) { h.Events({H::kBack, H::kBack}); });
  d.Answer(MFHMAIN_MODE, [](H& h) { h.Events({H::kSelect}); });
  d.DefaultAnswer([](H& h) { h.Events({H::kSelect}); });
  d.MatchDouble([] { return std::pair{0, 3}; });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  const std::uint32_t Team = tmglobal.aHumans[0].Name;

  int cTablesSelects = 0, cTables = 0, cMostSelects = 0;
  d.Answer(MFHGROUP_MODE, [&](H& h) {
    cTablesSelects++;
    h.Events({H::kSelect});
  });
  std::vector<std::string> aEmpty;
  const auto watch = [&] {
    if (d.Mode() == MFHGROUP_MODE && d.Held() == 0) {
      cTables++;
      cTablesSelects = 0;
    }
    if (cTablesSelects > cMostSelects) cMostSelects = cTablesSelects;
    const MFHNewsScreen& s = mfhnews_oScreen;
    if (d.Mode() == GAME_MODE_NEWS && !s.bNeedsEnter && s.iNextMode == MFHNEWS_MODE && !pctext_bErrorBoxHeldGet() &&
        PageTexts().empty())
      aEmpty.push_back("year " + std::to_string(tmglobal.iYear) + " script " + std::to_string(s.iScript) +
                       " page " + std::to_string(s.iPage));
    return (tmglobal.iYear != 58 && d.Mode() == MFHMAIN_MODE) || d.Mode() == GAME_MODE_MAIN_MENU || cTablesSelects > 20;
  };
  tmreport_CountReset();
  ASSERT_TRUE(d.RunUntil(watch, 40000)) << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  const std::string sFilmThenNews = " " + std::to_string(WC_MODE_NOT_QUALIFIED) + " " + std::to_string(GAME_MODE_NEWS);
  EXPECT_NE(d.ModesText().find(sFilmThenNews), std::string::npos) << "the failure's film and its news";
  EXPECT_GE(cTables, 2) << "the news opened the group tables twice";
  EXPECT_LE(cMostSelects, 4);
  EXPECT_EQ(d.Mode(), MFHMAIN_MODE);
  EXPECT_EQ(tmglobal.iYear, 62);
  EXPECT_EQ(tmglobal.aHumans[0].Name, Team);
  for (const std::string& s : aEmpty) ADD_FAILURE() << "a page with nothing on it: " << s;
  EXPECT_EQ(tmreport_CountGet(), 0);
}

}  // namespace
