#pragma once

// Dialogs answered by the test: each message box, file, font or printer
// dialog takes the next scripted answer and is recorded. A dialog nobody
// scripted is recorded too and answered as cancelled ("No", "Cancel", empty
// name), so a test that did not expect it fails on its records, not on a
// hang.

#include "dialogs.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ScriptedDialogs final : public Dialogs
{
public:
    struct Message {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
        bool topmost;
    };
    QList<Message> messages;
    QList<Answer> answers;
    QStringList fileNames; // answers of the file dialogs, in turn
    QStringList fileDialogs; // "open:<filter>" or "save:<filter>:<suffix>"
    QList<std::function<bool(QFont &)>> fontAnswers;
    QList<std::function<bool(QPrinter &)>> printerAnswers;
    int fontDialogs = 0;
    int printerDialogs = 0;

    Answer message(QWidget *, const QString &text, const QString &caption, Icon icon,
        Buttons buttons, bool topmost) override
    {
        messages << Message {text, caption, icon, buttons, topmost};
        if (!answers.isEmpty())
            return answers.takeFirst();
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        }
        return Answer::No;
    }
    QString openFileName(QWidget *, const QString &filter) override
    {
        fileDialogs << QStringLiteral("open:") + filter;
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &filter, const QString &suffix) override
    {
        fileDialogs << QStringLiteral("save:%1:%2").arg(filter, suffix);
        return withDefaultSuffix(fileNames.isEmpty() ? QString() : fileNames.takeFirst(), suffix);
    }
    bool chooseFont(QWidget *, QFont &font) override
    {
        ++fontDialogs;
        return !fontAnswers.isEmpty() && fontAnswers.takeFirst()(font);
    }
    bool printerSetup(QWidget *, QPrinter &printer) override
    {
        ++printerDialogs;
        return !printerAnswers.isEmpty() && printerAnswers.takeFirst()(printer);
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Message &m : messages)
            out << m.text;
        return out;
    }
};
