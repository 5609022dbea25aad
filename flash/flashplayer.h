#pragma once

// The movie player the Flash window drives: open a movie, its frame count,
// the current frame (read and set), playing or not, play, stop. The player
// itself lives in a plugin (flash/ruffle/) so that the program starts and
// runs without the web engine it needs; FlashSupport finds and loads it.

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// A plain interface (no QObject), so that the plugin and the program share
// no meta-objects across the library boundary.
class FlashPlayer
{
public:
    virtual ~FlashPlayer() = default;

    // The player's picture, to be put in the window's layout.
    virtual QWidget *widget() = 0;

    // Opens a movie and starts it. False, with a reason for the log, when
    // the file cannot be read or is not a movie the player can play.
    virtual bool openMovie(const QString &path, QString *reason) = 0;

    virtual int totalFrames() const = 0;
    // The frame now shown (1 for the first), 0 before any is known.
    virtual int frameNum() const = 0;
    // Shows a frame and holds there.
    virtual void setFrameNum(int frame) = 0;
    virtual bool playing() const = 0;
    // Whether frameNum and setFrameNum work for this movie: not for
    // ActionScript 3 movies nor those older than Flash 6.
    virtual bool canSeek() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;

    // Called when the movie's first frame is on screen.
    std::function<void()> onFirstFrame;
    // Called for every request refused: anything the page or the movie
    // asks for besides the player's own files.
    std::function<void(const QUrl &)> onRequestRefused;
};

// What the plugin exports: a player with its page and engine files in
// playerFolder, its widget a child of parent.
extern "C" {
using CreateFlashPlayerFunction = FlashPlayer *(*)(const QString &playerFolder, QWidget *parent);
}
#define PARLIX_FLASH_PLAYER_ENTRY "parlixCreateFlashPlayer"
