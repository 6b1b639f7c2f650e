#pragma once
// The game-wide options block and the options screen (front-end mode 41):
// volumes, the language of the on-screen texts, the player chat, the
// renderer with its resolution and the level of detail.
#include <cstdint>

struct Q2DXMode;
struct User;

struct OptionsBlock {
  std::int32_t iMatchLength;  // minutes
  std::int32_t iMusicVolume;  // 0..16
  std::int32_t iSfxVolume;    // 0..16
  std::int32_t iWord3;
  std::int32_t iPlayerChat;   // 0 Off, 1 Native, 2 English ... 7 Japanese, 8 Portuguese
  std::int32_t bOffside;      // match conditions from here on, with the match length
  std::int32_t iCamera;       // 0 Very Close .. 4 Very Far
  std::int32_t bCatchUp;
  std::int32_t iExtraTime;    // 0 off, 1 on, 2 golden goal
  std::int32_t bPenalties;
  std::int32_t bFouls;
  std::int32_t iReferee;      // 0 Lenient, 1 Normal, 2 Harsh
  std::int32_t iDayNight;     // 1 day, 0 night
  std::int32_t iTextLanguage; // 0..5: English, French, German, Spanish, Italian, Portuguese
  std::int32_t aiWords[3];
  std::int32_t iLevelOfDetail;  // 0..4
};
extern OptionsBlock options_oBlock;

constexpr std::int32_t OPTIONS_VOLUME_MAX = 16;
constexpr std::int32_t OPTIONS_CHAT_MAX = 8;
constexpr std::int32_t OPTIONS_LANGUAGE_MAX = 5;
constexpr std::int32_t OPTIONS_DETAIL_MAX = 4;
constexpr std::int32_t OPTIONS_DEVICES_MAX = 8;

// Renderers.
enum : std::int32_t {
  OPTIONS_VIDEO_SOFTWARE = 0,
  OPTIONS_VIDEO_GLIDE = 1,
  OPTIONS_VIDEO_DIRECT3D = 2,
};

// The rows of the screen.
enum OptionsRow : std::int32_t {
  OPTIONS_ROW_CONTROLLER = 0,
  OPTIONS_ROW_MUSIC,
  OPTIONS_ROW_SFX,
  OPTIONS_ROW_TEXT,
  OPTIONS_ROW_CHAT,
  OPTIONS_ROW_VIDEO_MODE,
  OPTIONS_ROW_VIDEO_RESOLUTION,
  OPTIONS_ROW_DETAIL,
  OPTIONS_ROW_RESET,
  OPTIONS_ROW_EXIT,
  OPTIONS_ROWS,
};

struct OptionsRowPlace {
  OptionsRow eRow;
  std::int32_t iText;  // front-end text of the label
  std::int32_t x, y;   // 512 x 240 units
};

// The screen's state.
struct OptionsScreen {
  std::int32_t bSetupNeeded;
  std::int32_t iCursor;
  std::int32_t aiAnimation[2];
  std::int32_t cRows;
  const OptionsRowPlace* paoRows;
};
extern OptionsScreen options_oScreen;

// One display device as the screen sees it: its name and its mode list.
struct OptionsDevice {
  const char* pszName;
  const Q2DXMode* paoModes;
  std::int32_t cModes;
};
// The devices the screen offers; the display layer's list unless a table is
// given (tests). Device 0 is the software renderer's.
void options_DevicesSet(const OptionsDevice* paoDevices, std::int32_t cDevices);
std::int32_t options_DeviceCount();
OptionsDevice options_DeviceGet(std::int32_t i);

void options_SetDefaults();
void options_ResetRow();
void options_ScreenReset();
// The rows of the screen in the current context (history or not).
void options_RowsLoad();
// The options screen's front-end mode.
constexpr std::int32_t OPTIONS_MODE = 41;
// One user's input; answers the next game mode (41 to stay).
std::int32_t options_UserInput(User* pusr, std::int32_t iIndex);
// One event on the cursor's row; answers the next game mode (41 to stay).
std::int32_t options_EventApply(std::int32_t eEvent, User* pusr);
// The Escape key: the screen is left as by Back (nothing saved); the next mode.
std::int32_t options_EscapeLeave();
void options_Setup();
void options_Draw();
void options_Run();

// Video choices.
std::int32_t options_VideoValid();
void options_D3DDeviceFirst();
// The mode chosen for a device: its last mode after mode 0 with 16 bits and
// at least 640 x 480; -1 when none.
std::int32_t options_D3DModeChoose(std::int32_t iDevice);
std::int32_t options_bDeviceUsable(std::int32_t iDevice);

// The current row's value text (for the drawing and tests).
void options_ValueFormat(OptionsRow eRow, char* psz, std::int32_t cb);
// The user who asked for the controller set-up.
User* options_poControllerUserGet();
