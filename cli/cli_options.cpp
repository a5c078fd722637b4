#include "cli/cli_options.h"

#include "front/parameter_texts.h"
#include "imaging/image_formats.h"
#include "imaging/output_formats.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

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

double Choice(const std::string& option, const std::string& text,
              const std::vector<std::string>& words)
{
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] == text)
            return static_cast<double>(i);
    std::string names;
    for (const std::string& word : words)
        names += (names.empty() ? "" : ", ") + word;
    throw EUsage(option + " takes one of " + names + ", not \"" + text + "\"");
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// From the last point of the file name on, without the point; "" without one.
std::string ExtensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t point = path.find_last_of('.');
    if (point == std::string::npos || (slash != std::string::npos && point < slash))
        return {};
    return path.substr(point + 1);
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

double ParseFieldValue(const TFieldTexts& texts, TArgs& args)
{
    const TFieldRange& range = FieldRange(texts.Field);
    const std::string& option = texts.Option;
    switch (range.Type) {
    case TFieldType::Flag:
        return texts.FlagSets;
    case TFieldType::Number:
        return ParseDouble(option, args.ValueOf(option));
    case TFieldType::Integer:
        return ParseInt(option, args.ValueOf(option), static_cast<int>(range.Min),
                        static_cast<int>(range.Max));
    case TFieldType::Choice:
        break;
    }
    return Choice(option, args.ValueOf(option), texts.ChoiceWords);
}

// An analysis parameter's option; false when `option` names none for this mode.
bool ParseParameterOption(const std::string& option, TArgs& args, TCliOptions& o)
{
    for (const TFieldTexts& texts : ParameterTexts()) {
        if (texts.Option != option || (texts.OneDOnly && o.Mode != TCliMode::OneD))
            continue;
        SetFieldValue(o.Params, texts.Field, ParseFieldValue(texts, args));
        return true;
    }
    return false;
}

bool ParseOneDOption(const std::string& option, TArgs& args, TCliOptions& o)
{
    if (option == "-o") o.Output = args.ValueOf(option);
    else if (option == "--coefs") o.CoefsPath = args.ValueOf(option);
    else if (option == "--raw-coefs") o.RawCoefsPath = args.ValueOf(option);
    else if (option == "--axes") o.Axes = true;
    else if (option == "--coi") o.Cone = true;
    else return false;
    return true;
}

void ParseModeArguments(TArgs& args, TCliOptions& o)
{
    while (!args.Done()) {
        const std::string arg = args.Next();
        if (arg == "--locale")
            o.Locale = args.ValueOf(arg);
        else if (arg == "--scales")
            o.ScalesPath = args.ValueOf(arg);
        else if (arg == "--out-dir")
            o.OutDir = args.ValueOf(arg);
        else if (arg == "--quiet" || arg == "-q")
            o.Quiet = true;
        else if (o.Mode == TCliMode::OneD && arg == "--format")
            o.Format = Lowered(args.ValueOf(arg));
        else if (ParseParameterOption(arg, args, o))
            continue;
        else if (o.Mode == TCliMode::OneD && ParseOneDOption(arg, args, o))
            continue;
        else if (arg.size() > 1 && arg[0] == '-')
            throw EUsage("unknown option " + arg);
        else
            o.Inputs.push_back(arg);
    }
}

// A picture format by its file name ending, without the point ("png", "tif", ...).
bool IsPictureFormat(const std::string& format)
{
    return CoderByExtension("x." + format).has_value();
}

void ValidateOneD(const TCliOptions& o)
{
    if (!IsPictureFormat(o.Format))
        throw EUsage("--format takes a picture name ending (" + OutputExtensionsText() +
                     " without the point), not \"" + o.Format + "\"");
    // The rulers and the cone are drawn in full colour, which a GIF cannot hold.
    const std::string format = ManyFiles(o) ? o.Format : Lowered(ExtensionOf(o.Output));
    if ((o.Axes || o.Cone) && CoderByExtension("x." + format) == "GIF")
        throw EUsage("--axes and --coi write a full-colour picture, which a GIF cannot hold");
    if (!ManyFiles(o)) {
        if (o.Output.empty())
            throw EUsage("no output picture (-o FILE, or --out-dir DIR for many files)");
        if (!IsPictureFormat(Lowered(ExtensionOf(o.Output))))
            throw EUsage("the output picture's name ends in " + OutputExtensionsText() +
                         ", not \"" + o.Output + "\"");
        return;
    }
    if (!o.Output.empty())
        throw EUsage("-o names one picture; for many files give --out-dir DIR");
    if (!o.CoefsPath.empty() || !o.RawCoefsPath.empty() || !o.ScalesPath.empty())
        throw EUsage("--coefs, --raw-coefs and --scales take a single input file");
}

void Validate(const TCliOptions& o)
{
    if (o.Inputs.empty())
        throw EUsage("no input file");
    if (o.Mode == TCliMode::OneD)
        ValidateOneD(o);
    if (ManyFiles(o) && o.OutDir.empty())
        throw EUsage("many input files need --out-dir DIR");
    if (o.Mode == TCliMode::TwoD && ManyFiles(o) && !o.ScalesPath.empty())
        throw EUsage("--scales takes a single input file");
    if (o.Params.StepKind == ssLogarithmic && !LogarithmicStepAllowed(o.Params.MinScale))
        throw EUsage("a logarithmic step needs a minimum scale of 1 or more");
}

} // namespace

bool ManyFiles(const TCliOptions& options)
{
    // A 1d run into a folder names its pictures itself, even for one input.
    return options.Inputs.size() > 1 ||
           (options.Mode == TCliMode::OneD && !options.OutDir.empty());
}

TCliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    TCliOptions o;
    if (args.empty())
        throw EUsage("no command given");
    if (args[0] == "--help" || args[0] == "-h")
        return o;
    if (args[0] == "--version") {
        o.Mode = TCliMode::Version;
        return o;
    }
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

namespace {

std::string ShortestText(double value)
{
    char text[400];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, end);
}

std::string JoinedWords(const std::vector<std::string>& words)
{
    std::string joined;
    for (const std::string& word : words)
        joined += (joined.empty() ? "" : "|") + word;
    return joined;
}

// One usage line per analysis option, with its range and the window's default.
std::string ParameterUsageLines()
{
    const TAnalysisParams defaults;
    std::string lines;
    for (const TFieldTexts& texts : ParameterTexts()) {
        const TFieldRange& range = FieldRange(texts.Field);
        const double value = FieldValue(defaults, texts.Field);
        std::string head = "  " + texts.Option;
        std::string help = (texts.OneDOnly ? "1d: " : "") + texts.Help;
        switch (range.Type) {
        case TFieldType::Flag:
            break;
        case TFieldType::Number:
            head += " X";
            help += " (" + ShortestText(value) + ")";
            break;
        case TFieldType::Integer:
            head += " N";
            help += ", " + ShortestText(range.Min) + ".." + ShortestText(range.Max) + " (" +
                    ShortestText(value) + ")";
            break;
        case TFieldType::Choice:
            head += " " + JoinedWords(texts.ChoiceWords);
            help += " (" + texts.ChoiceWords[static_cast<std::size_t>(value)] + ")";
            break;
        }
        head.resize(std::max<std::size_t>(head.size() + 2, 27), ' ');
        lines += head + help + "\n";
    }
    return lines;
}

} // namespace

std::string UsageText()
{
    return R"(Usage:
  tulvo1d-cli 1d INPUT -o OUTPUT [options] [--steps N] [--l2] [--coefs FILE.npy] [--raw-coefs FILE.npy]
      [--scales FILE.csv] [--axes] [--coi]
  tulvo1d-cli 1d INPUT... --out-dir DIR [--format png|bmp|gif] [options] [--steps N] [--l2]
      [--axes] [--coi]
  tulvo1d-cli 2d INPUT [--out-dir DIR] [options] [--scales FILE.csv]
  tulvo1d-cli 2d INPUT... --out-dir DIR [options]
  tulvo1d-cli --help | --version

INPUT is a tab-delimited text table (UTF-8) or an image (.bmp .gif .jpg .jpeg .png .tif
.tiff), read exactly as the window's open command reads it; - reads standard input. 1d
writes the annotated spectrogram to OUTPUT as GIF, PNG, BMP, TIFF or JPEG by its extension;
2d writes RESULT.GIF and RESULT.TIFF into DIR (default: the window's output directory).
With many inputs (or 1d with --out-dir) each INPUT gives DIR/NAME.FORMAT (1d, png unless
--format says otherwise) or DIR/NAME/ (2d), NAME being the input's name without its
extension; the files run side by side, a failed one does not stop the others, and a
summary ends the run.

Options (defaults are the window's):
)" + ParameterUsageLines() + R"(  --locale NAME            regional format of INPUT, e.g. ru_RU or en_US (the system's)
  --quiet, -q              no progress (warnings and errors are still written)
  --coefs FILE.npy         1d: the normalised matrices, float64 (series, steps, samples)
  --raw-coefs FILE.npy     1d: the transform's matrices, same shape
                           (each with its scale vector beside it, FILE.scales.npy)
  --scales FILE.csv        a line per band row, top to bottom: row, scale, period in samples
                           and in label units (empty when the labels are uneven), cone
                           half-width in samples; 2d: a line per frame with its wavelength
  --axes                   1d: scale and period rulers, label ruler and legend values
                           around the picture (PNG or BMP output)
  --coi                    1d: the cone of influence shaded over the bands (PNG or BMP)

Numbers on the command line are written with a point. Progress goes to stderr: one line
updated in place on a terminal, otherwise one line per phase.
Exit status: 0 success, 2 usage error, 1 any other failure (for many files: any file
failed), 130 after Ctrl+C (SIGINT), 143 after SIGTERM; a stopped run leaves no output.
)";
}
