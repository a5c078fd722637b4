// Start and end of the program: the image library first and last, the window in between; the
// work left in the background (freeing memory, removing replaced files) is waited for after
// all of them.

#include "app/error_report.h"
#include "engine/parallel_rows.h"
#include "imaging/imagick.h"
#include "app/tfm_main.h"
#include "app/user_dialogs.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

int main(int argc, char* argv[])
{
    const TBackgroundWorkJoin background;
    ImagickSession imageLibrary;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("tulvo1d"));
    // The forms were laid out for this 8-point font, which only Windows has.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    TQtDialogs dialogs;
    Tfm_main window(dialogs);
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.OpenDataFile(arguments.at(1)); // as if chosen in the open dialog
    return QApplication::exec();
}
