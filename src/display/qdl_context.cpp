// The display context and its service table.
#include "display/qdl_context.h"

#include "display/blit/qdl_blit.h"
#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_bank.h"
#include "display/qdl_present.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"

QDLContext qdlContext;

namespace {


template <class F>
QDLServiceFn Svc(F* pfn) {
  return reinterpret_cast<QDLServiceFn>(pfn);
}

}  // namespace

QDLContext::QDLContext() {
  pfnSetup = QDLContextSetup;
  pfnShutdown = QDLContextShutdown;
}

QDLContext::~QDLContext() = default;

uint32_t QDLContextModeSet(QDLContext* c, int32_t device, int32_t mode, uint32_t flags) {
  if (!c) return QDL_ERR_GENERAL;
  c->device = device;
  c->mode = mode;
  c->modeFlags = flags;
  return QDL_OK;
}

uint32_t QDLContextSetup(QDLContext* c) {
  if (!c) return QDL_ERR_GENERAL;
  if (c->servicesFilled) return QDL_OK;
  QDLShutdown();
  uint32_t r = QDLSetup();
  if (r != 0) {
    // A failed step stops the set-up: nothing below could work without it.
    QDLErrorBox("Error calling QDLSetup");
    return r;
  }
  QDLSurface* pDisplay = QDLOpenDisplay(c->device, c->mode, c->modeFlags);
  if (!pDisplay) return QDL_ERR_FAILED;
  QDLTextSetup(0);
  QDLSpriteBankPoolInit();
  QDLTextSetStyleFlag(0);
  QDLTextSetStyleFlag16(0);
  QDLContextFillServices(c, pDisplay);
  c->setUp = 1;
  return QDL_OK;
}

uint32_t QDLContextFillServices(QDLContext* c, QDLSurface* pDisplay) {
  if (!c || c->servicesFilled) return QDL_OK;
  c->pDisplay = pDisplay;
  c->device = QDLCurrentDevice();
  c->mode = QDLCurrentMode();
  c->services[QDLSVC_SURFACE_LOCK] = Svc(QDLSurfaceLock);
  c->services[QDLSVC_SURFACE_UNLOCK] = Svc(QDLSurfaceUnlock);
  c->services[QDLSVC_SURFACE_FREE] = Svc(QDLSurfaceFree);
  c->services[QDLSVC_NOP] = Svc(QDLNop);
  c->services[QDLSVC_PRESENT] = Svc(QDLPresent);
  c->services[QDLSVC_SURFACE_RGB_TO_PIXEL] = Svc(QDLSurfaceRGBToPixel);
  c->services[QDLSVC_FILL_RECT] = Svc(QDLFillRect);
  c->services[QDLSVC_BLIT] = Svc(QDLBlit);
  c->services[QDLSVC_LINE] = Svc(QDLLine);
  c->services[QDLSVC_RECT] = Svc(QDLRect);
  c->services[QDLSVC_SURFACE_CREATE] = Svc(QDLSurfaceCreate);
  c->services[QDLSVC_PUT_PIXEL] = Svc(QDLPutPixel);
  c->services[QDLSVC_GET_PIXEL_RGB] = Svc(QDLGetPixelRGB);
  c->services[QDLSVC_IMAGE_LOAD_TGA] = Svc(QDLImageLoadTGA);
  c->services[QDLSVC_SPRITE_BANK_FROM_SHEETS] = Svc(QDLSpriteBankFromSheets);
  c->services[QDLSVC_SPRITE_BANK_FREE] = Svc(QDLSpriteBankFree);
  c->services[QDLSVC_FONT_CREATE_FROM_SHEET] = Svc(QDLFontCreateFromSheet);
  c->services[QDLSVC_FONT_FREE] = Svc(QDLFontFree);
  c->services[QDLSVC_PRINTF_DEFAULT] = Svc(QDLPrintfDefault);
  c->services[QDLSVC_PRINT] = Svc(QDLPrint);
  c->services[QDLSVC_SURFACE_COPY] = Svc(QDLSurfaceCopy);
  c->services[QDLSVC_SURFACE_SAVE_TGA] = Svc(QDLSurfaceSaveTGA);
  c->services[QDLSVC_SURFACE_BLIT_STRETCH] = Svc(QDLSurfaceBlitStretch);
  c->services[QDLSVC_TEXT_SET_LAYOUT] = Svc(QDLTextSetLayout);
  c->services[QDLSVC_TEXT_SET_STYLE_FLAG] = Svc(QDLTextSetStyleFlag);
  c->services[QDLSVC_TEXT_SET_STYLE_FLAG16] = Svc(QDLTextSetStyleFlag16);
  c->services[QDLSVC_TEXT_SET_COLOUR] = Svc(QDLTextSetColour);
  c->services[QDLSVC_FRAME_COUNTERS_GET] = Svc(QDLFrameCountersGet);
  c->pfnCreateObjects = QDLContextCreateObjects;
  c->servicesFilled = 1;
  c->pDevice3D = &c->device3D;
  return QDL_OK;
}

uint32_t QDLContextCreateObjects(QDLContext* c) {
  if (!c) return QDL_ERR_GENERAL;
  c->manager.Init();
  c->pPrimary = c->manager.DisplaySurfaceCreate();
  c->device3D.pManager = &c->manager;
  c->device3D.pTarget = c->pPrimary;
  return QDL_OK;
}

uint32_t QDLContextShutdown(QDLContext* c) {
  if (!c || !c->setUp || !c->servicesFilled) return QDL_OK;
  // The device lets go of its render target before the manager deletes it.
  c->device3D.Release();
  c->device3D.pTarget = nullptr;
  c->manager.Shutdown();
  c->pPrimary = nullptr;
  if (c->pDisplay && c->pDisplay == QDLDisplaySurface()) QDLSurfaceFree(c->pDisplay);
  c->pDisplay = nullptr;
  QDLTextShutdown();
  QDLSpriteBankFreeAll();
  uint32_t r = QDLShutdown();
  c->setUp = 0;
  c->servicesFilled = 0;
  return r;
}

uint32_t QDLContextClose(QDLContext* c) {
  if (!c || !c->servicesFilled) return QDL_OK;
  // The display surface is freed once: the record is forgotten at once.
  if (c->pDisplay && c->pDisplay == QDLDisplaySurface()) QDLSurfaceFree(c->pDisplay);
  c->pDisplay = nullptr;
  uint32_t r = c->pfnShutdown ? c->pfnShutdown(c) : QDL_OK;
  c->servicesFilled = 0;
  return r;
}
