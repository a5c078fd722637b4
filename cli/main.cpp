// tulvo1d-cli: the window's analyses without a window, for many files and for scripts.
#include "cli/batch_commands.h"
#include "cli/batch_many_files.h"
#include "cli/console.h"
#include "cli/qt_chatter.h"
#include "cli/signal_cancel.h"
#include "engine/parallel_rows.h"
#include "imaging/imagick.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

int Run(const TCliOptions& options)
{
    switch (options.Mode) {
    case TCliMode::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case TCliMode::Version:
        std::printf("tulvo1d-cli %s\n", TULVO_VERSION);
        return 0;
    case TCliMode::OneD:
        return ManyFiles(options) ? RunManyFiles(options) : RunOneD(options);
    case TCliMode::TwoD:
        return ManyFiles(options) ? RunManyFiles(options) : RunTwoD(options);
    }
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const TBackgroundWorkJoin background;
    InstallStopSignals();
    SilenceQtChatter();
    // Text is drawn with the window's fonts; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const ImagickSession imaging;
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("tulvo1d");

    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const TCliOptions options = ParseCommandLine(args);
        ConfigureConsole(options.Quiet);
        return Run(options);
    } catch (const EUsage& e) {
        PrintError(e.what());
        if (args.empty())
            std::fputs(("\n" + UsageText()).c_str(), stderr);
        else
            PrintError("see tulvo1d-cli --help");
        return 2;
    }
}
