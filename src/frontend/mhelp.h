#pragma once
// The history mode's rules pages: each edition's finals format, its
// qualifying rules (the general list and the human team's confederation) and
// the rule-change notes, laid out with word wrap and shown on the rules
// screen (mode 88), in the help panel over other history screens and on the
// news screen. Also the help panel's flags.
#include <cstdint>

#include "shell/texts_data.h"

struct User;

enum : int32_t {
  MHELP_PAGE_END = 1007,     // ends a page
  MHELP_PAGE_STRING = 1006,  // takes the caller's next string
  MHELP_LAYOUT_MAX = 4096,   // bytes of the laid-out text, its zero included
  MHELP_LINE_MAX = 79,       // characters drawn of a line
  MHELP_SCREEN_LINES = 11,
  MHELP_PANEL_LINES = 8,
  MHELP_STYLE_PANEL = 0,
  MHELP_STYLE_SCREEN = 1,
  MHELP_RULES_MODE = 88,
  MHELP_RULES_SHEET = 12,    // "fhnews"
  MHELP_RULES_BINDING = 46,
};

// A page entry (MHelpEntry, with the generated pages): a front-end text id
// and, when 0 or more, the line breaks after it; negative spacing runs on
// into the next entry.

// Text widths by character; the game's is pctext_CharWidthGet.
using MHelpWidthFn = int32_t (*)(uint8_t c);

// Lays out the pages one after another (each ended by 1007) into pszOut of
// cOut bytes, wrapping to iWidth; a 1006 entry takes the next of the cStrings
// strings, or prints nothing when they are used up. The text never runs past
// the buffer: a page that would overflow ends at a line end. Returns the
// line count.
int32_t mhelp_Layout(const MHelpEntry* const* papoPages, int32_t cPages, const char* const* papszStrings,
                     int32_t cStrings, int32_t iWidth, MHelpWidthFn pfnWidth, char* pszOut, int32_t cOut);
// The page of an edition (0..10), null when it has none: kind 0 finals, 1 the
// general qualifying list, 3 note A, 4 note B; for kind 2, the qualifying page
// of a confederation code.
const MHelpEntry* mhelp_poPageGet(int32_t iKind, int32_t iEdition, int32_t iCode);

// The laid-out text and the scroll state.
extern char mhelp_szLayout[MHELP_LAYOUT_MAX];
extern int32_t mhelp_iLineCount;
extern int32_t mhelp_iTargetLine;
extern int32_t mhelp_iShownLine;
extern int32_t mhelp_bMoved;

void mhelp_Init();
void mhelp_Run();
void mhelp_Enter();
void mhelp_Draw();
int32_t mhelp_PageInput(User* poUser);
void mhelp_Input(User* poUser);

void mhelp_HelpShownToggle();
void mhelp_HelpShownClear();
int32_t mhelp_bHelpShownGet();
void mhelp_RulesShownToggle();
int32_t mhelp_bRulesShownGet();

void mhelp_RulesPanelDraw();
void mhelp_FinalsPageDraw(int32_t iStyle);
void mhelp_QualPageDraw(int32_t iStyle);
void mhelp_RuleChangeADraw(const char* const* papszStrings, int32_t cStrings);
void mhelp_RuleChangeBDraw(const char* const* papszStrings, int32_t cStrings);
int32_t mhelp_bHasRuleChangeA();
int32_t mhelp_bHasRuleChangeB();
// A caller's page with its strings in screen style (the news screen's
// injury and suspension pages).
void mhelp_ScreenLayoutDrawArgs(const MHelpEntry* poPage, const char* const* papszStrings, int32_t cStrings);

void mhelp_ScrollReset();
void mhelp_ScrollDown();
void mhelp_ScrollUp();
int32_t mhelp_bCanScrollUp();
int32_t mhelp_bCanScrollDown();
void mhelp_ScreenHook();
