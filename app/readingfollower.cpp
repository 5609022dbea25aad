#include "readingfollower.h"

#include "sentences.h"

#include <QAction>
#include <QDateTime>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// How long the reading leaves the view where the user scrolled it.
constexpr qint64 UserScrollHoldMs = 4000;

} // namespace

ReadingFollower::ReadingFollower(
    QTextEdit *editor, ReadingControl &reading, QAction *highlight, QObject *parent)
    : QObject(parent)
    , m_editor(editor)
    , m_reading(reading)
    , m_highlight(highlight)
{
    m_timer.setInterval(Interval);
    connect(&m_timer, &QTimer::timeout, this, &ReadingFollower::follow);
    connect(&m_reading, &ReadingControl::readingChanged, this, [this](bool reading) {
        if (reading) {
            m_timer.start();
        } else {
            m_timer.stop();
            clear();
        }
    });
    connect(m_highlight, &QAction::toggled, this, &ReadingFollower::follow);
    connect(m_editor->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_scrollingForReading)
            m_userScrolledAt = QDateTime::currentMSecsSinceEpoch();
    });
    watchDocument();
}

void ReadingFollower::documentReplaced()
{
    m_reading.textEdited();
    clear();
    watchDocument();
}

void ReadingFollower::watchDocument()
{
    connect(m_editor->document(), &QTextDocument::contentsChange, this,
        [this](int, int removed, int added) {
            if ((removed || added) && m_reading.isReading()) {
                // What the engine reads no longer lines up with the text.
                m_reading.textEdited();
                clear();
            }
        });
}

void ReadingFollower::clear()
{
    if (!m_shown)
        return;
    m_shown.reset();
    m_editor->setExtraSelections({});
}

void ReadingFollower::follow()
{
    const std::optional<ReadingControl::Heard> heard
        = m_highlight->isChecked() ? m_reading.heard() : std::nullopt;
    if (!heard) {
        clear();
        return;
    }
    if (heard == m_shown)
        return;
    m_shown = heard;
    QTextDocument *doc = m_editor->document();
    const int last = doc->characterCount() - 1;
    // A soft tint of the style's selection colour: the text stays as it is.
    const auto tint = [this](qreal share) {
        const QColor base = m_editor->palette().color(QPalette::Base);
        const QColor mark = m_editor->palette().color(QPalette::Highlight);
        return QColor::fromRgbF(base.redF() + (mark.redF() - base.redF()) * share,
            base.greenF() + (mark.greenF() - base.greenF()) * share,
            base.blueF() + (mark.blueF() - base.blueF()) * share);
    };
    const auto selection = [&](qsizetype from, qsizetype to, qreal share) {
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(doc);
        s.cursor.setPosition(int(std::clamp<qsizetype>(from, 0, last)));
        s.cursor.setPosition(int(std::clamp<qsizetype>(to, 0, last)), QTextCursor::KeepAnchor);
        s.format.setBackground(tint(share));
        return s;
    };
    QList<QTextEdit::ExtraSelection> selections {
        selection(heard->sentenceStart, heard->sentenceEnd, 0.25)};
    if (heard->wordStart >= 0)
        selections << selection(heard->wordStart, heard->wordEnd, 0.45);
    m_editor->setExtraSelections(selections);

    // Keep the sentence in sight, unless the user has just scrolled away.
    const bool userScrolled = m_userScrolledAt >= 0
        && QDateTime::currentMSecsSinceEpoch() - m_userScrolledAt < UserScrollHoldMs;
    QTextCursor at(doc);
    at.setPosition(int(std::clamp<qsizetype>(heard->sentenceStart, 0, last)));
    const QRect where = m_editor->cursorRect(at);
    const QRect visible = m_editor->viewport()->rect();
    if (!userScrolled && !visible.contains(where)) {
        QScrollBar *bar = m_editor->verticalScrollBar();
        m_scrollingForReading = true;
        bar->setValue(bar->value() + where.top() - visible.height() / 3);
        m_scrollingForReading = false;
    }
}

qsizetype ReadingFollower::currentSentenceStart() const
{
    if (const std::optional<ReadingControl::Heard> heard = m_reading.heard())
        return heard->sentenceStart;
    return m_editor->textCursor().position();
}

void ReadingFollower::readFromCursor(bool repeat)
{
    const QString text = m_editor->toPlainText();
    const Sentences::Range sentence = Sentences::at(text, m_editor->textCursor().position());
    m_editor->setFocus();
    m_reading.start(repeat, sentence.start);
}

void ReadingFollower::previousSentence()
{
    if (!m_reading.isReading())
        return;
    const QList<Sentences::Range> all = Sentences::split(m_editor->toPlainText());
    if (all.isEmpty())
        return;
    const qsizetype here = currentSentenceStart();
    qsizetype i = 0;
    while (i + 1 < all.size() && all[i].end <= here)
        ++i;
    m_reading.restartAt(all[std::max<qsizetype>(0, i - 1)].start);
}

void ReadingFollower::nextSentence()
{
    if (!m_reading.isReading())
        return;
    const QList<Sentences::Range> all = Sentences::split(m_editor->toPlainText());
    const qsizetype here = currentSentenceStart();
    qsizetype i = 0;
    while (i < all.size() && all[i].end <= here)
        ++i;
    if (i + 1 < all.size())
        m_reading.restartAt(all[i + 1].start); // at the last sentence: nothing
}
