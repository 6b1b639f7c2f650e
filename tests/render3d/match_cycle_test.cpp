// A match's display cycle on either renderer: the front end's 2D display goes
// down, the renderer opens the mode the renderer choice set, draws a frame
// and closes, and the front end comes back, working, in the mode it had
// before the match (windowed 640 x 480), not the match's.
#include <gtest/gtest.h>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "render3d_env.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"

namespace {

TEST(MatchCycle, TheFrontEndComesBackAfterAMatchOnEitherRenderer) {
  ASSERT_EQ(pcinstall_Check(), 1);
  struct Case {
    uint32_t vidMode;
    int32_t device, width, height;
    const char* dll;
  } cases[] = {{0, 0, 640, 480, "q3dswdll.dll"}, {2, 1, 1024, 768, "q3dd3ddll.dll"}, {2, 1, 800, 600, "q3dd3ddll.dll"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dll);
    QDLContextModeSet(&qdlContext, -1, -1, 0);
    ASSERT_EQ(pcmain_DisplayStartup(), 1);
    EXPECT_FALSE(QDLIsFullScreen());
    pcinstall_uVidMode = c.vidMode;
    pcinstall_uVidDevice = static_cast<uint32_t>(c.device);
    pcinstall_uVidRes = static_cast<uint32_t>(QDLFindMode(c.device, c.width, c.height, 16, 0));
    vidselect_SetScreenSize();
    EXPECT_EQ(vidselect_uScreenWidth, static_cast<uint32_t>(c.width));

    // The match.
    pcmain_DisplayShutdown();
    Q3DDevice* d = Q3DDeviceCreate(c.dll);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(Q3DDeviceInitialise(d, &qdlContext), 0u);
    ASSERT_NE(qdlContext.pDisplay, nullptr);
    EXPECT_EQ(qdlContext.pDisplay->width, c.width);
    EXPECT_EQ(qdlContext.pDisplay->height, c.height);
    EXPECT_TRUE(QDLIsFullScreen());
    d->BackgroundSet(0, 90, 0, 0);
    d->SceneBegin();
    d->Clear();
    d->SceneEnd();
    d->Present(0);
    d->DisplayShut();
    d->Destroy();
    Q3DDeviceUnload();
    EXPECT_EQ(qdlContext.pDisplay, nullptr);

    // The front end again, in its own mode.
    ASSERT_EQ(pcmain_DisplayStartup(), 1);
    ASSERT_NE(pcmain_poDisplaySurface, nullptr);
    EXPECT_EQ(pcmain_poDisplaySurface->width, 640);
    EXPECT_EQ(pcmain_poDisplaySurface->height, 480);
    EXPECT_FALSE(QDLIsFullScreen());
    EXPECT_EQ(qdlContext.modeFlags, static_cast<uint32_t>(QDLOPEN_WINDOWED));
    EXPECT_EQ(QDLFillRect(pcmain_poDisplaySurface, nullptr, 0x1234, 0), 0u);
    EXPECT_EQ(QDLPresent(0), 0u);
    pcmain_DisplayShutdown();
  }
  QDLContextModeSet(&qdlContext, -1, -1, 0);
  QDLShutdown();
}

}  // namespace
