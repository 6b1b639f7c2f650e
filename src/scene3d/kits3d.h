#pragma once
// What every person of the match wears and looks like: the two sides' kits
// (home, away, and each side's goalkeeper), the referee's, skin and hair by
// the player's appearance word, the body model code, and the player objects
// the frame drawing poses each frame.
#include <cstdint>

#include "scene3d/player3d.h"

struct Player;
struct DBPlayer;
struct FramePacket;

// The kit of one side: shirt, shorts and socks colours, long sleeves, and
// the shorts code (0 long, 1 medium, 2 tight).
struct KitColours {
  Q3DColour oShirt, oShorts, oSocks;
  uint8_t bLongSleeves;
  uint8_t uShortsCode;
  Q3DColour oSecond;  // the shirt's second colour (the first when plain)
  uint8_t uPattern;   // 1 plain, 2 stripes, 3 hoops, 4 halves, 5 sleeves
};

// The match's kits, filled by kits_Choose: 0 home, 1 home goalkeeper, 2 away,
// 3 away goalkeeper, 4 referee; already in the match's colour mode.
extern KitColours kits_aoKits[5];

// The colour mode of two editions (year indexes, 0 = 1958): a
// black-and-white home kit against a colour kit plays in its colour
// edition; otherwise sepia for a 1958 home kit, black and white for 1962.
uint8_t kits_ColourModeFor(int32_t iHomeYear, int32_t iAwayYear);
// A kit colour in the match's colour mode.
Q3DColour kits_ColourConvert(Q3DColour c);
// Chooses the five kits for two teams (abbreviations, year indexes) from the
// kit table (read on first use): the kit lines of the two sides
// (kits_ColourEquivalentsFind, whose colour mode it keeps in
// kits_iChosenColourMode; the kits are converted in the current mode), each side's
// keeper kit unless it clashes with a shirt of the match, the referee black.
// In training (bTraining) only the home side is dressed, in its own
// edition's kit and colouring, and the referee's place is the manager's, in
// long sleeves.
void kits_Choose(const char* pszHome, int32_t iHomeYear, const char* pszAway, int32_t iAwayYear,
                 int32_t bTraining = 0);
// The kit line chosen for each side ("BRA1970H") and the kit colour table
// index its numbers are tinted with.
extern char kits_aszKitName[2][12];
extern int32_t kits_aiNumberColour[2];
// Whether each side's shirts carry a second number (the 1994 and 1998 kits).
extern int32_t kits_abSecondNumber[2];
extern int32_t kits_iChosenColourMode;
// The colours of a kit line (its keeper's with bKeeper) for an edition.
KitColours kits_TeamKit(const char* pszKitName, int32_t iYear, int32_t bKeeper);
// How far apart two colours look (0..441).
float kits_fColourDistance(Q3DColour a, Q3DColour b);

// Appearance word: colour bits 3-5, hair style bits 6-8, build bits 11-12.
// The body model code ("SS" or "LS", hair "SH"/"AH"/"LH", shorts code).
void kits_ModelCode(char szOut[7], uint16_t uAppearance, int32_t bLongSleeves, int32_t iShortsCode);
// The vertical build scale of an appearance word: 0.96, 1.0 or 1.08.
float kits_fBuildScale(uint16_t uAppearance);
// A person's colours by body part from a kit and an appearance word.
void kits_PlayerKitMake(PlayerKit* poOut, const KitColours& oKit, uint16_t uAppearance);

// The objects of the people of the match (loading step 7) and their end.
void kits_PlayerObjectsCreate();
void kits_PlayerObjectsFree();
// The object drawing a player (made on first use: a substitute's body
// loads in the frame he first appears in); null for the referee's record.
Player3D* kits_poObjectFor(const Player* poPlayer, const DBPlayer* poDBPlayer, int32_t bAway);
extern Player3D* kits_poReferee;

// Each frame: places every person of the packet, hands the goalkeepers'
// joints over when asked, and (software) puts the visible ones in the sort
// list. Returns the number placed in view.
int32_t players3d_FrameUpdate(const FramePacket* poPacket);
// The z-buffered device's player pass over the people placed in view.
void players3d_DrawHardware();
// The shadows of the people placed in view, one for each light (the
// direction from the light to the person), and the ball's for the first
// light; drawn with the scene's shadow material.
void players3d_ShadowsDraw(const QMathVec3* poBallCentre);
