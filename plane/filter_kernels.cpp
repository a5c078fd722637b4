#include "plane/filter_kernels.h"

#include <cmath>

namespace {

// Visits every bin of rows [RowBegin, RowEnd) with the wavelet's value at its frequency.
// Multiplying and sampling go through this one definition of the frequency arithmetic, so
// sampled values are bit for bit those a multiplication would use.
template <typename BinOperation>
void ForEachWaveletValue(const TWave2D& Wave, const std::vector<double>& Kx,
                         const std::vector<double>& Ky, double Scale, double Angle,
                         int RowBegin, int RowEnd, TComplex* Plane, const BinOperation& operation)
{
    const std::size_t cols = Kx.size();
    const long double scale = Scale;
    // The rotation is skipped at angle 0, where it would only add rounding.
    const bool rotate = Angle != 0.0;
    const long double cosA = std::cos(static_cast<long double>(Angle));
    const long double sinA = std::sin(static_cast<long double>(Angle));
    TComplex p;
    for (int r = RowBegin; r < RowEnd; ++r) {
        TComplex* row = Plane + static_cast<std::size_t>(r) * cols;
        const long double ky = Ky[r];
        if (rotate) {
            const long double sinKy = sinA * ky;
            const long double cosKy = cosA * ky;
            for (std::size_t c = 0; c < cols; ++c) {
                const long double kx = Kx[c];
                Wave.Spectrum((cosA * kx - sinKy) * scale, (sinA * kx + cosKy) * scale, p);
                operation(row[c], p);
            }
        } else {
            const long double y = ky * scale;
            for (std::size_t c = 0; c < cols; ++c) {
                Wave.Spectrum(Kx[c] * scale, y, p);
                operation(row[c], p);
            }
        }
    }
}

} // namespace

void MultiplyByWavelet(const TWave2D& Wave, const std::vector<double>& Kx,
                       const std::vector<double>& Ky, double Scale, double Angle,
                       TComplex* Spectrum, int RowBegin, int RowEnd)
{
    ForEachWaveletValue(Wave, Kx, Ky, Scale, Angle, RowBegin, RowEnd, Spectrum,
                        [](TComplex& bin, const TComplex& p) { bin = CMul(bin, p); });
}

void SampleWavelet(const TWave2D& Wave, const std::vector<double>& Kx,
                   const std::vector<double>& Ky, double Scale, double Angle, TComplex* Values,
                   int RowBegin, int RowEnd)
{
    ForEachWaveletValue(Wave, Kx, Ky, Scale, Angle, RowBegin, RowEnd, Values,
                        [](TComplex& value, const TComplex& p) { value = p; });
}

void MultiplyBySamples(const TComplex* Values, TComplex* Spectrum, std::size_t Begin,
                       std::size_t End)
{
    for (std::size_t i = Begin; i < End; ++i)
        Spectrum[i] = CMul(Spectrum[i], Values[i]);
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

void ClearImaginaryParts(TComplex* Plane, std::size_t Begin, std::size_t End)
{
    for (std::size_t i = Begin; i < End; ++i)
        Plane[i].Im = 0.0;
}
