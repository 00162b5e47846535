#include "TestMain.h"
#include "TestFiles.h"

#include "FileSizeLimit.h"

#include "io/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class AtomicFileTest : public QObject {
    Q_OBJECT
private slots:
    void createsAndReplaces() {
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("table.txt"));
        QCOMPARE(writeFileAtomically(name, "first"), QString());
        QCOMPARE(contentsOf(name), QByteArray("first"));
        QCOMPARE(writeFileAtomically(name, "second, longer"), QString());
        QCOMPARE(contentsOf(name), QByteArray("second, longer"));
        QCOMPARE(entriesOf(folder.path()), QStringList{QStringLiteral("table.txt")});
    }

    // Each name is refused before anything is written; what was there stays.
    void refusesNamesThatAreNoFile_data() {
        QTest::addColumn<QString>("relativeName"); // inside a fresh folder, or absolute
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << QString() << "no file name";
        QTest::newRow("a folder") << "sub"
                                  << "is a folder";
        QTest::newRow("missing parent folder") << "missing/out.txt"
                                               << "does not exist";
        QTest::newRow("parent is a file") << "plain/out.txt"
                                          << "is not a folder";
        QTest::newRow("device /dev/full") << "/dev/full"
                                          << "not a regular file";
    }
    void refusesNamesThatAreNoFile() {
        QFETCH(QString, relativeName);
        QFETCH(QString, message);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
        writePlainly(folder.filePath(QStringLiteral("plain")), "plain bytes");
        const QStringList before = entriesOf(folder.path());
        const QStringList devBefore = entriesOf(QStringLiteral("/dev"));
        const QString name = relativeName.isEmpty() || relativeName.startsWith(QLatin1Char('/'))
                                 ? relativeName
                                 : folder.filePath(relativeName);

        const QString error = writeFileAtomically(name, QByteArray(1000, 'x'));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(error.contains(QDir::toNativeSeparators(name)));
        QCOMPARE(entriesOf(folder.path()), before);
        QCOMPARE(entriesOf(folder.filePath(QStringLiteral("sub"))), QStringList());
        QCOMPARE(contentsOf(folder.filePath(QStringLiteral("plain"))), QByteArray("plain bytes"));
        QCOMPARE(entriesOf(QStringLiteral("/dev")), devBefore);
        if (relativeName == QLatin1String("/dev/full"))
            QVERIFY(!QFileInfo(name).isFile()); // still the device
    }

    // A write that fails half-way (here: past the file-size limit, which
    // even root cannot pass) leaves the old file as it was and no litter.
    void failedWriteKeepsOldBytes() {
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("profile.txt"));
        writePlainly(name, "old bytes");
        QString error;
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.active());
            error = writeFileAtomically(name, QByteArray(64 * 1024, 'n'));
        }
        QVERIFY2(error.contains(QStringLiteral("unchanged")), qPrintable(error));
        QCOMPARE(contentsOf(name), QByteArray("old bytes"));
        QCOMPARE(entriesOf(folder.path()), QStringList{QStringLiteral("profile.txt")});
    }

    void readOnlyFolderKeepsOldBytes() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("image.bmp"));
        writePlainly(name, "old bytes");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString error = writeFileAtomically(name, "new bytes");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        QVERIFY(!error.isEmpty());
        QCOMPARE(contentsOf(name), QByteArray("old bytes"));
    }
};

ROWSHIFT_TEST_MAIN(AtomicFileTest)
#include "tst_atomicfile.moc"
