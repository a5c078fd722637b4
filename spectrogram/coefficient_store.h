#pragma once
// The coefficient matrix of a 1-D run, one for all its series.

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

// The coefficient matrix of the run, one for all series. Without an observer it is never
// cleared: the threads that compute the rows touch its pages first, in parallel with the
// transform, instead of one thread clearing it all beforehand. The contrast pass and the
// observer take a vector, which it then becomes for the rest of the run.
class TCoefficientStore {
public:
    TCoefficientStore(std::size_t count, bool asVector) : Count(count)
    {
        RequireMemory(CheckedMul(count, sizeof(double), "the coefficient matrix"),
                      "the coefficient matrix");
        if (asVector)
            Vector.resize(count);
        else
            Raw.reset(static_cast<double*>(
                ::operator new[](count * sizeof(double), std::align_val_t{kAlignment})));
    }
    // A large matrix goes back to the system on a worker: unmapping 800 MB takes some 40 ms,
    // which the rest of the run need not wait for.
    ~TCoefficientStore()
    {
        if (Raw && Count * sizeof(double) >= kFreedInBackground)
            RunInBackground([block = Raw.release()] { TAlignedDelete()(block); });
    }
    TCoefficientStore(const TCoefficientStore&) = delete;
    TCoefficientStore& operator=(const TCoefficientStore&) = delete;

    double* Data() { return Raw ? Raw.get() : Vector.data(); }
    std::vector<double>& AsVector()
    {
        if (Raw) {
            Vector.assign(Raw.get(), Raw.get() + Count);
            Raw.reset();
        }
        return Vector;
    }

private:
    // Cache-line aligned: rows streamed past the cache start on whole lines.
    static constexpr std::size_t kAlignment = 64;
    static constexpr std::size_t kFreedInBackground = std::size_t{64} << 20;
    struct TAlignedDelete {
        void operator()(double* p) const noexcept
        {
            ::operator delete[](p, std::align_val_t{kAlignment});
        }
    };
    std::size_t Count;
    std::unique_ptr<double[], TAlignedDelete> Raw;
    std::vector<double> Vector;
};
