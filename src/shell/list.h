#pragma once
// An intrusive doubly linked list node at the start of any record, and a
// queue {head, tail} over such nodes.
#include <cstdint>

struct ListNode {
  int32_t iSpare;
  ListNode* pNext;
  ListNode* pPrev;
};

struct Queue {
  ListNode* pHead;
  ListNode* pTail;
};

// Links pListN2 behind pListN1; returns pListN1's old next.
ListNode* list_InsertAfter(ListNode* pListN2, ListNode* pListN1);
// Joins the node's neighbours; the node's own links are left as they were.
void list_Unlink(ListNode* pNode);

void queue_Init(Queue* pQueue);
void queue_Append(Queue* pQueue, ListNode* pNode);
ListNode* queue_RemoveHead(Queue* pQueue);
