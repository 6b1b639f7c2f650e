#include "platform/paths.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>

#include "support/temp_dir.h"

using namespace platform;
using korvena_test::readFile;
using korvena_test::TempDir;

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.write("data/Textures/Fonts/SWfont18pt.bmp", "font");
    game_.write("data/Models/Goals/62postb.pcs", "post");
    game_.write("bin/dxinfo.bin", "cache");
    std::filesystem::create_directories(game_ / "bin");
    setExecutableDir(game_ / "bin");
    const char* old = getenv("XDG_DATA_HOME");
    if (old) oldDataHome_ = old;
    setenv("XDG_DATA_HOME", (home_ / "share").c_str(), 1);
  }
  void TearDown() override {
    setExecutableDir("");
    if (oldDataHome_.empty())
      unsetenv("XDG_DATA_HOME");
    else
      setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
  }
  TempDir game_;
  TempDir home_;
  std::string oldDataHome_;
};

TEST_F(PathsTest, RelativePathsStartAtTheExecutablesFolderWhateverTheCase) {
  EXPECT_EQ(gameRootDir(), game_.path());
  EXPECT_EQ(resolvePath("..\\data\\textures\\fonts\\swfont18PT.BMP"), game_ / "data/Textures/Fonts/SWfont18pt.bmp");
  EXPECT_EQ(resolvePath("../DATA/models/goals/62POSTB.pcs"), game_ / "data/Models/Goals/62postb.pcs");
  EXPECT_EQ(resolvePath("DXINFO.BIN"), game_ / "bin/dxinfo.bin");
  EXPECT_EQ(resolvePath(".\\dxinfo.bin"), game_ / "bin/dxinfo.bin");
  // "..\" climbs and comes back; doubled separators are one.
  EXPECT_EQ(resolvePath("..\\bin\\..\\data\\\\Textures\\fonts\\swfont18pt.bmp"),
            game_ / "data/Textures/Fonts/SWfont18pt.bmp");
  // A missing part keeps its spelling below the matched folders, so new files land there.
  EXPECT_EQ(resolvePath("..\\DATA\\textures\\New\\file.TGA"), game_ / "data/Textures/New/file.TGA");
  // Folders keep their trailing separator.
  EXPECT_EQ(resolvePath("..\\data\\textures\\"), game_ / "data/Textures/");
  // Host paths pass through.
  EXPECT_EQ(resolvePath("/etc/hostname"), "/etc/hostname");
}

TEST_F(PathsTest, ThePseudoDiscIsTheGameFolder) {
  EXPECT_EQ(resolvePath("D:\\data\\TEXTURES\\Fonts\\SWfont18pt.bmp"), game_ / "data/Textures/Fonts/SWfont18pt.bmp");
  EXPECT_EQ(resolvePath("d:/Data/models/goals/62postb.pcs"), game_ / "data/Models/Goals/62postb.pcs");
  EXPECT_EQ(resolvePath("C:\\etc\\HOSTNAME").substr(0, 5), "/etc/");
  EXPECT_FALSE(fileExists("Q:\\data\\textures\\fonts\\swfont18pt.bmp"));

  char buf[128];
  uint32_t n = logicalDriveStrings(buf, sizeof buf);
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(std::string(buf, 9), std::string("C:\\\0D:\\\0\0", 9));
  EXPECT_EQ(logicalDriveStrings(buf, 4), 8u);  // too small: only the size needed
  std::vector<std::string> drives = logicalDrives();
  ASSERT_EQ(drives.size(), 2u);
  std::string found;
  for (const std::string& root : drives) {
    std::string label;
    if (driveType(root.c_str()) == DriveType::CdRom && volumeLabel(root.c_str(), &label) && label == "Korvena Football")
      found = root;
  }
  EXPECT_EQ(found, "D:\\");
  EXPECT_EQ(driveType("c:\\"), DriveType::Fixed);
  EXPECT_EQ(driveType("E:\\"), DriveType::NoRootDir);
  EXPECT_EQ(driveType("D:\\data"), DriveType::NoRootDir);
  std::string label;
  EXPECT_FALSE(volumeLabel("Z:\\", &label));
}

TEST_F(PathsTest, TheSaveFolderLivesInTheUsersDataFolder) {
  const std::string save = home_ / "share/korvena-football/savegame";
  EXPECT_EQ(saveDir(), save);
  EXPECT_EQ(resolvePath("..\\savegame\\England 1966.SAV"), save + "/England 1966.SAV");
  EXPECT_EQ(resolvePath("..\\SaveGame\\x.sav"), save + "/x.sav");
  EXPECT_EQ(resolvePath("D:\\savegame\\x.sav"), save + "/x.sav");
  // Writing makes the folder; names are matched without case afterwards.
  FILE* f = openFile("..\\savegame\\Br\xE9sil 1958.SAV", "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("save", f);
  std::fclose(f);
  EXPECT_EQ(readFile(save + "/Br\xC3\xA9sil 1958.SAV"), "save");  // UTF-8 on disk
  EXPECT_TRUE(fileExists("..\\SAVEGAME\\BR\xC9SIL 1958.sav"));
  std::vector<DirectoryEntry> list = listDirectory("..\\savegame\\*.sav");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "Br\xE9sil 1958.SAV");  // back in Windows-1252
  EXPECT_EQ(list[0].size, 4u);
  EXPECT_TRUE(listDirectory("..\\savegame\\*.txt").empty());
}

TEST_F(PathsTest, FileOperationsWorkOnGamePaths) {
  EXPECT_TRUE(fileExists("dxinfo.bin"));
  EXPECT_TRUE(copyFile("DXINFO.bin", "copy.bin", true));
  EXPECT_FALSE(copyFile("dxinfo.bin", "copy.bin", true));
  EXPECT_TRUE(copyFile("dxinfo.bin", "COPY.BIN", false));
  EXPECT_EQ(readFile(game_ / "bin/copy.bin"), "cache");
  EXPECT_FALSE(moveFile("copy.bin", "dxinfo.bin"));  // target exists
  EXPECT_TRUE(moveFile("copy.bin", "moved.bin"));
  EXPECT_FALSE(fileExists("copy.bin"));
  EXPECT_EQ(fileAttributes("moved.bin"), kFileAttributeNormal);
  EXPECT_TRUE(setFileAttributes("moved.bin", kFileAttributeReadOnly));
  EXPECT_EQ(fileAttributes("moved.bin") & kFileAttributeReadOnly, kFileAttributeReadOnly);
  EXPECT_TRUE(setFileAttributes("moved.bin", kFileAttributeNormal));
  EXPECT_EQ(fileAttributes("..\\data"), kFileAttributeDirectory);
  EXPECT_EQ(fileAttributes("nothing.bin"), kFileAttributeInvalid);
  // Newer by modification time, by game path; a missing file is never newer
  // nor older.
  std::filesystem::last_write_time(game_ / "bin/moved.bin",
                                   std::filesystem::last_write_time(game_ / "bin/dxinfo.bin") + std::chrono::seconds(1));
  EXPECT_TRUE(fileIsNewer("MOVED.bin", "dxinfo.bin"));
  EXPECT_FALSE(fileIsNewer("dxinfo.bin", "moved.bin"));
  EXPECT_FALSE(fileIsNewer("dxinfo.bin", "dxinfo.bin"));
  EXPECT_FALSE(fileIsNewer("nothing.bin", "dxinfo.bin"));
  EXPECT_FALSE(fileIsNewer("moved.bin", "nothing.bin"));
  EXPECT_TRUE(deleteFile("MOVED.BIN"));
  EXPECT_FALSE(deleteFile("moved.bin"));
  EXPECT_TRUE(makeDirectories("..\\data\\new\\deep"));
  EXPECT_TRUE(std::filesystem::is_directory(game_ / "data/new/deep"));
  std::vector<DirectoryEntry> list = listDirectory("..\\DATA\\*");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "Models");
  EXPECT_TRUE(list[0].isDirectory);
  EXPECT_EQ(list[2].name, "new");
  EXPECT_EQ(listDirectory("..\\data\\textures\\fonts\\sw??nt18pt.*").size(), 1u);
}

TEST(TextCodes, Windows1252AndUtf8RoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = cp1252ToUtf8(all);
  std::string back = utf8ToCp1252(utf8);
  // The five bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D have no character; they map to U+0081 etc. and come back as '?'.
  ASSERT_EQ(back.size(), all.size());
  for (size_t i = 0; i < all.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(all[i]);
    bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    EXPECT_EQ(back[i], undefined ? '?' : all[i]) << static_cast<int>(c);
  }
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(utf8ToCp1252("\xE2\x82\xAC"), "\x80");
  EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // outside the code page
  EXPECT_EQ(utf8ToCp1252("\xC3"), "?");              // cut off
}

}  // namespace
