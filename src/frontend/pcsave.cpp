// The save and load screens and the save file.
#include "frontend/pcsave.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhnews.h"
#include "frontend/mfhsetup.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/options.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/tla.h"
#include "tournament/tmsave.h"
#include "tournament/tmtree.h"

static_assert(PCSAVE_IMAGE_SIZE == PCSAVE_SETTINGS_BYTES + TMSAVE_BLOCK_SIZE);

namespace {

#define PCSAVE_RECORD(name, x, y, w, h, priority) \
  { name, x, y, w, h, priority, {}, 255, 0, 0, 1, 0, 1 }

constexpr const char* kFolder = "..\\savegame";
constexpr int32_t kReturnHistoryOptions = 52;
constexpr int32_t kHistoryHub = 47;
constexpr int32_t kOptionsScreen = 41;
constexpr int32_t kPlayerChatMax = 8;
constexpr int32_t kBack = 38;  // the Back event
// Draw layers of the list: under the error box and the confirmation panel.
constexpr int32_t kListLayer = 6, kListShadowLayer = 7;

PCSaveWriteFn s_pfnWrite = nullptr;
PCSaveSyncFn s_pfnSync = nullptr;
// Why the last load was refused, for the line on standard error.
char s_szWhy[256] = "";

void Why(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
void Why(const char* pszFormat, ...) {
  std::va_list a;
  va_start(a, pszFormat);
  std::vsnprintf(s_szWhy, sizeof(s_szWhy), pszFormat, a);
  va_end(a);
}

// The "Offside" match condition, kept in the options block beside the chat.
int32_t& OffsideWord() { return options_oBlock.bOffside; }

int32_t Widen(uint8_t b) { return static_cast<int32_t>(static_cast<int8_t>(b)); }

bool FilePathMake(char* pszPath, std::size_t cb, const char* pszEntry) {
  const int n = std::snprintf(pszPath, cb, "%s\\%s.sav", kFolder, pszEntry);
  return n > 0 && static_cast<std::size_t>(n) < cb;
}

int32_t ChosenEntry() { return pcsave_oScreen.iTop + pcsave_oScreen.iRow; }

// Writes the image to a temporary file of ours in the save folder and
// renames it over the target, the folder synced after the rename; on any
// failure the temporary file goes and the folder is as it was.
bool ImageWrite(const char* pszGamePath) {
  errno = 0;
  const std::string oTarget = platform::resolvePath(pszGamePath);
  const std::string oTemp = platform::temporaryPathFor(oTarget);
  std::FILE* pFile = std::fopen(oTemp.c_str(), "wb");
  if (!pFile) return false;
  const std::size_t n = s_pfnWrite ? s_pfnWrite(pcsave_abImage, PCSAVE_IMAGE_SIZE, pFile)
                                   : std::fwrite(pcsave_abImage, 1, PCSAVE_IMAGE_SIZE, pFile);
  // On the disc before it replaces the old file, or not at all.
  const bool bFlushed = std::fflush(pFile) == 0;
  const bool bSynced = bFlushed && (s_pfnSync ? s_pfnSync(fileno(pFile)) : fsync(fileno(pFile))) == 0;
  const bool bClosed = std::fclose(pFile) == 0;
  if (n != static_cast<std::size_t>(PCSAVE_IMAGE_SIZE) || !bSynced || !bClosed ||
      !platform::replaceWithTemporary(oTemp, oTarget)) {
    std::remove(oTemp.c_str());
    return false;
  }
  return true;
}

// Reads a save of exactly PCSAVE_IMAGE_SIZE bytes into the image; a shorter
// or longer file is refused (the image is then undefined).
bool ImageRead(const char* pszGamePath) {
  std::FILE* pFile = platform::openFile(pszGamePath, "rb");
  if (!pFile) {
    Why("it cannot be opened (%s)", std::strerror(errno));
    return false;
  }
  const std::size_t n = std::fread(pcsave_abImage, 1, PCSAVE_IMAGE_SIZE, pFile);
  const bool bMore = std::fgetc(pFile) != EOF;
  std::fclose(pFile);
  if (n != static_cast<std::size_t>(PCSAVE_IMAGE_SIZE) || bMore) {
    if (bMore) Why("it is longer than a save's %d bytes", PCSAVE_IMAGE_SIZE);
    else Why("it is %zu bytes long, not a save's %d", n, PCSAVE_IMAGE_SIZE);
    return false;
  }
  return true;
}

void MessageError() {
  pcsave_oScreen.iSubState = PCSAVE_ERROR;
  pcsave_oScreen.iErrorFrames = PCSAVE_MESSAGE_FRAMES;
  pcsave_oScreen.bMessage = 1;
}

void MessageSuccess() {
  pcsave_oScreen.iIcon = 2;
  pcsave_oScreen.iSubState = PCSAVE_SUCCESS;
  pcsave_oScreen.iSuccessFrames = PCSAVE_MESSAGE_FRAMES;
}

// The list cursor moves as the up and down keys move it.
void CursorUp() {
  PCSaveScreen& s = pcsave_oScreen;
  if (s.iRow > 0) s.iRow--;
  else if (s.iTop > 0) s.iTop--;
}
void CursorDown() {
  PCSaveScreen& s = pcsave_oScreen;
  if (ChosenEntry() + 1 >= s.cFiles) return;
  if (s.iRow < PCSAVE_ROWS - 1) s.iRow++;
  else s.iTop++;
}

void Save(bool bReplace) {
  PCSaveScreen& s = pcsave_oScreen;
  if (!pcsave_ImageBuild() || !pcsave_SaveNameMake(s.szSavePath, sizeof(s.szSavePath))) {
    MessageError();
    return;
  }
  if (!bReplace) {
    if (platform::fileExists(s.szSavePath)) {
      s.bYes = 0;
      s.iSubState = PCSAVE_CONFIRM_OVERWRITE;
      return;
    }
    // A new file counts against the list's limit; a replaced one does not.
    pcsave_FilesList();
    if (s.cFiles >= PCSAVE_FILES_MAX) {
      MessageError();
      return;
    }
  }
  if (!ImageWrite(s.szSavePath)) {
    std::fprintf(stderr, "pcsave: the save %s could not be written (%s)\n",
                 platform::resolvePath(s.szSavePath).c_str(), errno ? std::strerror(errno) : "short write");
    MessageError();
    return;
  }
  pcsave_FilesList();
  MessageSuccess();
}

void Load() {
  PCSaveScreen& s = pcsave_oScreen;
  char szPath[PCSAVE_PATH_SIZE];
  const int32_t i = ChosenEntry();
  s_szWhy[0] = 0;
  if (i < 0 || i >= s.cFiles || !FilePathMake(szPath, sizeof(szPath), s.aszFiles[i]) || !ImageRead(szPath) ||
      pcsave_ImageRestore() != PCSAVE_RESTORE_DONE) {
    // A refused file leaves the tournament as it was: Exit still goes back.
    debuglog_Printf("pcsave: refused \"%s\"\n", i >= 0 && i < s.cFiles ? s.aszFiles[i] : "");
    if (i >= 0 && i < s.cFiles)
      std::fprintf(stderr, "pcsave: the save %s was refused: %s\n", platform::resolvePath(szPath).c_str(),
                   s_szWhy[0] ? s_szWhy : "it cannot be read");
    MessageError();
    return;
  }
  debuglog_Printf("pcsave: loaded \"%s\"\n", s.aszFiles[i]);
  // From the main menu a loaded campaign goes on in the history hub.
  if (s.eReturnMode == GAME_MODE_MAIN_MENU) {
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    s.eLoadedMode = kHistoryHub;
  }
  MessageSuccess();
}

void Delete() {
  PCSaveScreen& s = pcsave_oScreen;
  char szPath[PCSAVE_PATH_SIZE];
  const int32_t i = ChosenEntry();
  if (i < 0 || i >= s.cFiles || !FilePathMake(szPath, sizeof(szPath), s.aszFiles[i]) ||
      !platform::deleteFile(szPath)) {
    MessageError();
    return;
  }
  const int32_t cBefore = s.cFiles;
  pcsave_FilesList();
  if (s.cFiles == 0) {
    s.iTop = s.iRow = 0;
  } else {
    for (int32_t k = 0; k < cBefore && ChosenEntry() >= s.cFiles; k++) CursorUp();
  }
  s.iSubState = PCSAVE_ICONS;
}

int32_t IconInput(int32_t eCode) {
  PCSaveScreen& s = pcsave_oScreen;
  if (eCode == 8 || eCode == 9) {
    s.iIcon = eCode == 8 ? (s.iIcon > 0 ? s.iIcon - 1 : 0) : (s.iIcon < 2 ? s.iIcon + 1 : 2);
    sfx_Play(0);
  } else if (eCode == 37) {
    sfx_Play(1);
    if (s.iIcon == 0 && s.eMode == PCSAVE_MODE_SAVE) {
      s.iPending = PCSAVE_PERFORM;
      s.iSubState = PCSAVE_PERFORM;
    } else if (s.iIcon == 0) {
      // A load chooses its file first.
      if (s.cFiles > 0) {
        s.iPending = PCSAVE_PERFORM;
        s.iSubState = PCSAVE_LIST;
      }
    } else if (s.iIcon == 1) {
      if (s.cFiles > 0) {
        s.iPending = PCSAVE_CONFIRM_DELETE;
        s.iSubState = PCSAVE_LIST;
      }
    } else {
      return s.eReturnMode;
    }
  } else if (eCode == kBack) {
    sfx_Play(2);
    return s.eReturnMode;
  }
  return s.eMode;
}

void ListInput(int32_t eCode) {
  PCSaveScreen& s = pcsave_oScreen;
  if (eCode == 8 || eCode == 9) {
    if (eCode == 8) CursorUp();
    else CursorDown();
    sfx_Play(0);
  } else if (eCode == 37) {
    sfx_Play(1);
    s.bYes = 0;
    s.iSubState = s.iPending;
  } else if (eCode == kBack) {
    sfx_Play(2);
    s.iSubState = PCSAVE_ICONS;
  }
}

void ConfirmInput(int32_t eCode) {
  PCSaveScreen& s = pcsave_oScreen;
  if (eCode == 10 || eCode == 11) {
    s.bYes = eCode == 10;
    sfx_Play(0);
  } else if (eCode == 37) {
    sfx_Play(1);
    const int32_t eYes = s.iSubState == PCSAVE_CONFIRM_DELETE ? PCSAVE_DELETE : PCSAVE_OVERWRITE;
    s.iSubState = s.bYes ? eYes : PCSAVE_ICONS;
  }
}

bool InputSubState(int32_t i) {
  return i == PCSAVE_LIST || i == PCSAVE_ICONS || i == PCSAVE_CONFIRM_DELETE || i == PCSAVE_CONFIRM_OVERWRITE;
}

void Enter(int32_t eMode) {
  PCSaveScreen& s = pcsave_oScreen;
  mregion_Reset();
  for (int32_t i = 0; i < PCSAVE_RECORDS; ++i) mregion_Add(&pcsave_aoLayout[i], i, PCSAVE_SHEET);
  pcfe_ScreenSet(PCSAVE_SHEET);
  input_ActiveUsersBind(PCSAVE_MENU_BINDING);
  s.eMode = eMode;
  s.iIcon = 0;
  s.iSubState = PCSAVE_ICONS;
  s.iPending = PCSAVE_PERFORM;
  s.bYes = 0;
  s.iTop = s.iRow = 0;
  s.cFiles = 0;
  pcsave_FilesList();
  s.bMessage = 0;
  s.iErrorFrames = s.iSuccessFrames = 0;
  s.eLoadedMode = 0;
  s.szSavePath[0] = '\0';
  const int32_t eExtended = global_eGetExtendedGameMode();
  if (eMode == PCSAVE_MODE_SAVE) s.eReturnMode = kReturnHistoryOptions;
  else if (eExtended == kOptionsScreen || eExtended == kReturnHistoryOptions) s.eReturnMode = eExtended;
  else s.eReturnMode = GAME_MODE_MAIN_MENU;
}

void Run(int32_t eMode) {
  PCSaveScreen& s = pcsave_oScreen;
  if (s.bNeedsEnter || s.eMode != eMode) {
    Enter(eMode);
    s.bNeedsEnter = 0;
  }
  pcsave_Draw();
  const int32_t eNext = pcsave_Step();
  if (eNext == eMode) return;
  s.bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}

// A button's word, centred on its face inside the frame with a margin each
// side (640 x 480 units): a word too wide for the large font takes the small
// one ("Supprimer").
constexpr int32_t kLabelMargin = 7;

void LabelDraw(const char* pszRegion, int32_t eText, bool bChosen) {
  const int32_t i = mregion_FindByName(pszRegion);
  if (i < 0) return;
  const int32_t x = mregion_XGet(i) + mregion_WidthGet(i) / 2, y = mregion_YGet(i) + mregion_HeightGet(i) / 2 - 10;
  if (bChosen) draw2d_TextColourSet(255, 255, 0, 255);
  else draw2d_TextColourSet(200, 200, 200, 255);
  const int32_t iFont = pctext_iCurrentFont;
  const PCFEFitted o(festr_IDToStr(eText), pcfe_ScaleX640(static_cast<int16_t>(mregion_WidthGet(i) - 2 * kLabelMargin)));
  // The small font's word sits as low as the large font's middle.
  const int32_t yWord = y + (pctext_iCurrentFont != iFont ? 4 : 0);
  draw2d_TextShadowDraw(o.c_str(), pcfe_ScaleX640(static_cast<int16_t>(x)), pcfe_ScaleY480(static_cast<int16_t>(yWord)));
}

// The history screens' words of the save: 0 the words follow (2; 1 in a
// save from before the squad editions, whose words 14..17 are 0; a save
// from before the words has 0 throughout), 1..5 the set-up's start year, human
// teams, "Play Qualifiers", second option and match length, 6 the hub's
// cursor, 7 the news's introduction year (-1 none), 8..13 its two results
// dates (day, month, two-digit year), 14..17 the edition of each human
// team's squad plus 1 (0 none), 18..20 0. A save without the editions takes
// the loaded edition for each.
// The match options are the options block's, saved before them.
enum : int32_t {
  kWordsFollow,
  kSetup,
  kHubCursor = 6,
  kIntroYear,
  kLastDate,
  kBeforeDate = 11,
  kHumanEditions = 14,
  kWordsUsed = kHumanEditions + TM_HUMAN_MAX,
  kWithoutEditions = 1,
  kWithEditions = 2
};
static_assert(kWordsUsed <= TMSAVE_HISTORY_WORDS);

int32_t Signed(uint32_t u) { return static_cast<int32_t>(u); }
bool In(uint32_t u, int32_t lo, int32_t hi) { return Signed(u) >= lo && Signed(u) <= hi; }
bool DateOk(const uint32_t* pu) { return In(pu[0], 0, 31) && In(pu[1], 0, 12) && In(pu[2], 0, 99); }

void HistoryWordsWrite(uint32_t* pu) {
  const MFHSettings& o = mfhsetup_oSettings;
  const MFHNewsMarkers& m = mfhnews_oMarkers;
  const int32_t ai[kHumanEditions] = {kWithEditions, o.iStartYear, o.cHumanTeams, o.bPlayQualifiers, o.bSecondOption, o.iMatchLength,
                                  mfhmain_oScreen.iCursor, m.iIntroYear, m.aiLast[0], m.aiLast[1], m.aiLast[2],
                                  m.aiBefore[0], m.aiBefore[1], m.aiBefore[2]};
  for (int32_t i = 0; i < kHumanEditions; i++) pu[i] = static_cast<uint32_t>(ai[i]);
  for (int32_t h = 0; h < TM_HUMAN_MAX; h++) {
    const int32_t e = mfhmain_aiHumanEdition[h];
    pu[kHumanEditions + h] = e >= 0 && e < TM_EDITIONS ? static_cast<uint32_t>(e + 1) : 0;
  }
}

// The human teams' squad editions read back; without them (null) each is
// the loaded edition.
void HumanEditionsRead(const uint32_t* pu) {
  for (int32_t h = 0; h < TM_HUMAN_MAX; h++)
    mfhmain_aiHumanEdition[h] = pu ? Signed(pu[kHumanEditions + h]) - 1 : tmglobal_EditionGet();
}

// Whether each set-up setting is one the screen can show.
bool SetupWordOk(int32_t i, int32_t v) {
  switch (i) {
    case 0: return v >= 58 && v <= 98 && (v - 58) % 4 == 0;
    case 1: return v >= 1 && v <= TM_HUMAN_MAX;
    case 4: return v == 5 || v == 10 || v == 15;
    default: return v == 0 || v == 1;
  }
}

// What each history screens' word is and the values it may take, as a
// refusal names them.
struct HistoryWordName {
  const char* pszName;
  const char* pszRange;
};
HistoryWordName HistoryWordNameGet(int32_t i, uint32_t uFollow) {
  static const char* const kDateParts[3] = {"day", "month", "two-digit year"};
  static char szName[64];
  static char szRange[32];
  if (i != kWordsFollow && uFollow == 0) {
    // A save from before the words has 0 throughout.
    std::snprintf(szName, sizeof szName, "unused history word %d", static_cast<int>(i));
    return {szName, "0"};
  }
  switch (i) {
    case kWordsFollow: return {"history words' mark", "0 to 2"};
    case kSetup: return {"Start Year", "58 to 98 in steps of 4"};
    case kSetup + 1: return {"number of human teams", "1 to 4"};
    case kSetup + 2: return {"Play Qualifiers setting", "0 or 1"};
    case kSetup + 3: return {"second set-up option", "0 or 1"};
    case kSetup + 4: return {"Match Length", "5, 10 or 15"};
    case kHubCursor:
      std::snprintf(szRange, sizeof szRange, "0 to %d", static_cast<int>(MFHMAIN_ITEMS - 1));
      return {"hub's cursor", szRange};
    case kIntroYear: return {"news's introduction year", "-1 to 99"};
    default: break;
  }
  if (i >= kLastDate && i < kHumanEditions) {
    std::snprintf(szName, sizeof szName, "%s results date's %s", i < kBeforeDate ? "news's last" : "news's earlier",
                  kDateParts[(i - kLastDate) % 3]);
    return {szName, (i - kLastDate) % 3 == 0 ? "0 to 31" : (i - kLastDate) % 3 == 1 ? "0 to 12" : "0 to 99"};
  }
  if (i >= kHumanEditions && i < kWordsUsed && uFollow == kWithEditions) {
    std::snprintf(szName, sizeof szName, "human team %d's squad edition", static_cast<int>(i - kHumanEditions + 1));
    std::snprintf(szRange, sizeof szRange, "0 to %d", static_cast<int>(TM_EDITIONS));
    return {szName, szRange};
  }
  std::snprintf(szName, sizeof szName, "unused history word %d", static_cast<int>(i));
  return {szName, "0"};
}

// False, with the refusal naming the history screens' word, its place among
// the settings words, its value and its range.
int32_t WordRefused(const uint32_t* pu, int32_t i) {
  const HistoryWordName n = HistoryWordNameGet(i, pu[kWordsFollow]);
  tmsave_RefusalSet("its %s (settings word %d) is %d, not %s", n.pszName, TMSAVE_HISTORY_FIRST + i, Signed(pu[i]),
                    n.pszRange);
  return 0;
}

int32_t HistoryWordsCheck(const uint32_t* pu) {
  const uint32_t uFollow = pu[kWordsFollow];
  if (uFollow > kWithEditions) return WordRefused(pu, kWordsFollow);
  for (int32_t i = uFollow == kWithEditions ? kWordsUsed : uFollow ? kHumanEditions : 0; i < TMSAVE_HISTORY_WORDS; i++)
    if (pu[i]) return WordRefused(pu, i);
  if (!uFollow) return 1;
  for (int32_t i = 0; i < 5; i++)
    if (!SetupWordOk(i, Signed(pu[kSetup + i]))) return WordRefused(pu, kSetup + i);
  for (int32_t h = 0; h < TM_HUMAN_MAX; h++)
    if (!In(pu[kHumanEditions + h], 0, TM_EDITIONS)) return WordRefused(pu, kHumanEditions + h);
  if (!In(pu[kHubCursor], 0, MFHMAIN_ITEMS - 1)) return WordRefused(pu, kHubCursor);
  if (!In(pu[kIntroYear], -1, 99)) return WordRefused(pu, kIntroYear);
  for (int32_t i : {kLastDate, kBeforeDate})
    if (!DateOk(pu + i)) {
      const int32_t k = !In(pu[i], 0, 31) ? 0 : !In(pu[i + 1], 0, 12) ? 1 : 2;
      return WordRefused(pu, i + k);
    }
  return 1;
}

void HistoryWordsRead(const uint32_t* pu) {
  MFHSettings& o = mfhsetup_oSettings;
  if (!pu[kWordsFollow]) {
    // A save from before the words: the settings the tournament keeps and
    // the match length of the options block where the screen can show them
    // (else the defaults), the cursor and the news's markers as a new
    // history has them.
    const int32_t ai[5] = {tmglobal.iStartYear, tmglobal.cHumans, tmglobal.bPlayQualifiers, tmglobal.bSecondOption,
                           options_oBlock.iMatchLength};
    mfhsetup_DefaultsSet();
    int32_t* pi[5] = {&o.iStartYear, &o.cHumanTeams, &o.bPlayQualifiers, &o.bSecondOption, &o.iMatchLength};
    for (int32_t i = 0; i < 5; i++)
      if (SetupWordOk(i, ai[i])) *pi[i] = ai[i];
    mfhmain_oScreen.iCursor = 0;
    mfhnews_oMarkers.iIntroYear = -1;
    for (int32_t i = 0; i < 3; i++) mfhnews_oMarkers.aiLast[i] = mfhnews_oMarkers.aiBefore[i] = 0;
    HumanEditionsRead(nullptr);
    return;
  }
  HumanEditionsRead(pu[kWordsFollow] == kWithEditions ? pu : nullptr);
  const uint32_t* ps = pu + kSetup;
  o = {Signed(ps[0]), Signed(ps[1]), Signed(ps[2]), Signed(ps[3]), Signed(ps[4])};
  mfhmain_oScreen.iCursor = Signed(pu[kHubCursor]);
  MFHNewsMarkers& m = mfhnews_oMarkers;
  m.iIntroYear = Signed(pu[kIntroYear]);
  for (int32_t i = 0; i < 3; i++) {
    m.aiLast[i] = Signed(pu[kLastDate + i]);
    m.aiBefore[i] = Signed(pu[kBeforeDate + i]);
  }
}

const TMSaveHistoryWords kHistoryWords = {HistoryWordsWrite, HistoryWordsCheck, HistoryWordsRead};
// Every stream of a game with these screens carries the words, from the start.
const bool s_bHistoryWordsSet = (tmsave_HistoryWordsSet(&kHistoryWords), true);

}  // namespace

PCSaveScreen pcsave_oScreen = {1, PCSAVE_ICONS, 0, PCSAVE_PERFORM, 0, 0, GAME_MODE_MAIN_MENU, 0, 0, 0, 0, 0, 0, 0, {}, {}};
uint8_t pcsave_abImage[PCSAVE_IMAGE_SIZE];

const RegionDef pcsave_aoLayout[PCSAVE_RECORDS] = {
    PCSAVE_RECORD("main", 0, 0, 640, 480, 255),      PCSAVE_RECORD("icon5", 436, 311, 122, 35, 254),
    PCSAVE_RECORD("icon4", 436, 270, 122, 35, 253),  PCSAVE_RECORD("icon3", 436, 229, 122, 35, 252),
    PCSAVE_RECORD("icon2", 436, 189, 122, 35, 251),  PCSAVE_RECORD("icon1", 436, 149, 122, 35, 250),
    PCSAVE_RECORD("arrowdown", 391, 325, 38, 20, 249), PCSAVE_RECORD("arrowup", 388, 152, 38, 20, 248),
};

void pcsave_WriteFnSet(PCSaveWriteFn pfn) { s_pfnWrite = pfn; }
void pcsave_SyncFnSet(PCSaveSyncFn pfn) { s_pfnSync = pfn; }

int32_t pcsave_ImageBuild() {
  uint8_t* p = pcsave_abImage;
  p[0] = static_cast<uint8_t>(tmglobal.bHolderOption);
  p[1] = static_cast<uint8_t>(options_oBlock.iMusicVolume);
  p[2] = static_cast<uint8_t>(options_oBlock.iSfxVolume);
  p[3] = static_cast<uint8_t>(options_oBlock.iWord3);
  p[4] = static_cast<uint8_t>(options_oBlock.iPlayerChat);
  p[5] = static_cast<uint8_t>(OffsideWord());
  return tmsave_Write(p + PCSAVE_SETTINGS_BYTES, TMSAVE_BLOCK_SIZE) > 0 ? 1 : 0;
}

int32_t pcsave_ImageRestore() {
  const uint8_t* p = pcsave_abImage;
  // The history option is a flag that the stream itself keeps as 0 or 1: any
  // other value would make the next save of the game unreadable. Byte 3 is
  // a word no one reads, kept as it comes.
  const struct {
    int32_t iByte;
    const char* pszName;
    int32_t iMax;
  } kBytes[] = {{0, "history option", 1},
                {1, "music volume", OPTIONS_VOLUME_MAX},
                {2, "effects volume", OPTIONS_VOLUME_MAX},
                {4, "player chat", kPlayerChatMax},
                {5, "offside", 1}};
  for (const auto& b : kBytes) {
    const int32_t v = Widen(p[b.iByte]);
    if (v < 0 || v > b.iMax) {
      Why("its %s (settings byte %d) is %d, not 0 to %d", b.pszName, b.iByte, v, b.iMax);
      return PCSAVE_RESTORE_FAILED;
    }
  }
  const int32_t bHistory = Widen(p[0]), iChat = Widen(p[4]), bOffside = Widen(p[5]);
  // The stream keeps the whole options block; the volumes stay as they are.
  const int32_t iMusic = options_oBlock.iMusicVolume, iSfx = options_oBlock.iSfxVolume;
  if (!tmsave_Read(p + PCSAVE_SETTINGS_BYTES, TMSAVE_BLOCK_SIZE)) {
    Why("%s", tmsave_RefusalGet());
    return PCSAVE_RESTORE_FAILED;
  }
  options_oBlock.iMusicVolume = iMusic;
  options_oBlock.iSfxVolume = iSfx;
  tmglobal.bHolderOption = bHistory;
  options_oBlock.iWord3 = Widen(p[3]);
  options_oBlock.iPlayerChat = iChat;
  OffsideWord() = bOffside;
  mfhnews_DrawMarkersRestore();
  return PCSAVE_RESTORE_DONE;
}

bool pcsave_SaveNameMake(char* pszPath, std::size_t cb) {
  if (tmglobal.iCurrentHuman < 0 || tmglobal.iCurrentHuman >= TM_HUMAN_MAX) return false;
  const uint32_t Name = tmglobal.aHumans[tmglobal.iCurrentHuman].Name;
  if (Name == 0 || Name >= static_cast<uint32_t>(TLA_COUNT)) return false;
  const int n = std::snprintf(pszPath, cb, "%s\\%s 19%02d  %d.%d.%d.SAV", kFolder,
                              tla_ShortNameGet(static_cast<int32_t>(Name)), tmglobal.iYear % 100, global.iDay,
                              global.iMonth, global.iYear);
  return n > 0 && static_cast<std::size_t>(n) < cb;
}

void pcsave_FilesList() {
  PCSaveScreen& s = pcsave_oScreen;
  s.cFiles = 0;
  platform::makeDirectories(kFolder);
  // Temporary files left by a game killed while saving.
  platform::removeStaleTemporaries(platform::saveDir());
  for (const platform::DirectoryEntry& e : platform::listDirectory("..\\savegame\\*.SAV")) {
    if (s.cFiles >= PCSAVE_FILES_MAX) break;
    if (e.isDirectory || e.name.size() < 4) continue;
    // A longer name would not fit its slot, and a cut one would open another file.
    const std::size_t n = e.name.size() - 4;
    if (n == 0 || n >= PCSAVE_NAME_SIZE || e.name.find_first_of("?*") != std::string::npos) continue;
    if (!platform::fileExists(("..\\savegame\\" + e.name).c_str())) continue;
    std::memcpy(s.aszFiles[s.cFiles], e.name.data(), n);
    s.aszFiles[s.cFiles][n] = '\0';
    s.cFiles++;
  }
}

int32_t pcsave_Step() {
  PCSaveScreen& s = pcsave_oScreen;
  User* poMenu = global_poGetMenuUser();
  // Only the menu user steers these screens.
  pcfe_OtherUsersInputFlush(poMenu);
  int32_t eNext = s.eMode;
  Queue* pq = poMenu && poMenu->pip ? &poMenu->pip->oEvents : nullptr;
  // Escape is Back: from the list to the buttons, from the buttons out of
  // the screen; over a question it answers "No".
  if (InputSubState(s.iSubState) && (pcfe_bEscapeHeld() || pcfe_bEscapeLastKey())) {
    if (pq) input_EventQueueFlush(pq);
    if (s.iSubState == PCSAVE_ICONS) return IconInput(kBack);
    if (s.iSubState == PCSAVE_LIST) {
      ListInput(kBack);
    } else {
      sfx_Play(2);
      s.iSubState = PCSAVE_ICONS;
    }
    return eNext;
  }
  if (InputSubState(s.iSubState)) {
    const int32_t iEntered = s.iSubState;
    while (pq && eNext == s.eMode && s.iSubState == iEntered) {
      ListNode* poNode = queue_RemoveHead(pq);
      if (!poNode) break;
      InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
      const int32_t eCode = poEvent->eEvent;
      input_EventFree(&poEvent);
      if (iEntered == PCSAVE_ICONS) eNext = IconInput(eCode);
      else if (iEntered == PCSAVE_LIST) ListInput(eCode);
      else ConfirmInput(eCode);
    }
    return eNext;
  }
  if (pq) input_EventQueueFlush(pq);
  switch (s.iSubState) {
    case PCSAVE_PERFORM:
      if (s.eMode == PCSAVE_MODE_SAVE) Save(false);
      else Load();
      break;
    case PCSAVE_DELETE: Delete(); break;
    case PCSAVE_OVERWRITE: Save(true); break;
    case PCSAVE_ERROR:
      if (--s.iErrorFrames <= 0) {
        s.bMessage = 0;
        s.iSubState = PCSAVE_ICONS;
      }
      break;
    case PCSAVE_SUCCESS:
      if (--s.iSuccessFrames <= 0) eNext = s.eLoadedMode ? s.eLoadedMode : s.eReturnMode;
      break;
    default: s.iSubState = PCSAVE_ICONS; break;
  }
  return eNext;
}

void pcsave_Draw() {
  const PCSaveScreen& s = pcsave_oScreen;
  pctext_FontSet(2);
  mregion_DrawByName("main");
  const bool bIcons = s.iSubState == PCSAVE_ICONS;
  LabelDraw("icon1", s.eMode == PCSAVE_MODE_SAVE ? IDS_FE_SAVE : IDS_FE_LOAD, bIcons && s.iIcon == 0);
  LabelDraw("icon2", IDS_FE_DELETE, bIcons && s.iIcon == 1);
  LabelDraw("icon3", IDS_FE_EXIT, bIcons && s.iIcon == 2);
  if (s.bMessage) pcfe_ErrorBoxDraw(nullptr);
  if (s.iSubState == PCSAVE_CONFIRM_DELETE || s.iSubState == PCSAVE_CONFIRM_OVERWRITE) {
    pcfe_ConfirmPanelDraw(s.iSubState == PCSAVE_CONFIRM_DELETE ? IDS_FE_CONFIRM_DELETE_GAME
                                                                : IDS_FE_CONFIRM_OVERWRITE_GAME,
                          s.bYes);
    pctext_FontSet(2);
  }
  if (s.iSubState != PCSAVE_SUCCESS) {
    // The names under the boxes and the panel, each over its black copy.
    for (int32_t r = 0; r < PCSAVE_ROWS && s.iTop + r < s.cFiles; r++) {
      const int32_t x = pcfe_ScaleX640(82), y = pcfe_ScaleY480(static_cast<int16_t>(160 + 20 * r));
      draw2d_TextColourSet(0, 0, 0, 255);
      pctext_PrintLeft(s.aszFiles[s.iTop + r], x + 1, y + 1, kListShadowLayer);
      draw2d_TextColourSet(200, 200, 200, 255);
      pctext_PrintLeft(s.aszFiles[s.iTop + r], x, y, kListLayer);
    }
    if (s.cFiles > PCSAVE_ROWS && s.iTop > 0) mregion_DrawByName("arrowup");
    if (s.iTop + PCSAVE_ROWS < s.cFiles) mregion_DrawByName("arrowdown");
  }
  if (s.iSubState == PCSAVE_LIST) {
    draw2d_FillColourSet(200, 200, 0, 96);
    draw2d_RectFill(pcfe_ScaleX640(80), pcfe_ScaleY480(static_cast<int16_t>(157 + 20 * s.iRow)), pcfe_ScaleX640(300),
                    pcfe_ScaleY480(22), kListShadowLayer + 1);
  }
  pctext_FontSet(0);
}

void pcsave_SaveReset() { pcsave_oScreen.bNeedsEnter = 1; }
void pcsave_LoadReset() { pcsave_oScreen.bNeedsEnter = 1; }
void pcsave_SaveEnter() { Enter(PCSAVE_MODE_SAVE); }
void pcsave_LoadEnter() { Enter(PCSAVE_MODE_LOAD); }
void pcsave_SaveRun() { Run(PCSAVE_MODE_SAVE); }
void pcsave_LoadRun() { Run(PCSAVE_MODE_LOAD); }
