#include "framework/qdx_list.h"

#include <cstdlib>

#include "framework/qdx_assert.h"

void QDXListInit(QDXList* pList, std::uint32_t cbNodeSize) {
  if (!pList) return;
  QDX_ASSERT(cbNodeSize >= sizeof(QDXListNode));
  pList->pFirst = nullptr;
  pList->pLast = nullptr;
  pList->cbNodeSize = cbNodeSize;
}

QDXListNode* QDXListAddNode(QDXList* pList) {
  if (!pList || pList->cbNodeSize < sizeof(QDXListNode)) return nullptr;
  auto* pNode = static_cast<QDXListNode*>(std::calloc(1, pList->cbNodeSize));
  if (!pNode) return nullptr;
  pNode->pList = pList;
  pNode->pPrev = pList->pLast;
  pNode->pNext = nullptr;
  if (pList->pLast)
    pList->pLast->pNext = pNode;
  else
    pList->pFirst = pNode;
  pList->pLast = pNode;
  return pNode;
}

void QDXListUnlinkNode(QDXListNode* pNode) {
  if (!pNode) return;
  QDXList* pList = pNode->pList;
  if (pNode->pPrev)
    pNode->pPrev->pNext = pNode->pNext;
  else if (pList && pList->pFirst == pNode)
    pList->pFirst = pNode->pNext;
  if (pNode->pNext)
    pNode->pNext->pPrev = pNode->pPrev;
  else if (pList && pList->pLast == pNode)
    pList->pLast = pNode->pPrev;
  pNode->pList = nullptr;
  pNode->pNext = nullptr;
  pNode->pPrev = nullptr;
}

void QDXListRemoveNode(QDXListNode* pNode) {
  if (!pNode) return;
  QDXListUnlinkNode(pNode);
  std::free(pNode);
}

void QDXListInsertNode(QDXListNode* pNew, QDXListNode* pOld) {
  if (!pNew || !pOld || pNew == pOld) return;
  QDXListUnlinkNode(pNew);
  QDXList* pList = pOld->pList;
  pNew->pList = pList;
  pNew->pPrev = pOld->pPrev;
  pNew->pNext = pOld->pNext;
  if (pNew->pPrev)
    pNew->pPrev->pNext = pNew;
  else if (pList)
    pList->pFirst = pNew;
  if (pNew->pNext)
    pNew->pNext->pPrev = pNew;
  else if (pList)
    pList->pLast = pNew;
  std::free(pOld);
}

void QDXListFreeAll(QDXList* pList) {
  if (!pList) return;
  QDXListNode* pNode = pList->pFirst;
  while (pNode) {
    QDXListNode* pNext = pNode->pNext;
    std::free(pNode);
    pNode = pNext;
  }
  pList->pFirst = nullptr;
  pList->pLast = nullptr;
}

QDXListNode* QDXListFirst(const QDXList* pList) { return pList ? pList->pFirst : nullptr; }
