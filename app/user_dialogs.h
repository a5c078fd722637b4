#pragma once
// Every message box, file dialog and hand-over to the desktop goes through this interface, so
// that the window tests can answer them without a person at the screen.

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

struct TFileDialogSpec {
    QString Title;
    QStringList Filters;   // "Text files (*.txt)" style
    QString DefaultSuffix; // without the point; follows the chosen filter
    QString InitialFile;   // proposed name, with or without a folder; may be empty
    QString Directory;     // where the dialog starts; empty: the working folder
    QString SelectedFilter; // one of Filters; empty: the first
};

// The extension a filter such as "PNG image (*.png)" names, without the point; empty for
// "All files (*)".
QString FilterSuffix(const QString& filter);

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;
    // A box with the error icon and a single button; returns when the user closed it.
    virtual void ShowError(QWidget* parent, const QString& title, const QString& text,
                           QMessageBox::StandardButton button) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    // Has the desktop show the file with its default viewer; whether it could is not known.
    virtual void OpenDocument(const QString& path) = 0;
};

// The real boxes and dialogs.
class TQtDialogs : public TUserDialogs {
public:
    void ShowError(QWidget* parent, const QString& title, const QString& text,
                   QMessageBox::StandardButton button) override;
    QString GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    QString GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    void OpenDocument(const QString& path) override;
};
