#pragma once

#include <QObject>

class BusyPanel;
class BusyWork;
class Dialogs;
class QStackedWidget;
class QTextEdit;
class QWidget;
class SpeechEngine;

// The editor's text written as speech into a WAV file, in the female or the
// male voice: the file chosen, the busy panel shown with the percentage over
// the two buttons while the engine writes, and the outcome said.
class WaveConversion : public QObject
{
    Q_OBJECT

public:
    static inline const QString WaveFilter = QStringLiteral("wav|*.wav");

    struct View {
        QStackedWidget *area = nullptr; // the buttons, or the busy panel
        BusyPanel *busy = nullptr;
    };

    WaveConversion(QWidget *window, QTextEdit *editor, SpeechEngine &engine, Dialogs &dialogs,
        BusyWork &busy, View view);

    void convert(bool male);

private:
    QWidget *m_window;
    QTextEdit *m_editor;
    SpeechEngine &m_engine;
    Dialogs &m_dialogs;
    BusyWork &m_busy;
    View m_view;
};
