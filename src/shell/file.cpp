// Data files by id.
#include "shell/file.h"

#include <array>
#include <string>

#include "platform/paths.h"

namespace {

using FileTable = std::array<std::array<char, FILE_PATH_SIZE>, FILE_ID_MAX>;

constexpr void file_Put(FileTable& t, int32_t iID, const char* pszA, const char* pszB = "", const char* pszC = "") {
  int32_t n = 0;
  for (const char* p : {pszA, pszB, pszC}) {
    while (*p) t[iID][n++] = *p++;
  }
  t[iID][n] = '\0';
}

// The player database, the tournament files (22 per language folder: each
// edition's qualifying file, then its finals file) and the kit table. The ids
// beyond name files of the console version and stay empty here.
constexpr FileTable file_MakeTable() {
  FileTable t{};
  file_Put(t, 0, "..\\data\\database\\dump\\dump.dat");
  const char* apszFolders[6] = {"english", "french", "german", "italian", "spanish", "portuguese"};
  const char* apszYears[11] = {"58", "62", "66", "70", "74", "78", "82", "86", "90", "94", "98"};
  int32_t iID = 1;
  for (const char* pszFolder : apszFolders) {
    for (const char* pszYear : apszYears) {
      char szName[16] = "\\year";
      szName[5] = pszYear[0];
      szName[6] = pszYear[1];
      const char szQual[] = ".csv";
      const char szFinals[] = "f.csv";
      char szA[16] = {};
      char szB[16] = {};
      for (int32_t i = 0; i < 7; i++) szA[i] = szB[i] = szName[i];
      for (int32_t i = 0; i < 5; i++) szA[7 + i] = szQual[i];
      for (int32_t i = 0; i < 6; i++) szB[7 + i] = szFinals[i];
      file_Put(t, iID++, "..\\data\\database\\tm\\", pszFolder, szA);
      file_Put(t, iID++, "..\\data\\database\\tm\\", pszFolder, szB);
    }
  }
  file_Put(t, 133, "..\\data\\database\\kits.bin");
  return t;
}

constexpr FileTable file_aFileTable = file_MakeTable();

}  // namespace

const char* file_pszGetPath(int32_t iID) {
  if (iID < 0 || iID >= FILE_ID_MAX) return nullptr;
  return file_aFileTable[iID].data();
}

std::FILE* file_Open(int32_t iID) {
  const char* pszPath = file_pszGetPath(iID);
  if (pszPath == nullptr || pszPath[0] == '\0') return nullptr;
  std::string oResolved = platform::resolvePath(pszPath);
  return std::fopen(oResolved.c_str(), "rb");
}

void file_Close(std::FILE* pFile) {
  if (pFile) std::fclose(pFile);
}

int32_t file_iGetSize(std::FILE* pFile) {
  std::fseek(pFile, 0, SEEK_END);
  long iSize = std::ftell(pFile);
  std::fseek(pFile, 0, SEEK_SET);
  return static_cast<int32_t>(iSize);
}

int32_t file_Read(std::FILE* pFile, void* pvBuffer, int32_t n) {
  return static_cast<int32_t>(std::fread(pvBuffer, 1, static_cast<size_t>(n), pFile));
}

void file_Seek(std::FILE* pFile, int32_t iOffset, int32_t iWhence) {
  switch (iWhence) {
    case 0: std::fseek(pFile, iOffset, SEEK_SET); break;
    case 1: std::fseek(pFile, iOffset, SEEK_CUR); break;
    case 2: std::fseek(pFile, iOffset, SEEK_END); break;
    default: break;
  }
}
