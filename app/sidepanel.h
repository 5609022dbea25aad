#pragma once

#include <QWidget>

class BusyPanel;
class MainActions;
class QComboBox;
class QPushButton;
class QStackedWidget;

// The main window's side panel, top to bottom: the style list, the two
// buttons that write the text as speech into a WAV file (with the busy
// panel that takes their place meanwhile), and the tool buttons, which
// trigger the window's actions for the tools.
class SidePanel : public QWidget
{
    Q_OBJECT

public:
    SidePanel(const MainActions &actions, int style, QWidget *parent = nullptr);

    QComboBox *styleList() const { return m_comboBox2; }
    // The female (tag 4) and male (tag 1) voice's button.
    QPushButton *femaleWave() const { return m_button5; }
    QPushButton *maleWave() const { return m_button15; }
    QStackedWidget *waveArea() const { return m_waveArea; }
    BusyPanel *busyPanel() const { return m_rzPanel3; }
    QList<QWidget *> hintButtons() const { return m_buttons; }

private:
    void addHeader(const char *name, const QString &caption);
    void addWaveButtons();
    void addTools(const MainActions &actions);

    QComboBox *m_comboBox2 = nullptr;
    QStackedWidget *m_waveArea = nullptr;
    QPushButton *m_button5 = nullptr;
    QPushButton *m_button15 = nullptr;
    BusyPanel *m_rzPanel3 = nullptr;
    QList<QWidget *> m_buttons;
};
