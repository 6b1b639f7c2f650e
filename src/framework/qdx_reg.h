#pragma once
// Registry settings: one key per product under the local-machine and the
// current-user roots ("Software\Ostrelwerk\Quorrel\" followed by the product
// name), read and written as tables of value descriptors.
#include <cstdint>

enum : std::uint32_t {
  QDXREG_ROOT_LOCAL_MACHINE = 0,
  QDXREG_ROOT_CURRENT_USER = 1,

  QDXREG_TYPE_BINARY_INLINE = 0,  // binary, default held in uDefault
  QDXREG_TYPE_DWORD = 1,          // 32-bit number, default held in uDefault
  QDXREG_TYPE_STRING = 2,         // zero-terminated text, default at pDefault
  QDXREG_TYPE_BINARY = 3,         // binary, default at pDefault (uSize bytes)
};

// Result codes of the registry operations.
enum : std::int32_t {
  QDXREG_OK = 0,
  QDXREG_ERR_OPEN_MACHINE_ROOT = 1,
  QDXREG_ERR_OPEN_USER_ROOT = 2,
  QDXREG_ERR_CLOSE_KEY = 3,
  QDXREG_ERR_FLUSH = 4,
  QDXREG_ERR_CREATE_KEY = 5,
  QDXREG_ERR_WRITE = 6,
  QDXREG_ERR_MISSING = 7,
  QDXREG_ERR_ROOT = 8,
  QDXREG_ERR_TYPE = 9,
  QDXREG_ERR_KEY_NOT_OPEN = 10,
  QDXREG_ERR_WRONG_TYPE = 11,
};

enum { QDXREG_NAME_SIZE = 32 };

// A value descriptor of a settings table. The empty name is the key's
// default value.
struct QDXRegValue {
  char szName[QDXREG_NAME_SIZE];
  std::uint32_t uRoot;
  std::uint32_t uType;
  std::uint32_t uSize;       // size of the data buffer in bytes
  void* pData;               // the caller's variable
  std::uint32_t uDefault;    // types 0 and 1: the default itself (little-endian bytes for type 0)
  const void* pDefault;      // types 2 and 3: the default
};

extern const char* const QDXREG_KEY_PREFIX;  // "Software\Ostrelwerk\Quorrel\"

// Opens both roots and the product key under each (created when missing).
std::int32_t QDXRegOpen(const char* pszProduct);
std::int32_t QDXRegCreateKeys(const char* pszProduct);
// pvKey receives the opened key (an opaque handle).
std::int32_t QDXRegCreateKey(std::uint32_t uRoot, const char* pszProduct, void** ppvKey);
// Closes both product keys and both roots, then writes both roots out (4 when
// that fails).
std::int32_t QDXRegClose();
std::int32_t QDXRegCloseKey(void* pvKey);
std::int32_t QDXRegCloseKeys();

// Reads one value into its variable. A missing value gives 7, or with
// bUseDefaults the default (and 0). A value stored with another type gives 11
// and the variable takes the default. Strings always end up terminated within
// uSize bytes.
std::int32_t QDXRegReadValue(const QDXRegValue* poValue, std::int32_t bUseDefaults);
std::int32_t QDXRegWriteValue(const QDXRegValue* poValue);
// Every descriptor in turn; the result is the first failure, or 0.
std::int32_t QDXRegReadValues(const QDXRegValue* poTable, std::uint32_t cCount, std::int32_t bUseDefaults);
std::int32_t QDXRegWriteValues(const QDXRegValue* poTable, std::uint32_t cCount);

// Single values over a descriptor built on the spot.
std::int32_t QDXRegKeyExists(const char* pszProduct);  // 1 when the key exists under the machine root
std::int32_t QDXRegReadDWord(std::uint32_t uRoot, const char* pszName, std::uint32_t* puValue, std::uint32_t uDefault);
std::int32_t QDXRegReadString(std::uint32_t uRoot, const char* pszName, char* pszBuffer, std::uint32_t uSize,
                              const char* pszDefault);
std::int32_t QDXRegWriteDWord(std::uint32_t uRoot, const char* pszName, std::uint32_t uValue);

// The result of the last settings-store call that failed, for messages.
std::int32_t QDXRegLastResult();
