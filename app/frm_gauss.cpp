#include "app/frm_gauss.h"

#include "ui_frm_gauss.h"

TfrmGauss::TfrmGauss(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmGauss>())
{
    ui->setupUi(this);
}

TfrmGauss::~TfrmGauss() = default;
