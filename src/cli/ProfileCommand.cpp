#include "cli/ProfileCommand.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/SameFile.h"
#include "imageops/ColumnProfile.h"
#include "imageops/FrameCorrection.h"
#include "io/ImageFiles.h"
#include "io/TextExports.h"

#include <QDir>

namespace {

CommandInfo profileCommand() {
    return {
        QStringLiteral("profile"),
        QStringLiteral("rowshift-cli profile IMAGE [-o FILE]"),
        QStringLiteral(
            "Computes the column profile of IMAGE as Vertical Average does in the window after "
            "LOAD: the image placed at the top left of the white 512 x 512 canvas, and for each "
            "column 1 to 510 the sum over the rows 1 to 510 of 256 - c / 65536, c being the "
            "pixel's colour with red in the low byte, so dark pixels count high. Written as "
            "Save writes it (510 lines \"column,value\"): to FILE with -o, else to standard "
            "output."),
        QStringLiteral("Exit status: 0 done, 1 the image could not be read or FILE could not be "
                       "written, 2 usage error."),
    };
}

} // namespace

int runProfile(const QStringList& arguments, Console& console) {
    const CommandInfo command = profileCommand();
    QCommandLineParser parser;
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the profile to FILE (replaced only once it is complete)."),
        QStringLiteral("FILE"));
    parser.addOption(outputOption);
    parser.addPositionalArgument(QStringLiteral("IMAGE"), QStringLiteral("The image."));
    if (const auto done = parseCommandLine(parser, command, arguments, console))
        return *done;

    const QStringList images = parser.positionalArguments();
    if (images.size() != 1)
        return usageError(console, command,
                          images.isEmpty() ? QStringLiteral("no IMAGE was given.")
                                           : QStringLiteral("only one IMAGE is taken."));
    const QString image = images.constFirst();
    const QString outputFile = parser.value(outputOption);
    if (parser.isSet(outputOption) && outputFile.isEmpty())
        return usageError(console, command, QStringLiteral("-o needs a file name."));
    if (!outputFile.isEmpty() && isSameFile(outputFile, image)) {
        console.error(QStringLiteral("\"%1\" is the image; the profile is not written over it.")
                          .arg(QDir::toNativeSeparators(outputFile)));
        return InputFailed;
    }

    const LoadedImage loaded = loadImage(image);
    if (!loaded.ok()) {
        console.error(loaded.error);
        return InputFailed;
    }
    ColumnProfile profile{};
    if (!columnProfile(loadedFrame(loaded.image), profile)) {
        console.error(QStringLiteral("\"%1\": the profile could not be computed.")
                          .arg(QDir::toNativeSeparators(image)));
        return InputFailed;
    }

    if (!outputFile.isEmpty()) {
        if (const QString problem = saveProfile(outputFile, profile); !problem.isEmpty()) {
            console.error(problem);
            return InputFailed;
        }
        return Success;
    }
    if (!console.writeOutput(profileText(profile))) {
        console.error(QStringLiteral("could not write to standard output."));
        return InputFailed;
    }
    return Success;
}
