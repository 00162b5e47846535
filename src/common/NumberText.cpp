#include "common/NumberText.h"

QString numberText(long long value) {
    const QString digits = QString::number(value); // always C-locale digits
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}
