#include "swf.h"

#include "avm1.h"
#include "swfwriter.h"

#include <QtEndian>

#include <lzma.h>
#include <zlib.h>

namespace Swf {

namespace {

// No game the window is meant for comes near this; a header claiming more
// is damaged or hostile, and is refused before anything is allocated.
constexpr quint32 MaxMovieBytes = 256u * 1024 * 1024;

constexpr int TagDoAction = 12;
constexpr int TagFileAttributes = 69;

quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(b.constData() + at));
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(b.constData() + at));
}

bool inflateZlib(const QByteArray &in, qsizetype from, quint32 expected, QByteArray &out)
{
    out.resize(expected);
    z_stream z {};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData() + from));
    z.avail_in = uInt(in.size() - from);
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int result = inflate(&z, Z_FINISH);
    const qsizetype produced = qsizetype(z.total_out);
    inflateEnd(&z);
    out.resize(produced);
    // A stream cut short still yields its start, as players accept; the
    // header's checks below decide whether that is enough.
    return result == Z_STREAM_END || result == Z_BUF_ERROR || result == Z_OK;
}

bool inflateLzma(const QByteArray &in, qsizetype from, quint32 expected, QByteArray &out)
{
    // ZWS: compressed length (4 bytes), LZMA properties (5), raw data. The
    // "alone" format the library reads wants the properties followed by the
    // uncompressed size (8 bytes).
    if (in.size() < from + 9)
        return false;
    QByteArray alone = in.mid(from + 4, 5);
    const quint64 size = qToLittleEndian(quint64(expected));
    alone.append(reinterpret_cast<const char *>(&size), 8);
    alone.append(in.mid(from + 9));

    lzma_stream strm = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&strm, 64u * 1024 * 1024) != LZMA_OK)
        return false;
    out.resize(expected);
    strm.next_in = reinterpret_cast<const uint8_t *>(alone.constData());
    strm.avail_in = size_t(alone.size());
    strm.next_out = reinterpret_cast<uint8_t *>(out.data());
    strm.avail_out = size_t(out.size());
    const lzma_ret result = lzma_code(&strm, LZMA_FINISH);
    const qsizetype produced = qsizetype(strm.total_out);
    lzma_end(&strm);
    out.resize(produced);
    return result == LZMA_STREAM_END || result == LZMA_OK || result == LZMA_BUF_ERROR;
}

// Reads the frame rectangle: 5 bits of field width, then four signed fields.
bool readRect(const QByteArray &b, int &at, int &width, int &height)
{
    if (at >= b.size())
        return false;
    const int bits = (uchar(b[at]) >> 3) & 0x1F;
    const int totalBits = 5 + 4 * bits;
    const int bytes = (totalBits + 7) / 8;
    if (at + bytes > b.size())
        return false;
    auto field = [&](int index) {
        qint64 value = 0;
        for (int i = 0; i < bits; ++i) {
            const int bit = 5 + index * bits + i;
            const int byte = at + bit / 8;
            value = (value << 1) | ((uchar(b[byte]) >> (7 - bit % 8)) & 1);
        }
        if (bits > 0 && (value >> (bits - 1)) & 1)
            value -= qint64(1) << bits;
        return value;
    };
    const qint64 xMin = field(0), xMax = field(1), yMin = field(2), yMax = field(3);
    width = int(qBound(qint64(0), xMax - xMin, qint64(1) << 30));
    height = int(qBound(qint64(0), yMax - yMin, qint64(1) << 30));
    at += bytes;
    return true;
}

struct TagHeader {
    int code = 0;
    qsizetype data = 0; // where its data starts
    qsizetype length = 0;
};

// The header of the tag at `at`, when it is all there.
std::optional<TagHeader> tagAt(const QByteArray &body, qsizetype at)
{
    if (at + 2 > body.size())
        return std::nullopt;
    const quint16 head = u16(body, at);
    TagHeader tag {head >> 6, at + 2, head & 0x3F};
    if (tag.length == 0x3F) {
        if (at + 6 > body.size())
            return std::nullopt;
        tag.length = u32(body, at + 2);
        tag.data = at + 6;
    }
    return tag;
}

} // namespace

std::optional<Movie> read(const QByteArray &bytes, QString *reason)
{
    auto fail = [reason](const char *why) -> std::optional<Movie> {
        if (reason)
            *reason = QString::fromLatin1(why);
        return std::nullopt;
    };
    if (bytes.size() < 8)
        return fail("shorter than a movie header");
    Movie movie;
    const QByteArray signature = bytes.left(3);
    if (signature == "FWS")
        movie.compression = Compression::None;
    else if (signature == "CWS")
        movie.compression = Compression::Zlib;
    else if (signature == "ZWS")
        movie.compression = Compression::Lzma;
    else
        return fail("not a Flash movie signature");
    movie.version = uchar(bytes[3]);
    if (movie.version < 1 || movie.version > 50)
        return fail("unknown version");
    if ((movie.compression == Compression::Zlib && movie.version < 6)
        || (movie.compression == Compression::Lzma && movie.version < 13))
        return fail("compression the version does not allow");
    const quint32 fileLength = u32(bytes, 4);
    if (fileLength < 8 + 5 || fileLength > MaxMovieBytes)
        return fail("impossible file length");

    const quint32 bodyLength = fileLength - 8;
    switch (movie.compression) {
    case Compression::None:
        movie.body = bytes.mid(8, bodyLength);
        break;
    case Compression::Zlib:
        if (!inflateZlib(bytes, 8, bodyLength, movie.body))
            return fail("damaged zlib data");
        break;
    case Compression::Lzma:
        if (!inflateLzma(bytes, 8, bodyLength, movie.body))
            return fail("damaged LZMA data");
        break;
    }

    int at = 0;
    if (!readRect(movie.body, at, movie.widthTwips, movie.heightTwips))
        return fail("no frame size");
    if (at + 4 > movie.body.size())
        return fail("no frame rate and count");
    movie.frameRate = uchar(movie.body[at + 1]) + uchar(movie.body[at]) / 256.0;
    movie.frameCount = u16(movie.body, at + 2);
    at += 4;
    movie.firstTag = at;

    // The first tag of a version 8+ movie may be FileAttributes.
    if (const std::optional<TagHeader> tag = tagAt(movie.body, at);
        tag && tag->code == TagFileAttributes && tag->length >= 1 && tag->data < movie.body.size())
        movie.actionScript3 = uchar(movie.body[tag->data]) & 0x08;
    return movie;
}

bool canControlFrames(const Movie &movie)
{
    return !movie.actionScript3 && movie.version >= 6;
}

QByteArray frameControlActions()
{
    Avm1 a;
    // Movies before version 8 see the flash package hidden; show it.
    a.push(0x1480).push(0).push(QStringLiteral("flash"));
    a.push(QStringLiteral("_global")).getVariable();
    a.push(4).push(QStringLiteral("ASSetPropFlags")).callFunction().pop();

    const QString ei = QStringLiteral("__parlixExternal");
    a.push(ei).push(QStringLiteral("flash")).getVariable();
    a.push(QStringLiteral("external")).getMember();
    a.push(QStringLiteral("ExternalInterface")).getMember();
    a.setVariable();

    auto rootProperty = [](const QString &property) {
        Avm1 body;
        body.push(QStringLiteral("_root")).getVariable().push(property).getMember().ret();
        return body;
    };
    auto rootCall = [](const QString &method, bool withArgument) {
        Avm1 body;
        if (withArgument)
            body.push(QStringLiteral("n")).getVariable().push(1);
        else
            body.push(0);
        body.push(QStringLiteral("_root")).getVariable().push(method).callMethod().pop();
        return body;
    };
    auto addCallback = [&](const QString &name, const QStringList &params, const Avm1 &body) {
        a.defineFunction(QString(), params, body);
        a.pushNull().push(name);
        a.push(3).push(ei).getVariable().push(QStringLiteral("addCallback")).callMethod().pop();
    };
    addCallback(QStringLiteral("parlixFrame"), {}, rootProperty(QStringLiteral("_currentframe")));
    addCallback(QStringLiteral("parlixTotal"), {}, rootProperty(QStringLiteral("_totalframes")));
    addCallback(QStringLiteral("parlixGoto"), {QStringLiteral("n")},
        rootCall(QStringLiteral("gotoAndStop"), true));
    addCallback(QStringLiteral("parlixPlay"), {}, rootCall(QStringLiteral("play"), false));
    addCallback(QStringLiteral("parlixStop"), {}, rootCall(QStringLiteral("stop"), false));
    return a.finished();
}

QByteArray playable(const Movie &movie)
{
    QByteArray body = movie.body;
    if (canControlFrames(movie)) {
        // After a leading FileAttributes tag, which must stay first.
        qsizetype at = movie.firstTag;
        if (const std::optional<TagHeader> tag = tagAt(body, at);
            tag && tag->code == TagFileAttributes)
            at = qMin(body.size(), tag->data + tag->length);
        const QByteArray actions = frameControlActions();
        body.insert(at, SwfWriter::tagHeader(TagDoAction, actions.size()) + actions);
    }
    return SwfWriter::pack(movie.version, body, Compression::None);
}

} // namespace Swf
