// tulvo1d-cli: the window's analyses without a window, for many files and for scripts.
#include "cli/batch_commands.h"
#include "imaging/imagick.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Text is drawn with the window's fonts; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const ImagickSession imaging;
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("tulvo1d");

    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const TCliOptions options = ParseCommandLine(args);
        switch (options.Mode) {
        case TCliMode::OneD:
            return RunOneD(options);
        case TCliMode::TwoD:
            return RunTwoD(options);
        case TCliMode::Help:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        }
    } catch (const EUsage& e) {
        std::fprintf(stderr, "tulvo1d-cli: %s\n\n%s", e.what(), UsageText().c_str());
        return 2;
    }
    return 1;
}
