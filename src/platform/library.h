#pragma once
// Shared objects loaded by the DLL name the game uses: "q3dswdll.dll" loads
// libq3dswdll.so (or q3dswdll.so) from the executable's folder. The name is
// matched without regard to case; any folder part of the name is ignored.
#include <string>

namespace platform {

struct Library;  // opaque

// Null when no such object exists or it cannot be loaded (see libraryError).
Library* loadLibrary(const char* dllName);
void* librarySymbol(Library* library, const char* name);  // null when missing
void freeLibrary(Library* library);                        // null is fine
// Why the last load or lookup failed, for messages.
std::string libraryError();
// The file loadLibrary would try first for a DLL name.
std::string libraryFileFor(const char* dllName);

}  // namespace platform
