#include "app/tfm_about.h"

#include "app_version.h"
#include "ui_tfm_about.h"

#include <QUrl>

Tfm_About::Tfm_About(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Tfm_About>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(TULVO_FILE_DESCRIPTION " " TULVO_FILE_VERSION));
    setWindowState(Qt::WindowMaximized);
    ui->wb->setSource(QUrl(QString::fromLatin1(kManualPage)));
}

Tfm_About::~Tfm_About() = default;
