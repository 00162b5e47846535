#pragma once

#include <QString>

// The modal dialogs the window needs, behind an interface so that tests can
// script them and never block. Filters use the program's own notation:
// pairs of description and pattern separated by "|", e.g. "bmp|*.bmp|";
// an empty filter lists every file.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The chosen file name, or an empty string when the user cancels.
    virtual QString openFileName(const QString& proposedName, const QString& filter) = 0;
    virtual QString saveFileName(const QString& proposedName, const QString& filter) = 0;

    // A warning box with an OK button; returns when the user has closed it.
    virtual void warning(const QString& title, const QString& text) = 0;
};
