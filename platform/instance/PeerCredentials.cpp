#include "platform/instance/PeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

bool PeerUserId(int fd, uid_t& uid) {
  ucred cred{};
  socklen_t length = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || length != sizeof cred) return false;
  uid = cred.uid;
  return true;
}

bool IsSameUserPeer(int fd) {
  uid_t uid = 0;
  return PeerUserId(fd, uid) && uid == ::getuid();
}

}  // namespace platform
