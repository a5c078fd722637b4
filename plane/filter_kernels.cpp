#include "plane/filter_kernels.h"

#include <cmath>

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
