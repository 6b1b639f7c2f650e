#include "scene3d/loading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/audio_services.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "scene3d/goals3d.h"
#include "scene3d/pitch3d.h"
#include "scene3d/stadium3d.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/kits3d.h"
#include "scene3d/texture.h"
#include "shell/pcinstall.h"
#include "shell/saidonce.h"
#include "shell/texts.h"

LoadingPiece loading_aoPieces[LOADING_PIECES] = {};
int32_t loading_iStep = 0;
float loading_fLastProgress = -1.0f;
Q3DImageTexture* loading_apoPageTexture[LOADING_PAGES] = {};
Q3DMaterial* loading_apoPageMaterial[LOADING_PAGE_MATERIALS] = {};

namespace {

enum { kBackground = 0, kLogo = 1, kClock = 2 };
const char* const kScreenFiles[3] = {"images\\loadingS.tga", "images\\dolby.tga", "images\\clock.tga"};

Q3DImageTexture* g_apoScreenTexture[3] = {};
Q3DMaterial* g_apoScreenMaterial[3] = {};
int32_t g_iRepeat = 0;
Q3DScreenVertex g_aoSweep[LOADING_SWEEP];

int32_t g_iPageStage = 0;
int32_t g_iPiece = 0;
Q3DImage* g_apoPage[LOADING_PAGES] = {};
char g_aszComposed[LOADING_PIECES][256];  // the name each piece was composed from

float FactorX() { return static_cast<float>(scene3d_uScreenWidth) * 0.0015625f; }
float FactorY() { return static_cast<float>(scene3d_uScreenHeight) * 0.0020833334f; }
int32_t X(int32_t x) { return static_cast<int32_t>(static_cast<float>(x) * FactorX()); }
int32_t Y(int32_t y) { return static_cast<int32_t>(static_cast<float>(y) * FactorY()); }

void ScreenFree(int32_t i) {
  if (g_apoScreenMaterial[i] != nullptr) Q3DMaterialReset(g_apoScreenMaterial[i]);
  delete g_apoScreenMaterial[i];
  g_apoScreenMaterial[i] = nullptr;
  texture_Free(g_apoScreenTexture[i]);
  g_apoScreenTexture[i] = nullptr;
}

void ScreenLoad(int32_t i) {
  ScreenFree(i);
  g_apoScreenTexture[i] = texture_poLoad(kScreenFiles[i], nullptr, 0, 1);
  g_apoScreenMaterial[i] = new Q3DMaterial(g_apoScreenTexture[i]);
}

void PagesFree() {
  Q3DDevice* d = scene3d_poDevice;
  for (Q3DImage*& p : g_apoPage) {
    if (p != nullptr && d != nullptr) d->ImageRelease(p);
    p = nullptr;
  }
  for (Q3DMaterial*& m : loading_apoPageMaterial) {
    if (m != nullptr) Q3DMaterialReset(m);
    delete m;
    m = nullptr;
  }
  for (Q3DImageTexture*& t : loading_apoPageTexture) {
    texture_Free(t);
    t = nullptr;
  }
  g_iPageStage = 0;
  g_iPiece = 0;
  std::memset(g_aszComposed, 0, sizeof g_aszComposed);
}

// A textured screen quad from (x0, y0) to (x1, y1) in pixels, its texels the
// rows v0..v1 of an image of w x h.
void TexturedQuad(Q3DDevice* d, const Q3DMaterial* m, int32_t x0, int32_t y0, int32_t x1, int32_t y1, float v0,
                  float v1) {
  if (m == nullptr || m->pTexture == nullptr) return;
  const uint32_t w = m->pTexture->uWidth, h = m->pTexture->uHeight;
  Q3DScreenQuad q;
  q.uKind = Q3D_QUAD_TEXTURED;
  q.aiRect[0] = x0;
  q.aiRect[1] = y0;
  q.aiRect[2] = x1;
  q.aiRect[3] = y1;
  const float uv[4][2] = {{0.0f, v0}, {1.0f, v0}, {1.0f, v1}, {0.0f, v1}};
  for (int k = 0; k < 4; ++k) d->TexelMap(&q.aTexel[k], uv[k], w, h);
  d->TextureSet(m);
  d->ScreenQuadDraw(&q, &scene3d_oCamera, 0);
}

void SweepBuild() {
  const float cx = static_cast<float>(X(554)), cy = static_cast<float>(Y(373));
  const float r = 48.0f * FactorX();
  Q3DScreenVertexReset(&g_aoSweep[0]);
  g_aoSweep[0].x = cx;
  g_aoSweep[0].y = cy;
  g_aoSweep[0].oColour = Q3DColour{128, 0, 0, 64};
  for (int k = 0; k <= 32; ++k) {
    const double a = 11.25 * (k % 32) * 3.14159265358979323846 / 180.0;
    Q3DScreenVertex& v = g_aoSweep[k + 1];
    Q3DScreenVertexReset(&v);
    v.x = cx + r * static_cast<float>(std::sin(a));
    v.y = cy - r * static_cast<float>(std::cos(a));
    v.oColour = Q3DColour{128, 0, 0, 64};
  }
}

// One text twice, at screen pixels x, y: a shadow one pixel right and down,
// then in its colour.
void ShadowTextAt(Q3DDevice* d, const char* text, int32_t x, int32_t y, uint32_t align, Q3DColour c) {
  Q3DTexture* font = scene3d_apoFont[0];
  if (font == nullptr || text == nullptr || text[0] == 0) return;
  const Q3DColour shadow{73, 73, 37, 255};
  d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &shadow);
  d->TextDraw(font, x + 1, y + 1, align, text);
  d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
  d->TextDraw(font, x, y, align, text);
}

// A text drawn in lines that keep to the screen: a margin as wide as the
// left one (x 48) on either side, 16 pixels a character. A text of more
// than one line ends on its own line's y, its first lines above it (kept
// below the screen's top margin), so it keeps its distance to the next.
void FittedText(Q3DDevice* d, const char* text, int32_t x, int32_t y, uint32_t align, Q3DColour c) {
  if (text == nullptr) return;
  const int32_t room = (static_cast<int32_t>(scene3d_uScreenWidth) - 2 * X(48)) / 16;
  const std::vector<std::string> lines = loading_TextLines(text, room);
  const Q3DTexture* font = scene3d_apoFont[0];
  const int32_t cell = font != nullptr ? static_cast<int32_t>(font->uHeight) + 2 : 0;
  const int32_t step = std::max(Y(24), cell);
  const int32_t n = static_cast<int32_t>(lines.size());
  const int32_t top = std::max(Y(y) - (n - 1) * step, std::min(Y(y), Y(12)));
  for (int32_t i = 0; i < n; ++i)
    ShadowTextAt(d, lines[static_cast<size_t>(i)].c_str(), X(x), top + i * step, align, c);
}

// A team's name through the character remap (64 characters at most), with
// its year label in the friendly, demo and training matches. The name is
// whole where it keeps to one line of the screen beside its year, else the
// team's short name.
void TeamLine(char* out, size_t size, int32_t away, bool withYear) {
  const char* year = withYear ? scene3d_pszTeamYearGet(away) : nullptr;
  const bool bYear = year != nullptr && year[0] != 0;
  const int32_t room = (static_cast<int32_t>(scene3d_uScreenWidth) - 2 * X(48)) / 16 * 16 -
                       (bYear ? pctext_WidthGet(year) + pctext_WidthGet(" ") : 0);
  const char* name = scene3d_pszTeamNameGet(away, room);
  size_t n = 0;
  for (; name != nullptr && name[n] != 0 && n < 64 && n + 1 < size; ++n)
    out[n] = static_cast<char>(pcframe_CharRemap(static_cast<uint8_t>(name[n])));
  out[n] = 0;
  if (bYear) std::snprintf(out + n, size - n, " %s", year);
}

void TextsDraw(Q3DDevice* d) {
  d->RenderStateSet(4, 33);
  pctext_FontSet(0);
  const int32_t mode = scene3d_iExtendedModeGet();
  const bool training = mode == 39;
  const bool withYear = mode == 50 || mode == 74 || mode == 15 || training;
  const Q3DColour title{186, 186, 118, 255}, plain{200, 200, 200, 255};
  const char* t = nullptr;
  int32_t ty = 60;
  if (mode == 50 || mode == 74) t = scene3d_pszFrontEndText(IDS_FE_FRIENDLY_MATCH);
  else if (training) {
    t = scene3d_pszFrontEndText(IDS_FE_TRAINING_SESSION);
    ty = 53;
  } else if (mode == 15) t = scene3d_pszFrontEndText(IDS_FE_DEMO_MATCH);
  else t = scene3d_pszRoundTitleGet();
  FittedText(d, t, 48, ty, 0, title);
  char line[160];
  TeamLine(line, sizeof line, 0, withYear);
  FittedText(d, line, 48, training ? 154 : 108, 0, plain);
  if (!training) {
    FittedText(d, scene3d_pszFrontEndText(IDS_FE_VERSUS_WORD), 48, 156, 0, plain);
    TeamLine(line, sizeof line, 1, withYear);
    FittedText(d, line, 48, 196, 0, plain);
    FittedText(d, scene3d_pszCityNameGet(), 48, 248, 0, plain);
  }
  FittedText(d, scene3d_pszFrontEndText(IDS_FE_PLEASE_WAIT_LOADING), 320, 440, 2, plain);
}

void ScreenDraw(Q3DDevice* d) {
  d->RenderStateSet(11, 0);
  d->RenderStateSet(4, 16);
  d->BackgroundSet(0, 0, 0, 255);
  d->Clear();
  d->BatchBegin(0);
  TexturedQuad(d, g_apoScreenMaterial[kBackground], 0, 0, static_cast<int32_t>(scene3d_uScreenWidth),
               static_cast<int32_t>(scene3d_uScreenHeight), 0.0f, 1.0f);
  d->BatchEnd();
  d->BatchBegin(0);
  d->RenderStateSet(4, 32);
  TexturedQuad(d, g_apoScreenMaterial[kLogo], X(32), Y(376), X(160), Y(440), 0.0f, 0.5f);
  TexturedQuad(d, g_apoScreenMaterial[kLogo], X(490), Y(245), X(618), Y(309), 0.5f, 1.0f);
  d->BatchEnd();
  loading_ProgressDraw(0.0f);
  d->BatchBegin(0);
  TextsDraw(d);
  d->BatchEnd();
}

// ---- The steps ------------------------------------------------------------------------------

int32_t Step1() {
  for (int32_t i = 0; i < 3; ++i) ScreenLoad(i);
  scene3d_FontsLoad();
  SweepBuild();
  g_iRepeat = 2;
  scene3d_poDevice->BackgroundSet(0, 0, 0, 255);
  return 1;
}

int32_t Step2() {
  ScreenDraw(scene3d_poDevice);
  if (--g_iRepeat > 0) return 0;
  scene3d_FontsFree();
  for (int32_t i = 0; i < 3; ++i) ScreenFree(i);
  scene3d_poDevice->Flush();
  return 1;
}

int32_t Step3() {
  scene3d_FontsLoad();
  ScreenLoad(kClock);
  loading_ProgressDraw(0.05f);
  return 1;
}

int32_t Step4() {
  if (scene3d_poScene != nullptr) scene3d_poScene->Load();
  loading_ProgressDraw(0.1f);
  return 1;
}

int32_t Step5() {
  Scene3D* s = scene3d_poScene;
  if (s != nullptr) {
    delete s->poPitch;
    s->poPitch = new Pitch3D(scene3d_iPitchTypeGet());
  }
  loading_ProgressDraw(0.15f);
  return 1;
}
int32_t Step6() {
  Scene3D* s = scene3d_poScene;
  if (s != nullptr) {
    delete s->poStadium;
    s->poStadium = new Stadium3D();
  }
  loading_ProgressDraw(0.25f);
  return 1;
}
int32_t Step7() {
  kits_PlayerObjectsCreate();
  loading_ProgressDraw(0.3f);
  return 1;
}

// Loads piece i into its page's image and remembers its name. A piece added
// after the pages were handed over is converted as the whole page was.
void PieceLoad(int32_t i, bool late) {
  Q3DDevice* d = scene3d_poDevice;
  const LoadingPiece& pc = loading_aoPieces[i];
  std::memcpy(g_aszComposed[i], pc.szImage, sizeof g_aszComposed[i]);
  if (d == nullptr || pc.szImage[0] == 0 || pc.iPage < 0 || pc.iPage >= LOADING_PAGES || g_apoPage[pc.iPage] == nullptr)
    return;
  Q3DImage* img = d->ImageCreate(static_cast<int32_t>(pc.fWidth), static_cast<int32_t>(pc.fHeight));
  if (img == nullptr) return;
  img->Fill(32, 32, 32, 255);
  char path[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(path, pc.szImage);
  if (img->Load(path) != 0) {
    // Each piece that cannot be read is said once; it stays grey.
    saidonce_Say("loading", path, "texture: " + std::string(path) + " cannot be read; it is left grey");
  }
  if (i >= LOADING_FIRST_CONVERTED_PIECE) texture_ImageColourConvert(img);
  if (late && scene3d_eColourMode != SCENE3D_COLOUR) texture_ImageColourConvert(img);
  img->CopyTo(g_apoPage[pc.iPage], static_cast<int32_t>(pc.fX), static_cast<int32_t>(pc.fY));
  d->ImageRelease(img);
}

int32_t Step8() {
  Q3DDevice* d = scene3d_poDevice;
  switch (g_iPageStage) {
    case 0:
      for (Q3DImage*& p : g_apoPage) {
        if (p != nullptr) d->ImageRelease(p);
        p = d->ImageCreate(LOADING_PAGE_SIZE, LOADING_PAGE_SIZE);
        if (p != nullptr) p->Fill(32, 32, 32, 255);
      }
      g_iPiece = 0;
      g_iPageStage = 1;
      loading_ProgressDraw(0.325f);
      return 0;
    case 1: {
      PieceLoad(g_iPiece, false);
      ++g_iPiece;
      loading_ProgressDraw(0.4f + static_cast<float>(g_iPiece) * 0.3f / static_cast<float>(LOADING_PIECES));
      if (g_iPiece >= LOADING_PIECES) g_iPageStage = 2;
      return 0;
    }
    case 2:
      for (int32_t i = 0; i < LOADING_PAGES; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "PlayerPage%d", static_cast<int>(i));
        texture_Free(loading_apoPageTexture[i]);
        loading_apoPageTexture[i] = g_apoPage[i] != nullptr ? texture_poLoad(name, g_apoPage[i], 0, -1) : nullptr;
        if (loading_apoPageMaterial[i] != nullptr) Q3DMaterialReset(loading_apoPageMaterial[i]);
        delete loading_apoPageMaterial[i];
        loading_apoPageMaterial[i] = new Q3DMaterial(loading_apoPageTexture[i]);
        // The composed image stays: a substitute's head may join it later.
      }
      g_iPageStage = 3;
      loading_ProgressDraw(0.75f);
      return 0;
    default:
      // Pages 0 to 3 once more: the shirt numbers, drawn tinted.
      for (int32_t i = LOADING_PAGES; i < LOADING_PAGE_MATERIALS; ++i) {
        if (loading_apoPageMaterial[i] != nullptr) Q3DMaterialReset(loading_apoPageMaterial[i]);
        delete loading_apoPageMaterial[i];
        loading_apoPageMaterial[i] = new Q3DMaterial(loading_apoPageTexture[i - LOADING_PAGES]);
      }
      loading_ProgressDraw(0.8f);
      return 1;
  }
}

int32_t Step9() {
  if (scene3d_poScene != nullptr) scene3d_poScene->MarkersCreate();
  loading_ProgressDraw(0.825f);
  return 1;
}
int32_t Step10() {
  goals_Load(goals_iMatchStyle());
  loading_ProgressDraw(0.85f);
  return 1;
}
int32_t Step11() {
  if (scene3d_poScene != nullptr) scene3d_poScene->BallCreate();
  loading_ProgressDraw(0.9f);
  return 1;
}
int32_t Step12() {
  scene3d_bSpriteSheetCreate();
  loading_ProgressDraw(0.95f);
  return 1;
}
int32_t Step13() {
  pcsound_MatchSoundStart();
  loading_ProgressDraw(1.0f);
  return 1;
}

int32_t (*const kSteps[LOADING_STEPS])() = {Step1, Step2, Step3,  Step4,  Step5,  Step6, Step7,
                                            Step8, Step9, Step10, Step11, Step12, Step13};

}  // namespace

const Q3DScreenVertex* loading_SweepGet() { return g_aoSweep; }

std::vector<std::string> loading_TextLines(const char* pszText, int32_t cChars) {
  std::vector<std::string> lines;
  const std::string text = pszText != nullptr ? pszText : "";
  const size_t room = static_cast<size_t>(std::max<int32_t>(cChars, 1));
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && text[at] == ' ' && !lines.empty()) ++at;  // a break's blanks
    if (at >= text.size()) break;
    size_t end = std::min(text.size(), at + room);
    if (end < text.size()) {
      // The last blank that leaves the line within the room; a word longer
      // than a line is broken where the line ends.
      const size_t blank = text.rfind(' ', end);
      if (blank != std::string::npos && blank > at) end = blank;
    }
    std::string line = text.substr(at, end - at);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    at = end;
  }
  return lines;
}

int32_t loading_PiecesRefresh() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || g_iPageStage < 3) return 0;
  bool changed[LOADING_PAGES] = {};
  int32_t n = 0;
  for (int32_t i = 0; i < LOADING_PIECES; ++i) {
    const LoadingPiece& pc = loading_aoPieces[i];
    if (std::strncmp(pc.szImage, g_aszComposed[i], sizeof g_aszComposed[i]) == 0) continue;
    PieceLoad(i, true);
    if (pc.iPage >= 0 && pc.iPage < LOADING_PAGES) changed[pc.iPage] = true;
    ++n;
  }
  for (int32_t p = 0; p < LOADING_PAGES; ++p)
    if (changed[p] && loading_apoPageTexture[p] != nullptr && g_apoPage[p] != nullptr) {
      loading_apoPageTexture[p]->apSlotImage[0] = g_apoPage[p];
      d->TextureRegister(loading_apoPageTexture[p]);
    }
  return n;
}

void loading_ProgressDraw(float f) {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr) return;
  loading_fLastProgress = f;
  d->BatchBegin(0);
  d->RenderStateSet(4, 16);
  TexturedQuad(d, g_apoScreenMaterial[kClock], X(490), Y(309), X(618), Y(437), 0.0f, 1.0f);
  d->BatchEnd();
  const int32_t n = static_cast<int32_t>(f * 32.0f);
  if (n <= 0) return;
  d->BatchBegin(0);
  if (scene3d_bSoftware) {
    d->RenderStateSet(4, 3);
    const Q3DColour c{128, 0, 0, 64};
    d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
  } else {
    d->RenderStateSet(4, 12);
  }
  d->VertexListDraw(g_aoSweep, static_cast<uint32_t>(n > 32 ? 34 : n + 2), &scene3d_oCamera, 0);
  d->BatchEnd();
}

void loading_Release() {
  for (int32_t i = 0; i < 3; ++i) ScreenFree(i);
  PagesFree();
  loading_iStep = 0;
}

std::int32_t loading_bRunStep(std::int32_t bFlag) {
  if (bFlag == 0) {
    loading_iStep = 0;
    g_iPageStage = 0;
    g_iPiece = 0;
    return 0;
  }
  // Without a renderer there is nothing to load or show: the sequence is over
  // (the loading state would otherwise wait for ever).
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr) return 1;
  d->SceneBegin();
  d->RenderStateSet(11, 0);
  d->RenderStateSet(3, 8);
  int32_t done = 0;
  if (loading_iStep >= 0 && loading_iStep < LOADING_STEPS && kSteps[loading_iStep]() != 0) {
    done = loading_iStep == LOADING_STEPS - 1;
    ++loading_iStep;
  }
  d->SceneEnd();
  d->Present(0);
  return done;
}
