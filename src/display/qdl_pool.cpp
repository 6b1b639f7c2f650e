#include "display/qdl_pool.h"

#include <cstdlib>

namespace {
QDLListLinks* links(void* p) { return static_cast<QDLListLinks*>(p); }
}  // namespace

void QDLPoolInit(QDLPool* pPool, size_t nodeSize) {
  if (!pPool) return;
  pPool->pFirst = nullptr;
  pPool->pLast = nullptr;
  pPool->nodeSize = nodeSize;
}

void* QDLPoolAdd(QDLPool* pPool) {
  if (!pPool || pPool->nodeSize < sizeof(QDLListLinks)) return nullptr;
  void* p = std::calloc(1, pPool->nodeSize);
  if (!p) return nullptr;
  links(p)->pList = pPool;
  links(p)->pPrev = pPool->pLast;
  links(p)->pNext = nullptr;
  if (pPool->pLast) links(pPool->pLast)->pNext = p;
  else pPool->pFirst = p;
  pPool->pLast = p;
  return p;
}

void QDLPoolAddAtHead(QDLPool* pPool, void* p) {
  if (!pPool || !p) return;
  links(p)->pList = pPool;
  links(p)->pPrev = nullptr;
  links(p)->pNext = pPool->pFirst;
  if (pPool->pFirst) links(pPool->pFirst)->pPrev = p;
  else pPool->pLast = p;
  pPool->pFirst = p;
}

void QDLPoolLinkAfter(void* p, void* pAfter) {
  if (!p || !pAfter) return;
  QDLPool* pPool = static_cast<QDLPool*>(links(pAfter)->pList);
  if (!pPool) return;
  links(p)->pList = pPool;
  links(p)->pPrev = pAfter;
  links(p)->pNext = links(pAfter)->pNext;
  if (links(pAfter)->pNext) links(links(pAfter)->pNext)->pPrev = p;
  else pPool->pLast = p;
  links(pAfter)->pNext = p;
}

void QDLPoolUnlink(void* p) {
  if (!p) return;
  QDLPool* pPool = static_cast<QDLPool*>(links(p)->pList);
  if (!pPool) return;
  void* pNext = links(p)->pNext;
  void* pPrev = links(p)->pPrev;
  if (pPrev) links(pPrev)->pNext = pNext;
  else pPool->pFirst = pNext;
  if (pNext) links(pNext)->pPrev = pPrev;
  else pPool->pLast = pPrev;
  links(p)->pList = nullptr;
  links(p)->pNext = nullptr;
  links(p)->pPrev = nullptr;
}

void QDLPoolRemove(void* p) {
  if (!p) return;
  QDLPoolUnlink(p);
  std::free(p);
}

void* QDLPoolFirst(const QDLPool* pPool) { return pPool ? pPool->pFirst : nullptr; }

void* QDLPoolNext(const void* p) {
  return p ? static_cast<const QDLListLinks*>(p)->pNext : nullptr;
}

void QDLPoolFreeAll(QDLPool* pPool) {
  if (!pPool) return;
  void* p = pPool->pFirst;
  while (p) {
    void* pNext = links(p)->pNext;
    std::free(p);
    p = pNext;
  }
  pPool->pFirst = nullptr;
  pPool->pLast = nullptr;
}
