#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "framework/qdx_mem.h"

namespace {

TEST(QDXMem, AlignedBlocksAreAlignedWritableAndFreed) {
  for (std::uint32_t uAlign : {1u, 2u, 4u, 8u, 16u, 32u, 64u, 4096u}) {
    std::vector<void*> blocks;
    for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{100}, std::size_t{5000}}) {
      void* p = QDXMemAllocAligned(uAlign, n);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % uAlign, 0u) << uAlign;
      std::memset(p, 0xAB, n);  // the sanitizer checks the whole block is ours
      blocks.push_back(p);
    }
    for (void* p : blocks) QDXFreeAligned(p);  // the sanitizer checks each base address
  }
  QDXFreeAligned(nullptr);
}

TEST(QDXMemDeathTest, AlignmentMustBeAPowerOfTwo) {
  EXPECT_DEATH(QDXMemAllocAligned(24, 10), "uAlignment & \\(uAlignment - 1\\)");
}

class TrieTest : public ::testing::Test {
 protected:
  void SetUp() override { QDXTrieNodeInit(&root, nullptr, 0); }
  void TearDown() override { QDXTrieNodeClear(&root); }
  QDXTrieNode root;
};

TEST_F(TrieTest, InsertTwiceRefusesAndKeepsTheFirstValues) {
  EXPECT_EQ(QDXTrieInsertString(&root, "ball", 1, 2), 0);
  EXPECT_EQ(QDXTrieInsertString(&root, "ball", 3, 4), 7);
  QDXTrieValue v1 = 0, v2 = 0;
  EXPECT_EQ(QDXTrieFindString(&root, "ball", &v1, &v2), 0);
  EXPECT_EQ(v1, 1u);
  EXPECT_EQ(v2, 2u);
  EXPECT_EQ(QDXTrieFindString(&root, "bal", &v1, &v2), 7);
  EXPECT_EQ(QDXTrieFindString(&root, "balls", &v1, &v2), 7);
  EXPECT_EQ(QDXTrieFindStringKey(&root, "ball", &v1, nullptr), 0);
}

TEST_F(TrieTest, KeysDifferingAboveTheLowFiveBitsAreToldApart) {
  // 'A' (0x41), 'a' (0x61) and '!' (0x21) all fall in slot 1.
  EXPECT_EQ(QDXTrieInsertString(&root, "A", 10, 11), 0);
  EXPECT_EQ(QDXTrieInsertString(&root, "a", 20, 21), 0);
  EXPECT_EQ(QDXTrieInsertString(&root, "!", 30, 31), 0);
  EXPECT_EQ(QDXTrieInsertString(&root, "aA", 40, 41), 0);
  EXPECT_EQ(QDXTrieInsertString(&root, "Aa", 50, 51), 0);
  const std::pair<const char*, QDXTrieValue> expected[] = {{"A", 10}, {"a", 20}, {"!", 30}, {"aA", 40}, {"Aa", 50}};
  for (const auto& [key, value] : expected) {
    QDXTrieValue v1 = 0, v2 = 0;
    ASSERT_EQ(QDXTrieFindString(&root, key, &v1, &v2), 0) << key;
    EXPECT_EQ(v1, value) << key;
    EXPECT_EQ(v2, value + 1) << key;
  }
  EXPECT_EQ(QDXTrieFindString(&root, "AA", nullptr, nullptr), 7);
  EXPECT_EQ(QDXTrieInsertString(&root, "a", 0, 0), 7);
}

TEST_F(TrieTest, BinaryKeysAndPrefixes) {
  const std::uint8_t k1[] = {0, 1, 2};
  const std::uint8_t k2[] = {0, 1, 2, 3};
  const std::uint8_t k3[] = {32, 33, 34};  // same slots as k1
  EXPECT_EQ(QDXTrieInsert(&root, k1, 3, 1, 0), 0);
  EXPECT_EQ(QDXTrieInsert(&root, k2, 4, 2, 0), 0);
  EXPECT_EQ(QDXTrieInsert(&root, k3, 3, 3, 0), 0);
  EXPECT_EQ(QDXTrieInsert(&root, k1, 0, 4, 0), 0);  // the empty key
  QDXTrieValue v = 0;
  EXPECT_EQ(QDXTrieFind(&root, k1, 3, &v, nullptr), 0);
  EXPECT_EQ(v, 1u);
  EXPECT_EQ(QDXTrieFind(&root, k2, 4, &v, nullptr), 0);
  EXPECT_EQ(v, 2u);
  EXPECT_EQ(QDXTrieFind(&root, k3, 3, &v, nullptr), 0);
  EXPECT_EQ(v, 3u);
  EXPECT_EQ(QDXTrieFind(&root, k1, 0, &v, nullptr), 0);
  EXPECT_EQ(v, 4u);
  EXPECT_EQ(QDXTrieFind(&root, k2, 2, &v, nullptr), 7);
  // Pointer-sized values keep every bit.
  const QDXTrieValue big = static_cast<QDXTrieValue>(UINTPTR_MAX - 5);
  EXPECT_EQ(QDXTrieInsertString(&root, "ptr", big, big - 1), 0);
  QDXTrieValue v2 = 0;
  EXPECT_EQ(QDXTrieFindString(&root, "ptr", &v, &v2), 0);
  EXPECT_EQ(v, big);
  EXPECT_EQ(v2, big - 1);
}

// Differential test against a map: random keys over an alphabet whose bytes
// collide in the low five bits, in random orders, with repeats.
TEST_F(TrieTest, AgreesWithAMapOnRandomKeys) {
  std::mt19937 rng(12345);
  const std::uint8_t alphabet[] = {0x01, 0x21, 0x41, 0x61, 0x81, 0xC1, 0x02, 0x22};
  std::map<std::vector<std::uint8_t>, QDXTrieValue> model;
  for (int i = 0; i < 4000; i++) {
    std::vector<std::uint8_t> key(rng() % 7);
    for (auto& b : key) b = alphabet[rng() % sizeof(alphabet)];
    const QDXTrieValue value = static_cast<QDXTrieValue>(i) + 1;
    const bool bNew = model.find(key) == model.end();
    const int iResult = QDXTrieInsert(&root, key.data(), static_cast<std::uint32_t>(key.size()), value, ~value);
    ASSERT_EQ(iResult, bNew ? 0 : 7) << i;
    if (bNew) model[key] = value;
  }
  ASSERT_GT(model.size(), 1000u);
  for (const auto& [key, value] : model) {
    QDXTrieValue v1 = 0, v2 = 0;
    ASSERT_EQ(QDXTrieFind(&root, key.data(), static_cast<std::uint32_t>(key.size()), &v1, &v2), 0);
    EXPECT_EQ(v1, value);
    EXPECT_EQ(v2, ~value);
  }
  // Keys never inserted are absent.
  for (int i = 0; i < 2000; i++) {
    std::vector<std::uint8_t> key(rng() % 9);
    for (auto& b : key) b = static_cast<std::uint8_t>(rng());
    if (model.count(key)) continue;
    EXPECT_EQ(QDXTrieFind(&root, key.data(), static_cast<std::uint32_t>(key.size()), nullptr, nullptr), 7);
  }
}

TEST_F(TrieTest, ClearFreesEverythingAndTheTrieIsReusable) {
  for (int i = 0; i < 200; i++) QDXTrieInsertString(&root, ("obj" + std::to_string(i)).c_str(), i, 0);
  EXPECT_GT(root.cChildren, 0u);
  QDXTrieNodeClear(&root);  // the sanitizer reports anything left behind at exit
  EXPECT_EQ(root.cChildren, 0u);
  EXPECT_EQ(root.pLeaves, nullptr);
  EXPECT_EQ(QDXTrieFindString(&root, "obj5", nullptr, nullptr), 7);
  EXPECT_EQ(QDXTrieInsertString(&root, "obj5", 5, 0), 0);
  EXPECT_EQ(QDXTrieFindString(&root, "obj5", nullptr, nullptr), 0);
}

// ---- Pool ------------------------------------------------------------------------

struct PoolBuffer {
  alignas(8) std::uint8_t ab[1024];
};

QDXPoolBlock* BlockAt(QDXPool* pool, std::uint32_t offset) {
  return reinterpret_cast<QDXPoolBlock*>(reinterpret_cast<std::uint8_t*>(pool) + offset);
}

// Lays out used blocks of the given sizes after the header (the last one
// takes the rest) and returns their user addresses.
std::vector<void*> CarveUsed(QDXPool* pool, const std::vector<std::uint32_t>& sizes) {
  std::vector<void*> users;
  std::uint32_t offset = QDX_POOL_HEADER_SIZE;
  for (std::size_t i = 0; i < sizes.size(); i++) {
    const std::uint32_t size = i + 1 == sizes.size() ? pool->uSize - offset : sizes[i];
    QDXPoolBlock* b = BlockAt(pool, offset);
    b->uGuard = QDX_POOL_GUARD;
    b->uSize = size;
    b->uNext = 0;
    users.push_back(reinterpret_cast<std::uint8_t*>(b) + QDX_POOL_BLOCK_HEADER_SIZE);
    offset += size;
  }
  pool->uFirstFree = 0;
  pool->uFreeBytes = 0;
  return users;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> FreeList(QDXPool* pool) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> v;
  for (std::uint32_t o = pool->uFirstFree; o; o = BlockAt(pool, o)->uNext) v.push_back({o, BlockAt(pool, o)->uSize});
  return v;
}

TEST(QDXPool, InitLaysOutOneFreeBlock) {
  PoolBuffer buf;
  EXPECT_EQ(QDXPoolInit(buf.ab, 64), nullptr);
  EXPECT_EQ(QDXPoolInit(nullptr, 1024), nullptr);
  QDXPool* pool = QDXPoolInit(buf.ab, 65);
  ASSERT_NE(pool, nullptr);
  EXPECT_EQ(pool->uFreeBytes, 65u - 44u);
  pool = QDXPoolInit(buf.ab, sizeof(buf.ab));
  EXPECT_EQ(pool->uSize, 1024u);
  EXPECT_EQ(pool->uFreeBytes, 1024u - 44u);
  EXPECT_EQ(FreeList(pool), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{44, 980}}));
  EXPECT_EQ(BlockAt(pool, 44)->uGuard, QDX_POOL_GUARD);
  EXPECT_EQ(QDXReturnZero(), 0);
}

TEST(QDXPool, FreedBlocksStayInAddressOrderAndMerge) {
  // Every order of freeing four blocks ends with one block over the buffer.
  std::vector<int> order{0, 1, 2, 3};
  do {
    PoolBuffer buf;
    QDXPool* pool = QDXPoolInit(buf.ab, sizeof(buf.ab));
    std::vector<void*> users = CarveUsed(pool, {100, 200, 300, 0});
    std::uint32_t freed = 0;
    for (int i : order) {
      ASSERT_EQ(QDXPoolFree(pool, users[i]), 0);
      freed += BlockAt(pool, static_cast<std::uint32_t>(static_cast<std::uint8_t*>(users[i]) - buf.ab) -
                                 QDX_POOL_BLOCK_HEADER_SIZE)->uSize;
      auto list = FreeList(pool);
      for (std::size_t k = 1; k < list.size(); k++) {
        EXPECT_LT(list[k - 1].first + list[k - 1].second, list[k].first);  // ordered, not touching
      }
    }
    EXPECT_EQ(FreeList(pool), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{44, 980}}));
    EXPECT_EQ(pool->uFreeBytes, 980u);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(QDXPool, ForeignAndDoubleFreesAreRefused) {
  PoolBuffer buf;
  QDXPool* pool = QDXPoolInit(buf.ab, sizeof(buf.ab));
  std::vector<void*> users = CarveUsed(pool, {100, 200, 0});
  EXPECT_EQ(QDXPoolFree(pool, users[1]), 0);
  EXPECT_EQ(QDXPoolFree(pool, users[1]), 7);  // already free
  EXPECT_EQ(QDXPoolFree(pool, buf.ab + 8), 7);  // inside the header
  EXPECT_EQ(QDXPoolFree(pool, buf.ab + 2000), 7);  // outside
  EXPECT_EQ(QDXPoolFree(pool, static_cast<std::uint8_t*>(users[0]) + 4), 7);  // no guard word
  BlockAt(pool, 44)->uSize = 5000;  // size past the buffer
  EXPECT_EQ(QDXPoolFree(pool, users[0]), 7);
  BlockAt(pool, 44)->uSize = 150;  // overlaps the free block after it
  EXPECT_EQ(QDXPoolFree(pool, users[0]), 7);
  EXPECT_EQ(FreeList(pool), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{144, 200}}));
  EXPECT_EQ(pool->uFreeBytes, 200u);
}

}  // namespace
