#include "filter_kernels.h"

#include <cmath>

namespace {

void MultiplyRow(const TWave2D& Wave, const std::vector<double>& Kx, long double Ky,
                 long double Scale, TComplex* Row)
{
    TComplex p;
    const long double y = Ky * Scale;
    for (std::size_t c = 0; c < Kx.size(); ++c) {
        Wave.Spectrum(Kx[c] * Scale, y, p);
        Row[c] = CMul(Row[c], p);
    }
}

void MultiplyRowRotated(const TWave2D& Wave, const std::vector<double>& Kx, long double Ky,
                        long double Scale, long double CosA, long double SinA, TComplex* Row)
{
    TComplex p;
    const long double sinKy = SinA * Ky;
    const long double cosKy = CosA * Ky;
    for (std::size_t c = 0; c < Kx.size(); ++c) {
        const long double kx = Kx[c];
        Wave.Spectrum((CosA * kx - sinKy) * Scale, (SinA * kx + cosKy) * Scale, p);
        Row[c] = CMul(Row[c], p);
    }
}

} // namespace

void MultiplyByWavelet(const TWave2D& Wave, const std::vector<double>& Kx,
                       const std::vector<double>& Ky, double Scale, double Angle,
                       TComplex* Spectrum, int RowBegin, int RowEnd)
{
    const std::size_t cols = Kx.size();
    // The rotation is skipped at angle 0, where it would only add rounding.
    const bool rotate = Angle != 0.0;
    const long double cosA = std::cos(static_cast<long double>(Angle));
    const long double sinA = std::sin(static_cast<long double>(Angle));
    for (int r = RowBegin; r < RowEnd; ++r) {
        TComplex* row = Spectrum + static_cast<std::size_t>(r) * cols;
        if (rotate)
            MultiplyRowRotated(Wave, Kx, Ky[r], Scale, cosA, sinA, row);
        else
            MultiplyRow(Wave, Kx, Ky[r], Scale, row);
    }
}

void FinishFilterOutput(TFilterOutput Output, std::size_t Count, double Scale, TComplex* Plane,
                        std::size_t Begin, std::size_t End)
{
    const long double count = static_cast<long double>(Count);
    for (std::size_t i = Begin; i < End; ++i) {
        TComplex& z = Plane[i];
        z.Re = static_cast<double>(z.Re / count * Scale);
        z.Im = static_cast<double>(z.Im / count * Scale);
        if (Output == foModulus) {
            const long double re = z.Re;
            const long double im = z.Im;
            z.Re = static_cast<double>(std::sqrt(re * re + im * im));
        } else if (Output == foImagPart) {
            z.Re = z.Im;
        }
    }
}
