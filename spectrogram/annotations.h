#pragma once
// What makes a 1-D spectrogram readable: sample labels with grid lines, the data curve and
// the name of each series in its band, and the frame with the palette legend.

#include "data/data_table.h"
#include "picture/indexed_canvas.h"
#include "picture/palette.h"
#include "spectrogram/indexed_drawing.h"

#include <QImage>
#include <future>
#include <string>
#include <vector>

// The columns of a picture whose SampleLabel is not empty, with their labels, in order.
struct TSampleMarks {
    std::vector<int> Columns;
    std::vector<std::string> Texts;
};

TSampleMarks SampleMarks(const TDataTable& table, double firstLabel, int width);

// Draws the label of each mark in column c with its top-left corner at (c + 1, y) in the small
// label font, in column order.
void DrawSampleLabels(const TIndexedCanvas& spectrogram, const TSampleMarks& marks, int y);

// The grid line of each mark, in its column, from row top to row bottom - 1.
void DrawGridLines(const TIndexedCanvas& spectrogram, const TSampleMarks& marks, int top,
                   int bottom);

// Plots a series normalised to [0, 1] in the band whose bottom row is `baseRow`: one pixel a
// sample, black over levels above 15 and over black or white, white over the lowest sixteen.
// A value of 1 lands in the band's top row, 0 in its second-lowest row.
void DrawDataCurve(const TIndexedCanvas& spectrogram, int baseRow, int steps,
                   const std::vector<double>& series);

// The bold font of the series names.
QFont SeriesNameFont();

// Loads the system's font list and the annotation fonts on a worker while the caller goes on
// (reading its table): loading them takes several milliseconds, which a run's first caption
// would otherwise spend with the other cores idle. Waits for the worker when it goes, so the
// fonts are never still loading while the application shuts down.
class TAnnotationFontsWarmUp {
public:
    TAnnotationFontsWarmUp();
    ~TAnnotationFontsWarmUp();
    TAnnotationFontsWarmUp(const TAnnotationFontsWarmUp&) = delete;
    TAnnotationFontsWarmUp& operator=(const TAnnotationFontsWarmUp&) = delete;

private:
    std::future<void> Loaded;
};

// Writes a series name with its top-left corner at (x, y); `names` writes in SeriesNameFont.
void DrawSeriesName(TCaptionWriter& names, const TIndexedCanvas& spectrogram, int y, int x,
                    const std::string& name);

// How much wider and higher the framed picture is than its spectrogram.
constexpr int kFrameWidth = 30;
constexpr int kFrameHeight = 5;

// The framed picture of a width x height spectrogram: (width + 30) x (height + 5), white,
// the legend stretched into columns 5..19 ending ten rows above the bottom edge, with the
// colour table of `palette`. The spectrogram is drawn on SpectrogramCanvas of it.
QImage NewFramedPicture(int width, int height, const TPalette64& palette);

// The spectrogram's place in a framed picture: from (25, 10) on; its last five rows fall
// outside the frame.
TIndexedCanvas SpectrogramCanvas(QImage& framed);
