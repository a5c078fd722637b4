// The About window: a fresh, maximised window on every click, the manual from the program's
// resources with its pictures, and no context menu on the page.

#include "tests/app/answering_dialogs.h"
#include "app/tfm_about.h"
#include "tests/app/window_driver.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>

struct TAboutSeen {
    QPointer<Tfm_About> Window;
    QString Caption;
    bool Maximised = false;
    QString PageText;
    QStringList PictureSizes;
    bool ContextMenuShown = true;
};

class TestAbout : public QObject {
    Q_OBJECT
    TAnsweringDialogs Dialogs;

    // Clicks the About button and looks at the window while it is open, then closes it.
    TAboutSeen ClickAbout(Tfm_main& window)
    {
        TAboutSeen seen;
        QTimer::singleShot(0, this, [&seen] {
            seen.Window = qobject_cast<Tfm_About*>(QApplication::activeModalWidget());
            if (!seen.Window)
                return;
            seen.Caption = seen.Window->windowTitle();
            seen.Maximised = seen.Window->windowState() & Qt::WindowMaximized;
            auto* page = seen.Window->findChild<QTextBrowser*>(u"wb"_qs);
            seen.PageText = page->toPlainText();
            for (const char* name : {"button1.gif", "button2.gif", "button3.gif", "button4.gif",
                                     "button2d.gif"}) {
                const QImage picture = QImage::fromData(
                    page->loadResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name)))
                        .toByteArray());
                seen.PictureSizes << QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height());
            }
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                         page->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(page->viewport(), &rightClick);
            seen.ContextMenuShown = QApplication::activePopupWidget() != nullptr;
            seen.Window->close();
        });
        Control<QAction>(window, "tbAbout")->trigger();
        return seen;
    }

private slots:
    void eachClickOpensAFreshManual();
};

void TestAbout::eachClickOpensAFreshManual()
{
    Tfm_main window(Dialogs);
    window.show();
    for (int click = 0; click < 2; ++click) {
        const TAboutSeen seen = ClickAbout(window);
        QVERIFY(seen.Window.isNull()); // destroyed on close, the next click makes a new one
        QCOMPARE(seen.Caption, u"tulvo 1d 1.1.0.9"_qs);
        QVERIFY(seen.Maximised);
        QVERIFY(seen.PageText.contains(u"tulvo 1d, версия 1.1.0.9"_qs));
        QVERIFY(seen.PageText.contains(u"Подготовка файла данных"_qs));
        QCOMPARE(seen.PictureSizes, QStringList(5, u"23x23"_qs));
        QVERIFY(!seen.ContextMenuShown);
    }
}

TULVO_WINDOW_TEST_MAIN(TestAbout)
#include "tst_about.moc"
