#pragma once
// Depth-sortable scene objects and the back-to-front list the software
// renderer draws them from.
#include <cstdint>

#include "framework/math/qmath_types.h"

// The scene's world-to-view matrix (the match scene writes it every frame).
extern QMathMatrix scene3d_mWorldToView;

class SortObject {
 public:
  SortObject();
  virtual ~SortObject();
  // View position = translation of (local matrix x world-to-view matrix).
  virtual void ViewPositionCompute();
  virtual void Draw();

  QMathMatrix mLocal;
  QMathVec3 oViewPosition;  // z is the sorting depth
};

enum { SORTLIST_SIZE = 64 };

enum : uint32_t {
  SORTLIST_PLAIN = 0,
  SORTLIST_WITH_MATRIX = 1,
};

struct SortListEntry {
  float fDepth;
  uint32_t uKind;  // SORTLIST_*
  QMathMatrix mMatrix;
  SortObject* poObject;
};

class SortList {
 public:
  SortList();
  void Reset();
  void Add(SortObject* poObject, float fDepth);
  void AddWithMatrix(SortObject* poObject, float fDepth, const QMathMatrix* pMatrix);
  void Sort();  // largest depth first; equal depths keep their order
  void DrawAll();

  SortListEntry aEntries[SORTLIST_SIZE];
  SortListEntry* apOrder[SORTLIST_SIZE];
  uint16_t uCount;
};
