#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/qdx_chunk.h"
#include "framework/qdx_file.h"
#include "headless_env.h"
#include "support/temp_dir.h"

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code e;
    std::filesystem::remove_all(TestRoot() / "data" / "Files", e);
    std::filesystem::create_directories(TestRoot() / "data" / "Files");
  }
  void TearDown() override { QDXFileCloseAll(); }
};

TEST_F(FileTest, SaveAndLoadThroughGamePathsWithoutRegardToCase) {
  const std::string oText = "field by field";
  EXPECT_EQ(QDXFileSave("..\\data\\Files\\Saved.BIN", oText.data(), oText.size()), oText.size());
  EXPECT_EQ(korvena_test::readFile(TestRoot() / "data" / "Files" / "Saved.BIN"), oText);
  // Only the file itself is left; a leftover of an ended game's save is gone.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(TestRoot() / "data" / "Files"),
                          std::filesystem::directory_iterator()),
            1);
  // Process ids stay below 2^22: this one never runs.
  const auto oStale = TestRoot() / "data" / "Files" / "Other.BIN.tmp.999999999";
  std::ofstream(oStale) << "half a save";
  EXPECT_EQ(QDXFileSave("..\\data\\Files\\Saved.BIN", oText.data(), oText.size()), oText.size());
  EXPECT_FALSE(std::filesystem::exists(oStale));
  EXPECT_EQ(QDXFileExists("..\\DATA\\files\\saved.bin"), 1);
  EXPECT_EQ(QDXFileExists("..\\data\\files\\none.bin"), 0);

  char acBuffer[64] = {};
  EXPECT_EQ(QDXFileLoad("..\\data\\FILES\\saved.bin", acBuffer, 0, sizeof(acBuffer)), oText.size());
  EXPECT_EQ(std::string(acBuffer), oText);
  // Part of the file.
  std::memset(acBuffer, 0, sizeof(acBuffer));
  EXPECT_EQ(QDXFileLoad("..\\data\\files\\saved.bin", acBuffer, 5, sizeof(acBuffer)), 5u);
  EXPECT_EQ(std::string(acBuffer), "field");
  EXPECT_EQ(QDXFileLoad("..\\data\\files\\missing.bin", acBuffer, 0, sizeof(acBuffer)), 0u);
}

TEST_F(FileTest, WholeFileLoadsNeverWritePastTheCapacity) {
  const std::string oText(100, 'k');
  ASSERT_EQ(QDXFileSave("..\\data\\Files\\big.bin", oText.data(), oText.size()), 100u);
  std::vector<char> oBuffer(40, '.');
  EXPECT_EQ(QDXFileLoad("..\\data\\Files\\big.bin", oBuffer.data(), 0, oBuffer.size()), 0u);
  EXPECT_EQ(QDXFileLoad("..\\data\\Files\\big.bin", oBuffer.data(), 41, oBuffer.size()), 0u);
  EXPECT_EQ(std::string(oBuffer.begin(), oBuffer.end()), std::string(40, '.'));  // nothing read
  EXPECT_EQ(QDXFileLoad("..\\data\\Files\\big.bin", oBuffer.data(), 40, oBuffer.size()), 40u);
  EXPECT_EQ(std::string(oBuffer.begin(), oBuffer.end()), std::string(40, 'k'));
}

TEST_F(FileTest, AFailedSaveLeavesTheOldFile) {
  ASSERT_EQ(QDXFileSave("..\\data\\Files\\keep.bin", "old", 3), 3u);
  // The target is a folder: it cannot be replaced.
  std::filesystem::create_directories(TestRoot() / "data" / "Files" / "dir.bin");
  EXPECT_EQ(QDXFileSave("..\\data\\Files\\dir.bin", "new", 3), 0u);
  EXPECT_EQ(QDXFileSave("..\\data\\NoSuchFolder\\x.bin", "new", 3), 0u);
  EXPECT_EQ(korvena_test::readFile(TestRoot() / "data" / "Files" / "keep.bin"), "old");
}

TEST_F(FileTest, OpenObjectsFormAListAndUpdateModesSwitchDirection) {
  QDXFile* poW = QDXFileOpen("..\\data\\Files\\u.bin", 9, QDXFILE_MODE_UPDATE_WRITE);
  ASSERT_NE(poW, nullptr);
  EXPECT_EQ(poW->uFlag, 9);
  EXPECT_EQ(QDXFileOpenCount(), 1u);
  EXPECT_EQ(QDXFileWrite(poW, "abcdef", 6), 6u);
  EXPECT_EQ(QDXFileSeek(poW, 2, SEEK_SET), 0);
  char ac[3] = {};
  EXPECT_EQ(QDXFileRead(poW, ac, 2), 2u);  // read after write
  EXPECT_EQ(std::string(ac), "cd");
  EXPECT_EQ(QDXFileWrite(poW, "XY", 2), 2u);  // write after read
  EXPECT_EQ(QDXFileTell(poW), 6);
  EXPECT_EQ(QDXFileSize(poW->pFile), 6);
  EXPECT_EQ(QDXFileTell(poW), 6);

  QDXFile* poR = QDXFileOpenRead("..\\data\\files\\U.BIN", 1);
  ASSERT_NE(poR, nullptr);
  EXPECT_EQ(QDXFileFind(poR), poR);
  EXPECT_EQ(QDXFileIsOpen(poR), 1);
  EXPECT_EQ(QDXFileOpenCount(), 2u);
  EXPECT_EQ(QDXFileClose(poW), 0);
  char acAll[7] = {};
  EXPECT_EQ(QDXFileRead(poR, acAll, 6), 6u);
  EXPECT_EQ(std::string(acAll), "abcdXY");
  EXPECT_EQ(QDXFileRead(poR, acAll, 1), 0u);
  EXPECT_EQ(QDXFileAtEnd(poR), 1);
  EXPECT_EQ(QDXFileIsOpen(poW), 0);
  EXPECT_EQ(QDXFileClose(poW), 7);  // not in the list any more
  // Append mode writes at the end and can read back.
  QDXFile* poA = QDXFileOpen("..\\data\\Files\\u.bin", 0, QDXFILE_MODE_APPEND);
  ASSERT_NE(poA, nullptr);
  EXPECT_EQ(QDXFileWrite(poA, "Z", 1), 1u);
  EXPECT_EQ(QDXFileSeek(poA, 0, SEEK_SET), 0);
  char acAppend[8] = {};
  EXPECT_EQ(QDXFileRead(poA, acAppend, 7), 7u);
  EXPECT_EQ(std::string(acAppend), "abcdXYZ");
  EXPECT_EQ(QDXFileClose(poA), 0);
  EXPECT_EQ(QDXFileOpen("..\\data\\Files\\u.bin", 0, 6), nullptr);  // no such mode
  EXPECT_EQ(QDXFileOpenRead("..\\data\\Files\\absent.bin", 0), nullptr);
  EXPECT_EQ(QDXFileOpenCount(), 1u);
  QDXFileCloseAll();
  EXPECT_EQ(QDXFileOpenCount(), 0u);
}

TEST_F(FileTest, ChunksThroughAnOpenFile) {
  QDXFile* poFile = QDXFileOpen("..\\data\\Files\\bank.spr", 0, QDXFILE_MODE_WRITE);
  ASSERT_NE(poFile, nullptr);
  QDXChunk oChunk;
  QDXChunkBegin(&oChunk, 0x4B42, poFile->pFile);
  QDXChunkWrite(&oChunk, "data", 1, 4);
  EXPECT_EQ(QDXChunkEnd(&oChunk), 10u);
  QDXFileClose(poFile);
  poFile = QDXFileOpenRead("..\\data\\Files\\BANK.SPR", 0);
  ASSERT_NE(poFile, nullptr);
  EXPECT_EQ(QDXChunkReadHeader(&oChunk, poFile->pFile), 0x4B42);
  EXPECT_EQ(oChunk.uLength, 10u);
}

TEST_F(FileTest, CopyMoveDeleteAndAttributes) {
  ASSERT_EQ(QDXFileSave("..\\data\\Files\\a.bin", "A", 1), 1u);
  ASSERT_EQ(QDXFileSave("..\\data\\Files\\b.bin", "B", 1), 1u);
  EXPECT_EQ(QDXFileCopy("..\\data\\Files\\a.bin", "..\\data\\Files\\b.bin", 1), 0);  // exists
  EXPECT_EQ(korvena_test::readFile(TestRoot() / "data" / "Files" / "b.bin"), "B");
  EXPECT_EQ(QDXFileCopy("..\\data\\Files\\a.bin", "..\\data\\Files\\b.bin", 0), 1);
  EXPECT_EQ(korvena_test::readFile(TestRoot() / "data" / "Files" / "b.bin"), "A");
  // A move that cannot copy keeps its source.
  EXPECT_EQ(QDXFileMove("..\\data\\Files\\a.bin", "..\\data\\Files\\b.bin"), 0);
  EXPECT_EQ(QDXFileExists("..\\data\\Files\\a.bin"), 1);
  EXPECT_EQ(QDXFileMove("..\\data\\Files\\a.bin", "..\\data\\Files\\c.bin"), 1);
  EXPECT_EQ(QDXFileExists("..\\data\\Files\\a.bin"), 0);
  EXPECT_EQ(korvena_test::readFile(TestRoot() / "data" / "Files" / "c.bin"), "A");

  EXPECT_EQ(QDXFileGetAttributes("..\\data\\Files\\c.bin") & 0x10u, 0u);
  EXPECT_EQ(QDXFileGetAttributes("..\\data\\Files") & 0x10u, 0x10u);
  EXPECT_EQ(QDXFileGetAttributes("..\\data\\Files\\none.bin"), 0xFFFFFFFFu);
  EXPECT_EQ(QDXFileSetAttributes("..\\data\\Files\\c.bin", 0x01), 1);
  EXPECT_EQ(QDXFileGetAttributes("..\\data\\Files\\c.bin") & 0x01u, 0x01u);
  EXPECT_EQ(QDXFileSetAttributes("..\\data\\Files\\c.bin", 0x80), 1);
  EXPECT_EQ(QDXFileGetAttributes("..\\data\\Files\\c.bin") & 0x01u, 0u);

  EXPECT_EQ(QDXFileDelete("..\\data\\Files\\C.BIN"), 1);
  EXPECT_EQ(QDXFileExists("..\\data\\Files\\c.bin"), 0);
  EXPECT_EQ(QDXFileDelete("..\\data\\Files\\c.bin"), 0);
}

struct Split {
  std::string drive, dir, name, ext;
};

Split DoSplit(const char* path) {
  char d[QDX_PATH_MAX], p[QDX_PATH_MAX], n[QDX_PATH_MAX], e[QDX_PATH_MAX];
  QDXPathSplit(path, d, p, n, e);
  return {d, p, n, e};
}

TEST(QDXPathSplit, DriveDirectoryNameExtension) {
  Split s = DoSplit("C:\\games\\korvena\\data\\dump.dat");
  EXPECT_EQ(s.drive, "C:");
  EXPECT_EQ(s.dir, "\\games\\korvena\\data\\");
  EXPECT_EQ(s.name, "dump");
  EXPECT_EQ(s.ext, "dat");
  s = DoSplit("..\\data\\frontend\\condi16.spr");
  EXPECT_EQ(s.drive, "");
  EXPECT_EQ(s.dir, "..\\data\\frontend\\");
  EXPECT_EQ(s.name, "condi16");
  EXPECT_EQ(s.ext, "spr");
  // The extension comes from the last component only, after its last dot.
  s = DoSplit("..\\data.v2\\tm\\year58f.csv");
  EXPECT_EQ(s.dir, "..\\data.v2\\tm\\");
  EXPECT_EQ(s.name, "year58f");
  EXPECT_EQ(s.ext, "csv");
  s = DoSplit("saves/archive.tar.gz");
  EXPECT_EQ(s.dir, "saves/");
  EXPECT_EQ(s.name, "archive.tar");
  EXPECT_EQ(s.ext, "gz");
  s = DoSplit("..\\data.v2\\README");
  EXPECT_EQ(s.name, "README");
  EXPECT_EQ(s.ext, "");
  s = DoSplit("mixed\\slash/file.txt");
  EXPECT_EQ(s.dir, "mixed\\slash/");
  EXPECT_EQ(s.name, "file");
  // Null outputs are skipped; over-long paths are cut at 255 characters.
  QDXPathSplit("a.b", nullptr, nullptr, nullptr, nullptr);
  const std::string oLong = std::string(300, 'x') + ".ext";
  s = DoSplit(oLong.c_str());
  EXPECT_EQ(s.name.size(), 255u);
  EXPECT_EQ(s.ext, "");
}

}  // namespace
