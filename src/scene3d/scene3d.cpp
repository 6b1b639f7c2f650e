#include "scene3d/scene3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "framework/math/qmatrix.h"
#include "platform/window.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "scene3d/loading.h"
#include "scene3d/ball3d.h"
#include "scene3d/goals3d.h"
#include "scene3d/markers3d.h"
#include "scene3d/pitch3d.h"
#include "scene3d/stadium3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"
#include "engine/player.h"
#include "scene3d/kits3d.h"
#include "shell/debuglog.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"

Scene3D* scene3d_poScene = nullptr;
Q3DCamera scene3d_oCamera;
QMathVec3 scene3d_oCameraPosition = {0.0f, 0.0f, 0.0f};
QMathMatrix scene3d_mMirror;
SortList* scene3d_poSortList = nullptr;
int32_t scene3d_bFirstFrame = 0;
int32_t scene3d_bSoftware = 1;
int32_t scene3d_aiDetailCount[SCENE3D_DETAIL_LEVELS] = {};
Q3DTexture* scene3d_apoFont[2] = {nullptr, nullptr};
Q3DSpriteSheet* scene3d_poSpriteSheet = nullptr;
uint32_t scene3d_uScreenWidth = 640;
uint32_t scene3d_uScreenHeight = 480;
std::int32_t scene3d_bBuilt = 0;

const Q3DColour scene3d_aoKitColours[SCENE3D_KIT_COLOURS] = {
    {10, 10, 10, 255},   {128, 64, 0, 255},  {160, 40, 30, 255},  {30, 40, 150, 255},
    {200, 200, 200, 255}, {190, 180, 30, 255}, {70, 190, 30, 255},  {200, 0, 200, 255},
    {128, 0, 128, 255},  {190, 140, 30, 255}, {64, 64, 64, 255},   {128, 0, 128, 255},
};

namespace {

// The renderer libraries by "VidMode".
const char* const kSoftwareDll = "q3dswdll.dll";
const char* const kZBufferDll = "q3dd3ddll.dll";

// The overlay's screen quad: a box whose flags are neither 0 nor 1 keeps the
// kind of the box before it.
Q3DScreenQuad g_oOverlayQuad;

}  // namespace

// ---- Lights and the scene object ----------------------------------------------------------

SceneLight::SceneLight(int32_t kind)
    : iKind(kind), oPosition{0.0f, 0.0f, 0.0f}, oDirection{0.0f, -1.0f, 0.0f}, fValue1(0.0f), fValue2(0.0f) {}

Scene3D::Scene3D()
    : poShadowTexture(nullptr), poShadowMaterial(nullptr), bNight(0), uStadiumLook(0), cLights(0), apoLights{},
      oBackground{0, 0, 0, 255}, fDetailScale(100.0f) {}

void Scene3D::MarkersCreate() {
  MarkersFree();
  for (int32_t u = 0; u < 4; ++u) {
    apoRings[u] = new MarkerRing(u);
    apoSpots[u] = new MarkerCrosshair(u);
    apoArrows[u] = new MarkerArrow(u);
    apoUsers[u] = new MarkerUserPointer(u);
  }
  poBallCross = new MarkerBallCross();
  poAimMarker = new MarkerAimArrow();
  poQuadMarker = new MarkerQuad();
}

void Scene3D::MarkersFree() {
  for (int32_t u = 0; u < 4; ++u) {
    delete apoRings[u];
    delete apoSpots[u];
    delete apoArrows[u];
    delete apoUsers[u];
    apoRings[u] = nullptr;
    apoSpots[u] = nullptr;
    apoArrows[u] = nullptr;
    apoUsers[u] = nullptr;
  }
  delete poBallCross;
  delete poAimMarker;
  delete poQuadMarker;
  poBallCross = nullptr;
  poAimMarker = nullptr;
  poQuadMarker = nullptr;
}

void Scene3D::BallCreate() {
  delete poBall;
  poBall = new BallObject();
}

Scene3D::~Scene3D() {
  delete poBall;
  poBall = nullptr;
  MarkersFree();
  delete poPitch;
  poPitch = nullptr;
  goals_Free();
  kits_PlayerObjectsFree();
  delete poStadium;
  poStadium = nullptr;
  for (SceneLight*& l : apoLights) {
    delete l;
    l = nullptr;
  }
  if (poShadowMaterial != nullptr) Q3DMaterialReset(poShadowMaterial);
  delete poShadowMaterial;
  texture_Free(poShadowTexture);
}

void Scene3D::Load() {
  int32_t detail = scene3d_iDetailSettingGet();
  fDetailScale = static_cast<float>(detail * 25 + 40);
  player3d_LevelDistancesSet(fDetailScale / 100.0f);
  int32_t look = scene3d_iStadiumLookGet();
  bNight = scene3d_bNightGet() != 0 ? 1 : 0;
  if (look > 23) {
    look = 17;
    bNight = 1;
  }
  uStadiumLook = static_cast<uint8_t>(look);
  scene3d_KitColoursFind();
  uint8_t bg[3] = {198, 239, 250};
  if (bNight) {
    bg[0] = 3;
    bg[1] = 24;
    bg[2] = 32;
  }
  texture_TexelColourConvert(bg);
  oBackground = Q3DColour{bg[0], bg[1], bg[2], 255};
  for (SceneLight*& l : apoLights) {
    delete l;
    l = nullptr;
  }
  cLights = bNight ? 4 : 1;
  for (uint8_t i = 0; i < cLights; ++i) apoLights[i] = new SceneLight(0);
  texture_Free(poShadowTexture);
  if (poShadowMaterial != nullptr) Q3DMaterialReset(poShadowMaterial);
  delete poShadowMaterial;
  poShadowTexture = texture_poLoad("pitch\\playshad.tga", nullptr, 0, -1);
  poShadowMaterial = new Q3DMaterial(poShadowTexture);
  poShadowMaterial->oColour = Q3DColour{0, 0, 0, 64};
}

// ---- Set-up and shut-down -----------------------------------------------------------------

void scene3d_FontsLoad() {
  scene3d_FontsFree();
  pctext_FontsLoad(scene3d_bSoftware);
  const int32_t set = pctext_iCurrentSet;
  for (int32_t i = 0; i < 2; ++i) {
    char path[PCINSTALL_PATH_SIZE];
    pcinstall_TexturePath(path, pctext_aaoFontSets[set][i].szFileName);
    scene3d_apoFont[i] = scene3d_poTextureLoad(path);
    pctext_3DCellHeightSet(i, scene3d_apoFont[i] != nullptr ? static_cast<int32_t>(scene3d_apoFont[i]->uHeight) : 0);
  }
}

void scene3d_FontsFree() {
  for (Q3DTexture*& f : scene3d_apoFont) {
    if (f != nullptr && scene3d_poDevice != nullptr) scene3d_poDevice->TextureFree(f);
    delete f;
    f = nullptr;
  }
  for (int32_t i = 0; i < 2; ++i) pctext_3DCellHeightSet(i, 0);
  pctext_FontSet(0);
}

int32_t scene3d_bSpriteSheetCreate() {
  if (scene3d_poDevice == nullptr) return 0;
  if (scene3d_poSpriteSheet != nullptr) scene3d_poDevice->SheetFree(scene3d_poSpriteSheet);
  delete scene3d_poSpriteSheet;
  char sheet[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(sheet, "images\\sprites.tga");
  scene3d_poSpriteSheet = new Q3DSpriteSheet();
  if (scene3d_poDevice->SheetCreate(scene3d_poSpriteSheet, sheet) != 0 || scene3d_poSpriteSheet->iHandle < 0) {
    debuglog_Printf("The sprite sheet %s could not be made; sheet sprites are not drawn.\n", sheet);
    delete scene3d_poSpriteSheet;
    scene3d_poSpriteSheet = nullptr;
    return 0;
  }
  return 1;
}

Q3DTexture* scene3d_poTextureLoad(const char* pszPath) {
  if (scene3d_poDevice == nullptr || pszPath == nullptr) return nullptr;
  Q3DTexture* t = new Q3DTexture();
  Q3DObjectNameSet(&t->oHeader, pszPath);
  if (scene3d_poDevice->TextureLoad(t, pszPath) != 0 || t->iHandle < 0) {
    debuglog_Printf("The image %s could not be loaded as a texture.\n", pszPath);
    delete t;
    return nullptr;
  }
  return t;
}

void scene3d_StartOnDevice(Q3DDevice* d, int32_t bSoftware, uint32_t uWidth, uint32_t uHeight) {
  scene3d_poDevice = d;
  scene3d_bSoftware = bSoftware;
  d->BackgroundSet(0, 0, 0, 0);
  d->RenderStateSet(2, 0);
  d->RenderStateSet(3, 8);
  d->RenderStateSet(10, 1);
  d->RenderStateSet(11, 1);
  d->RenderStateSet(4, 16);
  d->RenderStateSet(9, 0);
  QMathMatrixIdentity(&scene3d_mWorldToView);
  scene3d_oCamera = Q3DCamera();
  scene3d_oCamera.uFov = 5824;
  scene3d_oCamera.fNear = 3.0f;
  scene3d_oCamera.fFar = 400.0f;
  scene3d_oCamera.uChanged |= Q3DCAM_FOV;
  const uint32_t size[2] = {uWidth, uHeight};
  Q3DCameraSetScreen(&scene3d_oCamera, size, 0.75f);
  Q3DCameraUpdate(&scene3d_oCamera);
  scene3d_poCamera = &scene3d_oCamera;
  d->CameraSet(&scene3d_oCamera);
  const float scale[2] = {static_cast<float>(uWidth) * 0.0015625f, static_cast<float>(uHeight) * 0.0020833334f};
  d->ParameterSet(Q3D_PARAM_SCALE, scale);
  pcfe_ScaleSet(640, 240, static_cast<int16_t>(uWidth), static_cast<int16_t>(uHeight));
  if (bSoftware) scene3d_poSortList = new SortList();
  QMathMatrixIdentity(&scene3d_mMirror);
  scene3d_mMirror.m[10] = -1.0f;
  scene3d_poScene = new Scene3D();
  scene3d_uScreenWidth = uWidth;
  scene3d_uScreenHeight = uHeight;
  pctext_3DTextModeSet(1);
  scene3d_bFirstFrame = 0;
  scene3d_bBuilt = 1;
  scene3d_bDisplay3DUp = 1;
}

namespace {

// Creates and initialises a renderer; null when either fails.
Q3DDevice* DeviceOpen(const char* pszDll) {
  Q3DDevice* d = Q3DDeviceCreate(pszDll);
  if (d == nullptr) {
    debuglog_Printf("The renderer %s could not be loaded.\n", pszDll);
    return nullptr;
  }
  if (Q3DDeviceInitialise(d, &qdlContext) != 0) {
    debuglog_Printf("The renderer %s could not be started.\n", pszDll);
    d->Destroy();
    Q3DDeviceUnload();
    return nullptr;
  }
  return d;
}

}  // namespace

void scene3d_Init() {
  pcmain_DisplayShutdown();
  pcframe_SnapshotClear();
  // The z-buffered renderer for "VidMode" 2; the software renderer for 0,
  // and in place of any renderer that cannot be loaded or started here.
  Q3DDevice* d = nullptr;
  int32_t software = 1;
  if (pcinstall_uVidMode == 2) {
    d = DeviceOpen(kZBufferDll);
    software = d != nullptr ? 0 : 1;
  }
  if (d == nullptr) d = DeviceOpen(kSoftwareDll);
  if (d == nullptr) {
    QDLErrorBox("No renderer could be started for the match; returning to the menus.");
    pcmain_DisplayStartup();
    pcmain_eRequestedState = APP_STATE_FRONT_END;
    return;
  }
  uint32_t w = vidselect_uScreenWidth, h = vidselect_uScreenHeight;
  if (qdlContext.pDisplay != nullptr) {
    w = static_cast<uint32_t>(qdlContext.pDisplay->width);
    h = static_cast<uint32_t>(qdlContext.pDisplay->height);
  }
  if (w == 0 || h == 0) {
    w = 640;
    h = 480;
  }
  scene3d_StartOnDevice(d, software, w, h);
}

void scene3d_StopOnDevice() {
  delete scene3d_poScene;
  scene3d_poScene = nullptr;
  delete scene3d_poSortList;
  scene3d_poSortList = nullptr;
  Q3DDevice* d = scene3d_poDevice;
  if (d != nullptr && scene3d_poSpriteSheet != nullptr) d->SheetFree(scene3d_poSpriteSheet);
  delete scene3d_poSpriteSheet;
  scene3d_poSpriteSheet = nullptr;
  scene3d_FontsFree();
  loading_Release();
  pctext_3DTextModeSet(0);
  scene3d_poDevice = nullptr;
  scene3d_poCamera = nullptr;
  scene3d_eColourMode = SCENE3D_COLOUR;
  scene3d_bDisplay3DUp = 0;
}

void scene3d_Shutdown() {
  Q3DDevice* d = scene3d_poDevice;
  scene3d_StopOnDevice();
  if (d != nullptr) {
    d->DisplayShut();
    d->Destroy();
    Q3DDeviceUnload();
  }
}

// ---- One frame -----------------------------------------------------------------------------

void scene3d_CameraFromPacket(const int32_t aiEye[3], const float aafRotation[3][4]) {
  QMathMatrix& m = scene3d_mWorldToView;
  QMathMatrixIdentity(&m);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m.m[4 * r + c] = aafRotation[r][c];
  // The eye in metres: pitch x, height, pitch y become scene x, y, z.
  const float ex = static_cast<float>(aiEye[0] * SCENE3D_METRES_PER_UNIT);
  const float ey = static_cast<float>(aiEye[1] * SCENE3D_METRES_PER_UNIT);
  const float ez = static_cast<float>(aiEye[2] * SCENE3D_METRES_PER_UNIT);
  scene3d_oCameraPosition = QMathVec3{ex, ey, ez};
  for (int c = 0; c < 3; ++c) m.m[12 + c] = -(ex * m.m[c] + ey * m.m[4 + c] + ez * m.m[8 + c]);
  scene3d_oCamera.mView = m;
  scene3d_oCamera.uChanged |= Q3DCAM_VIEW;
  Q3DCameraUpdate(&scene3d_oCamera);
}

namespace {

void OverlayItem(Q3DDevice* d, const DrawItem* it) {
  switch (it->uKind) {
    case PCFRAME_KIND_TEXT: {
      const int16_t font = it->aiCoord[2];
      if (font != 0 && font != 1) return;  // no such match font
      Q3DTexture* tex = scene3d_apoFont[font];
      if (tex == nullptr || it->pszText == nullptr) return;
      d->BatchBegin(0);
      d->RenderStateSet(4, 33);
      const Q3DColour c{it->aRed[0], it->aGreen[0], it->aBlue[0], 255};
      d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
      d->TextDraw(tex, it->aiCoord[0], it->aiCoord[1], static_cast<uint32_t>(it->aiCoord[3]), it->pszText);
      d->BatchEnd();
      return;
    }
    case PCFRAME_KIND_SHEET_SPRITE:
      if (scene3d_poSpriteSheet == nullptr) return;
      d->BatchBegin(0);
      if (!scene3d_bSoftware) d->TextureSet(scene3d_poSpriteSheet);
      d->RenderStateSet(4, 32);
      d->SheetSpriteDraw(scene3d_poSpriteSheet, static_cast<uint32_t>(it->aiCoord[2]), it->aiCoord[0], it->aiCoord[1]);
      d->BatchEnd();
      return;
    case PCFRAME_KIND_BOX: {
      d->BatchBegin(0);
      d->RenderStateSet(4, 3);
      const Q3DColour c{it->aRed[0], it->aGreen[0], it->aBlue[0], it->uAlpha};
      d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
      Q3DScreenQuad& q = g_oOverlayQuad;
      q.aiRect[0] = it->aiCoord[0];
      q.aiRect[1] = it->aiCoord[1];
      q.aiRect[2] = it->aiCoord[2];
      q.aiRect[3] = it->aiCoord[3];
      for (Q3DColour& k : q.aColour) k = c;
      if (it->uFlags == 0) q.uKind = Q3D_QUAD_FLAT;
      else if (it->uFlags == 1) q.uKind = Q3D_QUAD_SHADED;
      d->ScreenQuadDraw(&q, &scene3d_oCamera, 0);
      d->BatchEnd();
      return;
    }
    case PCFRAME_KIND_SHADED_BOX: {
      d->BatchBegin(0);
      d->RenderStateSet(4, 12);
      Q3DScreenQuad& q = g_oOverlayQuad;
      q.aiRect[0] = it->aiCoord[0];
      q.aiRect[1] = it->aiCoord[1];
      q.aiRect[2] = it->aiCoord[2];
      q.aiRect[3] = it->aiCoord[3];
      static const int kCorner[4] = {0, 1, 3, 2};
      for (int k = 0; k < 4; ++k) {
        const int s = kCorner[k];
        q.aColour[k] = Q3DColour{it->aRed[s], it->aGreen[s], it->aBlue[s], it->uAlpha};
      }
      q.uKind = Q3D_QUAD_SHADED;
      d->ScreenQuadDraw(&q, &scene3d_oCamera, 0);
      d->BatchEnd();
      return;
    }
    case PCFRAME_KIND_TRIANGLE: {
      d->BatchBegin(0);
      d->RenderStateSet(4, 12);
      Q3DScreenVertex v[3];
      for (int k = 0; k < 3; ++k) {
        Q3DScreenVertexReset(&v[k]);
        v[k].x = it->aiCoord[2 * k];
        v[k].y = it->aiCoord[2 * k + 1];
        v[k].oColour = Q3DColour{it->aRed[0], it->aGreen[0], it->aBlue[0], it->uAlpha};
      }
      d->VertexListDraw(v, 3, &scene3d_oCamera, 0);
      d->BatchEnd();
      return;
    }
    default:
      return;  // sprites, circles, lines and backdrop sprites belong to the 2D display
  }
}

// The draw list, layers from the highest priority number to the lowest.
void OverlayDraw(Q3DDevice* d, const FramePacket* p) {
  const DrawLayer* last = p->poFirstLayer;
  while (last != nullptr && last->pNext != nullptr) last = last->pNext;
  for (const DrawLayer* l = last; l != nullptr; l = l->pPrev)
    for (const DrawItem* it = l->poFirstItem; it != nullptr; it = it->pNext) OverlayItem(d, it);
}

// The marker groups drawn with the ground: rings, spots, arrows, the
// ball-ground cross, (hardware) the quad, and the aim arrow's shadow.
void MarkersDraw(Scene3D* s, bool hardware) {
  for (MarkerRing* m : s->apoRings)
    if (m != nullptr) m->Draw();
  for (MarkerCrosshair* m : s->apoSpots)
    if (m != nullptr) m->Draw();
  for (MarkerArrow* m : s->apoArrows)
    if (m != nullptr) m->Draw();
  if (s->poBallCross != nullptr) s->poBallCross->Draw();
  if (hardware && s->poQuadMarker != nullptr) s->poQuadMarker->Draw();
  if (s->poAimMarker != nullptr) s->poAimMarker->ShadowDraw();
}

float Metres(int32_t v) { return static_cast<float>(v * SCENE3D_METRES_PER_UNIT); }

// The packet's markers to the scene's marker objects, in packet order.
void MarkersPlace(Scene3D* s, const FramePacket* p) {
  const int32_t n = std::min<int32_t>(p->aiSnapshotCounts[PCFRAME_COUNT_MARKERS], PCFRAME_MARKERS_MAX);
  for (int32_t i = 0; i < n; ++i) {
    const PacketMarker& m = p->aoMarkers[i];
    const int32_t u = m.uIndex & 3;
    const float x = Metres(m.aiCoord[0]), z = Metres(m.aiCoord[2]);
    switch (m.iKind) {
      case PCFRAME_MARKER_SPOT:
        if (s->apoSpots[u] != nullptr) s->apoSpots[u]->Place(x, z);
        break;
      case PCFRAME_MARKER_ARROW:
        if (s->apoArrows[u] != nullptr)
          s->apoArrows[u]->Place(x, z, static_cast<uint16_t>(static_cast<int32_t>(m.dAngle * 180.0 / 3.14159265358979 * 65536.0 / 360.0)));
        break;
      case PCFRAME_MARKER_RING:
        if (s->apoRings[u] != nullptr && m.poPlayer != nullptr)
          s->apoRings[u]->Place(Metres(m.poPlayer->x), Metres(m.poPlayer->y), m.iValue);
        break;
      case PCFRAME_MARKER_AIM:
        if (s->poAimMarker != nullptr) {
          s->poAimMarker->Place(x, z, static_cast<uint16_t>(m.auValue[0]), static_cast<uint16_t>(m.auValue[1]));
          if (scene3d_poSortList != nullptr) {
            s->poAimMarker->ViewPositionCompute();
            scene3d_poSortList->Add(s->poAimMarker, s->poAimMarker->oViewPosition.z);
          }
        }
        break;
      case PCFRAME_MARKER_BALL_GROUND:
        if (s->poBallCross != nullptr) s->poBallCross->Place(x, z);
        break;
      case PCFRAME_MARKER_USER:
        if (s->apoUsers[u] != nullptr) s->apoUsers[u]->Place(x, z);
        break;
      case PCFRAME_MARKER_QUAD:
        if (s->poQuadMarker != nullptr) {
          float c[12];
          for (int k = 0; k < 4; ++k) {
            c[3 * k] = Metres(m.aiCoord[3 * k]);
            c[3 * k + 1] = Metres(m.aiCoord[3 * k + 1]);
            c[3 * k + 2] = Metres(m.aiCoord[3 * k + 2]);
          }
          s->poQuadMarker->Place(c, m.iValue);
        }
        break;
      default:
        break;
    }
  }
}

// The ball's paths into the nets: slot 1's entry first (the goal at +x),
// then slot 0's.
void NetsUpdate(FramePacket* p) {
  for (int32_t e = 0; e < PCFRAME_TRAILS; ++e) {
    PacketTrail& t = p->aoTrails[e];
    GoalNet* g = goals_apoNets[e == 0 ? 1 : 0];
    if (g == nullptr) continue;
    if (t.bReplayed == 0) {
      // Its active word does not matter: a newer path is always taken.
      if (t.iStartFrame <= g->iLastTrailFrame) continue;
      g->iLastTrailFrame = t.iStartFrame;
      goalnet_PathApply(g, static_cast<int32_t>(t.uValue), static_cast<uint32_t>(t.iStartFrame), t.afStart, t.afEnd,
                        t.fSpeed);
      t.bActive = 0;
      goalnet_TimeSet(g, 0, 0);
    } else {
      if (t.uValue != 0)
        goalnet_PathApply(g, static_cast<int32_t>(t.uValue), static_cast<uint32_t>(t.iStartFrame), t.afStart,
                          t.afEnd, t.fSpeed);
      goalnet_TimeSet(g, 1, t.iReplayFrame);
    }
  }
}

// The 3D passes, in the order the two kinds of renderer need: the
// z-buffered device lays the ground's light and shadow first and multiplies
// the grass over them; the software device paints back to front. A scene
// whose objects are not loaded yet shows only the background.
void HardwarePass(Q3DDevice* d) {
  Scene3D* s = scene3d_poScene;
  if (s == nullptr || s->poPitch == nullptr) return;
  d->RenderStateSet(2, 0);
  d->RenderStateSet(11, 1);
  s->poPitch->GroundTransform();
  s->poPitch->ShadowDraw();
  players3d_ShadowsDraw(s->poBall != nullptr ? &s->poBall->oCentre : nullptr);
  if (s->poBall != nullptr) s->poBall->Draw();
  s->poPitch->Draw();
  MarkersDraw(s, true);
  d->RenderStateSet(2, 0);
  d->RenderStateSet(11, 1);
  if (s->poStadium != nullptr) s->poStadium->Draw();
  players3d_DrawHardware();
  s->poPitch->CornerFlagsDraw();
  if (s->poAimMarker != nullptr) s->poAimMarker->Draw();
  if (s->poBall != nullptr) s->poBall->Draw();
  for (GoalNet* g : goals_apoNets) goalnet_ViewUpdate(g);
  for (GoalNet* g : goals_apoNets)
    if (g != nullptr) g->Draw();
}

void SoftwarePass(Q3DDevice* d) {
  Scene3D* s = scene3d_poScene;
  // The stadium never covers the whole sky: the frame starts from the
  // background colour.
  d->Clear();
  if (s != nullptr && s->poPitch != nullptr) {
    d->RenderStateSet(2, 0);
    s->poPitch->GroundTransform();
    s->poPitch->Draw();
    players3d_ShadowsDraw(s->poBall != nullptr ? &s->poBall->oCentre : nullptr);
    if (s->poBall != nullptr) s->poBall->Draw();
    MarkersDraw(s, false);
    if (s->poStadium != nullptr) s->poStadium->DrawSoftware();
    s->poPitch->CornerFlagsSort(scene3d_poSortList);
    for (GoalNet* g : goals_apoNets) goalnet_ViewUpdate(g);
    for (GoalNet* g : goals_apoNets) goalnet_DrawSoftware(g, scene3d_poSortList);
  }
  if (scene3d_poSortList != nullptr) {
    scene3d_poSortList->Sort();
    scene3d_poSortList->DrawAll();
  }
  if (s != nullptr && s->poQuadMarker != nullptr) s->poQuadMarker->Draw();
}

}  // namespace

std::int32_t scene3d_bDrawsMatch() { return scene3d_poDevice != nullptr && scene3d_bBuilt != 0 ? 1 : 0; }

std::int32_t scene3d_DrawFrame() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr) return 0;
  FramePacket* p = pcframe_poTake();
  if (p == nullptr) return 0;
  const bool cameraValid = p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] != 0;
  if (!scene3d_bFirstFrame) {
    d->SceneBegin();
    if (cameraValid && scene3d_poScene != nullptr) {
      const Q3DColour& c = scene3d_poScene->oBackground;
      d->BackgroundSet(c.r, c.g, c.b, c.a);
      scene3d_bFirstFrame = 1;
    } else {
      d->BackgroundSet(0, 0, 0, 0);
      d->Clear();
    }
    d->Present(1);
    return 0;
  }
  for (int32_t& c : scene3d_aiDetailCount) c = 0;
  if (cameraValid) scene3d_CameraFromPacket(p->oCamera.aiEye, p->oCamera.aafRotation);
  if (scene3d_bSoftware && scene3d_poSortList != nullptr) scene3d_poSortList->Reset();
  Scene3D* s = scene3d_poScene;
  if (s != nullptr && s->poBall != nullptr && p->aiSnapshotCounts[PCFRAME_COUNT_BALL] != 0) {
    s->poBall->Update(p->oBall);
    s->poBall->ViewPositionCompute();
    if (scene3d_poSortList != nullptr) scene3d_poSortList->Add(s->poBall, s->poBall->oViewPosition.z);
  }
  players3d_FrameUpdate(p);
  NetsUpdate(p);
  if (s != nullptr) MarkersPlace(s, p);
  d->SceneBegin();
  if (scene3d_bSoftware) SoftwarePass(d);
  else HardwarePass(d);
  d->SceneEnd();
  d->RenderStateSet(11, 0);
  if (s != nullptr)
    for (MarkerUserPointer* m : s->apoUsers)
      if (m != nullptr) m->Draw();
  OverlayDraw(d, p);
  d->RenderStateSet(11, 1);
  d->Present(scene3d_bSoftware ? 0 : 1);
  return 1;
}
