#pragma once
// Spawn: starts another program without a shell, detached from this one.

#include <sys/types.h>

namespace platform {

// Starts program (looked up in PATH) with argv (argv[0] first, null last) in
// a session of its own with default signal handling, so nothing this
// program blocks or catches reaches it. A thread reaps it when it ends.
// False when it could not be started; *child (when given) gets its pid.
bool SpawnDetached(const char* program, char* const argv[], pid_t* child);

}  // namespace platform
