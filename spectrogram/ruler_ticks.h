#pragma once
// Where the rulers beside and under the bands put their ticks: values on a 1-2-5 sequence
// (decades first on a logarithmic grid, month starts for dates), kept only where they stand
// at least a minimum distance from every tick kept before them.

#include <vector>

struct TTick {
    double Value;    // a scale, a label value or a day count
    double Position; // fractional row of the band, or sample
};

// The smallest of 1, 2, 5 times a power of ten that is at least `rough` (> 0).
double NiceStep(double rough);

// The decimals that show every multiple of a nice `step` exactly (0.25 -> 2, 20 -> 0).
int DecimalsFor(double step);

// Ticks for a band whose rows carry `grid` (monotone, either direction), each row
// `rowPixels` high on screen, no two ticks closer than `minGap` pixels.
std::vector<TTick> ScaleTicks(const std::vector<double>& grid, int stepKind, double rowPixels,
                              double minGap);

// Ticks under `labels` (one per sample, ascending), each sample `samplePixels` wide. Evenly
// spaced numbers get round label values; dates get month starts (years first), or days when
// the span is shorter; uneven numbers get round sample numbers showing their labels.
std::vector<TTick> LabelTicks(const std::vector<double>& labels, bool even, bool dates,
                              double samplePixels, double minGap);
