#pragma once
// Names the calling thread (at most 15 characters show), so that ps, top
// and /proc/PID/task/*/comm tell the program's threads apart.

#include <pthread.h>

namespace platform {

inline void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

}  // namespace platform
