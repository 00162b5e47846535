#include "cli/Cli.h"
#include "cli/Console.h"

#include <QCoreApplication>

// No window and no display: QCoreApplication is enough for reading,
// correcting and writing images, so the tool runs on any cluster node.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rowshift-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ROWSHIFT_VERSION));
    Console console;
    return runCli(QCoreApplication::arguments(), console);
}
