#pragma once

// The character card drill: one card at a time from a group of the
// character list, at random or in order, by hand or at a pace; the parent
// marks each answer right or wrong. The list file is read with Untfun, the
// cards drawn by CardDeck; the window shows them.

#include "carddeck.h"
#include "placement.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>

class Desktop;
class Dialogs;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class RandomSource;
class SoundPlayer;

class TWordFrm : public QDialog
{
    Q_OBJECT

public:
    struct Services {
        Dialogs *dialogs = nullptr;
        Desktop *desktop = nullptr;
        RandomSource *random = nullptr;
        QString programFolder; // where the list file is looked for first
        QString fallbackFolder; // else where it is
    };

    explicit TWordFrm(const Services &services, QWidget *parent = nullptr);
    ~TWordFrm() override;

    QString listFile() const { return m_listFile; }
    // Reads the list file into the group list (not the cards).
    void LoadList();
    // After the list was saved: the groups again, the first one chosen.
    void reloadAfterSave();
    CardDeck &deck() { return m_deck; }
    int groupCount() const;

    void cbb1Change();
    void ShowNextCard();
    void rg2Click();
    void se1Change();
    void btn1Click();
    void btn2Click();
    void btn3Click();
    void btn4Click();
    void btn5Click();
    void N1Click();
    void N3Click();
    void btn6Click();

    int rightCount() const;
    int wrongCount() const;
    QTimer &timer() { return m_tmr1; }
    SoundPlayer &rightSound() { return *m_rightSound; }
    SoundPlayer &wrongSound() { return *m_wrongSound; }

    static constexpr int MarkPitch = 18;
    // Where each control sits.
    static std::span<const Placement> layout();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mark(CardTally::Answer answer);
    void showTally();
    void paintMarks(QPainter &painter, const QRect &row, const QImage &mark, int count);
    void showError(const QString &text);

    Services m_services;
    QString m_listFile;
    QList<QByteArray> m_groups;
    CardDeck m_deck;
    CardTally m_tally;
    QImage m_rightMark;
    QImage m_wrongMark;
    SoundPlayer *m_rightSound = nullptr;
    SoundPlayer *m_wrongSound = nullptr;
    QTimer m_tmr1;

    QComboBox *m_cbb1 = nullptr;
    std::array<QRadioButton *, 2> m_rg1 {};
    std::array<QRadioButton *, 2> m_rg2 {};
    QSpinBox *m_se1 = nullptr;
    QWidget *m_cardArea = nullptr;
    QWidget *m_pb1 = nullptr;
    QWidget *m_pb2 = nullptr;
    QLabel *m_lbl1 = nullptr;
    QLabel *m_lbl2 = nullptr;
    QLabel *m_lbl3 = nullptr;
    QLabel *m_lbl4 = nullptr;
    QMenu *m_pm1 = nullptr;
    QAction *m_N1 = nullptr;
};
