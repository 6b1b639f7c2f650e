#pragma once
// Pools of the display library: the framework's lists of zeroed heap records,
// each record starting with its list links, plus the two link operations the
// library needs beyond them (a node at the head, caller storage after a node).
#include <cstddef>

#include "display/qdl_types.h"

typedef QDXList QDLPool;

void QDLPoolInit(QDLPool* pPool, size_t nodeSize);
void* QDLPoolAdd(QDLPool* pPool);                   // zeroed record at the tail, null when out of memory
void QDLPoolMoveToHead(void* pNode);                // moves a record of a pool to its head
void QDLPoolLinkAfter(void* pNode, void* pAfter);   // links caller storage after another record
void QDLPoolUnlink(void* pNode);                    // unlinks without freeing
void QDLPoolRemove(void* pNode);                    // unlinks and frees
void* QDLPoolFirst(const QDLPool* pPool);
void* QDLPoolNext(const void* pNode);
void QDLPoolFreeAll(QDLPool* pPool);
