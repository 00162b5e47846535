// Fault injection through the window and rowshift-cli: files that cannot be
// loaded and destinations that cannot be written, each ending in one clear
// message (the window) or an error line and exit status 1 (the tool), with
// the canvas as it was and every existing file keeping its old bytes. (The
// plainer cases, such as text named .bmp, an empty file, a folder's name or
// a missing folder as the window's destination, are in tst_windowfiles; the
// tool's own in tst_cli.)

#include "TestMain.h"

#include "BmpFixtures.h"
#include "CliRunner.h"
#include "FileSizeLimit.h"
#include "OrdinaryUser.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include "app/MainWindow.h"
#include "io/TextExports.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>
#include <optional>

#include <unistd.h>

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
enum class WriteFault { DiskFullPartWay, ReadOnlyFolder, ReadOnlyFile, DevFull, FolderName };

// The tool's inputs, each bad in turn, and what is asked of it.
enum class BadFile { Folder, Bytes, Unreadable }; // Unreadable: bytes, but no read permission
enum class ToolInput { ImageToApply, ImageToProfile, PointsToFit, TableToApply };
enum class ToolOutput { FittedTable, Profile, CorrectedImages };

const QByteArray TenPoints = "256,10\n256,500\n300,32\n300,96\n300,160\n300,224\n"
                             "300,288\n300,352\n300,416\n300,480\n";

// Everything below folder, and folder itself: what nobody is handed.
QStringList everythingIn(const QString& folder) {
    QStringList names{folder};
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    return names;
}

// Whether this process, as it now is, may run the tool with the
// sanitizers' files it is told to read.
bool mayRunTheTool() {
    if (access(ROWSHIFT_CLI_PATH, X_OK) != 0)
        return false;
    const QByteArray options = qgetenv("LSAN_OPTIONS");
    const qsizetype at = options.indexOf("suppressions=");
    if (at < 0)
        return true;
    const QByteArray file = options.mid(at + 13).split(':').constFirst();
    return access(file.constData(), R_OK) == 0;
}

// A scratch folder for the tool: good inputs in in/, an output folder out/.
struct ToolScratch {
    QTemporaryDir dir;

    ToolScratch() {
        QDir(dir.path()).mkpath(QStringLiteral("in"));
        QDir(dir.path()).mkpath(QStringLiteral("out"));
        QImage picture(512, 512, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        picture.save(path("in/a.bmp"), "BMP");
        write(path("in/a.points"), TenPoints);
        write(path("in/a.table"), shiftTableText(std::array<std::int16_t, 512>{}));
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    static void write(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qWarning() << "could not write" << name;
    }
};

// Runs the tool as nobody when this is root; a null result when it cannot.
std::optional<CliRun> runAsOrdinaryUser(const ToolScratch& s, const QStringList& arguments,
                                        const std::function<void()>& beforeRun = {}) {
    OrdinaryUser user(everythingIn(s.dir.path()));
    if (!user.bound() || !mayRunTheTool())
        return std::nullopt;
    if (beforeRun)
        beforeRun();
    return runRowshiftCli(arguments);
}

} // namespace

Q_DECLARE_METATYPE(LoadFault)
Q_DECLARE_METATYPE(WriteFault)
Q_DECLARE_METATYPE(BadFile)
Q_DECLARE_METATYPE(ToolInput)
Q_DECLARE_METATYPE(ToolOutput)

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

    // Every input of the tool that cannot be read ends in an error line
    // naming it, status 1, and nothing written.
    void toolReadFaultsEndInAnErrorLine_data() {
        QTest::addColumn<ToolInput>("input");
        QTest::addColumn<BadFile>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray cutShort = bmpHeaderClaiming(300, 300);
        for (const auto& [name, input] : {std::pair{"apply", ToolInput::ImageToApply},
                                          std::pair{"profile", ToolInput::ImageToProfile}}) {
            QTest::addRow("%s: a folder", name)
                << input << BadFile::Folder << QByteArray() << "is a folder";
            QTest::addRow("%s: an empty file", name)
                << input << BadFile::Bytes << QByteArray("") << "is empty";
            QTest::addRow("%s: pixels cut short", name)
                << input << BadFile::Bytes << cutShort << "is cut short";
            QTest::addRow("%s: header claims 100000 x 100000", name)
                << input << BadFile::Bytes << bmpHeaderClaiming(100000, 100000)
                << "100000 x 100000 pixels";
            QTest::addRow("%s: text named .bmp", name)
                << input << BadFile::Bytes << QByteArray("not an image\n") << "not an image";
            QTest::addRow("%s: no read permission", name)
                << input << BadFile::Unreadable << cutShort << "cannot be read";
        }
        for (const auto& [name, input] : {std::pair{"fit: points", ToolInput::PointsToFit},
                                          std::pair{"apply: table", ToolInput::TableToApply}}) {
            QTest::addRow("%s a folder", name)
                << input << BadFile::Folder << QByteArray() << "is not a file";
            QTest::addRow("%s an empty file", name)
                << input << BadFile::Bytes << QByteArray("") << "Line 1: expected";
            QTest::addRow("%s no read permission", name)
                << input << BadFile::Unreadable << QByteArray("1,2\n") << "Permission denied";
        }
    }
    void toolReadFaultsEndInAnErrorLine() {
        QFETCH(ToolInput, input);
        QFETCH(BadFile, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        ToolScratch s;
        const QString bad = s.path(input == ToolInput::PointsToFit    ? "in/bad.points"
                                   : input == ToolInput::TableToApply ? "in/bad.table"
                                                                      : "in/bad.bmp");
        if (file == BadFile::Folder)
            QVERIFY(QDir().mkdir(bad));
        else
            ToolScratch::write(bad, bytes);
        if (file == BadFile::Unreadable)
            QVERIFY(QFile::setPermissions(bad, QFileDevice::WriteOwner));

        QStringList arguments;
        switch (input) {
        case ToolInput::ImageToApply:
            arguments = {"apply", "--table", s.path("in/a.table"), "-o", s.path("out"), bad};
            break;
        case ToolInput::ImageToProfile:
            arguments = {"profile", bad, "-o", s.path("out/profile.txt")};
            break;
        case ToolInput::PointsToFit:
            arguments = {"fit", "--points", bad, "-o", s.path("out/table.txt")};
            break;
        case ToolInput::TableToApply:
            arguments = {"apply", "--table", bad, "-o", s.path("out"), s.path("in/a.bmp")};
            break;
        }
        const std::optional<CliRun> run = runAsOrdinaryUser(s, arguments);
        if (!run)
            QSKIP("root, and cannot let nobody run the tool here");
        QCOMPARE(run->exitCode, 1);
        QVERIFY2(run->errText().contains(QDir::toNativeSeparators(bad)), run->err.constData());
        QVERIFY2(run->errText().contains(reason), run->err.constData());
        QVERIFY(run->out.isEmpty());
        QCOMPARE(entriesOf(s.path("out")), QStringList());
    }

    // Every output of the tool, against the ways its write can fail: an
    // error line and status 1, and whatever was there keeps its bytes.
    void toolWriteFaultsKeepTheOldBytes_data() {
        QTest::addColumn<ToolOutput>("output");
        QTest::addColumn<WriteFault>("fault");
        QTest::addColumn<QString>("reason");
        for (const auto& [name, output] : {std::pair{"fit -o", ToolOutput::FittedTable},
                                           std::pair{"profile -o", ToolOutput::Profile}}) {
            QTest::addRow("%s, read-only folder", name)
                << output << WriteFault::ReadOnlyFolder << "Permission denied";
            QTest::addRow("%s, read-only file", name)
                << output << WriteFault::ReadOnlyFile << "is not writable";
            QTest::addRow("%s, disk full part-way", name)
                << output << WriteFault::DiskFullPartWay << "File too large";
            QTest::addRow("%s, /dev/full", name)
                << output << WriteFault::DevFull << "not a regular file";
            QTest::addRow("%s, a folder's name", name)
                << output << WriteFault::FolderName << "is a folder";
        }
        // A full disk and an output folder that is a file are in tst_cli.
        QTest::newRow("apply -o, read-only folder")
            << ToolOutput::CorrectedImages << WriteFault::ReadOnlyFolder
            << "cannot write into the output folder";
        QTest::newRow("apply -o, read-only earlier output")
            << ToolOutput::CorrectedImages << WriteFault::ReadOnlyFile << "is not writable";
        QTest::newRow("apply -o, /dev/full")
            << ToolOutput::CorrectedImages << WriteFault::DevFull << "is not a folder";
    }
    void toolWriteFaultsKeepTheOldBytes() {
        QFETCH(ToolOutput, output);
        QFETCH(WriteFault, fault);
        QFETCH(QString, reason);
        ToolScratch s;
        const QByteArray oldBytes("old bytes, which must survive\n");
        // The file a successful run would replace.
        const QString old =
            s.path(output == ToolOutput::CorrectedImages ? "out/a.bmp" : "out/result");
        if (fault == WriteFault::FolderName)
            QVERIFY(QDir().mkdir(old));
        else
            ToolScratch::write(old, oldBytes);
        const QString target = fault == WriteFault::DevFull            ? QStringLiteral("/dev/full")
                               : output == ToolOutput::CorrectedImages ? s.path("out")
                                                                       : old;
        QStringList arguments;
        switch (output) {
        case ToolOutput::FittedTable:
            arguments = {"fit", "--points", s.path("in/a.points"), "-o", target};
            break;
        case ToolOutput::Profile:
            arguments = {"profile", s.path("in/a.bmp"), "-o", target};
            break;
        case ToolOutput::CorrectedImages:
            arguments = {"apply", "--table", s.path("in/a.table"),
                         "-o",    target,    s.path("in/a.bmp")};
            break;
        }
        const QStringList entriesBefore = entriesOf(s.path("out"));
        std::optional<CliRun> run;
        {
            // Every output is larger than this; the old file is smaller.
            FileSizeLimit limit(fault == WriteFault::DiskFullPartWay ? 1024 : RLIM_INFINITY);
            QVERIFY(limit.active());
            run = runAsOrdinaryUser(s, arguments, [&] {
                if (fault == WriteFault::ReadOnlyFolder)
                    QFile::setPermissions(s.path("out"),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                if (fault == WriteFault::ReadOnlyFile)
                    QFile::setPermissions(old, QFileDevice::ReadOwner);
            });
        }
        QFile::setPermissions(s.path("out"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!run)
            QSKIP("root, and cannot let nobody run the tool here");
        QCOMPARE(run->exitCode, 1);
        QVERIFY2(run->errText().contains(reason), run->err.constData());
        QVERIFY2(run->errText().contains(QDir::toNativeSeparators(target)) ||
                     run->errText().contains(QDir::toNativeSeparators(old)),
                 run->err.constData());
        if (fault == WriteFault::FolderName)
            QVERIFY(QFileInfo(old).isDir() && QDir(old).isEmpty());
        else
            QCOMPARE(contentsOf(old), oldBytes);
        QCOMPARE(entriesOf(s.path("out")), entriesBefore);         // no litter
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile()); // still the device
    }
};

ROWSHIFT_TEST_MAIN(FaultsTest)
#include "tst_faults.moc"
