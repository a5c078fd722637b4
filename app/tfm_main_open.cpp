// The open command: a text table or an image into a new data table, off the GUI thread.

#include "app/tfm_main.h"

#include "app/data_grid_model.h"
#include "data/data_loader.h"
#include "app/error_report.h"
#include "imaging/imagick.h"
#include "picture/indexed_picture.h"
#include "data/table_warnings.h"
#include "front/regional_format_qt.h"
#include "front/table_warning_texts.h"
#include "ui_tfm_main.h"
#include "app/user_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>

#include <string>

namespace {

// Starts in the folder of the file loaded last, with no name proposed: a proposed name that
// is not there would only grey out the dialog's Open button.
TFileDialogSpec OpenDialogSpec(const QString& lastFile)
{
    return {QStringLiteral("Open data file (text or image)"),
            {QStringLiteral("Text files (*.txt)"),
             QStringLiteral("Image files (*.bmp *.jpg *.jpeg *.png *.tiff)"),
             QStringLiteral("All files (*)")},
            QStringLiteral("TXT"),
            {},
            lastFile.isEmpty() ? QString() : QFileInfo(lastFile).absolutePath(),
            {}};
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
    FOpenFileName = QFileInfo(fileName).absoluteFilePath();
    ClearResult();
    FFilePanel->clear();
    FWarningPanel->clear();
    FWarningPanel->setToolTip({});
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
            const QImage picture = grey ? GreyLevelPicture(grey->Width, grey->Height, grey->Pixels.data()) : QImage();
            return [this, fileName, picture] { FinishLoad(fileName, picture); };
        },
        [this](std::exception_ptr failure) { FailLoad(failure); });
}

void Tfm_main::FinishLoad(const QString& fileName, const QImage& picture)
{
    FGridModel->SetTable(mb.get());
    ui->DBGrid1->setToolTip(QFileInfo(fileName).absoluteFilePath());
    FFilePanel->setText(QFileInfo(fileName).fileName());
    FFilePanel->setToolTip(QFileInfo(fileName).absoluteFilePath());
    if (!picture.isNull())
        ShowResult(picture);
    else
        ShowTableWarnings();
}

void Tfm_main::ShowTableWarnings()
{
    const TTableWarnings warnings = FindTableWarnings(*mb);
    FWarningPanel->setText(QString::fromStdString(TableWarningSummary(warnings)));
    QStringList details;
    for (const std::string& line : TableWarningLines(warnings))
        details << QString::fromStdString(line);
    FWarningPanel->setToolTip(details.join(u'\n'));
}

void Tfm_main::FailLoad(std::exception_ptr failure)
{
    mb->Close();
    const TFailureText described = DescribeFailure(failure);
    if (!described.Cancelled)
        ShowLoadErrorBox(FDialogs, this, described);
}
