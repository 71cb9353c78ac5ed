// The process-wide clock: seconds since the framework started, from the
// performance counter when the system has one, else from the millisecond
// timer. The choice is made once by InitTimeBase.
#pragma once

#include "core/Platform.h"

// Called once by the framework's start-up. highResolution false forces the
// millisecond timer.
void InitTimeBase(bool highResolution = true);
// Seconds since InitTimeBase.
float GetTimeSeconds();
// True when the clock reads the performance counter.
bool IsTimeBaseHighResolution();
