#include "front/output_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool ProgramDirectoryIsWritable()
{
    return QFileInfo(QCoreApplication::applicationDirPath()).isWritable();
}

} // namespace

std::string OutputDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!ProgramDirectoryIsWritable()) {
        // A fixed folder name: the window and the batch tool must agree on it.
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/tulvo1d");
        QDir().mkpath(dir);
    }
    // Only the program's own folder is cleaned; a folder the user names is left as it is.
    QFile::remove(QDir(dir).filePath(QStringLiteral("Result.Avi")));
    return QDir::toNativeSeparators(QDir(dir).absolutePath() + QLatin1Char('/')).toStdString();
}
