#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

// Dialogs that answer from a script instead of waiting for a user. Every
// request is recorded, so tests can check what was asked.
class ScriptedDialogs : public Dialogs {
public:
    struct FileRequest {
        bool save;
        QString proposedName;
        QString filter;
    };
    struct Warning {
        QString title;
        QString text;
    };

    QStringList fileAnswers; // next answers to file dialogs; empty string = cancel
    QList<FileRequest> fileRequests;
    QList<Warning> warnings;

    QString openFileName(const QString& proposedName, const QString& filter) override {
        fileRequests.append({false, proposedName, filter});
        return nextAnswer();
    }
    QString saveFileName(const QString& proposedName, const QString& filter) override {
        fileRequests.append({true, proposedName, filter});
        return nextAnswer();
    }
    void warning(const QString& title, const QString& text) override {
        warnings.append({title, text});
    }

private:
    QString nextAnswer() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};
