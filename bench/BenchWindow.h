#pragma once

// What the window benchmarks share: dialogs that answer from a script at
// once, and the window's own controls found by name.
#include "app/Dialogs.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QPushButton>
#include <QStringList>

namespace bench {

// A benchmark must never wait for a user: file dialogs answer from the
// list (then cancel), and a warning means the measured run went wrong.
class ScriptedDialogs : public Dialogs {
public:
    QStringList fileAnswers;
    int warnings = 0;

    QString openFileName(const QString&, const QString&) override { return next(); }
    QString saveFileName(const QString&, const QString&) override { return next(); }
    void warning(const QString&, const QString&) override { ++warnings; }

private:
    QString next() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};

// Presses a button or picks a menu entry of the window by its name; false
// when the window has no such control.
inline bool click(MainWindow& window, const char* buttonName) {
    auto* button = window.findChild<QPushButton*>(QLatin1String(buttonName));
    if (button)
        button->click();
    return button != nullptr;
}

inline bool trigger(MainWindow& window, const char* actionName) {
    auto* action = window.findChild<QAction*>(QLatin1String(actionName));
    if (action)
        action->trigger();
    return action != nullptr;
}

} // namespace bench
