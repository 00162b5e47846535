#include "cli/FramePlan.h"

#include "cli/SameFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace {

QString shown(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

OutputFormat formatKept(const QByteArray& readerFormat) {
    if (readerFormat == "bmp" || readerFormat == "dib")
        return OutputFormat::Bmp;
    if (readerFormat == "tif" || readerFormat == "tiff")
        return OutputFormat::Tiff;
    return OutputFormat::Png;
}

QStringList suffixesOf(OutputFormat format) {
    switch (format) {
    case OutputFormat::Bmp:
        return {QStringLiteral("bmp"), QStringLiteral("dib")};
    case OutputFormat::Tiff:
        return {QStringLiteral("tif"), QStringLiteral("tiff")};
    case OutputFormat::Png:
        break;
    }
    return {QStringLiteral("png")};
}

// The input's file name, its extension replaced when it does not name the
// format written.
QString outputName(const QString& input, OutputFormat format) {
    const QFileInfo info(input);
    const QStringList suffixes = suffixesOf(format);
    if (suffixes.contains(info.suffix().toLower()))
        return info.fileName();
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return base + QLatin1Char('.') + suffixes.constFirst();
}

} // namespace

std::vector<FramePlan> planFrames(const QStringList& inputs, const QString& outputFolder) {
    // Every input by its canonical path, to spot an output that would
    // replace one, whatever name either is given by.
    QHash<QString, QString> inputByPath;
    for (const QString& input : inputs) {
        const QString path = canonicalPath(input);
        if (!path.isEmpty() && !inputByPath.contains(path))
            inputByPath.insert(path, input);
    }

    const QDir folder(outputFolder);
    // Outputs are compared by where they really lead.
    const QDir realFolder(QFileInfo(outputFolder).canonicalFilePath());
    QHash<QString, QString> inputByOutput;
    std::vector<FramePlan> plans;
    plans.reserve(std::size_t(inputs.size()));
    for (const QString& input : inputs) {
        FramePlan plan;
        plan.input = input;
        plan.format = formatKept(QImageReader::imageFormat(input));
        const QString name = outputName(input, plan.format);
        plan.output = folder.filePath(name);

        const QString existing = canonicalPath(plan.output);
        const QString target = existing.isEmpty() ? realFolder.filePath(name) : existing;
        if (const auto replaced = inputByPath.constFind(target); replaced != inputByPath.cend()) {
            plan.refusal =
                QStringLiteral("\"%1\" is not corrected: its output \"%2\" is the input \"%3\", "
                               "which is never written over.")
                    .arg(shown(input), shown(plan.output), shown(*replaced));
        } else if (const auto earlier = inputByOutput.constFind(target);
                   earlier != inputByOutput.cend()) {
            plan.refusal = QStringLiteral("\"%1\" is not corrected: its output \"%2\" is already "
                                          "the output of \"%3\".")
                               .arg(shown(input), shown(plan.output), shown(*earlier));
        } else {
            inputByOutput.insert(target, input);
        }
        plans.push_back(plan);
    }
    return plans;
}
