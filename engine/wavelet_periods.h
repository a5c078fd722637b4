#pragma once
// What a row of scale s means in time, from each wavelet's own spectrum: the Fourier period
// whose frequency meets the peak of |Spectrum(w s)|, and the e-folding time of the wavelet
// power of a spike (power down to e^-2 of its peak), the half-width of the cone of influence.
// Both are proportional to |s|; a wavelet without a peak (or a power that never falls) has NaN.

#include "engine/analysis_kinds.h"

#include <functional>

struct TWaveletShape {
    TWaveletKind Kind = wkGaussian;
    double Alpha = 1.25; // the Gaussian difference
    double K0 = 6.0;     // Morlet
    double Sigma = 1.0;  // Morlet
};

// The angular frequency, at scale 1, where |Spectrum| peaks: |K0| for Morlet,
// 2 sqrt(ln a / (a^2 - 1)) with a = |Alpha| for the Gaussian difference. NaN when there is
// none (K0 = 0, Alpha 0 or +-1).
double PeakFrequency(const TWaveletShape& wave);

// The Fourier period in samples of scale `scale`: 2 pi |scale| / PeakFrequency. 0 at scale 0.
double FourierPeriod(const TWaveletShape& wave, double scale);

// The e-folding time at scale 1, in samples: sqrt(2) |Sigma| for Morlet (its power envelope
// is exp(-t^2 / (Sigma s)^2)); for the Gaussian difference, whose time form is
// exp(-t^2 / 2) - exp(-t^2 / (2 a^2)) / a, the outermost t where its power is still e^-2 of
// its largest. NaN for Alpha 0 or +-1.
double EFoldingTime(const TWaveletShape& wave);

// The half-width in samples of the cone of influence at `scale`: EFoldingTime times |scale|.
double ConeOfInfluence(const TWaveletShape& wave, double scale);

// The abscissa in [lo, hi] where `magnitude` is largest: a dense scan, then a golden-section
// refinement around the best sample. For smooth spectra with one peak in the interval.
double FindPeak(const std::function<double(double)>& magnitude, double lo, double hi);
