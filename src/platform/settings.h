#pragma once
// The settings store: two roots of keys, each key holding named values of
// three kinds (32-bit number, string, bytes). The machine root lives in the
// game's folder beside the data tree (<game>/settings/machine.txt, started
// from the installed defaults data/settings/machine-defaults.txt when it does
// not exist yet; KORVENA_MACHINE_SETTINGS names another file, for test runs);
// the user root in $XDG_CONFIG_HOME/korvena-football/user.txt
// (~/.config when XDG_CONFIG_HOME is unset). Key paths use backslashes and,
// like value names, match without regard to case.
//
// Files are text, one value a line, written to a temporary file and renamed.
// A damaged line is skipped with a warning on stderr and a copy of the damaged
// file is kept beside it (".damaged"), so nothing is lost silently.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

enum class SettingsRoot : uint32_t { Machine = 0, User = 1 };
enum class SettingsType : uint32_t { Binary = 0, DWord = 1, String = 2 };

enum class SettingsResult {
  Ok,
  Missing,      // no such value (or no such key)
  WrongType,    // stored with another type; see settingsQuery
  TooSmall,     // the buffer cannot hold the value; nothing copied
  Failed,       // the key is not open, the file cannot be written ...
};

struct SettingsKey;  // opaque

// Opens the key at path under the root; with create, a missing key is made
// (held in memory until flushed). Null when missing and not created.
SettingsKey* settingsOpenKey(SettingsRoot root, const char* path, bool create);
void settingsCloseKey(SettingsKey* key);  // null is fine; flushes its root when changed
bool settingsKeyExists(SettingsRoot root, const char* path);

// Writes the root's file when it changed since it was last written. False
// when the file cannot be written (the values stay in memory, the file on
// the disc is left as it was, and standard error names the file and the
// reason: once for each distinct failure, until a write succeeds).
bool settingsFlush(SettingsRoot root);

// Raw query: the stored type and size are reported (either pointer may be
// null); the data is copied when buffer can hold it (a string counts its
// terminator, which is always stored). WrongType is never returned here.
SettingsResult settingsQuery(SettingsKey* key, const char* name, SettingsType* type, void* buffer,
                             uint32_t bufferSize, uint32_t* storedSize);

// Typed reads: WrongType when the value has another type (nothing copied).
// readString always terminates the buffer (bufferSize >= 1); a longer string
// gives TooSmall and an empty buffer.
SettingsResult settingsReadDWord(SettingsKey* key, const char* name, uint32_t* value);
SettingsResult settingsReadString(SettingsKey* key, const char* name, char* buffer, uint32_t bufferSize);
SettingsResult settingsReadBinary(SettingsKey* key, const char* name, void* buffer, uint32_t bufferSize,
                                  uint32_t* size);

// Writes replace any value of that name whatever its type.
SettingsResult settingsWriteDWord(SettingsKey* key, const char* name, uint32_t value);
SettingsResult settingsWriteString(SettingsKey* key, const char* name, const char* text);
SettingsResult settingsWriteBinary(SettingsKey* key, const char* name, const void* data, uint32_t size);
SettingsResult settingsDeleteValue(SettingsKey* key, const char* name);

// Where the roots live. Set before the first open (tests point them at
// temporary files); an empty path restores the default place.
void settingsSetRootFile(SettingsRoot root, const std::string& path);
std::string settingsRootFile(SettingsRoot root);
// Forgets everything loaded (keys must be closed); the next open reads the
// files again.
void settingsReset();

// What writes a root's text into its temporary file (tests interpose here);
// null is fwrite. It answers the bytes written, with errno set when fewer.
using SettingsFileWriteFn = size_t (*)(const void* data, size_t size, FILE* file);
void settingsFileWriteFnSet(SettingsFileWriteFn fn);

}  // namespace platform
