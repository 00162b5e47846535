#include "cli/ApplyCommand.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/FrameFile.h"
#include "cli/FramePlan.h"
#include "cli/OrderedReport.h"
#include "io/ShiftTableReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr int MaxJobs = 1024;

CommandInfo applyCommand() {
    return {
        QStringLiteral("apply"),
        QStringLiteral("rowshift-cli apply --table TABLE -o OUTDIR [--jobs N] [--keep-depth] "
                       "IMAGE..."),
        QStringLiteral(
            "Corrects each IMAGE exactly as LOAD, CORRECT and SAVE do in the window: the image "
            "is placed at the top left of the white 512 x 512 canvas (anything beyond is cut "
            "off), every row is shifted left by its shift from TABLE and its vacated right end "
            "painted grey (128, 128, 128), and the result is written into OUTDIR under the same "
            "file name. A BMP becomes the window's 24-bit BMP, byte for byte; a PNG or TIFF "
            "stays PNG or TIFF; any other format (JPEG, say) is written as PNG with the "
            "extension changed, never lossy."),
        QStringLiteral(
            "TABLE: 512 lines \"row,shift\" as PARAMETER STORE or \"rowshift-cli fit\" write "
            "them, rows 0 to 511 in order, shifts 0 to 32767, LF or CR LF line ends; anything "
            "else is refused with the line that is wrong.\n"
            "\n"
            "OUTDIR is created when missing. Each output is written completely before it "
            "replaces a file of that name. An input is never written over: an image whose "
            "output would replace an input, or the output of an earlier image, is refused. An "
            "image that fails is named with the reason on standard error and the others are "
            "still corrected; a progress line is shown when standard error is a terminal.\n"
            "\n"
            "Each call depends only on its files, so a long series can be split over many "
            "processes or machines (GNU parallel, a cluster job array) by splitting the list "
            "of images.\n"
            "\n"
            "Exit status: 0 every image corrected, 1 the table, OUTDIR or some image failed, "
            "2 usage error."),
    };
}

// OUTDIR made ready for writing; an empty string, or why it cannot be.
QString prepareOutputFolder(const QString& folder) {
    const QString shown = QDir::toNativeSeparators(folder);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("the output folder \"%1\" is not a folder.").arg(shown);
    if (!info.exists() && !QDir().mkpath(folder))
        return QStringLiteral("could not create the output folder \"%1\".").arg(shown);
    // Better one message now than the same one for every image.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".rowshift-cli-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("cannot write into the output folder \"%1\": %2.")
            .arg(shown, probe.errorString());
    return {};
}

// Corrects the planned images on `jobs` threads, each taking the next image
// in the list when it is free.
std::size_t correctAll(const std::vector<FramePlan>& plans, const ShiftTableRead& table,
                       bool keepDepth, int jobs, Console& console) {
    OrderedReport report(console, plans.size());
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < plans.size(); i = next++)
            report.finish(i, correctFrameFile(plans[i], table.shifts, keepDepth));
    };
    const std::size_t threadCount = std::min(plans.size(), std::size_t(jobs));
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < threadCount; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return report.close();
}

} // namespace

int runApply(const QStringList& arguments, Console& console) {
    const CommandInfo command = applyCommand();
    QCommandLineParser parser;
    const QCommandLineOption tableOption(QStringLiteral("table"),
                                         QStringLiteral("The shift table (required)."),
                                         QStringLiteral("TABLE"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The folder for the corrected images (required)."),
        QStringLiteral("OUTDIR"));
    const QCommandLineOption jobsOption(
        {QStringLiteral("j"), QStringLiteral("jobs")},
        QStringLiteral("Correct N images at a time (default: one per processor core, here %1).")
            .arg(QThread::idealThreadCount()),
        QStringLiteral("N"));
    const QCommandLineOption keepDepthOption(
        QStringLiteral("keep-depth"),
        QStringLiteral("Keep the 16-bit samples of 16-bit grey images (written as PNG or TIFF): "
                       "the same rows move by the same shifts and the vacated ends take the "
                       "16-bit mid-grey 32896. Images with more than 8 bits per colour channel "
                       "are then refused rather than cut to 8 bits."));
    parser.addOptions({tableOption, outputOption, jobsOption, keepDepthOption});
    parser.addPositionalArgument(QStringLiteral("IMAGE"), QStringLiteral("The images to correct."),
                                 QStringLiteral("IMAGE..."));
    if (const auto done = parseCommandLine(parser, command, arguments, console))
        return *done;

    const QString tableFile = parser.value(tableOption);
    const QString outputFolder = parser.value(outputOption);
    const QStringList images = parser.positionalArguments();
    if (tableFile.isEmpty())
        return usageError(console, command, QStringLiteral("--table TABLE is required."));
    if (outputFolder.isEmpty())
        return usageError(console, command, QStringLiteral("-o OUTDIR is required."));
    if (images.isEmpty())
        return usageError(console, command, QStringLiteral("no IMAGE was given."));
    int jobs = std::max(1, QThread::idealThreadCount());
    if (parser.isSet(jobsOption)) {
        const auto number = wholeNumber(parser.value(jobsOption), 1, MaxJobs);
        if (!number)
            return usageError(console, command,
                              QStringLiteral("--jobs must be a whole number from 1 to %1, not "
                                             "\"%2\".")
                                  .arg(MaxJobs)
                                  .arg(parser.value(jobsOption)));
        jobs = *number;
    }

    const ShiftTableRead table = readShiftTableFile(tableFile);
    if (!table.ok()) {
        console.error(table.error);
        return InputFailed;
    }
    if (const QString problem = prepareOutputFolder(outputFolder); !problem.isEmpty()) {
        console.error(problem);
        return InputFailed;
    }

    const std::vector<FramePlan> plans = planFrames(images, outputFolder);
    const std::size_t failed =
        correctAll(plans, table, parser.isSet(keepDepthOption), jobs, console);
    if (failed == 0)
        return Success;
    console.error(QStringLiteral("%1 of %2 images failed.").arg(failed).arg(plans.size()));
    return InputFailed;
}
