#include "app/tfm_main.h"

#include "app/cursor_readout.h"
#include "app/data_grid_model.h"
#include "data/data_table.h"
#include "app/error_report.h"
#include "app/frm_gauss.h"
#include "app/frm_morlet.h"
#include "app/gui_thread_parameters.h"
#include "front/output_directory.h"
#include "app/regional_text.h"
#include "app/status_progress.h"
#include "app/tfm_about.h"
#include "ui_frm_gauss.h"
#include "ui_frm_morlet.h"
#include "ui_tfm_main.h"
#include "app/user_dialogs.h"

#include <QCloseEvent>
#include <algorithm>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>

Tfm_main::Tfm_main(TUserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Tfm_main>()), FDialogs(dialogs),
      mb(std::make_unique<TDataTable>())
{
    // The pictures and the manual live in this library; a static library must register them.
    Q_INIT_RESOURCE(app);
    ui->setupUi(this);
    // The button lies under the page control, where the window's layout has always put it.
    ui->btProcess->lower();
    auto* aboutGap = new QWidget(ui->ToolBar1);
    aboutGap->setFixedWidth(231);
    ui->ToolBar1->insertWidget(ui->tbAbout, aboutGap);

    SetupStatusBar();

    frmGauss1 = new TfrmGauss(ui->pnWvParams);
    frmMorlet1 = new TfrmMorlet(ui->pnWvParams);
    ui->pnWvParams->layout()->addWidget(frmGauss1);
    ui->pnWvParams->layout()->addWidget(frmMorlet1);
    FControls = std::make_unique<TParameterControls>(*this);

    FGridModel = new TDataGridModel(this);
    ui->DBGrid1->setModel(FGridModel);
    // Compact rows, as in a spreadsheet: the style's default leaves room for two lines.
    ui->DBGrid1->verticalHeader()->setDefaultSectionSize(ui->DBGrid1->fontMetrics().height() + 6);

    FitCaptions();
    SetUpResultReading();
    FormCreate();
    ConnectCommands();
}

void Tfm_main::SetupStatusBar()
{
    FStatusPanel = new QLabel(ui->StatusBar1);
    ui->StatusBar1->addWidget(FStatusPanel, 1);
    FWarningPanel = new QLabel(ui->StatusBar1);
    FWarningPanel->setObjectName(QStringLiteral("stWarnings"));
    ui->StatusBar1->addWidget(FWarningPanel);
    FFilePanel = new QLabel(ui->StatusBar1);
    FFilePanel->setObjectName(QStringLiteral("stFileName"));
    ui->StatusBar1->addPermanentWidget(FFilePanel);
    FProgress = new TStatusProgress(ui->StatusBar1);
    ui->StatusBar1->addPermanentWidget(FProgress);
    // Shown while a command runs: the same as Esc, for those who do not know it.
    FCancelButton = new QToolButton(ui->StatusBar1);
    FCancelButton->setText(QStringLiteral("Отмена"));
    FCancelButton->setToolTip(QStringLiteral("Stop the running command (Esc)"));
    FCancelButton->hide();
    ui->StatusBar1->addPermanentWidget(FCancelButton);
}

// Fonts differ from the ones the layout was drawn with: widen what would cut its captions,
// and keep the window from shrinking until its parts overlap.
void Tfm_main::FitCaptions()
{
    for (QWidget* captioned : std::initializer_list<QWidget*>{ui->cb_mscale, ui->cbGaussZ,
                                                              ui->rg_phase, ui->rg_steptp})
        captioned->resize(captioned->size().expandedTo(captioned->sizeHint()));
    // The palette lists stand under the output group: keep them there when it grew.
    int below = ui->rg_phase->geometry().bottom() + 5;
    for (QWidget* list : std::initializer_list<QWidget*>{ui->cb_palette, ui->cb_numcolors}) {
        list->move(list->x(), std::max(list->y(), below));
        below = list->geometry().bottom() + 5;
    }
    QWidget* controls = ui->pnParamControls;
    QRect used;
    for (const QWidget* child : controls->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        used |= child->geometry();
    controls->setMinimumSize(std::max(controls->minimumWidth(), used.right() + 16),
                             std::max(controls->minimumHeight(), used.bottom() + 4));
    setMinimumSize(minimumSizeHint());
}

Tfm_main::~Tfm_main()
{
    FRunner.CancelAndWait();
}

void Tfm_main::FormCreate()
{
    FStepCaptions = ui->rg_steptp->Items();
    ui->rg_steptp->setItemIndex(ssLogarithmic);
    teWaveMaxScaleChange();
    ui->page->setCurrentWidget(ui->tsParams);
    ui->cbWavelet->setFocus();
    PlaceOnScreen();
    frmMorlet1->ui->wvK0->setText(QStringLiteral("6"));
    frmMorlet1->ui->wvSIGMA->setText(QStringLiteral("1"));
    frmGauss1->ui->wvAlpha->setText(RegionalNumberText(1.25));
    cbWaveletChange();
}

void Tfm_main::PlaceOnScreen()
{
    const QRect screenArea = screen()->geometry();
    // Never below the size at which the controls overlap, on however small a screen.
    const int width = std::max(screenArea.width() * 3 / 4, minimumWidth());
    const int height = std::max(screenArea.height() * 3 / 4, minimumHeight());
    resize(width, height);
    move(screenArea.left() + (screenArea.width() - width) / 2,
         screenArea.top() + (screenArea.height() - height) / 2);
}

void Tfm_main::ConnectCommands()
{
    connect(ui->tbReadData, &QAction::triggered, this, &Tfm_main::DoReadData);
    connect(ui->tbTulvo1d, &QAction::triggered, this, &Tfm_main::DoTulvo1D);
    connect(ui->btProcess, &QPushButton::clicked, this, &Tfm_main::DoTulvo1D);
    connect(ui->tbTulvo2d, &QAction::triggered, this, &Tfm_main::tbTulvo2dClick);
    connect(ui->tbSaveImage, &QAction::triggered, this, &Tfm_main::tbSaveImageClick);
    connect(ui->tbAbout, &QAction::triggered, this, &Tfm_main::tbAboutClick);

    for (TSpinEdit* scaleEdit : {ui->teWaveMaxScale, ui->teWaveMinScale, ui->teNumSteps}) {
        connect(scaleEdit, &QSpinBox::valueChanged, this, &Tfm_main::teWaveMaxScaleChange);
        connect(scaleEdit, &TSpinEdit::keyDown, this,
                [this, scaleEdit](int key) { teWaveMaxScaleKeyDown(scaleEdit, key); });
    }
    connect(ui->cbWavelet, &QComboBox::currentIndexChanged, this, &Tfm_main::cbWaveletChange);
    connect(ui->iImgScale, &QSlider::valueChanged, this, &Tfm_main::iImgScaleChange);

    connect(&FRunner, &TCommandRunner::statusText, this, &Tfm_main::SetStatusText);
    connect(&FRunner, &TCommandRunner::runningChanged, this, [this](bool running) {
        SetCommandsEnabled(!running);
        if (!running)
            FProgress->Finish();
    });
    connect(&FRunner, &TCommandRunner::workProgress, FProgress, &TStatusProgress::ShowWork);
    connect(&FRunner, &TCommandRunner::finished, this, [this] {
        if (FCloseWhenIdle)
            close();
    });
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, this, &Tfm_main::CancelCommand);
    connect(FCancelButton, &QToolButton::clicked, this, &Tfm_main::CancelCommand);
}

void Tfm_main::SetCommandsEnabled(bool enabled)
{
    for (QAction* command : {ui->tbReadData, ui->tbTulvo1d, ui->tbTulvo2d, ui->tbSaveImage})
        command->setEnabled(enabled);
    ui->btProcess->setEnabled(enabled);
    FCancelButton->setVisible(!enabled);
}

void Tfm_main::DoTulvo1D()
{
    StartAnalysis([this](TParameterSource& parameters, TCommandProgress& progress,
                         const TDataTable& table) { return RunOneD(parameters, progress, table); });
}

void Tfm_main::tbTulvo2dClick()
{
    const std::string folder = OutputDirectory();
    StartAnalysis([this, folder](TParameterSource& parameters, TCommandProgress& progress,
                                 const TDataTable& table) {
        return RunTwoD(folder, parameters, progress, table);
    });
}

bool Tfm_main::StartAnalysis(TAnalysis analysis)
{
    TParameterSource* controls = FControls.get();
    const TDataTable* table = mb.get();
    if (FRunner.IsRunning())
        return false;
    FProgress->ShowBusy(); // until the command counts its first rows
    return FRunner.Start(
        [this, controls, table, analysis = std::move(analysis)](
            TCommandProgress& progress) -> TCommandRunner::TCompletion {
            TGuiThreadParameters parameters(*controls, *this, FRunner.CancelFlag());
            return analysis(parameters, progress, *table);
        },
        [this](std::exception_ptr failure) { ReportFailure(failure); });
}

void Tfm_main::ReportFailure(std::exception_ptr failure)
{
    if (DescribeFailure(failure).Cancelled)
        SetStatusText(QStringLiteral("Cancelled"));
    ShowDefaultErrorReport(FDialogs, this, failure);
}

void Tfm_main::tbAboutClick()
{
    Tfm_About about(this);
    about.exec();
}

QString Tfm_main::StatusText() const
{
    return FStatusPanel->text();
}

void Tfm_main::SetStatusText(const QString& text)
{
    FStatusPanel->setText(text);
}

QString Tfm_main::LoadedFileName() const
{
    return FFilePanel->text();
}

void Tfm_main::closeEvent(QCloseEvent* event)
{
    if (!FRunner.IsRunning()) {
        event->accept();
        return;
    }
    // Stop at the command's next checkpoint and close once it has wound up.
    FCloseWhenIdle = true;
    FRunner.Cancel();
    event->ignore();
}

void Tfm_main::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!FRunner.IsRunning() && urls.size() == 1 && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void Tfm_main::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    OpenDataFile(urls.constFirst().toLocalFile());
}
