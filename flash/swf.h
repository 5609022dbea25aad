#pragma once

// Flash movie files: the header checked before a movie reaches the player,
// and the movie made ready to play with the program's frame callbacks.

#include <QByteArray>
#include <QString>

#include <optional>

namespace Swf {

enum class Compression { None, Zlib, Lzma };

struct Movie {
    Compression compression = Compression::None;
    int version = 0;
    double frameRate = 0.0;
    int frameCount = 0;
    int widthTwips = 0;
    int heightTwips = 0;
    // FileAttributes says the movie's code is ActionScript 3.
    bool actionScript3 = false;
    // Everything after the 8-byte header, uncompressed.
    QByteArray body;
    // Where the tags start in body.
    int firstTag = 0;
};

// Reads and checks a movie: signature (FWS, CWS or ZWS), version, the
// compressed body, the frame size, rate and count. Nothing when the bytes
// are not a movie; reason then says why, in English, for logs and tests.
std::optional<Movie> read(const QByteArray &bytes, QString *reason = nullptr);

// Whether the program can read and set the current frame of the movie: its
// code is ActionScript 1/2 and the movie is recent enough (version 6) to
// reach the player's external interface.
bool canControlFrames(const Movie &movie);

// The movie as an uncompressed file, with one DoAction tag at the start of
// frame 1 registering the callbacks parlixFrame(), parlixTotal(),
// parlixGoto(n), parlixPlay() and parlixStop() when canControlFrames.
QByteArray playable(const Movie &movie);

// The DoAction body that registers the callbacks.
QByteArray frameControlActions();

} // namespace Swf
