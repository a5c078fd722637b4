#pragma once
// The main window: the parameter page, the data grid, the result view, the toolbar commands.
// It is a thin shell: commands run through TCommandRunner on a worker thread and read the
// parameters live through a TParameterSource that answers from the controls.

#include "app/command_runner.h"
#include "app/parameter_controls.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace Ui { class Tfm_main; }
class QCheckBox;
class QLabel;
class QToolButton;
class TCursorReadout;
class TDataGridModel;
class TFrameViewer;
class TResultRulers;
struct TFrameSet;
struct TOneDReading;
class TDataTable;
class TfrmGauss;
class TfrmMorlet;
class TSpinEdit;
class TStatusProgress;
class TUserDialogs;

class Tfm_main : public QMainWindow {
    Q_OBJECT
public:
    // An analysis of the loaded table; runs on the worker thread. The completion it returns
    // (it may be empty) runs on the GUI thread afterwards.
    using TAnalysis = std::function<TCommandRunner::TCompletion(
        TParameterSource&, TCommandProgress&, const TDataTable&)>;

    explicit Tfm_main(TUserDialogs& dialogs, QWidget* parent = nullptr);
    ~Tfm_main() override;

    // --- commands (toolbar) ---
    void DoReadData();
    void OpenDataFile(const QString& fileName); // the load after the file was chosen
    void DoTulvo1D();                           // tbTulvo1d and btProcess
    void tbTulvo2dClick();
    void tbSaveImageClick();
    void tbAboutClick();

    // Starts `analysis` on the worker thread unless a command runs (then false). Failures go
    // to the default error report.
    bool StartAnalysis(TAnalysis analysis);
    // Stops the running command at its next checkpoint (Esc).
    void CancelCommand() { FRunner.Cancel(); }

    // --- result view ---
    void ShowResult(QImage picture);
    void iImgScaleChange();
    void ClearResult();

    // --- reading the result: rulers, cone, readout, the 2-D frames ---
    void ShowOneDReading(std::shared_ptr<const TOneDReading> reading);
    void ShowFrames(TFrameSet frames);
    void ShowReadout(const QString& text); // empty: the status text as it was
    TResultRulers* Rulers() const { return FRulers; }
    TFrameViewer* Frames() const { return FFrames; }
    QCheckBox* ConeBox() const { return FConeBox; }

    // --- parameter rules ---
    void teWaveMaxScaleChange();
    void teWaveMaxScaleKeyDown(TSpinEdit* sender, int key);
    void cbWaveletChange();

    TParameterSource& Parameters() { return *FControls; } // GUI thread only
    const TDataTable& Table() const { return *mb; }
    const TCommandRunner& Runner() const { return FRunner; }
    QString StatusText() const;
    void SetStatusText(const QString& text);
    QString LoadedFileName() const; // the status bar's file panel

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void ConnectCommands();
    void PlaceOnScreen();
    void SetCommandsEnabled(bool enabled);
    void ReportFailure(std::exception_ptr failure);
    void FinishLoad(const QString& fileName, const QImage& picture);
    void FailLoad(std::exception_ptr failure);
    void ShowTableWarnings();
    void SetupStatusBar();
    void FitCaptions();
    void SetUpResultReading();
    TCommandRunner::TCompletion RunOneD(TParameterSource& parameters, TCommandProgress& progress,
                                        const TDataTable& table);
    TCommandRunner::TCompletion RunTwoD(const std::string& folder, TParameterSource& parameters,
                                        TCommandProgress& progress, const TDataTable& table);

    std::unique_ptr<Ui::Tfm_main> ui;
    TUserDialogs& FDialogs;
    TfrmGauss* frmGauss1;
    TfrmMorlet* frmMorlet1;
    QLabel* FStatusPanel;
    QLabel* FWarningPanel;
    QLabel* FFilePanel;
    TStatusProgress* FProgress;
    QToolButton* FCancelButton;
    TDataGridModel* FGridModel;
    TResultRulers* FRulers;
    TFrameViewer* FFrames;
    QCheckBox* FConeBox;
    std::unique_ptr<TCursorReadout> FReadout;
    QString FReadoutText; // what the status shows for the pointer, if it still does
    QString FStatusBeforeReadout;
    std::unique_ptr<TParameterControls> FControls;
    std::unique_ptr<TDataTable> mb;
    QStringList FStepCaptions;
    QString FOpenFileName; // the data file chosen last, with its absolute path
    bool FCloseWhenIdle = false;
    TCommandRunner FRunner; // last: it stops the worker before the table and controls go
};
