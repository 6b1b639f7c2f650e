#include "fake_device.h"

#include <vector>

#include "render3d/q3d_imagefile.h"

uint32_t MemoryImage::Load(const char* pPath) {
  std::vector<uint8_t> px(m_px.size());
  const uint32_t r = Q3DImageFileRead(pPath, m_w, m_h, px.data());
  if (r == 0) m_px = px;
  return r;
}

void RecordingDevice::TextureRegister(Q3DImageTexture* t) {
  calls.push_back("TextureRegister");
  std::vector<uint8_t> first;
  if (t->apSlotImage[0] != nullptr) {
    const uint8_t* px = static_cast<MemoryImage*>(t->apSlotImage[0])->At(0, 0);
    first.assign(px, px + 4);
  }
  registered.push_back(first);
  t->iHandle = static_cast<int32_t>(registered.size()) - 1;
}
