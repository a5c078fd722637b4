// Commands run on a worker thread: parameters read live from the controls, progress in the
// status bar, cancelling, refusing a second command, and how failures reach the user.

#include "tests/app/answering_dialogs.h"
#include "app/error_report.h"
#include "engine/errors.h"
#include "app/result_image.h"
#include "app/spin_edit.h"
#include "app/status_progress.h"
#include "tests/app/window_driver.h"

#include <QAction>
#include <QTabWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QComboBox>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const QString kSeries = QStringLiteral(TULVO_FIXTURES "/app/series.txt");

// An analysis that stands at its checkpoint until cancelled, for at most a few seconds; if it
// ever ends normally, its completion sets `completed`.
Tfm_main::TAnalysis WaitForCancel(bool& completed)
{
    return [&completed](TParameterSource&, TCommandProgress& progress, const TDataTable&) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            progress.ProcessPendingMessages();
            std::this_thread::yield();
        }
        return [&completed] { completed = true; };
    };
}

// A table of `rows` numbered samples and `series` series, written into `folder`.
QString WriteLongTable(const QTemporaryDir& folder, int rows, int series)
{
    const QString path = folder.filePath(u"long.txt"_qs);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray text = "N";
    for (int k = 0; k < series; ++k)
        text += "\tS" + QByteArray::number(k);
    text += '\n';
    for (int i = 1; i <= rows; ++i) {
        text += QByteArray::number(i);
        for (int k = 0; k < series; ++k)
            text += '\t' + QByteArray::number((i * (k + 3)) % 97);
        text += '\n';
    }
    file.write(text);
    return path;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

    void LoadSeries(Tfm_main& window)
    {
        QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(kSeries); }));
        QVERIFY(window.Table().IsOpen());
    }

private slots:
    void init() { Dialogs = {}; }
    void fullStopRule_data();
    void fullStopRule();
    void oneDimensionalRunShowsItsPicture();
    void conversionFailureStopsTheCommand_data();
    void conversionFailureStopsTheCommand();
    void twoDimensionalRunOpensItsTiff();
    void commandReadsTheControlsLive();
    void escapeCancelsSilently();
    void cancelEndsALongRunQuicklyAndKeepsTheOldResult_data();
    void cancelEndsALongRunQuicklyAndKeepsTheOldResult();
    void progressBarCountsTheRowsOfTheRun();
    void otherCommandsAreRefusedWhileOneRuns();
    void closingWaitsForTheCommandToStop();
};

void TestCommands::fullStopRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << u"abc"_qs << u"abc."_qs;
    QTest::newRow("full stop") << u"abc."_qs << u"abc."_qs;
    QTest::newRow("below the full stop") << u"abc!"_qs << u"abc!"_qs;
    QTest::newRow("slash, just above") << u"a/"_qs << u"a/."_qs;
    QTest::newRow("cyrillic") << u"Ошибка"_qs << u"Ошибка."_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestCommands::fullStopRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(WithFullStop(message.toStdString())), shown);
}

void TestCommands::oneDimensionalRunShowsItsPicture()
{
    Tfm_main window(Dialogs);
    LoadSeries(window);
    // K0 belongs to the hidden Morlet frame: it is never read.
    Control<QLineEdit>(window, "wvK0")->setText(u"abc"_qs);
    QVERIFY(RunToEnd(window, [&] { Control<QPushButton>(window, "btProcess")->click(); }));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QVERIFY(!Control<TResultImage>(window, "iResult")->Picture().isNull());
    QCOMPARE(window.StatusText(), u"O'k"_qs);
    QCOMPARE(Control<QTabWidget>(window, "page")->currentWidget()->objectName(), u"tsResult"_qs);
}

void TestCommands::conversionFailureStopsTheCommand_data()
{
    QTest::addColumn<int>("wavelet");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::newRow("Alpha of letters") << 0 << u"wvAlpha"_qs << u"abc"_qs;
    QTest::newRow("empty Alpha") << 0 << u"wvAlpha"_qs << QString();
    QTest::newRow("Sigma with a tail") << 1 << u"wvSIGMA"_qs << u"1x"_qs;
}

void TestCommands::conversionFailureStopsTheCommand()
{
    QFETCH(int, wavelet);
    QFETCH(QString, edit);
    QFETCH(QString, text);
    Tfm_main window(Dialogs);
    LoadSeries(window);
    Control<QComboBox>(window, "cbWavelet")->setCurrentIndex(wavelet);
    Control<QLineEdit>(window, edit.toLatin1().constData())->setText(text);

    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo1d")->trigger(); }));
    QCOMPARE(Dialogs.Boxes.size(), 1);
    QCOMPARE(Dialogs.Boxes[0].Title, u"1d Tulvo"_qs);
    QCOMPARE(Dialogs.Boxes[0].Button, QMessageBox::Ok);
    QCOMPARE(Dialogs.Boxes[0].Text, u"'"_qs + text + u"' is not a valid floating point value."_qs);
    QVERIFY(Control<TResultImage>(window, "iResult")->Picture().isNull());
    QVERIFY(Control<QAction>(window, "tbTulvo1d")->isEnabled());
    QVERIFY(window.Table().IsOpen());
}

void TestCommands::twoDimensionalRunOpensItsTiff()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"square.png"_qs);
    QImage square(12, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < square.height(); ++y) {
        for (int x = 0; x < square.width(); ++x)
            square.scanLine(y)[x] = uchar((x * 20 + y * 7) % 256);
    }
    QVERIFY(square.save(path));
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(path); }));
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo2d")->trigger(); }));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QCOMPARE(Dialogs.OpenedDocuments.size(), 1);
    QVERIFY(Dialogs.OpenedDocuments[0].endsWith(u"RESULT.TIFF"_qs));
    QVERIFY(QFileInfo::exists(Dialogs.OpenedDocuments[0]));
    // The folder of the results is shown whether or not the desktop opens the TIFF.
    QCOMPARE(window.StatusText(),
             u"O'k  "_qs + QDir::toNativeSeparators(QFileInfo(Dialogs.OpenedDocuments[0]).absolutePath()));
}

void TestCommands::commandReadsTheControlsLive()
{
    Tfm_main window(Dialogs);
    std::atomic<bool> changed{false};
    int before = 0;
    int after = 0;
    QSignalSpy status(&window.Runner(), &TCommandRunner::statusText);
    QSignalSpy finished(&window.Runner(), &TCommandRunner::finished);
    window.StartAnalysis([&](TParameterSource& parameters, TCommandProgress& progress,
                             const TDataTable&) {
        before = parameters.Steps();
        progress.SetStatusText("read once");
        while (!changed)
            progress.ProcessPendingMessages();
        after = parameters.Steps();
        return TCommandRunner::TCompletion();
    });
    QVERIFY(status.wait());
    QCOMPARE(window.StatusText(), u"read once"_qs);
    Control<TSpinEdit>(window, "teNumSteps")->setValue(200);
    changed = true;
    QVERIFY(finished.wait());
    QCOMPARE(before, 100);
    QCOMPARE(after, 200);
}

void TestCommands::escapeCancelsSilently()
{
    Tfm_main window(Dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    bool completed = false;
    QVERIFY(RunToEnd(window, [&] {
        window.StartAnalysis(WaitForCancel(completed));
        QTest::keyClick(&window, Qt::Key_Escape);
    }));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QVERIFY(!completed);
    QCOMPARE(window.StatusText(), u"Cancelled"_qs);

    // The status bar's button does the same.
    QVERIFY(RunToEnd(window, [&] {
        window.StartAnalysis(WaitForCancel(completed));
        auto* button = window.statusBar()->findChild<QToolButton*>();
        QVERIFY(button && button->isVisible());
        button->click();
    }));
    QVERIFY(!completed);
    QVERIFY(!window.statusBar()->findChild<QToolButton*>()->isVisible());
}

void TestCommands::cancelEndsALongRunQuicklyAndKeepsTheOldResult_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("series");
    QTest::newRow("between series") << 4000 << 30;
    QTest::newRow("inside a series") << 100000 << 1;
}

// The run is stopped 50 ms into its first transform; it must end within 0.2 s of that.
void TestCommands::cancelEndsALongRunQuicklyAndKeepsTheOldResult()
{
    QFETCH(int, rows);
    QFETCH(int, series);
    QTemporaryDir folder;
    const QString path = WriteLongTable(folder, rows, series);
    Tfm_main window(Dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(path); }));
    QImage old(8, 8, QImage::Format_Indexed8);
    old.setColorTable({qRgb(1, 2, 3)});
    old.fill(0);
    window.ShowResult(old);
    Control<TSpinEdit>(window, "teNumSteps")->setValue(300);

    QSignalSpy status(&window.Runner(), &TCommandRunner::statusText);
    QSignalSpy finished(&window.Runner(), &TCommandRunner::finished);
    window.DoTulvo1D();
    QVERIFY(status.wait(20000)); // "Current dataset : 0": the first transform starts
    QTest::qWait(50);
    QVERIFY(window.Runner().IsRunning());
    QElapsedTimer sinceCancel;
    sinceCancel.start();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(finished.wait(60000));
    const qint64 latency = sinceCancel.elapsed();

    QVERIFY(Dialogs.Boxes.isEmpty());
    QCOMPARE(window.StatusText(), u"Cancelled"_qs);
    QCOMPARE(Control<TResultImage>(window, "iResult")->Picture(), old);
    QVERIFY2(latency <= 200, qPrintable(QString::number(latency) + u" ms"_qs));
}

void TestCommands::progressBarCountsTheRowsOfTheRun()
{
    Tfm_main window(Dialogs);
    auto* bar = Control<QProgressBar>(window, "pbWork");
    std::atomic<bool> halfShown{false};
    QSignalSpy progress(&window.Runner(), &TCommandRunner::workProgress);
    QSignalSpy finished(&window.Runner(), &TCommandRunner::finished);
    window.StartAnalysis([&](TParameterSource&, TCommandProgress& run, const TDataTable&) {
        // Two threads share the rows, as a transform's pool does.
        std::thread other([&run] {
            for (int row = 0; row < 250; ++row)
                run.WorkDone(1, 1000);
        });
        for (int row = 0; row < 250; ++row)
            run.WorkDone(1, 1000);
        other.join();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        run.WorkDone(0, 1000); // past the posting interval: the count so far is posted
        while (!halfShown)
            run.CheckCancelled();
        return TCommandRunner::TCompletion();
    });
    QTRY_COMPARE(bar->value(), 500);
    QVERIFY(bar->isVisible() || !window.isVisible());
    QVERIFY(progress.size() <= 3); // not one post per row
    halfShown = true;
    QVERIFY(finished.wait());
    QVERIFY(bar->isHidden());
}

void TestCommands::otherCommandsAreRefusedWhileOneRuns()
{
    Tfm_main window(Dialogs);
    bool completed = false;
    QVERIFY(RunToEnd(window, [&] {
        window.StartAnalysis(WaitForCancel(completed));
        QVERIFY(!Control<QAction>(window, "tbReadData")->isEnabled());
        QVERIFY(!Control<QAction>(window, "tbSaveImage")->isEnabled());
        QVERIFY(!Control<QPushButton>(window, "btProcess")->isEnabled());
        window.DoReadData();
        QVERIFY(Dialogs.OpenRequests.isEmpty());
        QVERIFY(!window.StartAnalysis(WaitForCancel(completed)));
        window.CancelCommand();
    }));
    QVERIFY(Control<QAction>(window, "tbReadData")->isEnabled());
}

void TestCommands::closingWaitsForTheCommandToStop()
{
    Tfm_main window(Dialogs);
    window.show();
    QSignalSpy finished(&window.Runner(), &TCommandRunner::finished);
    bool completed = false;
    window.StartAnalysis(WaitForCancel(completed));
    window.close();
    QVERIFY(window.isVisible());
    QVERIFY(finished.wait());
    QVERIFY(!window.isVisible());
    QVERIFY(Dialogs.Boxes.isEmpty());
    QVERIFY(!completed);
}

TULVO_WINDOW_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
