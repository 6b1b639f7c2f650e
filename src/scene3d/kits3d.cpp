#include "scene3d/kits3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/player.h"
#include "engine/team.h"
#include "framework/qdx_input.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/kits_slots.h"
#include "scene3d/kits_table.h"
#include "scene3d/loading.h"
#include "scene3d/shadows3d.h"
#include "scene3d/texture.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"
#include "tournament/tla.h"

KitColours kits_aoKits[5];
Player3D* kits_poReferee = nullptr;

namespace {

struct PersonObject {
  const Player* poPlayer;
  const DBPlayer* poDB;
  int32_t bAway;
  Player3D* poObject;
};

std::vector<PersonObject> g_aObjects;
std::vector<Player3D*> g_aDrawn;  // placed in view this frame
Shadow* g_poBallShadow = nullptr;
constexpr int32_t kMirrorKey = 0x32;  // scan code of M

const Q3DColour kWhite{238, 238, 238, 255}, kBlack{28, 28, 28, 255};

Q3DColour Of(kitcolour::Rgb c) { return Q3DColour{c.r, c.g, c.b, 255}; }
kitcolour::Rgb Rgb(Q3DColour c) { return kitcolour::Rgb{c.r, c.g, c.b}; }

float Luma(Q3DColour c) { return 0.212671f * c.r + 0.71516f * c.g + 0.072169f * c.b; }

// How far apart two kits look in the match's colour mode (the colours as
// the team wears them, before conversion).
float Apart(Q3DColour a, Q3DColour b) { return kitcolour::Apart(Rgb(a), Rgb(b), scene3d_eColourMode); }

constexpr float kClash = kitcolour::kClash;

KitColours Converted(KitColours k) {
  k.oShirt = kits_ColourConvert(k.oShirt);
  k.oSecond = kits_ColourConvert(k.oSecond);
  k.oShorts = kits_ColourConvert(k.oShorts);
  k.oSocks = kits_ColourConvert(k.oSocks);
  return k;
}

Q3DColour Scale(Q3DColour c, float f) {
  auto s = [f](uint8_t v) { return static_cast<uint8_t>(std::min(255.0f, static_cast<float>(v) * f)); };
  return Q3DColour{s(c.r), s(c.g), s(c.b), 255};
}

}  // namespace

float kits_fColourDistance(Q3DColour a, Q3DColour b) {
  const float dr = static_cast<float>(a.r) - b.r, dg = static_cast<float>(a.g) - b.g, db = static_cast<float>(a.b) - b.b;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

uint8_t kits_ColourModeFor(int32_t home, int32_t away) {
  // A black-and-white home kit against a colour kit wears its colour edition.
  if (home <= 1 && away >= 2) return SCENE3D_COLOUR;
  return home == 0 ? SCENE3D_SEPIA : home == 1 ? SCENE3D_BLACK_AND_WHITE : SCENE3D_COLOUR;
}

Q3DColour kits_ColourConvert(Q3DColour c) {
  uint8_t t[4] = {c.r, c.g, c.b, c.a};
  texture_TexelColourConvert(t);
  return Q3DColour{t[0], t[1], t[2], t[3]};
}

namespace {

void TableEnsure() {
  if (kits_TableLineCount() == 0) kits_TableLoad("..\\data\\database\\pc\\kits.bin");
}

KitColours FromLook(const KitLook& k, int32_t edition, bool keeper) {
  KitColours c{};
  c.oShirt = Of(keeper ? k.oKeeperShirt : k.oShirt);
  c.oSecond = keeper ? c.oShirt : Of(k.oSecond);
  c.uPattern = static_cast<uint8_t>(keeper ? 1 : k.iPattern);
  c.oShorts = Of(keeper ? k.oKeeperShorts : k.oShorts);
  c.oSocks = keeper ? c.oShirt : Of(k.oSocks);
  c.bLongSleeves = keeper || edition <= 1 ? 1 : 0;
  // Shorts: long to 1962, tight from 1978 to 1986, else medium.
  c.uShortsCode = edition <= 0 ? 0 : edition >= 5 && edition <= 7 ? 2 : edition >= 9 ? 0 : 1;
  return c;
}

}  // namespace

char kits_aszKitName[2][12];
int32_t kits_iChosenColourMode = 0;
int32_t kits_aiNumberColour[2];
int32_t kits_abSecondNumber[2];

KitColours kits_TeamKit(const char* kitName, int32_t edition, int32_t keeper) {
  TableEnsure();
  KitLook look{};
  if (kits_bKitLookRead(kits_poKitEntryFind(kitName), &look)) return FromLook(look, edition, keeper != 0);
  // No line for the kit: plain white (the keeper grey) over black.
  KitColours k{keeper ? Q3DColour{150, 150, 150, 255} : kWhite, kBlack, kWhite, 0, 1, kWhite, 1};
  k.uPattern = 1;
  return k;
}

void kits_Choose(const char* home, int32_t homeYear, const char* away, int32_t awayYear, int32_t training) {
  TableEnsure();
  KitChoice choice{};
  kits_ColourEquivalentsFind(&choice, home != nullptr ? home : "", homeYear, away != nullptr ? away : "", awayYear,
                             training);
  kits_iChosenColourMode = choice.iColourMode;
  for (int32_t side = 0; side < 2; ++side) {
    std::memcpy(kits_aszKitName[side], choice.aszName[side], 12);
    const KitEntry* e = kits_poKitEntryFind(choice.aszName[side]);
    kits_aiNumberColour[side] = e != nullptr && e->iColour >= 0 && e->iColour < 12 ? e->iColour : 4;
    // 1994 and 1998 shirts carry the number on the front as well.
    kits_abSecondNumber[side] = choice.aiEdition[side] >= 9 ? 1 : 0;
  }
  KitColours h = kits_TeamKit(choice.aszName[0], choice.aiEdition[0], 0);
  KitColours hk = kits_TeamKit(choice.aszName[0], choice.aiEdition[0], 1);
  if (training) {
    // No other side: the keeper keeps his own kit, and the manager stands
    // where the referee would, in long sleeves.
    KitColours manager{kBlack, kBlack, kBlack, 1, 1, kBlack, 1};
    kits_aoKits[0] = kits_aoKits[2] = Converted(h);
    kits_aoKits[1] = kits_aoKits[3] = Converted(hk);
    kits_aoKits[4] = Converted(manager);
    return;
  }
  KitColours a = kits_TeamKit(choice.aszName[1], choice.aiEdition[1], 0);
  KitColours ak = kits_TeamKit(choice.aszName[1], choice.aiEdition[1], 1);
  // Keepers: the candidate farthest from both outfield shirts (and, for the
  // away keeper, from the home keeper).
  static const Q3DColour kKeeper[] = {{60, 150, 70, 255}, {235, 205, 40, 255}, {150, 150, 150, 255},
                                      {40, 40, 40, 255},  {230, 120, 30, 255}, {120, 60, 160, 255}};
  auto pick = [&](const Q3DColour* avoid, int n) {
    float best = -1e9f;
    Q3DColour chosen = kKeeper[0];
    for (const Q3DColour& c : kKeeper) {
      float d = 1e9f;
      // The keeper's own side counts most.
      for (int i = 0; i < n; ++i)
        d = std::min(d, Apart(kits_ColourConvert(c), kits_ColourConvert(avoid[i])) * (i == 0 ? 1.0f : 0.6f));
      // Never near his own side's shirts.
      if (Apart(kits_ColourConvert(c), kits_ColourConvert(avoid[0])) < 70.0f) d -= 1000.0f;
      if (d > best) {
        best = d;
        chosen = c;
      }
    }
    return chosen;
  };
  // Each keeper wears his team's keeper kit unless it clashes with either
  // side's shirts (or the other keeper's): then the colour farthest from them.
  auto clashes = [&](Q3DColour c, const Q3DColour* avoid, int n) {
    for (int i = 0; i < n; ++i)
      if (Apart(c, avoid[i]) < kClash) return true;
    return false;
  };
  const Q3DColour avoidHome[3] = {h.oShirt, a.oShirt, kBlack};
  if (clashes(hk.oShirt, avoidHome, 2)) {
    hk.oShirt = hk.oSecond = hk.oSocks = pick(avoidHome, 3);
    hk.oShorts = Luma(hk.oShirt) > 100.0f ? kBlack : kWhite;
  }
  const Q3DColour avoidAway[4] = {a.oShirt, h.oShirt, kBlack, hk.oShirt};
  if (clashes(ak.oShirt, avoidAway, 2) || clashes(ak.oShirt, avoidAway + 3, 1)) {
    ak.oShirt = ak.oSecond = ak.oSocks = pick(avoidAway, 4);
    ak.oShorts = Luma(ak.oShirt) > 100.0f ? kBlack : kWhite;
  }
  KitColours ref{kBlack, kBlack, kBlack, 0, 1, kBlack, 1};

  kits_aoKits[0] = Converted(h);
  kits_aoKits[1] = Converted(hk);
  kits_aoKits[2] = Converted(a);
  kits_aoKits[3] = Converted(ak);
  kits_aoKits[4] = Converted(ref);
}

void kits_ModelCode(char out[7], uint16_t appearance, int32_t longSleeves, int32_t shorts) {
  static const char* const kHair[8] = {"SH", "AH", "SH", "LH", "SH", "SH", "SH", "SH"};
  static const char* const kShorts[3] = {"LS", "MS", "TS"};
  const int32_t style = (appearance & 0x1C0) >> 6;
  std::memcpy(out, longSleeves ? "LS" : "SS", 2);
  std::memcpy(out + 2, kHair[style], 2);
  std::memcpy(out + 4, kShorts[std::clamp(shorts, 0, 2)], 2);
  out[6] = 0;
}

float kits_fBuildScale(uint16_t appearance) {
  const uint16_t b = appearance & 0x1800;
  return b == 0 ? 0.96f : b == 4096 ? 1.08f : 1.0f;
}

void kits_PlayerKitMake(PlayerKit* out, const KitColours& k, uint16_t appearance) {
  // Skin and hair by the colour bits: african, asian, black, blonde, brown,
  // dark, ginger, white.
  static const Q3DColour kSkin[8] = {{95, 60, 40, 255},    {215, 170, 120, 255}, {80, 52, 36, 255},
                                     {235, 190, 160, 255}, {225, 175, 135, 255}, {150, 100, 65, 255},
                                     {240, 195, 170, 255}, {240, 200, 175, 255}};
  static const Q3DColour kHairColour[8] = {{25, 20, 18, 255},  {20, 18, 18, 255}, {25, 20, 18, 255},
                                           {225, 195, 110, 255}, {95, 60, 30, 255}, {35, 25, 20, 255},
                                           {190, 90, 35, 255},   {150, 120, 80, 255}};
  const int32_t colour = (appearance & 0x38) >> 3;
  const int32_t style = (appearance & 0x1C0) >> 6;
  Q3DColour skin = kits_ColourConvert(kSkin[colour]);
  Q3DColour hair = kits_ColourConvert(style == 0 ? Scale(kSkin[colour], 0.9f) : kHairColour[colour]);
  Q3DColour* p = out->aoPart;
  p[0] = p[1] = p[2] = p[3] = k.oShirt;
  p[4] = Scale(k.oShirt, 0.92f);
  p[5] = p[6] = k.oShorts;
  p[7] = skin;
  p[8] = k.oSocks;
  p[9] = p[10] = skin;
  p[11] = p[12] = hair;
  p[13] = k.bLongSleeves ? k.oShirt : skin;
  p[14] = p[15] = skin;
  p[16] = kits_ColourConvert(Q3DColour{30, 26, 24, 255});
  p[17] = p[18] = kits_ColourConvert(Luma(k.oShirt) > 128.0f ? kBlack : kWhite);
}

// ---- The people's objects ------------------------------------------------------------------

namespace {

// Whether a person's textures were named since the pages last took them.
bool g_bNamesChanged = false;

// A person's texture slots and number colour for the kit of a base slot
// (0 home, 8 home keeper, 16 away, 24 away keeper, 32 referee).
void TexturesSet(Player3D* o, uint16_t appearance, int32_t base, int32_t longSleeves, const DBPlayer* db) {
  const int32_t number = db != nullptr && base < 32 ? static_cast<int32_t>(db->uField88 & 0xFF) : 0;
  const int32_t second = base < 32 ? kits_abSecondNumber[base >= 16 ? 1 : 0] : 0;
  kits_PlayerTexturesSet(o->auSlots, appearance, base, longSleeves, number, second,
                         db != nullptr ? dbplayer_NameGet(db) : nullptr);
  g_bNamesChanged = true;
  const int32_t colour = kits_aiNumberColour[base >= 16 ? 1 : 0];
  const kitcolour::Rgb c = kits_aoKitColourTable[colour >= 0 && colour < 12 ? colour : 4];
  o->oNumberTint = kits_ColourConvert(Q3DColour{c.r, c.g, c.b, 255});
}

Player3D* Make(const Player* pp, const DBPlayer* db, int32_t away, int32_t loadNow) {
  const uint16_t appearance = db != nullptr ? db->uAppearance : static_cast<uint16_t>(0x100 | 0x38 | 0x800);
  const KitColours& kit = kits_aoKits[away ? 2 : 0];
  char code[7];
  kits_ModelCode(code, appearance, kit.bLongSleeves, kit.uShortsCode);
  PlayerKit pk;
  kits_PlayerKitMake(&pk, kit, appearance);
  Player3D* o = new Player3D(code, pk, kits_fBuildScale(appearance), loadNow);
  TexturesSet(o, appearance, away ? 16 : 0, kit.bLongSleeves, db);
  g_aObjects.push_back(PersonObject{pp, db, away, o});
  return o;
}

bool Training() { return global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING; }

// Whether the match set up names its sides: both squads, or in training the
// home squad alone.
bool SidesSetUp() {
  const MatchTeam* h = match_HomeTeamGet();
  const MatchTeam* a = match_AwayTeamGet();
  if (h == nullptr || h->Squad == nullptr) return false;
  return Training() || (a != nullptr && a->Squad != nullptr);
}

void KitsFromMatch() {
  const MatchTeam* h = match_HomeTeamGet();
  const MatchTeam* a = match_AwayTeamGet();
  auto abbreviation = [](const MatchTeam* t) {
    return t != nullptr && t->Squad != nullptr ? tla_TLAGet(match_TeamIdGet(t), 0) : "";
  };
  auto year = [](const MatchTeam* t) { return t != nullptr && t->Squad != nullptr ? match_TeamYearGet(t) : 9; };
  // Without the match's squads (a scene set up on its own) the kits chosen
  // stay.
  if (SidesSetUp() && Training()) kits_Choose(abbreviation(h), year(h), "", year(h), 1);
  else if (SidesSetUp() || kits_aszKitName[0][0] == 0) kits_Choose(abbreviation(h), year(h), abbreviation(a), year(a));
}

}  // namespace

void scene3d_KitColoursFind() {
  // The kit table is read afresh for every match; the colour mode follows
  // the kits chosen.
  kits_TableLoad("..\\data\\database\\pc\\kits.bin");
  KitsFromMatch();
  // A scene without the match's squads (no match set up) keeps the mode it
  // has.
  if (SidesSetUp()) {
    scene3d_eColourMode = static_cast<uint8_t>(kits_iChosenColourMode);
    KitsFromMatch();  // the kits in the match's colouring
  }
}

void kits_PlayerObjectsCreate() {
  kits_PlayerObjectsFree();
  KitsFromMatch();
  // The kit textures of both sides, then everyone's heads and skin as the
  // people are made, the referee's kit and the numbers; the loading step
  // after this one composes the pages from the names.
  kits_SlotsReset();
  const int32_t mode = scene3d_eColourMode;
  // In training there is no away side: its kit is not named and whatever
  // the away team still holds from an earlier match is not dressed.
  const bool training = Training();
  const int32_t sides = training ? 1 : 2;
  kits_KitNamesSet(0, kits_poKitEntryFind(kits_aszKitName[0]), mode);
  if (!training) kits_KitNamesSet(16, kits_poKitEntryFind(kits_aszKitName[1]), mode);
  for (Player* pp = match_HomeFirstPlayerGet(); pp != nullptr; pp = match_NextPlayerGet(pp))
    if (!training || pp->MyTeam == player_PlaysFor_Home)
      Make(pp, pp->pDBPlayer, pp->MyTeam == player_PlaysFor_Home ? 0 : 1, 1);
  // The benches: dressed now so that their heads are on the pages; their
  // bodies load when they first come on.
  const MatchTeam* teams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (int32_t side = 0; side < sides; ++side)
    for (DBPlayer* db = teams[side] != nullptr ? teams[side]->poBenchList : nullptr; db != nullptr; db = db->poNext)
      Make(nullptr, db, side, 0);
  // The referee, or in training the manager in his long-sleeved top.
  const uint16_t refAppearance = static_cast<uint16_t>(0x100 | 0x38 | 0x800);
  KitColours rk = kits_aoKits[4];
  char code[7];
  kits_ModelCode(code, refAppearance, training ? 1 : 0, 1);
  PlayerKit pk;
  kits_PlayerKitMake(&pk, rk, refAppearance);
  kits_poReferee = new Player3D(code, pk, 1.0f, 1);
  TexturesSet(kits_poReferee, refAppearance, 32, training ? 1 : 0, nullptr);
  kits_RefereeKitNamesSet(training ? 1 : 0);
  kits_NumberNamesSet();
  kits_PiecesPublish();
  g_bNamesChanged = false;
}

void kits_PlayerObjectsFree() {
  for (PersonObject& o : g_aObjects) delete o.poObject;
  g_aObjects.clear();
  g_aDrawn.clear();
  delete kits_poReferee;
  kits_poReferee = nullptr;
  delete g_poBallShadow;
  g_poBallShadow = nullptr;
  player3d_ModelsRelease();
}

Player3D* kits_poObjectFor(const Player* pp, const DBPlayer* db, int32_t away) {
  // The substitutes share one spare record: a live person is known by his
  // record and his database entry together.
  for (PersonObject& o : g_aObjects)
    if ((pp != nullptr && o.poPlayer == pp && o.poDB == db) || (pp == nullptr && db != nullptr && o.poDB == db))
      return o.poObject;
  // A substitute coming on from the bench takes the object made for him.
  for (PersonObject& o : g_aObjects)
    if (pp != nullptr && db != nullptr && o.poPlayer == nullptr && o.poDB == db) {
      o.poPlayer = pp;
      return o.poObject;
    }
  return Make(pp, db, away, 1);
}

int32_t players3d_FrameUpdate(const FramePacket* p) {
  g_aDrawn.clear();
  if (p == nullptr) return 0;
  int32_t placed = 0;
  // Holding M shows the home side mirrored (a check of the mirrored poses).
  const uint8_t* keys = QKeyboardGetState();
  const bool mirrorHome = keys != nullptr && (keys[kMirrorKey] & 0x80) != 0;
  auto place = [&](const PacketPlayer& e, Player3D* o, int32_t kitIndex, bool forceMirror) {
    if (o == nullptr || e.pAnimation == nullptr) return;
    // The frame within the clip's pose data.
    const float* pose = static_cast<const float*>(e.pAnimation) + (e.uFramePosition & 0xFFFF) / 64 * PLAYER3D_POSE_FLOATS;
    if (kitIndex >= 0 && kitIndex != o->iKitIndex) {
      o->iKitIndex = static_cast<int8_t>(kitIndex);
      const uint16_t appearance =
          e.poPlayer != nullptr && e.poPlayer->pDBPlayer != nullptr ? e.poPlayer->pDBPlayer->uAppearance
          : e.poModel != nullptr ? static_cast<const DBPlayer*>(e.poModel)->uAppearance
                                 : static_cast<uint16_t>(0x100 | 0x38 | 0x800);
      kits_PlayerKitMake(&o->oKit, kits_aoKits[kitIndex], appearance);
      const DBPlayer* db = e.poPlayer != nullptr ? e.poPlayer->pDBPlayer : static_cast<const DBPlayer*>(e.poModel);
      TexturesSet(o, appearance, kitIndex * 8, kits_aoKits[kitIndex].bLongSleeves, db);
    }
    const int32_t vis = o->Place(static_cast<uint16_t>(e.uAngles & 0xFFFF), e.iX, e.iHeight, e.iY, pose,
                                 forceMirror ? 1 : static_cast<int32_t>(e.uMirror), static_cast<uint16_t>(e.uAngles >> 16));
    // The player learns whether he is in view.
    if (e.poPlayer != nullptr) e.poPlayer->bOnScreen = vis == -1 ? 0 : 1;
    if (vis == -1) return;
    ++placed;
    ++scene3d_aiDetailCount[o->iLevel];
    g_aDrawn.push_back(o);
    if (scene3d_bSoftware && scene3d_poSortList != nullptr) scene3d_poSortList->Add(o, o->oViewPosition.z);
  };
  for (int32_t side = 0; side < 2; ++side) {
    const PacketPlayer* list = side == 0 ? p->aoHome : p->aoAway;
    const int32_t n = std::min<int32_t>(p->aiSnapshotCounts[side == 0 ? PCFRAME_COUNT_HOME : PCFRAME_COUNT_AWAY],
                                        PCFRAME_PLAYERS_MAX);
    for (int32_t i = 0; i < n; ++i) {
      const PacketPlayer& e = list[i];
      if (e.pAnimation == nullptr) continue;
      const DBPlayer* db = e.poPlayer != nullptr ? e.poPlayer->pDBPlayer : static_cast<const DBPlayer*>(e.poModel);
      if (e.poPlayer == nullptr && db == nullptr) continue;
      Player3D* o = kits_poObjectFor(e.poPlayer, db, side);
      // Live frames tell the goalkeeper by his position; a replayed person keeps
      // the kit he was last drawn in.
      place(e, o, e.poPlayer != nullptr ? side * 2 + (e.poPlayer->PositionCode == 0 ? 1 : 0) : -1,
            side == 0 && mirrorHome);
    }
  }
  if (p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] != 0) place(p->oReferee, kits_poReferee, 4, false);
  // A person first dressed after loading may wear a head the pages lack.
  if (g_bNamesChanged) {
    kits_PiecesPublish();
    loading_PiecesRefresh();
    g_bNamesChanged = false;
  }
  return placed;
}

void players3d_DrawHardware() {
  for (Player3D* o : g_aDrawn) o->DrawHardware();
}

void players3d_ShadowsDraw(const QMathVec3* ball) {
  Q3DDevice* d = scene3d_poDevice;
  Scene3D* sc = scene3d_poScene;
  if (d == nullptr || sc == nullptr || sc->poShadowMaterial == nullptr) return;
  d->TextureSet(sc->poShadowMaterial);
  d->RenderStateSet(4, scene3d_bSoftware ? 36 : 32);
  // The direction from a light to a point, normalised; none for a light level
  // with the point (its shadow would lie at infinity).
  auto direction = [&](int32_t i, const QMathVec3& at, float* dir) {
    QMathVec3 l{-200.0f, 300.0f, -200.0f};
    if (sc->apoLights[i] != nullptr) sc->apoLights[i]->PositionGet(&l);
    dir[0] = at.x - l.x;
    dir[1] = at.y - l.y;
    dir[2] = at.z - l.z;
    const float n = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
    if (!(n > 0.0f)) return false;
    for (int k = 0; k < 3; ++k) dir[k] /= n;
    return true;
  };
  for (Player3D* o : g_aDrawn)
    for (uint8_t i = 0; i < o->cShadows && i < sc->cLights; ++i) {
      const QMathVec3 at{o->mLocal.m[12], o->mLocal.m[13], o->mLocal.m[14]};
      float dir[3];
      if (o->apoShadows[i] == nullptr || !direction(i, at, dir)) continue;
      if (shadow_PlayerBuild(o->apoShadows[i], dir[0], dir[1], dir[2], o)) o->apoShadows[i]->Draw();
    }
  if (ball == nullptr || sc->cLights == 0) return;
  if (g_poBallShadow == nullptr) g_poBallShadow = new Shadow(1);
  float dir[3];
  if (direction(0, *ball, dir) && shadow_BallBuild(g_poBallShadow, dir[0], dir[1], dir[2], *ball)) g_poBallShadow->Draw();
}

void kits_CopyAppearance(Player* to, const Player* from) {
  if (to == nullptr || from == nullptr) return;
  // Nothing to copy from a person never drawn (or with no 3D scene at all).
  Player3D* src = nullptr;
  for (PersonObject& o : g_aObjects)
    if (o.poPlayer == from && o.poDB == from->pDBPlayer) src = o.poObject;
  if (src == nullptr) return;
  Player3D* dst = kits_poObjectFor(to, to->pDBPlayer, to->MyTeam == player_PlaysFor_Home ? 0 : 1);
  if (src == nullptr || dst == nullptr || src == dst) return;
  // Shirt, sleeves, top, shorts and socks; hand, skin, head, boots and
  // numbers stay his own.
  for (int32_t part : {0, 1, 2, 3, 4, 5, 6, 8}) {
    dst->oKit.aoPart[part] = src->oKit.aoPart[part];
    dst->auSlots[part] = src->auSlots[part];
  }
  dst->iKitIndex = src->iKitIndex;
  if (src->szModelCode[0] == 'L' && dst->szModelCode[0] != 'L') {
    dst->oKit.aoPart[13] = src->oKit.aoPart[13];
    dst->auSlots[13] = src->auSlots[13];
    dst->ModelsFree();
    dst->szModelCode[0] = 'L';  // the body loads again when he is next drawn
  }
}
