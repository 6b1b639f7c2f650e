// The films' 3D shots on the game's own scene and software renderer.
#include "fmvscene.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "engine/anim.h"
#include "engine/player.h"
#include "framework/qdx_window.h"
#include "matchflow/environ.h"
#include "platform/display.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render3d/q3d_imagefile.h"
#include "renderers/device.h"
#include "scene3d/kits3d.h"
#include "scene3d/loading.h"
#include "scene3d/pcframe.h"
#include "scene3d/pcframe_lookat.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"
#include "tournament/dbplayer.h"

namespace fmvscene {
namespace {

constexpr int kPeople = 23;  // 22 players and one more (the referee's slot)

QDLContext g_oContext{};
Q3DDevice* g_poDevice = nullptr;
bool g_bLoaded = false;
Ground g_oGround;
Player g_aPlayers[kPeople];
DBPlayer g_aDb[kPeople];

int32_t Units(float metres) { return static_cast<int32_t>(std::lround(metres / SCENE3D_METRES_PER_UNIT)); }


void PersonSet(PacketPlayer* e, Player* pl, const Person& who) {
  std::memset(e, 0, sizeof *e);
  const AnimRecord* r = anim_RecordGet(who.anim);
  const int frames = std::max<int>(1, r->cFrames);
  int frame = static_cast<int>(std::floor(who.frame));
  frame = std::clamp(frame, 0, frames - 1);
  pl->x = Units(who.x);
  pl->y = Units(who.z);
  pl->PositionCode = who.keeper ? 0 : 5;
  pl->MyTeam = who.away ? 0 : player_PlaysFor_Home;
  e->uAngles = who.facing;
  e->iX = pl->x;
  e->iHeight = Units(who.height);
  e->iY = pl->y;
  e->pAnimation = r->pfPose;
  e->poPlayer = pl;
  e->uFramePosition = static_cast<uint32_t>(frame) * 64;
  e->uKeeper = who.keeper ? 1 : 0;
  e->uMirror = who.mirror ? 1 : 0;
}

}  // namespace

bool Open(const std::string& dataDir, const std::string& workDir, std::string* why) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(workDir, ec);
  const std::string work = fs::absolute(workDir).string();
  setenv("XDG_CONFIG_HOME", work.c_str(), 1);
  setenv("XDG_DATA_HOME", work.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
  if (!platform::init(platform::BackendKind::Headless, why)) return false;
  // The game reads "..\data\..." beside its executable's folder.
  platform::setExecutableDir((fs::absolute(dataDir).parent_path() / "bin").string());
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  QDXCreateWindow(640, 480, nullptr, 0);
  QDLDeviceInfoFileNameSet((work + "/dxinfo.bin").c_str());
  std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
  std::strcpy(pcinstall_szModelPath, "..\\data\\models\\");
  if (QDLSetup() != 0) {
    *why = "the display did not start";
    return false;
  }
  QDLContextModeSet(&g_oContext, 0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED);
  g_poDevice = q3dr::NewDevice(false);
  if (g_poDevice == nullptr || Q3DDeviceInitialise(g_poDevice, &g_oContext) != 0) {
    *why = "the software renderer did not start";
    return false;
  }
  pcframe_Init();
  anim_TableInit();
  scene3d_StartOnDevice(g_poDevice, 1, 640, 480);
  // Appearances of every kind, shirt numbers 1 to 11.
  for (int i = 0; i < kPeople; ++i) {
    std::memset(&g_aPlayers[i], 0, sizeof g_aPlayers[i]);
    std::memset(&g_aDb[i], 0, sizeof g_aDb[i]);
    static const uint16_t kStyles[4] = {0x100, 0x40, 0x80, 0x0};
    g_aDb[i].uField88 = static_cast<uint32_t>(i % 11 + 1);
    g_aDb[i].uAppearance = static_cast<uint16_t>(((i % 8) << 3) | kStyles[i % 4] | ((i / 4 % 4) << 9) | 0x800);
    g_aPlayers[i].ID = static_cast<uint8_t>(i);
    g_aPlayers[i].pDBPlayer = &g_aDb[i];
  }
  return true;
}

bool Load(const Ground& g) {
  if (g_bLoaded && g == g_oGround) return true;
  // The kits are chosen before loading: the loading composes their textures.
  scene3d_eColourMode = kits_ColourModeFor(g.iEdition, g.iEdition);
  kits_Choose(g.home.c_str(), g.iEdition, g.away.c_str(), g.iEdition);
  environ_oEnvironment.iPitchType = 0;
  environ_oEnvironment.iLook = g.iLook;
  environ_oEnvironment.bNight = g.bNight;
  scene3d_bFirstFrame = 0;
  // The loading also loads the match's sound banks, which a film has none
  // of: their complaints are not the film's.
  fflush(stderr);
  const int saved = dup(2), quiet = open("/dev/null", O_WRONLY);
  if (quiet >= 0) dup2(quiet, 2);
  loading_bRunStep(0);
  g_bLoaded = false;
  for (int i = 1; i < 1000 && !g_bLoaded; ++i) g_bLoaded = loading_bRunStep(1) != 0;
  fflush(stderr);
  if (saved >= 0) dup2(saved, 2);
  for (int fd : {saved, quiet})
    if (fd >= 0) close(fd);
  g_oGround = g;
  return g_bLoaded;
}

bool Draw(const View& v, std::vector<float>* rgb) {
  // The first frame after loading only sets the background.
  bool drawn = false;
  for (int pass = 0; pass < 2 && !drawn; ++pass) {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    pcframe_CameraLookAt(p, v.eye, v.target);
    int home = 0, away = 0;
    for (size_t i = 0; i < v.people.size() && i < 22; ++i) {
      const Person& who = v.people[i];
      int& n = who.away ? away : home;
      if (n >= 11) continue;
      PersonSet(who.away ? &p->aoAway[n] : &p->aoHome[n], &g_aPlayers[(who.away ? 11 : 0) + n], who);
      ++n;
    }
    p->aiSnapshotCounts[PCFRAME_COUNT_HOME] = home;
    p->aiSnapshotCounts[PCFRAME_COUNT_AWAY] = away;
    if (v.ball) {
      std::memset(&p->oBall, 0, sizeof p->oBall);
      p->oBall.iX = Units(v.ballAt[0]);
      p->oBall.iHeight = Units(v.ballAt[1]);
      p->oBall.iY = Units(v.ballAt[2]);
      p->oBall.afOrientation[2] = std::sin(v.ballTurn / 2);
      p->oBall.afOrientation[3] = std::cos(v.ballTurn / 2);
      p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
    }
    drawn = scene3d_DrawFrame() != 0;
  }
  if (!drawn) return false;
  std::vector<uint8_t> full;
  int w = 0, h = 0;
  if (!platform::displayLastFrame(&full, &w, &h) || w != 2 * kWidth || h != 2 * kHeight) return false;
  // Each pixel of the film the mean of four of the frame.
  rgb->assign(static_cast<size_t>(kWidth) * kHeight * 3, 0.0f);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) {
        const size_t a = (static_cast<size_t>(2 * y) * w + 2 * x) * 3 + c, b = a + static_cast<size_t>(w) * 3;
        (*rgb)[(static_cast<size_t>(y) * kWidth + x) * 3 + c] = (full[a] + full[a + 3] + full[b] + full[b + 3]) / (4 * 255.0f);
      }
  return true;
}

void Close() {
  scene3d_StopOnDevice();
  if (g_poDevice != nullptr) {
    g_poDevice->DisplayShut();
    g_poDevice->Destroy();
  }
  g_poDevice = nullptr;
  g_bLoaded = false;
  pcframe_Shutdown();
  QDLShutdown();
  QDXDestroyWindow(QDXGetMainWindow());
  QDXFreeActivateHooks();
  QDXFreeWindowHooks();
  platform::shutdown();
}

}  // namespace fmvscene
