#pragma once
// The frame packet: the one hand-off from the game logic to drawing. Each
// rendered frame the logic queues its overlay drawing as a draw list of
// prioritised items (sprites, text, lines, circles, boxes, sheet sprites,
// triangles); the front end draws the list into the 2D display with
// pcframe_Render, a match draws it after the 3D scene.
//
// Layers hold the items of one priority and are kept in ascending priority;
// within a layer the most recently added item comes first. Lower priority
// numbers are drawn last, that is over the higher ones.
#include <cstdint>

struct QDLFrame;

// Kinds of draw item, one bit each.
enum : uint32_t {
  PCFRAME_KIND_SPRITE = 1,
  PCFRAME_KIND_TEXT = 2,
  PCFRAME_KIND_SHEET_SPRITE = 4,
  PCFRAME_KIND_CIRCLE = 8,
  PCFRAME_KIND_LINE = 16,
  PCFRAME_KIND_BOX = 32,
  PCFRAME_KIND_SHADED_BOX = 64,
  PCFRAME_KIND_BACKDROP_SPRITE = 128,
  PCFRAME_KIND_TRIANGLE = 256,
};

enum : int32_t {
  PCFRAME_LAYERS_MAX = 256,
  PCFRAME_ITEMS_MAX = 512,
  // The text pool holds every text item of one frame with its terminator
  // (the history news pages print some 2,000 characters a frame).
  // Characters are copied while the pool holds fewer than
  // PCFRAME_TEXT_COPY_LIMIT: a text that reaches it is cut there and
  // terminated (pcframe_iTextCuts counts them).
  PCFRAME_TEXT_POOL_SIZE = 8192,
  PCFRAME_TEXT_COPY_LIMIT = PCFRAME_TEXT_POOL_SIZE - 2,
};

struct DrawItem {
  DrawItem* pNext;
  uint32_t uKind;
  int16_t aiCoord[6];
  const QDLFrame* poFrame;
  uint16_t uFlags;
  const char* pszText;
  uint8_t aRed[4];
  uint8_t aGreen[4];
  uint8_t aBlue[4];
  uint8_t uAlpha;
};

struct DrawLayer {
  DrawLayer* pPrev;
  DrawLayer* pNext;
  DrawItem* poFirstItem;
  int16_t iPriority;
};

struct Player;

// The snapshot half: what the 3D scene shows of one frame.
enum : int32_t {
  PCFRAME_PLAYERS_MAX = 22,  // room per side (at most 11 are written)
  PCFRAME_MARKERS_MAX = 16,
  PCFRAME_TRAILS = 2,
};

// Indexes of the six snapshot counters.
enum : int32_t {
  PCFRAME_COUNT_HOME = 0,
  PCFRAME_COUNT_AWAY = 1,
  PCFRAME_COUNT_MARKERS = 2,
  PCFRAME_COUNT_BALL = 3,
  PCFRAME_COUNT_REFEREE = 4,
  PCFRAME_COUNT_CAMERA = 5,
};

struct PacketPlayer {
  uint32_t uMirror;
  uint32_t uKeeper;       // 1: hand the model's bones back to its side's keeper
  uint32_t uAngles;       // facing (low half) and head angle (high half)
  int32_t iX, iHeight, iY;  // world units
  const void* pAnimation; // motion data of the current animation; null: not drawn
  void* poModel;          // the player's 3D model object
  Player* poPlayer;       // live frames only
  uint32_t uFramePosition;  // 1/64 frame, low half
};

enum : int32_t {
  PCFRAME_MARKER_SPOT = 0,
  PCFRAME_MARKER_ARROW = 1,
  PCFRAME_MARKER_RING = 2,
  PCFRAME_MARKER_AIM = 3,
  PCFRAME_MARKER_BALL_GROUND = 4,
  PCFRAME_MARKER_USER = 5,
  PCFRAME_MARKER_QUAD = 6,
};

struct PacketMarker {
  int32_t iKind;
  uint16_t uIndex;
  int32_t aiCoord[12];   // x, -, y for the point kinds; four corners x, height, y for a quad
  double dAngle;         // arrows, radians
  uint16_t auValue[2];   // aim: direction and length
  int32_t iValue;        // ring: has the ball; quad: the caller's value
  Player* poPlayer;      // ring
};

struct PacketBall {
  int32_t iX, iHeight, iY;  // world units
  float afOrientation[4];   // quaternion x, y, z, w
};

struct PacketCamera {
  int32_t aiEye[3];           // x, height, y in world units
  float aafRotation[3][4];    // rows: x, y, z components of right, up, forward
};

struct PacketTrail {
  float afStart[3];  // metres
  float afEnd[3];
  float fSpeed;
  uint32_t uValue;
  int32_t iStartFrame;
  int32_t iReplayFrame;
  int32_t bActive;
  int32_t bReplayed;  // 0 live, 1 re-added from a stored trail
};

// The draw-list half of the packet, its snapshot counters (home players,
// away players, markers, ball valid, referee valid, camera valid) and the
// snapshot itself.
struct FramePacket {
  DrawLayer* poFirstLayer;
  int16_t iTextLength;
  char acTextPool[PCFRAME_TEXT_POOL_SIZE];
  int16_t cLayersInUse;
  int16_t cItemsInUse;
  uint32_t bReady;
  int32_t aiSnapshotCounts[6];
  PacketPlayer aoHome[PCFRAME_PLAYERS_MAX];
  PacketPlayer aoAway[PCFRAME_PLAYERS_MAX];
  PacketMarker aoMarkers[PCFRAME_MARKERS_MAX];
  PacketPlayer oReferee;
  PacketBall oBall;
  PacketCamera oCamera;
  PacketTrail aoTrails[PCFRAME_TRAILS];  // trail slot 1's entry first, then slot 0's
};

extern FramePacket* pcframe_poCurrent;
// The largest number of items ever in use in one packet.
extern int32_t pcframe_iItemPeak;
// Text items cut short since start-up because the text pool was full.
extern int32_t pcframe_iTextCuts;

void pcframe_Init();
void pcframe_Shutdown();
void pcframe_Begin();
void pcframe_NodesRelease();
void pcframe_SnapshotClear();
FramePacket* pcframe_poTake();
int32_t pcframe_bReadyGet();
void pcframe_ReadyClear();
DrawItem* pcframe_poItemNew(int16_t iPriority);
void pcframe_ScreenClearSet(int32_t iFlag);
int32_t pcframe_ScreenClearGet();
void pcframe_ScreenClear();
uint8_t pcframe_CharRemap(uint8_t c);
int32_t pcframe_Render();

// The adders: 1 when the item was added, 0 when the display condition fails,
// the packet is not ready or a pool is empty.
int32_t pcframe_AddSprite(int32_t x, int32_t y, int32_t iPriority, const QDLFrame* poFrame, uint32_t uFlags);
int32_t pcframe_AddText(int32_t x, int32_t y, int32_t iPriority, uint8_t r, uint8_t g, uint8_t b, const char* pszText,
                        int32_t iFont, int32_t bRemap, int32_t iAlign);
int32_t pcframe_AddSheetSprite(int32_t x, int32_t y, int32_t iPriority, int32_t iFrame);
int32_t pcframe_AddCircle(int32_t x, int32_t y, int32_t iPriority, int32_t iRadius, uint8_t r, uint8_t g, uint8_t b,
                          uint32_t uFlags);
int32_t pcframe_AddLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t iPriority, uint8_t r, uint8_t g,
                        uint8_t b, uint32_t uFlags);
int32_t pcframe_AddBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint8_t r, uint8_t g, uint8_t b,
                       uint8_t uAlpha, uint32_t uFlags);
// Corner colours are four bytes red, green, blue, alpha in that order in
// memory: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31 (made by
// pcframe_uCornerColour).
constexpr uint32_t pcframe_uCornerColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16) |
         (static_cast<uint32_t>(a) << 24);
}
int32_t pcframe_AddShadedBox(int32_t x, int32_t y, int32_t x2, int32_t y2, int32_t iLayer, uint32_t uColour1,
                             uint32_t uColour2, uint32_t uColour3, uint32_t uColour4, uint32_t uFlags);
int32_t pcframe_AddBackdropSprite(int32_t x, int32_t y, int32_t iPriority, int32_t iSheet, int32_t iSprite,
                                  uint32_t uFlags);
int32_t pcframe_AddTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t iLayer,
                            uint8_t r, uint8_t g, uint8_t b, uint8_t uAlpha, uint32_t uFlags);

// The 3D display's up flag, set by the match scene's set-up and cleared by
// its shut-down; sprites, circles and backdrop sprites are 2D-only items and
// sheet sprites 3D-only.
extern int32_t scene3d_bDisplay3DUp;
