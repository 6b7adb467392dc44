#pragma once
// Who is at the other end of a local socket. The single-instance socket is
// abstract (no file permissions guard it), so both ends check the peer's
// user id themselves.

#include <sys/types.h>

namespace platform {

// The user id of the process at the other end of a connected Unix socket;
// false when fd is no such socket.
bool PeerUserId(int fd, uid_t& uid);

// True only when the peer runs as the same user as this process.
bool IsSameUserPeer(int fd);

}  // namespace platform
