#pragma once
// The players' texture slots: 145 textures of fixed places on seven
// 256 x 256 texture pages (kits, heads, skin, boots, shirt numbers), named
// from the match's kit lines and the players' appearance words, and the
// texture list that dresses each person's body parts.
#include <cstdint>

struct KitEntry;

enum {
  KITS_SLOTS = 145,
  KITS_BOOTS_SLOT = 122,
  KITS_FIRST_NUMBER_SLOT = 123,
  KITS_NO_SLOT = 255,
};

struct PlayerTextureSlot {
  float fX, fY, fWidth, fHeight;
  uint8_t uPage;  // 0..10; 7 to 10 are the images of pages 0 to 3 again
  uint16_t uKey;  // 0xFFFF free
  char szName[256];
};
extern PlayerTextureSlot kits_aTextureSlots[KITS_SLOTS];

// Every slot at its place, free and unnamed.
void kits_SlotsReset();
// A keyed slot of first..end-1: the one holding the key, else a free one
// claimed for it; a full range gives its first slot.
int32_t kits_iSlotClaim(int32_t iFirst, int32_t iEnd, uint16_t uKey);
// "folder\part.tga", with a leading zero for a one-character part.
void kits_TemplatePartNameMake(char* pszOut, const char* pszFolder, const char* pszPart);
// The black-and-white shade folders: WHITE_GREY and WHITE_DARK are LIGHT,
// GREY and GREY_DARK are MID.
void kits_ShadeNameMap(char* pszName);
// Names a side's kit slots (base 0 home, 16 away) and its goalkeeper's
// (base + 8) from its kit line in a colour mode; nothing when the line is
// absent or has too few fields.
void kits_KitNamesSet(int32_t iBase, const KitEntry* poEntry, int32_t iColourMode);
// The referee's kit (the manager's top in training), boots, shirt numbers.
void kits_RefereeKitNamesSet(int32_t bTraining);
void kits_NumberNamesSet();

// A player with a head of his own: its folder under head\uniques, the whole
// name he is known by (null: known by iLowByte, his appearance word's low
// byte), the key of his head slots and his skin set's first slot.
struct KitsUniqueHead {
  const char* pszFolder;
  const char* pszName;
  int32_t iLowByte;
  uint16_t uKey;
  int32_t iSkinSet;
};
const KitsUniqueHead* kits_poUniqueHeadFind(const char* pszName, uint16_t uAppearance);

// A person's texture list: a slot for each of the 19 body parts (255 none).
// iBase 0, 8, 16, 24 (players) or 32 (referee); iNumber his shirt number
// (1..22, else none); bSecondNumber the second number of 1994 and 1998;
// pszName his whole name (a head of his own).
void kits_PlayerTexturesSet(uint8_t auSlots[19], uint16_t uAppearance, int32_t iBase, int32_t bLongSleeves,
                            int32_t iNumber, int32_t bSecondNumber, const char* pszName = nullptr);
// Hands the slots' names and places to the loading step that composes the
// pages.
void kits_PiecesPublish();
