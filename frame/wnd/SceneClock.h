// SceneClock.h - the tick count (milliseconds) that the scene's animations,
// presses and glides run on: GetTickCount, or a clock the tests set.
#pragma once

#include <windows.h>

typedef DWORD (*SceneClockRoutine)();

DWORD SceneTickCount();
// NULL restores GetTickCount.
void SetSceneClock(SceneClockRoutine clock);
