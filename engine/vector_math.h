#pragma once
// exp and log over whole arrays, for the loops that evaluate them for every bin or element.
// Where the C library has vector versions (glibc's libmvec on x86-64: AVX-512 for exp and AVX2
// for log when the processor has them, else AVX2 or SSE) they are used; elsewhere the scalar
// functions. The vector versions differ from the scalar ones by at most a few units in the
// last place, which stays far inside what the results may differ by; they keep the IEEE
// flags for overflow and invalid operations.

#include <cstddef>

// v[i] = exp(v[i]) for i < count.
void ExpInPlace(double* v, std::size_t count);

// v[i] = log(v[i]) for i < count.
void LogInPlace(double* v, std::size_t count);
