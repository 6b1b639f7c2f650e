// The rules pages, the rules screen and the help panel.
#include "frontend/mhelp.h"

#include <cstring>

#include "audio/audio_services.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mhelp_layout.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

char mhelp_szLayout[MHELP_LAYOUT_MAX];
int32_t mhelp_iLineCount = 0;
int32_t mhelp_iTargetLine = 0;
int32_t mhelp_iShownLine = 0;
int32_t mhelp_bMoved = 0;

namespace {

int32_t s_bNeedsEnter = 1;
int32_t s_bHelpShown = 0;
int32_t s_bRulesShown = 0;

constexpr int32_t kModeOptions = 52;
constexpr int32_t kTitleText = 853;  // "Rules"
constexpr int32_t kExitText = 7;
constexpr int32_t kWordMax = 256;

// Writes the laid-out text; past the buffer it goes back to the last line end.
struct Writer {
  char* psz;
  int32_t cMax;
  int32_t n = 0;
  int32_t iLineEnd = 0;
  bool bFull = false;
  void Put(char c) {
    if (bFull) return;
    if (n >= cMax - 1) {
      bFull = true;
      n = iLineEnd;
      return;
    }
    psz[n++] = c;
    if (c == '\n') iLineEnd = n;
  }
};

struct Wrapper {
  Writer o;
  int32_t iWidth;
  MHelpWidthFn pfnWidth;
  int32_t iLineWidth = 0;
  bool bLineHasText = false;
  char acWord[kWordMax] = {};
  int32_t cWord = 0;
  int32_t iWordWidth = 0;

  void WordFlush() {
    for (int32_t i = 0; i < cWord; ++i) o.Put(acWord[i]);
    if (cWord > 0) bLineHasText = true;
    cWord = 0;
    iWordWidth = 0;
  }
  void LineBreak() {
    o.Put('\n');
    iLineWidth = 0;
    bLineHasText = false;
  }
  void Char(char c) {
    if (c == '\n') {
      WordFlush();
      LineBreak();
      return;
    }
    const int32_t w = pfnWidth(static_cast<uint8_t>(c));
    iLineWidth += w;
    iWordWidth += w;
    if (cWord == kWordMax) WordFlush();
    acWord[cWord++] = c;
    // Over the width: the current word starts the next line, unless it is
    // alone on its line (a word wider than the width keeps a line of its own).
    if (iLineWidth > iWidth && bLineHasText) {
      o.Put('\n');
      bLineHasText = false;
      iLineWidth = iWordWidth;
    }
    if (c == ' ') WordFlush();
  }
};

const char* EntryText(int32_t iText, const char* const* papszStrings, int32_t cStrings, int32_t* piString) {
  if (iText == MHELP_PAGE_STRING) {
    // A page asking for more strings than the caller passed prints nothing.
    if (papszStrings == nullptr || *piString >= cStrings) return "";
    const char* psz = papszStrings[(*piString)++];
    return psz != nullptr ? psz : "";
  }
  if (iText < 0 || iText >= IDS_FE_MAX) return "";
  return festr_IDToStr(iText);
}

int32_t EditionGet() {
  const int32_t e = tmglobal_EditionGet();
  return e >= 0 && e < RULES_EDITIONS ? e : -1;
}

std::uint32_t HumanTeamGet() {
  const int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

// Layout in a style's font and width, into the module's buffer.
void PagesLayout(const MHelpEntry* const* papoPages, int32_t cPages, const char* const* papszStrings,
                 int32_t cStrings, int32_t iStyle) {
  pctext_FontSet(1);
  const int32_t iWidth = pcfe_ScaleX(static_cast<int16_t>(iStyle == MHELP_STYLE_PANEL ? 400 : 378));
  mhelp_iLineCount = mhelp_Layout(papoPages, cPages, papszStrings, cStrings, iWidth, pctext_CharWidthGet,
                                  mhelp_szLayout, MHELP_LAYOUT_MAX);
}

void ShownLineStep() {
  if (mhelp_iShownLine < mhelp_iTargetLine) mhelp_iShownLine++;
  else if (mhelp_iShownLine > mhelp_iTargetLine) mhelp_iShownLine--;
}

// Draws the laid-out lines in a style, then moves the shown line a step.
void LinesDraw(int32_t iStyle) {
  pctext_FontSet(1);
  int32_t x, y0, iStep, iLayer, cMax;
  if (iStyle == MHELP_STYLE_PANEL) {
    draw2d_TextColourSet(186, 186, 118, 255);
    const int32_t iFullHeight = pcfe_ScaleY(240);
    const int32_t iFontHeight = iFullHeight > 0 ? pctext_HeightGet() * 240 / iFullHeight : 0;
    x = 56, y0 = 30, iStep = iFontHeight + 4, iLayer = -1, cMax = 1 << 30;
  } else {
    draw2d_TextColourSet(255, 255, 255, 255);
    x = 60, y0 = 67, iStep = 10, iLayer = 1, cMax = MHELP_SCREEN_LINES;
  }
  const char* p = mhelp_szLayout;
  int32_t cDrawn = 0;
  for (int32_t iLine = 0; *p != '\0' && cDrawn < cMax; ++iLine) {
    const char* pEnd = std::strchr(p, '\n');
    const int32_t cLen = pEnd != nullptr ? static_cast<int32_t>(pEnd - p) : static_cast<int32_t>(std::strlen(p));
    const int32_t y = y0 + iStep * (iLine - mhelp_iShownLine);
    if (y >= y0 && y < 190) {
      if (iStyle == MHELP_STYLE_SCREEN) cDrawn++;
      if (cLen > 0) {
        char sz[MHELP_LINE_MAX + 1];
        const int32_t c = cLen < MHELP_LINE_MAX ? cLen : MHELP_LINE_MAX;
        std::memcpy(sz, p, static_cast<size_t>(c));
        sz[c] = '\0';
        pctext_PrintLeft(sz, pcfe_ScaleX(static_cast<int16_t>(x)), pcfe_ScaleY(static_cast<int16_t>(y)), iLayer);
      }
    }
    if (pEnd == nullptr) break;
    p = pEnd + 1;
  }
  ShownLineStep();
  pctext_FontSet(0);
}

// The page in force: the finals page during the finals, else the general
// qualifying list followed by the human team's confederation's page.
void CurrentPageDraw(int32_t iStyle) {
  if (tmglobal_FinalsGet()) mhelp_FinalsPageDraw(iStyle);
  else mhelp_QualPageDraw(iStyle);
}

void HelpClose() {
  s_bHelpShown = 0;
  s_bRulesShown = 0;
}

}  // namespace

int32_t mhelp_Layout(const MHelpEntry* const* papoPages, int32_t cPages, const char* const* papszStrings,
                     int32_t cStrings, int32_t iWidth, MHelpWidthFn pfnWidth, char* pszOut, int32_t cOut) {
  if (pszOut == nullptr || cOut <= 0) return 0;
  Wrapper w{Writer{pszOut, cOut}, iWidth, pfnWidth, 0, false, {}, 0, 0};
  int32_t iString = 0;
  for (int32_t iPage = 0; iPage < cPages && !w.o.bFull; ++iPage) {
    for (const MHelpEntry* e = papoPages[iPage]; e != nullptr && e->iText != MHELP_PAGE_END && !w.o.bFull; ++e) {
      for (const char* p = EntryText(e->iText, papszStrings, cStrings, &iString); *p != '\0'; ++p) w.Char(*p);
      if (e->iSpacing < 0) continue;
      w.WordFlush();
      for (int32_t i = 0; i < e->iSpacing; ++i) w.LineBreak();
    }
  }
  w.WordFlush();
  pszOut[w.o.n] = '\0';
  int32_t cLines = 0;
  for (int32_t i = 0; i < w.o.n; ++i) cLines += pszOut[i] == '\n';
  if (w.o.n > 0 && pszOut[w.o.n - 1] != '\n') cLines++;
  return cLines;
}

const MHelpEntry* mhelp_poPageGet(int32_t iKind, int32_t iEdition, int32_t iCode) {
  if (iEdition < 0 || iEdition >= RULES_EDITIONS) return nullptr;
  int32_t iStart = -1;
  switch (iKind) {
    case 0: iStart = rules_aiFinals[iEdition]; break;
    case 1: iStart = rules_aiQual[iEdition]; break;
    case 2:
      for (const RulesConfPage* p = rules_aaoConf[iEdition]; p->iCode != 0; ++p)
        if (p->iCode == iCode) iStart = p->iStart;
      break;
    case 3: iStart = rules_aiNoteA[iEdition]; break;
    case 4: iStart = rules_aiNoteB[iEdition]; break;
    default: break;
  }
  return iStart >= 0 && iStart < RULES_ENTRY_COUNT ? &rules_aoEntries[iStart] : nullptr;
}

void mhelp_Init() {}

// ---- Pages -------------------------------------------------------------------------

void mhelp_FinalsPageDraw(int32_t iStyle) {
  const MHelpEntry* apo[1] = {mhelp_poPageGet(0, EditionGet(), 0)};
  PagesLayout(apo, 1, nullptr, 0, iStyle);
  LinesDraw(iStyle);
}

void mhelp_QualPageDraw(int32_t iStyle) {
  const int32_t e = EditionGet();
  const MHelpEntry* apo[2] = {mhelp_poPageGet(1, e, 0), mhelp_poPageGet(2, e, mfhmain_ConfCodeGet(HumanTeamGet()))};
  PagesLayout(apo, 2, nullptr, 0, iStyle);
  LinesDraw(iStyle);
}

int32_t mhelp_bHasRuleChangeA() { return mhelp_poPageGet(3, EditionGet(), 0) != nullptr; }
int32_t mhelp_bHasRuleChangeB() { return mhelp_poPageGet(4, EditionGet(), 0) != nullptr; }

void mhelp_RuleChangeADraw(const char* const* papszStrings, int32_t cStrings) {
  mhelp_ScreenLayoutDrawArgs(mhelp_poPageGet(3, EditionGet(), 0), papszStrings, cStrings);
}

void mhelp_RuleChangeBDraw(const char* const* papszStrings, int32_t cStrings) {
  mhelp_ScreenLayoutDrawArgs(mhelp_poPageGet(4, EditionGet(), 0), papszStrings, cStrings);
}

void mhelp_ScreenLayoutDrawArgs(const MHelpEntry* poPage, const char* const* papszStrings, int32_t cStrings) {
  const MHelpEntry* apo[1] = {poPage};
  PagesLayout(apo, 1, papszStrings, cStrings, MHELP_STYLE_SCREEN);
  LinesDraw(MHELP_STYLE_SCREEN);
}

// ---- Scrolling ---------------------------------------------------------------------

void mhelp_ScrollReset() {
  mhelp_iTargetLine = 0;
  mhelp_iShownLine = 0;
  mhelp_bMoved = 0;
}

int32_t mhelp_bCanScrollUp() { return mhelp_iTargetLine > 0; }
int32_t mhelp_bCanScrollDown() { return mhelp_iTargetLine < mhelp_iLineCount - MHELP_SCREEN_LINES; }

void mhelp_ScrollDown() {
  if (!mhelp_bCanScrollDown()) return;
  mhelp_iTargetLine++;
  sfx_Play(0);
}

void mhelp_ScrollUp() {
  if (!mhelp_bCanScrollUp()) return;
  mhelp_iTargetLine--;
  sfx_Play(0);
}

// ---- The rules screen (mode 88) -------------------------------------------------

void mhelp_Enter() {
  pcfmv_Stop();
  mregion_Reset();
  mregion_LayoutAdd(mhelp_aoLayout, MHELP_RECORDS, MHELP_RULES_SHEET);
  pcfe_ScreenSet(MHELP_RULES_SHEET);
  // Binding 46 stays active: no earlier binding state is put back over it.
  for (User& usr : user_aUsers) {
    if (!usr.bActive || usr.pip == nullptr) continue;
    input_EventQueueFlush(&usr.pip->oEvents);
    input_PortBindingSet(MHELP_RULES_BINDING, usr.pip);
  }
  mhelp_ScrollReset();
}

void mhelp_Draw() {
  CurrentPageDraw(MHELP_STYLE_SCREEN);
  if (mhelp_bCanScrollUp()) mregion_DrawByName("yarrowu");
  if (mhelp_bCanScrollDown()) mregion_DrawByName("yarrowd");
  pctext_FontSet(1);
  draw2d_TextColourSet(255, 255, 255, 255);
  pctext_PrintLeft(festr_IDToStr(kTitleText), pcfe_ScaleX(135), pcfe_ScaleY(42), 1);
  draw2d_TextColourSet(200, 200, 0, 255);
  pctext_PrintCentred(festr_IDToStr(kExitText), pcfe_ScaleX(428), pcfe_ScaleY(191), 1);
  pctext_FontSet(0);
  mregion_DrawAll();
}

int32_t mhelp_PageInput(User* poUser) {
  int32_t eNext = MHELP_RULES_MODE;
  if (poUser == nullptr || poUser->pip == nullptr) return eNext;
  if (poUser != global_poGetMenuUser()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    return eNext;
  }
  const uint8_t* pabKeys = QKeyboardGetState();
  if (pabKeys != nullptr && (pabKeys[1] & 0x80) != 0 && !pctext_bErrorBoxKeysTakenGet()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    sfx_Play(2);
    return kModeOptions;
  }
  while (ListNode* poNode = queue_RemoveHead(&poUser->pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    switch (poEvent->eEvent) {
      case 8: mhelp_ScrollUp(); break;
      case 9: mhelp_ScrollDown(); break;
      case 37:
        sfx_Play(1);
        eNext = kModeOptions;
        break;
      default: break;
    }
    input_EventFree(&poEvent);
  }
  return eNext;
}

void mhelp_Run() {
  if (s_bNeedsEnter) {
    mhelp_Enter();
    s_bNeedsEnter = 0;
  }
  mhelp_Draw();
  int32_t eNext = MHELP_RULES_MODE;
  for (User& usr : user_aUsers) {
    if (!usr.bActive) continue;
    const int32_t e = mhelp_PageInput(&usr);
    if (e != MHELP_RULES_MODE) eNext = e;
  }
  if (eNext == MHELP_RULES_MODE) return;
  s_bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}

// ---- The help panel over other history screens ---------------------------------

// Opens the help panel together with the rules panel while an edition is
// loaded (there is no other help text); closes both when open.
void mhelp_HelpShownToggle() {
  if (s_bHelpShown) {
    HelpClose();
    return;
  }
  if (TheYearList == nullptr) return;
  s_bHelpShown = 1;
  s_bRulesShown = 1;
  mhelp_ScrollReset();
}

void mhelp_HelpShownClear() { HelpClose(); }
int32_t mhelp_bHelpShownGet() { return s_bHelpShown; }
void mhelp_RulesShownToggle() { s_bRulesShown = !s_bRulesShown; }
int32_t mhelp_bRulesShownGet() { return s_bRulesShown; }

void mhelp_Input(User* poUser) {
  if (poUser == nullptr || poUser->pip == nullptr) return;
  while (ListNode* poNode = queue_RemoveHead(&poUser->pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    switch (poEvent->eEvent) {
      case 8:
        if (mhelp_iTargetLine > 0) {
          mhelp_iTargetLine--;
          mhelp_bMoved = 1;
          sfx_Play(0);
        }
        break;
      case 9:
        if (mhelp_iTargetLine < mhelp_iLineCount - MHELP_PANEL_LINES) {
          mhelp_iTargetLine++;
          mhelp_bMoved = 1;
          sfx_Play(0);
        }
        break;
      case 37:
      case 169:
      case 114:
        // Either panel's key closes both: the help panel has no text of its own.
        if (s_bRulesShown || s_bHelpShown) {
          sfx_Play(1);
          HelpClose();
        }
        break;
      default: break;
    }
    input_EventFree(&poEvent);
  }
}

void mhelp_RulesPanelDraw() {
  if (!s_bRulesShown) return;
  CurrentPageDraw(MHELP_STYLE_PANEL);
}

// Every screen calls this after drawing: the rules panel on a dark
// translucent panel while the help is open.
void mhelp_ScreenHook() {
  if (!s_bHelpShown || !s_bRulesShown) return;
  const int32_t x = pcfe_ScaleX(48), y = pcfe_ScaleY(24);
  draw2d_FillColourSet(0, 0, 0, 192);
  draw2d_RectFill(x, y, pcfe_ScaleX(464) - x, pcfe_ScaleY(194) - y, 0);
  mhelp_RulesPanelDraw();
}
