#include "cli/qt_chatter.h"

#include "cli/console.h"

#include <QString>
#include <QtGlobal>

namespace {

void DropUnlessFatal(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        PrintError(message.toStdString());
}

} // namespace

void SilenceQtChatter()
{
    qInstallMessageHandler(DropUnlessFatal);
}
