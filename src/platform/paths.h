#pragma once
// One resolver for every path the game names. Game paths are Windows-1252
// bytes with backslashes or slashes:
//   - relative paths ("..\data\x.tga", "fonts\debug.bmp") are taken from the
//     executable's folder, whatever the working directory;
//   - "D:\..." is the pseudo disc drive labelled "Korvena Football", whose root
//     is the game folder, the one holding data/ (the executable's parent);
//     "C:\..." is the host's root directory;
//   - the save folder (the game folder's "savegame", e.g. "..\savegame\")
//     lives in $XDG_DATA_HOME/korvena-football/savegame (~/.local/share when
//     unset);
//   - host paths starting with '/' are taken as they are.
// Every component below the base matches an existing name without regard to
// case; a component that does not exist keeps its spelling (so new files can
// be made). Windows-1252 bytes become UTF-8 on disk.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The host path for a game path. Never fails; see above.
std::string resolvePath(const char* gamePath);

// Folder of the running executable (no trailing slash).
std::string executableDir();
// The game folder: the parent of the executable's folder, holding data/.
std::string gameRootDir();
// The folder that "..\savegame\" maps to.
std::string saveDir();
// Tests and tools may stand in another executable folder (empty restores it).
void setExecutableDir(const std::string& dir);

// Files by game path.
FILE* openFile(const char* gamePath, const char* mode);  // as fopen
bool fileExists(const char* gamePath);                   // a regular file that can be read
// True when both files exist and the first was written after the second.
bool fileIsNewer(const char* gamePath, const char* thanGamePath);
bool deleteFile(const char* gamePath);
bool copyFile(const char* fromPath, const char* toPath, bool failIfExists);
bool moveFile(const char* fromPath, const char* toPath);  // fails when the target exists
// Creates the folder and its parents; true when it exists afterwards.
bool makeDirectories(const char* gamePath);

// File attribute bits as the game knows them.
enum : uint32_t {
  kFileAttributeReadOnly = 0x01,
  kFileAttributeDirectory = 0x10,
  kFileAttributeNormal = 0x80,
  kFileAttributeInvalid = 0xFFFFFFFFu,
};
uint32_t fileAttributes(const char* gamePath);  // kFileAttributeInvalid when missing
bool setFileAttributes(const char* gamePath, uint32_t attributes);  // read-only bit only

struct DirectoryEntry {
  std::string name;  // as on disk, converted to Windows-1252 where possible
  bool isDirectory = false;
  uint64_t size = 0;
};
// Entries of the folder of pattern whose names match its last component
// ('*' and '?', without regard to case), sorted by name. "..\savegame\*.sav".
std::vector<DirectoryEntry> listDirectory(const char* gamePattern);

// Drives. Roots are "C:\" and "D:\" (the pseudo disc).
enum class DriveType : uint32_t { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };
// Drive roots, each zero-terminated, the list ending with an empty string,
// written into buffer when it fits; returns the size needed without the final
// terminator (like the system call the game uses).
uint32_t logicalDriveStrings(char* buffer, uint32_t bufferSize);
std::vector<std::string> logicalDrives();
DriveType driveType(const char* root);
// Volume label of a drive root; false for an unknown drive.
bool volumeLabel(const char* root, std::string* label);

constexpr const char* kDiscVolumeLabel = "Korvena Football";

// Windows-1252 <-> UTF-8 for names and texts shown by the window system.
std::string cp1252ToUtf8(const std::string& text);
// Characters outside Windows-1252 become '?'.
std::string utf8ToCp1252(const std::string& text);

}  // namespace platform
