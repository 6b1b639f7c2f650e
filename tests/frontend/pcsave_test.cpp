// The save and load screens: their tables of sub-states, icons and events,
// campaigns saved and loaded through them, damaged and foreign files, the
// overwrite question and writes that fail half way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <array>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "campaign_driver.h"
#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhnews.h"
#include "frontend/mfhsetup.h"
#include "frontend/pcfe.h"
#include "frontend/pcsave.h"
#include "frontend/pctext.h"
#include "matchflow/options.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "screens_up.h"
#include "support/headless_env.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmsave.h"
#include "tournament/tmtree.h"

namespace fs = std::filesystem;

fs::path BuildDir() {
  const char* psz = std::getenv("KORVENA_BUILD_DIR");
  return psz ? fs::path(psz) : fs::path();
}

namespace {

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-pcsave", true, FrontEndScreensUp, FrontEndScreensDown});

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

fs::path Folder() { return fs::path(platform::saveDir()); }

Bytes Stream() {
  Bytes v(TMSAVE_BLOCK_SIZE);
  const std::int32_t n = tmsave_Write(v.data(), TMSAVE_BLOCK_SIZE);
  v.resize(static_cast<std::size_t>(std::max(n, 0)));
  return v;
}

Bytes FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FileWrite(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Every entry of the save folder with its bytes (folders as "<dir>").
std::map<std::string, Bytes> Snapshot() {
  std::map<std::string, Bytes> m;
  if (!fs::exists(Folder())) return m;
  for (const auto& e : fs::directory_iterator(Folder()))
    m[e.path().filename().string()] = e.is_directory() ? Bytes{'<', 'd', '>'} : FileBytes(e.path());
  return m;
}

void Push(User* pusr, int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&pusr->pip->oEvents, &e->oLink);
}

class SaveScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < USER_MAX; i++) {
      user_aUsers[i].pip = input_poGetPort(i);
      user_aUsers[i].bActive = i < 2;
      input_EventQueueFlush(&user_aUsers[i].pip->oEvents);
    }
    global_SetMenuUser(&user_aUsers[0]);
    options_oBlock.iPlayerChat = 1;
    options_oBlock.bOffside = 1;
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    pcsave_WriteFnSet(nullptr);
  }
  void TearDown() override {
    pcsave_WriteFnSet(nullptr);
    pcsave_SyncFnSet(nullptr);
  }

  // Enters the screen afresh.
  void Enter(int mode, int extended = 52) {
    global_SetExtendedGameMode(static_cast<GameMode>(extended));
    if (mode == PCSAVE_MODE_SAVE) pcsave_SaveEnter();
    else pcsave_LoadEnter();
  }
  // One frame with these events of the menu user: the next mode.
  int Frame(std::initializer_list<int> codes = {}) {
    for (int c : codes) Push(&user_aUsers[0], c);
    pcframe_Begin();
    pcsave_Draw();
    return pcsave_Step();
  }
  // Frames until the screen leaves (at most limit); the mode it leaves to.
  int RunOut(int limit = 40) {
    for (int i = 0; i < limit; i++) {
      const int e = Frame();
      if (e != pcsave_oScreen.eMode) return e;
    }
    return pcsave_oScreen.eMode;
  }
  // Frames until the error box has gone (back to the icons).
  void ErrorOut() {
    ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_ERROR);
    EXPECT_EQ(pcsave_oScreen.bMessage, 1);
    for (int i = 0; i < PCSAVE_MESSAGE_FRAMES; i++) Frame();
    EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
    EXPECT_EQ(pcsave_oScreen.bMessage, 0);
  }
  // n small files "Save NN" (not saves).
  void Files(int n) {
    fs::create_directories(Folder());
    for (int i = 0; i < n; i++) {
      char sz[32];
      std::snprintf(sz, sizeof(sz), "Save %02d.SAV", i);
      FileWrite(Folder() / sz, Bytes(static_cast<std::size_t>(i + 1), static_cast<std::uint8_t>(i)));
    }
  }
  // The save screen's save of the running campaign, answering "Yes" when
  // asked to overwrite; the mode it leaves to.
  int SaveThroughScreen() {
    Enter(PCSAVE_MODE_SAVE);
    Frame({37});
    Frame();
    if (pcsave_oScreen.iSubState == PCSAVE_CONFIRM_OVERWRITE) {
      Frame({10, 37});
      Frame();
    }
    EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_SUCCESS);
    return RunOut();
  }
  // Chooses the entry of that name in the load screen (entered) and loads it.
  void ChooseAndLoad(const std::string& name) {
    Frame({37});
    ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_LIST);
    for (int k = 0; k < pcsave_oScreen.cFiles && name != pcsave_oScreen.aszFiles[pcsave_oScreen.iTop + pcsave_oScreen.iRow]; k++)
      Frame({9});
    ASSERT_EQ(name, pcsave_oScreen.aszFiles[pcsave_oScreen.iTop + pcsave_oScreen.iRow]);
    Frame({37});
    ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_PERFORM);
    Frame();
  }
  std::string SaveName() {
    char sz[PCSAVE_PATH_SIZE];
    EXPECT_TRUE(pcsave_SaveNameMake(sz, sizeof(sz)));
    std::string s = sz;
    return s.substr(12, s.size() - 16);  // without "..\savegame\" and ".SAV"
  }
};

// The history screens' state the save keeps beside the tournament.
struct HistoryWords {
  MFHSettings oSetup;
  int iCursor;
  int iIntroYear;
  std::array<int, 3> aLast, aBefore;
  std::array<int, TM_HUMAN_MAX> aEditions;  // each human team's squad edition
  bool operator==(const HistoryWords& o) const {
    return std::memcmp(&oSetup, &o.oSetup, sizeof oSetup) == 0 && iCursor == o.iCursor &&
           iIntroYear == o.iIntroYear && aLast == o.aLast && aBefore == o.aBefore && aEditions == o.aEditions;
  }
};
HistoryWords HistoryWordsGet() {
  const MFHNewsMarkers& m = mfhnews_oMarkers;
  const std::int32_t* e = mfhmain_aiHumanEdition;
  return {mfhsetup_oSettings, mfhmain_oScreen.iCursor, m.iIntroYear, {m.aiLast[0], m.aiLast[1], m.aiLast[2]},
          {m.aiBefore[0], m.aiBefore[1], m.aiBefore[2]}, {e[0], e[1], e[2], e[3]}};
}
void HistoryWordsSet(const HistoryWords& h) {
  mfhsetup_oSettings = h.oSetup;
  mfhmain_oScreen.iCursor = h.iCursor;
  MFHNewsMarkers& m = mfhnews_oMarkers;
  m.iIntroYear = h.iIntroYear;
  for (int i = 0; i < 3; i++) {
    m.aiLast[i] = h.aLast[static_cast<std::size_t>(i)];
    m.aiBefore[i] = h.aBefore[static_cast<std::size_t>(i)];
  }
  for (int i = 0; i < TM_HUMAN_MAX; i++) mfhmain_aiHumanEdition[i] = h.aEditions[static_cast<std::size_t>(i)];
}
std::ostream& operator<<(std::ostream& os, const HistoryWords& h) {
  const MFHSettings& o = h.oSetup;
  return os << o.iStartYear << "/" << o.cHumanTeams << "/" << o.bPlayQualifiers << "/" << o.bSecondOption << "/"
            << o.iMatchLength << " cursor " << h.iCursor << " intro " << h.iIntroYear << " dates " << h.aLast[0]
            << "." << h.aLast[1] << "." << h.aLast[2] << " " << h.aBefore[0] << "." << h.aBefore[1] << "."
            << h.aBefore[2] << " editions " << h.aEditions[0] << "," << h.aEditions[1] << "," << h.aEditions[2]
            << "," << h.aEditions[3];
}
// Word i of the history screens' words in a save file.
constexpr std::size_t HistoryWordAt(int i) {
  return static_cast<std::size_t>(PCSAVE_SETTINGS_BYTES + 4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE +
                                  4 * (TMSAVE_HISTORY_FIRST + i - TMSAVE_SETTINGS_WORDS));
}
void Put32(Bytes& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; i++) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

// A campaign in the 1970 qualifiers after a few matches.
void MidCampaign(int cMatches) {
  Campaign c(Id("SCO"), Script::Win, 21);
  ASSERT_TRUE(c.EditionStart(70));
  for (int i = 0; i < cMatches; i++) c.MatchPlay();
}

}  // namespace

// ---- Screen tables ----------------------------------------------------------------

TEST_F(SaveScreens, IconsMoveWithinTheirThreeAndBackAndExitLeaveToTheReturnMode) {
  Files(3);
  struct Row {
    int mode, extended, ret;
  };
  for (const Row& r : {Row{42, 52, 52}, Row{42, 12, 52}, Row{43, 52, 52}, Row{43, 41, 41}, Row{43, 12, 12}, Row{43, 49, 12}}) {
    Enter(r.mode, r.extended);
    EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
    EXPECT_EQ(pcsave_oScreen.cFiles, 3);
    EXPECT_EQ(Frame({8}), r.mode);
    EXPECT_EQ(pcsave_oScreen.iIcon, 0);
    EXPECT_EQ(Frame({9, 9, 9}), r.mode);
    EXPECT_EQ(pcsave_oScreen.iIcon, 2);
    EXPECT_EQ(Frame({37}), r.ret) << r.mode << " " << r.extended;
    Enter(r.mode, r.extended);
    EXPECT_EQ(Frame({38}), r.ret);
  }
  // Delete and Load go to the list first; back from the list to the icons.
  Enter(43);
  Frame({37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_LIST);
  EXPECT_EQ(pcsave_oScreen.iPending, PCSAVE_PERFORM);
  Frame({38});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  Frame({9, 37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_LIST);
  EXPECT_EQ(pcsave_oScreen.iPending, PCSAVE_CONFIRM_DELETE);
  Frame({37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_CONFIRM_DELETE);
  EXPECT_EQ(pcsave_oScreen.bYes, 0);
  Frame({10});
  EXPECT_EQ(pcsave_oScreen.bYes, 1);
  Frame({11, 37});  // "No"
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  EXPECT_EQ(pcsave_oScreen.cFiles, 3);
}

TEST_F(SaveScreens, AnEmptyListOffersNeitherLoadNorDelete) {
  Enter(43);
  EXPECT_TRUE(fs::is_directory(Folder()));  // made when missing
  EXPECT_EQ(pcsave_oScreen.cFiles, 0);
  Frame({37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  Frame({9, 37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
}

TEST_F(SaveScreens, TheListScrollsNineAtATimeAndStopsAtItsEnds) {
  Files(12);
  Enter(43);
  Frame({37});
  Frame({8});
  EXPECT_EQ(pcsave_oScreen.iTop, 0);
  EXPECT_EQ(pcsave_oScreen.iRow, 0);
  for (int i = 0; i < 8; i++) Frame({9});
  EXPECT_EQ(pcsave_oScreen.iTop, 0);
  EXPECT_EQ(pcsave_oScreen.iRow, 8);
  Frame({9});
  EXPECT_EQ(pcsave_oScreen.iTop, 1);
  EXPECT_EQ(pcsave_oScreen.iRow, 8);
  for (int i = 0; i < 5; i++) Frame({9});
  EXPECT_EQ(pcsave_oScreen.iTop, 3);  // the last entry is 11
  EXPECT_EQ(pcsave_oScreen.iRow, 8);
  for (int i = 0; i < 8; i++) Frame({8});
  EXPECT_EQ(pcsave_oScreen.iTop, 3);
  EXPECT_EQ(pcsave_oScreen.iRow, 0);
  Frame({8});
  EXPECT_EQ(pcsave_oScreen.iTop, 2);
  EXPECT_STREQ(pcsave_oScreen.aszFiles[2], "Save 02");
}

TEST_F(SaveScreens, DeletingTheLastOrBottomEntryKeepsTheCursorOnAnEntry) {
  Files(12);
  Enter(43);
  const auto before = Snapshot();
  // The bottom entry of the scrolled list, the last one.
  Frame({9, 37});
  for (int i = 0; i < 11; i++) Frame({9});
  ASSERT_EQ(pcsave_oScreen.iTop + pcsave_oScreen.iRow, 11);
  Frame({37});
  Frame({10, 37});
  ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_DELETE);
  Frame();
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  EXPECT_EQ(pcsave_oScreen.cFiles, 11);
  EXPECT_EQ(pcsave_oScreen.iTop, 3);
  EXPECT_EQ(pcsave_oScreen.iRow, 7);
  auto after = Snapshot();
  EXPECT_EQ(after.count("Save 11.SAV"), 0u);
  after["Save 11.SAV"] = before.at("Save 11.SAV");
  EXPECT_EQ(after, before);
  // Entries down to 9 from a window at the end: the cursor follows up.
  for (int left = 10; left >= 1; left--) {
    Frame({37});
    Frame({37});
    Frame({10, 37});
    Frame();
    EXPECT_EQ(pcsave_oScreen.cFiles, left);
    EXPECT_LT(pcsave_oScreen.iTop + pcsave_oScreen.iRow, left);
    EXPECT_GE(pcsave_oScreen.iRow, 0);
  }
  // The very last file: an empty list and the icons.
  Frame({37});
  Frame({37});
  Frame({10, 37});
  Frame();
  EXPECT_EQ(pcsave_oScreen.cFiles, 0);
  EXPECT_EQ(pcsave_oScreen.iTop, 0);
  EXPECT_EQ(pcsave_oScreen.iRow, 0);
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  EXPECT_TRUE(Snapshot().empty());
  Frame({8, 37});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
}

TEST_F(SaveScreens, OnlyTheMenuUsersEventsCount) {
  Files(2);
  Enter(43);
  Push(&user_aUsers[1], 9);
  Push(&user_aUsers[1], 37);
  EXPECT_EQ(Frame(), 43);
  EXPECT_EQ(pcsave_oScreen.iIcon, 0);
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  EXPECT_EQ(queue_RemoveHead(&user_aUsers[1].pip->oEvents), nullptr);
  // Events left after a choice wait for the next sub-state.
  Frame({37, 9});
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_LIST);
  EXPECT_EQ(pcsave_oScreen.iRow, 0);
  Frame();
  EXPECT_EQ(pcsave_oScreen.iRow, 1);
}

// ---- Campaigns through the screens ------------------------------------------------

TEST_F(SaveScreens, CampaignsSaveAndLoadThroughTheScreensAsTheyWere) {
  int cPoints = 0;
  for (const char* tla : {"SCO", "MEX"}) {
    Campaign c(Id(tla), Script::Draw, 5);
    int n = 0;
    c.onMatch = [&] {
      if (n++ % 4) return;
      tmglobal.bHolderOption = n % 2;
      options_oBlock.iWord3 = n % 3;
      options_oBlock.iPlayerChat = n % 9;
      options_oBlock.bOffside = n % 2;
      options_oBlock.iMusicVolume = 7;
      options_oBlock.iSfxVolume = 9;
      const Bytes a = Stream();
      const OptionsBlock o = options_oBlock;
      const int iHolder = tmglobal.bHolderOption;
      const std::string name = SaveName();
      ASSERT_EQ(SaveThroughScreen(), 52);
      EXPECT_EQ(FileBytes(Folder() / (name + ".SAV")).size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
      // Another state meanwhile: settings changed, the tournament gone.
      CampaignReset(99);
      tmglobal.bHolderOption = 3;
      options_oBlock.iWord3 = 5;
      options_oBlock.iPlayerChat = 0;
      options_oBlock.bOffside = 1;
      options_oBlock.iMusicVolume = 2;
      options_oBlock.iSfxVolume = 16;
      Enter(43, 52);
      ChooseAndLoad(name);
      ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_SUCCESS);
      EXPECT_EQ(RunOut(), 52);
      EXPECT_EQ(tmglobal.bHolderOption, iHolder);
      EXPECT_EQ(options_oBlock.iWord3, o.iWord3);
      EXPECT_EQ(options_oBlock.iPlayerChat, o.iPlayerChat);
      EXPECT_EQ(options_oBlock.bOffside, o.bOffside);
      EXPECT_EQ(options_oBlock.iMusicVolume, 2);  // the volumes are stored, not restored
      EXPECT_EQ(options_oBlock.iSfxVolume, 16);
      options_oBlock.iMusicVolume = 7;
      options_oBlock.iSfxVolume = 9;
      EXPECT_EQ(Stream(), a) << tla << " " << n;
      // The settings bytes are set back after the stream, widened with their sign.
      pcsave_abImage[0] = static_cast<std::uint8_t>(1 - iHolder);
      pcsave_abImage[3] = 0x80;
      ASSERT_EQ(pcsave_ImageRestore(), PCSAVE_RESTORE_DONE);
      EXPECT_EQ(tmglobal.bHolderOption, 1 - iHolder);
      EXPECT_EQ(options_oBlock.iWord3, -128);
      tmglobal.bHolderOption = iHolder;
      options_oBlock.iWord3 = o.iWord3;
      EXPECT_EQ(Stream(), a);
      cPoints++;
    };
    c.Run(58, 70);
  }
  EXPECT_GT(cPoints, 10);
}

TEST_F(SaveScreens, ACampaignContinuedAfterALoadEndsAsOneNeverSaved) {
  auto trace = [](const std::vector<EditionRecord>& v) {
    std::string s;
    for (const EditionRecord& r : v) s += std::to_string(r.iYear) + ":" + std::to_string(r.uFlags) + "/" + std::to_string(r.cMatches) + " ";
    return s;
  };
  Campaign plain(Id("CHI"), Script::Win, 13);
  const std::string sPlain = trace(plain.Run(58, 74));
  const Bytes aEnd = Stream();
  Campaign saved(Id("CHI"), Script::Win, 13);
  int n = 0;
  saved.onMatch = [&] {
    if (n++ % 3) return;
    const std::string name = SaveName();
    ASSERT_EQ(SaveThroughScreen(), 52);
    tmmain_PoolsReset();
    tmglobal_Reset();
    Enter(43, 52);
    ChooseAndLoad(name);
    ASSERT_EQ(RunOut(), 52);
  };
  EXPECT_EQ(trace(saved.Run(58, 74)), sPlain);
  EXPECT_EQ(Stream(), aEnd);
  EXPECT_GT(n, 5);
}

TEST_F(SaveScreens, ALoadFromTheMainMenuGoesOnInTheHistoryHub) {
  MidCampaign(2);
  const std::string name = SaveName();
  ASSERT_EQ(SaveThroughScreen(), 52);
  Enter(43, 12);
  ChooseAndLoad(name);
  EXPECT_EQ(RunOut(), 47);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
}

TEST_F(SaveScreens, TheHistorySettingsHubCursorAndNewsMarkersTravelWithTheSave) {
  MidCampaign(2);
  global.iDay = 9;
  global.iMonth = 6;
  global.iYear = 69;
  const HistoryWords saved = {{66, 3, 0, 0, 15}, 6, 70, {9, 6, 69}, {28, 5, 69}, {3, 2, 0, 10}};
  HistoryWordsSet(saved);
  const std::string name = SaveName();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const fs::path file = Folder() / (name + ".SAV");
  const Bytes good = FileBytes(file);
  ASSERT_EQ(good.size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
  // The words stand in the file as the format gives them.
  const std::int32_t aExpected[19] = {2, 66, 3, 0, 0, 15, 6, 70, 9, 6, 69, 28, 5, 69, 4, 3, 1, 11, 0};
  for (int i = 0; i < 19; i++) {
    std::uint32_t u = 0;
    for (int k = 3; k >= 0; k--) u = u << 8 | good[HistoryWordAt(i) + static_cast<std::size_t>(k)];
    EXPECT_EQ(static_cast<std::int32_t>(u), aExpected[i]) << i;
  }
  const Bytes stream = Stream();
  const HistoryWords other = {{58, 1, 1, 1, 5}, 0, -1, {0, 0, 0}, {0, 0, 0}, {7, 7, 7, 7}};
  auto load = [&](const Bytes& b) {
    FileWrite(file, b);
    HistoryWordsSet(other);
    Enter(43, 52);
    ChooseAndLoad(name);
    return pcsave_oScreen.iSubState;
  };
  ASSERT_EQ(load(good), PCSAVE_SUCCESS);
  EXPECT_EQ(HistoryWordsGet(), saved);
  EXPECT_EQ(Stream(), stream);
  // A squad edition not kept (0) comes back as none; a save from before the
  // editions (word 0 is 1, their words 0) takes the loaded edition (1970).
  {
    Bytes b = good;
    Put32(b, HistoryWordAt(15), 0);
    ASSERT_EQ(load(b), PCSAVE_SUCCESS);
    HistoryWords back = saved;
    back.aEditions[1] = -1;
    EXPECT_EQ(HistoryWordsGet(), back);
    Put32(b, HistoryWordAt(0), 1);
    for (int i = 14; i < 18; i++) Put32(b, HistoryWordAt(i), 0);
    ASSERT_EQ(load(b), PCSAVE_SUCCESS);
    back.aEditions = {3, 3, 3, 3};
    EXPECT_EQ(HistoryWordsGet(), back);
    Put32(b, HistoryWordAt(17), 4);
    ASSERT_EQ(load(b), PCSAVE_ERROR) << "editions in a save from before them";
    ErrorOut();
  }
  // Words out of their ranges refuse the file and change nothing.
  const std::pair<int, std::int32_t> bad[] = {
      {0, 3},  {1, 60}, {1, 102}, {1, 54}, {2, 0},   {2, 5},  {3, 2},  {4, -1},   {5, 7},   {5, 0},
      {6, 8},  {6, -1}, {7, -2},  {7, 100}, {8, 32}, {9, 13}, {10, 100}, {12, -1}, {14, 12}, {17, -1}, {18, 1}, {20, 1}};
  for (auto [at, v] : bad) {
    Bytes b = good;
    Put32(b, HistoryWordAt(at), v);
    ASSERT_EQ(load(b), PCSAVE_ERROR) << at << " " << v;
    EXPECT_EQ(HistoryWordsGet(), other) << at;
    ErrorOut();
  }
  // A save from before the words (all 0) still loads: the settings the
  // tournament keeps, the match length of the options block, the cursor and
  // the news's markers as a new history has them.
  Bytes old = good;
  for (int i = 0; i < TMSAVE_HISTORY_WORDS; i++) Put32(old, HistoryWordAt(i), 0);
  // The global chunk's start year (word 120), human teams (116) and options
  // (124, 128); a start year the screen cannot show gives the default.
  const std::size_t kGlobal = PCSAVE_SETTINGS_BYTES + 4;
  // Human teams 2 and 3: teams of the tree besides the first.
  std::vector<std::uint32_t> others;
  for (std::uint32_t u = 1; u < static_cast<std::uint32_t>(TLA_COUNT) && others.size() < 2; u++)
    if (u != Id("SCO") && TeamInTreeLists(u)) others.push_back(u);
  ASSERT_EQ(others.size(), 2u);
  Put32(old, HistoryWordAt(19 - TMSAVE_HISTORY_FIRST), static_cast<std::int32_t>(others[0]));
  Put32(old, HistoryWordAt(21 - TMSAVE_HISTORY_FIRST), static_cast<std::int32_t>(others[1]));
  for (auto [iStart, cHumans, iLength, iExpected] : {std::array{62, 2, 10, 62}, {0, 1, 15, 58}, {61, 3, 5, 58}}) {
    Put32(old, kGlobal + 120, iStart);
    Put32(old, kGlobal + 116, cHumans);
    Put32(old, kGlobal + 124, 0);
    Put32(old, kGlobal + 128, 0);
    options_oBlock.iMatchLength = iLength;
    ASSERT_EQ(pcsave_ImageBuild(), 1);  // the options block the file keeps
    for (std::size_t k = 0; k < 4; k++) old[HistoryWordAt(-TMSAVE_HISTORY_FIRST) + k] = pcsave_abImage[HistoryWordAt(-TMSAVE_HISTORY_FIRST) + k];
    ASSERT_EQ(load(old), PCSAVE_SUCCESS) << iStart;
    const HistoryWords loaded = {{iExpected, cHumans, 0, 0, iLength}, 0, -1, {0, 0, 0}, {0, 0, 0}, {3, 3, 3, 3}};
    EXPECT_EQ(HistoryWordsGet(), loaded);
    // Saved again, it carries the words and loads as it was.
    ASSERT_EQ(pcsave_ImageBuild(), 1);
    EXPECT_EQ(pcsave_abImage[HistoryWordAt(0)], 2);
    const Bytes again(pcsave_abImage, pcsave_abImage + PCSAVE_IMAGE_SIZE);
    ASSERT_EQ(load(again), PCSAVE_SUCCESS);
    EXPECT_EQ(HistoryWordsGet(), loaded);
  }
  HistoryWordsSet(other);
}

TEST_F(SaveScreens, EveryTeamsShortNameInEveryLanguageMakesAListableName) {
  MidCampaign(0);
  const int iLanguage = mlang_iLanguage;
  global.iDay = 28;
  global.iMonth = 12;
  global.iYear = 97;
  tmglobal.iYear = 98;
  int cNames = 0;
  for (int lang = 0; lang < 6; lang++) {
    mlang_iLanguage = lang;
    for (int id = 1; id < TLA_COUNT; id++) {
      const char* psz = tla_ShortNameGet(id);
      if (!psz || !psz[0]) continue;
      tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(id);
      const std::string s = SaveName();
      EXPECT_LE(s.size(), 31u) << s;
      EXPECT_EQ(s.find_first_of("\\/:*?\"<>|"), std::string::npos) << s;
      EXPECT_EQ(s, std::string(psz) + " 1998  28.12.97");
      cNames++;
    }
  }
  mlang_iLanguage = iLanguage;
  EXPECT_GT(cNames, 6 * 150);
}

// ---- Damaged and foreign files ------------------------------------------------------

TEST_F(SaveScreens, DamagedFilesShowErrorAndLoseNothing) {
  MidCampaign(3);
  const std::string name = SaveName();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const fs::path file = Folder() / (name + ".SAV");
  const Bytes good = FileBytes(file);
  ASSERT_EQ(good.size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
  Files(2);
  MidCampaign(5);  // the running tournament: another point of the campaign
  const Bytes running = Stream();
  const OptionsBlock o = options_oBlock;
  const int iHolder = tmglobal.bHolderOption;
  const HistoryWords h = HistoryWordsGet();
  Enter(43, 52);
  // Loads the file as the cursor's entry, the screen past its list.
  auto load = [&](const Bytes& b) {
    FileWrite(file, b);
    pcsave_FilesList();
    pcsave_oScreen.iTop = pcsave_oScreen.iRow = 0;
    while (name != pcsave_oScreen.aszFiles[pcsave_oScreen.iRow]) pcsave_oScreen.iRow++;
    pcsave_oScreen.iSubState = PCSAVE_PERFORM;
    Frame();
    return pcsave_oScreen.iSubState;
  };
  auto unchanged = [&](const char* what) {
    EXPECT_EQ(Stream(), running) << what;
    EXPECT_EQ(std::memcmp(&options_oBlock, &o, sizeof(o)), 0) << what;
    EXPECT_EQ(tmglobal.bHolderOption, iHolder) << what;
  };
  // Every prefix, and a longer file.
  int cRefused = 0;
  for (std::size_t n = 0; n < good.size(); n += (n < 64 || n > good.size() - 64) ? 1 : 997) {
    ASSERT_EQ(load(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n))), PCSAVE_ERROR) << n;
    cRefused++;
  }
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_EQ(load(longer), PCSAVE_ERROR);
  unchanged("short or long");
  EXPECT_GT(cRefused, 120);
  // The history flag and Offside outside 0..1 and chat outside 0..8 refuse the file.
  for (auto [at, v] : {std::pair{0, 2}, {0, 0xFF}, {4, 9}, {4, 0xFF}, {4, 0x80}, {5, 2}, {5, 0xFF}}) {
    Bytes b = good;
    b[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v);
    EXPECT_EQ(load(b), PCSAVE_ERROR) << at << " " << v;
  }
  unchanged("settings");
  // Random flips in the stream: refused with nothing changed, or loaded whole.
  std::mt19937 rng(5);
  int cLoaded = 0;
  for (int k = 0; k < 150; k++) {
    Bytes b = good;
    const std::size_t at = PCSAVE_SETTINGS_BYTES + rng() % 20000;
    b[at] = static_cast<std::uint8_t>(b[at] ^ (1u << (rng() % 8)));
    if (load(b) == PCSAVE_ERROR) {
      unchanged("flip");
      pcsave_oScreen.bMessage = 0;
      continue;
    }
    ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_SUCCESS);
    cLoaded++;
    MidCampaign(5);
    HistoryWordsSet(h);
    options_oBlock = o;
    tmglobal.bHolderOption = iHolder;
  }
  EXPECT_LT(cLoaded, 150);
  // After each kind of refused file Exit goes to the return mode: nothing
  // was lost. A short file, a settings byte out of range, a stream refused.
  Bytes badChat = good, badStream = good;
  badChat[4] = 9;
  badStream[PCSAVE_SETTINGS_BYTES + 4] = 'X';  // the global chunk's tag
  for (const Bytes& b : {Bytes(good.begin(), good.begin() + 100), badChat, badStream}) {
    FileWrite(file, b);
    for (int ret : {52, 41, 12}) {
      Enter(43, ret);
      ChooseAndLoad(name);
      ErrorOut();
      EXPECT_EQ(Frame({9, 9, 37}), ret);
      unchanged("exit");
    }
    EXPECT_EQ(FileBytes(file), b);
  }
}

// Each settings byte out of its range, each option word of the stream out
// of its range and a history screens' word out of its range refuse the file
// with the byte or word and its value on standard error; the running game
// is as it was. At each end of its range a byte loads.
TEST_F(SaveScreens, ASettingOutOfItsRangeIsRefusedNamingItAndItsValue) {
  MidCampaign(3);
  const std::string name = SaveName();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const fs::path file = Folder() / (name + ".SAV");
  const Bytes good = FileBytes(file);
  ASSERT_EQ(good.size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
  MidCampaign(5);
  const Bytes running = Stream();
  const OptionsBlock o = options_oBlock;
  const int iHolder = tmglobal.bHolderOption;
  const HistoryWords h = HistoryWordsGet();
  const auto load = [&](const Bytes& b, std::string* pErr) {
    FileWrite(file, b);
    Enter(43, 52);
    testing::internal::CaptureStderr();
    ChooseAndLoad(name);
    *pErr = testing::internal::GetCapturedStderr();
    return pcsave_oScreen.iSubState;
  };
  const auto refused = [&](const Bytes& b, const std::string& why) {
    std::string err;
    EXPECT_EQ(load(b, &err), PCSAVE_ERROR) << why;
    EXPECT_EQ(err, "pcsave: the save " + file.string() + " was refused: " + why + "\n");
    EXPECT_EQ(Stream(), running) << why;
    EXPECT_EQ(std::memcmp(&options_oBlock, &o, sizeof(o)), 0) << why;
    EXPECT_EQ(tmglobal.bHolderOption, iHolder) << why;
    EXPECT_EQ(HistoryWordsGet(), h) << why;
  };
  const struct {
    std::size_t at;
    const char* name;
    int iMax;
  } kBytes[] = {{0, "history option", 1}, {1, "music volume", 16}, {2, "effects volume", 16}, {4, "player chat", 8}, {5, "offside", 1}};
  for (const auto& k : kBytes) {
    for (int v : {k.iMax + 1, -1, -128, 99}) {
      Bytes b = good;
      b[k.at] = static_cast<std::uint8_t>(v);
      refused(b, "its " + std::string(k.name) + " (settings byte " + std::to_string(k.at) + ") is " +
                     std::to_string(v) + ", not 0 to " + std::to_string(k.iMax));
    }
    for (int v : {0, k.iMax}) {
      Bytes b = good;
      b[k.at] = static_cast<std::uint8_t>(v);
      std::string err;
      EXPECT_EQ(load(b, &err), PCSAVE_SUCCESS) << k.name << " " << v << ": " << err;
      MidCampaign(5);
      HistoryWordsSet(h);
      options_oBlock = o;
      tmglobal.bHolderOption = iHolder;
    }
  }
  // The stream's camera option (settings word 6) and a history screens' word.
  const std::size_t kCamera = HistoryWordAt(6 - TMSAVE_HISTORY_FIRST);
  for (std::int32_t v : {99, -1, INT32_MIN}) {
    Bytes b = good;
    Put32(b, kCamera, v);
    refused(b, "its camera option (settings word 6) is " + std::to_string(v) + ", not 0 to 4");
  }
  // Each history screens' word is named as the screens call it, with its
  // value as written (signed) and its range.
  const struct {
    int i;
    std::int32_t v;
    const char* name;
    const char* range;
  } kWords[] = {
      {0, 3, "history words' mark", "0 to 2"},
      {1, 60, "Start Year", "58 to 98 in steps of 4"},
      {2, 0, "number of human teams", "1 to 4"},
      {3, -1, "Play Qualifiers setting", "0 or 1"},
      {4, 2, "second set-up option", "0 or 1"},
      {5, 7, "Match Length", "5, 10 or 15"},
      {6, 99, "hub's cursor", "0 to 7"},
      {7, -2, "news's introduction year", "-1 to 99"},
      {8, 32, "news's last results date's day", "0 to 31"},
      {12, 13, "news's earlier results date's month", "0 to 12"},
      {13, INT32_MIN, "news's earlier results date's two-digit year", "0 to 99"},
      {15, 12, "human team 2's squad edition", "0 to 11"},
      {19, 1, "unused history word 19", "0"},
  };
  for (const auto& w : kWords) {
    Bytes b = good;
    Put32(b, HistoryWordAt(w.i), w.v);
    refused(b, "its " + std::string(w.name) + " (settings word " + std::to_string(TMSAVE_HISTORY_FIRST + w.i) +
                   ") is " + std::to_string(w.v) + ", not " + w.range);
  }
}

// After the rename that puts a save in place, its folder is synced: the
// sync finds the new file in place and the temporary one gone.
int g_cFolderSyncs = 0;
std::string g_oSyncedFolder;
bool g_bSaveInPlace = false;
int FolderSyncSeen(int, const char* hostDir) {
  g_cFolderSyncs++;
  g_oSyncedFolder = hostDir;
  g_bSaveInPlace = false;
  for (const auto& e : fs::directory_iterator(hostDir)) {
    if (e.path().filename().string().find(".tmp.") != std::string::npos) return 0;
    if (e.path().extension() == ".SAV" && fs::file_size(e.path()) == static_cast<std::uintmax_t>(PCSAVE_IMAGE_SIZE))
      g_bSaveInPlace = true;
  }
  return 0;
}
int FolderSyncFails(int, const char*) {
  g_cFolderSyncs++;
  errno = EIO;
  return -1;
}

TEST_F(SaveScreens, TheFolderIsSyncedAfterTheRenameThatPutsASaveInPlace) {
  MidCampaign(2);
  g_cFolderSyncs = 0;
  platform::folderSyncFnSet(FolderSyncSeen);
  ASSERT_EQ(SaveThroughScreen(), 52);
  EXPECT_EQ(g_cFolderSyncs, 1);
  EXPECT_EQ(fs::canonical(g_oSyncedFolder), fs::canonical(Folder()));
  EXPECT_TRUE(g_bSaveInPlace);
  // The replacing save of the same day is synced too.
  options_oBlock.iPlayerChat = 4;
  ASSERT_EQ(SaveThroughScreen(), 52);
  EXPECT_EQ(g_cFolderSyncs, 2);
  EXPECT_TRUE(g_bSaveInPlace);
  // A folder that cannot be synced is said; the save is in place.
  platform::folderSyncFnSet(FolderSyncFails);
  options_oBlock.iPlayerChat = 5;
  testing::internal::CaptureStderr();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("could not be synced"), std::string::npos) << err;
  EXPECT_EQ(g_cFolderSyncs, 3);
  platform::folderSyncFnSet(nullptr);
  const Bytes saved = FileBytes(Folder() / (SaveName() + ".SAV"));
  ASSERT_EQ(saved.size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
  EXPECT_EQ(saved[4], 5);
}

TEST_F(SaveScreens, FoldersLongNamesAndTheSixtyFifthFileAreSkipped) {
  Files(3);
  fs::create_directories(Folder() / "A folder.SAV");
  const std::string s31(31, 'x'), s32(32, 'y');
  FileWrite(Folder() / (s31 + ".SAV"), Bytes{1});
  FileWrite(Folder() / (s32 + ".SAV"), Bytes{2});
  FileWrite(Folder() / "lower case.sav", Bytes{3});
  FileWrite(Folder() / "Not a save.txt", Bytes{4});
  // Temporary files: one of a game that no longer runs goes, our own stays.
  FileWrite(Folder() / "Old.SAV.tmp.999999999", Bytes{5});
  const std::string ours = "Mine.SAV.tmp." + std::to_string(getpid());
  FileWrite(Folder() / ours, Bytes{6});
  Enter(43);
  std::vector<std::string> listed;
  for (int i = 0; i < pcsave_oScreen.cFiles; i++) listed.push_back(pcsave_oScreen.aszFiles[i]);
  EXPECT_EQ(listed, (std::vector<std::string>{"Save 00", "Save 01", "Save 02", "lower case", s31}));
  EXPECT_FALSE(fs::exists(Folder() / "Old.SAV.tmp.999999999"));
  EXPECT_TRUE(fs::exists(Folder() / ours));
  fs::remove(Folder() / ours);
  // The lower-case one loads through its own name: refused as too short.
  Frame({37});
  Frame({9, 9, 9});
  ASSERT_STREQ(pcsave_oScreen.aszFiles[pcsave_oScreen.iTop + pcsave_oScreen.iRow], "lower case");
  Frame({37});
  Frame();
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ERROR);

  // 64 listed of 65; a new save fails, the replacement of a listed one does not.
  fs::remove_all(Folder());
  Files(65);
  MidCampaign(1);
  const std::string name = SaveName();
  Enter(42);
  EXPECT_EQ(pcsave_oScreen.cFiles, 64);
  const auto before = Snapshot();
  Frame({37});
  Frame();
  ErrorOut();
  EXPECT_EQ(Snapshot(), before);
  fs::remove(Folder() / "Save 64.SAV");
  FileWrite(Folder() / (name + ".SAV"), Bytes{9});
  EXPECT_EQ(SaveThroughScreen(), 52);
  EXPECT_EQ(FileBytes(Folder() / (name + ".SAV")).size(), static_cast<std::size_t>(PCSAVE_IMAGE_SIZE));
  // A folder of the save's own name: the save fails and the folder stays.
  fs::remove_all(Folder());
  fs::create_directories(Folder() / (name + ".SAV"));
  Enter(42);
  Frame({37});
  Frame();
  ErrorOut();
  EXPECT_TRUE(fs::is_directory(Folder() / (name + ".SAV")));
}

// ---- Overwrite and failed writes ------------------------------------------------------

std::size_t HalfWrite(const void* pv, std::size_t cb, std::FILE* pFile) {
  return std::fwrite(pv, 1, cb / 2, pFile);
}

TEST_F(SaveScreens, ASecondSaveOnOneDayAsksAndReplacesOnlyItsOwnFile) {
  Files(10);
  MidCampaign(2);
  const std::string name = SaveName();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const auto first = Snapshot();
  options_oBlock.iPlayerChat = 4;  // the second save differs in its chat byte
  Enter(42);
  // The cursor on another entry: the overwrite must not touch it.
  pcsave_oScreen.iRow = 3;
  Frame({37});
  Frame();
  ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_CONFIRM_OVERWRITE);
  EXPECT_EQ(pcsave_oScreen.bYes, 0);
  Frame({37});  // "No"
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_ICONS);
  EXPECT_EQ(Snapshot(), first);
  // A write that fails half way leaves every file and no temporary one.
  pcsave_WriteFnSet(HalfWrite);
  Frame({37});
  Frame();
  Frame({10, 37});
  ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_OVERWRITE);
  Frame();
  ErrorOut();
  EXPECT_EQ(Snapshot(), first);
  pcsave_WriteFnSet(nullptr);
  Frame({37});
  Frame();
  Frame({10, 37});
  Frame();
  ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_SUCCESS);
  auto second = Snapshot();
  EXPECT_EQ(second.at(name + ".SAV")[4], 4);
  second[name + ".SAV"] = first.at(name + ".SAV");
  EXPECT_EQ(second, first);
  // A new file failing half way: no file and no temporary one.
  fs::remove(Folder() / (name + ".SAV"));
  const auto without = Snapshot();
  pcsave_WriteFnSet(HalfWrite);
  Enter(42);
  Frame({37});
  Frame();
  ErrorOut();
  EXPECT_EQ(Snapshot(), without);
}

TEST_F(SaveScreens, AGameThatDoesNotFitItsSaveFailsWithErrorAndWritesNothing) {
  Files(2);
  MidCampaign(1);
  DBPlayer o{};
  std::snprintf(o.szName, sizeof(o.szName), "Player");
  std::vector<DBPlayer> many(TMSAVE_SQUAD_BLOCK_PLAYERS + 1, o);
  squadcache_SlotSet("Many", 9, many.data(), static_cast<std::int32_t>(many.size()), 3, 1);
  const auto before = Snapshot();
  Enter(42);
  Frame({37});
  Frame();
  ErrorOut();
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Frame({9, 9, 37}), 52);
  squadcache_Clear();
}

// A save is on the disc before it replaces the old file: the sync is asked
// for the written file, and a sync that fails leaves the old save as it was
// and no temporary file.
namespace {
int g_cSyncs = 0;
std::uintmax_t g_cSyncedBytes = 0;
int SyncCounted(int fd) {
  g_cSyncs++;
  struct stat st {};
  if (fstat(fd, &st) == 0) g_cSyncedBytes = static_cast<std::uintmax_t>(st.st_size);
  return fsync(fd);
}
int SyncFails(int) {
  errno = EIO;
  return -1;
}
}  // namespace

TEST_F(SaveScreens, ASaveIsSyncedBeforeItReplacesTheOldOne) {
  Files(2);
  MidCampaign(2);
  g_cSyncs = 0;
  pcsave_SyncFnSet(SyncCounted);
  ASSERT_EQ(SaveThroughScreen(), 52);
  EXPECT_EQ(g_cSyncs, 1);
  EXPECT_EQ(g_cSyncedBytes, static_cast<std::uintmax_t>(PCSAVE_IMAGE_SIZE));
  const auto first = Snapshot();
  options_oBlock.iPlayerChat = 4;  // a second save would differ
  pcsave_SyncFnSet(SyncFails);
  Enter(42);
  Frame({37});
  Frame();
  Frame({10, 37});
  ASSERT_EQ(pcsave_oScreen.iSubState, PCSAVE_OVERWRITE);
  Frame();
  ErrorOut();
  EXPECT_EQ(Snapshot(), first);
  pcsave_SyncFnSet(nullptr);
}

// Names are Windows-1252 in the game and UTF-8 on disk; a listed name opens
// its own file again.
TEST_F(SaveScreens, ANameWithAccentsIsUtf8OnDiskAndLoadsFromTheList) {
  const int iLanguage = mlang_iLanguage;
  mlang_iLanguage = 2;  // German
  int id = 0;
  MidCampaign(2);
  // A team of the campaign's tree (a save's human team must play in it).
  for (int i = 1; i < TLA_COUNT && !id; i++) {
    const char* psz = tla_ShortNameGet(i);
    for (const char* p = psz; p && *p && !id; p++)
      if (static_cast<unsigned char>(*p) >= 0x80 && TeamInTreeLists(static_cast<std::uint32_t>(i))) id = i;
  }
  ASSERT_NE(id, 0);
  tmglobal.aHumans[tmglobal.iCurrentHuman].Name = static_cast<std::uint32_t>(id);
  const std::string name = SaveName();
  const Bytes a = Stream();
  ASSERT_EQ(SaveThroughScreen(), 52);
  const std::string onDisk = platform::cp1252ToUtf8(name) + ".SAV";
  EXPECT_NE(onDisk, name + ".SAV");
  EXPECT_TRUE(fs::exists(Folder() / onDisk)) << onDisk;
  tmmain_PoolsReset();
  tmglobal_Reset();
  Enter(43, 52);
  ChooseAndLoad(name);
  EXPECT_EQ(pcsave_oScreen.iSubState, PCSAVE_SUCCESS);
  EXPECT_EQ(Stream(), a);
  mlang_iLanguage = iLanguage;
}

// ---- Drawing ------------------------------------------------------------------------------

namespace {

struct Shown {
  std::map<std::string, std::array<int, 3>> texts;  // each text's colour (its black copy aside)
  std::vector<std::pair<int, int>> sprites;         // backdrop sprites drawn: x, y
  std::vector<std::pair<int, int>> yellowBoxes;     // filled boxes in the bar's colour: x, y
};

Shown WhatIsShown() {
  Shown s;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->pszText && (i->aRed[0] | i->aGreen[0] | i->aBlue[0]))
        s.texts[i->pszText] = {i->aRed[0], i->aGreen[0], i->aBlue[0]};
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE) s.sprites.push_back({i->aiCoord[0], i->aiCoord[1]});
      if (!i->pszText && i->uKind != PCFRAME_KIND_BACKDROP_SPRITE && i->aRed[0] == 200 && i->aGreen[0] == 200 &&
          i->aBlue[0] == 0)
        s.yellowBoxes.push_back({i->aiCoord[0], i->aiCoord[1]});
    }
  return s;
}

bool Has(const std::vector<std::pair<int, int>>& v, int x, int y) {
  return std::find(v.begin(), v.end(), std::pair<int, int>{x, y}) != v.end();
}

const std::array<int, 3> kYellow{255, 255, 0}, kGrey{200, 200, 200};

}  // namespace

TEST_F(SaveScreens, TheScreensShowTheirLabelsListArrowsBarAndBoxes) {
  Files(12);
  Enter(43);
  Frame();
  Shown s = WhatIsShown();
  EXPECT_EQ(s.texts["Load"], kYellow);
  EXPECT_EQ(s.texts["Delete"], kGrey);
  EXPECT_EQ(s.texts["Exit"], kGrey);
  for (int i = 0; i < 12; i++) EXPECT_EQ(s.texts.count("Save " + std::string(i < 10 ? "0" : "") + std::to_string(i)), i < 9 ? 1u : 0u) << i;
  EXPECT_EQ(s.texts["Save 03"], kGrey);
  EXPECT_TRUE(Has(s.sprites, 0, 0));
  EXPECT_TRUE(Has(s.sprites, 391, 325));   // arrowdown: more below
  EXPECT_FALSE(Has(s.sprites, 388, 152));  // arrowup: nothing above
  EXPECT_TRUE(s.yellowBoxes.empty());
  // In the list every label is grey and the bar lies on the cursor's row.
  Frame({9, 37});
  Frame({9, 9});
  s = WhatIsShown();
  EXPECT_EQ(s.texts["Load"], kGrey);
  EXPECT_EQ(s.texts["Delete"], kGrey);
  Frame();
  s = WhatIsShown();
  EXPECT_TRUE(Has(s.yellowBoxes, 80, 157 + 2 * 20));
  for (int i = 0; i < 11; i++) Frame({9});
  Frame();
  s = WhatIsShown();
  EXPECT_TRUE(Has(s.sprites, 388, 152));
  EXPECT_FALSE(Has(s.sprites, 391, 325));
  EXPECT_EQ(s.texts.count("Save 02"), 0u);
  EXPECT_EQ(s.texts.count("Save 11"), 1u);
  // The question with its answers, "No" chosen.
  Frame({37});
  Frame();
  s = WhatIsShown();
  EXPECT_EQ(s.texts.count("Confirm delete game?"), 1u);
  EXPECT_EQ(s.texts["Yes"], kGrey);
  EXPECT_EQ(s.texts["No"], (std::array<int, 3>{200, 200, 0}));
  // The save screen's first label and its error box.
  MidCampaign(1);
  Enter(42);
  pcsave_WriteFnSet(HalfWrite);
  Frame({37});
  Frame();
  Frame();
  s = WhatIsShown();
  EXPECT_EQ(s.texts["Save"], kGrey);
  EXPECT_EQ(s.texts.count("Error!"), 1u);
}

// In every language the words of the three buttons, on the save and the load
// screen, lie inside their button's frame (its 122 units less 3 each side)
// in the font they are drawn in, and are the whole words.
TEST_F(SaveScreens, EveryLanguagesButtonWordsFitTheirButtons) {
  const std::int32_t iLanguage = mlang_iLanguage;
  QDLFont* apSaved[2];
  ASSERT_EQ(QDLTextSetup(0), 0u);  // the fonts' list (already up it stays as it is)
  for (int f = 0; f < 2; f++) {
    const fs::path p = BuildDir() / "data" / "textures" / "Fonts" / (f == 0 ? "SWfont18pt.bmp" : "SW24pt.bmp");
    apSaved[f] = pctext_aaoFontSets[PCTEXT_SET_FRONT_END][f].poFont;
    pctext_aaoFontSets[PCTEXT_SET_FRONT_END][f].poFont = QDLFontCreateFromSheet(p.c_str(), 3, 0, 0);
    ASSERT_NE(pctext_aaoFontSets[PCTEXT_SET_FRONT_END][f].poFont, nullptr);
  }
  pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
  Files(2);
  for (int l = 0; l < 6; l++) {
    mlang_iLanguage = l;
    for (int mode : {PCSAVE_MODE_SAVE, PCSAVE_MODE_LOAD}) {
      SCOPED_TRACE(std::to_string(l) + " " + std::to_string(mode));
      Enter(mode);
      Frame();
      for (int id : {mode == PCSAVE_MODE_SAVE ? IDS_FE_SAVE : IDS_FE_LOAD, IDS_FE_DELETE, IDS_FE_EXIT}) {
        const char* psz = festr_IDToStr(id);
        int n = 0;
        for (DrawLayer* dl = pcframe_poCurrent->poFirstLayer; dl; dl = dl->pNext)
          for (DrawItem* i = dl->poFirstItem; i; i = i->pNext) {
            if (i->uKind != PCFRAME_KIND_TEXT || std::strcmp(i->pszText, psz) != 0 || i->aRed[0] == 0) continue;
            n++;
            pctext_iCurrentFont = i->aiCoord[2];
            const int w = pctext_WidthGet(psz), x = i->aiCoord[0];
            EXPECT_GE(x - w / 2, pcfe_ScaleX640(436 + 3)) << psz;
            EXPECT_LE(x - w / 2 + w, pcfe_ScaleX640(436 + 122 - 3)) << psz;
          }
        EXPECT_EQ(n, 1) << psz;
      }
    }
  }
  for (int f = 0; f < 2; f++) {
    QDLFontFree(pctext_aaoFontSets[PCTEXT_SET_FRONT_END][f].poFont);
    pctext_aaoFontSets[PCTEXT_SET_FRONT_END][f].poFont = apSaved[f];
  }
  pctext_iCurrentFont = 0;
  mlang_iLanguage = iLanguage;
}
