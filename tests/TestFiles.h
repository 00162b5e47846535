#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Plain file access for tests, bypassing the program's own writers.

inline QByteArray contentsOf(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Use inside a test function: a failed write fails the test.
inline void writePlainly(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
