// The SDL backend's display: a renderer on the main window and a streaming
// texture in the frame's own format, scaled to the window.
#include <SDL.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/display_internal.h"
#include "platform/internal.h"
#include "platform/sdl/sdl_events.h"

namespace platform::internal {
namespace {

constexpr int kProbeHardware = 42;

struct SdlDisplay {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  Uint32 textureFormat = 0;
  int textureWidth = 0;
  int textureHeight = 0;
  bool fullScreen = false;
  std::vector<uint32_t> convert;   // 8-bit and 24-bit frames become 32-bit pixels
} g_sdl;

void dropTexture() {
  if (g_sdl.texture) SDL_DestroyTexture(g_sdl.texture);
  g_sdl.texture = nullptr;
  g_sdl.textureFormat = 0;
}

void dropRenderer() {
  dropTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  g_sdl.renderer = nullptr;
  g_sdl.window = nullptr;
}

std::vector<DisplayMode> sdlModes() {
  std::vector<DisplayMode> out;
  int n = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < n; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
    int bits = static_cast<int>(SDL_BITSPERPIXEL(m.format));
    if (bits == 24 && SDL_BYTESPERPIXEL(m.format) == 4) bits = 32;
    out.push_back(DisplayMode{m.w, m.h, bits});
  }
  SDL_DisplayMode d;
  if (SDL_GetDesktopDisplayMode(0, &d) == 0) out.push_back(DisplayMode{d.w, d.h, 32});
  return out;
}

DisplayMode sdlDesktop() {
  SDL_DisplayMode d;
  if (SDL_GetDesktopDisplayMode(0, &d) != 0) return DisplayMode{640, 480, 16};
  return DisplayMode{d.w, d.h, 16};
}

std::string sdlDriverName() {
  const char* v = SDL_GetCurrentVideoDriver();
  const char* n = SDL_GetDisplayName(0);
  return std::string(v ? v : "sdl") + ":" + (n ? n : "display 0");
}

std::string sdlRendererName() {
  SDL_RendererInfo info;
  if (g_sdl.renderer && SDL_GetRendererInfo(g_sdl.renderer, &info) == 0) return info.name;
  return "none";
}

// An accelerated renderer drawn by a software OpenGL driver (no graphics
// hardware: Xvfb, remote desktops, virtual machines) costs several times the
// CPU and memory of SDL's own software renderer.
bool rendererRunsInSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0) return true;
  if (info.flags & SDL_RENDERER_SOFTWARE) return true;
  if (!info.name || std::strncmp(info.name, "opengl", 6) != 0) return false;
  using GetString = const unsigned char* (*)(unsigned int);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!getString) return false;
  const unsigned char* name = getString(0x1F01);  // GL_RENDERER
  return glRendererIsSoftware(name ? reinterpret_cast<const char*>(name) : nullptr);
}

// The question is asked once, by a copy of the game started for it alone
// (KORVENA_GL_PROBE, answered in sdlStartVideo): a software OpenGL driver
// keeps tens of megabytes of a process that has once opened it.
bool graphicsHardwareDraws() {
  static int answer = -1;
  if (answer >= 0) return answer == 1;
  answer = 0;
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "KORVENA_SCRIPT=", 15) != 0) env.emplace_back(*e);
  env.emplace_back("KORVENA_GL_PROBE=1");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  char name[] = "korvena";
  char* argv[] = {name, nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, envp.data()) != 0) return false;
  int status = 0;
  for (int waited = 0;; waited += 10) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return false;
    if (waited >= 5000) {  // a driver that hangs answers "no"
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    SDL_Delay(10);
  }
  answer = WIFEXITED(status) && WEXITSTATUS(status) == kProbeHardware ? 1 : 0;
  return answer == 1;
}

bool ensureRenderer() {
  SDL_Window* sw = sdl::mainSdlWindow();
  if (!sw) return false;
  if (g_sdl.renderer && g_sdl.window == sw) return true;
  // The window was replaced (or never had a renderer): start again.
  if (g_sdl.window != sw) {
    g_sdl.texture = nullptr;
    g_sdl.renderer = nullptr;
  }
  g_sdl.window = sw;
  const RendererChoice choice = rendererChoiceFromEnvironment(std::getenv("KORVENA_RENDERER"));
  if (choice == RendererChoice::Accelerated || (choice == RendererChoice::Automatic && graphicsHardwareDraws()))
    g_sdl.renderer = SDL_CreateRenderer(sw, -1, SDL_RENDERER_ACCELERATED);
  if (!g_sdl.renderer) {
    // Frames go straight to the window's own surface, never through a
    // texture of another renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    g_sdl.renderer = SDL_CreateRenderer(sw, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!g_sdl.renderer) {
    g_sdl.window = nullptr;
    return false;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  return true;
}

bool sdlOpen(Window* window, int width, int height, bool fullScreen) {
  SDL_Window* sw = sdl::mainSdlWindow();
  if (!sw) return false;
  g_sdl.fullScreen = fullScreen;
  if (fullScreen) {
    SDL_SetWindowFullscreen(sw, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(sw, 0);
    SDL_SetWindowBordered(sw, SDL_TRUE);
    SDL_SetWindowResizable(sw, SDL_TRUE);
    int x = window->x, y = window->y;
    if (x <= 0 && y <= 0) x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
    ops().windowPlace(window, x, y, width, height);
    SDL_GetWindowPosition(sw, &window->x, &window->y);
  }
  if (!ensureRenderer()) return false;
  // Full screen keeps the frame's shape; windowed stretches it to the client area.
  if (fullScreen) SDL_RenderSetLogicalSize(g_sdl.renderer, width, height);
  else SDL_RenderSetLogicalSize(g_sdl.renderer, 0, 0);
  return true;
}

void sdlClose() {
  if (g_sdl.window && g_sdl.window == sdl::mainSdlWindow()) {
    if (g_sdl.fullScreen) SDL_SetWindowFullscreen(g_sdl.window, 0);
    dropRenderer();
  } else {
    // The window is gone and its renderer with it.
    g_sdl = SdlDisplay{};
  }
}

bool sdlPresent(const Frame& f) {
  if (!ensureRenderer()) return false;
  Uint32 format = SDL_PIXELFORMAT_RGB888;
  if (f.layout == PixelLayout::Rgb565) format = SDL_PIXELFORMAT_RGB565;
  else if (f.layout == PixelLayout::Rgb555) format = SDL_PIXELFORMAT_RGB555;
  if (!g_sdl.texture || g_sdl.textureFormat != format || g_sdl.textureWidth != f.width ||
      g_sdl.textureHeight != f.height) {
    dropTexture();
    g_sdl.texture = SDL_CreateTexture(g_sdl.renderer, format, SDL_TEXTUREACCESS_STREAMING, f.width, f.height);
    if (!g_sdl.texture) return false;
    g_sdl.textureFormat = format;
    g_sdl.textureWidth = f.width;
    g_sdl.textureHeight = f.height;
  }
  const void* pixels = f.pixels;
  int pitch = f.pitch;
  if (f.layout == PixelLayout::Indexed8 || f.layout == PixelLayout::Rgb888) {
    g_sdl.convert.resize(static_cast<size_t>(f.width) * f.height);
    for (int y = 0; y < f.height; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(f.pixels) + static_cast<size_t>(y) * f.pitch;
      uint32_t* out = g_sdl.convert.data() + static_cast<size_t>(y) * f.width;
      if (f.layout == PixelLayout::Indexed8) {
        for (int x = 0; x < f.width; ++x) out[x] = f.palette[row[x]] & 0xFFFFFFu;
      } else {
        for (int x = 0; x < f.width; ++x)
          out[x] = row[x * 3] | (row[x * 3 + 1] << 8) | (static_cast<uint32_t>(row[x * 3 + 2]) << 16);
      }
    }
    pixels = g_sdl.convert.data();
    pitch = f.width * 4;
  }
  if (SDL_UpdateTexture(g_sdl.texture, nullptr, pixels, pitch) != 0) return false;
  SDL_SetRenderDrawColor(g_sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_sdl.renderer);
  if (SDL_RenderCopy(g_sdl.renderer, g_sdl.texture, nullptr, nullptr) != 0) return false;
  SDL_RenderPresent(g_sdl.renderer);
  return true;
}

}  // namespace

int answerGraphicsProbe() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  if (!probe) return 0;
  int code = 0;
  if (SDL_Renderer* r = SDL_CreateRenderer(probe, -1, SDL_RENDERER_ACCELERATED)) {
    code = rendererRunsInSoftware(r) ? 0 : kProbeHardware;
    SDL_DestroyRenderer(r);
  }
  SDL_DestroyWindow(probe);
  return code;
}

const DisplayBackend kSdlDisplay = {sdlModes, sdlDesktop, sdlDriverName, sdlRendererName,
                                    sdlOpen,  sdlClose,   sdlPresent};

}  // namespace platform::internal
