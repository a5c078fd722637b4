#pragma once
// The one-dimensional wavelets, defined by their Fourier transform only: Spectrum(W) is the
// transform's value at W, a bin's angular frequency already multiplied by the scale.

#include "engine/complex.h"

#include <cstddef>

class TWave1D {
public:
    virtual ~TWave1D() = default;
    virtual TComplex Spectrum(double W) const = 0;
};

// exp(-Sigma^2 (W - K0)^2 / 2): passes positive frequencies around K0 / scale. No
// admissibility correction, so the value at W = 0 is small but not zero.
class TMorlet1D final : public TWave1D {
public:
    TMorlet1D(double K0, double Sigma) : K0(K0), Sigma(Sigma) {}
    TComplex Spectrum(double W) const override;

    // Re Spectrum(Omega[i] * Scale) into Re[i] for i < count at once (the spectrum is real),
    // in loops the compiler vectorises and with the vector exp; where the exponent is below
    // the underflow of exp the value is 0 and exp is not evaluated. Equal to Spectrum within
    // the vector exp's few units in the last place.
    void RealSpectra(const double* Omega, std::size_t count, double Scale, double* Re) const;

    const double K0;
    const double Sigma;
};

// Difference of two Gaussians, exp(-t) - exp(-Alpha^2 t) with t = W^2 / 2: zero at W = 0,
// even in W, identically 0 for |Alpha| = 1.
class TSDog1D final : public TWave1D {
public:
    explicit TSDog1D(double Alpha) : Alpha(Alpha) {}
    TComplex Spectrum(double W) const override;

    // As TMorlet1D::RealSpectra; `scratch` holds count values for the second Gaussian.
    void RealSpectra(const double* Omega, std::size_t count, double Scale, double* Re,
                     double* scratch) const;

    const double Alpha;
};
