// The missing-data message and the About window: their texts, their buttons
// and keys, and closing by a click on the message's own background but not
// on its panels.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "ui/about_window.h"
#include "ui/missing_data_window.h"

class MessageWindowsTest : public QObject {
    Q_OBJECT

private:
    static void show(TForm7& window, const QString& symbol) {
        window.showMissingData(symbol);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

private Q_SLOTS:
    void showsTheSymbolWithItsLeadingBlankAndFocusesOk() {
        TForm7 window;
        show(window, QStringLiteral(" Q"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Fehlende Daten"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" Q"));
        QCOMPARE(window.findChild<QTextEdit*>(QStringLiteral("Memo1"))->toPlainText(),
                 QStringLiteral("\nDie Daten zu diesem Element fehlen!\n\n"));
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("Button1"))->hasFocus());
        QCOMPARE(window.size(), QSize(303, 134));
    }

    void okCloses() {
        TForm7 window;
        show(window, QStringLiteral("Xx"));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    void returnEnterAndEscapePressTheButton() {
        TForm7 missingData;
        TForm10 about;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            show(missingData, QStringLiteral("Xx"));
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!missingData.isVisible());
            about.showInFront();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!about.isVisible());
        }
    }

    void aClickOnTheBackgroundClosesButNotOnAPanel() {
        TForm7 window;
        show(window, QStringLiteral("Xx"));
        auto* panel = window.findChild<QFrame*>(QStringLiteral("Panel1"));
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(120, 75));
        QVERIFY(window.isVisible());
        QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(MessageWindowsTest)
#include "message_windows_test.moc"
