#pragma once
// Single-instance lock by name: one process at a time holds a name. The lock
// is a file locked with flock in $XDG_RUNTIME_DIR/korvena-football/ (the
// system temporary folder when XDG_RUNTIME_DIR is unset); the system drops it
// when the process ends, however it ends.

namespace platform {

struct InstanceLock;  // opaque

enum class InstanceResult { Acquired, AlreadyRunning, Failed };

// Takes the lock named name ("QDX Mutex"). *lock is set only when acquired.
// Failed means the lock could not be checked at all (no writable folder); the
// caller may run without it.
InstanceResult acquireInstanceLock(const char* name, InstanceLock** lock);
void releaseInstanceLock(InstanceLock* lock);  // null is fine

}  // namespace platform
