// Row loops compiled twice on x86-64 with GCC, for AVX2 and for the SSE2 baseline, the loader
// picking one at start-up; elsewhere the compiler's default vector width is used.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define HARUVEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define HARUVEL_VECTOR_CLONES
#endif
