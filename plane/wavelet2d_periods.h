#pragma once
// The wavelength in pixels that a 2-D frame of scale s passes: 2 pi |s| over the radial
// frequency where the wavelet's spectrum peaks (along its own axis, angle 0).

#include "engine/analysis_params.h"
#include "plane/wavelets2d.h"

// The peak's radial frequency at scale 1, found on the spectrum itself; NaN when the peak
// lies at frequency 0 (a wavelet that passes the mean passes no wavelength).
double PeakRadialFrequency(const TWave2D& wave);

// The wavelength of `scale` for the 2-D wavelet the parameters choose; 0 at scale 0.
double Wavelength2D(const TAnalysisParams& params, double scale);
