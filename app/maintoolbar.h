#pragma once

#include <QToolBar>

#include <array>

class MainActions;
class QCheckBox;
class QComboBox;
class TLcdDisplay;

// The main window's toolbar, left to right: new, open, save, the voice list,
// the repeat box, read, pause, stop, the voice settings, contact, the web
// page, exit, and the clock on seven-segment digits. Its buttons show the
// window's actions.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    MainToolBar(const MainActions &actions, int voice, QWidget *parent = nullptr);

    QComboBox *voiceList() const { return m_comboBox1; }
    QCheckBox *repeatBox() const { return m_checkBox1; }
    const std::array<TLcdDisplay *, 3> &clock() const { return m_lcd; }
    // The buttons whose hints go to the status bar as the mouse moves.
    QList<QWidget *> hintButtons() const { return m_buttons; }

private:
    void addButton(const char *name, QAction *action);
    void addVoiceList(int voice);
    void addClock();

    QComboBox *m_comboBox1 = nullptr;
    QCheckBox *m_checkBox1 = nullptr;
    std::array<TLcdDisplay *, 3> m_lcd {};
    QList<QWidget *> m_buttons;
};
