#pragma once
// The renderer choice and the renderer libraries: which of the three
// renderers draws the match, and loading its library by DLL name.
#include <cstdint>

#include "render3d/q3d.h"

// Handed to the Glide device's Initialise.
struct VidGlideBlock {
  void* pWindow;            // the main window
  uint32_t uMatchWord;      // cleared before each match
  uint32_t bProbe;          // 1 while probing
  uint32_t bHardwareFound;  // set by the device
};

extern VidGlideBlock vidselect_oGlideBlock;
// The probe's Direct3D candidate: the first device with a hardware
// description, and its 640 x 480 x 16 mode.
extern uint32_t vidselect_bDirect3DCapable;
extern uint32_t vidselect_uD3DDevice;
extern uint32_t vidselect_uD3DMode;
// The 3D display's size, set by vidselect_SetScreenSize.
extern uint32_t vidselect_uScreenWidth;
extern uint32_t vidselect_uScreenHeight;

// Start-up probe: 1 success, 0 failure (no display or no 640 x 480 x 16).
std::int32_t vidselect_bProbeRenderers();
// Why the last probe failed, as a sentence for the player ("" after one that
// succeeded).
const char* vidselect_pszProbeFailure();
// Before a match's 3D display opens: the screen size and the display
// context's device, mode and mode flags for the chosen renderer.
void vidselect_SetScreenSize();

// Loads the library, keeps its handle and returns what its "CreateDevice"
// returns when called with 0; null when it cannot be loaded or has no such
// export (the library is then freed again). A library still kept from an
// earlier call is freed first.
Q3DDevice* Q3DDeviceCreate(const char* pDllName);
// Frees the kept library once and forgets it.
void Q3DDeviceUnload();
// Whether a library is kept (tests).
uint32_t Q3DDeviceLoaded();
