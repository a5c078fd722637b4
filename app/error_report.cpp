#include "app/error_report.h"

#include "app/user_dialogs.h"

void ShowDefaultErrorReport(TUserDialogs& dialogs, QWidget* parent, std::exception_ptr failure)
{
    const TFailureText described = DescribeFailure(failure);
    if (described.Cancelled)
        return;
    dialogs.ShowError(parent, QString::fromLatin1(kApplicationTitle),
                      QString::fromStdString(DefaultReportText(described)),
                      QMessageBox::Ok);
}

void ShowLoadErrorBox(TUserDialogs& dialogs, QWidget* parent, const TFailureText& failure)
{
    dialogs.ShowError(parent, QStringLiteral("Error"),
                      QString::fromStdString(LoadErrorText(failure)), QMessageBox::Cancel);
}
