#include "TestMain.h"

#include "ScriptedDialogs.h"
#include "app/MainWindow.h"
#include "canvas/DrawPoints.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 516, 516) << "";
        QTest::newRow("List1") << "List1" << QRect(528, 0, 105, 292) << "";
        QTest::newRow("Command1") << "Command1" << QRect(528, 312, 129, 25) << "CALCULATE(LSM)";
        QTest::newRow("Command4") << "Command4" << QRect(528, 344, 129, 25) << "CORRECT";
        QTest::newRow("Command2") << "Command2" << QRect(528, 376, 129, 25) << "PARAMETER STORE";
        QTest::newRow("ProgressBar2") << "ProgressBar2" << QRect(528, 408, 129, 9) << "";
        QTest::newRow("Label1") << "Label1" << QRect(520, 432, 49, 17) << "Order=";
        QTest::newRow("Text1") << "Text1" << QRect(560, 432, 33, 18) << " 4";
        QTest::newRow("Command3") << "Command3" << QRect(528, 520, 121, 25) << "Vertical Average";
        QTest::newRow("Command5") << "Command5" << QRect(592, 544, 57, 25) << "Save";
        QTest::newRow("Label3") << "Label3" << QRect(208, 528, 129, 25) << "Ver 2.1 (03/07/19)";
        QTest::newRow("Frame1") << "Frame1" << QRect(8, 520, 185, 81) << "width measure ";
        QTest::newRow("Option3") << "Option3" << QRect(16, 16, 129, 17) << "Image correction";
        QTest::newRow("Option1") << "Option1" << QRect(16, 32, 113, 17) << "Line 1";
        QTest::newRow("Option2") << "Option2" << QRect(88, 32, 57, 17) << "Line 2";
        QTest::newRow("Label2") << "Label2" << QRect(16, 56, 153, 17) << "Line2 - Line1 = ";
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        auto* widget = window.findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(captionOf(widget), caption);
    }

    void windowFrame() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.show();
        QCOMPARE(window.objectName(), QStringLiteral("Mian1"));
        QCOMPARE(window.windowTitle(), QStringLiteral("EBSP correction "));
        QCOMPARE(window.centralWidget()->size(), QSize(674, 611));
        QCOMPARE(window.centralWidget()->y(), window.menuBar()->height());
        QCOMPARE(window.minimumSize(), window.maximumSize()); // fixed size
        QCOMPARE(window.width(), 674);
    }

    void menu() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus[0]->text(), QStringLiteral("Image"));
        QStringList items;
        for (QAction* a : menus[0]->menu()->actions())
            items << a->objectName() + "=" + a->text();
        QCOMPARE(items, QStringList({"ImageLoad=LOAD", "ImageSave=SAVE", "Imageclear=CLEAR"}));
    }

    void startUpState() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const WindowState& s = window.state();
        QCOMPARE(s.Px, defaultPx());
        QCOMPARE(s.Py, defaultPy());
        QCOMPARE(s.NData, std::int16_t(8));
        QCOMPARE(s.Order, std::int16_t(4));
        QCOMPARE(s.Dragging, std::int16_t(0));
        QVERIFY(s.FilePath.isEmpty());
        QVERIFY(window.findChild<QRadioButton*>("Option3")->isChecked());
        QCOMPARE(window.findChild<QListWidget*>("List1")->count(), 0);
        auto* progress = window.findChild<QProgressBar*>("ProgressBar2");
        QCOMPARE(progress->value(), progress->minimum());

        // The start-up overlay is drawn persistently, into the image layer.
        const Canvas& canvas = window.canvas();
        QVERIFY(canvas.persistent());
        QVERIFY(canvas.overlayIsEmpty());
        QCOMPARE(canvas.pixel(256, 250), colours::Red);
        QCOMPARE(canvas.pixel(300, 200), colours::Green);
        QCOMPARE(canvas.scale().y1, 512.0);
    }

    void optionButtonsAreExclusive() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        auto* line1 = window.findChild<QRadioButton*>("Option1");
        line1->click();
        QVERIFY(!window.findChild<QRadioButton*>("Option3")->isChecked());
        QCOMPARE(window.mode(), CanvasMode::Line1);
        window.findChild<QRadioButton*>("Option2")->click();
        QVERIFY(!line1->isChecked());
        QCOMPARE(window.mode(), CanvasMode::Line2);
    }

    void orderBoxConvertsEveryChange_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("order");
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("3.5") << "3.5" << 4;
        QTest::newRow("2.5") << "2.5" << 2;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("12abc") << "12abc" << 12;
        QTest::newRow("too large") << "99999" << 32767;
    }
    void orderBoxConvertsEveryChange() {
        QFETCH(QString, typed);
        QFETCH(int, order);
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        auto* box = window.findChild<QLineEdit*>("Text1");
        box->clear();
        QTest::keyClicks(box, typed);
        QCOMPARE(int(window.state().Order), order);
    }

    void shortcutsAndToolTips() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        QCOMPARE(window.findChild<QAction*>("ImageLoad")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(window.findChild<QAction*>("ImageSave")->shortcut(), QKeySequence("Ctrl+S"));
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5",
                                 "Text1", "Option1", "Option2", "Option3"})
            QVERIFY2(!window.findChild<QWidget*>(name)->toolTip().isEmpty(), name);
    }

    void clearDoesNothing() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        const QImage before = window.canvas().image();
        window.findChild<QAction*>("Imageclear")->trigger();
        QCOMPARE(window.canvas().image(), before);
        QVERIFY(dialogs.fileRequests.isEmpty());
        QVERIFY(dialogs.warnings.isEmpty());
    }

private:
    static QString captionOf(QWidget* widget) {
        if (auto* b = qobject_cast<QAbstractButton*>(widget))
            return b->text();
        if (auto* l = qobject_cast<QLabel*>(widget))
            return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(widget))
            return e->text();
        if (auto* g = qobject_cast<QGroupBox*>(widget))
            return g->title();
        return QString();
    }
};

ROWSHIFT_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
