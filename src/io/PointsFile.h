#pragma once

#include "canvas/ControlPoints.h"

#include <QByteArrayView>
#include <QString>

// What reading a points file gives: on success the ten control points and
// an empty error; on failure a message naming the line and what it should
// hold.
struct PointsRead {
    PointCoordinates Px{};
    PointCoordinates Py{};
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the ten control points, strictly: one line "x,y" per point in the
// order A, B, 1..8, each number a plain decimal (an optional sign, digits,
// an optional decimal point with more digits; no exponent, no thousands
// separators, "." whatever the locale) that a single-precision real can
// hold, with blanks or tabs allowed around either number. Blank lines, lines
// whose first character that is not a blank is '#', a UTF-8 byte-order mark
// at the start and CR LF line ends are allowed. Anything else, a missing
// point or an eleventh one, is refused: points that are almost right give a
// wrong calibration without anyone noticing.
PointsRead parsePointsFile(QByteArrayView text);

// The same for a file; files too large to be a points file are refused
// before they are read.
PointsRead readPointsFile(const QString& fileName);
