#pragma once

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, but pins the platform and the pixel ratio first so that
// pixels are where the tests expect them, whoever runs the test.
#define ROWSHIFT_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        qputenv("QT_SCALE_FACTOR", "1");                                                           \
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");                                                 \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
