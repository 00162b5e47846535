// Fault injection through the window: files that cannot be loaded and
// destinations that cannot be written, each ending in one clear message,
// with the canvas as it was and every existing file keeping its old bytes.
// (The plainer cases, such as text named .bmp, an empty file, a folder's
// name or a missing folder as destination, are in tst_windowfiles.)

#include "TestMain.h"

#include "BmpFixtures.h"
#include "FileSizeLimit.h"
#include "OrdinaryUser.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include "app/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Scripted dialogs that can do something to the disk between the user's
// choice and the window's use of it.
class MeddlingDialogs : public ScriptedDialogs {
public:
    std::function<void(const QString&)> afterChoice;

    QString openFileName(const QString& proposedName, const QString& filter) override {
        return meddle(ScriptedDialogs::openFileName(proposedName, filter));
    }
    QString saveFileName(const QString& proposedName, const QString& filter) override {
        return meddle(ScriptedDialogs::saveFileName(proposedName, filter));
    }

private:
    QString meddle(const QString& chosen) {
        if (afterChoice)
            afterChoice(chosen);
        return chosen;
    }
};

// The fixture: a window with meddling dialogs, a scratch folder holding a
// loaded picture, and a helper to run one file operation.
struct Session {
    MeddlingDialogs dialogs;
    MainWindow window{dialogs};
    QTemporaryDir dir;

    Session() {
        QImage picture(512, 512, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString name = dir.filePath(QStringLiteral("picture.bmp"));
        picture.save(name, "BMP");
        run("ImageLoad", name);
        dialogs.warnings.clear();
    }

    // "ImageLoad", "ImageSave" (menu items) or "Command2", "Command5" (buttons).
    void run(const QString& operation, const QString& answer) {
        dialogs.fileAnswers = {answer};
        const QByteArray name = operation.toLatin1();
        if (operation.startsWith(QLatin1String("Image")))
            window.findChild<QAction*>(name.constData())->trigger();
        else
            window.findChild<QPushButton*>(name.constData())->click();
    }
};

enum class LoadFault { Folder, HugeHeader, CutShort, RemovedAfterChoice, NoReadPermission };
enum class WriteFault { DiskFullPartWay, ReadOnlyFolder, ReadOnlyFile };

} // namespace

Q_DECLARE_METATYPE(LoadFault)
Q_DECLARE_METATYPE(WriteFault)

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void loadFaultsLeaveTheCanvasAlone_data() {
        QTest::addColumn<LoadFault>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("a folder") << LoadFault::Folder << "is a folder";
        QTest::newRow("header claims 100000 x 100000")
            << LoadFault::HugeHeader << "100000 x 100000 pixels";
        QTest::newRow("pixels cut short") << LoadFault::CutShort << "is cut short";
        QTest::newRow("removed between dialog and read")
            << LoadFault::RemovedAfterChoice << "does not exist";
        QTest::newRow("no read permission") << LoadFault::NoReadPermission << "cannot be read";
    }
    void loadFaultsLeaveTheCanvasAlone() {
        QFETCH(LoadFault, fault);
        QFETCH(QString, message);
        Session s;
        const QString name = s.dir.filePath(QStringLiteral("input.bmp"));
        switch (fault) {
        case LoadFault::Folder:
            QVERIFY(QDir(s.dir.path()).mkdir(QStringLiteral("input.bmp")));
            break;
        case LoadFault::HugeHeader:
            writePlainly(name, bmpHeaderClaiming(100000, 100000));
            break;
        case LoadFault::CutShort:
            writePlainly(name, bmpHeaderClaiming(300, 300));
            break;
        case LoadFault::RemovedAfterChoice:
            QVERIFY(QFile::copy(s.dir.filePath(QStringLiteral("picture.bmp")), name));
            s.dialogs.afterChoice = [](const QString& chosen) { QFile::remove(chosen); };
            break;
        case LoadFault::NoReadPermission:
            QVERIFY(QFile::copy(s.dir.filePath(QStringLiteral("picture.bmp")), name));
            QVERIFY(QFile::setPermissions(name, QFileDevice::WriteOwner));
            break;
        }
        const QImage image = s.window.canvas().image();
        {
            OrdinaryUser user({s.dir.path(), name});
            if (!user.bound())
                QSKIP("root, and cannot act as nobody");
            s.run(QStringLiteral("ImageLoad"), name);
        }
        QCOMPARE(s.dialogs.warnings.size(), 1);
        const QString text = s.dialogs.warnings[0].text;
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(name)), qPrintable(text));
        QCOMPARE(s.window.state().FilePath, name);
        QCOMPARE(s.window.canvas().image(), image);
        QCOMPARE(s.window.canvas().scale().y1, 511.0);
        QVERIFY(!s.window.canvas().persistent());
        QVERIFY(!s.window.canvas().overlayIsEmpty()); // the points drawn again
    }

    // Every operation that writes a file, against every way the write can
    // fail once it has started or been let through the first checks.
    void writeFaultsKeepTheOldBytes_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<WriteFault>("fault");
        QTest::addColumn<QString>("reason");
        struct Fault {
            const char* description;
            WriteFault fault;
            const char* reason;
        };
        const Fault faults[]{
            {"disk full part-way", WriteFault::DiskFullPartWay, "File too large"},
            {"read-only folder", WriteFault::ReadOnlyFolder, "Permission denied"},
            {"read-only file", WriteFault::ReadOnlyFile, "is not writable"},
        };
        const QList<QPair<const char*, const char*>> operations{
            {"SAVE", "ImageSave"}, {"PARAMETER STORE", "Command2"}, {"Save", "Command5"}};
        for (const auto& [caption, operation] : operations) {
            for (const Fault& f : faults)
                QTest::addRow("%s, %s", caption, f.description)
                    << QString::fromLatin1(operation) << f.fault << QString::fromLatin1(f.reason);
        }
    }
    void writeFaultsKeepTheOldBytes() {
        QFETCH(QString, operation);
        QFETCH(WriteFault, fault);
        QFETCH(QString, reason);
        Session s;
        const QString folder = s.dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir(s.dir.path()).mkdir(QStringLiteral("out")));
        const QString name = QDir(folder).filePath(QStringLiteral("result"));
        const QByteArray oldBytes("old bytes, which must survive\n");
        writePlainly(name, oldBytes);
        const QString oldFilePath = s.window.state().FilePath;
        {
            OrdinaryUser user({s.dir.path(), folder, name});
            if (!user.bound())
                QSKIP("root, and cannot act as nobody");
            if (fault == WriteFault::ReadOnlyFolder)
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (fault == WriteFault::ReadOnlyFile)
                QFile::setPermissions(name, QFileDevice::ReadOwner);
            // Every export is larger than this; the old file is smaller.
            FileSizeLimit limit(fault == WriteFault::DiskFullPartWay ? 1024 : RLIM_INFINITY);
            QVERIFY(limit.active());
            s.run(operation, name);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
            QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        QCOMPARE(s.dialogs.warnings.size(), 1);
        const QString text = s.dialogs.warnings[0].text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(name)), qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QCOMPARE(contentsOf(name), oldBytes);
        QCOMPARE(entriesOf(folder), QStringList{QStringLiteral("result")}); // no litter
        // SAVE and PARAMETER STORE keep the name the dialog gave; Save does not.
        QCOMPARE(s.window.state().FilePath, operation == "Command5" ? oldFilePath : name);
    }
};

ROWSHIFT_TEST_MAIN(FaultsTest)
#include "tst_faults.moc"
