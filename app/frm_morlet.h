#pragma once
// The parameter frame of the Morlet wavelet: K0 and Sigma.

#include <QWidget>

#include <memory>

namespace Ui { class TfrmMorlet; }

class TfrmMorlet : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMorlet(QWidget* parent = nullptr);
    ~TfrmMorlet() override;

    std::unique_ptr<Ui::TfrmMorlet> ui;
};
