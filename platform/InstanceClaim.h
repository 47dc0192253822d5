// One program per user session: InstanceClaim and ShowRunningForm, from the platform the
// build is for.
#pragma once

#if defined(_WIN32)
#include "win32/InstanceClaim.h"
#else
#include "gtk/InstanceClaim.h"
#endif
