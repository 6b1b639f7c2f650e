// Installation settings, data paths and the disc drive.
#include "shell/pcinstall.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "shell/texts.h"

const char* const PCINSTALL_PRODUCT_NAME = "Korvena Football";

char pcinstall_szInstallType[PCINSTALL_STRING_SIZE];
char pcinstall_szVolumeLabel[PCINSTALL_STRING_SIZE];
int32_t pcinstall_iLODBias;
uint32_t pcinstall_uVidMode;
uint32_t pcinstall_uVidRes;
uint32_t pcinstall_uVidDevice;
uint32_t pcinstall_uGlidePresent;

char pcinstall_szCdRoot[PCINSTALL_ROOT_SIZE];
char pcinstall_szTexturePath[PCINSTALL_PATH_SIZE];
char pcinstall_szModelPath[PCINSTALL_PATH_SIZE];
char pcinstall_szFmvPath[PCINSTALL_PATH_SIZE];
char pcinstall_szSoundPath[PCINSTALL_PATH_SIZE];

namespace {
const char kszDefaultInstallType[PCINSTALL_STRING_SIZE] = "Compact";
const char kszDefaultVolumeLabel[PCINSTALL_STRING_SIZE] = "Korvena Football";
}  // namespace

QDXRegValue pcinstall_aInstallValues[PCINSTALL_INSTALL_VALUES] = {
    {"", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_STRING, PCINSTALL_STRING_SIZE, pcinstall_szInstallType, 0,
     kszDefaultInstallType},
    {"VolumeLabel", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_STRING, PCINSTALL_STRING_SIZE, pcinstall_szVolumeLabel, 0,
     kszDefaultVolumeLabel},
    {"LODBias", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &pcinstall_iLODBias, 2, nullptr},
    {"Language", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &mlang_iLanguage, 0, nullptr},
};

QDXRegValue pcinstall_aVideoValues[PCINSTALL_VIDEO_VALUES] = {
    {"VidMode", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &pcinstall_uVidMode, 0, nullptr},
    {"VidRes", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &pcinstall_uVidRes, 0, nullptr},
    {"VidDevice", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &pcinstall_uVidDevice, 0, nullptr},
    {"GlidePresent", QDXREG_ROOT_LOCAL_MACHINE, QDXREG_TYPE_DWORD, 4, &pcinstall_uGlidePresent, 0, nullptr},
};

static void pcinstall_Error(const char* pszText) {
  platform::messageBox(platform::mainWindow(), pszText, "Error!", platform::MessageIcon::Stop);
}

static int32_t pcinstall_iClamp(int32_t iValue, int32_t iMax) {
  if (iValue < 0) return 0;
  return iValue > iMax ? iMax : iValue;
}

int32_t pcinstall_TableRead(QDXRegValue* paTable, int32_t cCount) {
  if (QDXRegOpen(PCINSTALL_PRODUCT_NAME) != QDXREG_OK) {
    QDXRegClose();
    return 0;
  }
  // Missing values take their defaults; a value of the wrong type does too.
  QDXRegReadValues(paTable, static_cast<uint32_t>(cCount), 1);
  QDXRegClose();
  // Values kept outside the program may be anything: bring the level-of-detail
  // bias into its range; a language the game does not have reads as English.
  pcinstall_iLODBias = pcinstall_iClamp(pcinstall_iLODBias, PCINSTALL_LOD_BIAS_MAX);
  if (mlang_iLanguage < 0 || mlang_iLanguage >= TEXT_LANGUAGE_MAX) mlang_iLanguage = 0;
  return 1;
}

int32_t pcinstall_TableWrite(QDXRegValue* paTable, int32_t cCount) {
  if (QDXRegOpen(PCINSTALL_PRODUCT_NAME) != QDXREG_OK) {
    QDXRegClose();
    return 0;
  }
  QDXRegWriteValues(paTable, static_cast<uint32_t>(cCount));
  QDXRegClose();
  return 1;
}

static bool pcinstall_bEqualNoCase(const char* pszA, const char* pszB) {
  for (;; pszA++, pszB++) {
    char a = *pszA, b = *pszB;
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
    if (a == '\0') return true;
  }
}

int32_t pcinstall_CdFind(const char* pszVolumeLabel, char* pszRoot) {
  std::vector<char> acDrives(128);
  uint32_t cNeeded = platform::logicalDriveStrings(acDrives.data(), static_cast<uint32_t>(acDrives.size()));
  if (cNeeded + 1 > acDrives.size()) {
    acDrives.assign(cNeeded + 1, '\0');
    platform::logicalDriveStrings(acDrives.data(), static_cast<uint32_t>(acDrives.size()));
  }
  for (const char* p = acDrives.data(); *p != '\0'; p += std::strlen(p) + 1) {
    if (platform::driveType(p) != platform::DriveType::CdRom) continue;
    std::string oLabel;
    if (!platform::volumeLabel(p, &oLabel)) continue;
    if (oLabel.size() > 64) oLabel.resize(64);
    if (pcinstall_bEqualNoCase(oLabel.c_str(), pszVolumeLabel)) {
      std::snprintf(pszRoot, PCINSTALL_ROOT_SIZE, "%s", p);
      return 1;
    }
  }
  return 0;
}

int32_t pcinstall_Check() {
  if (!pcinstall_TableRead(pcinstall_aInstallValues, PCINSTALL_INSTALL_VALUES)) {
    pcinstall_Error("Korvena Football is not correctly installed!");
    return 0;
  }
  if (!pcinstall_TableRead(pcinstall_aVideoValues, PCINSTALL_VIDEO_VALUES)) {
    pcinstall_Error("Error reading the video options!");
    return 0;
  }
  // Without a disc of that label the disc's folders are looked for in the
  // local game folder, which holds the same tree.
  if (!pcinstall_CdFind(pcinstall_szVolumeLabel, pcinstall_szCdRoot)) {
    std::snprintf(pcinstall_szCdRoot, sizeof pcinstall_szCdRoot, "..\\");
  }
  const char* pszRoot = pcinstall_szCdRoot;
  if (pcinstall_bEqualNoCase(pcinstall_szInstallType, "compact")) {
    std::snprintf(pcinstall_szTexturePath, PCINSTALL_PATH_SIZE, "%sdata\\textures\\", pszRoot);
    std::snprintf(pcinstall_szModelPath, PCINSTALL_PATH_SIZE, "%sdata\\models\\", pszRoot);
    std::snprintf(pcinstall_szFmvPath, PCINSTALL_PATH_SIZE, "%sdata\\fmv\\", pszRoot);
  } else if (pcinstall_bEqualNoCase(pcinstall_szInstallType, "typical")) {
    std::snprintf(pcinstall_szTexturePath, PCINSTALL_PATH_SIZE, "..\\data\\textures\\");
    std::snprintf(pcinstall_szModelPath, PCINSTALL_PATH_SIZE, "..\\data\\models\\");
    std::snprintf(pcinstall_szFmvPath, PCINSTALL_PATH_SIZE, "%sdata\\fmv\\", pszRoot);
  } else if (pcinstall_bEqualNoCase(pcinstall_szInstallType, "full")) {
    std::snprintf(pcinstall_szTexturePath, PCINSTALL_PATH_SIZE, "..\\data\\textures\\");
    std::snprintf(pcinstall_szModelPath, PCINSTALL_PATH_SIZE, "..\\data\\models\\");
    std::snprintf(pcinstall_szFmvPath, PCINSTALL_PATH_SIZE, "..\\data\\fmv\\");
  } else {
    // The value and where it was read, so that the file can be mended.
    char szText[PCINSTALL_STRING_SIZE + 400];
    std::snprintf(szText, sizeof szText,
                  "Couldn't determine install type. The install type \"%s\" in %s is none of Compact, Typical "
                  "and Full.",
                  pcinstall_szInstallType, platform::settingsRootFile(platform::SettingsRoot::Machine).c_str());
    pcinstall_Error(szText);
    return 0;
  }
  std::snprintf(pcinstall_szSoundPath, PCINSTALL_PATH_SIZE, "..\\data\\sound\\");
  return 1;
}

void pcinstall_Save() {
  pcinstall_TableWrite(pcinstall_aInstallValues, PCINSTALL_INSTALL_VALUES);
  pcinstall_TableWrite(pcinstall_aVideoValues, PCINSTALL_VIDEO_VALUES);
}

static int32_t pcinstall_Join(char* pszOut, const char* pszDir, const char* pszFile) {
  std::snprintf(pszOut, PCINSTALL_PATH_SIZE, "%s%s", pszDir, pszFile);
  return 1;
}

int32_t pcinstall_TexturePath(char* pszOut, const char* pszFile) {
  return pcinstall_Join(pszOut, pcinstall_szTexturePath, pszFile);
}
int32_t pcinstall_ModelPath(char* pszOut, const char* pszFile) {
  return pcinstall_Join(pszOut, pcinstall_szModelPath, pszFile);
}
int32_t pcinstall_FmvPath(char* pszOut, const char* pszFile) { return pcinstall_Join(pszOut, pcinstall_szFmvPath, pszFile); }
int32_t pcinstall_SoundPath(char* pszOut, const char* pszFile) {
  return pcinstall_Join(pszOut, pcinstall_szSoundPath, pszFile);
}
