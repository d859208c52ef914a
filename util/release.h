// Releases a COM object and forgets it, so that a second release is harmless.
#pragma once
#include <stddef.h>

template <class T>
inline void ReleaseAndNull(T** object) {
  if (*object != NULL) {
    (*object)->Release();
    *object = NULL;
  }
}
