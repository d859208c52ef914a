// LQ_INLINE: inline always, whatever the compiler's size estimate. For the few
// helpers that run once per task or quad every frame.
#pragma once

#if defined(__GNUC__)
#define LQ_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define LQ_INLINE __forceinline
#else
#define LQ_INLINE inline
#endif
