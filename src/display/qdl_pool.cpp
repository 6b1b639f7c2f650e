#include "display/qdl_pool.h"

namespace {
QDXListNode* N(void* p) { return static_cast<QDXListNode*>(p); }
}  // namespace

void QDLPoolInit(QDLPool* pPool, size_t nodeSize) {
  QDXListInit(pPool, static_cast<uint32_t>(nodeSize));
}

void* QDLPoolAdd(QDLPool* pPool) { return QDXListAddNode(pPool); }

void QDLPoolMoveToHead(void* p) {
  QDXListNode* n = N(p);
  if (!n || !n->pList) return;
  QDXList* pList = n->pList;
  QDXListUnlinkNode(n);
  n->pList = pList;
  n->pPrev = nullptr;
  n->pNext = pList->pFirst;
  if (pList->pFirst) pList->pFirst->pPrev = n;
  else pList->pLast = n;
  pList->pFirst = n;
}

void QDLPoolLinkAfter(void* p, void* pAfter) {
  QDXListNode* n = N(p);
  QDXListNode* a = N(pAfter);
  if (!n || !a || !a->pList) return;
  QDXList* pList = a->pList;
  n->pList = pList;
  n->pPrev = a;
  n->pNext = a->pNext;
  if (a->pNext) a->pNext->pPrev = n;
  else pList->pLast = n;
  a->pNext = n;
}

void QDLPoolUnlink(void* p) {
  if (p && N(p)->pList) QDXListUnlinkNode(N(p));
}

void QDLPoolRemove(void* p) {
  if (!p) return;
  QDXListRemoveNode(N(p));
}

void* QDLPoolFirst(const QDLPool* pPool) { return pPool ? QDXListFirst(pPool) : nullptr; }

void* QDLPoolNext(const void* p) { return p ? static_cast<const QDXListNode*>(p)->pNext : nullptr; }

void QDLPoolFreeAll(QDLPool* pPool) { QDXListFreeAll(pPool); }
