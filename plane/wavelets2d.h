#pragma once
// The two-dimensional wavelets, defined by their Fourier transform only: Spectrum(Kx, Ky) is
// the transform's value at an angular frequency already multiplied by the scale and rotated
// by the orientation. Kx runs along the columns (horizontal), Ky along the rows (vertical).
// The objects are immutable, so one wavelet can serve any number of threads.

#include "engine/complex.h"

class TWave2D {
public:
    virtual ~TWave2D() = default;
    // Computed in extended precision, stored as two doubles.
    virtual void Spectrum(long double Kx, long double Ky, TComplex& Result) const = 0;
};

// exp(-Sigma^2 ((Kx - K0)^2 + Ky^2) / 2): a real bump at (K0, 0), so at angle 0 it passes
// oscillations along the horizontal axis.
class TMorlet2D final : public TWave2D {
public:
    TMorlet2D(double K0, double Sigma) : K0(K0), Sigma(Sigma) {}
    void Spectrum(long double Kx, long double Ky, TComplex& Result) const override;

    const long double K0;
    const long double Sigma;
};

// (-Ky + i Kx)^Order exp(-((WidthX Kx)^2 + (WidthY Ky)^2) / 2). With Order 1 and unit widths
// it is the transform of the complex gradient d/dx + i d/dy of a unit Gaussian, which the
// contrast pass relies on. Exactly 0 at the origin.
class TGaussz2D final : public TWave2D {
public:
    TGaussz2D(long double Order, long double Width) : Order(Order), WidthX(Width), WidthY(Width)
    {
    }
    void Spectrum(long double Kx, long double Ky, TComplex& Result) const override;

    const long double Order;
    const long double WidthX;
    const long double WidthY;
};

// Isotropic sum of three Gaussians in r^2 = Kx^2 + Ky^2 with c = Alpha^2, divided by 2 pi;
// (c - 1)^2 / (2c(c + 1)) / (2 pi) at the origin. Alpha 0 divides by zero (a floating-point
// fault for the caller's checkpoint).
class TSQDog2D final : public TWave2D {
public:
    explicit TSQDog2D(long double Alpha) : Alpha(Alpha) {}
    void Spectrum(long double Kx, long double Ky, TComplex& Result) const override;

    const long double Alpha;
};
