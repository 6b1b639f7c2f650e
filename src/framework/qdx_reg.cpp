#include "framework/qdx_reg.h"

#include <cstring>
#include <string>

#include "framework/qdx_assert.h"
#include "platform/settings.h"

const char* const QDXREG_KEY_PREFIX = "Software\\Ostrelwerk\\Quorrel\\";

namespace {

std::int32_t qdxreg_abRootOpen[2] = {0, 0};
platform::SettingsKey* qdxreg_apoKey[2] = {nullptr, nullptr};
std::int32_t qdxreg_iLastResult = 0;

platform::SettingsRoot RootOf(std::uint32_t uRoot) { return static_cast<platform::SettingsRoot>(uRoot); }

std::string KeyPath(const char* pszProduct) { return std::string(QDXREG_KEY_PREFIX) + (pszProduct ? pszProduct : ""); }

// The descriptor's name, terminated within its 32 characters.
std::string NameOf(const QDXRegValue* poValue) {
  return std::string(poValue->szName, strnlen(poValue->szName, QDXREG_NAME_SIZE));
}

std::int32_t Fail(platform::SettingsResult eResult, std::int32_t iCode) {
  qdxreg_iLastResult = static_cast<std::int32_t>(eResult);
  return iCode;
}

// Copies the descriptor's default into its variable, never reading past the
// default and always terminating a string.
void CopyDefault(const QDXRegValue* poValue) {
  auto* pData = static_cast<std::uint8_t*>(poValue->pData);
  const std::uint32_t uSize = poValue->uSize;
  if (!pData || uSize == 0) return;
  switch (poValue->uType) {
    case QDXREG_TYPE_BINARY_INLINE:
    case QDXREG_TYPE_DWORD:
      std::memset(pData, 0, uSize);
      for (std::uint32_t i = 0; i < uSize && i < 4; i++) pData[i] = static_cast<std::uint8_t>(poValue->uDefault >> (8 * i));
      break;
    case QDXREG_TYPE_STRING: {
      const char* pszDefault = static_cast<const char*>(poValue->pDefault);
      const std::size_t uLength = pszDefault ? strnlen(pszDefault, uSize - 1) : 0;
      if (uLength) std::memcpy(pData, pszDefault, uLength);
      std::memset(pData + uLength, 0, uSize - uLength);
      break;
    }
    case QDXREG_TYPE_BINARY:
      if (poValue->pDefault)
        std::memcpy(pData, poValue->pDefault, uSize);
      else
        std::memset(pData, 0, uSize);
      break;
    default:
      break;
  }
}

std::int32_t CheckDescriptor(const QDXRegValue* poValue) {
  if (poValue->uRoot > 1) return QDXREG_ERR_ROOT;
  if (!qdxreg_apoKey[poValue->uRoot]) return QDXREG_ERR_KEY_NOT_OPEN;
  if (poValue->uType > 3) return QDXREG_ERR_TYPE;
  return QDXREG_OK;
}

}  // namespace

std::int32_t QDXRegOpen(const char* pszProduct) {
  // The settings store has its roots ready at all times; opening them only
  // marks them in use.
  qdxreg_abRootOpen[0] = 1;
  qdxreg_abRootOpen[1] = 1;
  return QDXRegCreateKeys(pszProduct);
}

std::int32_t QDXRegCreateKeys(const char* pszProduct) {
  QDXRegCloseKeys();
  void* pvKey = nullptr;
  std::int32_t iResult = QDXRegCreateKey(QDXREG_ROOT_LOCAL_MACHINE, pszProduct, &pvKey);
  if (iResult != QDXREG_OK) return iResult;
  qdxreg_apoKey[0] = static_cast<platform::SettingsKey*>(pvKey);
  iResult = QDXRegCreateKey(QDXREG_ROOT_CURRENT_USER, pszProduct, &pvKey);
  if (iResult != QDXREG_OK) return iResult;
  qdxreg_apoKey[1] = static_cast<platform::SettingsKey*>(pvKey);
  return QDXREG_OK;
}

std::int32_t QDXRegCreateKey(std::uint32_t uRoot, const char* pszProduct, void** ppvKey) {
  QDX_ASSERT(ppvKey != nullptr);
  *ppvKey = nullptr;
  if (uRoot > 1) return QDXREG_ERR_ROOT;
  const std::string oPath = KeyPath(pszProduct);
  platform::SettingsKey* poKey = platform::settingsOpenKey(RootOf(uRoot), oPath.c_str(), false);
  if (!poKey) poKey = platform::settingsOpenKey(RootOf(uRoot), oPath.c_str(), true);
  if (!poKey) return Fail(platform::SettingsResult::Failed, QDXREG_ERR_CREATE_KEY);
  *ppvKey = poKey;
  return QDXREG_OK;
}

std::int32_t QDXRegCloseKey(void* pvKey) {
  platform::settingsCloseKey(static_cast<platform::SettingsKey*>(pvKey));
  return QDXREG_OK;
}

std::int32_t QDXRegCloseKeys() {
  std::int32_t iResult = QDXREG_OK;
  for (platform::SettingsKey*& poKey : qdxreg_apoKey) {
    const std::int32_t i = QDXRegCloseKey(poKey);
    if (iResult == QDXREG_OK) iResult = i;
    poKey = nullptr;
  }
  return iResult;
}

std::int32_t QDXRegClose() {
  std::int32_t iResult = QDXRegCloseKeys();
  for (std::uint32_t uRoot = 0; uRoot < 2; uRoot++) {
    qdxreg_abRootOpen[uRoot] = 0;
    if (!platform::settingsFlush(RootOf(uRoot)) && iResult == QDXREG_OK)
      iResult = Fail(platform::SettingsResult::Failed, QDXREG_ERR_FLUSH);
  }
  return iResult;
}

std::int32_t QDXRegReadValue(const QDXRegValue* poValue, std::int32_t bUseDefaults) {
  QDX_ASSERT(poValue != nullptr);
  const std::int32_t iCheck = CheckDescriptor(poValue);
  if (iCheck != QDXREG_OK) return iCheck;
  platform::SettingsKey* poKey = qdxreg_apoKey[poValue->uRoot];
  const std::string oName = NameOf(poValue);
  const std::uint32_t uSize = poValue->uSize;
  void* pData = poValue->pData;

  platform::SettingsResult eResult = platform::SettingsResult::Missing;
  if (pData && uSize) {
    switch (poValue->uType) {
      case QDXREG_TYPE_DWORD: {
        std::uint32_t uValue = 0;
        eResult = platform::settingsReadDWord(poKey, oName.c_str(), &uValue);
        if (eResult == platform::SettingsResult::Ok) {
          if (uSize < 4) {
            eResult = platform::SettingsResult::TooSmall;
          } else {
            std::uint8_t ab[4];
            for (int i = 0; i < 4; i++) ab[i] = static_cast<std::uint8_t>(uValue >> (8 * i));
            std::memcpy(pData, ab, 4);
          }
        }
        break;
      }
      case QDXREG_TYPE_STRING: {
        // Read through a scratch buffer so that a refused read leaves the
        // variable as it was.
        std::string oBuffer(uSize, '\0');
        eResult = platform::settingsReadString(poKey, oName.c_str(), oBuffer.data(), uSize);
        if (eResult == platform::SettingsResult::Ok) std::memcpy(pData, oBuffer.data(), uSize);
        break;
      }
      default: {
        std::uint32_t uStored = 0;
        eResult = platform::settingsReadBinary(poKey, oName.c_str(), pData, uSize, &uStored);
        break;
      }
    }
  }
  switch (eResult) {
    case platform::SettingsResult::Ok:
      return QDXREG_OK;
    case platform::SettingsResult::WrongType:
      CopyDefault(poValue);
      return Fail(eResult, QDXREG_ERR_WRONG_TYPE);
    default:
      // Missing, or not readable into the variable (too long): the default.
      if (!bUseDefaults) return Fail(eResult, QDXREG_ERR_MISSING);
      CopyDefault(poValue);
      return QDXREG_OK;
  }
}

std::int32_t QDXRegWriteValue(const QDXRegValue* poValue) {
  QDX_ASSERT(poValue != nullptr);
  const std::int32_t iCheck = CheckDescriptor(poValue);
  if (iCheck != QDXREG_OK) return iCheck;
  platform::SettingsKey* poKey = qdxreg_apoKey[poValue->uRoot];
  const std::string oName = NameOf(poValue);
  const auto* pData = static_cast<const std::uint8_t*>(poValue->pData);
  const std::uint32_t uSize = poValue->uSize;
  if (!pData && uSize) return Fail(platform::SettingsResult::Failed, QDXREG_ERR_WRITE);

  platform::SettingsResult eResult;
  switch (poValue->uType) {
    case QDXREG_TYPE_DWORD: {
      if (uSize < 4) return Fail(platform::SettingsResult::TooSmall, QDXREG_ERR_WRITE);
      const std::uint32_t uValue = std::uint32_t{pData[0]} | (std::uint32_t{pData[1]} << 8) |
                                   (std::uint32_t{pData[2]} << 16) | (std::uint32_t{pData[3]} << 24);
      eResult = platform::settingsWriteDWord(poKey, oName.c_str(), uValue);
      break;
    }
    case QDXREG_TYPE_STRING: {
      // Only what lies within the variable is written, and always terminated.
      const std::string oText(reinterpret_cast<const char*>(pData), pData ? strnlen(reinterpret_cast<const char*>(pData), uSize) : 0);
      eResult = platform::settingsWriteString(poKey, oName.c_str(), oText.c_str());
      break;
    }
    default:
      eResult = platform::settingsWriteBinary(poKey, oName.c_str(), pData, uSize);
      break;
  }
  return eResult == platform::SettingsResult::Ok ? QDXREG_OK : Fail(eResult, QDXREG_ERR_WRITE);
}

std::int32_t QDXRegReadValues(const QDXRegValue* poTable, std::uint32_t cCount, std::int32_t bUseDefaults) {
  std::int32_t iFirst = QDXREG_OK;
  for (std::uint32_t i = 0; i < cCount; i++) {
    const std::int32_t iResult = QDXRegReadValue(&poTable[i], bUseDefaults);
    if (iFirst == QDXREG_OK) iFirst = iResult;
  }
  return iFirst;
}

std::int32_t QDXRegWriteValues(const QDXRegValue* poTable, std::uint32_t cCount) {
  std::int32_t iFirst = QDXREG_OK;
  for (std::uint32_t i = 0; i < cCount; i++) {
    const std::int32_t iResult = QDXRegWriteValue(&poTable[i]);
    if (iFirst == QDXREG_OK) iFirst = iResult;
  }
  return iFirst;
}

std::int32_t QDXRegKeyExists(const char* pszProduct) {
  return platform::settingsKeyExists(platform::SettingsRoot::Machine, KeyPath(pszProduct).c_str()) ? 1 : 0;
}

namespace {
QDXRegValue MakeValue(std::uint32_t uRoot, const char* pszName, std::uint32_t uType, std::uint32_t uSize, void* pData) {
  QDXRegValue oValue{};
  if (pszName) std::strncpy(oValue.szName, pszName, QDXREG_NAME_SIZE - 1);
  oValue.uRoot = uRoot;
  oValue.uType = uType;
  oValue.uSize = uSize;
  oValue.pData = pData;
  return oValue;
}
}  // namespace

std::int32_t QDXRegReadDWord(std::uint32_t uRoot, const char* pszName, std::uint32_t* puValue, std::uint32_t uDefault) {
  QDXRegValue oValue = MakeValue(uRoot, pszName, QDXREG_TYPE_DWORD, 4, puValue);
  oValue.uDefault = uDefault;
  return QDXRegReadValue(&oValue, 1);
}

std::int32_t QDXRegReadString(std::uint32_t uRoot, const char* pszName, char* pszBuffer, std::uint32_t uSize,
                              const char* pszDefault) {
  QDXRegValue oValue = MakeValue(uRoot, pszName, QDXREG_TYPE_STRING, uSize, pszBuffer);
  oValue.pDefault = pszDefault;
  return QDXRegReadValue(&oValue, 1);
}

std::int32_t QDXRegWriteDWord(std::uint32_t uRoot, const char* pszName, std::uint32_t uValue) {
  QDXRegValue oValue = MakeValue(uRoot, pszName, QDXREG_TYPE_DWORD, 4, &uValue);
  return QDXRegWriteValue(&oValue);
}

std::int32_t QDXRegLastResult() { return qdxreg_iLastResult; }
