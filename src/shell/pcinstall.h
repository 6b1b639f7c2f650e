#pragma once
// Installation settings, data paths and the disc drive. The install type
// decides where textures, models and movies are read from: the local data
// folder or the game disc, found as the CD-ROM drive whose volume label equals
// the "VolumeLabel" setting. Sound is always local.
#include <cstdint>

#include "framework/qdx_reg.h"

constexpr int32_t PCINSTALL_STRING_SIZE = 32;
constexpr int32_t PCINSTALL_PATH_SIZE = 260;
constexpr int32_t PCINSTALL_ROOT_SIZE = 128;
constexpr int32_t PCINSTALL_INSTALL_VALUES = 4;
constexpr int32_t PCINSTALL_VIDEO_VALUES = 4;
constexpr int32_t PCINSTALL_LOD_BIAS_MAX = 4;

extern const char* const PCINSTALL_PRODUCT_NAME;  // "Korvena Football"

extern QDXRegValue pcinstall_aInstallValues[PCINSTALL_INSTALL_VALUES];
extern QDXRegValue pcinstall_aVideoValues[PCINSTALL_VIDEO_VALUES];

// The variables of the two tables.
extern char pcinstall_szInstallType[PCINSTALL_STRING_SIZE];
extern char pcinstall_szVolumeLabel[PCINSTALL_STRING_SIZE];
extern int32_t pcinstall_iLODBias;  // the level-of-detail bias of the 3D models, 0..4
// The language index is the text tables' own (mlang_iLanguage).
extern uint32_t pcinstall_uVidMode;  // renderer: 0 software, 1 Glide, 2 Direct3D
extern uint32_t pcinstall_uVidRes;
extern uint32_t pcinstall_uVidDevice;
extern uint32_t pcinstall_uGlidePresent;

// The path variables: the disc root and the four data directories.
extern char pcinstall_szCdRoot[PCINSTALL_ROOT_SIZE];
extern char pcinstall_szTexturePath[PCINSTALL_PATH_SIZE];
extern char pcinstall_szModelPath[PCINSTALL_PATH_SIZE];
extern char pcinstall_szFmvPath[PCINSTALL_PATH_SIZE];
extern char pcinstall_szSoundPath[PCINSTALL_PATH_SIZE];

int32_t pcinstall_Check();
void pcinstall_Save();
int32_t pcinstall_TableRead(QDXRegValue* paTable, int32_t cCount);
int32_t pcinstall_TableWrite(QDXRegValue* paTable, int32_t cCount);
// pszRoot holds PCINSTALL_ROOT_SIZE bytes.
int32_t pcinstall_CdFind(const char* pszVolumeLabel, char* pszRoot);

// The directory followed by the file name, within PCINSTALL_PATH_SIZE bytes.
int32_t pcinstall_TexturePath(char* pszOut, const char* pszFile);
int32_t pcinstall_ModelPath(char* pszOut, const char* pszFile);
int32_t pcinstall_FmvPath(char* pszOut, const char* pszFile);
int32_t pcinstall_SoundPath(char* pszOut, const char* pszFile);
