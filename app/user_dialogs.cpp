#include "app/user_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace {

QString RunFileDialog(QWidget* parent, const TFileDialogSpec& spec, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, spec.Title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    dialog.setNameFilters(spec.Filters);
    if (!spec.SelectedFilter.isEmpty())
        dialog.selectNameFilter(spec.SelectedFilter);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         if (const QString suffix = FilterSuffix(filter); !suffix.isEmpty())
                             dialog.setDefaultSuffix(suffix);
                     });
    if (!spec.Directory.isEmpty())
        dialog.setDirectory(spec.Directory);
    if (!spec.InitialFile.isEmpty())
        dialog.selectFile(spec.InitialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString FilterSuffix(const QString& filter)
{
    const qsizetype start = filter.indexOf(QStringLiteral("*."));
    if (start < 0)
        return {};
    qsizetype end = start + 2;
    while (end < filter.size() && filter[end].isLetterOrNumber())
        ++end;
    return filter.mid(start + 2, end - start - 2);
}

void TQtDialogs::ShowError(QWidget* parent, const QString& title, const QString& text,
                           QMessageBox::StandardButton button)
{
    QMessageBox box(QMessageBox::Critical, title, text, button, parent);
    box.exec();
}

QString TQtDialogs::GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

QString TQtDialogs::GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec)
{
    // Qt's save dialog asks before overwriting and refuses a folder that does not exist.
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave);
}

void TQtDialogs::OpenDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
