#pragma once
// What each row of a 1-D band stands for: its scale, the Fourier period in samples and in the
// units of the label column, and the half-width of the cone of influence.

#include "data/data_table.h"
#include "engine/analysis_params.h"
#include "engine/wavelet_periods.h"

#include <vector>

// The label column's spacing. Even: every step between neighbouring labels is Step (label
// units, days for dates) within rounding; otherwise periods are given in samples only.
struct TLabelStep {
    bool Even = false;
    bool Dates = false;
    double Step = 0.0;
};

// The labels of the table's first column, one per sample (day counts for dates).
std::vector<double> LabelValues(const TDataTable& table);
TLabelStep LabelStepOf(const std::vector<double>& labels, bool dates);

struct TRowAxis {
    double Scale;
    double PeriodSamples;
    double PeriodLabel; // NaN where the labels are uneven
    double CoiSamples;
};

TWaveletShape WaveletShapeOf(const TAnalysisParams& params);

// One entry per band row, top to bottom, on the grid the 1-D command uses for `params`.
std::vector<TRowAxis> RowAxes(const TAnalysisParams& params, const TLabelStep& labels);
