// The open command with real files: text tables with and without a header, a failing line,
// an image; what the grid, the status bar and the result view show afterwards.
// Runs under Russian regional settings: comma decimals, day.month.year dates.

#include "tests/app/answering_dialogs.h"
#include "data/data_table.h"
#include "app/result_image.h"
#include "tests/app/window_driver.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTableView>
#include <QLabel>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

QString Fixture(const char* name)
{
    return QStringLiteral(TULVO_FIXTURES "/app/") + QString::fromLatin1(name);
}

// The grid as text: the title row first, then one line per row, cells joined by "|".
QStringList GridText(Tfm_main& window)
{
    const QAbstractItemModel* model = Control<QTableView>(window, "DBGrid1")->model();
    QStringList lines;
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    lines << titles.join(u'|');
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->data(model->index(r, c)).toString();
        lines << cells.join(u'|');
    }
    return lines;
}

void WriteLines(const QString& path, const QByteArray& header, int dataLines)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(header);
    for (int i = 1; i <= dataLines; ++i)
        file.write(QByteArray::number(i) + '\t' + QByteArray::number(i % 7) + '\n');
}

} // namespace

class TestOpenCommand : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

    void Open(Tfm_main& window, const QString& fileName)
    {
        Dialogs.OpenAnswer = fileName;
        QVERIFY(RunToEnd(window, [&] { window.DoReadData(); }));
    }

private slots:
    void init() { Dialogs = {}; }
    void asksWithTheOpenDialog();
    void textWithHeaderIsSortedAndShownRegionally();
    void textWithoutHeaderNamesItsColumns();
    void failingLineClosesTheTable();
    void imageBecomesGreyTableAndPicture();
    void statusShowsTheLineCountsWhileLoading();
    void escapeStopsALoadAndClosesTheTable();
    void fifoIsRefusedAtOnce();
    void droppedFileIsOpened();
    void statusBarNamesTheFileAndWarnsAboutTheData();
};

void TestOpenCommand::asksWithTheOpenDialog()
{
    Tfm_main window(Dialogs);
    window.DoReadData(); // cancelled: nothing changes
    QVERIFY(!window.Runner().IsRunning());
    QCOMPARE(Dialogs.OpenRequests.size(), 1);
    const TFileDialogSpec& first = Dialogs.OpenRequests[0];
    QCOMPARE(first.Title, u"Open data file (text or image)"_qs);
    QCOMPARE(first.Filters, (QStringList{u"Text files (*.txt)"_qs,
                                         u"Image files (*.bmp *.jpg *.jpeg *.png *.tiff)"_qs,
                                         u"All files (*)"_qs}));
    QCOMPARE(first.DefaultSuffix, u"TXT"_qs);
    // No name is proposed: one that is not there would grey out the dialog's Open button.
    QVERIFY(first.InitialFile.isEmpty());
    QVERIFY(first.Directory.isEmpty());

    Open(window, Fixture("header.txt"));
    Dialogs.OpenAnswer.clear();
    window.DoReadData();
    QVERIFY(Dialogs.OpenRequests.last().InitialFile.isEmpty());
    QCOMPARE(Dialogs.OpenRequests.last().Directory, QFileInfo(Fixture("header.txt")).absolutePath());
    QVERIFY(window.Table().IsOpen());
}

void TestOpenCommand::textWithHeaderIsSortedAndShownRegionally()
{
    Tfm_main window(Dialogs);
    window.ShowResult(QImage(4, 4, QImage::Format_RGB32));
    Open(window, Fixture("header.txt"));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QCOMPARE(GridText(window), (QStringList{
                                   u"DATE|A|B"_qs,
                                   u"01.01.2020|2|0,3"_qs,
                                   u"02.01.2020|-0,25|1000"_qs,
                                   u"03.01.2020|1,5|"_qs,
                               }));
    auto* grid = Control<QTableView>(window, "DBGrid1");
    QCOMPARE(grid->model()->headerData(2, Qt::Vertical).toInt(), 3);
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(grid->toolTip(), QFileInfo(Fixture("header.txt")).absoluteFilePath());
    QCOMPARE(window.StatusText(), u"4"_qs);
    QVERIFY(Control<TResultImage>(window, "iResult")->Picture().isNull());
}

void TestOpenCommand::textWithoutHeaderNamesItsColumns()
{
    Tfm_main window(Dialogs);
    Open(window, Fixture("no_header.txt"));
    QCOMPARE(GridText(window),
             (QStringList{u"V0000|V0001"_qs, u"1|10"_qs, u"2|20,5"_qs, u"3|30"_qs}));
    QCOMPARE(window.StatusText(), u"3"_qs);
}

void TestOpenCommand::failingLineClosesTheTable()
{
    Tfm_main window(Dialogs);
    Open(window, Fixture("header.txt"));
    Open(window, Fixture("bad_line.txt"));
    QCOMPARE(Dialogs.Boxes.size(), 1);
    QCOMPARE(Dialogs.Boxes[0].Title, u"Error"_qs);
    QCOMPARE(Dialogs.Boxes[0].Button, QMessageBox::Cancel);
    QCOMPARE(Dialogs.Boxes[0].Text, u"Ошибка в строке :3(Exception)"_qs);
    QVERIFY(!window.Table().IsOpen());
    QCOMPARE(GridText(window), QStringList{QString()});
    QCOMPARE(window.StatusText(), u"3"_qs);

    // The window stays usable.
    Open(window, Fixture("no_header.txt"));
    QVERIFY(window.Table().IsOpen());
}

void TestOpenCommand::imageBecomesGreyTableAndPicture()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"photo.PNG"_qs);
    QImage grey(3, 2, QImage::Format_Grayscale8);
    const uchar levels[2][3] = {{0, 128, 255}, {10, 20, 30}};
    for (int y = 0; y < 2; ++y)
        std::copy(levels[y], levels[y] + 3, grey.scanLine(y));
    QVERIFY(grey.save(path, "PNG"));

    Tfm_main window(Dialogs);
    Open(window, path);
    QVERIFY(Dialogs.Boxes.isEmpty());
    QCOMPARE(GridText(window), (QStringList{u"V0000|V0001|V0002"_qs, u"0|128|255"_qs,
                                            u"10|20|30"_qs}));
    const QImage shown = Control<TResultImage>(window, "iResult")->Picture();
    QCOMPARE(shown.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            QCOMPARE(shown.pixel(x, y), qRgb(levels[y][x], levels[y][x], levels[y][x]));
    }
    QVERIFY(window.StatusText().isEmpty());
}

void TestOpenCommand::statusShowsTheLineCountsWhileLoading()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"counts.txt"_qs);
    WriteLines(path, "N\tX\n", 250);
    Tfm_main window(Dialogs);
    QSignalSpy status(&window.Runner(), &TCommandRunner::statusText);
    Open(window, path);
    QStringList shown;
    for (const QList<QVariant>& emitted : status)
        shown << emitted.at(0).toString();
    QCOMPARE(shown, (QStringList{u"100"_qs, u"200"_qs, u"251"_qs}));
    QCOMPARE(window.StatusText(), u"251"_qs);
    QCOMPARE(window.Table().RowCount(), 250);
}

void TestOpenCommand::escapeStopsALoadAndClosesTheTable()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"long.txt"_qs);
    WriteLines(path, "N\tX\n", 300000);
    Tfm_main window(Dialogs);
    QVERIFY(RunToEnd(window, [&] {
        window.OpenDataFile(path);
        window.CancelCommand();
    }));
    QVERIFY(Dialogs.Boxes.isEmpty());
    QVERIFY(!window.Table().IsOpen());
    QCOMPARE(Control<QTableView>(window, "DBGrid1")->model()->rowCount(), 0);
}

// A FIFO with no writer blocked the open, and the load could not be stopped.
void TestOpenCommand::fifoIsRefusedAtOnce()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"pipe.txt"_qs);
    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    Tfm_main window(Dialogs);
    Open(window, path);
    QCOMPARE(Dialogs.Boxes.size(), 1);
    QCOMPARE(Dialogs.Boxes[0].Text,
             u"Cannot read file \""_qs + path + u"\": it is a FIFO, not a regular file(EFileError)"_qs);
    QVERIFY(!window.Table().IsOpen());
}

void TestOpenCommand::droppedFileIsOpened()
{
    Tfm_main window(Dialogs);
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(Fixture("no_header.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QVERIFY(RunToEnd(window, [&] { QApplication::sendEvent(&window, &drop); }));
    QVERIFY(Dialogs.OpenRequests.isEmpty());
    QCOMPARE(window.Table().ColumnName(0), std::string("V0000"));
}

void TestOpenCommand::statusBarNamesTheFileAndWarnsAboutTheData()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"weekly.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("N\tco2\n1\t4\n2\t\n3\t5\n7\t\n8\t6\n");
    file.close();
    Tfm_main window(Dialogs);
    Open(window, path);
    auto* warnings = Control<QLabel>(window, "stWarnings");
    QCOMPARE(warnings->text(), u"Warnings: 2 empty cells (read as 0), uneven labels"_qs);
    QCOMPARE(warnings->toolTip(), u"column \"co2\": 2 empty cells, read as 0\n"
                                  u"labels unevenly spaced: steps from 1 to 4"_qs);
    QCOMPARE(window.LoadedFileName(), u"weekly.txt"_qs);
    QCOMPARE(window.windowTitle(), u"Tulvo1d v 1.1"_qs);
    // The values stay as they were read: an empty cell is 0.
    QCOMPARE(window.Table().CellAsNumber(2, 1), 0.0);

    // A clean table clears them; a failed load forgets the file.
    Open(window, Fixture("series.txt"));
    QVERIFY(warnings->text().isEmpty());
    QCOMPARE(window.LoadedFileName(), u"series.txt"_qs);
    Open(window, Fixture("bad_line.txt"));
    QVERIFY(window.LoadedFileName().isEmpty());
}

TULVO_WINDOW_TEST_MAIN(TestOpenCommand)
#include "tst_open_command.moc"
