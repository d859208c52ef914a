// Not for games: installed only because the inline vector calls of util/vec2.h need it.
// LQ_INLINE: inline always, whatever the compiler's size estimate. For the few
// helpers that run once per task or quad every frame; and the hints below.
#pragma once

#if defined(__GNUC__)
#define LQ_INLINE inline __attribute__((always_inline))
#define LQ_LIKELY(condition) __builtin_expect(!!(condition), 1)
#define LQ_PREFETCH(address) __builtin_prefetch(address)
#elif defined(_MSC_VER)
#include <xmmintrin.h>
#define LQ_INLINE __forceinline
#define LQ_PREFETCH(address) _mm_prefetch(reinterpret_cast<const char*>(address), _MM_HINT_T0)
#endif
#ifndef LQ_INLINE
#define LQ_INLINE inline
#endif
// LQ_PREFETCH(address): a hint to fetch the address's cache line; never faults.
// Only in always-inline code: GCC drops it from a function it may leave out of line.
#ifndef LQ_PREFETCH
#define LQ_PREFETCH(address) ((void)(address))
#endif
// LQ_LIKELY(condition): the condition, marked as mostly true, so that its path
// is laid out straight.
#ifndef LQ_LIKELY
#define LQ_LIKELY(condition) (condition)
#endif
