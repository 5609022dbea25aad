#pragma once

// Every message box and every file, font and printer dialog of the program
// goes through Dialogs, so that tests can answer them without a screen
// (tests/common/scripteddialogs.h) and the windows never block on a dialog
// nobody sees.

#include <QString>

class QFont;
class QPrinter;
class QWidget;

class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Question, Error };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // A modal message box. topmost keeps it above all windows.
    virtual Answer message(QWidget *parent, const QString &text, const QString &caption, Icon icon,
        Buttons buttons, bool topmost = false)
        = 0;

    // How the windows tell the user that something failed: the program's
    // title as caption, one OK button.
    void showError(QWidget *parent, const QString &text)
    {
        message(parent, text, applicationTitle(), Icon::Error, Buttons::Ok);
    }
    void showWarning(QWidget *parent, const QString &text)
    {
        message(parent, text, applicationTitle(), Icon::Warning, Buttons::Ok);
    }

    // File dialogs; an empty result means cancelled. filter is given the
    // Windows way ("Txt; Rtf|*.Txt; *.Rtf"). The save dialog adds
    // defaultSuffix when the chosen name has no extension and replaces an
    // existing file without asking.
    virtual QString openFileName(QWidget *parent, const QString &filter) = 0;
    virtual QString saveFileName(
        QWidget *parent, const QString &filter, const QString &defaultSuffix)
        = 0;

    // The font dialog, preset to font; false when cancelled.
    virtual bool chooseFont(QWidget *parent, QFont &font) = 0;

    // The printer set-up dialog for printer; false when cancelled.
    virtual bool printerSetup(QWidget *parent, QPrinter &printer) = 0;

    // "Txt; Rtf|*.Txt; *.Rtf" → "Txt; Rtf (*.Txt *.Rtf)" for Qt's dialogs.
    static QString qtFilter(const QString &windowsFilter);
    // The name with defaultSuffix added when it has no extension.
    static QString withDefaultSuffix(const QString &fileName, const QString &defaultSuffix);
    // The program's own message boxes: the application's title as caption.
    static QString applicationTitle();
};

// The real dialogs on screen.
class QtDialogs final : public Dialogs
{
public:
    Answer message(QWidget *parent, const QString &text, const QString &caption, Icon icon,
        Buttons buttons, bool topmost) override;
    QString openFileName(QWidget *parent, const QString &filter) override;
    QString saveFileName(
        QWidget *parent, const QString &filter, const QString &defaultSuffix) override;
    bool chooseFont(QWidget *parent, QFont &font) override;
    bool printerSetup(QWidget *parent, QPrinter &printer) override;
};
