#include "output_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

std::string OutputDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!QFileInfo(dir).isWritable()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(dir);
    }
    return QDir::toNativeSeparators(QDir(dir).absolutePath() + QLatin1Char('/')).toStdString();
}
