#pragma once
// The coefficient matrix of a 1-D run, one for all its series.

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "engine/system_pages.h"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

// The coefficient matrix of the run, one for all series. Without an observer it is never
// cleared; a large one has its pages mapped by all cores at once before the transform (which
// costs the system less than a fault at each page's first write). The contrast pass and the
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
        if (Raw && Large())
            PrefaultPages(Raw.get(), Count * sizeof(double));
    }
    // A large matrix goes back to the system on a worker, in steps: unmapping 800 MB takes
    // some 40 ms, which the rest of the run (mapping the fonts, say) need not wait for.
    ~TCoefficientStore()
    {
        if (Raw && Large())
            RunInBackground([block = Raw.release(), bytes = Count * sizeof(double)] {
                ReleasePagesInSteps(block, bytes);
                TAlignedDelete()(block);
            });
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
    static constexpr std::size_t kLargeBytes = std::size_t{16} << 20;
    bool Large() const { return Count * sizeof(double) >= kLargeBytes; }
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
