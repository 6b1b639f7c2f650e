#pragma once
// The match scene: the renderer device and camera of a match, the frame
// drawn from the frame packet, and the scene's lights and kit colours.
//
// The match start calls scene3d_Init (the 2D display goes down and the
// chosen renderer comes up); the match state calls scene3d_DrawFrame after
// its ticks and scene3d_Shutdown when it is left.
#include <cstdint>

#include "framework/math/qmath_types.h"
#include "render3d/q3d.h"
#include "render3d/sortlist.h"
#include "scene3d/scene3d_services.h"

// World units (quarter inches) to metres.
constexpr double SCENE3D_METRES_PER_UNIT = 0.006350077216938958;

enum { SCENE3D_DETAIL_LEVELS = 5, SCENE3D_LIGHTS_MAX = 4, SCENE3D_KIT_COLOURS = 12 };

class SceneLight {
 public:
  explicit SceneLight(int32_t iKind);
  ~SceneLight() = default;
  void PositionSet(const QMathVec3* p) { oPosition = *p; }
  void PositionGet(QMathVec3* p) const { *p = oPosition; }
  void DirectionSet(const QMathVec3* p) { oDirection = *p; }
  void DirectionGet(QMathVec3* p) const { *p = oDirection; }
  void Value1Set(float f) { fValue1 = f; }
  float Value1Get() const { return fValue1; }
  void Value2Set(float f) { fValue2 = f; }
  float Value2Get() const { return fValue2; }

  int32_t iKind;
  QMathVec3 oPosition;
  QMathVec3 oDirection;
  float fValue1;
  float fValue2;
};

class Pitch3D;
class Stadium3D;
class BallObject;
class MarkerRing;
class MarkerCrosshair;
class MarkerArrow;
class MarkerUserPointer;
class MarkerBallCross;
class MarkerAimArrow;
class MarkerQuad;

// The scene object. The pitch, stadium, goals, nets, ball, markers and
// player objects are made by the loading steps; a null object is skipped.
struct Scene3D {
  Scene3D();
  ~Scene3D();
  Scene3D(const Scene3D&) = delete;
  Scene3D& operator=(const Scene3D&) = delete;
  // The match's resources (a loading step): detail, environment, colour
  // mode, background, lights and the player shadow texture.
  void Load();

  Q3DImageTexture* poShadowTexture;
  Q3DMaterial* poShadowMaterial;
  uint8_t bNight;
  uint8_t uStadiumLook;
  uint8_t cLights;
  SceneLight* apoLights[SCENE3D_LIGHTS_MAX];
  Q3DColour oBackground;
  float fDetailScale;  // percent
  BallObject* poBall = nullptr;
  MarkerRing* apoRings[4] = {};
  MarkerCrosshair* apoSpots[4] = {};
  MarkerArrow* apoArrows[4] = {};
  MarkerUserPointer* apoUsers[4] = {};
  MarkerBallCross* poBallCross = nullptr;
  MarkerAimArrow* poAimMarker = nullptr;
  MarkerQuad* poQuadMarker = nullptr;
  Pitch3D* poPitch = nullptr;
  Stadium3D* poStadium = nullptr;
  // The marker objects (a loading step) and the ball (another), freed again.
  void MarkersCreate();
  void MarkersFree();
  void BallCreate();
};

extern Scene3D* scene3d_poScene;
extern Q3DCamera scene3d_oCamera;
extern QMathVec3 scene3d_oCameraPosition;  // metres
extern QMathMatrix scene3d_mMirror;
extern SortList* scene3d_poSortList;        // software renderer only
extern int32_t scene3d_bFirstFrame;
extern int32_t scene3d_bSoftware;
extern int32_t scene3d_aiDetailCount[SCENE3D_DETAIL_LEVELS];
extern Q3DTexture* scene3d_apoFont[2];
extern Q3DSpriteSheet* scene3d_poSpriteSheet;
extern uint32_t scene3d_uScreenWidth;
extern uint32_t scene3d_uScreenHeight;
extern const Q3DColour scene3d_aoKitColours[SCENE3D_KIT_COLOURS];

// Brings the scene up on a device already created and initialised (the
// part of scene3d_Init after the renderer is chosen); tests hand in theirs.
void scene3d_StartOnDevice(Q3DDevice* poDevice, int32_t bSoftware, uint32_t uWidth, uint32_t uHeight);
// Frees the scene and forgets the device without closing it (the part of
// scene3d_Shutdown before the device goes).
void scene3d_StopOnDevice();
// The two match fonts of the current renderer as device textures (freed
// first when loaded), and freed again (font 0 selected).
void scene3d_FontsLoad();
void scene3d_FontsFree();
// The renderer's sprite sheet "images\sprites.tga"; 0 when it cannot be made
// (sheet sprites are then not drawn).
int32_t scene3d_bSpriteSheetCreate();
// An image file (full game path) as a device texture; null when the device
// cannot load it.
Q3DTexture* scene3d_poTextureLoad(const char* pszPath);
// The packet's eye (world units) and rotation rows into the world-to-view
// matrix and the camera.
void scene3d_CameraFromPacket(const int32_t aiEye[3], const float aafRotation[3][4]);
