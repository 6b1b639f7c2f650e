#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_device.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"
#include "scene3d_test_env.h"

namespace {

struct Scoped {
  RecordingDevice device;
  Scoped() { scene3d_poDevice = &device; }
  ~Scoped() {
    scene3d_poDevice = nullptr;
    scene3d_eColourMode = SCENE3D_COLOUR;
  }
};

struct TexelCase {
  uint8_t mode;
  uint8_t in[3];
  uint8_t out[3];
};

TEST(TextureColour, EraConversionsOfWhiteGreyPrimariesAndTheKey) {
  const TexelCase cases[] = {
      {SCENE3D_SEPIA, {255, 255, 255}, {232, 224, 209}},
      {SCENE3D_BLACK_AND_WHITE, {255, 255, 255}, {255, 255, 255}},
      {SCENE3D_SEPIA, {0, 0, 0}, {0, 0, 0}},
      {SCENE3D_BLACK_AND_WHITE, {0, 0, 0}, {0, 0, 0}},
      {SCENE3D_SEPIA, {128, 128, 128}, {116, 112, 104}},
      {SCENE3D_BLACK_AND_WHITE, {255, 0, 0}, {54, 54, 54}},
      {SCENE3D_SEPIA, {255, 0, 0}, {49, 47, 44}},
      {SCENE3D_BLACK_AND_WHITE, {0, 255, 0}, {182, 182, 182}},
      {SCENE3D_SEPIA, {0, 255, 0}, {165, 160, 149}},
      {SCENE3D_BLACK_AND_WHITE, {0, 0, 255}, {18, 18, 18}},
      {SCENE3D_SEPIA, {0, 0, 255}, {16, 16, 15}},
      // The key and its neighbours: only red and blue >= 248 with green < 8.
      {SCENE3D_SEPIA, {255, 0, 255}, {255, 0, 255}},
      {SCENE3D_BLACK_AND_WHITE, {248, 7, 248}, {248, 7, 248}},
      {SCENE3D_BLACK_AND_WHITE, {247, 0, 255}, {70, 70, 70}},
      {SCENE3D_BLACK_AND_WHITE, {255, 8, 255}, {78, 78, 78}},
      // Colour and unknown modes leave every texel alone.
      {SCENE3D_COLOUR, {10, 20, 30}, {10, 20, 30}},
      {3, {10, 20, 30}, {10, 20, 30}},
  };
  for (const TexelCase& c : cases) {
    scene3d_eColourMode = c.mode;
    uint8_t t[4] = {c.in[0], c.in[1], c.in[2], 77};
    texture_TexelColourConvert(t);
    EXPECT_EQ(t[0], c.out[0]) << int(c.mode) << " " << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2]);
    EXPECT_EQ(t[1], c.out[1]) << int(c.mode) << " " << int(c.in[0]);
    EXPECT_EQ(t[2], c.out[2]) << int(c.mode) << " " << int(c.in[0]);
    EXPECT_EQ(t[3], 77);  // a fourth byte is never touched
  }
  scene3d_eColourMode = SCENE3D_COLOUR;
}

TEST(TextureLoad, AFileIsLoadedConvertedRegisteredAndReleased) {
  Scoped s;
  // 2 x 2: white, red, magenta, grey.
  Scene3DWriteTexture("pitch\\era.tga", 2, 2, {255, 255, 255, 255, 0, 0, 255, 0, 255, 128, 128, 128});
  for (uint8_t mode : {SCENE3D_COLOUR, SCENE3D_SEPIA}) {
    s.device.calls.clear();
    s.device.registered.clear();
    scene3d_eColourMode = mode;
    Q3DImageTexture* t = texture_poLoad("pitch\\era.tga", nullptr, 1, -1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(s.device.calls, (std::vector<std::string>{"ImageCreate 2x2", "TextureRegister", "ImageRelease"}));
    EXPECT_EQ(s.device.liveImages, 0);
    ASSERT_EQ(s.device.registered.size(), 1u);
    const std::vector<uint8_t> want = mode == SCENE3D_SEPIA ? std::vector<uint8_t>{232, 224, 209, 255}
                                                             : std::vector<uint8_t>{255, 255, 255, 255};
    EXPECT_EQ(s.device.registered[0], want);
    EXPECT_EQ(t->uAddressU, Q3D_ADDRESS_REPEAT);
    EXPECT_EQ(t->uAddressV, Q3D_ADDRESS_REPEAT);
    EXPECT_EQ(t->iMipLevels, -1);
    EXPECT_EQ(t->uLoaded, 1u);
    EXPECT_EQ(t->auSlotFlags[0], 1u);
    EXPECT_EQ(t->uWidth, 2u);
    EXPECT_EQ(std::string(t->oHeader.szName), "..\\data\\textures\\pitch\\era.tga");
    texture_Free(t);
  }
  // Clamped, one mip level.
  Q3DImageTexture* c = texture_poLoad("pitch\\era.tga", nullptr, 0, 1);
  EXPECT_EQ(c->uAddressU, Q3D_ADDRESS_CLAMP);
  EXPECT_EQ(c->uAddressV, Q3D_ADDRESS_CLAMP);
  EXPECT_EQ(c->iMipLevels, 1);
  texture_Free(c);
}

TEST(TextureLoad, AComposedImageIsConvertedOnceAndNeverReadInColour) {
  Scoped s;
  MemoryImage img(3, 2);
  img.Fill(255, 255, 255, 200);
  scene3d_eColourMode = SCENE3D_COLOUR;
  Q3DImageTexture* t = texture_poLoad("StadiumPage", &img, 1, 4);
  EXPECT_EQ(img.gets, 0);  // colour mode 0 reads no texel back
  EXPECT_EQ(std::string(t->oHeader.szName), "StadiumPage");
  EXPECT_EQ(s.device.calls, (std::vector<std::string>{"TextureRegister"}));  // neither made nor released here
  EXPECT_EQ(t->iMipLevels, 4);
  texture_Free(t);
  scene3d_eColourMode = SCENE3D_SEPIA;
  Q3DImageTexture* u = texture_poLoad("StadiumPage", &img, 1, 4);
  EXPECT_EQ(img.gets, 6);  // each texel once
  EXPECT_EQ(img.At(1, 2)[0], 232);
  EXPECT_EQ(img.At(1, 2)[2], 209);
  EXPECT_EQ(img.At(1, 2)[3], 200);
  texture_Free(u);
}

TEST(TextureLoad, MissingOrDamagedFilesGiveAPlaceholderAndLoadingGoesOn) {
  Scoped s;
  const std::string dir = (Scene3DRoot() / "data" / "textures").string();
  Scene3DWriteTexture("bad.tga", 4, 4, std::vector<uint8_t>(48, 9));
  // Cut the pixels short: the header reads, the image does not.
  std::filesystem::resize_file(Scene3DRoot() / "data" / "textures" / "bad.tga", 30);
  for (const char* name : {"nothing\\here.tga", "bad.tga"}) {
    s.device.calls.clear();
    s.device.registered.clear();
    Q3DImageTexture* t = texture_poLoad(name, nullptr, 1, -1);
    ASSERT_NE(t, nullptr) << name;
    ASSERT_EQ(s.device.registered.size(), 1u);
    EXPECT_EQ(s.device.registered[0], (std::vector<uint8_t>{128, 128, 128, 255})) << name;
    EXPECT_GT(t->uWidth, 0u);
    EXPECT_EQ(s.device.liveImages, 0);
    texture_Free(t);
  }
  // Without a device (a scene that failed to start) nothing is touched.
  scene3d_poDevice = nullptr;
  Q3DImageTexture* t = texture_poLoad("nothing\\here.tga", nullptr, 1, -1);
  ASSERT_NE(t, nullptr);
  texture_Free(t);
}

}  // namespace
