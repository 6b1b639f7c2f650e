#pragma once
// Memory services of the framework: aligned heap blocks, a string-keyed trie
// mapping byte keys to two values, and a free-list pool inside a caller's
// buffer.
#include <cstddef>
#include <cstdint>

// ---- Aligned blocks ---------------------------------------------------------
// The heap block holds size + alignment + a pointer; the returned address is
// rounded up to the alignment (a power of two) and the full base address of
// the heap block is kept just before it. Null when memory runs out.
void* QDXMemAllocAligned(std::uint32_t uAlignment, std::size_t uSize);
// Frees a block from QDXMemAllocAligned (null is ignored).
void QDXFreeAligned(void* pAddress);

// ---- String trie -------------------------------------------------------------
// Trie values are pointer-sized so that callers may store addresses in them.
using QDXTrieValue = std::uintptr_t;

enum { QDX_TRIE_SLOTS = 32 };

struct QDXTrieLeaf {
  std::uint8_t* pKey;        // heap copy of the key
  std::uint32_t uLength;     // key length in bytes
  QDXTrieValue uValue1;
  QDXTrieValue uValue2;
  QDXTrieLeaf* pNext;        // next leaf of the node's chain
};

struct QDXTrieNode {
  QDXTrieNode* apChild[QDX_TRIE_SLOTS];  // indexed by a key byte AND 31
  std::uint32_t cChildren;
  QDXTrieNode** ppParentSlot;            // the parent's slot that points here
  std::uint32_t uDepth;                  // the key index this node tests
  QDXTrieLeaf* pLeaves;
};

// Initialises a node (the caller's root: parent slot null, depth 0).
void QDXTrieNodeInit(QDXTrieNode* pNode, QDXTrieNode** ppParentSlot, std::uint32_t uDepth);
// Frees the node's children and leaves, then nulls its slot in the parent.
// The node itself stays with its owner.
void QDXTrieNodeClear(QDXTrieNode* pNode);
// Frees every child node (and everything below them).
void QDXTrieNodeFreeChildren(QDXTrieNode* pNode);
// Fills a leaf with a heap copy of the key; returns 0, or 7 when memory runs out.
int QDXTrieLeafCreate(QDXTrieLeaf* pLeaf, const void* pKey, std::uint32_t uLength, QDXTrieValue uValue1,
                      QDXTrieValue uValue2);
// Frees a heap leaf and the chain behind it.
void QDXTrieLeafFree(QDXTrieLeaf* pLeaf);

// 0 when inserted; 7 when the key is already present (or memory runs out).
int QDXTrieInsert(QDXTrieNode* pRoot, const void* pKey, std::uint32_t uLength, QDXTrieValue uValue1,
                  QDXTrieValue uValue2);
// The key is the text with its terminator.
int QDXTrieInsertString(QDXTrieNode* pRoot, const char* pszText, QDXTrieValue uValue1, QDXTrieValue uValue2);
// 0 with the values (either out pointer may be null), or 7 when absent.
int QDXTrieFind(const QDXTrieNode* pRoot, const void* pKey, std::uint32_t uLength, QDXTrieValue* puValue1,
                QDXTrieValue* puValue2);
int QDXTrieFindString(const QDXTrieNode* pRoot, const char* pszText, QDXTrieValue* puValue1,
                      QDXTrieValue* puValue2);
// The same lookup, for callers that keep their names as keys.
int QDXTrieFindStringKey(const QDXTrieNode* pRoot, const char* pszText, QDXTrieValue* puValue1,
                         QDXTrieValue* puValue2);

// ---- Pool inside a caller's buffer ---------------------------------------------
// The header sits at the start of the buffer; blocks follow, each with a
// guard word in front. Offsets are relative to the buffer's start.
enum : std::uint32_t {
  QDX_POOL_HEADER_SIZE = 44,
  QDX_POOL_BLOCK_HEADER_SIZE = 12,
  QDX_POOL_GUARD = 0xFFEEB10Cu,
  QDX_POOL_MIN_SIZE = 65,
};

struct QDXPool {
  std::uint32_t uSize;        // buffer size
  std::uint32_t uFreeBytes;   // bytes in free blocks, their headers included
  std::uint32_t uFirstFree;   // offset of the first free block, 0 for none
  std::uint32_t auReserved[8];
};
static_assert(sizeof(QDXPool) == QDX_POOL_HEADER_SIZE);

// Block header, just before the block's user bytes.
struct QDXPoolBlock {
  std::uint32_t uGuard;  // QDX_POOL_GUARD
  std::uint32_t uSize;   // whole block, header included
  std::uint32_t uNext;   // next free block's offset (free blocks only), 0 for none
};
static_assert(sizeof(QDXPoolBlock) == QDX_POOL_BLOCK_HEADER_SIZE);

// Lays the pool out in the buffer: one free block spans everything after the
// header. Null for a size below 65 or a null buffer.
QDXPool* QDXPoolInit(void* pBuffer, std::uint32_t uSize);
// Gives a block (its user address) back to the free list, kept in address
// order, merging it with a free neighbour before or after. Returns 0, or 7
// when the address is not a block of this pool (outside it, bad guard word,
// bad size or overlapping a free block); the pool is then unchanged.
int QDXPoolFree(QDXPool* pPool, void* pBlock);
int QDXReturnZero();

// ---- Memory figures ------------------------------------------------------------
struct QDXMemoryStatus {
  std::uint64_t uTotalPhysical;
  std::uint64_t uAvailPhysical;
  std::uint64_t uTotalVirtual;
  std::uint64_t uAvailVirtual;
};
extern QDXMemoryStatus qdx_oMemoryStatus;
// Records the total and available physical and virtual memory; returns 0.
int QDXGetMemoryStatus();
