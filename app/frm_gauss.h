#pragma once
// The parameter frame of the Gaussian wavelet: Alpha.

#include <QWidget>

#include <memory>

namespace Ui { class TfrmGauss; }

class TfrmGauss : public QWidget {
    Q_OBJECT
public:
    explicit TfrmGauss(QWidget* parent = nullptr);
    ~TfrmGauss() override;

    std::unique_ptr<Ui::TfrmGauss> ui;
};
