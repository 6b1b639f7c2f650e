// The device layer and the device cache file.
#include "display/qdl_device.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/q2dx_internal.h"
#include "display/qdl_device_open.h"
#include "platform/tempfiles.h"

namespace {

// The software renderer: 16-bit rendering with a 16-bit z-buffer,
// perspective-correct textures, no hardware description.
const QDLRendererEntry kSoftwareRenderer = {
    {0x4B, 0x46, 0x53, 0x57, 0x52, 0x45, 0x4E, 0x44, 0x45, 0x52, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01},
    "Korvena software renderer",
    "Software rasteriser",
    {0, 0, 0, 0, 0, 0, 0, 0},
    {1, QDL_DDBD_16, QDL_DDBD_16, 0x1, 1024, 1024, 1, 1},
};

// The renderers of the build: the software renderer first, then the same
// rasteriser with a depth buffer. Neither has a hardware description, so the
// automatic renderer choice stays software; the player may choose the second.
const QDLRendererEntry kRenderers[2] = {
    kSoftwareRenderer,
    {{0x4B, 0x46, 0x5A, 0x42, 0x52, 0x45, 0x4E, 0x44, 0x45, 0x52, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02},
     "Korvena z-buffered renderer",
     "Software rasteriser with a 16-bit depth buffer",
     {0, 0, 0, 0, 0, 0, 0, 0},
     {1, QDL_DDBD_16, QDL_DDBD_16, 0x1, 1024, 1024, 1, 1}},
};

struct DeviceLayer {
  uint32_t initialised;
  uint32_t loaded;
  uint32_t lastError;
  uint32_t expected;            // device count counted before filling
  QDLDeviceInfo* pDevices;
  std::string fileName = "dxinfo.bin";
  const QDLRendererEntry* pRenderers = kRenderers;
  uint32_t rendererCount = 2;
  uint32_t runTest = 1;
  const char* pQuestion =
      "We must now check your video cards for higher screen resoloutions.\n"
      "This test can cause your screen to go blank for up to 60 seconds\n\n"
      "Warning - This check can sometimes cause incorrectly configured machines to crash.\n"
      "If this test crashes, restart and select cancel to disable higher resoloutions\n\n"
      "Click on OK to proceed, or Cancel to disable higher resoloutions.\n\n";
  const char* pSuccess = "";
  const char* pNotice = "Higher screen resolotions have been disabled\n\nClick on OK to proceed";
} g_layer;

bool InDepths(const QDLDeviceInfo& d, uint32_t bits) {
  uint32_t flag = QDLDepthToDDBD(bits);
  return flag != 0 && (d.deviceDesc.deviceRenderBitDepth & flag) != 0;
}

void SetModes(QDLDeviceInfo* d, const std::vector<Q2DXMode>& modes) {
  std::free(d->modes);
  d->modes = nullptr;
  d->modeCount = 0;
  if (modes.empty()) return;
  d->modes = static_cast<Q2DXMode*>(std::calloc(modes.size(), sizeof(Q2DXMode)));
  if (!d->modes) return;
  std::memcpy(d->modes, modes.data(), modes.size() * sizeof(Q2DXMode));
  d->modeCount = static_cast<uint32_t>(modes.size());
}

void FreeDevices() {
  if (g_layer.pDevices)
    for (uint32_t i = 0; i < g_layer.expected; ++i) std::free(g_layer.pDevices[i].modes);
  std::free(g_layer.pDevices);
  g_layer.pDevices = nullptr;
  g_layer.expected = 0;
}

void CopyName(char* pOut, const char* pText) {
  size_t n = pText ? std::strlen(pText) : 0;
  if (n > 255) n = 255;
  if (n) std::memcpy(pOut, pText, n);
  pOut[n] = 0;
}

void Put32(std::vector<uint8_t>* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A cached mode must be one the display can give: a size within the limits
// of the image readers, a depth of 8, 16, 24 or 32 bits, and offered by the
// device's driver today; the words written as 0 are 0 and the test mark is
// 0 or 1.
bool ModeOffered(uint32_t driverIndex, const Q2DXMode& mode) {
  constexpr uint64_t kMaxSide = 16384, kMaxPixels = 64u * 1024u * 1024u;
  if (mode.width == 0 || mode.height == 0 || mode.width > kMaxSide || mode.height > kMaxSide ||
      static_cast<uint64_t>(mode.width) * mode.height > kMaxPixels)
    return false;
  if (mode.bitsPerPixel != 8 && mode.bitsPerPixel != 16 && mode.bitsPerPixel != 24 && mode.bitsPerPixel != 32)
    return false;
  if (mode.zero != 0 || mode.spare != 0 || mode.testPassed > 1) return false;
  const Q2DXDriver* pDrv = Q2DXDriverGet(driverIndex);
  if (!pDrv) return false;
  for (uint32_t i = 0; i < pDrv->modeCount; ++i)
    if (pDrv->modes[i].width == mode.width && pDrv->modes[i].height == mode.height &&
        pDrv->modes[i].bitsPerPixel == mode.bitsPerPixel)
      return true;
  return false;
}

// The whole file, checked: keys and counts match the live drivers and
// devices, every mode list fits, and nothing follows the last list.
bool ParseFile(const std::vector<uint8_t>& b, std::vector<std::vector<Q2DXMode>>* pLists) {
  size_t at = 0;
  auto take = [&](uint32_t* v) {
    if (b.size() - at < 4) return false;
    *v = Get32(&b[at]);
    at += 4;
    return true;
  };
  uint32_t drivers;
  if (!take(&drivers) || drivers != q2dxState.driverCount) return false;
  for (uint32_t i = 0; i < drivers; ++i) {
    if (b.size() - at < 16) return false;
    if (std::memcmp(&b[at], q2dxState.pDrivers[i].deviceIdentifier, 16) != 0) return false;
    at += 16;
  }
  uint32_t devices;
  if (!take(&devices) || devices != g_layer.expected) return false;
  pLists->assign(devices, {});
  for (uint32_t d = 0; d < devices; ++d) {
    uint32_t count;
    if (!take(&count)) return false;
    if (count > (b.size() - at) / 24) return false;
    for (uint32_t m = 0; m < count; ++m) {
      Q2DXMode mode;
      take(&mode.width);
      take(&mode.height);
      take(&mode.bitsPerPixel);
      take(&mode.zero);
      take(&mode.testPassed);
      take(&mode.spare);
      if (!ModeOffered(g_layer.pDevices[d].driverIndex, mode)) return false;
      (*pLists)[d].push_back(mode);
    }
  }
  // The 2D display opens device 0: a file that leaves it without a mode
  // leaves the game nothing to open, and is built anew like any other that
  // no longer matches.
  return at == b.size() && devices > 0 && !(*pLists)[0].empty();
}

bool ReadAll(FILE* f, std::vector<uint8_t>* pOut) {
  if (!f) return false;
  std::rewind(f);
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    pOut->insert(pOut->end(), buf, buf + n);
    if (pOut->size() > (16u << 20)) return false;
  }
  return !std::ferror(f);
}

}  // namespace

void QDLDeviceInfoFileNameSet(const char* pName) { g_layer.fileName = pName ? pName : "dxinfo.bin"; }
const char* QDLDeviceInfoFileName() { return g_layer.fileName.c_str(); }

void QDLDeviceRenderersSet(const QDLRendererEntry* pEntries, uint32_t count) {
  g_layer.pRenderers = pEntries ? pEntries : kRenderers;
  g_layer.rendererCount = pEntries ? count : 2;
}

void QDLDeviceTestChoiceSet(uint32_t runTest) { g_layer.runTest = runTest; }

void QDLDeviceTestTextsSet(const char* pQuestion, const char* pSuccess, const char* pNotice) {
  if (pQuestion) g_layer.pQuestion = pQuestion;
  if (pSuccess) g_layer.pSuccess = pSuccess;
  if (pNotice) g_layer.pNotice = pNotice;
}

uint32_t QDLDepthToDDBD(uint32_t bits) {
  switch (bits) {
    case 1: return QDL_DDBD_1;
    case 2: return QDL_DDBD_2;
    case 4: return QDL_DDBD_4;
    case 8: return QDL_DDBD_8;
    case 16: return QDL_DDBD_16;
    case 24: return QDL_DDBD_24;
    case 32: return QDL_DDBD_32;
    default: return 0;
  }
}

uint32_t QDLDDBDToDepth(uint32_t flag) {
  switch (flag) {
    case QDL_DDBD_1: return 1;
    case QDL_DDBD_2: return 2;
    case QDL_DDBD_4: return 4;
    case QDL_DDBD_8: return 8;
    case QDL_DDBD_16: return 16;
    case QDL_DDBD_24: return 24;
    case QDL_DDBD_32: return 32;
    default: return 0;
  }
}

uint32_t QDLZBufferFormatPick(const uint32_t* pDepths, uint32_t count) {
  uint32_t best = 255, pick = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t d = pDepths[i] > 16 ? pDepths[i] - 16 : 16 - pDepths[i];
    if (d < best) {
      best = d;
      pick = pDepths[i];
    }
  }
  return pick;
}

uint32_t QDLDeviceCount() { return g_layer.pDevices ? g_layer.expected : 0; }

QDLDeviceInfo* QDLDeviceGet(uint32_t index) {
  return (g_layer.pDevices && index < g_layer.expected) ? &g_layer.pDevices[index] : nullptr;
}

uint32_t QDLDeviceLastError() { return g_layer.lastError; }
void QDLDeviceLastErrorSet(uint32_t error) { g_layer.lastError = error; }

uint32_t QDLDevicesEnumerate() {
  FreeDevices();
  g_layer.lastError = 0;
  // Every driver offers every renderer of the build.
  uint32_t total = q2dxState.driverCount * g_layer.rendererCount;
  g_layer.expected = total;
  if (total == 0) return 0;
  g_layer.pDevices = static_cast<QDLDeviceInfo*>(std::calloc(total, sizeof(QDLDeviceInfo)));
  if (!g_layer.pDevices) {
    g_layer.expected = 0;
    return 1;
  }
  uint32_t n = 0;
  for (uint32_t drv = 0; drv < q2dxState.driverCount; ++drv)
    for (uint32_t r = 0; r < g_layer.rendererCount && n < total; ++r, ++n) {
      const QDLRendererEntry& e = g_layer.pRenderers[r];
      QDLDeviceInfo& d = g_layer.pDevices[n];
      std::memcpy(d.guid, e.guid, 16);
      CopyName(d.name, e.pName);
      CopyName(d.description, e.pDescription);
      bool hw = e.hardwareDesc.colourModel != 0;
      d.deviceDesc = hw ? e.hardwareDesc : e.emulationDesc;
      d.hardware = hw ? 1 : 0;
      d.perspective = (d.deviceDesc.textureCaps & 0x1) ? 1 : 0;
      d.zBuffer = d.deviceDesc.deviceZBufferBitDepth ? 1 : 0;
      d.desktop = (drv == 0 && InDepths(d, static_cast<uint32_t>(q2dxState.desktopBits))) ? 1 : 0;
      d.driverIndex = drv;
    }
  return 0;
}

uint32_t QDLDeviceModesUntested() {
  for (uint32_t i = 0; i < QDLDeviceCount(); ++i) {
    QDLDeviceInfo& d = g_layer.pDevices[i];
    const Q2DXDriver* pDrv = Q2DXDriverGet(d.driverIndex);
    std::vector<Q2DXMode> keep;
    if (pDrv)
      for (uint32_t m = 0; m < pDrv->modeCount; ++m)
        if (InDepths(d, pDrv->modes[m].bitsPerPixel)) keep.push_back(pDrv->modes[m]);
    SetModes(&d, keep);
  }
  return 0;
}

uint32_t QDLDeviceModesTest() {
  // Software devices take the untested rule. A hardware device would have
  // each 16-bit mode set and a 3D flip chain with a z-buffer built in it; our
  // renderers draw into memory, so every 16-bit mode in their depths passes.
  for (uint32_t i = 0; i < QDLDeviceCount(); ++i) {
    QDLDeviceInfo& d = g_layer.pDevices[i];
    Q2DXDriver* pDrv = Q2DXDriverGet(d.driverIndex);
    std::vector<Q2DXMode> keep;
    if (!pDrv) {
      SetModes(&d, keep);
      continue;
    }
    if (!d.hardware) {
      for (uint32_t m = 0; m < pDrv->modeCount; ++m)
        if (InDepths(d, pDrv->modes[m].bitsPerPixel)) keep.push_back(pDrv->modes[m]);
      SetModes(&d, keep);
      continue;
    }
    for (uint32_t m = 0; m < pDrv->modeCount; ++m) {
      Q2DXMode& mode = pDrv->modes[m];
      mode.testPassed = 0;
      if (mode.bitsPerPixel == 16 && InDepths(d, 16) && d.zBuffer) mode.testPassed = 1;
    }
    for (uint32_t m = 0; m < pDrv->modeCount; ++m)
      if (InDepths(d, pDrv->modes[m].bitsPerPixel) && pDrv->modes[m].testPassed) keep.push_back(pDrv->modes[m]);
    SetModes(&d, keep);
    if (keep.empty()) d.hardware = 0;
  }
  return 0;
}

uint32_t QDLDeviceModesSafe() {
  for (uint32_t i = 0; i < QDLDeviceCount(); ++i) {
    QDLDeviceInfo& d = g_layer.pDevices[i];
    const Q2DXDriver* pDrv = Q2DXDriverGet(d.driverIndex);
    std::vector<Q2DXMode> keep;
    if (!pDrv || pDrv->modeCount == 0) {
      SetModes(&d, keep);
      d.hardware = 0;
      continue;
    }
    // The 16-bit mode in the device's depths nearest 640 wide, then nearest
    // 480 high at that width; the driver's first mode when there is none.
    int64_t best = INT64_MAX;
    int32_t width = -1;
    for (uint32_t m = 0; m < pDrv->modeCount; ++m) {
      const Q2DXMode& mode = pDrv->modes[m];
      if (mode.bitsPerPixel != 16 || !InDepths(d, 16)) continue;
      int64_t dist = std::llabs(static_cast<int64_t>(mode.width) - 640);
      if (dist < best) {
        best = dist;
        width = static_cast<int32_t>(mode.width);
      }
    }
    if (width < 0) {
      keep.push_back(pDrv->modes[0]);
    } else {
      best = INT64_MAX;
      int32_t pick = -1;
      for (uint32_t m = 0; m < pDrv->modeCount; ++m) {
        const Q2DXMode& mode = pDrv->modes[m];
        if (mode.bitsPerPixel != 16 || static_cast<int32_t>(mode.width) != width) continue;
        int64_t dist = std::llabs(static_cast<int64_t>(mode.height) - 480);
        if (dist < best) {
          best = dist;
          pick = static_cast<int32_t>(m);
        }
      }
      keep.push_back(pDrv->modes[pick]);
    }
    SetModes(&d, keep);
  }
  return 0;
}

uint32_t QDLDeviceInfoRead(FILE* pFile) {
  std::vector<uint8_t> bytes;
  std::vector<std::vector<Q2DXMode>> lists;
  if (!pFile || !ReadAll(pFile, &bytes) || !ParseFile(bytes, &lists)) return 1;
  return 0;
}

uint32_t QDLDeviceInfoModesRead(FILE* pFile) {
  std::vector<uint8_t> bytes;
  std::vector<std::vector<Q2DXMode>> lists;
  if (!pFile || !ReadAll(pFile, &bytes) || !ParseFile(bytes, &lists)) return 1;
  for (uint32_t i = 0; i < QDLDeviceCount(); ++i) SetModes(&g_layer.pDevices[i], lists[i]);
  return 0;
}

uint32_t QDLDeviceInfoSave() {
  std::vector<uint8_t> out;
  Put32(&out, q2dxState.driverCount);
  for (uint32_t i = 0; i < q2dxState.driverCount; ++i)
    out.insert(out.end(), q2dxState.pDrivers[i].deviceIdentifier, q2dxState.pDrivers[i].deviceIdentifier + 16);
  Put32(&out, QDLDeviceCount());
  for (uint32_t i = 0; i < QDLDeviceCount(); ++i) {
    const QDLDeviceInfo& d = g_layer.pDevices[i];
    Put32(&out, d.modeCount);
    for (uint32_t m = 0; m < d.modeCount; ++m) {
      Put32(&out, d.modes[m].width);
      Put32(&out, d.modes[m].height);
      Put32(&out, d.modes[m].bitsPerPixel);
      Put32(&out, 0);
      Put32(&out, d.modes[m].testPassed);
      Put32(&out, 0);
    }
  }
  // Written beside the name and renamed over it: a failed write keeps the old file.
  std::string tmp = platform::temporaryPathFor(g_layer.fileName);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return 0;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), g_layer.fileName.c_str()) != 0) std::remove(tmp.c_str());
  return 0;
}

uint32_t QDLDeviceInfoLoad() {
  if (g_layer.loaded) return 0;
  Q2DXDriversEnumerate();
  QDLDevicesEnumerate();
  FILE* f = std::fopen(g_layer.fileName.c_str(), "rb");
  if (f) {
    if (QDLDeviceInfoRead(f) == 0 && QDLDeviceInfoModesRead(f) == 0) {
      std::fclose(f);
      g_layer.loaded = 1;
      return 0;
    }
    // A file that no longer matches, or is short or inconsistent, is replaced.
    std::fclose(f);
    std::remove(g_layer.fileName.c_str());
  }
  if (g_layer.runTest) QDLDeviceModesTest();
  else QDLDeviceModesSafe();
  QDLDeviceInfoSave();
  g_layer.loaded = 1;
  return 1;
}

uint32_t QDLDeviceLayerInit(void* pInstance) {
  g_layer.lastError = 0;
  if (g_layer.initialised) return 6;
  QDLDeviceInfoLoad();
  Q2DXSetup(pInstance);
  g_layer.initialised = 1;
  return 0;
}

uint32_t QDLDeviceLayerShutdown() {
  // The procedurally opened device goes first: its viewport, z-buffer and
  // device, before the surfaces and the device table.
  QDLDeviceClose();
  if (q2dxState.setUp || g_layer.pDevices) {
    FreeDevices();
    Q2DXShutdown();
  }
  g_layer.initialised = 0;
  g_layer.loaded = 0;
  return 0;
}
