// Learns what an added path holds, on a short-lived thread that the adding
// thread waits for: the length of an APE file or album image and its CUE
// tracks, or the length of a RealMedia file through its module.
#pragma once

#include "platform/core/Types.h"

// The parameter is the probe record (a ConversionItem); it is filled in.
win::DWORD FileInfoThread(void* record);
