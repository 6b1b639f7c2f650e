#pragma once
// QDXList: a doubly linked list of heap nodes of one fixed size per list.
// Every node starts with the links (QDXListNode) and carries its payload
// behind them, so a record that begins with a QDXListNode member can live in
// such a list. Nodes are plain data: they are zero-filled when added and freed
// without running destructors.
#include <cstdint>

struct QDXList;

struct QDXListNode {
  QDXList* pList;      // the owning list, null while unlinked
  QDXListNode* pNext;
  QDXListNode* pPrev;
};

struct QDXList {
  QDXListNode* pFirst;
  QDXListNode* pLast;
  std::uint32_t cbNodeSize;  // node size in bytes, links included
};

// Empty list whose nodes are cbNodeSize bytes (at least the links). A null
// list is ignored.
void QDXListInit(QDXList* pList, std::uint32_t cbNodeSize);

// New zero-filled node appended at the tail; null for a null or uninitialised
// list or when memory runs out.
QDXListNode* QDXListAddNode(QDXList* pList);

// Unlinks the node from its list and frees it (a null node is ignored).
void QDXListRemoveNode(QDXListNode* pNode);

// Unlinks the node without freeing it; the list's first and last pointers and
// both neighbours are fixed.
void QDXListUnlinkNode(QDXListNode* pNode);

// Puts pNew in pOld's place in pOld's list (same neighbours, same first or
// last position) and frees pOld. pNew is unlinked from wherever it was first.
void QDXListInsertNode(QDXListNode* pNew, QDXListNode* pOld);

// Frees every node and empties the list.
void QDXListFreeAll(QDXList* pList);

// The first node, null for an empty or null list.
QDXListNode* QDXListFirst(const QDXList* pList);

// Typed access for records whose first member is a QDXListNode.
template <class T>
inline T* QDXListAs(QDXListNode* pNode) {
  return reinterpret_cast<T*>(pNode);
}
