// The stadium round the pitch: one shell model per stadium look, lit by
// day or by night, with its ring of advertising hoardings; it also places
// the scene's lights (the sun by day, the floodlights at night).
#pragma once

#include <cstdint>
#include <vector>

#include "render3d/q3d.h"

class Hoardings3D {
 public:
  Hoardings3D();
  Hoardings3D(const Hoardings3D&) = delete;
  Hoardings3D& operator=(const Hoardings3D&) = delete;
  ~Hoardings3D();
  void Draw();

  Q3DImageTexture* poTexture = nullptr;
  Q3DMaterial* poMaterial = nullptr;
  Q3DVertexList oVertices;
  Q3DBounds oBounds{};
  QMathVec3 aVertex[4];
  Q3DQuadList aQuads[40];
  Q3DQuad aQuad[40];
  QMathMatrix aMatrix[40];
  int32_t iFirstAdvert = 0;
};

class Stadium3D {
 public:
  // Builds the stadium of the scene's look, night flag, colour mode and
  // renderer.
  Stadium3D();
  Stadium3D(const Stadium3D&) = delete;
  Stadium3D& operator=(const Stadium3D&) = delete;
  ~Stadium3D();
  void Draw();          // hardware renderers
  void DrawSoftware();  // software renderer

  int32_t iLook = 0;
  bool bNight = false;
  bool bSoftware = false;
  Q3DImageTexture* apoTextures[4] = {};  // page1, page2, hoardings, lights (software: the composed page first)
  Q3DMaterial* apoMaterials[4] = {};
  Hoardings3D* poHoardings = nullptr;
  QMathMatrix oMatrix;
  Q3DVertexList oVertices;
  // The page ids present, ascending, one face list each (software: one).
  int32_t cGroups = 0;
  uint32_t auGroupPage[8] = {};
  Q3DFaceList aoGroups[8];

 private:
  void ModelLoad(const char* pszName);
  void ModelLoadSoftware(const char* pszName);
  std::vector<QMathVec3> m_aVertices;
  std::vector<Q3DFace> m_aFaces[8];
};

// The hoarding texture of the match's colour mode.
const char* stadium3d_HoardingTexture();
