#pragma once
// The status bar's progress bar: the rows of work done of the whole run, or a busy bar for
// work that cannot count its steps (a save). Hidden while no command runs.

#include <QProgressBar>

class TStatusProgress : public QProgressBar {
    Q_OBJECT
public:
    explicit TStatusProgress(QWidget* parent = nullptr);

    void ShowWork(qint64 done, qint64 total);
    void ShowBusy();
    void Finish(); // hides the bar and forgets the run
};
