#pragma once

#include <QWidget>

class QProgressBar;
class QTextEdit;

// The right side of the main window: the text to read, which starts with the
// program's own introduction, and the reading's progress below it.
class EditorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit EditorPanel(QWidget *parent = nullptr);

    QTextEdit *editor() const { return m_richEdit1; }
    QProgressBar *progress() const { return m_progressBar1; }

private:
    QTextEdit *m_richEdit1 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
};
