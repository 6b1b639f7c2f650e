#pragma once
// The device layer: the renderers the build provides, one record each, with
// the display modes each may be opened in, cached in the file "dxinfo.bin"
// in the working directory.
#include <cstdint>
#include <cstdio>

#include "display/q2dx.h"

// Render depth flags.
enum : uint32_t {
  QDL_DDBD_1 = 0x4000,
  QDL_DDBD_2 = 0x2000,
  QDL_DDBD_4 = 0x1000,
  QDL_DDBD_8 = 0x800,
  QDL_DDBD_16 = 0x400,
  QDL_DDBD_24 = 0x200,
  QDL_DDBD_32 = 0x100,
};

// What a renderer reports of itself (the device description).
struct QDLDeviceDesc {
  uint32_t colourModel;          // non-zero for a hardware description
  uint32_t deviceRenderBitDepth; // QDL_DDBD_* flags
  uint32_t deviceZBufferBitDepth;
  uint32_t textureCaps;          // 0x1 perspective-correct, 0x20 square textures only
  uint32_t maxTextureWidth;
  uint32_t maxTextureHeight;
  uint32_t minTextureWidth;
  uint32_t minTextureHeight;
};

struct QDLDeviceInfo {
  uint8_t guid[16];
  uint32_t driverIndex;
  char name[256];
  char description[256];
  QDLDeviceDesc deviceDesc;
  uint32_t hardware;
  uint32_t perspective;
  uint32_t spare;
  uint32_t zBuffer;
  uint32_t desktop;
  uint32_t modeCount;
  Q2DXMode* modes;
};

// A renderer the build provides, as the enumeration reports it.
struct QDLRendererEntry {
  uint8_t guid[16];
  const char* pName;
  const char* pDescription;
  QDLDeviceDesc hardwareDesc;    // colourModel 0: no hardware description
  QDLDeviceDesc emulationDesc;
};

uint32_t QDLDeviceLayerInit(void* pInstance);
uint32_t QDLDeviceLayerShutdown();
uint32_t QDLDeviceInfoLoad();                 // 0 the file was used, 1 the lists were built anew
uint32_t QDLDeviceInfoRead(FILE* pFile);      // 0 the file matches the live drivers and devices
uint32_t QDLDeviceInfoModesRead(FILE* pFile);
uint32_t QDLDeviceInfoSave();
uint32_t QDLDeviceModesTest();
uint32_t QDLDeviceModesUntested();
uint32_t QDLDeviceModesSafe();
uint32_t QDLDevicesEnumerate();
uint32_t QDLDepthToDDBD(uint32_t bits);
uint32_t QDLDDBDToDepth(uint32_t flag);
// The z-buffer depth nearest 16 among the offered depths (first of equal
// distances), or 0 when none.
uint32_t QDLZBufferFormatPick(const uint32_t* pDepths, uint32_t count);

uint32_t QDLDeviceCount();
QDLDeviceInfo* QDLDeviceGet(uint32_t index);
uint32_t QDLDeviceLastError();
void QDLDeviceLastErrorSet(uint32_t error);

// The file's name ("dxinfo.bin" unless changed, e.g. by tests).
void QDLDeviceInfoFileNameSet(const char* pName);
const char* QDLDeviceInfoFileName();
// The renderers the enumeration reports (the software renderer and the
// z-buffered one unless changed, e.g. by tests). The table must outlive the
// layer.
void QDLDeviceRenderersSet(const QDLRendererEntry* pEntries, uint32_t count);
// What the mode test decides when the mode lists must be built: 1 test the
// modes (the default), 0 keep one safe mode per device.
void QDLDeviceTestChoiceSet(uint32_t runTest);
// Texts of the mode-test question, success and notice (the game points them
// at its language's copies).
void QDLDeviceTestTextsSet(const char* pQuestion, const char* pSuccess, const char* pNotice);
