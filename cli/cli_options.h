#pragma once
// The command line of the batch tool: the window's commands with the window's defaults and
// ranges, numbers always written with a point.

#include "engine/analysis_params.h"

#include <stdexcept>
#include <string>
#include <vector>

// A command line that asks for something the window would never offer; exit status 2.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TCliMode { Help, Version, OneD, TwoD };

struct TCliOptions {
    TCliMode Mode = TCliMode::Help;
    std::vector<std::string> Inputs;
    std::string Output;    // 1d: the picture (.gif, .bmp or .png)
    std::string OutDir;    // 2d: where RESULT.GIF and RESULT.TIFF go; empty: the default.
                           // Many files: DIR/NAME.FORMAT (1d) or DIR/NAME/ (2d)
    std::string Format = "png"; // many 1d files: the pictures' format
    bool Quiet = false;         // no progress
    std::string Locale;    // regional format of INPUT; empty: the system's
    std::string CoefsPath; // 1d: matrices after normalisation and contrast (.npy)
    std::string RawCoefsPath;
    std::string ScalesPath; // a CSV line per band row (1d) or frame (2d)
    bool Axes = false;      // 1d: rulers and legend values around the picture
    bool Cone = false;      // 1d: the cone of influence shaded
    TAnalysisParams Params;
};

// A run over a list of files into a folder, one result per input.
bool ManyFiles(const TCliOptions& options);

// Throws EUsage for a command line the tool cannot run (no arguments at all among them),
// before any file is read.
TCliOptions ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
