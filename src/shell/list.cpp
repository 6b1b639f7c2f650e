// Intrusive lists and queues.
#include "shell/list.h"

#include "framework/qdx_assert.h"

ListNode* list_InsertAfter(ListNode* pListN2, ListNode* pListN1) {
  QDX_ASSERT(pListN1);
  QDX_ASSERT(pListN2);
  ListNode* pOldNext = pListN1->pNext;
  pListN2->pPrev = pListN1;
  pListN2->pNext = pOldNext;
  if (pOldNext) pOldNext->pPrev = pListN2;
  pListN1->pNext = pListN2;
  return pOldNext;
}

void list_Unlink(ListNode* pNode) {
  if (pNode->pPrev) pNode->pPrev->pNext = pNode->pNext;
  if (pNode->pNext) pNode->pNext->pPrev = pNode->pPrev;
}

void queue_Init(Queue* pQueue) {
  pQueue->pHead = nullptr;
  pQueue->pTail = nullptr;
}

void queue_Append(Queue* pQueue, ListNode* pNode) {
  if (pQueue->pHead == nullptr) {
    pNode->pNext = nullptr;
    pNode->pPrev = nullptr;
    pQueue->pHead = pNode;
    pQueue->pTail = pNode;
    return;
  }
  QDX_ASSERT(pNode);
  list_InsertAfter(pNode, pQueue->pTail);
  pQueue->pTail = pNode;
}

ListNode* queue_RemoveHead(Queue* pQueue) {
  ListNode* pHead = pQueue->pHead;
  if (pHead == nullptr) return nullptr;
  pQueue->pHead = pHead->pNext;
  if (pQueue->pHead) {
    pQueue->pHead->pPrev = nullptr;
  } else {
    pQueue->pTail = nullptr;
  }
  pHead->pNext = nullptr;
  pHead->pPrev = nullptr;
  return pHead;
}
