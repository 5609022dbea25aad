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

DocumentCommands::DocumentCommands(QWidget *window, QTextEdit *editor, Dialogs &dialogs,
                                   BusyWork &busy)
    : QObject(window)
    , m_window(window)
    , m_editor(editor)
    , m_dialogs(dialogs)
    , m_busy(busy)
{
}

DocumentCommands::~DocumentCommands() = default;

void DocumentCommands::showError(const QString &text)
{
    m_dialogs.message(m_window, text, Dialogs::applicationTitle(), Dialogs::Icon::Error,
                      Dialogs::Buttons::Ok);
}

void DocumentCommands::newDocument()
{
    if (m_dialogs.message(m_window, QStringLiteral("新建文件，您是否保存当前窗口?"),
                          QStringLiteral("询问"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes) {
        // A cancelled dialog still clears; a save that failed does not,
        // or the text would be lost.
        const QString path = m_dialogs.saveFileName(m_window, RtfFilter, QStringLiteral("RTF"));
        if (!path.isEmpty()) {
            const DocumentFile::SaveResult saved = DocumentFile::saveRtf(*m_editor->document(), path);
            if (!saved.ok) {
                showError(saved.error);
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
        DocumentFile::LoadResult result;
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
        const DocumentFile::LoadResult result = DocumentFile::load(path, document);
        document->moveToThread(windowThread);
        return Loaded{result, document};
    });
    QApplication::restoreOverrideCursor();
    if (!loaded.result.ok) {
        delete loaded.document;
        showError(loaded.result.error);
        return;
    }
    replaceDocument(loaded.document);
    if (!loaded.result.warning.isEmpty()) {
        m_dialogs.message(m_window, loaded.result.warning, Dialogs::applicationTitle(),
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    }
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
    const DocumentFile::SaveResult saved = DocumentFile::saveRtf(*m_editor->document(), path);
    if (!saved.ok)
        showError(saved.error);
    return saved.ok;
}

void DocumentCommands::print()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageOrientation(QPageLayout::Portrait);
    if (!m_dialogs.printerSetup(m_window, *m_printer))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString header = TextPrinter::headerLine(SystemFormats::shortDate(now.date()),
                                                   SystemFormats::longTime(now.time()));
    const QString error = TextPrinter::print(*m_printer, m_editor->font(), header,
                                             m_editor->toPlainText());
    if (!error.isEmpty())
        showError(error);
}

void DocumentCommands::edit(int tag)
{
    switch (tag) {
    case 0: m_editor->undo(); break;
    case 1: m_editor->cut(); break;
    case 2: m_editor->copy(); break;
    case 3: m_editor->paste(); break;
    case 4: m_editor->textCursor().removeSelectedText(); break;
    case 5: m_editor->selectAll(); break;
    case 6: open(); break;
    case 7: save(); break;
    default: break;
    }
}
