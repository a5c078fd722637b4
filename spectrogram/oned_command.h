#pragma once
// The one-dimensional analysis: every series of the table becomes one band of scale rows in a
// single 8-bit picture, annotated and framed with the palette legend.

#include "engine/analysis_params.h"
#include "data/data_table.h"

#include <QImage>
#include <optional>
#include <vector>

// Sees the coefficient matrices of each series as the run makes them: as the transform
// leaves them, and after normalisation and contrast, the values the colour levels come from.
class TOneDObserver {
public:
    virtual ~TOneDObserver() = default;
    virtual void RawCoefficients(int series, const std::vector<double>& coefs) = 0;
    virtual void FinalCoefficients(int series, const std::vector<double>& coefs) = 0;
};

// Runs the analysis over `table`, reading each parameter at the step that needs it, and
// returns the composed picture. Returns nothing, having changed nothing, when the table is
// closed or empty or has no series column. Status texts: "Current dataset : " + series number
// from 0, then "O'k". Failures (EConvertError from a wavelet parameter, floating-point faults,
// EOutOfMemory, ECancelled from the progress checkpoint) end the run and are thrown.
std::optional<QImage> DoTulvo1D(const TDataTable& table, TParameterSource& params,
                                TCommandProgress& progress, TOneDObserver* observer = nullptr);
