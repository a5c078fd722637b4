// The main window's start-up state and the rules that tie its parameter controls together.

#include "tests/app/answering_dialogs.h"
#include "app/radio_group.h"
#include "app/spin_edit.h"
#include "front/parameter_texts.h"
#include "tests/app/window_driver.h"

#include <QAction>
#include <QCheckBox>
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QToolBar>

namespace {
const QStringList kAllStepKinds = {u"Линейный"_qs, u"Квадратичный"_qs, u"Логарифмический"_qs};

QString Regional(const char* number)
{
    return QString::fromLatin1(number).replace(u'.', QLocale::system().decimalPoint());
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

private slots:
    void startsWithTheDefaults();
    void toolbarHoldsTheCommandsInOrder();
    void minimumScaleOfZeroDropsTheLogarithmicStep();
    void impossibleScaleRangeTurnsTheBoxesRed_data();
    void impossibleScaleRangeTurnsTheBoxesRed();
    void pageKeysStepByThirtyWithinTheRange_data();
    void pageKeysStepByThirtyWithinTheRange();
    void spinEditsCannotBeTypedInto();
    void waveletChoiceSwitchesFramesAndKeepsTheirTexts();
    void formHoldsTheParameterSchema();
    void captionsAreWholeAndNothingOverlapsAtTheMinimumSize();
};

void TestMainWindow::startsWithTheDefaults()
{
    Tfm_main window(Dialogs);
    QCOMPARE(window.windowTitle(), u"Tulvo1d v 1.1"_qs);

    auto* steps = Control<TRadioGroup>(window, "rg_steptp");
    QCOMPARE(steps->Items(), kAllStepKinds);
    QCOMPARE(steps->Columns(), 3);
    QCOMPARE(steps->ItemIndex(), 2);
    QCOMPARE(Control<TRadioGroup>(window, "rg_phase")->ItemIndex(), 0);

    QCOMPARE(Control<TSpinEdit>(window, "teWaveMaxScale")->value(), 100);
    QCOMPARE(Control<TSpinEdit>(window, "teWaveMinScale")->value(), 1);
    QCOMPARE(Control<TSpinEdit>(window, "teNumSteps")->value(), 100);
    QVERIFY(!Control<TSpinEdit>(window, "teWaveMaxScale")->Warning());
    QVERIFY(!Control<TSpinEdit>(window, "teWaveMinScale")->Warning());

    QCOMPARE(Control<QComboBox>(window, "cbWavelet")->currentText(), u"1.Gaussian"_qs);
    QVERIFY(Control<QLineEdit>(window, "wvAlpha")->isVisibleTo(&window));
    QVERIFY(!Control<QLineEdit>(window, "wvK0")->isVisibleTo(&window));
    QCOMPARE(Control<QLineEdit>(window, "wvAlpha")->text(), Regional("1.25"));
    QCOMPARE(window.Parameters().ReadAlpha(), 1.25);

    QVERIFY(Control<QCheckBox>(window, "cb_mscale")->isChecked());
    QVERIFY(!Control<QCheckBox>(window, "cbGaussZ")->isChecked());
    QVERIFY(!(Control<QCheckBox>(window, "cbGaussZ")->focusPolicy() & Qt::TabFocus));
    QCOMPARE(Control<QComboBox>(window, "cb_palette")->currentIndex(), 0);
    QCOMPARE(Control<QComboBox>(window, "cb_numcolors")->currentText(), u"16 цветов"_qs);

    QCOMPARE(Control<QTabWidget>(window, "page")->currentWidget()->objectName(), u"tsParams"_qs);
    QCOMPARE(window.focusWidget(), Control<QComboBox>(window, "cbWavelet"));
    // Three quarters of the screen, unless that is below the size at which nothing overlaps.
    const QSize screen = window.screen()->geometry().size();
    QCOMPARE(window.size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4)
                                .expandedTo(window.minimumSize()));
    QVERIFY(!window.Table().IsOpen());
    QVERIFY(window.StatusText().isEmpty());
}

void TestMainWindow::toolbarHoldsTheCommandsInOrder()
{
    Tfm_main window(Dialogs);
    QStringList hints;
    for (QAction* action : Control<QToolBar>(window, "ToolBar1")->actions()) {
        if (!action->isSeparator() && !action->toolTip().isEmpty() && !action->icon().isNull())
            hints << action->toolTip();
    }
    QCOMPARE(hints, (QStringList{u"Open file"_qs, u"1D transform"_qs, u"2D transform"_qs,
                                 u"Save"_qs, u"Information"_qs}));
}

void TestMainWindow::minimumScaleOfZeroDropsTheLogarithmicStep()
{
    Tfm_main window(Dialogs);
    auto* minScale = Control<TSpinEdit>(window, "teWaveMinScale");
    auto* steps = Control<TRadioGroup>(window, "rg_steptp");

    minScale->setValue(0);
    QCOMPARE(steps->Items(), kAllStepKinds.mid(0, 2));
    QCOMPARE(steps->Columns(), 2);
    QCOMPARE(steps->ItemIndex(), 1);

    // The logarithmic choice does not come back by itself.
    minScale->setValue(1);
    QCOMPARE(steps->Items(), kAllStepKinds);
    QCOMPARE(steps->Columns(), 3);
    QCOMPARE(steps->ItemIndex(), 1);

    // A linear choice survives both rebuilds.
    steps->setItemIndex(0);
    minScale->setValue(-5);
    minScale->setValue(2);
    QCOMPARE(steps->ItemIndex(), 0);
}

void TestMainWindow::impossibleScaleRangeTurnsTheBoxesRed_data()
{
    QTest::addColumn<int>("maxScale");
    QTest::addColumn<int>("minScale");
    QTest::addColumn<bool>("red");
    QTest::newRow("max below min") << 5 << 6 << true;
    QTest::newRow("equal") << 6 << 6 << false;
    QTest::newRow("negative minimum") << 1 << -10000 << false;
}

void TestMainWindow::impossibleScaleRangeTurnsTheBoxesRed()
{
    QFETCH(int, maxScale);
    QFETCH(int, minScale);
    QFETCH(bool, red);
    Tfm_main window(Dialogs);
    auto* maxEdit = Control<TSpinEdit>(window, "teWaveMaxScale");
    auto* minEdit = Control<TSpinEdit>(window, "teWaveMinScale");
    minEdit->setValue(minScale);
    maxEdit->setValue(maxScale);
    QCOMPARE(maxEdit->Warning(), red);
    QCOMPARE(minEdit->Warning(), red);
    QCOMPARE(maxEdit->palette().color(QPalette::Base) == QColor(Qt::red), red);
}

void TestMainWindow::pageKeysStepByThirtyWithinTheRange_data()
{
    QTest::addColumn<QString>("editName");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("up to the top") << u"teWaveMaxScale"_qs << 99990 << int(Qt::Key_PageUp) << 100000;
    QTest::newRow("up by 30") << u"teWaveMaxScale"_qs << 100 << int(Qt::Key_PageUp) << 130;
    QTest::newRow("down to the bottom") << u"teNumSteps"_qs << 40 << int(Qt::Key_PageDown) << 30;
    QTest::newRow("down below zero") << u"teWaveMinScale"_qs << 10 << int(Qt::Key_PageDown) << -20;
    QTest::newRow("arrow steps by 1") << u"teNumSteps"_qs << 40 << int(Qt::Key_Up) << 41;
}

void TestMainWindow::pageKeysStepByThirtyWithinTheRange()
{
    QFETCH(QString, editName);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    Tfm_main window(Dialogs);
    auto* edit = Control<TSpinEdit>(window, editName.toLatin1().constData());
    edit->setValue(start);
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(edit->value(), expected);
}

void TestMainWindow::spinEditsCannotBeTypedInto()
{
    Tfm_main window(Dialogs);
    auto* edit = Control<TSpinEdit>(window, "teNumSteps");
    QTest::keyClicks(edit, "5");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->value(), 100);
}

void TestMainWindow::waveletChoiceSwitchesFramesAndKeepsTheirTexts()
{
    Tfm_main window(Dialogs);
    auto* wavelet = Control<QComboBox>(window, "cbWavelet");
    auto* alpha = Control<QLineEdit>(window, "wvAlpha");
    alpha->setText(Regional("2.5"));

    wavelet->setCurrentIndex(1);
    QVERIFY(!alpha->isVisibleTo(&window));
    QVERIFY(Control<QLineEdit>(window, "wvK0")->isVisibleTo(&window));
    QCOMPARE(Control<QLineEdit>(window, "wvK0")->text(), u"6"_qs);
    QCOMPARE(Control<QLineEdit>(window, "wvSIGMA")->text(), u"1"_qs);
    QCOMPARE(window.Parameters().WaveletKind(), wkMorlet);

    wavelet->setCurrentIndex(0);
    QVERIFY(alpha->isVisibleTo(&window));
    QVERIFY(!Control<QLineEdit>(window, "wvK0")->isVisibleTo(&window));
    QCOMPARE(alpha->text(), Regional("2.5"));
    QCOMPARE(window.Parameters().ReadAlpha(), 2.5);
}

// Ranges, choices and defaults live once, in the schema; the form must offer exactly those,
// and the window's reads must give the defaults at start-up.
void TestMainWindow::formHoldsTheParameterSchema()
{
    Tfm_main window(Dialogs);
    const TAnalysisParams defaults;
    for (const TParamField field : kAllParamFields) {
        const TFieldTexts& texts = TextsOf(field);
        const TFieldRange& range = FieldRange(field);
        const QString name = QString::fromStdString(texts.Widget);
        QCOMPARE(window.Parameters().Read(field), FieldValue(defaults, field));
        if (auto* spin = window.findChild<QSpinBox*>(name)) {
            QCOMPARE(double(spin->minimum()), range.Min);
            QCOMPARE(double(spin->maximum()), range.Max);
        }
        QStringList captions;
        for (const std::string& caption : texts.Captions)
            captions << QString::fromStdString(caption);
        if (auto* combo = window.findChild<QComboBox*>(name)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QCOMPARE(items, captions);
        }
        if (auto* group = window.findChild<TRadioGroup*>(name))
            QCOMPARE(group->Items(), captions);
        if (range.Type == TFieldType::Choice)
            QCOMPARE(double(captions.size() - 1), range.Max);
    }
}

void TestMainWindow::captionsAreWholeAndNothingOverlapsAtTheMinimumSize()
{
    Tfm_main window(Dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(window.minimumSize() - QSize(100, 100)); // refused: stays at the minimum
    QCOMPARE(window.size(), window.minimumSize());
    QTest::qWait(20);

    auto* controls = Control<QWidget>(window, "pnParamControls");
    const QRect wavelets = Control<QWidget>(window, "pnWvParams")->geometry();
    for (QWidget* control : controls->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect placed(control->mapTo(controls->parentWidget(), QPoint()), control->size());
        QVERIFY2(!placed.intersects(wavelets), qPrintable(control->objectName()));
        for (QWidget* other : controls->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(other == control || !other->geometry().intersects(control->geometry()),
                     qPrintable(control->objectName() + u" and "_qs + other->objectName()));
        QVERIFY2(controls->rect().contains(control->geometry()), qPrintable(control->objectName()));
    }
    for (QAbstractButton* item : controls->findChildren<QAbstractButton*>())
        QVERIFY2(item->width() >= item->sizeHint().width() &&
                     item->height() >= item->minimumSizeHint().height(),
                 qPrintable(QStringLiteral("%1: %2 x %3, needs %4 x %5")
                                .arg(item->text())
                                .arg(item->width())
                                .arg(item->height())
                                .arg(item->sizeHint().width())
                                .arg(item->minimumSizeHint().height())));
}

TULVO_WINDOW_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
