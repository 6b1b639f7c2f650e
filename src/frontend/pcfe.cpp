// The front-end state, the background sheets and the scaling.
#include "frontend/pcfe.h"

#include <cstdio>
#include <cstring>
#include <string>


#include "audio/audio_services.h"
#include "audio/qal.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"
#include "framework/qdx_file.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/pctext.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"
#include "platform/window.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"

const char pcfe_aszSheetNames[PCFE_SHEETS][PCFE_SHEET_NAME_MAX] = {
    "condi", "maineng", "mainfra", "mainger", "mainspa", "mainita", "mainpor", "sides",  "tactics", "team",
    "fhfl",  "fhgt",    "fhnews",  "fhops",   "fhroh",   "fhset",   "options", "loadsave", "cont",  "fhmain"};

PCFESheetSlot pcfe_aoSlots[2] = {{-1, nullptr}, {-1, nullptr}};
int32_t pcfe_iCurrentSlot = 0;
int32_t pcfe_iOtherSlot = 1;
int32_t pcfe_cSheetLoads = 0;

namespace {
float pcfe_fScaleX = 1.25f;
float pcfe_fScaleY = 2.0f;
float pcfe_fScaleX640 = 1.0f;
float pcfe_fScaleY480 = 1.0f;

void pcfe_SheetPath(char* psz, size_t n, int32_t iSheet) {
  std::snprintf(psz, n, "..\\data\\frontend\\%.79s16.spr", pcfe_aszSheetNames[iSheet]);
}

bool pcfe_bSheetConvert(int32_t iSheet);

// The sheet as the build wrote it, on the game's disc.
void pcfe_SourcePath(char* psz, size_t n, int32_t iSheet) {
  std::snprintf(psz, n, "%sdata\\frontend\\%.79s.spr", pcinstall_szCdRoot, pcfe_aszSheetNames[iSheet]);
}
// The first menu sheet of this conversion whose source could not be loaded.
std::string pcfe_oFirstFailedSheet;

// A converted sheet in the display's pixel format (in the compared bits).
bool pcfe_bSheetFormatGood(const QDLSpriteBank* poBank) {
  QDLSurface* poDisplay = QDLDisplaySurface();
  return poDisplay == nullptr || (poDisplay->formatCode & QDLFORMAT_CLASS_MASK) == (poBank->formatCode & ~0x7E0u);
}

// Loads a converted sheet; one that is damaged or of another format is
// converted again from its source and loaded once more.
QDLSpriteBank* pcfe_poSheetLoadChecked(int32_t iSheet, const char* pszPath) {
  QDLSpriteBank* poBank = QDLSpriteBankLoad(pszPath, nullptr, 0);
  if (poBank != nullptr && pcfe_bSheetFormatGood(poBank)) return poBank;
  if (poBank != nullptr) QDLSpriteBankFree(poBank);
  std::fprintf(stderr, "pcfe: the converted sheet %s is missing or damaged; it is converted again\n", pszPath);
  if (!pcfe_bSheetConvert(iSheet)) return nullptr;
  return QDLSpriteBankLoad(pszPath, nullptr, 0);
}
}  // namespace

// ---- Sheets ---------------------------------------------------------------------

void pcfe_SlotClear(int32_t iSlot) {
  PCFESheetSlot& o = pcfe_aoSlots[iSlot];
  if (o.poBank != nullptr) QDLSpriteBankFree(o.poBank);
  o.poBank = nullptr;
  o.iSheet = -1;
}

void pcfe_SheetCacheReset() {
  pcfe_iCurrentSlot = 0;
  pcfe_iOtherSlot = 1;
  pcfe_SlotClear(0);
  pcfe_SlotClear(1);
}

void pcfe_SheetLoad(int32_t iSheet) {
  if (iSheet < 0 || iSheet >= PCFE_SHEETS) return;
  if (pcfe_aoSlots[pcfe_iCurrentSlot].iSheet == iSheet) return;
  std::swap(pcfe_iCurrentSlot, pcfe_iOtherSlot);
  if (pcfe_aoSlots[pcfe_iCurrentSlot].iSheet == iSheet) return;
  pcfe_SlotClear(pcfe_iCurrentSlot);
  char szPath[PCFE_SHEET_NAME_MAX + 32];
  pcfe_SheetPath(szPath, sizeof(szPath), iSheet);
  pcfe_aoSlots[pcfe_iCurrentSlot].poBank = pcfe_poSheetLoadChecked(iSheet, szPath);
  pcfe_aoSlots[pcfe_iCurrentSlot].iSheet = iSheet;
  pcfe_cSheetLoads++;
  if (pcfe_aoSlots[pcfe_iCurrentSlot].poBank == nullptr)
    std::fprintf(stderr, "pcfe: the background sheet %s could not be loaded\n", szPath);
}

int32_t pcfe_SheetGet() { return pcfe_aoSlots[pcfe_iCurrentSlot].iSheet; }

QDLFrame* pcfe_SheetSpriteGet(int32_t i) {
  QDLSpriteBank* po = pcfe_aoSlots[pcfe_iCurrentSlot].poBank;
  if (po == nullptr || i < 0 || i >= po->frameCount) return nullptr;
  return &po->frames[i];
}

void pcfe_ScreenSet(int32_t iSheet) {
  pcfe_SheetLoad(iSheet);
  pcframe_ScreenClearSet(0);
}

// ---- Scaling ----------------------------------------------------------------------

void pcfe_ScaleSet(int16_t iVirtualWidth, int16_t iVirtualHeight, int16_t iScreenWidth, int16_t iScreenHeight) {
  pcfe_fScaleX = iVirtualWidth != 0 ? static_cast<float>(iScreenWidth) / static_cast<float>(iVirtualWidth) : 1.0f;
  pcfe_fScaleY = iVirtualHeight != 0 ? static_cast<float>(iScreenHeight) / static_cast<float>(iVirtualHeight) : 1.0f;
  pcfe_fScaleX640 = static_cast<float>(iScreenWidth) * 0.0015625f;
  pcfe_fScaleY480 = static_cast<float>(iScreenHeight) * 0.0020833334f;
}

int32_t pcfe_ScaleX(int16_t x) { return static_cast<int32_t>(static_cast<float>(x) * pcfe_fScaleX); }
int32_t pcfe_ScaleY(int16_t y) { return static_cast<int32_t>(static_cast<float>(y) * pcfe_fScaleY); }
int32_t pcfe_ScaleX640(int16_t x) { return static_cast<int32_t>(static_cast<float>(x) * pcfe_fScaleX640); }
int32_t pcfe_ScaleY480(int16_t y) { return static_cast<int32_t>(static_cast<float>(y) * pcfe_fScaleY480); }
int32_t pcfe_RoomX640(int32_t iRoom) { return iRoom > 0 ? pcfe_ScaleX640(static_cast<int16_t>(iRoom)) : 1 << 20; }

// ---- Front-end state ----------------------------------------------------------------

void pcfe_Start() {
  QDLTextSetStyle(1);
  pctext_FrontEndFontsLoad();
  pccontrols_Init();
  pcfe_SheetCacheReset();
  pcframe_ScreenClearSet(1);
  pcfmv_TargetInit();
  // The audio library for the menus, once (the stop closes it), and the menu sounds.
  if (!qal_bStarted && QALInit(nullptr, 1048576, 1024) >= 0) qal_bStarted = 1;
  if (qal_bStarted) pcsound_FrontEndBank();
  // The screens that enter afresh in every front end.
  mteam_Reset();
  mfhfixtr_Reset();
  mfhgroup_Reset();
  mfhmain_Reset();
  mfhnews_Reset();
  mfhopts_Reset();
  mfhrole_Reset();
  mfhsetup_Reset();
  mfhsquad_Reset();
  options_ScreenReset();
}

void pcfe_Stop() {
  pcfmv_Stop();
  pctext_FrontEndFontsFree();
  pcframe_ScreenClearSet(-1);
  pcfe_SlotClear(0);
  pcfe_SlotClear(1);
  sfx_FreeAllBanks();
  if (qal_bStarted) {
    QALShutdown();
    qal_bStarted = 0;
  }
}

// ---- First-run conversion of the background sheets ---------------------------------

int32_t pcfe_cConvertFailures = 0;
int32_t pcfe_iConvertCounter = 0;

namespace {

// The three lines of the conversion screen per language, Windows-1252.
const char* const pcfe_aaszConvertLines[6][3] = {
    {"Please Wait, converting graphics data.", "This is only necessary the first time the game is run ", "or if your video hardware changes."},
    {"Conversion de donn\xE9" "es graphiques. Veuillez patienter...", "Ceci n'est n\xE9" "cessaire que pour la premi\xE8" "re ex\xE9" "cution du", "jeu ou lors d'un changement de p\xE9" "riph\xE9" "rique."},
    {"Bitte warten, konvertiere Grafikdaten.", "Dies ist nur notwendig, wenn Sie das Spiel das erste", "Mal starten, oder Sie die Video Einstellungen ver\xE4" "ndern wollen"},
    {"Por favor, espera. Convirtiendo datos gr\xE1" "ficos.", "Esto s\xF3" "lo es necesario la primera vez que se ejecuta", "el juego o si tu hardware de v\xED" "deo cambia."},
    {"Attendere... conversione dati grafici in corso.", "Questo \xE8" " necessario solo la prima volta che il gioco", "viene caricato o se il tuo hardware video \xE8" " cambiato."},
    {"Aguarde, por favor. A converter dados gr\xE1" "ficos.", "Isto s\xF3" " \xE9" " necess\xE1" "rio da primeira vez que correr o jogo", "ou se o seu hardware de v\xED" "deo mudar."},
};

QDLSurface* pcfe_poConvertImage = nullptr;
const char* const* pcfe_papszConvertLines = pcfe_aaszConvertLines[0];

// Checks that a converted sheet matches the display: readable, at least 200
// bytes, a valid sprite bank, and of the display's pixel format in the
// compared bits.
bool pcfe_bConvertedSheetGood(int32_t iSheet) {
  char szPath[PCFE_SHEET_NAME_MAX + 32];
  pcfe_SheetPath(szPath, sizeof(szPath), iSheet);
  QDXFile* poFile = QDXFileOpenRead(szPath, 0);
  if (poFile == nullptr) return false;
  uint8_t abHead[PCFE_MARKER_MIN_BYTES];
  const size_t uRead = QDXFileRead(poFile, abHead, sizeof(abHead));
  QDXFileClose(poFile);
  if (uRead < sizeof(abHead)) return false;
  QDLSpriteBank* poBank = QDLSpriteBankLoad(szPath, nullptr, 0);
  if (poBank == nullptr) return false;
  const bool bGood = pcfe_bSheetFormatGood(poBank);
  QDLSpriteBankFree(poBank);
  return bGood;
}

// Converts one sheet; false when its source did not load or the result could
// not be written (the old converted file, if any, is then left as it was).
bool pcfe_bSheetConvert(int32_t iSheet) {
  char szSource[PCFE_SHEET_NAME_MAX + PCINSTALL_PATH_SIZE + 32];
  pcfe_SourcePath(szSource, sizeof(szSource), iSheet);
  QDLSpriteBank* poSource = QDLSpriteBankLoad(szSource, nullptr, 0);
  if (poSource == nullptr) {
    std::fprintf(stderr, "pcfe: the source sheet %s could not be loaded; it is skipped\n", szSource);
    if (pcfe_oFirstFailedSheet.empty())
      pcfe_oFirstFailedSheet = std::string(szSource) + " (" + platform::resolvePath(szSource) + ")";
    return false;
  }
  QDLSurface* poDisplay = QDLDisplaySurface();
  const uint32_t uFormat = poDisplay != nullptr ? poDisplay->formatCode : 0;
  QDLSpriteBank* poConverted = QDLSpriteBankConvert(poSource, uFormat, QDLCONVERT_DITHER);
  QDLSpriteBankFree(poSource);
  if (poConverted == nullptr) {
    std::fprintf(stderr, "pcfe: the sheet %s could not be converted\n", szSource);
    return false;
  }
  char szTarget[PCFE_SHEET_NAME_MAX + 32];
  pcfe_SheetPath(szTarget, sizeof(szTarget), iSheet);
  // The bank is written to a temporary file of this process's own and
  // renamed over the target; leftovers of games killed on the way go first.
  platform::removeStaleTemporariesBeside(platform::resolvePath(szTarget));
  const bool bDone = QDLSpriteBankSave(poConverted, szTarget) == 0;
  QDLSpriteBankFree(poConverted);
  if (!bDone) std::fprintf(stderr, "pcfe: the converted sheet %s could not be written\n", szTarget);
  return bDone;
}

}  // namespace

int32_t pcfe_ConvertNeeded() {
  // The marker sheet first, as it is written last; then every other sheet
  // the screens load.
  if (!pcfe_bConvertedSheetGood(PCFE_MARKER_SHEET)) return 1;
  // A sheet whose source was written after its conversion (new art in the
  // data tree) is converted again too.
  for (int32_t i = 0; i < PCFE_SHEETS; ++i) {
    char szPath[PCFE_SHEET_NAME_MAX + 32];
    pcfe_SheetPath(szPath, sizeof(szPath), i);
    if (!QDXFileExists(szPath)) return 1;
    char szSource[PCFE_SHEET_NAME_MAX + PCINSTALL_PATH_SIZE + 32];
    pcfe_SourcePath(szSource, sizeof(szSource), i);
    if (platform::fileIsNewer(szSource, szPath)) return 1;
  }
  return 0;
}

void pcfe_ConvertEnter() {
  QDLTextSetStyle(1);
  pctext_FrontEndFontsLoad();
  pcfe_poConvertImage = QDLSurfaceCreate(640, 480, 16, 0);
  if (pcfe_poConvertImage != nullptr) {
    char szPath[PCINSTALL_PATH_SIZE];
    pcinstall_TexturePath(szPath, "images\\gfxconvert.tga");
    if (QDLImageLoadTGA(pcfe_poConvertImage, szPath, 0) == nullptr)
      std::fprintf(stderr, "pcfe: the image %s could not be loaded\n", szPath);
  }
  pcfe_iConvertCounter = 0;
  pcfe_cConvertFailures = 0;
  pcfe_oFirstFailedSheet.clear();
  platform::makeDirectories("..\\data\\frontend");
  const int32_t iLanguage = mlang_iLanguage >= 0 && mlang_iLanguage < 6 ? mlang_iLanguage : 0;
  pcfe_papszConvertLines = pcfe_aaszConvertLines[iLanguage];
}

void pcfe_ConvertStep() {
  if (pcfe_iConvertCounter >= PCFE_SHEETS) {
    if (!pcfe_oFirstFailedSheet.empty()) {
      // The menus cannot be shown without their sheets: the start ends here,
      // naming the file, with a code that says it failed.
      pcmain_StartupError(("The menu sheet " + pcfe_oFirstFailedSheet + " is missing or damaged.").c_str());
      platform::postQuit(1);
      pcmain_bQuit = 1;
      return;
    }
    pcmain_eRequestedState = APP_STATE_FRONT_END;
    return;
  }
  QDLSurface* poDisplay = QDLDisplaySurface();
  if (poDisplay != nullptr) {
    if (pcfe_poConvertImage != nullptr) QDLSurfaceCopy(poDisplay, pcfe_poConvertImage, 0);
    QDLFont* poFont = pctext_poFontGet(0);
    const uint32_t uBlack = QDLSurfaceRGBToPixel(poDisplay, 0, 0, 0);
    const uint32_t uWhite = QDLSurfaceRGBToPixel(poDisplay, 255, 255, 255);
    if (poFont != nullptr)
      for (int32_t i = 0; i < 3; ++i) {
        QDLPrintf(poDisplay, poFont, 321, static_cast<int16_t>(129 + 24 * i), uBlack, 0, QDLLAYOUT_CENTRED_ON_CURSOR,
                  QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, "%s", pcfe_papszConvertLines[i]);
        QDLPrintf(poDisplay, poFont, 320, static_cast<int16_t>(128 + 24 * i), uWhite, 0, QDLLAYOUT_CENTRED_ON_CURSOR,
                  QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, "%s", pcfe_papszConvertLines[i]);
      }
    QDLRect(poDisplay, 176, 443, 464, 457, uBlack, QDLDRAW_FILLED);
    QDLRect(poDisplay, 178, 445, 178 + 15 * pcfe_iConvertCounter, 455, QDLSurfaceRGBToPixel(poDisplay, 128, 128, 64),
            QDLDRAW_FILLED);
  }
  // The marker sheet is the last row: it is written only when every other
  // sheet converted, so an incomplete conversion runs again next time.
  if (pcfe_iConvertCounter == PCFE_MARKER_SHEET && pcfe_cConvertFailures > 0) {
    char szMarker[PCFE_SHEET_NAME_MAX + 32];
    pcfe_SheetPath(szMarker, sizeof(szMarker), PCFE_MARKER_SHEET);
    platform::deleteFile(szMarker);
    std::fprintf(stderr, "pcfe: %d sheets failed to convert; the conversion runs again next time\n",
                 static_cast<int>(pcfe_cConvertFailures));
  } else if (!pcfe_bSheetConvert(pcfe_iConvertCounter)) {
    pcfe_cConvertFailures++;
  }
  QDLPresent(0);
  pcfe_iConvertCounter++;
}

void pcfe_ConvertLeave() {
  if (pcfe_poConvertImage != nullptr) QDLSurfaceFree(pcfe_poConvertImage);
  pcfe_poConvertImage = nullptr;
  pctext_FrontEndFontsFree();
}

// ---- Outro -----------------------------------------------------------------------

int32_t pcfe_iOutroCounter = 0;

namespace {
QDLSurface* pcfe_poOutroImage = nullptr;

void pcfe_OutroShow() {
  QDLSurface* poDisplay = QDLDisplaySurface();
  if (poDisplay != nullptr && pcfe_poOutroImage != nullptr) QDLSurfaceCopy(poDisplay, pcfe_poOutroImage, 0);
  QDLPresent(0);
}
}  // namespace

void pcfe_OutroEnter() {
  pcfe_poOutroImage = QDLSurfaceCreate(640, 480, 16, 0);
  if (pcfe_poOutroImage != nullptr && QDLImageLoadTGA(pcfe_poOutroImage, "..\\data\\textures\\images\\outro.tga", 0) == nullptr)
    std::fprintf(stderr, "pcfe: the outro image could not be loaded\n");
  pcfe_OutroShow();
  pcfe_iOutroCounter = PCFE_OUTRO_FRAMES;
}

void pcfe_OutroRun() {
  pcfe_OutroShow();
  const uint8_t* pabKeys = QKeyboardGetState();
  const bool bEscape = pabKeys != nullptr && (pabKeys[1] & 0x80) != 0;
  if (pcfe_iOutroCounter-- > 0 && !bEscape) return;
  if (pcfe_iOutroCounter < 0) pcfe_iOutroCounter = 0;
  QDLSurface* poDisplay = QDLDisplaySurface();
  for (int32_t i = 0; i < 2; ++i) {
    if (poDisplay != nullptr) QDLFillRect(poDisplay, nullptr, 0, 0);
    QDLPresent(0);
  }
  pcmain_eRequestedState = APP_STATE_NONE;
  pcmain_eCurrentState = APP_STATE_NONE;
  pcmain_bQuit = 1;
}

void pcfe_OutroLeave() {
  if (pcfe_poOutroImage != nullptr) QDLSurfaceFree(pcfe_poOutroImage);
  pcfe_poOutroImage = nullptr;
}

// ---- Error box and confirmation panel ---------------------------------------------------

void pcfe_ErrorBoxDraw(const char* pszDetail) {
  const bool bDetail = pszDetail && *pszDetail;
  int32_t x = pcfe_ScaleX(156), w = pcfe_ScaleX(200), h = pcfe_ScaleY(40);
  if (bDetail) {
    const int32_t iNeeded = pctext_WidthGet(pszDetail) + 16;
    if (iNeeded > w) {
      x -= (iNeeded - w + 1) / 2;
      w = iNeeded;
    }
    if (x < 0) x = 0;
    h = pcfe_ScaleY(56);
  }
  // Over everything else on the screen: the box on the layer above every
  // screen's, its texts (each over its shadow) on the one above that.
  draw2d_FillColourSet(0, 0, 0, 255);
  draw2d_RectFill(x, pcfe_ScaleY(106), w, h, PCFE_ERROR_BOX_LAYER);
  draw2d_TextColourSet(200, 200, 200, 255);
  draw2d_TextShadowCentred(festr_IDToStr(IDS_FE_ERROR), pcfe_ScaleX(256), pcfe_ScaleY(120), PCFE_ERROR_BOX_LAYER - 1);
  if (bDetail) draw2d_TextShadowCentred(pszDetail, pcfe_ScaleX(256), pcfe_ScaleY(138), PCFE_ERROR_BOX_LAYER - 1);
}

void pcfe_ConfirmPanelRect(int32_t eQuestion, int32_t* px, int32_t* py, int32_t* pw, int32_t* ph) {
  // A question wider than the panel widens it about its centre.
  const int32_t iFont = pctext_iCurrentFont;
  pctext_FontSet(2);
  const int32_t iNeeded = pctext_WidthGet(festr_IDToStr(eQuestion)) + 16;
  pctext_iCurrentFont = iFont;
  *px = pcfe_ScaleX(156);
  *pw = pcfe_ScaleX(200);
  *py = pcfe_ScaleY(80);
  *ph = pcfe_ScaleY(40);
  if (iNeeded > *pw) {
    *px -= (iNeeded - *pw + 1) / 2;
    *pw = iNeeded;
  }
}

void pcfe_ConfirmPanelDraw(int32_t eQuestion, int32_t bYes) {
  // A framed panel (512 x 240 units) under the question and the two answers,
  // the chosen one yellow: opaque inside, so that the button words under it
  // do not show through the text, with a translucent shadow round it.
  int32_t x = 0, y = 0, w = 0, h = 0;
  pcfe_ConfirmPanelRect(eQuestion, &x, &y, &w, &h);
  pctext_FontSet(2);
  const char* pszQuestion = festr_IDToStr(eQuestion);
  // Over every label of the screen that opened it, on layers of its own in
  // front of every screen's: the shadow, the panel, its frame, its texts.
  draw2d_FillColourSet(0, 0, 0, 128);
  draw2d_RectFill(x - 4, y - 4, w + 8, h + 8, PCFE_PANEL_LAYER);
  draw2d_FillColourSet(16, 24, 56, 255);
  draw2d_RectFill(x, y, w, h, PCFE_PANEL_LAYER - 1);
  pcframe_AddBox(x, y, x + w, y + h, PCFE_PANEL_LAYER - 2, 150, 168, 200, 255, 0);
  draw2d_TextColourSet(200, 200, 200, 255);
  draw2d_TextShadowCentred(pszQuestion, 320, 164, PCFE_PANEL_LAYER - 3);
  if (bYes) draw2d_TextColourSet(200, 200, 0, 255);
  draw2d_TextShadowCentred(festr_IDToStr(IDS_FE_YES), 270, 220, PCFE_PANEL_LAYER - 3);
  draw2d_TextColourSet(200, 200, bYes ? 200 : 0, 255);
  draw2d_TextShadowCentred(festr_IDToStr(IDS_FE_NO), 370, 220, PCFE_PANEL_LAYER - 3);
  pctext_FontSet(0);
}

namespace {

// A capital letter, accented capitals of Windows-1252 included.
bool IsCapital(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }

// The text with its first cInitials capitalised words (a word ends at a
// space or a hyphen) cut to their initials and a full stop: "Costa Rica"
// with one, "C. Rica"; "Etats-Unis", "E.-Unis". The last word stays whole;
// false when the text has no such word to cut.
bool InitialsMake(const char* psz, int32_t cInitials, char* pszOut, size_t cb) {
  const size_t n = std::strlen(psz);
  size_t iLast = n;
  while (iLast > 0 && psz[iLast - 1] != ' ' && psz[iLast - 1] != '-') iLast--;
  std::string o;
  int32_t c = 0;
  for (size_t i = 0; i < n;) {
    size_t j = i;
    while (j < n && psz[j] != ' ' && psz[j] != '-') j++;
    if (i < iLast && j - i > 1 && IsCapital(static_cast<unsigned char>(psz[i])) && c < cInitials) {
      o.push_back(psz[i]);
      o.push_back('.');
      c++;
    } else {
      o.append(psz + i, j - i);
    }
    if (j < n) o.push_back(psz[j]);
    i = j + 1;
  }
  if (c < cInitials || o.size() + 1 > cb) return false;
  std::memcpy(pszOut, o.c_str(), o.size() + 1);
  return true;
}

}  // namespace

namespace {

// Whether the room holds the text: it fits, or only its last letter is too
// much (cut, it would save less than a letter).
bool Holds(const char* psz, int32_t iRoom) {
  if (pctext_WidthGet(psz) <= iRoom) return true;
  const size_t cText = std::strlen(psz);
  char sz[128];
  if (cText < 2 || cText + 1 > sizeof sz) return false;
  std::memcpy(sz, psz, cText - 1);
  std::memcpy(sz + cText - 1, ".", 2);
  return pctext_WidthGet(sz) <= iRoom;
}

// The longest head of the text that fits the room with a full stop after
// it, into pszOut (cb bytes, 3 at least); a head cut after a word ends at
// that word ("United States.", not "United States ."), a head ending in a
// full stop has no second ("Papua N.", not "Papua N..").
void HeadCut(const char* psz, int32_t iRoom, char* pszOut, size_t cb) {
  const size_t cMax = cb - 2;
  for (size_t n = std::strlen(psz); n > 0; n--) {
    size_t cHead = n - 1 < cMax ? n - 1 : cMax;
    while (cHead > 0 && psz[cHead - 1] == ' ') cHead--;
    std::memcpy(pszOut, psz, cHead);
    pszOut[cHead] = '.';
    pszOut[cHead > 0 && psz[cHead - 1] == '.' ? cHead : cHead + 1] = '\0';
    if (pctext_WidthGet(pszOut) <= iRoom) return;
  }
}

}  // namespace

const char* pcfe_TeamNameFit(const TLANames& oNames, int32_t iRoom, char* pszCut, size_t cb) {
  const char* pszWhole = oNames.pszWhole ? oNames.pszWhole : "";
  if (Holds(pszWhole, iRoom)) return pszWhole;
  const char* pszDisplay = oNames.pszDisplay;
  if (pszDisplay && pszDisplay[0] != '\0' && pctext_WidthGet(pszDisplay) <= iRoom) return pszDisplay;
  const char* pszShort = oNames.pszShort && oNames.pszShort[0] != '\0' ? oNames.pszShort : pszWhole;
  if (pctext_WidthGet(pszShort) <= iRoom || cb < 3) return pszShort;
  HeadCut(pszShort, iRoom, pszCut, cb);
  return pszCut;
}

PCFEFitted::PCFEFitted(const char* psz, int32_t iMaxWidth)
    : m_sz{}, m_psz(psz ? psz : ""), m_iFontBefore(pctext_iCurrentFont) {
  if (pctext_WidthGet(m_psz) <= iMaxWidth) return;
  if (m_iFontBefore != 0) pctext_FontSet(0);
  if (Holds(m_psz, iMaxWidth)) return;
  // Its leading words cut to their initials, one more at a time.
  for (int32_t c = 1; InitialsMake(m_psz, c, m_sz, sizeof m_sz); c++)
    if (pctext_WidthGet(m_sz) <= iMaxWidth) {
      m_psz = m_sz;
      return;
    }
  HeadCut(m_psz, iMaxWidth, m_sz, sizeof m_sz);
  m_psz = m_sz;
}

PCFEFitted::PCFEFitted(const TLANames& oTeam, int32_t iMaxWidth)
    : m_sz{}, m_psz(oTeam.pszWhole ? oTeam.pszWhole : ""), m_iFontBefore(pctext_iCurrentFont) {
  if (pctext_WidthGet(m_psz) <= iMaxWidth) return;
  if (m_iFontBefore != 0) pctext_FontSet(0);
  m_psz = pcfe_TeamNameFit(oTeam, iMaxWidth, m_sz, sizeof m_sz);
}

PCFEFitted::~PCFEFitted() { pctext_iCurrentFont = m_iFontBefore; }

void pcfe_OtherUsersInputFlush(const User* poMenu) {
  for (User& u : user_aUsers)
    if (u.bActive == 1 && &u != poMenu && u.pip) input_EventQueueFlush(&u.pip->oEvents);
}

bool pcfe_bEventCodeNext(User* poUser, int32_t* peCode) {
  ListNode* poNode = queue_RemoveHead(&poUser->pip->oEvents);
  if (!poNode) return false;
  InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
  *peCode = poEvent->eEvent;
  input_EventFree(&poEvent);
  return true;
}

int32_t pcfe_MenuScreenStep(int32_t* pbNeedsEnter, void (*pfnEnter)(), void (*pfnDraw)(),
                            int32_t (*pfnInput)(User*)) {
  if (*pbNeedsEnter) {
    pfnEnter();
    *pbNeedsEnter = 0;
  }
  pfnDraw();
  mhelp_ScreenHook();
  User* poMenu = global_poGetMenuUser();
  pcfe_OtherUsersInputFlush(poMenu);
  return pfnInput(poMenu);
}

namespace {
bool s_bEscapeWasDown = false;  // Escape was down at the end of the last front-end tick

bool EscapeDown() {
  const uint8_t* pabKeys = QKeyboardGetState();
  return pabKeys != nullptr && (pabKeys[1] & 0x80) != 0;
}
}  // namespace

// A key the kept error box took is not the screen's.
bool pcfe_bEscapeHeld() { return !pctext_bErrorBoxKeysTakenGet() && !s_bEscapeWasDown && EscapeDown(); }

bool pcfe_bEscapeLastKey() {
  return !pctext_bErrorBoxKeysTakenGet() && !s_bEscapeWasDown && (QKeyboardGetLastKey() & 0xFF) == 1;
}

void pcfe_EscapeTrack() { s_bEscapeWasDown = EscapeDown(); }
