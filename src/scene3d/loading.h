#pragma once
// The match loading sequence: thirteen steps run one a frame behind the
// loading screen and its progress clock (loading_bRunStep is declared with
// the scene's services).
#include <cstdint>
#include <string>
#include <vector>

#include "render3d/q3d.h"

enum {
  LOADING_STEPS = 13,
  LOADING_PAGES = 7,
  LOADING_PAGE_SIZE = 256,
  LOADING_PIECES = 145,
  LOADING_PAGE_MATERIALS = 11,
  LOADING_SWEEP = 34,
  // From this piece on (counting from 0) pieces go through the era colour
  // conversion: the first 40 are the kit's own colours, already converted.
  LOADING_FIRST_CONVERTED_PIECE = 40,
};

// One piece of the player texture pages: where it goes, and the image the
// kit set-up names for it (empty: the piece stays grey).
struct LoadingPiece {
  float fX, fY, fWidth, fHeight;
  int32_t iPage;
  char szImage[256];
};
extern LoadingPiece loading_aoPieces[LOADING_PIECES];

// The step to run next (0..12), the last progress drawn, and the page
// textures and materials of the players.
extern int32_t loading_iStep;
extern float loading_fLastProgress;
extern Q3DImageTexture* loading_apoPageTexture[LOADING_PAGES];
extern Q3DMaterial* loading_apoPageMaterial[LOADING_PAGE_MATERIALS];

// Draws the progress clock with its sweep at a fraction 0..1.
void loading_ProgressDraw(float fFraction);
// The clock's sweep: the centre, then 33 rim points (the last repeats the first).
const Q3DScreenVertex* loading_SweepGet();
// Loads into the composed player pages every piece named since they were
// composed (a person first drawn after loading, with a head of his own) and
// hands the changed pages to the device again. Returns the pieces loaded.
int32_t loading_PiecesRefresh();
// A loading-screen text in lines of at most cChars characters, broken at
// blanks (a word longer than a line where the line ends); the screen draws
// every text in the lines that its width holds.
std::vector<std::string> loading_TextLines(const char* pszText, int32_t cChars);
// Frees what the sequence made (the scene's shut-down).
void loading_Release();
