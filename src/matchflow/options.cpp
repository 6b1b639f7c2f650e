// The options block, its defaults and the rules of the options screen's rows.
#include "matchflow/options.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "display/qdl_device.h"
#include "matchflow/gstatso.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pcinstall.h"
#include "shell/texts.h"
#include "shell/user.h"

// The defaults hold from the start, before the first call of the defaults.
OptionsBlock options_oBlock = {10, 16, 16, 0, 1, 1, 2, 1, 0, 1, 1, 1, 1, 0, {0, 0, 0}, 2};
OptionsScreen options_oScreen = {1, 0, {512, 90}, 0, nullptr};

namespace {

constexpr std::int32_t kModeMainMenu = 12, kModeHistoryOptions = 52, kModeControls = 70;

// Front-end texts of the screen.
enum : std::int32_t {
  T_EXIT = 7,
  T_LANGUAGE_FIRST = 144,
  T_CONTROLLER = 150,
  T_CHAT_FIRST = 159,
  T_DIRECTDRAW = 168,
  T_GLIDE = 169,
  T_DEVICE_FIRST = 172,
};

const OptionsRowPlace kaoRows[] = {
    {OPTIONS_ROW_CONTROLLER, T_CONTROLLER, 76, 69},     {OPTIONS_ROW_MUSIC, 151, 76, 82},
    {OPTIONS_ROW_SFX, 152, 76, 95},                     {OPTIONS_ROW_TEXT, 153, 76, 109},
    {OPTIONS_ROW_CHAT, 154, 76, 122},                   {OPTIONS_ROW_VIDEO_MODE, 155, 76, 136},
    {OPTIONS_ROW_VIDEO_RESOLUTION, 156, 76, 149},       {OPTIONS_ROW_DETAIL, 157, 76, 162},
    {OPTIONS_ROW_RESET, 158, 76, 175},                  {OPTIONS_ROW_EXIT, T_EXIT, 419, 199},
};
// In history the on-screen text language is not offered.
const OptionsRowPlace kaoHistoryRows[] = {
    {OPTIONS_ROW_CONTROLLER, T_CONTROLLER, 76, 68},     {OPTIONS_ROW_MUSIC, 151, 76, 81},
    {OPTIONS_ROW_SFX, 152, 76, 95},                     {OPTIONS_ROW_CHAT, 154, 76, 108},
    {OPTIONS_ROW_VIDEO_MODE, 155, 76, 122},             {OPTIONS_ROW_VIDEO_RESOLUTION, 156, 76, 135},
    {OPTIONS_ROW_DETAIL, 157, 76, 149},                 {OPTIONS_ROW_RESET, 158, 76, 162},
    {OPTIONS_ROW_EXIT, T_EXIT, 416, 199},
};

const OptionsDevice* s_paoTestDevices = nullptr;
std::int32_t s_cTestDevices = 0;
User* s_poControllerUser = nullptr;

bool History() { return global_eGetExtendedGameMode() == GAME_MODE_HISTORY; }

bool Step(std::int32_t* pi, std::int32_t iDelta, std::int32_t iMax) {
  const std::int32_t v = *pi + iDelta;
  if (v < 0 || v > iMax) return false;
  *pi = v;
  return true;
}

bool ResolutionMode(const Q2DXMode& m) { return m.width >= 512 && m.height >= 384 && m.bitsPerPixel == 16; }

// The next (or previous) device after iFrom with a usable mode list; -1 none.
std::int32_t DeviceNext(std::int32_t iFrom, std::int32_t iDelta) {
  for (std::int32_t i = iFrom + iDelta; i >= 1 && i < options_DeviceCount(); i += iDelta) {
    if (options_bDeviceUsable(i)) return i;
  }
  return -1;
}

bool VideoModeChange(std::int32_t iDelta) {
  const std::int32_t iMode = static_cast<std::int32_t>(pcinstall_uVidMode);
  const bool bGlide = pcinstall_uGlidePresent != 0;
  if (iDelta > 0) {
    if (iMode == OPTIONS_VIDEO_SOFTWARE) {
      if (bGlide) {
        pcinstall_uVidMode = OPTIONS_VIDEO_GLIDE;
        return true;
      }
    }
    if (iMode == OPTIONS_VIDEO_SOFTWARE || iMode == OPTIONS_VIDEO_GLIDE) {
      const std::int32_t d = DeviceNext(0, 1);
      if (d < 0) return false;
      pcinstall_uVidMode = OPTIONS_VIDEO_DIRECT3D;
      pcinstall_uVidDevice = static_cast<std::uint32_t>(d);
      pcinstall_uVidRes = static_cast<std::uint32_t>(options_D3DModeChoose(d));
      return true;
    }
    const std::int32_t d = DeviceNext(static_cast<std::int32_t>(pcinstall_uVidDevice), 1);
    if (d < 0) return false;
    pcinstall_uVidDevice = static_cast<std::uint32_t>(d);
    pcinstall_uVidRes = static_cast<std::uint32_t>(options_D3DModeChoose(d));
    return true;
  }
  if (iMode == OPTIONS_VIDEO_DIRECT3D) {
    const std::int32_t d = DeviceNext(static_cast<std::int32_t>(pcinstall_uVidDevice), -1);
    if (d >= 0) {
      pcinstall_uVidDevice = static_cast<std::uint32_t>(d);
      pcinstall_uVidRes = static_cast<std::uint32_t>(options_D3DModeChoose(d));
    } else {
      pcinstall_uVidMode = bGlide ? OPTIONS_VIDEO_GLIDE : OPTIONS_VIDEO_SOFTWARE;
    }
    return true;
  }
  if (iMode == OPTIONS_VIDEO_GLIDE) {
    pcinstall_uVidMode = OPTIONS_VIDEO_SOFTWARE;
    return true;
  }
  return false;
}

// The next or previous mode of the Direct3D device that is at least 512 x 384
// at 16 bits, searched once round the list; nothing changes when none is.
bool ResolutionChange(std::int32_t iDelta) {
  if (pcinstall_uVidMode != OPTIONS_VIDEO_DIRECT3D) return false;
  const OptionsDevice o = options_DeviceGet(static_cast<std::int32_t>(pcinstall_uVidDevice));
  if (o.cModes <= 0) return false;
  std::int32_t i = static_cast<std::int32_t>(pcinstall_uVidRes);
  if (i < 0 || i >= o.cModes) i = 0;
  const std::int32_t iStart = i;
  for (std::int32_t n = 0; n < o.cModes; n++) {
    i = (i + iDelta + o.cModes) % o.cModes;
    if (i == iStart) return false;
    if (ResolutionMode(o.paoModes[i])) {
      pcinstall_uVidRes = static_cast<std::uint32_t>(i);
      return true;
    }
  }
  return false;
}

bool ValueChange(OptionsRow eRow, std::int32_t iDelta) {
  OptionsBlock& b = options_oBlock;
  switch (eRow) {
    case OPTIONS_ROW_MUSIC:
      if (!Step(&b.iMusicVolume, iDelta, OPTIONS_VOLUME_MAX)) return false;
      sfx_SetCDVolume();
      return true;
    case OPTIONS_ROW_SFX:
      return Step(&b.iSfxVolume, iDelta, OPTIONS_VOLUME_MAX);
    case OPTIONS_ROW_TEXT:
      b.iTextLanguage = gstatso_LanguageGet();
      if (!Step(&b.iTextLanguage, iDelta, OPTIONS_LANGUAGE_MAX)) return false;
      gstatso_LanguageSet(b.iTextLanguage);
      return true;
    case OPTIONS_ROW_CHAT:
      return Step(&b.iPlayerChat, iDelta, OPTIONS_CHAT_MAX);
    case OPTIONS_ROW_DETAIL:
      // The level of detail is the installation's, kept between starts.
      b.iLevelOfDetail = pcinstall_iLODBias;
      if (!Step(&b.iLevelOfDetail, iDelta, OPTIONS_DETAIL_MAX)) return false;
      pcinstall_iLODBias = b.iLevelOfDetail;
      return true;
    case OPTIONS_ROW_VIDEO_MODE: return VideoModeChange(iDelta);
    case OPTIONS_ROW_VIDEO_RESOLUTION: return ResolutionChange(iDelta);
    default: return false;
  }
}

// What the defaults and the Reset Options row both give.
void ResetValues(OptionsBlock* pb) {
  pb->iMatchLength = 10;
  pb->iMusicVolume = OPTIONS_VOLUME_MAX;
  pb->iSfxVolume = OPTIONS_VOLUME_MAX;
  pb->iWord3 = 0;
  pb->iPlayerChat = 1;
  pb->bOffside = 1;
}

}  // namespace

void options_DevicesSet(const OptionsDevice* paoDevices, std::int32_t cDevices) {
  s_paoTestDevices = paoDevices;
  s_cTestDevices = paoDevices ? cDevices : 0;
}

std::int32_t options_DeviceCount() {
  const std::int32_t c =
      s_paoTestDevices ? s_cTestDevices : static_cast<std::int32_t>(QDLDeviceCount());
  return c < OPTIONS_DEVICES_MAX + 1 ? c : OPTIONS_DEVICES_MAX + 1;
}

OptionsDevice options_DeviceGet(std::int32_t i) {
  if (i < 0 || i >= options_DeviceCount()) return OptionsDevice{"", nullptr, 0};
  if (s_paoTestDevices) return s_paoTestDevices[i];
  const QDLDeviceInfo* p = QDLDeviceGet(static_cast<std::uint32_t>(i));
  if (p == nullptr) return OptionsDevice{"", nullptr, 0};
  return OptionsDevice{p->name, p->modes, static_cast<std::int32_t>(p->modeCount)};
}

std::int32_t options_D3DModeChoose(std::int32_t iDevice) {
  const OptionsDevice o = options_DeviceGet(iDevice);
  for (std::int32_t i = o.cModes - 1; i >= 1; i--) {
    const Q2DXMode& m = o.paoModes[i];
    if (m.bitsPerPixel == 16 && m.width >= 640 && m.height >= 480) return i;
  }
  return -1;
}

std::int32_t options_bDeviceUsable(std::int32_t iDevice) { return options_D3DModeChoose(iDevice) >= 0 ? 1 : 0; }

std::int32_t options_VideoValid() {
  if (pcinstall_uVidMode == OPTIONS_VIDEO_SOFTWARE || pcinstall_uVidMode == OPTIONS_VIDEO_GLIDE) return 1;
  return pcinstall_uVidMode == OPTIONS_VIDEO_DIRECT3D &&
                 static_cast<std::int32_t>(pcinstall_uVidDevice) < options_DeviceCount()
             ? 1
             : 0;
}

void options_D3DDeviceFirst() {
  std::int32_t d = options_DeviceCount() > 1 ? DeviceNext(0, 1) : 0;
  if (d < 0) d = 0;
  pcinstall_uVidDevice = static_cast<std::uint32_t>(d);
  const std::int32_t m = options_D3DModeChoose(d);
  pcinstall_uVidRes = static_cast<std::uint32_t>(m > 0 ? m : 0);
}

void options_SetDefaults() {
  OptionsBlock& b = options_oBlock;
  ResetValues(&b);
  b.iCamera = 2;
  b.bCatchUp = 1;
  b.iExtraTime = 0;
  b.bPenalties = 1;
  b.bFouls = 1;
  b.iReferee = 1;
  b.iDayNight = 1;
  b.aiWords[0] = b.aiWords[1] = b.aiWords[2] = 0;
  // The on-screen texts start in the language the game was set up in.
  b.iTextLanguage = mlang_iLanguage >= 0 && mlang_iLanguage <= OPTIONS_LANGUAGE_MAX ? mlang_iLanguage : 0;
  gstatso_LanguageSet(b.iTextLanguage);
  b.iLevelOfDetail = pcinstall_iLODBias >= 0 && pcinstall_iLODBias <= OPTIONS_DETAIL_MAX ? pcinstall_iLODBias : 2;
  sfx_SetCDVolume();
  if (!options_VideoValid()) {
    pcinstall_uVidMode = OPTIONS_VIDEO_DIRECT3D;
    options_D3DDeviceFirst();
  }
}

void options_ResetRow() {
  OptionsBlock& b = options_oBlock;
  ResetValues(&b);
  b.iLevelOfDetail = 2;
  pcinstall_iLODBias = 2;
  sfx_SetCDVolume();
}

void options_ScreenReset() {
  options_oScreen.bSetupNeeded = 1;
  options_oScreen.iCursor = 0;
  options_oScreen.aiAnimation[0] = 512;
  options_oScreen.aiAnimation[1] = 90;
}

void options_RowsLoad() {
  if (History()) {
    options_oScreen.paoRows = kaoHistoryRows;
    options_oScreen.cRows = static_cast<std::int32_t>(sizeof kaoHistoryRows / sizeof kaoHistoryRows[0]);
  } else {
    options_oScreen.paoRows = kaoRows;
    options_oScreen.cRows = static_cast<std::int32_t>(sizeof kaoRows / sizeof kaoRows[0]);
  }
}

std::int32_t options_EventApply(std::int32_t eEvent, User* pusr) {
  OptionsScreen& s = options_oScreen;
  if (s.paoRows == nullptr) options_RowsLoad();
  const std::int32_t eLeave = History() ? kModeHistoryOptions : kModeMainMenu;
  const OptionsRow eRow = s.paoRows[s.iCursor].eRow;
  switch (eEvent) {
    case 8:
      if (s.iCursor > 0) {
        s.iCursor--;
        sfx_Play(0);
      }
      return OPTIONS_MODE;
    case 9:
      if (s.iCursor < s.cRows - 1) {
        s.iCursor++;
        sfx_Play(0);
      }
      return OPTIONS_MODE;
    case 10:
    case 11:
      if (ValueChange(eRow, eEvent == 10 ? -1 : 1)) sfx_Play(0);
      return OPTIONS_MODE;
    case 37:
      switch (eRow) {
        case OPTIONS_ROW_CONTROLLER:
          s_poControllerUser = pusr;
          return kModeControls;
        case OPTIONS_ROW_RESET:
          options_ResetRow();
          return OPTIONS_MODE;
        case OPTIONS_ROW_EXIT:
          sfx_Play(1);
          pcinstall_Save();
          return eLeave;
        default:
          return OPTIONS_MODE;
      }
    case 38:
    case 56:
      sfx_Play(1);
      return eLeave;
    default:
      return OPTIONS_MODE;
  }
}

std::int32_t options_EscapeLeave() {
  sfx_Play(2);
  return History() ? kModeHistoryOptions : kModeMainMenu;
}

std::int32_t options_UserInput(User* pusr, std::int32_t) {
  std::int32_t eNext = OPTIONS_MODE;
  if (pusr == nullptr || pusr->pip == nullptr) return eNext;
  while (ListNode* pNode = queue_RemoveHead(&pusr->pip->oEvents)) {
    InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
    const std::int32_t e = options_EventApply(pEvent->eEvent, pusr);
    if (eNext == OPTIONS_MODE) eNext = e;
    input_EventFree(&pEvent);
  }
  return eNext;
}

User* options_poControllerUserGet() { return s_poControllerUser; }

void options_ValueFormat(OptionsRow eRow, char* psz, std::int32_t cb) {
  const std::size_t n = static_cast<std::size_t>(cb);
  psz[0] = '\0';
  const OptionsBlock& b = options_oBlock;
  switch (eRow) {
    case OPTIONS_ROW_TEXT:
      std::snprintf(psz, n, "%s", festr_IDToStr(T_LANGUAGE_FIRST + gstatso_LanguageGet()));
      return;
    case OPTIONS_ROW_CHAT:
      std::snprintf(psz, n, "%s", festr_IDToStr(T_CHAT_FIRST + b.iPlayerChat));
      return;
    case OPTIONS_ROW_VIDEO_MODE:
      if (pcinstall_uVidMode == OPTIONS_VIDEO_SOFTWARE) {
        std::snprintf(psz, n, "%s", festr_IDToStr(T_DIRECTDRAW));
      } else if (pcinstall_uVidMode == OPTIONS_VIDEO_GLIDE) {
        std::snprintf(psz, n, "%s", festr_IDToStr(T_GLIDE));
      } else {
        const std::int32_t d = static_cast<std::int32_t>(pcinstall_uVidDevice);
        const std::int32_t iNumber = d >= 1 && d <= OPTIONS_DEVICES_MAX ? d : 1;
        std::snprintf(psz, n, "%s%s", festr_IDToStr(T_DEVICE_FIRST + iNumber - 1),
                      options_DeviceGet(d).pszName);
      }
      return;
    case OPTIONS_ROW_VIDEO_RESOLUTION: {
      std::uint32_t w = 640, h = 480;
      if (pcinstall_uVidMode == OPTIONS_VIDEO_DIRECT3D) {
        const OptionsDevice o = options_DeviceGet(static_cast<std::int32_t>(pcinstall_uVidDevice));
        const std::int32_t i = static_cast<std::int32_t>(pcinstall_uVidRes);
        if (i >= 0 && i < o.cModes) w = o.paoModes[i].width, h = o.paoModes[i].height;
      }
      std::snprintf(psz, n, "%d x %d", static_cast<int>(w), static_cast<int>(h));
      return;
    }
    case OPTIONS_ROW_DETAIL:
      std::snprintf(psz, n, "%d", static_cast<int>(pcinstall_iLODBias));
      return;
    default:
      return;
  }
}
