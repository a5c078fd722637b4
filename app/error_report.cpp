#include "error_report.h"

#include "errors.h"
#include "user_dialogs.h"

#include <new>

TFailure DescribeFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ECancelled& e) {
        return {QString::fromStdString(e.what()), QString::fromStdString(e.kind()), true};
    } catch (const TulvoError& e) {
        return {QString::fromStdString(e.what()), QString::fromStdString(e.kind())};
    } catch (const std::bad_alloc&) {
        return {QStringLiteral("Out of memory"), QStringLiteral("EOutOfMemory")};
    } catch (const std::exception& e) {
        return {QString::fromStdString(e.what()), QStringLiteral("Exception")};
    } catch (...) {
        return {QStringLiteral("Unknown failure"), QStringLiteral("Exception")};
    }
}

void ShowDefaultErrorReport(TUserDialogs& dialogs, QWidget* parent, std::exception_ptr failure)
{
    const TFailure described = DescribeFailure(failure);
    if (described.Cancelled)
        return;
    dialogs.ShowError(parent, QString::fromLatin1(kApplicationTitle),
                      QString::fromStdString(WithFullStop(described.Message.toStdString())),
                      QMessageBox::Ok);
}

void ShowLoadErrorBox(TUserDialogs& dialogs, QWidget* parent, const TFailure& failure)
{
    dialogs.ShowError(parent, QStringLiteral("Error"),
                      failure.Message + u'(' + failure.Kind + u')', QMessageBox::Cancel);
}
