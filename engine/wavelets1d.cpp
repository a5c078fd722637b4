#include "engine/wavelets1d.h"

#include <cmath>

TComplex TMorlet1D::Spectrum(double W) const
{
    const double d = W - K0;
    const double exponent = -(Sigma * Sigma) * (d * d) / 2.0;
    return {std::exp(exponent), 0.0};
}

TComplex TSDog1D::Spectrum(double W) const
{
    const double t = W * W / 2.0;
    const long double difference =
        static_cast<long double>(std::exp(-t)) - std::exp(-(Alpha * Alpha) * t);
    return {static_cast<double>(difference), 0.0};
}
