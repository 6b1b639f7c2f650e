#include "framework/qdx_mem.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "framework/qdx_assert.h"

// ---- Aligned blocks ---------------------------------------------------------

void* QDXMemAllocAligned(std::uint32_t uAlignment, std::size_t uSize) {
  if (uAlignment == 0) uAlignment = 1;
  QDX_ASSERT((uAlignment & (uAlignment - 1)) == 0);
  const std::size_t cbExtra = std::size_t{uAlignment} + sizeof(void*);
  if (uSize > SIZE_MAX - cbExtra) return nullptr;
  void* pBase = std::malloc(uSize + cbExtra);
  if (!pBase) return nullptr;
  const std::uintptr_t uFirst = reinterpret_cast<std::uintptr_t>(pBase) + sizeof(void*);
  const std::uintptr_t uAligned = (uFirst + uAlignment - 1) & ~std::uintptr_t{uAlignment - 1};
  std::memcpy(reinterpret_cast<void*>(uAligned - sizeof(void*)), &pBase, sizeof(void*));
  return reinterpret_cast<void*>(uAligned);
}

void QDXFreeAligned(void* pAddress) {
  if (!pAddress) return;
  void* pBase;
  std::memcpy(&pBase, static_cast<std::uint8_t*>(pAddress) - sizeof(void*), sizeof(void*));
  std::free(pBase);
}

// ---- String trie -------------------------------------------------------------

namespace {

bool LeafMatches(const QDXTrieLeaf* pLeaf, const std::uint8_t* pKey, std::uint32_t uLength) {
  return pLeaf->uLength == uLength && (uLength == 0 || std::memcmp(pLeaf->pKey, pKey, uLength) == 0);
}

const QDXTrieLeaf* ChainFind(const QDXTrieLeaf* pLeaf, const std::uint8_t* pKey, std::uint32_t uLength) {
  for (; pLeaf; pLeaf = pLeaf->pNext)
    if (LeafMatches(pLeaf, pKey, uLength)) return pLeaf;
  return nullptr;
}

// The child in the given slot, created (depth + 1) when missing; null when
// memory runs out.
QDXTrieNode* ChildGet(QDXTrieNode* pNode, std::uint32_t uSlot) {
  if (pNode->apChild[uSlot]) return pNode->apChild[uSlot];
  auto* pChild = static_cast<QDXTrieNode*>(std::malloc(sizeof(QDXTrieNode)));
  if (!pChild) return nullptr;
  QDXTrieNodeInit(pChild, &pNode->apChild[uSlot], pNode->uDepth + 1);
  pNode->apChild[uSlot] = pChild;
  pNode->cChildren++;
  return pChild;
}

// Places a heap leaf below pNode. Every leaf sits on a node along its own key
// path and the lookup searches the chains of every node on that path, so when
// a child cannot be allocated the leaf may simply join the current chain.
void LeafPlace(QDXTrieNode* pNode, QDXTrieLeaf* pLeaf) {
  const std::uint8_t* pKey = pLeaf->pKey;
  const std::uint32_t uLength = pLeaf->uLength;
  for (;;) {
    while (pNode->uDepth < uLength) {
      QDXTrieNode* pChild = pNode->apChild[pKey[pNode->uDepth] & 31];
      if (!pChild) break;
      pNode = pChild;
    }
    if (!pNode->pLeaves || pNode->uDepth >= uLength) {
      pLeaf->pNext = pNode->pLeaves;
      pNode->pLeaves = pLeaf;
      return;
    }
    const std::uint32_t uDepth = pNode->uDepth;
    QDXTrieLeaf* pHere = pNode->pLeaves;
    if (pHere->uLength <= uDepth) {
      // The keys resting here end at this node: the new key goes one level down.
      QDXTrieNode* pChild = ChildGet(pNode, pKey[uDepth] & 31);
      if (!pChild) {
        pLeaf->pNext = pNode->pLeaves;
        pNode->pLeaves = pLeaf;
        return;
      }
      pNode = pChild;
      continue;
    }
    // The leaf resting here is longer than this depth: move it down to the
    // child for its own byte and go on with this node now without leaves.
    QDXTrieNode* pChild = ChildGet(pNode, pHere->pKey[uDepth] & 31);
    if (!pChild) {
      pLeaf->pNext = pNode->pLeaves;
      pNode->pLeaves = pLeaf;
      return;
    }
    pNode->pLeaves = pHere->pNext;
    pHere->pNext = nullptr;
    LeafPlace(pChild, pHere);
  }
}

}  // namespace

void QDXTrieNodeInit(QDXTrieNode* pNode, QDXTrieNode** ppParentSlot, std::uint32_t uDepth) {
  if (!pNode) return;
  std::memset(pNode->apChild, 0, sizeof(pNode->apChild));
  pNode->cChildren = 0;
  pNode->ppParentSlot = ppParentSlot;
  pNode->uDepth = uDepth;
  pNode->pLeaves = nullptr;
}

void QDXTrieNodeFreeChildren(QDXTrieNode* pNode) {
  if (!pNode) return;
  for (QDXTrieNode*& pChild : pNode->apChild) {
    if (!pChild) continue;
    QDXTrieNode* pFree = pChild;
    QDXTrieNodeClear(pFree);  // nulls pChild through its parent slot
    std::free(pFree);
    pChild = nullptr;
  }
  pNode->cChildren = 0;
}

void QDXTrieNodeClear(QDXTrieNode* pNode) {
  if (!pNode) return;
  QDXTrieNodeFreeChildren(pNode);
  QDXTrieLeafFree(pNode->pLeaves);
  pNode->pLeaves = nullptr;
  if (pNode->ppParentSlot) *pNode->ppParentSlot = nullptr;
}

int QDXTrieLeafCreate(QDXTrieLeaf* pLeaf, const void* pKey, std::uint32_t uLength, QDXTrieValue uValue1,
                      QDXTrieValue uValue2) {
  QDX_ASSERT(pLeaf != nullptr);
  pLeaf->pKey = static_cast<std::uint8_t*>(std::malloc(uLength ? uLength : 1));
  if (!pLeaf->pKey) return 7;
  if (uLength) std::memcpy(pLeaf->pKey, pKey, uLength);
  pLeaf->uLength = uLength;
  pLeaf->uValue1 = uValue1;
  pLeaf->uValue2 = uValue2;
  pLeaf->pNext = nullptr;
  return 0;
}

void QDXTrieLeafFree(QDXTrieLeaf* pLeaf) {
  while (pLeaf) {
    QDXTrieLeaf* pNext = pLeaf->pNext;
    std::free(pLeaf->pKey);
    std::free(pLeaf);
    pLeaf = pNext;
  }
}

int QDXTrieInsert(QDXTrieNode* pRoot, const void* pKey, std::uint32_t uLength, QDXTrieValue uValue1,
                  QDXTrieValue uValue2) {
  QDX_ASSERT(pRoot != nullptr);
  QDX_ASSERT(pKey != nullptr || uLength == 0);
  // A key already present anywhere along its path is refused, not stored twice.
  if (QDXTrieFind(pRoot, pKey, uLength, nullptr, nullptr) == 0) return 7;
  auto* pLeaf = static_cast<QDXTrieLeaf*>(std::malloc(sizeof(QDXTrieLeaf)));
  if (!pLeaf) return 7;
  if (QDXTrieLeafCreate(pLeaf, pKey, uLength, uValue1, uValue2) != 0) {
    std::free(pLeaf);
    return 7;
  }
  LeafPlace(pRoot, pLeaf);
  return 0;
}

int QDXTrieInsertString(QDXTrieNode* pRoot, const char* pszText, QDXTrieValue uValue1, QDXTrieValue uValue2) {
  QDX_ASSERT(pszText != nullptr);
  return QDXTrieInsert(pRoot, pszText, static_cast<std::uint32_t>(std::strlen(pszText) + 1), uValue1, uValue2);
}

int QDXTrieFind(const QDXTrieNode* pRoot, const void* pKeyIn, std::uint32_t uLength, QDXTrieValue* puValue1,
                QDXTrieValue* puValue2) {
  const auto* pKey = static_cast<const std::uint8_t*>(pKeyIn);
  const QDXTrieNode* pNode = pRoot;
  while (pNode) {
    if (const QDXTrieLeaf* pLeaf = ChainFind(pNode->pLeaves, pKey, uLength)) {
      if (puValue1) *puValue1 = pLeaf->uValue1;
      if (puValue2) *puValue2 = pLeaf->uValue2;
      return 0;
    }
    if (pNode->uDepth >= uLength) return 7;
    pNode = pNode->apChild[pKey[pNode->uDepth] & 31];
  }
  return 7;
}

int QDXTrieFindString(const QDXTrieNode* pRoot, const char* pszText, QDXTrieValue* puValue1,
                      QDXTrieValue* puValue2) {
  QDX_ASSERT(pszText != nullptr);
  return QDXTrieFind(pRoot, pszText, static_cast<std::uint32_t>(std::strlen(pszText) + 1), puValue1, puValue2);
}

int QDXTrieFindStringKey(const QDXTrieNode* pRoot, const char* pszText, QDXTrieValue* puValue1,
                         QDXTrieValue* puValue2) {
  return QDXTrieFindString(pRoot, pszText, puValue1, puValue2);
}

// ---- Pool inside a caller's buffer ---------------------------------------------

namespace {
QDXPoolBlock* PoolBlockAt(QDXPool* pPool, std::uint32_t uOffset) {
  return reinterpret_cast<QDXPoolBlock*>(reinterpret_cast<std::uint8_t*>(pPool) + uOffset);
}
}  // namespace

QDXPool* QDXPoolInit(void* pBuffer, std::uint32_t uSize) {
  if (!pBuffer || uSize < QDX_POOL_MIN_SIZE) return nullptr;
  QDX_ASSERT(reinterpret_cast<std::uintptr_t>(pBuffer) % alignof(QDXPool) == 0);
  auto* pPool = static_cast<QDXPool*>(pBuffer);
  std::memset(pPool, 0, sizeof(QDXPool));
  pPool->uSize = uSize;
  pPool->uFreeBytes = uSize - QDX_POOL_HEADER_SIZE;
  pPool->uFirstFree = QDX_POOL_HEADER_SIZE;
  QDXPoolBlock* pBlock = PoolBlockAt(pPool, QDX_POOL_HEADER_SIZE);
  pBlock->uGuard = QDX_POOL_GUARD;
  pBlock->uSize = uSize - QDX_POOL_HEADER_SIZE;
  pBlock->uNext = 0;
  return pPool;
}

int QDXPoolFree(QDXPool* pPool, void* pUser) {
  if (!pPool || !pUser) return 7;
  const auto uBase = reinterpret_cast<std::uintptr_t>(pPool);
  const auto uUser = reinterpret_cast<std::uintptr_t>(pUser);
  if (uUser < uBase + QDX_POOL_HEADER_SIZE + QDX_POOL_BLOCK_HEADER_SIZE || uUser >= uBase + pPool->uSize) return 7;
  const auto uOffset = static_cast<std::uint32_t>(uUser - uBase - QDX_POOL_BLOCK_HEADER_SIZE);
  if (uOffset % alignof(QDXPoolBlock) != 0) return 7;
  QDXPoolBlock* pBlock = PoolBlockAt(pPool, uOffset);
  if (pBlock->uGuard != QDX_POOL_GUARD || pBlock->uSize < QDX_POOL_BLOCK_HEADER_SIZE ||
      pBlock->uSize > pPool->uSize - uOffset)
    return 7;

  // Find the free neighbours in address order.
  std::uint32_t uPrev = 0;
  std::uint32_t uNext = pPool->uFirstFree;
  while (uNext && uNext < uOffset) {
    uPrev = uNext;
    uNext = PoolBlockAt(pPool, uNext)->uNext;
  }
  if (uNext == uOffset) return 7;  // already free
  if (uPrev && uPrev + PoolBlockAt(pPool, uPrev)->uSize > uOffset) return 7;
  if (uNext && uOffset + pBlock->uSize > uNext) return 7;

  pPool->uFreeBytes += pBlock->uSize;
  pBlock->uNext = uNext;
  if (uPrev)
    PoolBlockAt(pPool, uPrev)->uNext = uOffset;
  else
    pPool->uFirstFree = uOffset;
  if (uNext && uOffset + pBlock->uSize == uNext) {
    QDXPoolBlock* pAfter = PoolBlockAt(pPool, uNext);
    pBlock->uSize += pAfter->uSize;
    pBlock->uNext = pAfter->uNext;
    pAfter->uGuard = 0;
  }
  if (uPrev) {
    QDXPoolBlock* pBefore = PoolBlockAt(pPool, uPrev);
    if (uPrev + pBefore->uSize == uOffset) {
      pBefore->uSize += pBlock->uSize;
      pBefore->uNext = pBlock->uNext;
      pBlock->uGuard = 0;
    }
  }
  return 0;
}

int QDXReturnZero() { return 0; }

// ---- Memory figures ------------------------------------------------------------

QDXMemoryStatus qdx_oMemoryStatus;

int QDXGetMemoryStatus() {
  const long iPage = sysconf(_SC_PAGESIZE);
  const long iPhys = sysconf(_SC_PHYS_PAGES);
  const long iAvail = sysconf(_SC_AVPHYS_PAGES);
  const std::uint64_t uPage = iPage > 0 ? static_cast<std::uint64_t>(iPage) : 0;
  qdx_oMemoryStatus.uTotalPhysical = iPhys > 0 ? uPage * static_cast<std::uint64_t>(iPhys) : 0;
  qdx_oMemoryStatus.uAvailPhysical = iAvail > 0 ? uPage * static_cast<std::uint64_t>(iAvail) : 0;
  // The process's address space (47 bits of user space).
  qdx_oMemoryStatus.uTotalVirtual = std::uint64_t{1} << 47;
  qdx_oMemoryStatus.uAvailVirtual = qdx_oMemoryStatus.uTotalVirtual;
  return 0;
}
