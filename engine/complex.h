#pragma once
// Complex values laid out as FFTW's fftw_complex, the helpers both transforms use, and the
// angular frequency of every bin of an FFT buffer.

#include <vector>

struct TComplex {
    double Re;
    double Im;
};

// atan2(Z.Im, Z.Re): in [-pi, pi], 0 for Z = 0.
double CArg(TComplex Z);

// Inline: it runs once per bin and scale in every transform.
inline TComplex CMul(TComplex A, TComplex B)
{
    return {A.Re * B.Re - A.Im * B.Im, A.Re * B.Im + A.Im * B.Re};
}

// Principal natural logarithm; Z = 0 divides by zero.
TComplex CLn(TComplex Z);

TComplex CExp(TComplex Z);

// Z to the real power X through the principal logarithm; exactly 0 for Z = 0, whatever X.
TComplex CPower(TComplex Z, long double X);

// Principal square root, scaled so that no intermediate overflows. For a real argument:
// (sqrt a, 0) for a > 0, (0, sqrt |a|) for a < 0, (0, 0) for 0.
TComplex CSqrt(TComplex Z);

// Angular frequency (radians per sample) of each bin of an FFT of length N >= 1, in FFTW's
// bin order: 0, d, 2d, ..., then the negative frequencies; the middle bin of an even length
// gets -pi. d = 2 pi / N; each value is formed in extended precision and stored as double.
std::vector<double> AngularFrequencies(int N);
