// The display context and its service table.
#include "display/qdl_context.h"

#include "display/blit/qdl_blit.h"
#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"

QDLContext qdlContext;

namespace {

QDLServiceFn g_provided[QDL_SERVICE_COUNT] = {};
QDLContextTextOps g_textOps = {};

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

void QDLServiceProvide(uint32_t index, QDLServiceFn pfn) {
  if (index < QDL_SERVICE_COUNT) g_provided[index] = pfn;
}

void QDLContextTextOpsSet(const QDLContextTextOps* pOps) { g_textOps = pOps ? *pOps : QDLContextTextOps{}; }

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
  if (g_textOps.pfnSetup) g_textOps.pfnSetup(0);
  QDLModuleBankPoolInit();
  if (g_textOps.pfnClearStyles) g_textOps.pfnClearStyles();
  QDLContextFillServices(c, pDisplay);
  c->setUp = 1;
  return QDL_OK;
}

uint32_t QDLContextFillServices(QDLContext* c, QDLSurface* pDisplay) {
  if (!c || c->servicesFilled) return QDL_OK;
  c->pDisplay = pDisplay;
  c->device = QDLCurrentDevice();
  c->mode = QDLCurrentMode();
  for (uint32_t i = 0; i < QDL_SERVICE_COUNT; ++i) c->services[i] = g_provided[i];
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
  if (g_textOps.pfnShutdown) g_textOps.pfnShutdown();
  QDLModuleBankFreeAll();
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
