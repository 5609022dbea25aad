#pragma once

// The reading state machine of the main window: start, pause and continue,
// stop, repeat mode, progress and the end notification, over the speech
// engine. The window asks it to act on clicks and shows what it announces;
// the engine's end token reaches it through endNotification().
//
//   Idle ──start──► Reading ◄──pause/continue──► Paused
//     ▲               │ end (repeat: read again while readings are left)
//     └──stop / end───┘

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

class SpeechEngine;

class ReadingControl : public QObject
{
    Q_OBJECT

public:
    static constexpr int EngineOk = 10;
    static constexpr int RepeatReadings = 999;
    static constexpr int ProgressInterval = 500;
    static constexpr int FullProgressHold = 200;
    static inline const QString EndToken = QStringLiteral("NARREX_SDK_READ_END");
    static inline const QString PauseCaption = QStringLiteral("暂停");
    static inline const QString ContinueCaption = QStringLiteral("继续");

    // Voice codes of the engine by the voice list's index: for readings
    // (4 female, 0 male, 1 English) and for phrases (the English voice
    // speaks phrases in the male Chinese voice). None outside the list.
    static std::optional<int> readingVoiceCode(int voiceIndex);
    static std::optional<int> phraseVoiceCode(int voiceIndex);

    explicit ReadingControl(SpeechEngine &engine, QObject *parent = nullptr);

    // Where the text and the voice come from whenever a reading starts or
    // repeats: the editor's text and the voice list, at that moment.
    void setTextSource(std::function<QString()> source) { m_text = std::move(source); }
    void setVoiceSource(std::function<int()> source) { m_voice = std::move(source); }

    bool isReading() const { return m_reading; }
    int progress() const { return m_progress; }
    bool progressTimerActive() const { return m_progressTimer.isActive(); }
    bool repeatReading() const { return m_repeatReading; }
    int repeatCounter() const { return m_repeatCounter; }
    int engineResult() const { return m_engineResult; }
    void setEngineResult(int result) { m_engineResult = result; }

    // Starts reading the text source, from position from on, in the voice
    // of the voice source. The caller has refused an empty text already.
    void start(bool repeat, qsizetype from = 0);
    // While reading: reads on from position from of the text source instead,
    // with no end notification in between; pause ends.
    void restartAt(qsizetype from);
    void stop();
    void pauseOrContinue();
    // A change of the notification text: the end of a reading (or phrase)
    // when it is the end token, in any case.
    void endNotification(const QString &text);
    void progressTick();
    // Speaks a short phrase for another window; nothing else changes.
    void playStr(const QString &text);
    void engineSettings();
    // The main window closes: repeat mode ends with it.
    void endRepeat();

    // What is being heard now, as positions in the text source: the sentence
    // and the word in it (word empty when between words). Nothing while
    // idle, while another window's phrase is spoken, and once the text was
    // edited during this pass of the reading.
    struct Heard {
        qsizetype sentenceStart = 0;
        qsizetype sentenceEnd = 0;
        qsizetype wordStart = -1;
        qsizetype wordEnd = -1;
        bool operator==(const Heard &) const = default;
    };
    std::optional<Heard> heard() const;
    // The text source changed: what the engine reads no longer lines up
    // with it until the next pass.
    void textEdited() { m_follow = false; }

signals:
    void readingChanged(bool reading);
    // Sent after every pause, continue and stop, also when unchanged.
    void pauseCaptionChanged(const QString &caption);
    void progressChanged(int value);

private:
    void setProgress(int value);
    int speak(const QString &text, int voiceCode);
    // Reads text (from position base of the source) aloud, keeping what is
    // needed to map the engine's positions back to the source.
    int speakReading(const QString &text, qsizetype base, int voiceCode);
    qsizetype sourcePosition(qint32 byte) const;

    SpeechEngine &m_engine;
    std::function<QString()> m_text;
    std::function<int()> m_voice;
    QTimer m_progressTimer;
    QTimer m_holdTimer;
    bool m_reading = false;
    QString m_pauseCaption = PauseCaption;
    int m_progress = 0;
    bool m_repeatReading = false;
    int m_repeatCounter = 0;
    int m_engineResult = 0;

    // The reading now going to the engine, to follow it in the source.
    qsizetype m_base = 0;
    std::vector<qint32> m_unitOffsets; // bytes of each unit of the text sent
    bool m_follow = false; // the source still lines up with what is read
    bool m_phrase = false; // the engine speaks another window's phrase
};
