#include "engine/complex.h"

#include <cmath>

namespace {
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
}

double CArg(TComplex Z) { return std::atan2(Z.Im, Z.Re); }

TComplex CLn(TComplex Z)
{
    return {0.5 * std::log(Z.Re * Z.Re + Z.Im * Z.Im), std::atan2(Z.Im, Z.Re)};
}

TComplex CExp(TComplex Z)
{
    const double e = std::exp(Z.Re);
    return {e * std::cos(Z.Im), e * std::sin(Z.Im)};
}

TComplex CPower(TComplex Z, long double X)
{
    if (Z.Re == 0.0 && Z.Im == 0.0)
        return {0.0, 0.0};
    const TComplex l = CLn(Z);
    const double re = static_cast<double>(l.Re * X);
    const double im = static_cast<double>(l.Im * X);
    return CExp({re, im});
}

TComplex CSqrt(TComplex Z)
{
    if (Z.Re == 0.0 && Z.Im == 0.0)
        return {0.0, 0.0};
    const double x = std::fabs(Z.Re);
    const double y = std::fabs(Z.Im);
    double w;
    if (x >= y) {
        const double r = y / x;
        w = std::sqrt(x) * std::sqrt((1.0 + std::sqrt(1.0 + r * r)) / 2.0);
    } else {
        const double r = x / y;
        w = std::sqrt(y) * std::sqrt((r + std::sqrt(1.0 + r * r)) / 2.0);
    }
    if (Z.Re >= 0.0)
        return {w, Z.Im / (2.0 * w)};
    const double im = Z.Im >= 0.0 ? w : -w;
    return {Z.Im / (2.0 * im), im};
}

std::vector<double> AngularFrequencies(int N)
{
    const long double d = kTwoPi / N;
    std::vector<double> omega(static_cast<std::size_t>(N > 0 ? N : 0));
    const int h = (N - 1) / 2;
    for (int k = 0; k < N; ++k)
        omega[k] = static_cast<double>((k <= h ? k : k - N) * d);
    return omega;
}
