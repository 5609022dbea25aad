#include "documentcommands.h"

#include "busywork.h"
#include "dialogs.h"
#include "documentfile.h"
#include "systemformats.h"
#include "textprinter.h"

#include <QApplication>
#include <QDateTime>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

DocumentCommands::DocumentCommands(
    QWidget *window, QTextEdit *editor, Dialogs &dialogs, BusyWork &busy)
    : QObject(window)
    , m_window(window)
    , m_editor(editor)
    , m_dialogs(dialogs)
    , m_busy(busy)
{
}

DocumentCommands::~DocumentCommands() = default;

void DocumentCommands::newDocument()
{
    if (m_dialogs.message(m_window, QStringLiteral("新建文件，您是否保存当前窗口?"),
            QStringLiteral("询问"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes) {
        // A cancelled dialog still clears; a save that failed does not,
        // or the text would be lost.
        const QString path = m_dialogs.saveFileName(m_window, RtfFilter, QStringLiteral("RTF"));
        if (!path.isEmpty()) {
            QString error;
            if (!DocumentFile::saveRtf(*m_editor->document(), path, &error)) {
                m_dialogs.showError(m_window, error);
                return;
            }
        }
    }
    m_editor->clear();
}

void DocumentCommands::open()
{
    const QString path = m_dialogs.openFileName(m_window, OpenFilter);
    if (path.isEmpty())
        return;
    struct Loaded {
        bool ok;
        QString error;
        QString warning;
        QTextDocument *document;
    };
    // Large files are read and laid out off the window's thread; the new
    // document comes back to it whole.
    const QFont font = m_editor->document()->defaultFont();
    QThread *windowThread = m_window->thread();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Loaded loaded = m_busy.run([&] {
        auto *document = new QTextDocument;
        document->setDefaultFont(font);
        Loaded loaded {false, {}, {}, document};
        loaded.ok = DocumentFile::load(path, document, &loaded.error, &loaded.warning);
        document->moveToThread(windowThread);
        return loaded;
    });
    QApplication::restoreOverrideCursor();
    if (!loaded.ok) {
        delete loaded.document;
        m_dialogs.showError(m_window, loaded.error);
        return;
    }
    replaceDocument(loaded.document);
    if (!loaded.warning.isEmpty())
        m_dialogs.showWarning(m_window, loaded.warning);
}

void DocumentCommands::replaceDocument(QTextDocument *document)
{
    QTextDocument *old = m_editor->document();
    document->setParent(m_editor);
    m_editor->setDocument(document);
    // The editor deletes only the document it made itself: one loaded
    // before is ours to delete, or every Open would keep the last file.
    if (old && old != document && old->parent() == m_editor)
        old->deleteLater();
    m_editor->moveCursor(QTextCursor::Start);
    emit documentReplaced();
}

bool DocumentCommands::save()
{
    const QString path = m_dialogs.saveFileName(m_window, RtfFilter, QStringLiteral("RTF"));
    if (path.isEmpty())
        return false;
    QString error;
    const bool saved = DocumentFile::saveRtf(*m_editor->document(), path, &error);
    if (!saved)
        m_dialogs.showError(m_window, error);
    return saved;
}

void DocumentCommands::print()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageOrientation(QPageLayout::Portrait);
    if (!m_dialogs.printerSetup(m_window, *m_printer))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString header = TextPrinter::headerLine(
        SystemFormats::shortDate(now.date()), SystemFormats::longTime(now.time()));
    QString error;
    if (!TextPrinter::print(*m_printer, m_editor->font(), header, m_editor->toPlainText(), &error))
        m_dialogs.showError(m_window, error);
}

void DocumentCommands::edit(int tag)
{
    switch (tag) {
    case 0:
        m_editor->undo();
        break;
    case 1:
        m_editor->cut();
        break;
    case 2:
        m_editor->copy();
        break;
    case 3:
        m_editor->paste();
        break;
    case 4:
        m_editor->textCursor().removeSelectedText();
        break;
    case 5:
        m_editor->selectAll();
        break;
    case 6:
        open();
        break;
    case 7:
        save();
        break;
    default:
        break;
    }
}
