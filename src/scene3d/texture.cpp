#include "scene3d/texture.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "display/qdl_image.h"
#include "scene3d/scene3d_state.h"
#include "shell/debuglog.h"
#include "shell/pcinstall.h"
#include "shell/saidonce.h"

namespace {

// Side of the placeholder texture for a file that cannot be read.
constexpr int32_t kPlaceholderSize = 8;

Q3DImageTexture* NewTexture(int32_t bRepeat) {
  Q3DImageTexture* t = new Q3DImageTexture();
  const uint32_t a = bRepeat != 0 ? Q3D_ADDRESS_REPEAT : Q3D_ADDRESS_CLAMP;
  t->uAddressU = a;
  t->uAddressV = a;
  return t;
}

void Finish(Q3DImageTexture* t, Q3DImage* img, const char* pszName, int32_t iMipLevels) {
  t->apSlotImage[0] = img;
  t->auSlotFlags[0] = 1;
  Q3DObjectNameSet(&t->oHeader, pszName);
  size_t n = std::strlen(pszName);
  if (n > Q3D_SLOT_NAME_SIZE - 1) n = Q3D_SLOT_NAME_SIZE - 1;
  std::memcpy(t->aszSlotName[0], pszName, n);
  t->aszSlotName[0][n] = 0;
  if (img != nullptr) {
    t->uWidth = static_cast<uint32_t>(img->ColumnCount());
    t->uHeight = static_cast<uint32_t>(img->RowCount());
  }
  t->iHandle = -1;
  t->iMipLevels = iMipLevels;
  t->uLoaded = 1;
}

}  // namespace

void texture_TexelColourConvert(uint8_t* p) {
  const uint8_t r = p[0], g = p[1], b = p[2];
  if (r >= 248 && g < 8 && b >= 248) return;  // the transparent key
  const uint8_t mode = scene3d_eColourMode;
  if (mode != SCENE3D_SEPIA && mode != SCENE3D_BLACK_AND_WHITE) return;
  const double y = 0.71516 * g + 0.212671 * r + 0.072169 * b;
  if (mode == SCENE3D_SEPIA) {
    // Single-precision factors 232/255, 224/255, 209/255.
    const float fr = 232.0f / 255.0f, fg = 224.0f / 255.0f, fb = 209.0f / 255.0f;
    p[0] = static_cast<uint8_t>(y * fr);
    p[1] = static_cast<uint8_t>(y * fg);
    p[2] = static_cast<uint8_t>(y * fb);
  } else {
    const uint8_t v = static_cast<uint8_t>(y);
    p[0] = p[1] = p[2] = v;
  }
}

void texture_ImageColourConvert(Q3DImage* pImage) {
  if (pImage == nullptr) return;
  const int32_t rows = pImage->RowCount(), cols = pImage->ColumnCount();
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c) {
      uint8_t texel[4];
      pImage->PixelGet(r, c, texel);
      texture_TexelColourConvert(texel);
      pImage->PixelPut(r, c, texel);
    }
}

Q3DImageTexture* texture_poLoad(const char* pszName, Q3DImage* pImage, int32_t bRepeat, int32_t iMipLevels) {
  Q3DDevice* dev = scene3d_poDevice;
  Q3DImageTexture* t = NewTexture(bRepeat);
  const char* name = pszName != nullptr ? pszName : "";
  if (pImage != nullptr) {
    // A composed image: converted here once, released by the caller.
    if (scene3d_eColourMode != SCENE3D_COLOUR) texture_ImageColourConvert(pImage);
    Finish(t, pImage, name, iMipLevels);
    if (dev != nullptr) dev->TextureRegister(t);
    return t;
  }
  char path[PCINSTALL_PATH_SIZE] = {0};
  pcinstall_TexturePath(path, name);
  int32_t w = 0, h = 0, bits = 0;
  const bool header = QDLTGAGetInfo(path, &w, &h, &bits) == 0 && w > 0 && h > 0;
  Q3DImage* img = nullptr;
  bool loaded = false;
  if (dev != nullptr) {
    img = dev->ImageCreate(header ? w : kPlaceholderSize, header ? h : kPlaceholderSize);
    if (img != nullptr && header) loaded = img->Load(path) == 0;
    if (img != nullptr && !loaded) img->Fill(128, 128, 128, 255);
  }
  // Each path that cannot be read is said once.
  if (!loaded && saidonce_Say("texture", path, "texture: " + std::string(path) + " cannot be read; a placeholder is used"))
    debuglog_Printf("Texture %s cannot be read; a placeholder is used.\n", path);
  if (loaded && scene3d_eColourMode != SCENE3D_COLOUR) texture_ImageColourConvert(img);
  Finish(t, img, path, iMipLevels);
  if (dev != nullptr) {
    dev->TextureRegister(t);
    dev->ImageRelease(img);
  }
  t->apSlotImage[0] = nullptr;  // handed back to the device
  return t;
}

void texture_Free(Q3DImageTexture* poTexture) {
  if (poTexture == nullptr) return;
  if (scene3d_poDevice != nullptr && poTexture->iHandle != -1) scene3d_poDevice->TextureFree(poTexture);
  delete poTexture;
}
