// The result view's zoom and the export of the displayed picture through the image library.

#include "tests/app/answering_dialogs.h"
#include "app/graphic_export.h"
#include "app/result_image.h"
#include "tests/app/window_driver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSlider>
#include <QTemporaryDir>

namespace {

// An 8-bit picture with the 66 entries of a spectrogram's colour table.
QImage PalettePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 66; ++i)
        colours << qRgb(i * 3, 255 - i * 3, (i * 37) % 256);
    picture.setColorTable(colours);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, (x + 2 * y) % 66);
    }
    return picture;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestResultView : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

private slots:
    void init() { Dialogs = {}; }
    void zoomSizesTheControl_data();
    void zoomSizesTheControl();
    void newResultIsShownAtTheCurrentZoom();
    void gifExtensionReplacesTheLastOne_data();
    void gifExtensionReplacesTheLastOne();
    void saveBeforeAnyPictureShowsNoDialog();
    void saveWritesTheDisplayedPictureAsGif();
    void saveOffersPngWhenAGifCannotHoldThePicture_data();
    void saveOffersPngWhenAGifCannotHoldThePicture();
    void failedExportIsReported();
};

void TestResultView::zoomSizesTheControl_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("control");
    QTest::newRow("half") << QSize(542, 120) << 50 << QSize(271, 60);
    QTest::newRow("a third") << QSize(542, 120) << 33 << QSize(179, 40);
    QTest::newRow("smallest") << QSize(542, 120) << 1 << QSize(6, 2);
    QTest::newRow("back to full size") << QSize(542, 120) << 100 << QSize(542, 120);
    QTest::newRow("factor just above a tenth") << QSize(100, 100) << 10 << QSize(11, 11);
}

void TestResultView::zoomSizesTheControl()
{
    QFETCH(QSize, picture);
    QFETCH(int, position);
    QFETCH(QSize, control);
    Tfm_main window(Dialogs);
    window.ShowResult(PalettePicture(picture.width(), picture.height()));
    auto* zoom = Control<QSlider>(window, "iImgScale");
    zoom->setValue(40);
    zoom->setValue(position);
    QCOMPARE(Control<TResultImage>(window, "iResult")->size(), control);
    QCOMPARE(Control<TResultImage>(window, "iResult")->Picture().size(), picture);
}

void TestResultView::newResultIsShownAtTheCurrentZoom()
{
    Tfm_main window(Dialogs);
    Control<QSlider>(window, "iImgScale")->setValue(25);
    window.ShowResult(PalettePicture(542, 120));
    QCOMPARE(Control<TResultImage>(window, "iResult")->size(), QSize(136, 30));
}

void TestResultView::gifExtensionReplacesTheLastOne_data()
{
    QTest::addColumn<QString>("dataFile");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("plain") << u"meas.txt"_qs << u"meas.GIF"_qs;
    QTest::newRow("two points") << u"/d/a.b.txt"_qs << u"/d/a.b.GIF"_qs;
    QTest::newRow("point only in the folder") << u"/d.v2/meas"_qs << u"/d.v2/meas.GIF"_qs;
}

void TestResultView::gifExtensionReplacesTheLastOne()
{
    QFETCH(QString, dataFile);
    QFETCH(QString, proposed);
    QCOMPARE(WithExtension(dataFile, u".GIF"_qs), proposed);
}

void TestResultView::saveBeforeAnyPictureShowsNoDialog()
{
    Tfm_main window(Dialogs);
    Control<QAction>(window, "tbSaveImage")->trigger();
    QVERIFY(Dialogs.SaveRequests.isEmpty());
    QVERIFY(!window.Runner().IsRunning());
}

void TestResultView::saveWritesTheDisplayedPictureAsGif()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    WriteFile(dir.filePath(u"meas.txt"_qs), "1\t2\n");
    WriteFile(dir.filePath(u"$$$temp.bmp"_qs), "not ours");
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(dir.filePath(u"meas.txt"_qs)); }));
    const QImage picture = PalettePicture(70, 30);
    window.ShowResult(picture);
    Control<QSlider>(window, "iImgScale")->setValue(30); // the zoom does not shrink the file

    Dialogs.SaveAnswer = dir.filePath(u"result.GIF"_qs);
    QVERIFY(RunToEnd(window, [&] { Control<QAction>(window, "tbSaveImage")->trigger(); }));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QCOMPARE(Dialogs.SaveRequests.size(), 1);
    QCOMPARE(Dialogs.SaveRequests[0].Title, u"Save results"_qs);
    QCOMPARE(Dialogs.SaveRequests[0].Filters,
             (QStringList{u"Gif image (*.gif)"_qs, u"PNG image (*.png)"_qs,
                          u"BMP image (*.bmp)"_qs}));
    QCOMPARE(Dialogs.SaveRequests[0].SelectedFilter, u"Gif image (*.gif)"_qs);
    QCOMPARE(Dialogs.SaveRequests[0].DefaultSuffix, u"gif"_qs);
    QCOMPARE(Dialogs.SaveRequests[0].InitialFile, dir.filePath(u"meas.GIF"_qs));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(window.StatusText(), u"Saved "_qs + QDir::toNativeSeparators(Dialogs.SaveAnswer));

    QImageReader reader(Dialogs.SaveAnswer);
    QCOMPARE(reader.format(), QByteArray("gif"));
    const QImage written = reader.read();
    QCOMPARE(written.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            QCOMPARE(written.pixel(x, y), picture.pixel(x, y));
    }
    QCOMPARE(ReadFile(dir.filePath(u"$$$temp.bmp"_qs)), QByteArray("not ours"));
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"$$$temp.bmp"_qs, u"meas.txt"_qs, u"result.GIF"_qs}));
}

void TestResultView::saveOffersPngWhenAGifCannotHoldThePicture_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("png");
    QTest::newRow("widest GIF") << QSize(65535, 2) << false;
    QTest::newRow("a pixel too wide") << QSize(65536, 2) << true;
    QTest::newRow("a pixel too high") << QSize(2, 65536) << true;
}

void TestResultView::saveOffersPngWhenAGifCannotHoldThePicture()
{
    QFETCH(QSize, picture);
    QFETCH(bool, png);
    QTemporaryDir folder;
    const QDir dir(folder.path());
    WriteFile(dir.filePath(u"long.txt"_qs), "1\t2\n");
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] { window.OpenDataFile(dir.filePath(u"long.txt"_qs)); }));
    window.ShowResult(PalettePicture(picture.width(), picture.height()));
    window.tbSaveImageClick(); // cancelled in the dialog
    QCOMPARE(Dialogs.SaveRequests.size(), 1);
    const TFileDialogSpec& spec = Dialogs.SaveRequests[0];
    QCOMPARE(spec.SelectedFilter, png ? u"PNG image (*.png)"_qs : u"Gif image (*.gif)"_qs);
    QCOMPARE(spec.DefaultSuffix, png ? u"png"_qs : u"gif"_qs);
    QCOMPARE(spec.InitialFile, dir.filePath(png ? u"long.png"_qs : u"long.GIF"_qs));
    QVERIFY(spec.Filters.contains(spec.SelectedFilter));
}

void TestResultView::failedExportIsReported()
{
    QTemporaryDir folder;
    Tfm_main window(Dialogs);
    window.ShowResult(PalettePicture(8, 8));
    Dialogs.SaveAnswer = folder.filePath(u"missing/result.gif"_qs);
    QVERIFY(RunToEnd(window, [&] { window.tbSaveImageClick(); }));
    QCOMPARE(Dialogs.Boxes.size(), 1);
    QCOMPARE(Dialogs.Boxes[0].Title, u"1d Tulvo"_qs);
    QCOMPARE(Dialogs.Boxes[0].Button, QMessageBox::Ok);
    QVERIFY(Dialogs.Boxes[0].Text.endsWith(u'.'));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(QDir(folder.path()).isEmpty());
}

TULVO_WINDOW_TEST_MAIN(TestResultView)
#include "tst_result_view.moc"
