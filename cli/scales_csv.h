#pragma once
// The scale files of the batch tool: a CSV line per band row (1-D) or per frame (2-D), and
// the scale vector beside the coefficient matrices as FILE.scales.npy.

#include "spectrogram/row_axes.h"

#include <string>
#include <vector>

// "row,scale,period_samples,period_label,coi_samples", then one line per row, top to bottom;
// period_label is empty where the labels are uneven.
std::string OneDScalesCsv(const std::vector<TRowAxis>& rows);
// "frame,scale,wavelength_pixels", one line per frame, first to last.
std::string TwoDScalesCsv(const std::vector<double>& scales,
                          const std::vector<double>& wavelengths);

// Writes `text` to `path`, replacing an earlier file only when complete.
void WriteTextFile(const std::string& path, const std::string& text);

// FILE.npy -> FILE.scales.npy (the extension replaced, or appended when there is none).
std::string ScalesNpyPath(const std::string& matrixPath);
void WriteScalesNpy(const std::string& path, const std::vector<double>& scales);
