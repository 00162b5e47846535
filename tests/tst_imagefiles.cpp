#include "TestFiles.h"
#include "TestMain.h"

#include "BmpFixtures.h"
#include "CanvasFixtures.h"

#include "canvas/Canvas.h"
#include "io/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

qint32 field32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

QImage greyPalettePicture() {
    QImage image(64, 48, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int k = 0; k < 256; ++k)
        palette.append(qRgb(k, 255 - k, k / 2));
    image.setColorTable(palette);
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column)
            image.setPixel(column, row, uint((column * 5 + row * 3) % 256));
    }
    return image;
}

QImage grey16Picture() {
    QImage image(64, 48, QImage::Format_Grayscale16);
    for (int row = 0; row < image.height(); ++row) {
        auto* words = reinterpret_cast<quint16*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column)
            words[column] = quint16(column * 1000 + row * 7);
    }
    return image;
}

// Half the pixels fully transparent, the rest half so: their colour is data
// all the same.
QImage withSomeTransparency(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < image.height(); ++row) {
        auto* words = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column)
            words[column] = (words[column] & 0xffffffu) | ((column % 2 ? 0u : 0x80u) << 24);
    }
    return image;
}

} // namespace

class ImageFilesTest : public QObject {
    Q_OBJECT
private slots:
    void loadsEveryFormatAsRgb32_data() {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("lossless");
        const QImage colour = patternedPicture(100, 70);
        QTest::newRow("24-bit BMP") << colour.convertToFormat(QImage::Format_RGB888)
                                    << QByteArray("bmp") << "a.bmp" << true;
        QTest::newRow("8-bit palette BMP")
            << greyPalettePicture() << QByteArray("bmp") << "b.bmp" << true;
        QTest::newRow("1-bit BMP")
            << colour.convertToFormat(QImage::Format_Mono) << QByteArray("bmp") << "c.bmp" << true;
        QTest::newRow("PNG with alpha keeps colour")
            << withSomeTransparency(colour) << QByteArray("png") << "d.png" << true;
        QTest::newRow("16-bit grey PNG") << grey16Picture() << QByteArray("png") << "e.png" << true;
        QTest::newRow("16-bit grey TIFF")
            << grey16Picture() << QByteArray("tiff") << "f.tif" << true;
        QTest::newRow("JPEG") << colour << QByteArray("jpeg") << "g.jpg" << false;
        QTest::newRow("PNG named .bmp") << colour << QByteArray("png") << "h.bmp" << true;
    }
    void loadsEveryFormatAsRgb32() {
        QFETCH(QImage, source);
        QFETCH(QByteArray, format);
        QFETCH(QString, fileName);
        QFETCH(bool, lossless);
        QTemporaryDir folder;
        const QString name = folder.filePath(fileName);
        QImageWriter writer(name, format);
        QVERIFY2(writer.write(source), qPrintable(writer.errorString()));

        const LoadedImage loaded = loadImage(name);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.image.size(), source.size());
        if (lossless)
            QCOMPARE(loaded.image, source.convertToFormat(QImage::Format_RGB32));
    }

    void smallPictureFillsTopLeftAndSavesFullCanvas() {
        QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("small.bmp"));
        const QImage small = patternedPicture(256, 256);
        QVERIFY(small.save(input, "bmp"));
        const LoadedImage loaded = loadImage(input);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));

        Canvas canvas;
        setUpAsLoaded(canvas, loaded.image);
        const QImage layer = canvas.image();
        QCOMPARE(layer.copy(0, 0, 256, 256), small);
        QCOMPARE(layer.copy(256, 0, 256, 512), filledPicture(0xffffffffu, 256, 512));
        QCOMPARE(layer.copy(0, 256, 512, 256), filledPicture(0xffffffffu, 512, 256));

        const QString output = folder.filePath(QStringLiteral("saved.bmp"));
        QCOMPARE(saveImage(layer, output), QString());
        const QByteArray bytes = contentsOf(output);
        QCOMPARE(bytes.size(), 54 + 512 * 512 * 3);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(field32(bytes, 18), 512);
        QCOMPARE(field32(bytes, 22), 512);
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        const LoadedImage again = loadImage(output);
        QVERIFY2(again.ok(), qPrintable(again.error));
        QCOMPARE(again.image, layer);
    }

    // The name is used exactly as given, and the bytes are a BMP whatever it
    // ends in.
    void savesBmpUnderTheGivenName_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow(".bmp") << "out.bmp";
        QTest::newRow("no extension") << "out";
        QTest::newRow(".png") << "out.png";
        QTest::newRow("blanks and dots") << " out .x. ";
    }
    void savesBmpUnderTheGivenName() {
        QFETCH(QString, fileName);
        QTemporaryDir folder;
        const QString name = folder.filePath(fileName);
        writePlainly(name, "older, replaced");
        QCOMPARE(saveImage(patternedPicture(), name), QString());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{fileName});
        QVERIFY(contentsOf(name).startsWith("BM"));
        QCOMPARE(contentsOf(name), bmp24Bytes(patternedPicture()));
    }

    void loadFailuresGiveAMessage_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes"); // written first unless null
        QTest::addColumn<QString>("message");
        QTest::newRow("not an image")
            << "notes.bmp" << QByteArray("just some text\n") << "not an image";
        QTest::newRow("empty file") << "empty.bmp" << QByteArray("") << "is empty";
        QTest::newRow("a folder") << "." << QByteArray() << "is a folder";
        QTest::newRow("missing file") << "missing.bmp" << QByteArray() << "does not exist";
        QTest::newRow("header claims 100000 x 100000")
            << "huge.bmp" << bmpHeaderClaiming(100000, 100000) << "100000 x 100000 pixels";
        QTest::newRow("truncated pixels")
            << "short.bmp" << bmpHeaderClaiming(300, 300) << "is cut short";
        // Rows of some 2^42 bytes, nearly 2^31 of them: more than 64 bits count.
        QTest::newRow("header claims more bytes than 64 bits count")
            << "vast.bmp" << bmpHeaderClaiming(0x46ff75ff, 0x75613738, 30069) << "pixels";
        QTest::newRow("empty name") << "" << QByteArray() << "No file name";
    }
    void loadFailuresGiveAMessage() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString name = fileName.isEmpty() ? QString() : folder.filePath(fileName);
        if (!bytes.isNull())
            writePlainly(name, bytes);
        const LoadedImage loaded = loadImage(name);
        QVERIFY(!loaded.ok());
        QVERIFY(loaded.image.isNull());
        QVERIFY2(loaded.error.contains(message), qPrintable(loaded.error));
        QVERIFY(loaded.error.contains(QDir::toNativeSeparators(name)));
    }

    void saveFailuresKeepWhatWasThere() {
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("sub"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(saveImage(patternedPicture(), name).contains(QStringLiteral("is a folder")));
        QVERIFY(QFileInfo(name).isDir());
        QVERIFY(!saveImage(patternedPicture(), QStringLiteral("/dev/full")).isEmpty());
        QVERIFY(!saveImage(QImage(), folder.filePath(QStringLiteral("x.bmp"))).isEmpty());
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("x.bmp"))));
    }

    // A new image takes the screen's resolution (100 dpi where there is no
    // screen): the saved bytes must not, or the window on one desktop and
    // the command-line tool on a cluster node save the same pixels
    // differently.
    void savedResolutionIsFixed() {
        QImage image = patternedPicture();
        image.setDotsPerMeterX(5000);
        image.setDotsPerMeterY(1234);
        const QByteArray bytes = bmp24Bytes(image);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 38), SavedDotsPerMeter);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 42), SavedDotsPerMeter);
        QCOMPARE(bytes, bmp24Bytes(patternedPicture()));
    }
};

ROWSHIFT_TEST_MAIN(ImageFilesTest)
#include "tst_imagefiles.moc"
