// The sound device: playback format, keep-alive buffer, lock and service thread.
#pragma once
#include <windows.h>

HRESULT InitSound();
void ReleaseSound();
