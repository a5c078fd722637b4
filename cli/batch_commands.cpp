#include "cli/batch_commands.h"

#include "cli/batch_progress.h"
#include "cli/console.h"
#include "cli/memory_gate.h"
#include "cli/npy_writer.h"
#include "cli/output_checks.h"
#include "cli/scales_csv.h"
#include "cli/signal_cancel.h"
#include "data/data_loader.h"
#include "data/table_warnings.h"
#include "engine/memory_budget.h"
#include "data/input_bytes.h"
#include "front/failure_text.h"
#include "front/output_directory.h"
#include "front/recorded_parameters.h"
#include "front/regional_format_qt.h"
#include "front/table_warning_texts.h"
#include "picture/picture_export.h"
#include "plane/wavelet2d_periods.h"
#include "spectrogram/annotations.h"
#include "spectrogram/oned_command.h"
#include "spectrogram/oned_estimate.h"
#include "spectrogram/result_axes.h"
#include "twod/twod_estimate.h"
#include "twod/twod_command.h"

#include <QLocale>
#include <memory>

namespace {

RegionalFormat FormatOf(const TCliOptions& options)
{
    return RegionalFormatFromLocale(options.Locale.empty()
                                        ? QLocale::system()
                                        : QLocale(QString::fromStdString(options.Locale)));
}

// Loads the input as the window's open command does; a failure is reported as its box words
// it. Warns, naming the file and the series, about what the table holds but its pictures do
// not show.
bool Load(const TCliOptions& options, const std::string& input, TDataTable& table,
          TBatchProgress& progress, const TFailureReport& report)
{
    try {
        const auto showLines = [&](long long lines) {
            progress.LinesRead(lines);
            progress.CheckCancelled();
        };
        const std::optional<GreyImage> image =
            input == "-" ? LoadData(ReadStandardInput(), FormatOf(options), table, showLines)
                         : LoadDataFile(input, FormatOf(options), table, showLines);
        if (!image)
            for (const std::string& line : TableWarningLines(FindTableWarnings(table)))
                PrintWarning(input + ": " + line);
        return true;
    } catch (...) {
        const TFailureText failure = DescribeFailure(std::current_exception());
        if (failure.Cancelled)
            throw;
        report(LoadErrorText(failure));
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

std::size_t TableBytes(const TDataTable& table)
{
    return static_cast<std::size_t>(table.RowCount()) *
           static_cast<std::size_t>(table.ColumnCount()) * kTableCellBytes;
}

// What a run holds at its peak, its table included: the share of the budget that files
// running side by side reserve.
std::size_t OneDEstimate(const TDataTable& table, int steps)
{
    return TableBytes(table) + OneDRunBytes(table, steps);
}

std::size_t TwoDEstimate(const TDataTable& table)
{
    return TableBytes(table) + TwoDRunBytes(static_cast<std::size_t>(table.RowCount()),
                                            static_cast<std::size_t>(table.ColumnCount()));
}

// The scale files asked for beside the picture and the matrices.
void WriteOneDScaleFiles(const TCliOptions& options, const TResultAxes& axes)
{
    std::vector<double> scales;
    for (const TRowAxis& row : axes.Rows)
        scales.push_back(row.Scale);
    if (!options.ScalesPath.empty())
        WriteTextFile(options.ScalesPath, OneDScalesCsv(axes.Rows));
    for (const std::string& matrix : {options.CoefsPath, options.RawCoefsPath})
        if (!matrix.empty())
            WriteScalesNpy(ScalesNpyPath(matrix), scales);
}

// Runs `analysis` and turns its failure into an outcome.
TJobOutcome Guarded(const TFailureReport& report, const std::function<TJobOutcome()>& analysis)
{
    try {
        return analysis();
    } catch (...) {
        const TFailureText failure = DescribeFailure(std::current_exception());
        if (failure.Cancelled)
            return TJobOutcome::Stopped;
        report(DefaultReportText(failure));
        return TJobOutcome::Failed;
    }
}

TJobOutcome NothingToAnalyse(const TBatchJob& job, const TFailureReport& report)
{
    report(job.Input + " holds nothing to analyse.");
    return TJobOutcome::Failed;
}

int ExitStatus(TJobOutcome outcome)
{
    switch (outcome) {
    case TJobOutcome::Written:
        return 0;
    case TJobOutcome::Failed:
        return 1;
    case TJobOutcome::Stopped:
        PrintError("stopped, nothing written");
        return StoppedExitStatus();
    }
    return 1;
}

// A single run: what cannot be written is refused before the input is read.
int RunSingle(const std::function<void()>& checkOutputs,
              const std::function<TJobOutcome(TBatchProgress&, const TFailureReport&,
                                              TMemoryGate&)>& job)
{
    TBatchProgress progress;
    // What the log still holds back belongs before the failure.
    const TFailureReport report = [&progress](const std::string& text) {
        progress.Flush();
        PrintError(text);
    };
    TJobOutcome outcome = Guarded(report, [&] {
        checkOutputs();
        return TJobOutcome::Written;
    });
    if (outcome != TJobOutcome::Written)
        return ExitStatus(outcome);
    TMemoryGate gate(MemoryBudget());
    outcome = job(progress, report, gate);
    progress.Flush();
    return ExitStatus(outcome);
}

} // namespace

TJobOutcome RunOneDJob(const TCliOptions& options, const TBatchJob& job,
                       TBatchProgress& progress, const TFailureReport& report, TMemoryGate& gate)
{
    return Guarded(report, [&] {
        const TAnnotationFontsWarmUp fonts;
        TDataTable table;
        if (!Load(options, job.Input, table, progress, report))
            return TJobOutcome::Failed;
        if (!table.IsOpen() || table.IsEmpty() || table.ColumnCount() < 2)
            return NothingToAnalyse(job, report);
        CheckPictureFitsFormat(job.Picture, table, options.Params.Steps);
        const TMemoryGate::TTicket room(
            gate, gate.Reserve(OneDEstimate(table, options.Params.Steps),
                               [&] { progress.CheckCancelled(); }));
        TFixedParameters params(options.Params);
        TRecordedParameters used(params);
        TCoefficientFiles files(options, table);
        // Without .npy files no observer: the run then keeps no matrix it does not need.
        const std::optional<QImage> picture =
            DoTulvo1D(table, used, progress, files.Wanted() ? &files : nullptr);
        if (!picture)
            return NothingToAnalyse(job, report);
        progress.CheckCancelled();
        const bool described = options.Axes || options.Cone || !options.ScalesPath.empty() ||
                               files.Wanted();
        const TResultAxes axes = described ? DescribeResult(table, used.Seen) : TResultAxes{};
        if (options.Axes || options.Cone)
            ExportGraphic(PictureWithAxes(*picture, axes, options.Axes, options.Cone),
                          job.Picture);
        else
            ExportGraphic(*picture, job.Picture);
        files.Commit();
        if (described)
            WriteOneDScaleFiles(options, axes);
        return TJobOutcome::Written;
    });
}

TJobOutcome RunTwoDJob(const TCliOptions& options, const TBatchJob& job,
                       TBatchProgress& progress, const TFailureReport& report, TMemoryGate& gate)
{
    return Guarded(report, [&] {
        TDataTable table;
        if (!Load(options, job.Input, table, progress, report))
            return TJobOutcome::Failed;
        PrepareOutputFolder(job.Folder);
        const TMemoryGate::TTicket room(
            gate, gate.Reserve(TwoDEstimate(table), [&] { progress.CheckCancelled(); }));
        TFixedParameters params(options.Params);
        TRecordedParameters used(params);
        const std::optional<TTwoDResult> result = DoTulvo2D(table, job.Folder, used, progress);
        if (!result)
            return NothingToAnalyse(job, report);
        if (!options.ScalesPath.empty()) {
            std::vector<double> wavelengths;
            for (const double scale : result->Scales)
                wavelengths.push_back(Wavelength2D(used.Seen, scale));
            WriteTextFile(options.ScalesPath, TwoDScalesCsv(result->Scales, wavelengths));
        }
        progress.Flush();
        std::printf("%s\n%s\n", result->GifPath.c_str(), result->TiffPath.c_str());
        return TJobOutcome::Written;
    });
}

int RunOneD(const TCliOptions& options)
{
    const TBatchJob job{options.Inputs.front(), options.Output, {}};
    return RunSingle(
        [&] {
            for (const std::string& path : {options.Output, options.CoefsPath,
                                            options.RawCoefsPath, options.ScalesPath})
                if (!path.empty())
                    CheckFileCanBeWritten(path);
        },
        [&](TBatchProgress& progress, const TFailureReport& report, TMemoryGate& gate) {
            return RunOneDJob(options, job, progress, report, gate);
        });
}

int RunTwoD(const TCliOptions& options)
{
    std::string dir = options.OutDir.empty() ? OutputDirectory() : options.OutDir;
    if (dir.back() != '/')
        dir += '/';
    const TBatchJob job{options.Inputs.front(), {}, dir};
    return RunSingle([&] { PrepareOutputFolder(dir); },
                     [&](TBatchProgress& progress, const TFailureReport& report,
                         TMemoryGate& gate) {
                         return RunTwoDJob(options, job, progress, report, gate);
                     });
}
