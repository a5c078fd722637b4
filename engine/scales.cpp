#include "engine/scales.h"

#include "engine/complex.h"
#include "engine/fp_checkpoint.h"

#include <cmath>

namespace {

// A grid needs two values to have a step; fewer is a division by zero.
void RequireTwoValues(int Count)
{
    if (Count < 2)
        throw EZeroDivide();
}

} // namespace

std::vector<double> LinearScales(double First, double Last, int Count)
{
    RequireTwoValues(Count);
    const double step = (Last - First) / (Count - 1);
    std::vector<double> values(static_cast<std::size_t>(Count));
    double v = First;
    for (double& value : values) {
        value = v;
        v = v + step;
    }
    return values;
}

std::vector<double> LogScales(int First, int Last, int Count)
{
    const double a = std::log(static_cast<double>(First));
    const double b = std::log(static_cast<double>(Last));
    std::vector<double> values = LinearScales(a, b, Count);
    for (double& value : values)
        value = std::exp(value);
    return values;
}

std::vector<double> QuadraticScales(int First, int Last, int Count)
{
    RequireTwoValues(Count);
    const TComplex zA = CSqrt({static_cast<double>(First), 0.0});
    const TComplex zB = CSqrt({static_cast<double>(Last), 0.0});
    const double dRe = (zB.Re - zA.Re) / (Count - 1);
    const double dIm = (zB.Im - zA.Im) / (Count - 1);
    TComplex z = zA;
    std::vector<double> values(static_cast<std::size_t>(Count));
    for (double& value : values) {
        value = z.Re * z.Re - z.Im * z.Im;
        z.Re = z.Re + dRe;
        z.Im = z.Im + dIm;
    }
    return values;
}

std::vector<double> ScaleGrid(int StepKind, double First, double Last, int Count)
{
    switch (StepKind) {
    case ssLogarithmic:
        return LogScales(static_cast<int>(std::ceil(First)), static_cast<int>(std::ceil(Last)),
                         Count);
    case ssQuadratic:
        return QuadraticScales(static_cast<int>(std::ceil(First)),
                               static_cast<int>(std::ceil(Last)), Count);
    default:
        return LinearScales(First, Last, Count);
    }
}
