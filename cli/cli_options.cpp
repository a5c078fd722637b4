#include "cli/cli_options.h"

#include "imaging/image_formats.h"
#include "imaging/output_formats.h"

#include <charconv>
#include <cmath>
#include <map>

namespace {

double ParseDouble(const std::string& option, const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        throw EUsage(option + " takes a number, not \"" + text + "\"");
    return value;
}

int ParseInt(const std::string& option, const std::string& text, int lo, int hi)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        throw EUsage(option + " takes a whole number, not \"" + text + "\"");
    if (value < lo || value > hi)
        throw EUsage(option + " must lie between " + std::to_string(lo) + " and " +
                     std::to_string(hi));
    return value;
}

template <typename T>
T Choice(const std::string& option, const std::string& text, const std::map<std::string, T>& items)
{
    const auto found = items.find(text);
    if (found == items.end()) {
        std::string names;
        for (const auto& [name, value] : items)
            names += (names.empty() ? "" : ", ") + name;
        throw EUsage(option + " takes one of " + names + ", not \"" + text + "\"");
    }
    return found->second;
}

class TArgs {
public:
    explicit TArgs(const std::vector<std::string>& args) : args_(args) {}
    bool Done() const { return next_ >= args_.size(); }
    std::string Next() { return args_[next_++]; }
    std::string ValueOf(const std::string& option)
    {
        if (Done())
            throw EUsage(option + " needs a value");
        return Next();
    }

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

// Options both modes share; false when `option` is none of them.
bool ParseAnalysisOption(const std::string& option, TArgs& args, TAnalysisParams& p)
{
    static const std::map<std::string, TWaveletKind> wavelets = {{"gauss", wkGaussian},
                                                                 {"morlet", wkMorlet}};
    static const std::map<std::string, TScaleStep> steps = {
        {"linear", ssLinear}, {"quadratic", ssQuadratic}, {"log", ssLogarithmic}};
    static const std::map<std::string, TOutputKind> outputs = {{"logreal", okLogRealPart},
                                                               {"real", okRealPart},
                                                               {"phase", okPhase},
                                                               {"stddev", okRealByStdDev}};
    static const std::map<std::string, int> colours = {{"4", 0},  {"8", 1},  {"16", 2},
                                                       {"24", 3}, {"32", 4}, {"64", 5}};
    static const std::map<std::string, int> palettes = {{"1", 0}, {"2", 1}, {"3", 2}};
    if (option == "--wavelet") p.WaveletKind = Choice(option, args.ValueOf(option), wavelets);
    else if (option == "--alpha") p.Alpha = ParseDouble(option, args.ValueOf(option));
    else if (option == "--k0") p.K0 = ParseDouble(option, args.ValueOf(option));
    else if (option == "--sigma") p.Sigma = ParseDouble(option, args.ValueOf(option));
    else if (option == "--max-scale") p.MaxScale = ParseInt(option, args.ValueOf(option), 1, 100000);
    else if (option == "--min-scale") p.MinScale = ParseInt(option, args.ValueOf(option), -10000, 100000);
    else if (option == "--step") p.StepKind = Choice(option, args.ValueOf(option), steps);
    else if (option == "--output") p.OutputKind = Choice(option, args.ValueOf(option), outputs);
    else if (option == "--contrast") p.WaveletContrast = true;
    else if (option == "--palette") p.PaletteIndex = Choice(option, args.ValueOf(option), palettes);
    else if (option == "--colors") p.NumColors = Choice(option, args.ValueOf(option), colours);
    else return false;
    return true;
}

bool ParseOneDOption(const std::string& option, TArgs& args, TCliOptions& o)
{
    if (option == "-o") o.Output = args.ValueOf(option);
    else if (option == "--steps") o.Params.Steps = ParseInt(option, args.ValueOf(option), 30, 1000);
    else if (option == "--l2") o.Params.L1Norm = false;
    else if (option == "--coefs") o.CoefsPath = args.ValueOf(option);
    else if (option == "--raw-coefs") o.RawCoefsPath = args.ValueOf(option);
    else return false;
    return true;
}

void ParseModeArguments(TArgs& args, TCliOptions& o)
{
    while (!args.Done()) {
        const std::string arg = args.Next();
        if (arg == "--locale")
            o.Locale = args.ValueOf(arg);
        else if (o.Mode == TCliMode::TwoD && arg == "--out-dir")
            o.OutDir = args.ValueOf(arg);
        else if (ParseAnalysisOption(arg, args, o.Params))
            continue;
        else if (o.Mode == TCliMode::OneD && ParseOneDOption(arg, args, o))
            continue;
        else if (arg.size() > 1 && arg[0] == '-')
            throw EUsage("unknown option " + arg);
        else if (o.Input.empty())
            o.Input = arg;
        else
            throw EUsage("more than one input file: " + arg);
    }
}

void Validate(const TCliOptions& o)
{
    if (o.Input.empty())
        throw EUsage("no input file");
    if (o.Mode == TCliMode::OneD && o.Output.empty())
        throw EUsage("no output picture (-o FILE)");
    if (o.Mode == TCliMode::OneD && !CoderByExtension(o.Output))
        throw EUsage("the output picture's name ends in " + OutputExtensionsText() + ", not \"" +
                     o.Output + "\"");
    if (o.Params.StepKind == ssLogarithmic && o.Params.MinScale <= 0)
        throw EUsage("a logarithmic step needs a minimum scale of 1 or more");
}

} // namespace

TCliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    TCliOptions o;
    if (args.empty() || args[0] == "--help" || args[0] == "-h")
        return o;
    if (args[0] == "1d")
        o.Mode = TCliMode::OneD;
    else if (args[0] == "2d")
        o.Mode = TCliMode::TwoD;
    else
        throw EUsage("the first word is 1d or 2d, not \"" + args[0] + "\"");
    TArgs rest(args);
    rest.Next();
    ParseModeArguments(rest, o);
    Validate(o);
    return o;
}

std::string UsageText()
{
    return R"(Usage:
  tulvo1d-cli 1d INPUT -o OUTPUT [options] [--steps N] [--l2] [--coefs FILE.npy] [--raw-coefs FILE.npy]
  tulvo1d-cli 2d INPUT [--out-dir DIR] [options]
  tulvo1d-cli --help

INPUT is a tab-delimited text table (UTF-8) or an image (.bmp .gif .jpg .jpeg .png .tif .tiff),
read exactly as the window's open command reads it; - reads standard input. 1d writes the annotated spectrogram to
OUTPUT as GIF, PNG, BMP, TIFF or JPEG by its extension; 2d writes RESULT.GIF and RESULT.TIFF into DIR
(default: the window's output directory).

Options (defaults are the window's):
  --wavelet gauss|morlet   wavelet (gauss)
  --alpha A                Gaussian parameter Alpha (1.25)
  --k0 K, --sigma S        Morlet parameters K0 (6) and Sigma (1)
  --max-scale N            largest scale, 1..100000 (100)
  --min-scale N            smallest scale, -10000..100000 (1)
  --steps N                1d: number of scales, 30..1000 (100)
  --step linear|quadratic|log   scale step (log; needs a minimum scale of 1 or more)
  --output logreal|real|phase|stddev   output quantity (logreal)
  --l2                     1d: L2 scale normalisation instead of L1
  --contrast               wavelet-contrast pass
  --palette 1|2|3          palette (1)
  --colors 4|8|16|24|32|64 number of colours (16)
  --locale NAME            regional format of INPUT, e.g. ru_RU or en_US (the system's)
  --coefs FILE.npy         1d: the normalised matrices, float64 (series, steps, samples)
  --raw-coefs FILE.npy     1d: the transform's matrices, same shape

Numbers on the command line are written with a point. Progress goes to stderr.
Exit status: 0 success, 2 usage error, 1 any other failure.
)";
}
