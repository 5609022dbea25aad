#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

// Every command of the main window as one QAction, with its caption,
// shortcut, hint and picture: the menus are built from them, and a toolbar
// button shows the same action as its menu item (QToolButton's default
// action). The reading commands are enabled and disabled together, by
// group, as the reading starts and ends.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(QMainWindow *window);

    // The action of that object name ("N3", "T1", "ItemUndo"); one of the
    // toolbar's own (without a menu item) is "actVoiceSettings" or "actContact".
    QAction *operator[](const char *name) const;
    QMenu *contextMenu() const { return m_popup; }

    // The reading set (pause, stop, sentence moves on) or the idle set
    // (start, read from the cursor).
    void setReading(bool reading);
    // The pause command's caption: "暂停" or "继续", on its button and item.
    void setPauseCaption(const QString &caption);

private:
    struct Command;
    QAction *add(QMenu *menu, const Command &command);

    QMainWindow *m_window;
    QHash<QString, QAction *> m_actions;
    QMenu *m_popup = nullptr;
    QActionGroup *m_idle = nullptr;
    QActionGroup *m_reading = nullptr;
};
