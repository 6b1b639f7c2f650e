// The SDL backend: a real window, real time, events translated into messages.
#include <SDL.h>

#include <cstdlib>

#include <cstdio>
#include <string>

#include "platform/display_internal.h"
#include "platform/internal.h"
#include "platform/sdl/sdl_events.h"

namespace platform {

namespace internal {
uint64_t realNow();
void realSleep(uint64_t ns);
void realIdleUntil(uint64_t deadlineNs);
}  // namespace internal

namespace sdl {
namespace {
constexpr int kMaxObservers = 16;
struct Observer {
  int id = 0;
  EventObserver fn = nullptr;
  void* user = nullptr;
};
Observer g_observers[kMaxObservers];
int g_nextId = 1;
}  // namespace

int addEventObserver(EventObserver observer, void* user) {
  if (!observer) return 0;
  for (Observer& o : g_observers) {
    if (o.id == 0) {
      o.id = g_nextId++;
      o.fn = observer;
      o.user = user;
      return o.id;
    }
  }
  return 0;
}

void removeEventObserver(int id) {
  for (Observer& o : g_observers)
    if (o.id == id && id != 0) o = Observer{};
}

SDL_Window* mainSdlWindow() {
  Window* w = mainWindow();
  return w ? static_cast<SDL_Window*>(w->native) : nullptr;
}
}  // namespace sdl

bool sdlStartVideo(std::string* why) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    if (why) *why = std::string("Cannot open the display: ") + SDL_GetError();
    return false;
  }
  // A copy of the game started only to ask whether graphics hardware draws
  // an accelerated renderer answers and ends here.
  if (std::getenv("KORVENA_GL_PROBE")) {
    int code = internal::answerGraphicsProbe();
    SDL_Quit();
    std::_Exit(code);
  }
  // The game refuses the screen saver while it runs.
  SDL_DisableScreenSaver();
  return true;
}

void sdlStop() { SDL_Quit(); }

namespace internal {
namespace {

int64_t packXY(int x, int y) { return static_cast<int64_t>((x & 0xFFFF) | ((y & 0xFFFF) << 16)); }

uint64_t mouseFlags(uint32_t state) {
  uint64_t f = 0;
  if (state & SDL_BUTTON_LMASK) f |= kMouseFlagLeft;
  if (state & SDL_BUTTON_RMASK) f |= kMouseFlagRight;
  if (state & SDL_BUTTON_MMASK) f |= kMouseFlagMiddle;
  return f;
}

void translate(const SDL_Event& e) {
  Window* w = mainWindow();
  switch (e.type) {
    case SDL_QUIT:
      queueMessage(kMsgClose, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          queueMessage(kMsgClose, 0, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          queueMessage(kMsgActivateApp, 1, 0);
          queueMessage(kMsgActivate, 1, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          queueMessage(kMsgActivate, 0, 0);
          queueMessage(kMsgActivateApp, 0, 0);
          break;
        case SDL_WINDOWEVENT_MOVED:
          if (w) {
            w->x = e.window.data1;
            w->y = e.window.data2;
          }
          queueMessage(kMsgMove, 0, packXY(e.window.data1, e.window.data2));
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (w) {
            w->width = e.window.data1;
            w->height = e.window.data2;
          }
          queueMessage(kMsgSize, 0, packXY(e.window.data1, e.window.data2));
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          queueMessage(kMsgSize, 1, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          queueMessage(kMsgPaint, 0, 0);
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION:
      queueMessage(kMsgMouseMove, mouseFlags(e.motion.state), packXY(e.motion.x, e.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      uint32_t code = 0;
      if (e.button.button == SDL_BUTTON_LEFT) code = down ? kMsgLeftButtonDown : kMsgLeftButtonUp;
      if (e.button.button == SDL_BUTTON_RIGHT) code = down ? kMsgRightButtonDown : kMsgRightButtonUp;
      if (e.button.button == SDL_BUTTON_MIDDLE) code = down ? kMsgMiddleButtonDown : kMsgMiddleButtonUp;
      if (code) queueMessage(code, mouseFlags(SDL_GetMouseState(nullptr, nullptr)), packXY(e.button.x, e.button.y));
      break;
    }
    default:
      break;
  }
}

void handle(const SDL_Event& e) {
  for (const sdl::Observer& o : sdl::g_observers)
    if (o.id) o.fn(e, o.user);
  translate(e);
}

bool sdlWindowCreate(Window* window, int width, int height) {
  SDL_Window* sw = SDL_CreateWindow("Korvena Football", 0, 0, width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!sw) {
    std::fprintf(stderr, "Korvena Football: cannot create the window: %s\n", SDL_GetError());
    return false;
  }
  window->native = sw;
  return true;
}
void sdlWindowDestroy(Window* window) {
  if (window->native) SDL_DestroyWindow(static_cast<SDL_Window*>(window->native));
  window->native = nullptr;
}
void sdlWindowTitle(Window* window, const char* title) {
  SDL_SetWindowTitle(static_cast<SDL_Window*>(window->native), title);
}
void sdlWindowShow(Window* window, bool show) {
  auto* sw = static_cast<SDL_Window*>(window->native);
  if (show) {
    SDL_ShowWindow(sw);
    SDL_RaiseWindow(sw);
  } else {
    SDL_HideWindow(sw);
  }
}
void sdlWindowPlace(Window* window, int x, int y, int width, int height) {
  auto* sw = static_cast<SDL_Window*>(window->native);
  SDL_SetWindowPosition(sw, x, y);
  SDL_SetWindowSize(sw, width, height);
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
}
void sdlWindowFrame(Window* window, bool popup) {
  SDL_SetWindowBordered(static_cast<SDL_Window*>(window->native), popup ? SDL_FALSE : SDL_TRUE);
}
void sdlScreenSize(int* width, int* height) {
  SDL_DisplayMode mode;
  int index = 0;
  if (SDL_Window* sw = sdl::mainSdlWindow()) index = SDL_GetWindowDisplayIndex(sw);
  if (index < 0 || SDL_GetDesktopDisplayMode(index, &mode) != 0) {
    *width = 640;
    *height = 480;
    return;
  }
  *width = mode.w;
  *height = mode.h;
}
void sdlCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
void sdlPump() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) handle(e);
}
void sdlWait() {
  SDL_Event e;
  // A message posted from another thread does not wake SDL; look again
  // every 100 ms.
  if (SDL_WaitEventTimeout(&e, 100)) {
    handle(e);
    sdlPump();
  }
}
// Waits for the frame's deadline without holding the window up: a long wait
// sleeps in slices and collects the window's events (input included) into
// the message queue between them, so the window answers the window system
// and nothing queued is lost or late however long the frame is; the last
// slice ends in the real clock's precise wait.
void sdlIdleUntil(uint64_t deadlineNs) {
  for (;;) {
    const uint64_t now = realNow();
    if (now >= deadlineNs || deadlineNs - now <= kIdleSliceNs + kIdleYieldNs) break;
    realSleep(kIdleSliceNs);
    sdlPump();
  }
  realIdleUntil(deadlineNs);
}
bool sdlMessageBox(const char* text, const char* caption, uint32_t icon) {
  uint32_t flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == 0x10) flags = SDL_MESSAGEBOX_ERROR;
  if (icon == 0x30) flags = SDL_MESSAGEBOX_WARNING;
  return SDL_ShowSimpleMessageBox(flags, caption, text, sdl::mainSdlWindow()) == 0;
}
}  // namespace

const BackendOps kSdlOps = {
    realNow,        realSleep,        sdlIdleUntil,  sdlWindowCreate, sdlWindowDestroy,
    sdlWindowTitle, sdlWindowShow,    sdlWindowPlace, sdlWindowFrame, sdlScreenSize,
    sdlCursorVisible, sdlPump,        sdlWait,        sdlMessageBox,
};

}  // namespace internal
}  // namespace platform
