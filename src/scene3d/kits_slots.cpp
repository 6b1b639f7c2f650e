#include "scene3d/kits_slots.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "scene3d/kits_table.h"
#include "scene3d/loading.h"
#include "shell/pcinstall.h"
#include "framework/qdx_file.h"

PlayerTextureSlot kits_aTextureSlots[KITS_SLOTS];

namespace {

void Place(int32_t s, float x, float y, float w, int32_t page) {
  PlayerTextureSlot& t = kits_aTextureSlots[s];
  t.fX = x;
  t.fY = y;
  t.fWidth = t.fHeight = w;
  t.uPage = static_cast<uint8_t>(page);
}

void Name(int32_t slot, const char* fmt, const char* a, const char* b = "") {
  if (slot < 0 || slot >= KITS_SLOTS) return;
  std::snprintf(kits_aTextureSlots[slot].szName, sizeof kits_aTextureSlots[slot].szName, fmt, a, b);
}

const char* const kModeFolder[3] = {"", "b+w\\", "sepia\\"};

}  // namespace

void kits_SlotsReset() {
  for (int32_t base = 0; base <= 32; base += 8) {
    const int32_t page = base / 8;
    Place(base + 0, 0, 0, 128, page);
    Place(base + 1, 128, 0, 128, page);
    Place(base + 2, 192, 128, 64, page);
    Place(base + 3, 192, 192, 64, page);
    Place(base + 4, 96, 128, 96, page);
    Place(base + 5, 0, 128, 96, page);
    static const float kTop[5][2] = {{0, 0}, {64, 0}, {0, 64}, {64, 64}, {0, 128}};
    static const float kSocks[5][2] = {{0, 192}, {0, 192}, {64, 128}, {64, 128}, {64, 192}};
    Place(base + 6, kTop[page][0], kTop[page][1], 64, 6);
    Place(base + 7, kSocks[page][0], kSocks[page][1], 64, 6);
  }
  for (int32_t i = 0; i < 20; ++i) Place(40 + i, 96.0f + 32.0f * (i % 5), 32.0f * (i / 5), 32, 5);
  Place(60, 96, 128, 32, 5);
  Place(61, 128, 128, 32, 5);
  for (int32_t i = 0; i < 16; ++i) Place(62 + i, 128.0f + 32.0f * (i % 4), 32.0f * (i / 4), 32, 6);
  static const float kBacks[10][2] = {{0, 160}, {32, 160}, {64, 160}, {96, 160}, {0, 192},
                                      {32, 192}, {64, 192}, {0, 224},  {32, 224}, {64, 224}};
  static const float kTops[10][2] = {{128, 160}, {160, 160}, {96, 192}, {128, 192}, {160, 192},
                                     {192, 192}, {96, 224},  {128, 224}, {160, 224}, {192, 224}};
  for (int32_t i = 0; i < 10; ++i) {
    Place(78 + i, kBacks[i][0], kBacks[i][1], 32, 5);
    Place(88 + i, kTops[i][0], kTops[i][1], 32, 5);
  }
  static const float kHands[6][2] = {{128, 128}, {160, 128}, {192, 128}, {224, 128}, {128, 160}, {160, 160}};
  for (int32_t set = 0; set < 6; ++set) {
    const int32_t s = 98 + 4 * set;
    for (int32_t k = 0; k < 3; ++k) {
      if (set < 5) Place(s + k, 32.0f * k, 32.0f * set, 32, 5);
      else Place(s + k, 160.0f + 32.0f * k, 128, 32, 5);
    }
    Place(s + 3, kHands[set][0], kHands[set][1], 32, 6);
  }
  Place(KITS_BOOTS_SLOT, 224, 224, 32, 5);
  for (int32_t n = 1; n <= 22; ++n) Place(KITS_FIRST_NUMBER_SLOT + n - 1, 32.0f * ((n - 1) % 6), 224, 32, 7 + (n - 1) / 6);
  for (PlayerTextureSlot& t : kits_aTextureSlots) {
    t.uKey = 0xFFFF;
    t.szName[0] = 0;
  }
}

int32_t kits_iSlotClaim(int32_t first, int32_t end, uint16_t key) {
  if (kits_aTextureSlots[first].uKey == key) return first;
  for (int32_t s = first; s < end; ++s) {
    PlayerTextureSlot& t = kits_aTextureSlots[s];
    if (t.uKey == 0xFFFF) {
      t.uKey = key;
      t.szName[0] = 0;
      return s;
    }
    if (t.uKey == key) return s;
  }
  // A full range: its first texture rather than none.
  return first;
}

void kits_TemplatePartNameMake(char* out, const char* folder, const char* part) {
  std::snprintf(out, 256, std::strlen(part) < 2 ? "%s\\0%s.tga" : "%s\\%s.tga", folder, part);
}

void kits_ShadeNameMap(char* name) {
  if (std::strcmp(name, "WHITE_GREY") == 0 || std::strcmp(name, "WHITE_DARK") == 0) std::strcpy(name, "LIGHT");
  else if (std::strcmp(name, "GREY") == 0 || std::strcmp(name, "GREY_DARK") == 0) std::strcpy(name, "MID");
}

void kits_KitNamesSet(int32_t base, const KitEntry* e, int32_t mode) {
  if (base == 0) Name(KITS_BOOTS_SLOT, "%s", "kits\\boots.tga");
  if (e == nullptr) return;
  const auto& f = e->asFields;
  mode = mode < 0 || mode > 2 ? 0 : mode;
  const int32_t sleeveLong = e->bLongSleeves;
  std::string goalie;
  if (e->cKind == 'U') {
    if (f.size() < 8) return;
    const char* p = f[6].c_str();
    Name(base + 0, "kits\\uniques\\%sfront.tga", p);
    Name(base + 1, "kits\\uniques\\%sback.tga", p);
    Name(base + 6, "kits\\uniques\\%stop.tga", p);
    Name(base + 2, sleeveLong ? "kits\\uniques\\%slsleevbt.tga" : "kits\\uniques\\%ssleevr.tga", p);
    Name(base + 3, sleeveLong ? "kits\\uniques\\%slsleevl.tga" : "kits\\uniques\\%ssleevl.tga", p);
    Name(base + 4, "kits\\uniques\\%sshortf.tga", p);
    Name(base + 5, "kits\\uniques\\%sshortb.tga", p);
    Name(base + 7, "kits\\uniques\\%ssocks.tga", p);
    goalie = f[7];
  } else {
    if (f.size() < 18) return;
    char folder[256], shade[64];
    std::snprintf(folder, sizeof folder, "kits\\templates\\shirts\\%s%s", kModeFolder[mode], f[6].c_str());
    const int32_t parts[5] = {0, 1, 6, 2, 3};
    for (int32_t k = 0; k < 5; ++k) kits_TemplatePartNameMake(kits_aTextureSlots[base + parts[k]].szName, folder, f[7 + k].c_str());
    std::snprintf(shade, sizeof shade, "%.60s", f[12].c_str());
    if (mode != 0) kits_ShadeNameMap(shade);
    std::snprintf(folder, sizeof folder, "kits\\templates\\shorts\\%s%s", kModeFolder[mode], shade);
    kits_TemplatePartNameMake(kits_aTextureSlots[base + 4].szName, folder, f[13].c_str());
    kits_TemplatePartNameMake(kits_aTextureSlots[base + 5].szName, folder, f[14].c_str());
    std::snprintf(folder, sizeof folder, "kits\\templates\\socks\\%s%s", kModeFolder[mode], f[15].c_str());
    kits_TemplatePartNameMake(kits_aTextureSlots[base + 7].szName, folder, f[16].c_str());
    goalie = f[17];
  }
  // The goalkeeper's kit; the old editions' keepers have their own colouring
  // folders as the templates do. Without shorts of its own he wears the
  // side's shorts; his socks are the side's.
  const std::string g = std::string(kModeFolder[mode]) + goalie;
  const int32_t k = base + 8;
  Name(k + 0, "kits\\goalies\\%s\\front.tga", g.c_str());
  Name(k + 1, "kits\\goalies\\%s\\back.tga", g.c_str());
  Name(k + 6, "kits\\goalies\\%s\\top.tga", g.c_str());
  Name(k + 2, "kits\\goalies\\%s\\lsleevbt.tga", g.c_str());
  Name(k + 3, "kits\\goalies\\%s\\lsleevl.tga", g.c_str());
  Name(k + 4, "kits\\goalies\\%s\\shortf.tga", g.c_str());
  Name(k + 5, "kits\\goalies\\%s\\shortb.tga", g.c_str());
  char path[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(path, kits_aTextureSlots[k + 4].szName);
  QDXFile* f4 = QDXFileOpenRead(path, 0);
  if (f4 != nullptr) {
    QDXFileClose(f4);
  } else {
    std::memcpy(kits_aTextureSlots[k + 4].szName, kits_aTextureSlots[base + 4].szName, 256);
    std::memcpy(kits_aTextureSlots[k + 5].szName, kits_aTextureSlots[base + 5].szName, 256);
  }
}

void kits_RefereeKitNamesSet(int32_t training) {
  const char* r = "kits\\referees\\98\\refblack\\";
  if (training) {
    const char* m = "kits\\uniques\\manager\\";
    Name(32, "%sfront.tga", m);
    Name(33, "%sback.tga", m);
    Name(38, "%stop.tga", m);
    Name(34, "%slsleevbt.tga", m);
    Name(35, "%slsleevl.tga", m);
  } else {
    Name(32, "%sfront.tga", r);
    Name(33, "%sback.tga", r);
    Name(38, "%stop.tga", r);
    Name(34, "%ssleevr.tga", r);
    Name(35, "%ssleevl.tga", r);
  }
  Name(36, "%sshortf.tga", r);
  Name(37, "%sshortb.tga", r);
  Name(39, "%ssocks.tga", r);
}

void kits_NumberNamesSet() {
  for (int32_t n = 1; n <= 22; ++n) {
    char num[8];
    std::snprintf(num, sizeof num, "%d", static_cast<int>(n));
    Name(KITS_FIRST_NUMBER_SLOT + n - 1, "numbers\\n%s.tga", num);
  }
}

namespace {

const char* const kColourFiles[8] = {"african.tga", "asian.tga", "black.tga", "blonde.tga",
                                     "brown.tga",   "dark.tga",  "ginger.tga", "white.tga"};

const char* StyleFolder(uint16_t key) {
  switch (key & 0x1C0) {
    case 0: return "bald\\";
    case 64: return "afro\\";
    case 128:
    case 192: return "long\\";
    case 256: return "short\\";
    default: return "";
  }
}
const char* FacialFolder(uint16_t key) {
  switch (key & 0x600) {
    case 512: return "beard\\";
    case 1024: return "tache\\";
    case 1536: return "sideburn\\";
    default: return "";
  }
}

// Names a skin set's four slots (its first slot s) unless named.
void SkinSetName(int32_t s) {
  static const char* const kSetFolder[6] = {"asian", "black", "blndbrwn", "dark", "gingwhit", "african"};
  if (s < 98 || s > 118 || kits_aTextureSlots[s].szName[0] != 0) return;
  static const char* const kParts[4] = {"arm", "legback", "legfront", "hand"};
  for (int32_t k = 0; k < 4; ++k) {
    char n[64];
    std::snprintf(n, sizeof n, "skin\\%s\\%s.tga", kSetFolder[(s - 98) / 4], kParts[k]);
    Name(s + k, "%s", n);
  }
}

// The body's slots of a texture list: kit base, skin set s, numbers.
void BodySlotsSet(uint8_t slots[19], int32_t base, int32_t longSleeves, int32_t s, int32_t number,
                  int32_t secondNumber) {
  slots[0] = static_cast<uint8_t>(base + 0);
  slots[1] = static_cast<uint8_t>(base + 1);
  slots[2] = static_cast<uint8_t>(longSleeves ? base + 3 : base + 2);
  slots[3] = static_cast<uint8_t>(base + 3);
  slots[4] = static_cast<uint8_t>(base + 6);
  slots[5] = static_cast<uint8_t>(base + 4);
  slots[6] = static_cast<uint8_t>(base + 5);
  slots[7] = static_cast<uint8_t>(s + 3);
  // The keepers' socks slots share the outfield socks' places.
  slots[8] = static_cast<uint8_t>(base + 7);
  slots[13] = static_cast<uint8_t>(longSleeves ? base + 2 : s);
  slots[14] = static_cast<uint8_t>(s + 1);
  slots[15] = static_cast<uint8_t>(s + 2);
  slots[16] = KITS_BOOTS_SLOT;
  const bool numbered = base < 32 && number >= 1 && number <= 22;
  slots[17] = static_cast<uint8_t>(numbered ? KITS_FIRST_NUMBER_SLOT + number - 1 : static_cast<int32_t>(KITS_NO_SLOT));
  slots[18] = static_cast<uint8_t>(numbered && secondNumber ? slots[17] : static_cast<int32_t>(KITS_NO_SLOT));
}

int32_t Keyed(int32_t first, int32_t end, uint16_t key, const std::string& name) {
  const int32_t s = kits_iSlotClaim(first, end, key);
  if (kits_aTextureSlots[s].szName[0] == 0) Name(s, "%s", name.c_str());
  return s;
}

}  // namespace

const KitsUniqueHead* kits_poUniqueHeadFind(const char* name, uint16_t appearance) {
  // Heads of their own: one player known by his whole name, three by the low
  // byte of their appearance word; the other three names of the list match
  // neither and wear generic heads.
  static const KitsUniqueHead kHeads[4] = {
      {"zenildo", "Zenildo Araqu\xE9m", -1, 0xFFFB, 102},
      {"dromm", nullptr, 162, 0xFFFE, 114},
      {"pretor", nullptr, 164, 0xFFFD, 110},
      {"brasc", nullptr, 165, 0xFFFC, 110},
  };
  for (const KitsUniqueHead& h : kHeads)
    if (h.pszName != nullptr ? name != nullptr && std::strcmp(name, h.pszName) == 0 : (appearance & 0xFF) == h.iLowByte)
      return &h;
  return nullptr;
}

void kits_PlayerTexturesSet(uint8_t slots[19], uint16_t appearance, int32_t base, int32_t longSleeves, int32_t number,
                            int32_t secondNumber, const char* pszName) {
  const uint16_t colour = appearance & 0x38, style = appearance & 0x1C0, facial = appearance & 0x600;
  const std::string file = kColourFiles[colour >> 3];
  const KitsUniqueHead* unique = base < 32 ? kits_poUniqueHeadFind(pszName, appearance) : nullptr;
  if (unique != nullptr) {
    // His own four head textures under his own key, and his skin set.
    const std::string folder = std::string("head\\uniques\\") + unique->pszFolder + "\\";
    slots[12] = static_cast<uint8_t>(Keyed(88, 98, unique->uKey, folder + "top.tga"));
    slots[11] = static_cast<uint8_t>(Keyed(78, 88, unique->uKey, folder + "back.tga"));
    slots[10] = static_cast<uint8_t>(Keyed(62, 78, unique->uKey, folder + "side.tga"));
    slots[9] = static_cast<uint8_t>(Keyed(40, 62, unique->uKey, folder + "face.tga"));
    SkinSetName(unique->iSkinSet);
    BodySlotsSet(slots, base, longSleeves, unique->iSkinSet, number, secondNumber);
    return;
  }
  // Head top, head back, face side, face: keyed so that players who look
  // alike share them.
  const uint16_t top = static_cast<uint16_t>(colour | (style != 0 ? 256 : 0));
  const int32_t sTop = Keyed(88, 98, top, std::string("head\\headtop\\") + StyleFolder(top) + file);
  const uint16_t back = static_cast<uint16_t>(style == 64 || style == 192 ? colour | 192
                                              : style == 256 || style == 128 ? colour | 256 : colour);
  const int32_t sBack = Keyed(78, 88, back, std::string("head\\headback\\") + StyleFolder(back) + file);
  uint16_t side;
  if (style == 0 || style == 64) {
    side = static_cast<uint16_t>(style | colour);
  } else {
    const uint16_t f = facial == 1024 ? 0 : facial;
    side = static_cast<uint16_t>(f | colour | (style == 128 || style == 192 ? 192 : 256));
  }
  const int32_t sSide = Keyed(62, 78, side, std::string("head\\faceside\\") + StyleFolder(side) +
                                                (side & 64 ? "" : FacialFolder(side)) + file);
  uint16_t face;
  if (style == 0) face = colour;
  else {
    const uint16_t f = facial == 1536 ? 0 : facial;
    face = static_cast<uint16_t>(f | colour | (style == 128 || style == 192 ? 192 : 256));
  }
  const int32_t sFace = Keyed(40, 62, face, std::string("head\\face\\") + StyleFolder(face) + FacialFolder(face) + file);
  // Skin set by colour.
  static const int32_t kSet[8] = {118, 98, 102, 106, 106, 110, 114, 114};
  const int32_t s = kSet[colour >> 3];
  SkinSetName(s);
  slots[9] = static_cast<uint8_t>(sFace);
  slots[10] = static_cast<uint8_t>(sSide);
  slots[11] = static_cast<uint8_t>(sBack);
  slots[12] = static_cast<uint8_t>(sTop);
  BodySlotsSet(slots, base, longSleeves, s, number, secondNumber);
}

void kits_PiecesPublish() {
  for (int32_t i = 0; i < KITS_SLOTS && i < LOADING_PIECES; ++i) {
    const PlayerTextureSlot& t = kits_aTextureSlots[i];
    LoadingPiece& p = loading_aoPieces[i];
    p.fX = t.fX;
    p.fY = t.fY;
    p.fWidth = t.fWidth;
    p.fHeight = t.fHeight;
    p.iPage = t.uPage % 7;
    std::memcpy(p.szImage, t.szName, sizeof p.szImage);
  }
}
