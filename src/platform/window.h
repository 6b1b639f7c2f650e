#pragma once
// The game's one main window and its message queue. Events of the window
// system arrive as plain Message records carrying the message codes the game
// dispatches on. The window starts hidden; the game shows it when ready.
#include <cstdint>

namespace platform {

// Message codes (the values the game's window procedure dispatches on).
enum : uint32_t {
  kMsgNull = 0x0000,
  kMsgCreate = 0x0001,
  kMsgDestroy = 0x0002,
  kMsgMove = 0x0003,          // lParam: x in the low 16 bits, y in the high 16 bits
  kMsgSize = 0x0005,          // wParam: 0 restored, 1 minimised, 2 maximised; lParam: width | height << 16
  kMsgActivate = 0x0006,      // wParam: 0 inactive, 1 active
  kMsgSetFocus = 0x0007,
  kMsgKillFocus = 0x0008,
  kMsgPaint = 0x000F,
  kMsgClose = 0x0010,
  kMsgQuit = 0x0012,          // wParam: the exit code
  kMsgEraseBackground = 0x0014,
  kMsgActivateApp = 0x001C,   // wParam: 1 the application gains the foreground, 0 it loses it
  kMsgSysCommand = 0x0112,    // wParam: the command (mask with 0xFFF0)
  kMsgMouseMove = 0x0200,     // wParam: button flags; lParam: x | y << 16 (client pixels)
  kMsgLeftButtonDown = 0x0201,
  kMsgLeftButtonUp = 0x0202,
  kMsgRightButtonDown = 0x0204,
  kMsgRightButtonUp = 0x0205,
  kMsgMiddleButtonDown = 0x0207,
  kMsgMiddleButtonUp = 0x0208,
};

// System commands carried by kMsgSysCommand.
enum : uint32_t {
  kSysCommandClose = 0xF060,
  kSysCommandScreenSave = 0xF140,
  kSysCommandMonitorPower = 0xF170,
};

// Button flags of the mouse messages' wParam.
enum : uint32_t {
  kMouseFlagLeft = 0x0001,
  kMouseFlagRight = 0x0002,
  kMouseFlagMiddle = 0x0010,
};

struct Window;  // opaque

struct Message {
  Window* window = nullptr;
  uint32_t code = kMsgNull;
  uint64_t wParam = 0;
  int64_t lParam = 0;
};

// Creates the main window, hidden, with its client area width x height at
// 0,0. Returns null when the window system refuses. There is one main window;
// creating a second one while the first exists returns null.
Window* createWindow(int width, int height);
void destroyWindow(Window* window);  // null is fine; queues kMsgDestroy first
Window* mainWindow();                // null when none exists

// Title in Windows-1252 bytes. Null window: nothing happens.
void setWindowTitle(Window* window, const char* title);
void showWindow(Window* window);
void hideWindow(Window* window);
bool isWindowVisible(const Window* window);
// Places the window at 0,0 with the size of the screen.
void maximiseWindow(Window* window);
// Popup (true): no frame or caption. false: framed with caption, minimise and
// maximise boxes.
void setWindowFrame(Window* window, bool popup);
// Size of the screen holding the window (the desktop), in pixels.
void screenSize(int* width, int* height);
// Current client size of the window.
void windowSize(const Window* window, int* width, int* height);

// Cursor display counter, like the system's: show adds one, hide takes one;
// the cursor is visible while the counter is at 0 or above. Returns the new
// counter.
int showCursor(bool show);

// Collects what the window system has to say and, on the headless backend,
// runs one step of the script. The framework calls it once per pass of its
// message pump, before draining the queue with pollMessage.
void pumpEvents();

// Takes the oldest queued message. False when the queue is empty.
bool pollMessage(Message* out);

// Queues a message for later polling.
void postMessage(const Message& message);
// Queues kMsgQuit with the exit code in wParam.
void postQuit(int exitCode);

// Waits until at least one message is queued. On the headless backend it
// never blocks: it runs one script step and returns.
void waitMessage();

// What the window system does with a message no hook handled. kMsgClose queues
// kMsgQuit with code 0 (closing the one window ends the program); everything
// else returns 0 and does nothing.
int64_t defaultWindowProc(const Message& message);

}  // namespace platform
