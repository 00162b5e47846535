// A long random session: thousands of presses, moves, releases, order-box
// texts, key strokes, mode changes, button clicks and menu items sent to the
// window, with file dialogs that answer good names, cancel, or name files
// that cannot be read or written. Nothing may crash; afterwards the window
// state is within its ranges and every file in the scratch folder is whole.
//
// The session is seeded: ROWSHIFT_RANDOM_SEED picks another seed and
// ROWSHIFT_RANDOM_EVENTS another length; a failure names both, and the last
// events before it, so it can be replayed.

#include "TestMain.h"

#include "TestFiles.h"

#include "app/CanvasInteraction.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/OrderText.h"
#include "io/ShiftTableReader.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <deque>

namespace {

constexpr quint32 DefaultSeed = 20240611;
constexpr int DefaultEvents = 10000;

int fromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

template <typename T> const T& pick(QRandomGenerator& random, const QList<T>& list) {
    return list[random.bounded(int(list.size()))];
}

// The scratch folder's files before the session: pictures that load, and
// files that do not.
QMap<QString, QByteArray> startingFiles() {
    auto bmp = [](QImage image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    };
    QImage band(512, 512, QImage::Format_RGB32);
    band.fill(Qt::white);
    for (int row = 0; row < 512; ++row) {
        const int centre = 300 + (row - 256) * (row - 256) / 2000;
        for (int column = centre - 3; column <= centre + 3; ++column)
            band.setPixel(column, row, qRgb(0, 0, 0));
    }
    QImage small(100, 80, QImage::Format_RGB32);
    small.fill(qRgb(200, 10, 10));
    QImage wide(700, 300, QImage::Format_RGB32);
    wide.fill(qRgb(10, 10, 200));
    const QByteArray bandBytes = bmp(band);
    return {
        {QStringLiteral("band.bmp"), bandBytes},
        {QStringLiteral("small.bmp"), bmp(small)},
        {QStringLiteral("wide.bmp"), bmp(wide)},
        {QStringLiteral("grey8.bmp"), bmp(band.convertToFormat(QImage::Format_Grayscale8))},
        {QStringLiteral("text.bmp"), QByteArray("not an image\n")},
        {QStringLiteral("empty.bmp"), QByteArray("")},
        {QStringLiteral("short.bmp"), bandBytes.left(5000)},
    };
}

// File dialogs that answer at random: cancel, a name in the scratch folder
// (good or bad), a folder, a missing folder, a full disk, or a file that
// vanishes between the choice and its use.
class RandomDialogs : public Dialogs {
public:
    RandomDialogs(QRandomGenerator& random, const QString& folder)
        : m_random(random), m_folder(folder) {}

    QString openFileName(const QString&, const QString&) override {
        const int roll = m_random.bounded(10);
        if (roll < 2)
            return {};
        if (roll < 3)
            return vanishing();
        if (roll < 4)
            return answer(pick(m_random, failingNames()));
        return answer(pick(m_random, QDir(m_folder).entryList(QDir::Files)));
    }
    QString saveFileName(const QString&, const QString&) override {
        const int roll = m_random.bounded(10);
        if (roll < 2)
            return {};
        if (roll < 4)
            return answer(pick(m_random, failingNames()));
        return answer(pick(m_random, m_saveNames));
    }
    void warning(const QString& title, const QString& text) override {
        ++warnings;
        if (title.isEmpty() || text.isEmpty())
            ++emptyWarnings;
    }

    int warnings = 0;
    int emptyWarnings = 0;

private:
    QString answer(const QString& name) {
        return name.startsWith(QLatin1Char('/')) ? name : QDir(m_folder).filePath(name);
    }
    QStringList failingNames() const {
        return {QStringLiteral("folder"), QStringLiteral("missing/out.bmp"),
                QStringLiteral("/dev/full")};
    }
    QString vanishing() {
        const QString name = answer(QStringLiteral("vanishing.bmp"));
        QFile::copy(answer(QStringLiteral("small.bmp")), name);
        QFile::remove(name);
        return name;
    }

    QRandomGenerator& m_random;
    QString m_folder;
    const QStringList m_saveNames{QStringLiteral("out.bmp"),     QStringLiteral("table.txt"),
                                  QStringLiteral("profile.txt"), QStringLiteral("band.bmp"),
                                  QStringLiteral("text.bmp"),    QStringLiteral("small.bmp")};
};

bool isProfileText(const QByteArray& bytes) {
    if (!bytes.endsWith("\r\n"))
        return false;
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    if (lines.size() != 510)
        return false;
    static const QRegularExpression line(QStringLiteral("^(\\d+),\\d+(\\.\\d+)?\\r$"));
    for (int i = 0; i < 510; ++i) {
        const auto match = line.match(QString::fromLatin1(lines[i] + (i < 509 ? "" : "\r")));
        if (!match.hasMatch() || match.captured(1).toInt() != i + 1)
            return false;
    }
    return true;
}

// A file is whole when it holds what it held before the session, or a
// complete product of one of the saves.
bool isWhole(const QByteArray& bytes, const QMap<QString, QByteArray>& before) {
    if (std::find(before.begin(), before.end(), bytes) != before.end())
        return true;
    if (parseShiftTable(bytes).ok() || isProfileText(bytes))
        return true;
    const QImage image = QImage::fromData(bytes, "BMP");
    return bytes.size() == 54 + 512 * 512 * 3 && image.size() == QSize(512, 512);
}

} // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        m_seed = quint32(fromEnvironment("ROWSHIFT_RANDOM_SEED", int(DefaultSeed)));
        m_events = fromEnvironment("ROWSHIFT_RANDOM_EVENTS", DefaultEvents);
        qInfo("seed %u, %d events", m_seed, m_events);
    }

    void staysSoundThroughoutARandomSession() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QMap<QString, QByteArray> before = startingFiles();
        for (auto file = before.begin(); file != before.end(); ++file) {
            QFile out(dir.filePath(file.key()));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file.value());
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        // Any name used relative to the working folder would land here too.
        const QString workingFolder = QDir::currentPath();
        QDir::setCurrent(dir.path());

        QRandomGenerator random(m_seed);
        RandomDialogs dialogs(random, dir.path());
        MainWindow window(dialogs);
        m_window = &window;
        m_view = window.findChild<QWidget*>(QStringLiteral("Picture1"));
        m_random = &random;

        for (m_step = 0; m_step < m_events; ++m_step) {
            randomEvent();
            const WindowState& state = window.state();
            if (state.Dragging != 0 && state.Dragging != 1)
                fail("Dragging out of range");
            if (state.DragIndex < 0 || state.DragIndex > 9)
                fail("DragIndex out of range");
            if (QTest::currentTestFailed())
                break;
        }
        QDir::setCurrent(workingFolder);
        QCOMPARE(dialogs.emptyWarnings, 0);
        qInfo("%d warnings shown", dialogs.warnings);

        checkWindowState();
        checkFiles(dir.path(), before);
    }

private:
    void fail(const char* what) {
        QString recent;
        for (const QString& event : m_recent)
            recent += QStringLiteral("\n  ") + event;
        QFAIL(qPrintable(QStringLiteral("%1 after event %2 (seed %3); the last events:%4")
                             .arg(QLatin1String(what))
                             .arg(m_step)
                             .arg(m_seed)
                             .arg(recent)));
    }

    void note(const QString& event) {
        m_recent.push_back(event);
        if (m_recent.size() > 12)
            m_recent.pop_front();
    }

    // Mostly on the drawing area, sometimes far outside it, as a drag can go.
    QPointF randomPosition() {
        QRandomGenerator& random = *m_random;
        if (random.bounded(8) == 0)
            return QPointF(random.bounded(3000.0) - 1500, random.bounded(3000.0) - 1500);
        return QPointF(random.bounded(520.0), random.bounded(520.0));
    }

    void sendMouse(QEvent::Type type) {
        static const QList<Qt::MouseButton> buttons{Qt::LeftButton, Qt::RightButton,
                                                    Qt::MiddleButton};
        const Qt::MouseButton button = pick(*m_random, buttons);
        const QPointF local = randomPosition();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove && m_random->bounded(4) == 0
                                          ? Qt::NoButton
                                          : Qt::MouseButtons(button);
        const Qt::KeyboardModifiers modifiers(m_random->bounded(2) ? Qt::ShiftModifier
                                                                   : Qt::NoModifier);
        QMouseEvent event(type, local, m_view->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        note(QStringLiteral("mouse %1 at (%2, %3)").arg(int(type)).arg(local.x()).arg(local.y()));
        QApplication::sendEvent(m_view, &event);
    }

    void typeOrderText() {
        static const QStringList texts{
            QStringLiteral(" 4"),  QStringLiteral("0"),       QStringLiteral("1"),
            QStringLiteral("2"),   QStringLiteral("3"),       QStringLiteral("5"),
            QStringLiteral("6"),   QStringLiteral("7"),       QStringLiteral("-1"),
            QStringLiteral("abc"), QStringLiteral("1e9"),     QStringLiteral("-1e9"),
            QStringLiteral("3.5"), QStringLiteral("2.5"),     QString(),
            QStringLiteral("6  "), QStringLiteral("1e99999"), QStringLiteral("\u0663"),
        };
        auto* box = m_window->findChild<QLineEdit*>(QStringLiteral("Text1"));
        if (m_random->bounded(3) == 0) {
            static const QList<int> keys{Qt::Key_0,         Qt::Key_3,      Qt::Key_5,
                                         Qt::Key_Minus,     Qt::Key_Period, Qt::Key_E,
                                         Qt::Key_Backspace, Qt::Key_Space,  Qt::Key_X};
            const int key = pick(*m_random, keys);
            note(QStringLiteral("key %1 in the order box").arg(key));
            QTest::keyClick(box, Qt::Key(key));
            return;
        }
        const QString text = pick(*m_random, texts);
        note(QStringLiteral("order box \"%1\"").arg(text));
        box->setText(text);
    }

    void click(const char* name) {
        note(QLatin1String(name));
        if (auto* action = m_window->findChild<QAction*>(QLatin1String(name)))
            action->trigger();
        else
            m_window->findChild<QAbstractButton*>(QLatin1String(name))->click();
    }

    void randomEvent() {
        const int roll = m_random->bounded(100);
        if (roll < 20)
            sendMouse(QEvent::MouseButtonPress);
        else if (roll < 55)
            sendMouse(QEvent::MouseMove);
        else if (roll < 70)
            sendMouse(QEvent::MouseButtonRelease);
        else if (roll < 76)
            typeOrderText();
        else if (roll < 82)
            click(pick(*m_random, QList<const char*>{"Option1", "Option2", "Option3"}));
        else if (roll < 88)
            click("Command1"); // CALCULATE(LSM)
        else {
            static const QList<const char*> rarer{"Command4",  "Command2",  "Command3",  "Command5",
                                                  "ImageLoad", "ImageSave", "Imageclear"};
            click(pick(*m_random, rarer));
        }
    }

    void checkWindowState() {
        const WindowState& state = m_window->state();
        for (int i = 0; i < 10; ++i)
            QVERIFY(std::isfinite(state.Px[i]) && std::isfinite(state.Py[i]));
        for (int i = 1; i <= 8; ++i)
            QVERIFY(std::isfinite(state.FitPos[i]) && std::isfinite(state.FitDev[i]));
        for (float c : state.Coef)
            QVERIFY(std::isfinite(c));
        QCOMPARE(state.NData, std::int16_t(8));
        // Normalised shifts are never negative (the smallest is 0, or more
        // when every raw shift exceeded 1000).
        QVERIFY(std::all_of(state.RowShift.begin(), state.RowShift.end(),
                            [](std::int16_t shift) { return shift >= 0; }));
        for (float p : state.Profile)
            QVERIFY(std::isfinite(p) && p >= 0 && p <= 510 * 256);
        QVERIFY(state.Dragging == 0 || state.Dragging == 1);
        QVERIFY(state.DragIndex >= 0 && state.DragIndex <= 9);

        const QString orderText = m_window->findChild<QLineEdit*>(QStringLiteral("Text1"))->text();
        QCOMPARE(state.Order, orderFromText(orderText));
        const QString caption = m_window->findChild<QLabel*>(QStringLiteral("Label2"))->text();
        QVERIFY2(caption == QStringLiteral("Line2 - Line1 = ") ||
                     caption == widthCaption(state.Line1X, state.Line2X),
                 qPrintable(caption));
        const int listed = m_window->findChild<QListWidget*>(QStringLiteral("List1"))->count();
        QVERIFY(listed == 0 || listed == 512);
        const auto* bar = m_window->findChild<QProgressBar*>(QStringLiteral("ProgressBar2"));
        QVERIFY(bar->value() >= bar->minimum() && bar->value() <= bar->maximum());

        const Canvas& canvas = m_window->canvas();
        QCOMPARE(canvas.imageLayer().size(), QSize(512, 512));
        QCOMPARE(canvas.imageLayer().format(), QImage::Format_RGB32);
        QCOMPARE(canvas.overlay().size(), QSize(512, 512));
        QVERIFY(canvas.scale().y1 == 511.0 || canvas.scale().y1 == 512.0);
    }

    void checkFiles(const QString& folder, const QMap<QString, QByteArray>& before) {
        QStringList expected = before.keys();
        expected << QStringLiteral("folder") << QStringLiteral("out.bmp")
                 << QStringLiteral("table.txt") << QStringLiteral("profile.txt");
        const QStringList entries =
            QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& entry : entries) {
            QVERIFY2(expected.contains(entry), qPrintable(entry)); // no litter
            if (entry != QLatin1String("folder"))
                QVERIFY2(isWhole(contentsOf(QDir(folder).filePath(entry)), before),
                         qPrintable(entry));
        }
        QVERIFY(QDir(QDir(folder).filePath(QStringLiteral("folder"))).isEmpty());
        QVERIFY(!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("missing"))));
        QVERIFY(QFileInfo::exists(QStringLiteral("/dev/full")));
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile()); // still the device
    }

    quint32 m_seed = DefaultSeed;
    int m_events = DefaultEvents;
    int m_step = 0;
    MainWindow* m_window = nullptr;
    QWidget* m_view = nullptr;
    QRandomGenerator* m_random = nullptr;
    std::deque<QString> m_recent;
};

ROWSHIFT_TEST_MAIN(RandomSessionTest)
#include "tst_randomsession.moc"
