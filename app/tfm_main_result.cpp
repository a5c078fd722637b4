// The result view and the export of the displayed picture.

#include "app/tfm_main.h"

#include "app/graphic_export.h"
#include "picture/picture_export.h"
#include "app/cursor_readout.h"
#include "app/result_image.h"
#include "app/status_progress.h"
#include "app/result_rulers.h"
#include "ui_tfm_main.h"
#include "app/user_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>

void Tfm_main::ShowResult(QImage picture)
{
    ui->iResult->SetPicture(picture);
    ShowOneDReading(nullptr); // a 1-D run gives its reading after its picture
    iImgScaleChange();
}

void Tfm_main::iImgScaleChange()
{
    const int position = ui->iImgScale->value();
    const int maximum = ui->iImgScale->maximum();
    if (position == maximum) {
        ui->iResult->SetAutoSize(true);
    } else {
        ui->iResult->SetAutoSize(false);
        ui->iResult->resize(ZoomedSize(ui->iResult->Picture().size(), position, maximum));
    }
    Rulers()->Relayout();
}

void Tfm_main::ClearResult()
{
    ShowResult(QImage());
    SetStatusText({});
}

void Tfm_main::tbSaveImageClick()
{
    const QImage picture = ui->iResult->Picture();
    if (FRunner.IsRunning() || picture.isNull())
        return;
    const QString target =
        FDialogs.GetSaveFileName(this, SaveDialogSpec(FOpenFileName, picture.size()));
    if (target.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FProgress->ShowBusy(); // the image library does not say how far it got
    FRunner.Start(
        [this, picture, target](TCommandProgress&) -> TCommandRunner::TCompletion {
            ExportGraphic(picture, QFile::encodeName(target).toStdString());
            return [this, target] {
                QApplication::restoreOverrideCursor();
                SetStatusText(QStringLiteral("Saved ") + QDir::toNativeSeparators(target));
            };
        },
        [this](std::exception_ptr failure) {
            QApplication::restoreOverrideCursor();
            ReportFailure(failure);
        });
}
