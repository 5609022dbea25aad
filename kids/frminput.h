#pragma once

// The character list editor: the list file as plain text, one group per
// line ("name=characters"). Saving writes the file (as GBK, CR LF between
// lines) and refreshes the card drill's groups at once.

#include <QDialog>

class Dialogs;
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

private:
    bool readInto(const QString &path);

    TWordFrm *m_drill;
    Dialogs &m_dialogs;
    QPlainTextEdit *m_mmo1 = nullptr;
};
