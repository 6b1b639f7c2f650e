// The device cache file (dxinfo.bin), read against the headless display's
// drivers and devices as the display library's set-up reads it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "display/q2dx.h"
#include "display/qdl_device.h"
#include "fuzz_support.h"

namespace {

void StartDevices() {
  static bool started = false;
  if (started) return;
  started = true;
  korvena_fuzz::StartHeadless();
  QDLDeviceInfoFileNameSet((korvena_fuzz::WorkDir() + "/dxinfo.bin").c_str());
  QDLDeviceInfoLoad();
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  StartDevices();
  // The layer's own file, as every first start writes it.
  QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
  QDLDeviceInfoSave();
  QDLDeviceInfoFileNameSet((korvena_fuzz::WorkDir() + "/dxinfo.bin").c_str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartDevices();
  if (size == 0) return 0;
  // The live display's key goes in place of the first driver's, so that
  // inputs reach the mode lists on any machine (keys are checked by tests).
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() >= 20) {
    if (const Q2DXDriver* d = Q2DXDriverGet(0)) std::memcpy(&bytes[4], d->deviceIdentifier, 16);
  }
  FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!f) return 0;
  if (QDLDeviceInfoModesRead(f) == 0) {
    uint32_t modes = 0;
    for (uint32_t i = 0; i < QDLDeviceCount(); ++i) {
      const QDLDeviceInfo* d = QDLDeviceGet(i);
      for (uint32_t m = 0; m < d->modeCount; ++m) {
        const Q2DXMode& mode = d->modes[m];
        if (mode.width == 0 || mode.height == 0 || mode.width > 16384 || mode.height > 16384)
          korvena_fuzz::Fail("a cached mode of an impossible size was accepted");
      }
      modes += d->modeCount;
    }
    if (modes == 0) korvena_fuzz::Fail("a cache without modes was accepted");
    // The menus open on device 0.
    if (QDLDeviceCount() > 0 && QDLDeviceGet(0)->modeCount == 0)
      korvena_fuzz::Fail("a cache that leaves the display's device without a mode was accepted");
  }
  std::fclose(f);
  return 0;
}
