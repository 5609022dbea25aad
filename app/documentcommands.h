#pragma once

#include <QObject>

#include <memory>

class BusyWork;
class Dialogs;
class QPrinter;
class QTextDocument;
class QTextEdit;
class QWidget;

// The commands on the editor's document: new, open (text and RTF), save
// (RTF), print, and the edit commands of the Edit and context menus. Files
// are read off the window's thread; a failure is said and changes nothing.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    static inline const QString OpenFilter = QStringLiteral("Txt; Rtf|*.Txt; *.Rtf");
    static inline const QString RtfFilter = QStringLiteral("RTF|*.RTF");

    DocumentCommands(QWidget *window, QTextEdit *editor, Dialogs &dialogs, BusyWork &busy);
    ~DocumentCommands() override;

    // Asks whether to save first; a save that fails keeps the text.
    void newDocument();
    void open();
    // Asks for a name and writes the document there as RTF; false when
    // cancelled or when it could not be written (the error is said).
    bool save();
    void print();
    // The edit commands by their tag: 0 undo, 1 cut, 2 copy, 3 paste,
    // 4 delete, 5 select all, 6 load a file, 7 export the file.
    void edit(int tag);

signals:
    // The editor shows another document (the old one is gone).
    void documentReplaced();

private:
    void replaceDocument(QTextDocument *document);

    QWidget *m_window;
    QTextEdit *m_editor;
    Dialogs &m_dialogs;
    BusyWork &m_busy;
    std::unique_ptr<QPrinter> m_printer;
};
