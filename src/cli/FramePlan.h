#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Where apply writes each image, decided for the whole list before any
// image is written, so that no output can land on an input or on another
// image's output.

enum class OutputFormat {
    Bmp, // the window's 24-bit BMP
    Png, // also for every format that is not kept (JPEG and the like)
    Tiff,
};

struct FramePlan {
    QString input;
    QString output;
    OutputFormat format = OutputFormat::Png;
    QString refusal; // why the image is not corrected; empty when it is
};

// A BMP, PNG or TIFF input (by its contents) keeps its format and its file
// name; any other readable image is written as PNG, its extension changed to
// ".png", so that nothing is ever stored lossy. A name whose extension does
// not fit the format written gets the fitting one. An image is refused when
// its output would replace any of the inputs, or a file that an earlier
// image in the list is written to. Images that cannot be read are planned
// as PNG and fail when they are loaded, with the reader's reason. The
// output folder must exist.
std::vector<FramePlan> planFrames(const QStringList& inputs, const QString& outputFolder);
