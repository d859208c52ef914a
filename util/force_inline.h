// LQ_INLINE: inline always, whatever the compiler's size estimate. For the few
// helpers that run once per task or quad every frame.
#pragma once

#if defined(__GNUC__)
#define LQ_INLINE inline __attribute__((always_inline))
#define LQ_LIKELY(condition) __builtin_expect(!!(condition), 1)
#elif defined(_MSC_VER)
#define LQ_INLINE __forceinline
#endif
#ifndef LQ_INLINE
#define LQ_INLINE inline
#endif
// LQ_LIKELY(condition): the condition, marked as mostly true, so that its path
// is laid out straight.
#ifndef LQ_LIKELY
#define LQ_LIKELY(condition) (condition)
#endif
