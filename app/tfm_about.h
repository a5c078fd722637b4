#pragma once
// The About window: the manual, a page carried in the program's resources.

#include <QDialog>

#include <memory>

namespace Ui { class Tfm_About; }

class Tfm_About : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_About(QWidget* parent = nullptr);
    ~Tfm_About() override;

private:
    std::unique_ptr<Ui::Tfm_About> ui;
};

// The manual's address; its pictures are named relative to it.
inline constexpr char kManualPage[] = "qrc:/about/about.html";
