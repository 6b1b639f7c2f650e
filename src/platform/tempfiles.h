#pragma once
// Temporary files of writers that write beside the target and rename over
// it. Each process writes "<target>.tmp.<pid>", so two games never share a
// temporary file, and the leftovers of a game that was killed while writing
// can be told apart from those of a game still running.
#include <string>

namespace platform {

// "<hostPath>.tmp.<pid of this process>".
std::string temporaryPathFor(const std::string& hostPath);

// True while a process of that id runs (or exists but belongs to another user).
bool processRunning(long pid);

// Removes the files "<name>.tmp.<pid>" in the host folder whose process no
// longer runs; those of running processes, this one included, are kept.
// Returns how many were removed.
int removeStaleTemporaries(const std::string& hostDir);

// The same for the folder holding a host file.
int removeStaleTemporariesBeside(const std::string& hostFile);

// Renames a written (and synced) temporary file over its target, then syncs
// the folder holding them, so that the rename itself is on the disc. False
// when the rename fails (the temporary file is then the caller's to remove).
// A folder that cannot be synced is said on standard error; the rename stays.
bool replaceWithTemporary(const std::string& tempPath, const std::string& hostPath);

// Syncs the folder holding a host file: true when it is on the disc.
bool syncFolderOf(const std::string& hostFile);

// What syncs the folder's open descriptor (tests interpose here); null is
// fsync. It answers 0, or -1 with errno set.
using FolderSyncFn = int (*)(int fd, const char* hostDir);
void folderSyncFnSet(FolderSyncFn fn);

}  // namespace platform
