#pragma once

// The character list editor: the list file as plain text, one group per
// line ("name=characters"). Saving writes the file (as GBK, CR LF between
// lines) and refreshes the card drill's groups at once. Closing with unsaved
// edits asks whether to save them; Esc does not close it.

#include <QDialog>

class Dialogs;
class QCloseEvent;
class QKeyEvent;
class QPlainTextEdit;
class TWordFrm;

class TFrminput : public QDialog
{
    Q_OBJECT

public:
    TFrminput(TWordFrm *drill, Dialogs &dialogs, QWidget *parent = nullptr);

    QPlainTextEdit *memo() const { return m_mmo1; }
    // Text put into the memo: every line break as CR LF once saved.
    void setMemoText(const QString &text);

    void btn1Click();
    void btn4Click();
    void btn5Click();
    void btn6Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool readInto(const QString &path);
    bool save();
    // Unsaved edits: ask; true when the editor may close.
    bool maybeSave();

    TWordFrm *m_drill;
    Dialogs &m_dialogs;
    QPlainTextEdit *m_mmo1 = nullptr;
};
