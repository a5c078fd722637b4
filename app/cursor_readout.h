#pragma once
// What the status bar says under the pointer on a 1-D result: the series, the label of the
// sample, the scale and period of the row, and the value of the pixel, normalised and raw.
//
// Memory: the normalised values (all in [0, 1]) are kept in 16 bits, a quarter of a double
// matrix per series and within 1e-5 of the value, and only while they fit in the memory
// budget; the raw value is recomputed for the row under the pointer (one transform of one
// series at one scale) and that row is kept until the pointer moves to another row.

#include "engine/analysis_params.h"
#include "engine/transformer1d.h"
#include "spectrogram/oned_command.h"
#include "spectrogram/result_axes.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// Everything the readout needs of a finished 1-D run.
struct TOneDReading {
    TResultAxes Axes;
    TAnalysisParams Used;
    std::vector<std::vector<double>> Series; // the transform's inputs, normalised to [0, 1]
    std::vector<std::uint16_t> Final; // series x steps x samples, 0..65535; empty if it did not fit
};

// Keeps the normalised matrices as the run makes them (on the run's thread).
class TReadoutRecorder : public TOneDObserver {
public:
    explicit TReadoutRecorder(int seriesCount) : FSeriesCount(seriesCount) {}
    void RawCoefficients(int, const std::vector<double>&) override {}
    void FinalCoefficients(int series, const std::vector<double>& coefs) override;
    std::vector<std::uint16_t> Take() { return std::move(FFinal); }

private:
    int FSeriesCount;
    bool FDecided = false;
    std::vector<std::uint16_t> FFinal;
};

// The run's description for the readout and the rulers (on the run's thread, after the run).
std::shared_ptr<TOneDReading> ReadingOfRun(const TDataTable& table, const TAnalysisParams& used,
                                           std::vector<std::uint16_t> final);

class TCursorReadout {
public:
    void SetReading(std::shared_ptr<const TOneDReading> reading);
    bool Empty() const { return !FReading; }
    // The text for a pixel of the composed picture; empty off the bands.
    QString TextAt(QPoint pixel);

private:
    double RawValue(int series, int row, int sample);

    std::shared_ptr<const TOneDReading> FReading;
    std::unique_ptr<T1WaveTransformer> FTransformer;
    int FRowSeries = -1, FRowIndex = -1;
    std::vector<double> FRow;
};
