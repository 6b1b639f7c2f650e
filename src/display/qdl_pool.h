#pragma once
// Pools of the display library: doubly linked lists of zeroed heap records,
// each record starting with QDLListLinks (owning list, next, previous).
#include <cstddef>

#include "display/qdl_types.h"

struct QDLPool {
  void* pFirst;
  void* pLast;
  size_t nodeSize;
};

void QDLPoolInit(QDLPool* pPool, size_t nodeSize);
void* QDLPoolAdd(QDLPool* pPool);                  // zeroed record at the tail, null when out of memory
void QDLPoolAddAtHead(QDLPool* pPool, void* pNode); // links a record (already allocated) at the head
void QDLPoolLinkAfter(void* pNode, void* pAfter);  // links caller storage after another record
void QDLPoolUnlink(void* pNode);                   // unlinks without freeing
void QDLPoolRemove(void* pNode);                   // unlinks and frees
void* QDLPoolFirst(const QDLPool* pPool);
void* QDLPoolNext(const void* pNode);
void QDLPoolFreeAll(QDLPool* pPool);
