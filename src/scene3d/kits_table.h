#pragma once
// The kit table: one text line per kit ("BRA1970H,T,..."), found by the kit
// name occurring anywhere in the line. The match's two sides pick their
// lines here: the colour edition of a black-and-white kit against a colour
// kit, the away side's change kit when the two would clash.
#include <cstdint>
#include <string>
#include <vector>

#include "scene3d/kits_colour.h"
#include "scene3d/kits_line.h"

// A kit line's fields (empty fields skipped). Template kits hold 18
// fields, unique kits 8.
struct KitEntry {
  char szName[12];
  char cKind;          // 'T' template, 'U' unique
  int32_t iNumber1;    // 0-based: equal between two sides means a clash
  int32_t iColour;     // 0-based index of the kit colour table (the numbers' tint)
  int32_t iNumber3;
  int32_t bLongSleeves;
  std::vector<std::string> asFields;  // every field, the name first
};

// Reads the kit table file; the number of kit lines taken. A line with a
// fault by the table's rules (kitline::Fault) is left out; standard error names the file, its first faulty
// lines and how many lines were left out, once for as long as the file reads
// the same (the table is read for every match). kits_pszTableProblem says
// what went wrong first ("" when nothing did).
int32_t kits_TableLoad(const char* pszPath);
int32_t kits_TableParse(const char* pText, size_t cbText);
const char* kits_pszTableProblem();
int32_t kits_TableLineCount();
// 1 when some line contains the name.
int32_t kits_bKitExists(const char* pszName);
// The last line containing the name (null when none).
const KitEntry* kits_poKitEntryFind(const char* pszName);

// The kit colour table (12 colours).
extern const kitcolour::Rgb kits_aoKitColourTable[12];

// The two sides' kit lines for a match: team abbreviations and editions
// (0 = 1958 .. 10 = 1998). Fills the names of the lines chosen ("BRA1970H",
// "ITA1970A"), the editions the kits are of, and the colour mode (0 colour,
// 1 black and white, 2 sepia). Messages (a black-and-white kit without a
// colour edition, a kit missing from the table) go to stderr.
// In training (bTraining) there is no away side: the home kit keeps its own
// edition and colouring, and the away name is left empty.
struct KitChoice {
  char aszName[2][12];
  int32_t aiEdition[2];
  int32_t iColourMode;
};
void kits_ColourEquivalentsFind(KitChoice* poOut, const char* pszHome, int32_t iHomeEdition, const char* pszAway,
                                int32_t iAwayEdition, int32_t bTraining = 0);

// A kit's colours (scene3d/kits_line.h). False when the entry is not a
// readable kit.
using KitLook = kitline::Look;
bool kits_bKitLookRead(const KitEntry* poEntry, KitLook* poOut);
