#pragma once

// Finds the movie player: the plugin beside the program, the web engine's
// helper process and the player's page and engine files. check() only looks
// at files, so the window can say at once whether movies can play; create()
// loads the plugin (and with it the web engine) on first use.

#include <QString>

#include <memory>

class FlashPlayer;
class QWidget;

class FlashSupport
{
public:
    // Looks beside the program (and in ../lib) for the plugin, and in
    // ../share/parlix/ruffle or ruffle/ beside it for the player files.
    FlashSupport();
    FlashSupport(const QString &pluginFile, const QString &playerFolder);

    // Whether everything is there; missing() names the first thing that
    // is not.
    bool check() const;
    QString missing() const;

    std::unique_ptr<FlashPlayer> create(QWidget *parent, QString *reason = nullptr) const;

    QString pluginFile() const { return m_plugin; }
    QString playerFolder() const { return m_folder; }

    static QString webEngineProcess();

private:
    QString m_plugin;
    QString m_folder;
};
