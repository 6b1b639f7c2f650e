// Data files by id: the table, and opening through the path resolver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/paths.h"
#include "shell/file.h"
#include "shell_env.h"

namespace fs = std::filesystem;

namespace {

TEST(DataFiles, TableGroupsByLanguageAndEdition) {
  EXPECT_STREQ(file_pszGetPath(0), "..\\data\\database\\dump\\dump.dat");
  EXPECT_STREQ(file_pszGetPath(1), "..\\data\\database\\tm\\english\\year58.csv");
  EXPECT_STREQ(file_pszGetPath(2), "..\\data\\database\\tm\\english\\year58f.csv");
  EXPECT_STREQ(file_pszGetPath(22), "..\\data\\database\\tm\\english\\year98f.csv");
  EXPECT_STREQ(file_pszGetPath(23), "..\\data\\database\\tm\\french\\year58.csv");
  EXPECT_STREQ(file_pszGetPath(67), "..\\data\\database\\tm\\italian\\year58.csv");
  EXPECT_STREQ(file_pszGetPath(89), "..\\data\\database\\tm\\spanish\\year58.csv");
  EXPECT_STREQ(file_pszGetPath(132), "..\\data\\database\\tm\\portuguese\\year98f.csv");
  EXPECT_STREQ(file_pszGetPath(133), "..\\data\\database\\kits.bin");
  // Console files stay empty; ids past the table give nothing.
  EXPECT_STREQ(file_pszGetPath(134), "");
  EXPECT_STREQ(file_pszGetPath(351), "");
  EXPECT_EQ(file_pszGetPath(352), nullptr);
  EXPECT_EQ(file_pszGetPath(-1), nullptr);
  EXPECT_EQ(file_Open(352), nullptr);
  EXPECT_EQ(file_Open(200), nullptr);
}

TEST(DataFiles, OpenSizeReadAndSeekThroughTheResolver) {
  fs::path oRoot = ShellTestRoot();
  fs::create_directories(oRoot / "data" / "Database" / "TM" / "French");
  {
    std::ofstream out(oRoot / "data" / "Database" / "TM" / "French" / "YEAR62F.CSV", std::ios::binary);
    out << "Group,Team\nA,Fiji\n";
  }
  EXPECT_EQ(file_Open(25), nullptr);  // french year62.csv is missing
  std::FILE* pFile = file_Open(26);  // french year62f.csv, matched without regard to case
  ASSERT_NE(pFile, nullptr);
  file_Seek(pFile, 6, 0);
  EXPECT_EQ(file_iGetSize(pFile), 18);
  char sz[8] = {};
  EXPECT_EQ(file_Read(pFile, sz, 5), 5);  // the size left it at the start
  EXPECT_STREQ(sz, "Group");
  file_Seek(pFile, 1, 1);
  EXPECT_EQ(file_Read(pFile, sz, 4), 4);
  EXPECT_EQ(std::string(sz, 4), "Team");
  file_Seek(pFile, -5, 2);
  EXPECT_EQ(file_Read(pFile, sz, 4), 4);
  EXPECT_EQ(std::string(sz, 4), "Fiji");
  file_Seek(pFile, 0, 7);  // unknown whence: nothing happens
  EXPECT_EQ(file_Read(pFile, sz, 8), 1);
  file_Close(pFile);
  fs::remove_all(oRoot / "data" / "Database");
}

TEST(DataFiles, EveryTournamentIdByFolderAndEdition) {
  const char* apszFolders[6] = {"english", "french", "german", "italian", "spanish", "portuguese"};
  int32_t iID = 1;
  for (const char* pszFolder : apszFolders) {
    for (int32_t iYear = 58; iYear <= 98; iYear += 4) {
      for (const char* pszKind : {"", "f"}) {
        std::string oExpected = std::string("..\\data\\database\\tm\\") + pszFolder + "\\year" +
                                std::to_string(iYear) + pszKind + ".csv";
        EXPECT_EQ(file_pszGetPath(iID), oExpected) << iID;
        iID++;
      }
    }
  }
  EXPECT_EQ(iID, 133);
  for (int32_t i = 134; i < FILE_ID_MAX; i++) EXPECT_STREQ(file_pszGetPath(i), "") << i;
  EXPECT_EQ(FILE_ID_MAX, 352);
  EXPECT_EQ(FILE_PATH_SIZE, 70);
}

}  // namespace
