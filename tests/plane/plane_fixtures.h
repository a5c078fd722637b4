#pragma once
// Small matrices and the loading of a matrix into a filter, shared by the plane tests.

#include "plane/bitmap_filter.h"

#include <random>
#include <vector>

inline std::vector<double> RandomMatrix(int rows, int cols, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    std::vector<double> m(static_cast<std::size_t>(rows) * cols);
    for (double& x : m)
        x = dist(gen);
    return m;
}

// Real parts from the matrix, imaginary parts 0, as the commands load a plane.
inline void LoadMatrix(TBitmapFilter& filter, const std::vector<double>& matrix)
{
    for (std::size_t i = 0; i < filter.Count(); ++i)
        filter.Work()[i] = {matrix[i], 0.0};
}

inline std::vector<double> RealParts(const TBitmapFilter& filter)
{
    std::vector<double> re(filter.Count());
    for (std::size_t i = 0; i < filter.Count(); ++i)
        re[i] = filter.Work()[i].Re;
    return re;
}
