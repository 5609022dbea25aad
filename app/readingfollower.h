#pragma once

#include "readingcontrol.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QAction;
class QTextDocument;
class QTextEdit;

// Follows a reading in the editor: the sentence being heard (and its word)
// tinted, and kept in sight unless the user has just scrolled away; and the
// commands that move the reading by sentences.
//
//   ReadingControl::heard() ──(every 50 ms while reading)──► tint + scroll
//   editing the text during a reading ──► the reading no longer lines up:
//                                         nothing is shown until the next pass
class ReadingFollower : public QObject
{
    Q_OBJECT

public:
    static constexpr int Interval = 50;

    // highlight: the menu item that switches the tint on and off.
    ReadingFollower(
        QTextEdit *editor, ReadingControl &reading, QAction *highlight, QObject *parent = nullptr);

    // One look at what the engine is reading (the timer's tick).
    void follow();
    // The editor has a new document: watch it, show nothing of the old.
    void documentReplaced();

    // Reads from the sentence at the cursor; repeat as the repeat box says.
    void readFromCursor(bool repeat);
    // While reading: on from the sentence before or after the one heard.
    void previousSentence();
    void nextSentence();

private:
    void clear();
    void watchDocument();
    // The sentence the reading is at (heard now, else where the cursor is).
    qsizetype currentSentenceStart() const;

    QTextEdit *m_editor;
    ReadingControl &m_reading;
    QAction *m_highlight;
    QTimer m_timer;
    qint64 m_userScrolledAt = -1; // ms since the epoch
    bool m_scrollingForReading = false;
    std::optional<ReadingControl::Heard> m_shown; // what is tinted now
};
