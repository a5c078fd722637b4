// The open command: a text table or an image into a new data table, off the GUI thread.

#include "tfm_main.h"

#include "data_grid_model.h"
#include "data_loader.h"
#include "error_report.h"
#include "imagick.h"
#include "regional_format_qt.h"
#include "ui_tfm_main.h"
#include "user_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <string>

namespace {

TFileDialogSpec OpenDialogSpec(const QString& lastFile)
{
    return {QStringLiteral("Open data file (text or image)"),
            {QStringLiteral("Text files (*.txt)"),
             QStringLiteral("Image files (*.bmp *.jpg *.jpeg *.png *.tiff)")},
            QStringLiteral("TXT"), lastFile};
}

// The grey levels as an 8-bit picture with a grey colour table.
QImage GreyPicture(const GreyImage& grey)
{
    QImage picture(grey.Width, grey.Height, QImage::Format_Indexed8);
    if (picture.isNull())
        throw EOutOfMemory("Not enough memory to show the picture");
    QList<QRgb> greys(256);
    for (int level = 0; level < 256; ++level)
        greys[level] = qRgb(level, level, level);
    picture.setColorTable(greys);
    for (int y = 0; y < grey.Height; ++y) {
        const std::uint8_t* row = grey.Pixels.data() + std::size_t(y) * grey.Width;
        std::copy(row, row + grey.Width, picture.scanLine(y));
    }
    return picture;
}

} // namespace

void Tfm_main::DoReadData()
{
    if (FRunner.IsRunning())
        return;
    const QString fileName = FDialogs.GetOpenFileName(this, OpenDialogSpec(FOpenFileName));
    if (!fileName.isEmpty())
        OpenDataFile(fileName);
}

void Tfm_main::OpenDataFile(const QString& fileName)
{
    if (FRunner.IsRunning())
        return;
    FOpenFileName = fileName;
    ClearResult();
    // A new table for every load, so a failed load leaves no earlier data behind.
    FGridModel->SetTable(nullptr);
    ui->DBGrid1->setToolTip({});
    mb = std::make_unique<TDataTable>();

    TDataTable* table = mb.get();
    const std::string path = QFile::encodeName(fileName).toStdString();
    const RegionalFormat format = RegionalFormatFromLocale(QLocale::system());
    FRunner.Start(
        [this, table, path, format, fileName](
            TCommandProgress& progress) -> TCommandRunner::TCompletion {
            const auto showLineCounter = [&progress](long long lineCounter) {
                progress.SetStatusText(std::to_string(lineCounter));
                progress.ProcessPendingMessages();
            };
            const std::optional<GreyImage> grey =
                LoadDataFile(path, format, *table, showLineCounter);
            const QImage picture = grey ? GreyPicture(*grey) : QImage();
            return [this, fileName, picture] { FinishLoad(fileName, picture); };
        },
        [this](std::exception_ptr failure) { FailLoad(failure); });
}

void Tfm_main::FinishLoad(const QString& fileName, const QImage& picture)
{
    FGridModel->SetTable(mb.get());
    ui->DBGrid1->setToolTip(QFileInfo(fileName).absoluteFilePath());
    if (!picture.isNull())
        ShowResult(picture);
}

void Tfm_main::FailLoad(std::exception_ptr failure)
{
    mb->Close();
    const TFailure described = DescribeFailure(failure);
    if (!described.Cancelled)
        ShowLoadErrorBox(FDialogs, this, described);
}
