// The display area, common to both backends: mode list assembly, frame
// conversion, capture and the dispatch to the backend.
#include "platform/display.h"
#include "platform/tempfiles.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <cstring>

#include "platform/display_internal.h"
#include "platform/headless/script.h"
#include "platform/internal.h"

namespace platform {
namespace {

bool g_open = false;
int g_openWidth = 0, g_openHeight = 0;
bool g_openFullScreen = false;
uint64_t g_presents = 0;
std::string g_capturePath;
// The headless backend keeps a copy of the last frame, converted on demand.
bool g_keepLast = false;
std::vector<uint8_t> g_lastPixels;
uint32_t g_lastPalette[256];
Frame g_last;

const internal::DisplayBackend& backend() {
  return internal::backend() == BackendKind::Sdl ? internal::kSdlDisplay : internal::kHeadlessDisplay;
}

void onCapture(const std::string& path) { displayCaptureNext(path); }

// The script's "display-state" prints how the display is open.
void runDisplayState(const headless::ScriptLine&) {
  std::printf("%s", displayStateText().c_str());
  std::fflush(stdout);
}

// The capture command of the headless script writes the next frame.
struct CaptureRegistrar {
  CaptureRegistrar() {
    headless::setCaptureHandler(onCapture);
    headless::registerScriptCommand("display-state", 0, 0, nullptr, runDisplayState);
  }
} g_captureRegistrar;

uint64_t Fnv(const std::string& s, uint64_t h) {
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace

std::vector<DisplayMode> displayModes() {
  std::vector<DisplayMode> raw = backend().modes();
  std::vector<DisplayMode> out;
  auto add = [&](DisplayMode m) {
    if (m.width <= 0 || m.height <= 0 || m.bits <= 0) return;
    for (const DisplayMode& o : out)
      if (o.width == m.width && o.height == m.height && o.bits == m.bits) return;
    out.push_back(m);
  };
  for (const DisplayMode& m : raw) {
    add(m);
    add(DisplayMode{m.width, m.height, 16});
  }
  add(DisplayMode{640, 480, 16});
  return out;
}

DisplayMode desktopMode() { return backend().desktop(); }

void displayIdentifier(uint8_t out[16]) {
  DisplayMode d = desktopMode();
  char size[32];
  std::snprintf(size, sizeof size, "|%dx%d", d.width, d.height);
  std::string key = displayDriverName();
  key.append(size);
  uint64_t a = Fnv(key, 14695981039346656037ull);
  uint64_t b = Fnv(key + "#", 0x84222325CBF29CE4ull);
  for (int i = 0; i < 8; ++i) {
    out[i] = static_cast<uint8_t>(a >> (8 * i));
    out[8 + i] = static_cast<uint8_t>(b >> (8 * i));
  }
}

std::string displayDriverName() { return backend().driverName(); }
std::string displayRendererName() { return backend().rendererName(); }

bool displayOpen(Window* window, int width, int height, bool fullScreen) {
  if (!window || width <= 0 || height <= 0) return false;
  g_open = backend().open(window, width, height, fullScreen);
  g_openWidth = g_open ? width : 0;
  g_openHeight = g_open ? height : 0;
  g_openFullScreen = g_open && fullScreen;
  return g_open;
}

void displayClose() {
  if (g_open) backend().close();
  g_open = false;
  g_openWidth = g_openHeight = 0;
  g_openFullScreen = false;
}

bool displayIsOpen() { return g_open; }

std::string displayStateText() {
  char line[96];
  std::snprintf(line, sizeof line, "display open=%d size=%dx%d full-screen=%d\n", g_open ? 1 : 0, g_openWidth,
                g_openHeight, g_openFullScreen ? 1 : 0);
  return line;
}

bool displayPresent(const Frame& frame) {
  if (!g_open || !frame.pixels || frame.width <= 0 || frame.height <= 0) return false;
  if (frame.layout == PixelLayout::Indexed8 && !frame.palette) return false;
  bool ok = backend().present(frame);
  if (ok) ++g_presents;
  if (!g_capturePath.empty()) {
    std::vector<uint8_t> rgb;
    frameToRgb(frame, &rgb);
    if (!writeRgbTga(g_capturePath, rgb, frame.width, frame.height))
      std::fprintf(stderr, "korvena: cannot write the captured frame to %s\n", g_capturePath.c_str());
    g_capturePath.clear();
  }
  if (internal::backend() == BackendKind::Headless) {
    size_t rowBytes = static_cast<size_t>(frame.width) *
                      (frame.layout == PixelLayout::Indexed8 ? 1
                       : frame.layout == PixelLayout::Rgb888 ? 3
                       : frame.layout == PixelLayout::Xrgb8888 ? 4 : 2);
    g_lastPixels.resize(rowBytes * frame.height);
    for (int y = 0; y < frame.height; ++y)
      std::memcpy(g_lastPixels.data() + rowBytes * y,
                  static_cast<const uint8_t*>(frame.pixels) + static_cast<size_t>(y) * frame.pitch, rowBytes);
    if (frame.palette) std::memcpy(g_lastPalette, frame.palette, sizeof g_lastPalette);
    g_last = frame;
    g_last.pixels = g_lastPixels.data();
    g_last.pitch = static_cast<int>(rowBytes);
    g_last.palette = frame.palette ? g_lastPalette : nullptr;
    g_keepLast = true;
  }
  return ok;
}

uint64_t displayPresentCount() { return g_presents; }

bool displayLastFrame(std::vector<uint8_t>* rgb, int* width, int* height) {
  if (!g_keepLast) return false;
  if (rgb) frameToRgb(g_last, rgb);
  if (width) *width = g_last.width;
  if (height) *height = g_last.height;
  return true;
}

void displayCaptureNext(const std::string& path) { g_capturePath = path; }

void frameToRgb(const Frame& f, std::vector<uint8_t>* rgb) {
  rgb->resize(static_cast<size_t>(f.width) * f.height * 3);
  uint8_t* out = rgb->data();
  for (int y = 0; y < f.height; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(f.pixels) + static_cast<size_t>(y) * f.pitch;
    for (int x = 0; x < f.width; ++x, out += 3) {
      uint32_t r = 0, g = 0, b = 0;
      switch (f.layout) {
        case PixelLayout::Indexed8: {
          uint32_t c = f.palette[row[x]];
          r = (c >> 16) & 0xFF;
          g = (c >> 8) & 0xFF;
          b = c & 0xFF;
          break;
        }
        case PixelLayout::Rgb565: {
          uint32_t v = row[x * 2] | (row[x * 2 + 1] << 8);
          r = ((v >> 11) & 31) * 255 / 31;
          g = ((v >> 5) & 63) * 255 / 63;
          b = (v & 31) * 255 / 31;
          break;
        }
        case PixelLayout::Rgb555: {
          uint32_t v = row[x * 2] | (row[x * 2 + 1] << 8);
          r = ((v >> 10) & 31) * 255 / 31;
          g = ((v >> 5) & 31) * 255 / 31;
          b = (v & 31) * 255 / 31;
          break;
        }
        case PixelLayout::Rgb888:
          b = row[x * 3];
          g = row[x * 3 + 1];
          r = row[x * 3 + 2];
          break;
        case PixelLayout::Xrgb8888:
          b = row[x * 4];
          g = row[x * 4 + 1];
          r = row[x * 4 + 2];
          break;
      }
      out[0] = static_cast<uint8_t>(r);
      out[1] = static_cast<uint8_t>(g);
      out[2] = static_cast<uint8_t>(b);
    }
  }
}

bool writeRgbTga(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
      rgb.size() < static_cast<size_t>(width) * height * 3)
    return false;
  std::string tmp = temporaryPathFor(path);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                        static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 24, 0x20};
  bool ok = std::fwrite(header, 1, 18, f) == 18;
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int y = 0; y < height && ok; ++y) {
    const uint8_t* src = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = src[x * 3 + 2];
      row[x * 3 + 1] = src[x * 3 + 1];
      row[x * 3 + 2] = src[x * 3];
    }
    ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace platform

namespace platform::internal {

RendererChoice rendererChoiceFromEnvironment(const char* value) {
  if (value && std::strcmp(value, "software") == 0) return RendererChoice::Software;
  if (value && std::strcmp(value, "accelerated") == 0) return RendererChoice::Accelerated;
  return RendererChoice::Automatic;
}

bool glRendererIsSoftware(const char* glRenderer) {
  if (!glRenderer || !*glRenderer) return true;
  std::string name(glRenderer);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* soft : {"llvmpipe", "softpipe", "software", "swrast", "lavapipe"})
    if (name.find(soft) != std::string::npos) return true;
  return false;
}

}  // namespace platform::internal
