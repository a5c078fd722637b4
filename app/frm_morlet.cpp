#include "app/frm_morlet.h"

#include "ui_frm_morlet.h"

TfrmMorlet::TfrmMorlet(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmMorlet>())
{
    ui->setupUi(this);
}

TfrmMorlet::~TfrmMorlet() = default;
