// SceneClock.cpp - see SceneClock.h.
#include "SceneClock.h"

namespace {

SceneClockRoutine g_clock = NULL;

}  // namespace

DWORD SceneTickCount() { return g_clock != NULL ? g_clock() : ::GetTickCount(); }

void SetSceneClock(SceneClockRoutine clock) { g_clock = clock; }
