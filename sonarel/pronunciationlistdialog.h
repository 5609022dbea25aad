#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// Edits the user's pronunciation list (see UserPronunciations): the file as
// text, saved through a temporary file. Lines the engine cannot use are named
// with their numbers after saving; they are kept in the file and skipped
// when reading.
class PronunciationListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PronunciationListDialog(const QString &path, QWidget *parent = nullptr);

    QString text() const;

public slots:
    // Saves; true when the file was written (problems or not).
    bool save();

private:
    void showProblems();

    QString m_path;
    QPlainTextEdit *m_edit = nullptr;
    QLabel *m_status = nullptr;
};
