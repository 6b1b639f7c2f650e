// Depth-sortable scene objects and the depth-sort list.
#include "render3d/sortlist.h"

#include "framework/math/qmatrix.h"

QMathMatrix scene3d_mWorldToView = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

SortObject::SortObject() : oViewPosition{0.0f, 0.0f, 0.0f} { QMathMatrixIdentity(&mLocal); }

SortObject::~SortObject() = default;

void SortObject::ViewPositionCompute() {
  QMathMatrix m;
  QMathMatrixMultiply(&m, &mLocal, &scene3d_mWorldToView);
  oViewPosition = QMathVec3{m.m[12], m.m[13], m.m[14]};
}

void SortObject::Draw() {}

SortList::SortList() {
  for (SortListEntry& e : aEntries) {
    e.fDepth = 0.0f;
    e.uKind = SORTLIST_PLAIN;
    QMathMatrixIdentity(&e.mMatrix);
    e.poObject = nullptr;
  }
  Reset();
}

void SortList::Reset() {
  for (int i = 0; i < SORTLIST_SIZE; ++i) apOrder[i] = &aEntries[i];
  uCount = 0;
}

void SortList::Add(SortObject* poObject, float fDepth) {
  if (uCount >= SORTLIST_SIZE) return;  // the 65th addition of a frame is dropped
  SortListEntry& e = aEntries[uCount++];
  e.fDepth = fDepth;
  e.uKind = SORTLIST_PLAIN;
  e.poObject = poObject;
}

void SortList::AddWithMatrix(SortObject* poObject, float fDepth, const QMathMatrix* pMatrix) {
  if (uCount >= SORTLIST_SIZE) return;
  SortListEntry& e = aEntries[uCount++];
  e.fDepth = fDepth;
  e.uKind = SORTLIST_WITH_MATRIX;
  e.mMatrix = *pMatrix;
  e.poObject = poObject;
}

void SortList::Sort() {
  if (uCount < 2) return;
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < uCount; ++i)
      if (apOrder[i]->fDepth < apOrder[i + 1]->fDepth) {
        SortListEntry* t = apOrder[i];
        apOrder[i] = apOrder[i + 1];
        apOrder[i + 1] = t;
        swapped = true;
      }
  }
}

void SortList::DrawAll() {
  for (int i = 0; i < uCount; ++i) {
    SortListEntry* e = apOrder[i];
    if (e->poObject == nullptr) continue;
    if (e->uKind == SORTLIST_WITH_MATRIX) e->poObject->mLocal = e->mMatrix;
    e->poObject->Draw();
  }
}
