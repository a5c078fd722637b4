#include "cli/batch_commands.h"

#include "cli/batch_progress.h"
#include "data/data_loader.h"
#include "front/failure_text.h"
#include "cli/npy_writer.h"
#include "spectrogram/oned_command.h"
#include "front/output_directory.h"
#include "picture/picture_export.h"
#include "front/regional_format_qt.h"
#include "twod/twod_command.h"

#include <QLocale>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

RegionalFormat FormatOf(const TCliOptions& options)
{
    return RegionalFormatFromLocale(options.Locale.empty()
                                        ? QLocale::system()
                                        : QLocale(QString::fromStdString(options.Locale)));
}

// Loads INPUT as the window's open command does; a failure is reported as its box words it.
bool Load(const TCliOptions& options, TDataTable& table)
{
    TStderrProgress progress;
    try {
        LoadDataFile(options.Input, FormatOf(options), table, [&](long long lines) {
            progress.SetStatusText(std::to_string(lines));
        });
        return true;
    } catch (...) {
        std::fprintf(stderr, "Error: %s\n",
                     LoadErrorText(DescribeFailure(std::current_exception())).c_str());
    }
    return false;
}

// Passes each series' matrices to the .npy files that were asked for.
class TCoefficientFiles : public TOneDObserver {
public:
    TCoefficientFiles(const TCliOptions& options, const TDataTable& table)
    {
        const std::vector<std::size_t> shape = {
            static_cast<std::size_t>(table.ColumnCount() - 1),
            static_cast<std::size_t>(options.Params.Steps),
            static_cast<std::size_t>(table.RowCount())};
        if (!options.RawCoefsPath.empty())
            raw_ = std::make_unique<TNpyWriter>(options.RawCoefsPath, shape);
        if (!options.CoefsPath.empty())
            final_ = std::make_unique<TNpyWriter>(options.CoefsPath, shape);
    }
    void RawCoefficients(int, const std::vector<double>& coefs) override
    {
        if (raw_)
            raw_->Append(coefs);
    }
    void FinalCoefficients(int, const std::vector<double>& coefs) override
    {
        if (final_)
            final_->Append(coefs);
    }
    bool Wanted() const { return raw_ || final_; }
    void Commit()
    {
        if (raw_)
            raw_->Commit();
        if (final_)
            final_->Commit();
    }

private:
    std::unique_ptr<TNpyWriter> raw_;
    std::unique_ptr<TNpyWriter> final_;
};

// Loads INPUT, then runs `command` on the table with the options' parameters; a failure is
// reported in the default error report's wording.
int RunOnTable(const TCliOptions& options,
               const std::function<int(const TDataTable&, TParameterSource&,
                                       TCommandProgress&)>& command)
{
    TDataTable table;
    if (!Load(options, table))
        return 1;
    try {
        TFixedParameters params(options.Params);
        TStderrProgress progress;
        return command(table, params, progress);
    } catch (...) {
        const TFailureText failure = DescribeFailure(std::current_exception());
        std::fprintf(stderr, "%s: %s\n", kApplicationTitle, DefaultReportText(failure).c_str());
        return 1;
    }
}

int NothingToAnalyse(const TCliOptions& options)
{
    std::fprintf(stderr, "%s: %s holds nothing to analyse.\n", kApplicationTitle,
                 options.Input.c_str());
    return 1;
}

} // namespace

int RunOneD(const TCliOptions& options)
{
    return RunOnTable(options, [&](const TDataTable& table, TParameterSource& params,
                                   TCommandProgress& progress) {
        if (!table.IsOpen() || table.IsEmpty() || table.ColumnCount() < 2)
            return NothingToAnalyse(options);
        TCoefficientFiles files(options, table);
        // Without .npy files no observer: the run then keeps no matrix it does not need.
        const std::optional<QImage> picture =
            DoTulvo1D(table, params, progress, files.Wanted() ? &files : nullptr);
        if (!picture)
            return NothingToAnalyse(options);
        ExportGraphic(*picture, options.Output);
        files.Commit();
        return 0;
    });
}

int RunTwoD(const TCliOptions& options)
{
    return RunOnTable(options, [&](const TDataTable& table, TParameterSource& params,
                                   TCommandProgress& progress) {
        std::string dir = options.OutDir.empty() ? OutputDirectory() : options.OutDir;
        if (dir.back() != '/')
            dir += '/';
        std::filesystem::create_directories(dir); // as asked for; a failure is reported
        const std::optional<TTwoDResult> result = DoTulvo2D(table, dir, params, progress);
        if (!result)
            return NothingToAnalyse(options);
        std::printf("%s\n%s\n", result->GifPath.c_str(), result->TiffPath.c_str());
        return 0;
    });
}
