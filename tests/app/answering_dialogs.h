#pragma once
// Answers the window's boxes and file dialogs in place of a person, and remembers what was
// asked and what was handed to the desktop.

#include "app/user_dialogs.h"

#include <QList>

struct TShownBox {
    QString Title;
    QString Text;
    QMessageBox::StandardButton Button;
};

class TAnsweringDialogs : public TUserDialogs {
public:
    QString OpenAnswer; // empty: the user cancels
    QString SaveAnswer;
    QList<TShownBox> Boxes;
    QList<TFileDialogSpec> OpenRequests;
    QList<TFileDialogSpec> SaveRequests;
    QStringList OpenedDocuments;

    void ShowError(QWidget*, const QString& title, const QString& text,
                   QMessageBox::StandardButton button) override
    {
        Boxes.append({title, text, button});
    }
    QString GetOpenFileName(QWidget*, const TFileDialogSpec& spec) override
    {
        OpenRequests.append(spec);
        return OpenAnswer;
    }
    QString GetSaveFileName(QWidget*, const TFileDialogSpec& spec) override
    {
        SaveRequests.append(spec);
        return SaveAnswer;
    }
    void OpenDocument(const QString& path) override { OpenedDocuments.append(path); }
};
