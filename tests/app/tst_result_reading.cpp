// Reading a result in the window: rulers around the 1-D picture, the readout under the
// pointer, the cone of influence, and the frames of a 2-D run.

#include "tests/app/answering_dialogs.h"
#include "app/frame_viewer.h"
#include "app/result_image.h"
#include "app/result_rulers.h"
#include "engine/wavelet_periods.h"
#include "spectrogram/oned_command.h"
#include "tests/app/window_driver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace {

constexpr int kSamples = 240;
constexpr int kSteps = 30;

// Labels 0, 0.5, 1, ... (written with the comma of the tests' Russian settings).
QString WriteSeries(const QTemporaryDir& folder)
{
    const QString path = folder.filePath(u"series.txt"_qs);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("T\tA\tB\n");
    for (int j = 0; j < kSamples; ++j)
        file.write(QStringLiteral("%1\t%2\t%3\n")
                       .arg(QString::number(0.5 * j).replace(u'.', u','))
                       .arg(std::lround(1000 * std::sin(j * 0.3)))
                       .arg((j * 37) % 101)
                       .toLatin1());
    return path;
}

class TKeep : public TOneDObserver {
public:
    std::map<int, std::vector<double>> Raw, Final;
    void RawCoefficients(int k, const std::vector<double>& c) override { Raw[k] = c; }
    void FinalCoefficients(int k, const std::vector<double>& c) override { Final[k] = c; }
};

class TQuiet : public TCommandProgress {
public:
    void SetStatusText(const std::string&) override {}
    void ProcessPendingMessages() override {}
};

} // namespace

class TestResultReading : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

private slots:
    void init() { Dialogs = {}; }
    void oneDResultHasRulersAndAReadout();
    void coneShadesTheEndsOnly();
    void twoDFramesAreShownWithTheirScales();
};

void TestResultReading::oneDResultHasRulersAndAReadout()
{
    QTemporaryDir folder;
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(WriteSeries(folder)); }));
    Control<QSpinBox>(window, "teNumSteps")->setValue(kSteps);
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo1d")->trigger(); }));
    auto* image = Control<TResultImage>(window, "iResult");
    const TResultAxes& axes = window.Rulers()->Axes();
    QCOMPARE(axes.Series(), 2);
    QCOMPARE(static_cast<int>(axes.Rows.size()), kSteps);
    QVERIFY(axes.LabelStep.Even);
    QCOMPARE(window.Rulers()->size(), image->size().grownBy(kAxesMargins));
    QCOMPARE(Control<QScrollArea>(window, "ScrollBox1")->widget(), window.Rulers());
    Control<QSlider>(window, "iImgScale")->setValue(40); // the rulers follow the zoom
    QCOMPARE(window.Rulers()->size(), image->size().grownBy(kAxesMargins));
    QCOMPARE(image->size(), ZoomedSize(image->Picture().size(), 40, 100));
    Control<QSlider>(window, "iImgScale")->setValue(100);

    // The same run outside the window, for the values the readout must show.
    TAnalysisParams params;
    params.Steps = kSteps;
    TFixedParameters source(params);
    TQuiet quiet;
    TKeep keep;
    QVERIFY(DoTulvo1D(window.Table(), source, quiet, &keep).has_value());

    const int series = 1, row = 7, sample = 40;
    emit image->pointerMoved(QPoint(25 + sample, 10 + series * (kSteps + 1) + row));
    const double period = FourierPeriod(TWaveletShape{}, axes.Rows[row].Scale);
    const std::size_t at = static_cast<std::size_t>(row) * kSamples + sample;
    const QStringList parts = window.StatusText().split(u"  |  "_qs);
    QCOMPARE(parts.size(), 6);
    QCOMPARE(parts[0], u"B"_qs);
    QCOMPARE(parts[1], u"метка 20"_qs);
    QCOMPARE(parts[2], u"масштаб "_qs + QString::number(axes.Rows[row].Scale, 'g', 6));
    QCOMPARE(parts[3], u"период "_qs + QString::number(period, 'g', 4) + u" отсч. = "_qs +
                           QString::number(period / 2, 'g', 4) + u" ед. метки"_qs);
    QVERIFY(parts[4].startsWith(u"норм. "_qs));
    QVERIFY(std::fabs(parts[4].mid(6).toDouble() - keep.Final[series][at]) <= 6e-5);
    QCOMPARE(parts[5], u"исх. "_qs + QString::number(keep.Raw[series][at], 'g', 6));

    // The separator row under a band and the legend tell nothing; the status comes back.
    emit image->pointerMoved(QPoint(25 + sample, 10 + kSteps));
    QCOMPARE(window.StatusText(), u"O'k"_qs);
    emit image->pointerMoved(QPoint(10, 40));
    QCOMPARE(window.StatusText(), u"O'k"_qs);

    // Another picture takes the rulers away.
    window.ShowResult(QImage(20, 20, QImage::Format_Indexed8));
    QVERIFY(window.Rulers()->Axes().Empty());
    QCOMPARE(window.Rulers()->size(), image->size());
}

void TestResultReading::coneShadesTheEndsOnly()
{
    QTemporaryDir folder;
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(WriteSeries(folder)); }));
    Control<QSpinBox>(window, "teNumSteps")->setValue(kSteps);
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo1d")->trigger(); }));
    auto* image = Control<TResultImage>(window, "iResult");
    const QImage plain = image->grab().toImage();
    QVERIFY(!Control<QCheckBox>(window, "cbCone")->isHidden());
    Control<QCheckBox>(window, "cbCone")->setChecked(true);
    QVERIFY(window.Rulers()->ConeShown());
    const QImage cone = image->grab().toImage();
    // Scale 100 reaches across all 240 samples, scale 1 only about one sample from each end.
    const int top = 10, bottom = 10 + kSteps - 1, middle = 25 + kSamples / 2;
    QVERIFY(cone.pixel(middle, top) != plain.pixel(middle, top));
    QCOMPARE(cone.pixel(middle, bottom), plain.pixel(middle, bottom));
    QVERIFY(cone.pixel(25, bottom) != plain.pixel(25, bottom));
    Control<QCheckBox>(window, "cbCone")->setChecked(false);
    QCOMPARE(image->grab().toImage(), plain);
}

void TestResultReading::twoDFramesAreShownWithTheirScales()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"square.png"_qs);
    QImage square(12, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < square.height(); ++y)
        for (int x = 0; x < square.width(); ++x)
            square.scanLine(y)[x] = uchar((x * 20 + y * 7) % 256);
    QVERIFY(square.save(path));
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(path); }));
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo2d")->trigger(); }));
    TFrameViewer* frames = window.Frames();
    QVERIFY(!frames->isHidden());
    QVERIFY(Control<QCheckBox>(window, "cbCone")->isHidden()); // no 1-D bands to shade
    QCOMPARE(frames->FrameCount(), 32);
    const QString tiff = Dialogs.OpenedDocuments.value(0);
    QCOMPARE(window.StatusText(),
             u"O'k  "_qs + QDir::toNativeSeparators(QFileInfo(tiff).absolutePath()));
    // Default: Gaussian difference, logarithmic scales 1 to 100. Its 2-D spectrum peaks at
    // frequency 0, so it passes no wavelength to name.
    QCOMPARE(frames->Caption(), u"кадр 1 из 32  |  масштаб 1"_qs);
    frames->ShowFrame(31);
    QCOMPARE(frames->Caption(), u"кадр 32 из 32  |  масштаб 100"_qs);

    const QString text = frames->TextAt(QPoint(2, 3));
    QVERIFY2(text.startsWith(u"кадр 32  |  строка 4  |  столбец 3  |  уровень "_qs), qPrintable(text));

    Control<QComboBox>(window, "cbWavelet")->setCurrentIndex(1);
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbTulvo2d")->trigger(); }));
    QCOMPARE(frames->CurrentFrame(), 0);
    QCOMPARE(frames->Caption(), u"кадр 1 из 32  |  масштаб 1  |  длина волны 1.047 пикс."_qs);

    frames->ShowFrame(31);
    frames->SetPlaying(true);
    QVERIFY(frames->Playing());
    QTRY_COMPARE_WITH_TIMEOUT(frames->CurrentFrame(), 0, 2000); // wrapped round from the last
    frames->SetPlaying(false);
    QVERIFY(!frames->Playing());
}

TULVO_WINDOW_TEST_MAIN(TestResultReading)
#include "tst_result_reading.moc"
