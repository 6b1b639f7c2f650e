#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qdx_chunk.h"

namespace {

// A temporary file opened for update, closed at the end of the test.
struct TempFile {
  TempFile() : p(std::tmpfile()) {}
  ~TempFile() {
    if (p) std::fclose(p);
  }
  std::vector<std::uint8_t> Bytes() {
    std::fflush(p);
    const long here = std::ftell(p);
    std::fseek(p, 0, SEEK_END);
    std::vector<std::uint8_t> v(static_cast<std::size_t>(std::ftell(p)));
    std::rewind(p);
    EXPECT_EQ(std::fread(v.data(), 1, v.size(), p), v.size());
    std::fseek(p, here, SEEK_SET);
    return v;
  }
  void SetBytes(const std::vector<std::uint8_t>& v) {
    std::fclose(p);
    p = std::tmpfile();
    if (!v.empty()) std::fwrite(v.data(), 1, v.size(), p);
    std::rewind(p);
  }
  std::FILE* p;
};

void WriteChunk(std::FILE* f, std::uint16_t id, const std::string& data) {
  QDXChunk c;
  ASSERT_EQ(QDXChunkBegin(&c, id, f), id);
  if (!data.empty()) {
    ASSERT_EQ(QDXChunkWrite(&c, data.data(), 1, data.size()), data.size());
  }
  ASSERT_EQ(QDXChunkEnd(&c), data.size() + 6);
}

TEST(QDXChunk, RoundTripFieldByFieldLittleEndian) {
  TempFile f;
  WriteChunk(f.p, 0x1234, "abc");
  WriteChunk(f.p, 7, "");
  WriteChunk(f.p, 0xBEEF, std::string(300, 'x'));
  const std::vector<std::uint8_t> bytes = f.Bytes();
  ASSERT_EQ(bytes.size(), 9u + 6u + 306u);
  const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 9);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{0x34, 0x12, 9, 0, 0, 0, 'a', 'b', 'c'}));
  EXPECT_EQ(bytes[9 + 6], 0xEF);
  EXPECT_EQ(bytes[9 + 6 + 1], 0xBE);
  EXPECT_EQ(QDXGetU32(&bytes[9 + 6 + 2]), 306u);

  std::rewind(f.p);
  QDXChunk c;
  ASSERT_EQ(QDXChunkReadHeader(&c, f.p), 0x1234);
  EXPECT_EQ(c.uLength, 9u);
  char buf[8] = {};
  EXPECT_EQ(QDXChunkRead(&c, buf, 1, 3), 3u);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(QDXChunkSkip(&c), 0);
  ASSERT_EQ(QDXChunkReadHeader(&c, f.p), 7);
  EXPECT_EQ(c.uLength, 6u);
  EXPECT_EQ(QDXChunkRead(&c, buf, 1, 1), 0u);  // a 6-byte chunk has no data
  EXPECT_EQ(QDXChunkSkip(&c), 0);
  ASSERT_EQ(QDXChunkReadHeader(&c, f.p), 0xBEEF);
  EXPECT_EQ(QDXChunkRead(&c, buf, 100, 4), 0u);  // would end past the chunk: nothing read
  EXPECT_EQ(std::ftell(f.p), 9 + 6 + 6);
  EXPECT_EQ(QDXChunkRead(&c, buf, 3, 2), 2u);
  QDXChunkRewind(&c);
  EXPECT_EQ(std::ftell(f.p), 9 + 6);
  EXPECT_EQ(QDXChunkSkip(&c), 0);
  EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0);  // end of the file
  EXPECT_EQ(c.eError, QDX_CHUNK_END);
  EXPECT_EQ(QDXChunkReadHeader(&c, nullptr), 0);
}

TEST(QDXChunk, EndLeavesTheFileWhereWritingStopped) {
  TempFile f;
  QDXChunk c;
  QDXChunkBegin(&c, 1, f.p);
  QDXChunkWrite(&c, "hello", 1, 5);
  EXPECT_EQ(QDXChunkEnd(&c), 11u);
  EXPECT_EQ(std::ftell(f.p), 11);
  QDXChunk none;
  EXPECT_EQ(QDXChunkBegin(&none, 1, nullptr), 0);
  EXPECT_EQ(QDXChunkEnd(&none), 0u);
}

TEST(QDXChunk, NestedChunks) {
  TempFile f;
  QDXChunk outer, inner;
  QDXChunkBegin(&outer, 100, f.p);
  const std::uint8_t count[2] = {2, 0};
  QDXChunkWrite(&outer, count, 1, 2);
  QDXChunkBegin(&inner, 101, f.p);
  QDXChunkWrite(&inner, "one", 1, 3);
  EXPECT_EQ(QDXChunkEnd(&inner), 9u);
  QDXChunkBegin(&inner, 102, f.p);
  QDXChunkWrite(&inner, "three", 1, 5);
  EXPECT_EQ(QDXChunkEnd(&inner), 11u);
  EXPECT_EQ(QDXChunkEnd(&outer), 6u + 2u + 9u + 11u);
  WriteChunk(f.p, 200, "z");

  std::rewind(f.p);
  ASSERT_EQ(QDXChunkReadHeader(&outer, f.p), 100);
  std::uint8_t n[2];
  ASSERT_EQ(QDXChunkRead(&outer, n, 1, 2), 2u);
  std::vector<std::string> seen;
  for (int i = 0; i < n[0]; i++) {
    const std::uint16_t id = QDXChunkReadHeader(&inner, f.p);
    ASSERT_NE(id, 0);
    std::string s(inner.uLength - 6, '\0');
    ASSERT_EQ(QDXChunkRead(&inner, s.data(), 1, s.size()), s.size());
    seen.push_back(std::to_string(id) + ":" + s);
    EXPECT_EQ(QDXChunkSkip(&inner), 0);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"101:one", "102:three"}));
  // Reading on in the outer chunk after its children: it is exactly at its end.
  EXPECT_EQ(QDXChunkRead(&outer, n, 1, 1), 0u);
  EXPECT_EQ(QDXChunkSkip(&outer), 0);
  EXPECT_EQ(QDXChunkReadHeader(&outer, f.p), 200);
}

TEST(QDXChunk, SkipAfterReadingPastTheEndReportsOne) {
  TempFile f;
  WriteChunk(f.p, 1, "ab");
  WriteChunk(f.p, 2, "cd");
  std::rewind(f.p);
  QDXChunk c;
  ASSERT_EQ(QDXChunkReadHeader(&c, f.p), 1);
  char buf[4];
  ASSERT_EQ(std::fread(buf, 1, 4, f.p), 4u);  // read past the chunk with the file itself
  EXPECT_EQ(QDXChunkSkip(&c), 1);
  EXPECT_EQ(c.pFile, nullptr);
}

TEST(QDXChunk, TruncatedAndCorruptedInputIsRejected) {
  TempFile f;
  WriteChunk(f.p, 5, "payload");
  WriteChunk(f.p, 6, "more");
  const std::vector<std::uint8_t> good = f.Bytes();
  QDXChunk c;

  // Cut anywhere inside the first header: truncated, nothing read.
  for (std::size_t cut = 1; cut < 6; cut++) {
    f.SetBytes({good.begin(), good.begin() + static_cast<long>(cut)});
    EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0) << cut;
    EXPECT_EQ(c.eError, QDX_CHUNK_TRUNCATED) << cut;
    EXPECT_EQ(std::ftell(f.p), 0);
  }
  // Cut inside the data: the length points past the end of the file.
  for (std::size_t cut = 6; cut < 13; cut++) {
    f.SetBytes({good.begin(), good.begin() + static_cast<long>(cut)});
    EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0) << cut;
    EXPECT_EQ(c.eError, QDX_CHUNK_BAD_LENGTH) << cut;
  }
  // Lengths below 6 (0 would make a skip loop forever) and huge lengths.
  for (std::uint32_t bad : {0u, 1u, 5u, 100u, 0xFFFFFFFFu}) {
    std::vector<std::uint8_t> v = good;
    QDXPutU32(&v[2], bad);
    f.SetBytes(v);
    EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0) << bad;
    EXPECT_EQ(c.eError, QDX_CHUNK_BAD_LENGTH) << bad;
    char buf[8];
    EXPECT_EQ(QDXChunkRead(&c, buf, 1, 1), 0u);
    EXPECT_EQ(QDXChunkSkip(&c), 0);
    EXPECT_EQ(std::ftell(f.p), 0);
  }
  // A corrupted second chunk does not spoil the first.
  std::vector<std::uint8_t> v = good;
  QDXPutU32(&v[13 + 2], 3);
  f.SetBytes(v);
  ASSERT_EQ(QDXChunkReadHeader(&c, f.p), 5);
  EXPECT_EQ(QDXChunkSkip(&c), 0);
  EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0);
  EXPECT_EQ(c.eError, QDX_CHUNK_BAD_LENGTH);
  // An empty file has no chunk.
  f.SetBytes({});
  EXPECT_EQ(QDXChunkReadHeader(&c, f.p), 0);
  EXPECT_EQ(c.eError, QDX_CHUNK_END);
}

// Every prefix of a valid nested file reads without crash or out-of-chunk
// reads, and a reader that walks it ends in a bounded number of steps.
TEST(QDXChunk, WalkingEveryPrefixEnds) {
  TempFile f;
  QDXChunk outer, inner;
  QDXChunkBegin(&outer, 1, f.p);
  for (int i = 0; i < 3; i++) {
    QDXChunkBegin(&inner, static_cast<std::uint16_t>(10 + i), f.p);
    QDXChunkWrite(&inner, "datadata", 1, static_cast<std::size_t>(i * 3));
    QDXChunkEnd(&inner);
  }
  QDXChunkEnd(&outer);
  const std::vector<std::uint8_t> good = f.Bytes();
  for (std::size_t cut = 0; cut <= good.size(); cut++) {
    for (std::size_t flip = 0; flip < cut; flip += 5) {
      std::vector<std::uint8_t> v(good.begin(), good.begin() + static_cast<long>(cut));
      v[flip] ^= 0x5A;
      f.SetBytes(v);
      int steps = 0;
      QDXChunk c;
      while (QDXChunkReadHeader(&c, f.p) != 0 && steps < 100) {
        std::uint8_t buf[64];
        const std::size_t n = std::min<std::size_t>(c.uLength - 6, sizeof(buf));
        QDXChunkRead(&c, buf, 1, n);
        QDXChunkSkip(&c);
        steps++;
      }
      EXPECT_LT(steps, 100);
    }
  }
}

}  // namespace
