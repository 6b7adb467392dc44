#pragma once
// Connecting to the session D-Bus with sd-bus. The native type stays
// forward-declared so that callers do not pull in the systemd headers.

#include <string>

struct sd_bus;

namespace platform {

// Opens a connection to the bus at the address ("unix:path=..."), or to the
// user's session bus when the address is empty. Returns nullptr with a reason
// in *error when there is no bus. The caller owns the connection
// (sd_bus_flush_close_unref) and uses it from one thread at a time.
sd_bus* OpenSessionBus(const std::string& address, std::string* error);

}  // namespace platform
