#pragma once

#include <QImage>
#include <QString>

// What loadImage hands back: on success a Format_RGB32 image and an empty
// error; on failure a null image and a message for the user.
struct LoadedImage {
    QImage image;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Images larger than this (in pixels) are refused before any pixel memory
// is set aside, whatever their header claims.
constexpr qint64 MaxImagePixels = qint64(8192) * 8192;

// Reads any image the Qt image plugins understand (BMP, PNG, JPEG, TIFF ...;
// 1-, 8- and 16-bit, palette and colour) and converts it to Format_RGB32:
// palettes are looked up, 16-bit channels keep their upper 8 bits and an
// alpha channel is dropped so that no colour data is hidden. Unreadable,
// empty or oversized files give an error and a null image.
LoadedImage loadImage(const QString& fileName);

// The same checks, but the image is handed back in the format the plugin
// decoded it into (Format_Grayscale16 for a 16-bit grey PNG or TIFF, say),
// for callers that keep more than 8 bits. loadImage is this followed by
// rgb32Image.
LoadedImage loadImageKeepingFormat(const QString& fileName);

// The conversion loadImage makes of what it has read, fileName only naming
// the file in the message when memory runs out.
LoadedImage rgb32Image(const QImage& image, const QString& fileName);

// Writes image as a 24-bit Windows bitmap to fileName, used exactly as
// given: no extension is added and the format is BMP whatever the name
// ends in. The write is atomic: on failure an existing file keeps its old
// bytes. Returns an empty string on success, else a message for the user.
[[nodiscard]] QString saveImage(const QImage& image, const QString& fileName);

// The bytes saveImage writes: a bottom-up 24-bit BMP of image, its
// resolution field always SavedDotsPerMeter. Null when the image is null or
// the encoder does not give exactly that.
QByteArray bmp24Bytes(const QImage& image);

// The resolution written into saved images: 96 dots per inch. A new QImage
// takes the screen's resolution, or 100 dots per inch where there is no
// screen, so without a fixed value the same pixels would be saved as
// different bytes on different desktops and by the command-line tool.
constexpr int SavedDotsPerMeter = 3780;
