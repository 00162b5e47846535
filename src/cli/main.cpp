#include "cli/Cli.h"
#include "cli/Console.h"

#include <QCoreApplication>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Every frame takes a few buffers of about a megabyte (the decoded image,
// the canvas, the encoded file) and gives them back. By default glibc
// returns such buffers to the system at once, and the next frame faults the
// same memory in again page by page: that made a series three to four
// times slower than keeping it. A few megabytes per thread stay reserved.
void keepFrameBuffers() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
}

} // namespace

// No window and no display: QCoreApplication is enough for reading,
// correcting and writing images, so the tool runs on any cluster node.
int main(int argc, char** argv) {
    keepFrameBuffers();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rowshift-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ROWSHIFT_VERSION));
    Console console;
    return runCli(QCoreApplication::arguments(), console);
}
