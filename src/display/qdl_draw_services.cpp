// The drawing modules' entries of the display context's service table and
// the printer's part in the context's set-up and shut-down. They are
// installed when the program starts, before any context is set up.
#include "display/qdl_bank.h"
#include "display/qdl_context.h"
#include "display/qdl_draw.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"

namespace {

template <class F>
QDLServiceFn Service(F* pfn) {
  return reinterpret_cast<QDLServiceFn>(pfn);
}

void TextSetup(uint32_t sizeKB) { QDLTextSetup(sizeKB); }
void TextClearStyles() {
  QDLTextSetStyleFlag(0);
  QDLTextSetStyleFlag16(0);
}
void TextShutdown() { QDLTextShutdown(); }

struct DrawServicesInstaller {
  DrawServicesInstaller() { QDLDrawServicesInstall(); }
};

}  // namespace

void QDLDrawServicesInstall() {
  QDLServiceProvide(QDLSVC_IMAGE_LOAD_TGA, Service(QDLImageLoadTGA));
  QDLServiceProvide(QDLSVC_FILL_RECT, Service(QDLFillRect));
  QDLServiceProvide(QDLSVC_SPRITE_BANK_FROM_SHEETS, Service(QDLSpriteBankFromSheets));
  QDLServiceProvide(QDLSVC_SPRITE_BANK_FREE, Service(QDLSpriteBankFree));
  QDLServiceProvide(QDLSVC_FONT_CREATE_FROM_SHEET, Service(QDLFontCreateFromSheet));
  QDLServiceProvide(QDLSVC_FONT_FREE, Service(QDLFontFree));
  QDLServiceProvide(QDLSVC_PRINTF_DEFAULT, Service(QDLPrintfDefault));
  QDLServiceProvide(QDLSVC_PRINT, Service(QDLPrint));
  QDLServiceProvide(QDLSVC_LINE, Service(QDLLine));
  QDLServiceProvide(QDLSVC_RECT, Service(QDLRect));
  QDLServiceProvide(QDLSVC_SURFACE_COPY, Service(QDLSurfaceCopy));
  QDLServiceProvide(QDLSVC_PUT_PIXEL, Service(QDLPutPixel));
  QDLServiceProvide(QDLSVC_GET_PIXEL_RGB, Service(QDLGetPixelRGB));
  QDLServiceProvide(QDLSVC_SURFACE_SAVE_TGA, Service(QDLSurfaceSaveTGA));
  QDLServiceProvide(QDLSVC_SURFACE_BLIT_STRETCH, Service(QDLSurfaceBlitStretch));
  QDLServiceProvide(QDLSVC_TEXT_SET_LAYOUT, Service(QDLTextSetLayout));
  QDLServiceProvide(QDLSVC_TEXT_SET_STYLE_FLAG, Service(QDLTextSetStyleFlag));
  QDLServiceProvide(QDLSVC_TEXT_SET_STYLE_FLAG16, Service(QDLTextSetStyleFlag16));
  QDLServiceProvide(QDLSVC_TEXT_SET_COLOUR, Service(QDLTextSetColour));
  static const QDLContextTextOps ops{TextSetup, TextClearStyles, TextShutdown};
  QDLContextTextOpsSet(&ops);
}

// Installed at start-up; the text printer refers to this object so that any
// program that prints links it in.
const DrawServicesInstaller qdlDrawServicesInstaller;
int qdlDrawServicesLinked = 0;
