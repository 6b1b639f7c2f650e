// The background sheet cache, the scaling and the first-run conversion.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pcgame.h"
#include "frontend/pctext.h"
#include "frontend_env.h"
#include "framework/qdx_input.h"
#include "platform/input_headless.h"
#include "scene3d/pcframe.h"
#include "shell/input.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"
#include "shell/texts.h"

namespace fs = std::filesystem;

namespace {

fs::path Converted(int sheet) {
  return FrontEndTestRoot() / "data" / "frontend" / (std::string(pcfe_aszSheetNames[sheet]) + "16.spr");
}

// Writes a one-frame bank in the display's format whose pixels are all v.
void WriteSheet(int sheet, uint16_t v) {
  QDLSpriteBank* b = FrontEndSolidBank(4, 2, v);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(QDLSpriteBankSave(b, Converted(sheet).c_str()), 0u);
  QDLSpriteBankFree(b);
}

uint16_t FirstPixel() {
  QDLFrame* f = pcfe_SheetSpriteGet(0);
  return f == nullptr ? 0 : static_cast<uint16_t>(f->pixels[2] | f->pixels[3] << 8);
}

TEST(SheetCache, ABAloadsBOnceAndABDFreesA) {
  const int A = 0, B = 7, D = 9;
  WriteSheet(A, 0x1111);
  WriteSheet(B, 0x2222);
  WriteSheet(D, 0x3333);
  pcfe_SheetCacheReset();
  const int loads = pcfe_cSheetLoads;
  pcfe_ScreenSet(A);
  EXPECT_EQ(pcfe_SheetGet(), A);
  EXPECT_EQ(FirstPixel(), 0x1111);
  pcfe_ScreenSet(B);
  EXPECT_EQ(FirstPixel(), 0x2222);
  pcframe_ScreenClearSet(1);
  pcfe_ScreenSet(A);  // from the other slot
  EXPECT_EQ(FirstPixel(), 0x1111);
  EXPECT_EQ(pcframe_ScreenClearGet(), 0);
  pcfe_ScreenSet(B);
  pcframe_ScreenClearSet(1);
  pcfe_ScreenSet(B);  // already current: no file access, screen clear still off
  EXPECT_EQ(pcframe_ScreenClearGet(), 0);
  EXPECT_EQ(pcfe_cSheetLoads, loads + 2);
  pcfe_ScreenSet(D);  // A was in the other slot: freed for D
  EXPECT_EQ(pcfe_cSheetLoads, loads + 3);
  EXPECT_EQ(FirstPixel(), 0x3333);
  EXPECT_TRUE((pcfe_aoSlots[0].iSheet == B && pcfe_aoSlots[1].iSheet == D) ||
              (pcfe_aoSlots[0].iSheet == D && pcfe_aoSlots[1].iSheet == B));
  // A sheet that does not load keeps its number but has no sprites.
  fs::remove(Converted(10));
  pcfe_ScreenSet(10);
  EXPECT_EQ(pcfe_SheetGet(), 10);
  EXPECT_EQ(pcfe_SheetSpriteGet(0), nullptr);
  EXPECT_EQ(pcfe_SheetSpriteGet(-1), nullptr);
  pcfe_SheetCacheReset();
  EXPECT_EQ(pcfe_SheetGet(), -1);
}

TEST(SheetCache, SheetNumbersNameTheirFilesInTheTablesOrder) {
  const char* const names[PCFE_SHEETS] = {"condi", "maineng", "mainfra", "mainger", "mainspa", "mainita", "mainpor",
                                          "sides", "tactics", "team",    "fhfl",    "fhgt",    "fhnews",  "fhops",
                                          "fhroh", "fhset",   "options", "loadsave", "cont",   "fhmain"};
  // Sheet n loads "..\data\frontend\<row n>16.spr": a file written under
  // the name is the one the sheet number brings up.
  pcfe_SheetCacheReset();
  for (int n = 0; n < PCFE_SHEETS; ++n) {
    EXPECT_STREQ(pcfe_aszSheetNames[n], names[n]) << n;
    const fs::path file = FrontEndTestRoot() / "data" / "frontend" / (std::string(names[n]) + "16.spr");
    QDLSpriteBank* b = FrontEndSolidBank(2, 2, static_cast<uint16_t>(0x100 + n));
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(QDLSpriteBankSave(b, file.c_str()), 0u);
    QDLSpriteBankFree(b);
    pcfe_SheetLoad(n);
    EXPECT_EQ(pcfe_SheetGet(), n);
    EXPECT_EQ(FirstPixel(), 0x100 + n) << names[n];
  }
  pcfe_SheetCacheReset();
}

TEST(Scaling, FactorsOfTheVirtualAndTheFixedLayouts) {
  pcfe_ScaleSet(512, 240, 640, 480);
  EXPECT_EQ(pcfe_ScaleX(256), 320);
  EXPECT_EQ(pcfe_ScaleY(120), 240);
  EXPECT_EQ(pcfe_ScaleY480(480), 480);
  EXPECT_EQ(pcfe_ScaleX640(639), 639);
  EXPECT_EQ(pcfe_ScaleX(-3), -3);  // truncated toward zero: -3.75
  pcfe_ScaleSet(512, 240, 800, 600);
  EXPECT_EQ(pcfe_ScaleY480(480), 600);
  EXPECT_EQ(pcfe_ScaleX640(320), 400);
  EXPECT_EQ(pcfe_ScaleX(511), 798);  // 798.4375
  pcfe_ScaleSet(512, 240, 640, 480);
}

// A text fitted to a width (every letter 16 units wide in the 3D text mode):
// one that fits stays itself; a longer one has its leading capitalised words
// cut to their initials, one more at a time with its last word whole, and
// else is its longest head that fits with a full stop after it, a head cut
// after a word ending at the word, the full stop against it.
TEST(Fitting, ALongNameIsCutToItsRoomWhereItReadsWell) {
  pctext_3DTextModeSet(1);
  pctext_FontSet(0);
  const char* psz = "United States of America";  // 24 letters
  const auto Fit = [&](int cLetters) { return std::string(PCFEFitted(psz, 16 * cLetters).c_str()); };
  EXPECT_EQ(Fit(24), psz);
  EXPECT_EQ(Fit(23), "U. States of America");
  EXPECT_EQ(Fit(20), "U. States of America");
  EXPECT_EQ(Fit(19), "U. S. of America");
  EXPECT_EQ(Fit(16), "U. S. of America");
  // The head of 14 letters, "United States ", ends at its word.
  EXPECT_EQ(Fit(15), "United States.");
  EXPECT_EQ(Fit(14), "United States.");
  EXPECT_EQ(Fit(13), "United State.");
  EXPECT_EQ(Fit(8), "United.");
  EXPECT_EQ(Fit(7), "United.");
  EXPECT_EQ(Fit(2), "U.");
  EXPECT_EQ(Fit(1), ".");
  const auto FitOf = [](const char* p, int cLetters) { return std::string(PCFEFitted(p, 16 * cLetters).c_str()); };
  EXPECT_EQ(FitOf("Costa Rica", 9), "C. Rica");
  EXPECT_EQ(FitOf("\311tats-Unis", 9), "\311.-Unis");
  EXPECT_EQ(FitOf("Papouasie-N.-Guin\351e", 18), "P.-N.-Guin\351e");
  EXPECT_EQ(FitOf("Irlande du Nord", 12), "I. du Nord");
  EXPECT_EQ(FitOf("Tch\351coslovaquie", 12), "Tch\351coslova.");
  EXPECT_EQ(FitOf("Ab  cd", 5), "Ab.");
  EXPECT_EQ(std::string(PCFEFitted(nullptr, 16).c_str()), "");
  // A text longer than the fitted copy's room is cut all the same.
  const std::string sLong(300, 'x');
  EXPECT_EQ(std::string(PCFEFitted(sLong.c_str(), 16 * 200).c_str()), std::string(126, 'x') + ".");
  pctext_3DTextModeSet(0);
}

// A team's name in a room (every letter 16 units wide): its whole name where
// that fits, else its display name where that is another and fits, else its
// short name where that fits, else its short name cut with a full stop;
// never the initials of its whole name. An empty short name or none gives
// the whole name's cut.
TEST(Fitting, ATeamsShortNameStandsInWhereItsWholeNameDoesNotFit) {
  pctext_3DTextModeSet(1);
  pctext_FontSet(0);
  const auto Fit = [](const char* pszWhole, const char* pszShort, int cLetters) {
    return std::string(PCFEFitted(TLANames{pszWhole, pszWhole, pszShort}, 16 * cLetters).c_str());
  };
  const char* pszWhole = "Tch\351coslovaquie";  // 15 letters
  const char* pszShort = "Tch\351coslova.";     // 12
  EXPECT_EQ(Fit(pszWhole, pszShort, 15), pszWhole);
  EXPECT_EQ(Fit(pszWhole, pszShort, 14), pszShort);
  EXPECT_EQ(Fit(pszWhole, pszShort, 12), pszShort);
  EXPECT_EQ(Fit(pszWhole, pszShort, 11), "Tch\351coslov.");
  // The short name, then its cut: never the whole name's initials.
  EXPECT_EQ(Fit("Irlande du Nord", "Irlande N.", 12), "Irlande N.");
  EXPECT_EQ(Fit("Irlande du Nord", "Irlande N.", 9), "Irlande.");
  EXPECT_EQ(Fit("Costa Rica", "Costa Rica", 9), "Costa Ri.");
  EXPECT_EQ(Fit("Costa Rica", "", 9), "Costa Ri.");
  EXPECT_EQ(Fit("Costa Rica", nullptr, 9), "Costa Ri.");
  EXPECT_EQ(Fit("United States of America", "USA", 16), "USA");
  // The choice itself, and the display name between the whole and the
  // short name; a cut short name ending in a full stop takes no second.
  char sz[32];
  const TLANames oCzech{pszWhole, pszWhole, pszShort};
  EXPECT_STREQ(pcfe_TeamNameFit(oCzech, 16 * 15, sz, sizeof sz), pszWhole);
  EXPECT_STREQ(pcfe_TeamNameFit(oCzech, 16 * 13, sz, sizeof sz), pszShort);
  EXPECT_STREQ(pcfe_TeamNameFit(oCzech, 16 * 11, sz, sizeof sz), "Tch\351coslov.");
  const TLANames oPapua{"Papua New Guinea", "Papua New G.", "Papua N.G."};
  for (const auto& [cLetters, pszWanted] : std::vector<std::pair<int, const char*>>{
           {16, "Papua New Guinea"}, {15, "Papua New G."}, {12, "Papua New G."}, {11, "Papua N.G."},
           {10, "Papua N.G."}, {9, "Papua N."}, {8, "Papua N."}, {7, "Papua."}}) {
    EXPECT_STREQ(pcfe_TeamNameFit(oPapua, 16 * cLetters, sz, sizeof sz), pszWanted) << cLetters;
  }
  pctext_3DTextModeSet(0);
}

// In a proportional font a name that only its last letter keeps from its
// room is drawn whole: cut, "Costa Ric." would save less than a letter.
TEST(Fitting, ANameOneLetterTooWideIsDrawnWhole) {
  const FrontEndFont font("SWfont18pt.bmp");
  ASSERT_NE(font.get(), nullptr);
  pctext_FontSet(0);
  for (const char* psz : {"Costa Rica", "\311tats-Unis"}) {
    std::string sCut(psz);
    sCut.back() = '.';
    const int w = pctext_WidthGet(psz), wCut = pctext_WidthGet(sCut.c_str());
    ASSERT_LT(wCut, w) << psz;
    EXPECT_STREQ(PCFEFitted(psz, wCut).c_str(), psz);
    EXPECT_STREQ(PCFEFitted(psz, w - 1).c_str(), psz);
    // A team's whole name too, before its short name; a unit less, the
    // short name.
    char sz[32];
    const TLANames oTeam{psz, psz, "X"};
    EXPECT_STREQ(PCFEFitted(oTeam, wCut).c_str(), psz);
    EXPECT_STREQ(pcfe_TeamNameFit(oTeam, wCut, sz, sizeof sz), psz);
    EXPECT_STREQ(pcfe_TeamNameFit(oTeam, wCut - 1, sz, sizeof sz), "X");
  }
  EXPECT_STREQ(PCFEFitted("Costa Rica", pctext_WidthGet("C. Rica")).c_str(), "C. Rica");
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(savedRoot_, pcinstall_szCdRoot, sizeof(savedRoot_));
    // The game's disc is the pseudo drive whose root holds data/: here the
    // test's root, so the sources lie beside the converted sheets.
    disc_ = FrontEndTestRoot();
    fs::create_directories(disc_ / "data" / "frontend");
    for (int i = 0; i < PCFE_SHEETS; ++i) {
      const std::string name = std::string(pcfe_aszSheetNames[i]) + ".spr";
      fs::copy_file(FrontEndBuildData() / "frontend" / name, disc_ / "data" / "frontend" / name,
                    fs::copy_options::overwrite_existing);
    }
    const std::string root = "D:\\";
    ASSERT_LT(root.size(), sizeof(pcinstall_szCdRoot));
    std::memcpy(pcinstall_szCdRoot, root.c_str(), root.size() + 1);
    for (int i = 0; i < PCFE_SHEETS; ++i) fs::remove(Converted(i));
  }
  void TearDown() override {
    std::memcpy(pcinstall_szCdRoot, savedRoot_, sizeof(savedRoot_));
    for (int i = 0; i < PCFE_SHEETS; ++i) fs::remove(disc_ / "data" / "frontend" / (std::string(pcfe_aszSheetNames[i]) + ".spr"));
  }
  // A conversion whose sources all load goes on to the front end; one that
  // could not load a source ends the start (the program quits).
  void RunConversion(bool bSourcesLoad = true) {
    pcmain_eRequestedState = APP_STATE_GFX_CONVERT;
    pcmain_bQuit = 0;
    pcfe_ConvertEnter();
    for (int i = 0; i < PCFE_SHEETS; ++i) {
      EXPECT_EQ(pcfe_iConvertCounter, i);
      pcfe_ConvertStep();
      EXPECT_EQ(pcmain_eRequestedState, APP_STATE_GFX_CONVERT);
    }
    pcfe_ConvertStep();
    EXPECT_EQ(pcmain_eRequestedState, bSourcesLoad ? APP_STATE_FRONT_END : APP_STATE_GFX_CONVERT);
    EXPECT_EQ(pcmain_bQuit, bSourcesLoad ? 0 : 1);
    pcmain_bQuit = 0;
    pcfe_ConvertLeave();
  }
  char savedRoot_[sizeof(pcinstall_szCdRoot)];
  fs::path disc_;
};

TEST_F(Conversion, ConvertsEverySheetToTheDisplayFormatAndIsThenNotNeeded) {
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
  RunConversion();
  EXPECT_EQ(pcfe_cConvertFailures, 0);
  for (const auto& e : fs::directory_iterator(FrontEndTestRoot() / "data" / "frontend"))
    EXPECT_EQ(e.path().extension(), ".spr") << e.path();  // no temporary file left behind
  for (int i = 0; i < PCFE_SHEETS; ++i) {
    ASSERT_TRUE(fs::exists(Converted(i))) << i;
    QDLSpriteBank* b = QDLSpriteBankLoad(Converted(i).c_str(), nullptr, 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->formatCode, QDLDisplaySurface()->formatCode);
    EXPECT_EQ(b->frames[0].width, 640);
    EXPECT_EQ(b->frames[0].height, 480);
    // Sprites per sheet: one a layout record of the screen that shows it.
    const std::map<std::string, int> counts = {{"condi", 1},    {"sides", 19},   {"tactics", 40}, {"team", 31},
                                               {"loadsave", 8}, {"fhnews", 5},   {"fhmain", 1},   {"options", 4},
                                               {"cont", 4},     {"fhops", 3},
                                               {"fhfl", 5},
                                               {"fhroh", 3},
                                               {"fhgt", 21}};
    const std::string name = pcfe_aszSheetNames[i];
    const int expected = name.rfind("main", 0) == 0 && name != "fhmain" ? 8 : counts.count(name) ? counts.at(name) : 1;
    EXPECT_EQ(b->frameCount, expected) << name;
    QDLSpriteBankFree(b);
  }
  EXPECT_EQ(pcfe_ConvertNeeded(), 0);
  // Each language's main sheet: sprite i has the size of region i, and every
  // highlighted button differs from the backdrop under it.
  for (int lang = 0; lang < 6; ++lang) {
    QDLSpriteBank* b = QDLSpriteBankLoad(Converted(PCFE_MAIN_SHEET_FIRST + lang).c_str(), nullptr, 0);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->frameCount, PCGAME_LAYOUT_RECORDS);
    for (int i = 0; i < PCGAME_LAYOUT_RECORDS; ++i) {
      const RegionDef& r = pcgame_aaoLayouts[lang][i];
      EXPECT_EQ(b->frames[i].width, r.iWidth) << lang << " " << i;
      EXPECT_EQ(b->frames[i].height, r.iHeight) << lang << " " << i;
      if (i == 0) continue;
      int differing = 0;
      for (int y = 0; y < r.iHeight; ++y) {
        const uint8_t* hi = b->frames[i].pixels + static_cast<size_t>(y) * static_cast<size_t>(2 + 2 * r.iWidth) + 2;
        const uint8_t* bg = b->frames[0].pixels + static_cast<size_t>(r.y + y) * (2 + 2 * 640) + 2 + 2 * r.x;
        differing += std::memcmp(hi, bg, static_cast<size_t>(2 * r.iWidth)) != 0;
      }
      EXPECT_GT(differing, r.iHeight / 4) << lang << " " << i;
    }
    QDLSpriteBankFree(b);
  }
  // A marker sheet cut short, or of another pixel format, asks for it again.
  const fs::path marker = Converted(PCFE_MARKER_SHEET);
  std::vector<char> bytes(fs::file_size(marker));
  std::ifstream(marker, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fs::resize_file(marker, 150);
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
  {
    std::vector<char> other = bytes;
    // The format chunk follows the 300-byte header chunk and the 8-byte count chunk.
    ASSERT_EQ(other[308], 3);
    other[314] = 4;  // 5-5-5 in place of the display's 5-6-5
    other[315] = 0;
    std::ofstream(marker, std::ios::binary | std::ios::trunc).write(other.data(), static_cast<std::streamsize>(other.size()));
  }
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
  std::ofstream(marker, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_EQ(pcfe_ConvertNeeded(), 0);
  // New art written after the conversion (a rebuilt data tree): converted
  // again; a conversion written after its source is good.
  const fs::path source = disc_ / "data" / "frontend" / (std::string(pcfe_aszSheetNames[5]) + ".spr");
  fs::last_write_time(source, fs::last_write_time(Converted(5)) + std::chrono::seconds(2));
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
  fs::last_write_time(Converted(5), fs::last_write_time(source) + std::chrono::seconds(1));
  EXPECT_EQ(pcfe_ConvertNeeded(), 0);
  // Any other converted sheet missing: converted again.
  fs::remove(Converted(3));
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
}

TEST_F(Conversion, TheScreenShowsTheImageTheLanguagesLinesAndTheProgressBar) {
  // Each step's screen against one drawn here from the same image and the
  // conversion's font: the language's three lines centred with a one-pixel
  // black shadow, 24 apart, and the bar of 15 pixels a converted sheet.
  char saved[sizeof(pcinstall_szTexturePath)];
  std::memcpy(saved, pcinstall_szTexturePath, sizeof(saved));
  const fs::path textures = FrontEndTestRoot() / "data" / "textures";
  fs::create_directories(textures / "Fonts");
  fs::create_directories(textures / "images");
  for (const char* f : {"Fonts/SWfont18pt.bmp", "Fonts/SW24pt.bmp", "images/gfxconvert.tga"})
    fs::copy_file(FrontEndBuildData() / "textures" / f, textures / f, fs::copy_options::overwrite_existing);
  const std::string texturePath = "..\\data\\textures\\";
  std::memcpy(pcinstall_szTexturePath, texturePath.c_str(), texturePath.size() + 1);
  const char* const lines[6][3] = {
      {"Please Wait, converting graphics data.", "This is only necessary the first time the game is run ",
       "or if your video hardware changes."},
      {"Conversion de donn\xE9" "es graphiques. Veuillez patienter...",
       "Ceci n'est n\xE9" "cessaire que pour la premi\xE8" "re ex\xE9" "cution du",
       "jeu ou lors d'un changement de p\xE9" "riph\xE9" "rique."},
      {"Bitte warten, konvertiere Grafikdaten.", "Dies ist nur notwendig, wenn Sie das Spiel das erste",
       "Mal starten, oder Sie die Video Einstellungen ver\xE4" "ndern wollen"},
      {"Por favor, espera. Convirtiendo datos gr\xE1" "ficos.", "Esto s\xF3" "lo es necesario la primera vez que se ejecuta",
       "el juego o si tu hardware de v\xED" "deo cambia."},
      {"Attendere... conversione dati grafici in corso.", "Questo \xE8" " necessario solo la prima volta che il gioco",
       "viene caricato o se il tuo hardware video \xE8" " cambiato."},
      {"Aguarde, por favor. A converter dados gr\xE1" "ficos.",
       "Isto s\xF3" " \xE9" " necess\xE1" "rio da primeira vez que correr o jogo",
       "ou se o seu hardware de v\xED" "deo mudar."}};
  QDLSurface* screen = QDLDisplaySurface();
  auto capture = [&] {
    std::vector<uint32_t> v;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        uint32_t p = 0;
        QDLGetPixel(screen, x, y, &p);
        v.push_back(p);
      }
    return v;
  };
  char path[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(path, "images\\gfxconvert.tga");
  QDLSurface* image = QDLSurfaceCreate(640, 480, 16, 0);
  ASSERT_NE(image, nullptr);
  ASSERT_NE(QDLImageLoadTGA(image, path, 0), nullptr);
  // Each language, then a language outside 0 to 5, which gets English.
  for (int language = 0; language < 7; ++language) {
    mlang_iLanguage = language < 6 ? language : 17;
    pcfe_ConvertEnter();
    ASSERT_EQ(pctext_cLoadedFonts, 2);
    const int counter = 3 * language;
    pcfe_iConvertCounter = counter;
    pcfe_ConvertStep();
    EXPECT_EQ(pcfe_iConvertCounter, counter + 1);
    const std::vector<uint32_t> drawn = capture();
    QDLSurfaceCopy(screen, image, 0);
    const uint32_t black = QDLSurfaceRGBToPixel(screen, 0, 0, 0), white = QDLSurfaceRGBToPixel(screen, 255, 255, 255);
    for (int i = 0; i < 3; ++i) {
      QDLPrintf(screen, pctext_poFontGet(0), 321, static_cast<int16_t>(129 + 24 * i), black, 0, 6, 17, "%s",
                lines[language % 6][i]);
      QDLPrintf(screen, pctext_poFontGet(0), 320, static_cast<int16_t>(128 + 24 * i), white, 0, 6, 17, "%s",
                lines[language % 6][i]);
    }
    QDLRect(screen, 176, 443, 464, 457, black, QDLDRAW_FILLED);
    QDLRect(screen, 178, 445, 178 + 15 * counter, 455, QDLSurfaceRGBToPixel(screen, 128, 128, 64), QDLDRAW_FILLED);
    const std::vector<uint32_t> expected = capture();
    int differing = 0, first = -1;
    for (size_t k = 0; k < drawn.size(); ++k)
      if (drawn[k] != expected[k]) {
        if (first < 0) first = static_cast<int>(k);
        ++differing;
      }
    EXPECT_EQ(differing, 0) << language << " first at x " << first % 640 << " y " << first / 640;
    pcfe_ConvertLeave();
  }
  mlang_iLanguage = 0;
  QDLSurfaceFree(image);
  std::memcpy(pcinstall_szTexturePath, saved, sizeof(saved));
}

TEST_F(Conversion, ASourceThatFailsIsSkippedAndTheConversionRunsAgainNextTime) {
  // One source missing and one damaged: both reported, the others converted,
  // no marker, so the next start converts again; this start ends there.
  fs::remove(disc_ / "data" / "frontend" / "team.spr");
  fs::resize_file(disc_ / "data" / "frontend" / "cont.spr", 1000);
  RunConversion(false);
  EXPECT_EQ(pcfe_cConvertFailures, 2);
  EXPECT_FALSE(fs::exists(Converted(9)));
  EXPECT_FALSE(fs::exists(Converted(18)));
  EXPECT_TRUE(fs::exists(Converted(1)));
  EXPECT_FALSE(fs::exists(Converted(PCFE_MARKER_SHEET)));
  EXPECT_EQ(pcfe_ConvertNeeded(), 1);
}

}  // namespace

namespace {

TEST(FrontEndState, StartLoadsTheFontsAndClearsTheCacheStopFreesThem) {
  char saved[sizeof(pcinstall_szTexturePath)];
  std::memcpy(saved, pcinstall_szTexturePath, sizeof(saved));
  fs::create_directories(FrontEndTestRoot() / "data" / "textures" / "Fonts");
  for (const char* f : {"SWfont18pt.bmp", "SW24pt.bmp"})
    fs::copy_file(FrontEndBuildData() / "textures" / "Fonts" / f, FrontEndTestRoot() / "data" / "textures" / "Fonts" / f,
                  fs::copy_options::overwrite_existing);
  const std::string textures = "..\\data\\textures\\";
  ASSERT_LT(textures.size(), sizeof(pcinstall_szTexturePath));
  std::memcpy(pcinstall_szTexturePath, textures.c_str(), textures.size() + 1);
  pcframe_ScreenClearSet(0);
  InputPort* keyboard = input_poGetPort(0);
  ASSERT_NE(keyboard, nullptr);
  const InputKeyMapEntry arrow = keyboard->aoKeyMap[10];
  qal_bStarted = 1;  // the audio library as a match or an earlier front end left it
  pcfe_Start();
  EXPECT_EQ(qal_bStarted, 1);  // starting the front end does not shut the audio down
  // The front end's own keys: Return selects, the arrows stay.
  const uint8_t keys[10] = {0x1C, 0x4D, 0x48, 0x4B, 0xD2, 0x37, 0xC7, 0x0C, 0x39, 0x2A};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(keyboard->aoKeyMap[i].cKey, keys[i]) << i;
    EXPECT_EQ(keyboard->aoKeyMap[i].cFlags, INPUT_KEYMAP_KEY) << i;
  }
  EXPECT_EQ(keyboard->aoKeyMap[10].cKey, arrow.cKey);
  EXPECT_EQ(pctext_cLoadedFonts, 2);
  EXPECT_NE(pctext_poFontGet(0), nullptr);
  EXPECT_NE(pctext_poFontGet(1), nullptr);
  EXPECT_EQ(pcfe_SheetGet(), -1);
  EXPECT_NE(pcframe_ScreenClearGet(), 0);
  pcfe_Stop();
  EXPECT_EQ(qal_bStarted, 0);  // stopping it does
  EXPECT_EQ(pctext_cLoadedFonts, 0);
  EXPECT_EQ(pctext_poFontGet(0), nullptr);
  EXPECT_NE(pcframe_ScreenClearGet(), 0);
  std::memcpy(pcinstall_szTexturePath, saved, sizeof(saved));
}

TEST(Outro, ShowsForItsCountThenEndsTheProgram) {
  pcmain_bQuit = 0;
  pcmain_eRequestedState = APP_STATE_OUTRO;
  pcmain_eCurrentState = APP_STATE_OUTRO;
  pcfe_OutroEnter();
  EXPECT_EQ(pcfe_iOutroCounter, PCFE_OUTRO_FRAMES);
  pcfe_iOutroCounter = 20;  // the count down, shortened
  for (int i = 0; i < 20; ++i) {
    pcfe_OutroRun();
    ASSERT_EQ(pcmain_bQuit, 0) << i;
  }
  pcfe_OutroRun();
  EXPECT_EQ(pcmain_bQuit, 1);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_NONE);
  pcfe_OutroLeave();
  pcmain_bQuit = 0;
  // Escape held ends it at once.
  pcmain_eRequestedState = APP_STATE_OUTRO;
  pcmain_eCurrentState = APP_STATE_OUTRO;
  pcfe_OutroEnter();
  pcfe_OutroRun();
  ASSERT_EQ(pcmain_bQuit, 0);
  ASSERT_EQ(QKeyboardSetup(0), 0);
  ASSERT_TRUE(platform::headlessKey(1, true));
  ASSERT_EQ(QKeyboardPoll(), 0);
  pcfe_OutroRun();
  EXPECT_EQ(pcmain_bQuit, 1);
  EXPECT_EQ(pcmain_eRequestedState, APP_STATE_NONE);
  platform::headlessKey(1, false);
  QKeyboardPoll();
  QKeyboardShutdown();
  pcfe_OutroLeave();
  pcmain_bQuit = 0;
}

}  // namespace
