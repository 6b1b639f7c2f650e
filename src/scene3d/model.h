#pragma once
// The model files: VSK (player bodies) and PCS (props and stadium shells),
// read into a ModelRecord; the quad conversion; and MeshObject, a textured
// PCS model drawn through the depth-sorted list.
//
// VSK: u32 vertex count V, u32 face count F, u32 extra count E, then V
// vertices (three floats), F faces (40 bytes), E extras (4 bytes).
// PCS: u32 V, u32 F, then V vertices and F triangles (40 bytes: three u32
// vertex indexes, u32 texture page, three (u, v) float pairs).
// All little-endian; nothing follows the last record.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render3d/q3d.h"
#include "render3d/sortlist.h"

enum : uint32_t {
  MODEL_VERTEX_SIZE = 12,
  MODEL_FACE_SIZE = 40,
  MODEL_EXTRA_SIZE = 4,
  MODEL_VSK_HEADER = 12,
  MODEL_PCS_HEADER = 8,
  // A player body has one extra (segment entry) for each of its 17 segments.
  MODEL_VSK_MIN_EXTRAS = 17,
};

// A face as the files hold it (VSK faces keep the body part in uPage).
struct ModelFace {
  uint32_t auIndex[3];
  uint32_t uPage;
  float afUV[6];  // u, v of corners 0, 1, 2
};

// The in-memory model: the file's records unchanged. Free with model_Free.
struct ModelRecord {
  uint32_t uVertexCount;
  uint32_t uFaceCount;
  uint32_t uExtraCount;  // 0 for PCS
  QMathVec3* pVertices;
  ModelFace* pFaces;
  uint32_t* pExtras;     // null for PCS
};

// Loads a VSK file by its full game path. Null, with a message in the debug
// log and in model_LastError(), when the file cannot be opened, its size is
// not exactly the header plus its records, a face names a vertex past the
// vertex count, or it holds fewer than 17 extras.
ModelRecord* model_poVSKLoad(const char* pszPath);
// Loads a PCS file by its name under the models folder; null as above.
ModelRecord* model_poPCSLoad(const char* pszName);
// The same checks over bytes in memory (pszLabel names them in the message).
ModelRecord* model_poVSKParse(const uint8_t* pData, size_t uSize, const char* pszLabel);
ModelRecord* model_poPCSParse(const uint8_t* pData, size_t uSize, const char* pszLabel);
// The message of the last refused file ("" after a good one).
const char* model_LastError();
void model_Free(ModelRecord* poModel);

// The writers our generators use: the bytes of a model, and a file written
// through a temporary file and renamed (1 on success, 0 on failure).
std::vector<uint8_t> model_VSKBytes(const ModelRecord& oModel);
std::vector<uint8_t> model_PCSBytes(const ModelRecord& oModel);
int32_t model_bVSKSave(const char* pszPath, const ModelRecord& oModel);
int32_t model_bPCSSave(const char* pszPath, const ModelRecord& oModel);

// A quad as its callers build it: four vertex indexes, four (u, v) pairs.
struct ModelSourceQuad {
  uint16_t auIndex[4];
  float afUV[8];
};

// Allocates count quad records into *ppOut (free with delete[]) and maps each
// corner's (u, v) through the scene's device for a page of textureSize x
// textureSize.
void model_QuadsConvert(Q3DQuad** ppOut, const ModelSourceQuad* pSource, uint32_t uCount, uint32_t uTextureSize);

// One textured PCS model (the corner flag), depth sorted.
class MeshObject : public SortObject {
 public:
  MeshObject(const char* pszModelName, const char* pszTextureName);
  ~MeshObject() override;
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;

  // Position in scene units; angle a 16-bit turn about the vertical axis.
  void Place(const QMathVec3* pPosition, uint16_t uAngle);
  void Draw() override;

  Q3DImageTexture* poTexture;
  Q3DMaterial* poMaterial;
  Q3DVertexList oVertices;
  Q3DFaceList oFaces;
  Q3DBounds oBounds;
  int32_t iVisibility;
  bool bHasModel;  // false when the model file could not be read: nothing is drawn
};
