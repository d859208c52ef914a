// Writing into a DirectSound buffer: the locked span may wrap round the buffer's
// end, so it comes as up to two regions.
#pragma once
#include <dsound.h>

// Locks count bytes at offset, lets write(region, size) fill each region, and
// unlocks. *locked: the bytes locked (0 when the lock fails, with its status).
template <class Write>
HRESULT WriteLockedBuffer(IDirectSoundBuffer8* buffer, DWORD offset, DWORD count, DWORD* locked,
                          Write write) {
  void* region[2] = {NULL, NULL};
  DWORD size[2] = {0, 0};
  *locked = 0;
  HRESULT hr = buffer->Lock(offset, count, &region[0], &size[0], &region[1], &size[1], 0);
  if (hr != 0) return hr;
  for (int i = 0; i < 2; ++i) {
    if (region[i] != NULL) write(region[i], size[i]);
  }
  *locked = size[0] + size[1];
  return buffer->Unlock(region[0], size[0], region[1], size[1]);
}
