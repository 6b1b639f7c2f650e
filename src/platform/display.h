#pragma once
// Presentation of the game's back buffer: a 16-bit (5-6-5 or 5-5-5), 8-bit
// paletted, 24-bit or 32-bit frame shown in the main window, scaled to it,
// windowed or full screen; the list of display modes; frame capture as TGA
// images (the headless backend keeps every presented frame for tests).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Window;

enum class PixelLayout : uint8_t {
  Indexed8,   // one byte a pixel, through a palette of 256 0x00RRGGBB words
  Rgb565,     // u16: red 15-11, green 10-5, blue 4-0
  Rgb555,     // u16: red 14-10, green 9-5, blue 4-0
  Rgb888,     // 3 bytes: blue, green, red
  Xrgb8888,   // u32: 0x00RRGGBB
};

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bits = 0;
};

struct Frame {
  const void* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;                       // bytes from one row to the next
  PixelLayout layout = PixelLayout::Rgb565;
  const uint32_t* palette = nullptr;   // Indexed8 only: 256 entries 0x00RRGGBB
};

// The modes the display can be opened in: each of the desktop's modes, each
// desktop size again at 16 bits (frames of any depth are converted when shown)
// and 640 x 480 x 16 always. No duplicates; in no particular order.
std::vector<DisplayMode> displayModes();
// The desktop's size; its depth is given as 16, the depth the game draws in.
DisplayMode desktopMode();
// 16 bytes that name the display hardware and its driver; they change when
// either changes.
void displayIdentifier(uint8_t out[16]);
// Names of the video driver and of the renderer that presents (for logs).
std::string displayDriverName();
std::string displayRendererName();

// Starts presenting in the main window: full screen (the frame scaled to the
// screen, its shape kept), or windowed with a resizable framed window whose
// client area is width x height. Called again to change size or mode.
bool displayOpen(Window* window, int width, int height, bool fullScreen);
void displayClose();
bool displayIsOpen();
// How the display was last opened: "display open=0|1 size=<w>x<h>
// full-screen=0|1" and a newline (the headless script's "display-state"
// prints it).
std::string displayStateText();

// Shows one frame, scaled to the whole client area (full screen: the largest
// area of the frame's shape). False when nothing could be shown.
bool displayPresent(const Frame& frame);
uint64_t displayPresentCount();

// The last presented frame as 24-bit pixels (red, green, blue bytes, top row
// first). Kept by the headless backend; false on SDL or before any present.
bool displayLastFrame(std::vector<uint8_t>* rgb, int* width, int* height);
// Writes the next presented frame as a 24-bit TGA file at the path (the
// headless script's "capture" command calls it).
void displayCaptureNext(const std::string& path);
// Converts a frame to 24-bit RGB (red, green, blue bytes, top row first).
void frameToRgb(const Frame& frame, std::vector<uint8_t>* rgb);
// Writes 24-bit RGB pixels as an uncompressed TGA file; false on failure.
bool writeRgbTga(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);

}  // namespace platform
