#pragma once
// What makes a 1-D spectrogram readable: sample labels with grid lines, the data curve and
// the name of each series in its band, and the frame with the palette legend.

#include "data/data_table.h"
#include "picture/palette.h"

#include <QImage>
#include <string>
#include <vector>

// Draws SampleLabel(c) with its top-left corner at (x, y) in the small label font, and the
// grid line of column x - 1 from row 0 to row y - 1; nothing when the label is empty.
void DrawSampleLabel(QImage& spectrogram, const TDataTable& table, double firstLabel, int y,
                     int x, int c);

// Plots a series normalised to [0, 1] in the band whose bottom row is `baseRow`: one pixel a
// sample, black over levels above 15 and over black or white, white over the lowest sixteen.
// A value of 1 lands in the band's top row, 0 in its second-lowest row.
void DrawDataCurve(QImage& spectrogram, int baseRow, int steps,
                   const std::vector<double>& series);

// Writes a series name with its top-left corner at (x, y) in the bold name font.
void DrawSeriesName(QImage& spectrogram, int y, int x, const std::string& name);

// The framed picture: (W + 30) x (H + 5), white, the spectrogram copied in at (25, 10) (its
// last five rows fall outside), the legend stretched into columns 5..19 ending ten rows above
// the bottom edge, with the colour table of `palette`.
QImage ComposeResult(const QImage& spectrogram, const TPalette64& palette);
