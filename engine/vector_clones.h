#pragma once
// The loops over whole rows and planes get an AVX2 version beside the SSE2 one, chosen when the
// program starts by the processor it runs on, without any -march for the build. Both make the
// same IEEE operations in the same order, element by element and with the same partial sums
// (no contraction, no reassociation), so their results are the same bits; the wider vectors
// only do more elements at once.
//
// TULVO_WIDE_VECTORS marks such a function (not inline, not a template); what it calls in its
// loops is marked TULVO_INLINE, so that it is compiled into each version.

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define TULVO_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#define TULVO_INLINE [[gnu::always_inline]] inline
#else
#define TULVO_WIDE_VECTORS
#define TULVO_INLINE inline
#endif

// Four doubles as the lanes of one vector (GCC's vector extension), for the loops whose
// selects and tests the compiler does not turn into vector code by itself.
using TDoubleLanes = double __attribute__((vector_size(4 * sizeof(double))));
