// Flash movie files: what the header check accepts and refuses, the frame
// callbacks put into a movie, and damaged files never crashing the reader.

#include "avm1.h"
#include "swf.h"
#include "swfwriter.h"

#include <QRandomGenerator>
#include <QTest>

using Swf::Compression;

Q_DECLARE_METATYPE(Swf::Compression)

namespace {

QByteArray movie(int version, Compression compression, int frames, bool as3 = false)
{
    SwfWriter w(version, QSize(320, 240), 24.5);
    if (version >= 8)
        w.fileAttributes(as3);
    w.backgroundColour(QColor(10, 20, 30));
    for (int i = 0; i < frames; ++i)
        w.showFrame();
    return w.finish(compression);
}

// The codes of the top-level tags, in order.
QList<int> tagCodes(const Swf::Movie &m)
{
    QList<int> codes;
    qsizetype at = m.firstTag;
    while (at + 2 <= m.body.size()) {
        const int head = uchar(m.body[at]) | uchar(m.body[at + 1]) << 8;
        qsizetype length = head & 0x3F;
        at += 2;
        if (length == 0x3F) {
            length = qsizetype(uchar(m.body[at]) | uchar(m.body[at + 1]) << 8
                | uchar(m.body[at + 2]) << 16 | uint(uchar(m.body[at + 3])) << 24);
            at += 4;
        }
        codes << (head >> 6);
        at += length;
    }
    return codes;
}

} // namespace

class TestSwf : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatIsWritten_data();
    void readsWhatIsWritten();
    void refusesDamagedHeaders_data();
    void refusesDamagedHeaders();
    void frameCallbacksGoFirstInFrameOne_data();
    void frameCallbacksGoFirstInFrameOne();
    void callbackCodeIsWellFormed();
    void mangledFilesNeverCrash();
};

void TestSwf::readsWhatIsWritten_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<Compression>("compression");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("as3");
    QTest::addColumn<bool>("controllable");

    for (int v = 4; v <= 13; ++v) {
        QTest::addRow("v%d plain", v) << v << Compression::None << 120 << false << (v >= 6);
        if (v >= 6)
            QTest::addRow("v%d zlib", v) << v << Compression::Zlib << 7 << false << true;
    }
    QTest::newRow("v13 lzma") << 13 << Compression::Lzma << 300 << false << true;
    QTest::newRow("v10 as3") << 10 << Compression::Zlib << 2 << true << false;
    QTest::newRow("v13 as3 lzma") << 13 << Compression::Lzma << 1 << true << false;
    QTest::newRow("one frame") << 8 << Compression::None << 1 << false << true;
    QTest::newRow("65535 frames in header") << 8 << Compression::None << 0 << false << true;
}

void TestSwf::readsWhatIsWritten()
{
    QFETCH(int, version);
    QFETCH(Compression, compression);
    QFETCH(int, frames);
    QFETCH(bool, as3);
    QFETCH(bool, controllable);

    SwfWriter w(version, QSize(320, 240), 24.5);
    if (version >= 8)
        w.fileAttributes(as3);
    for (int i = 0; i < frames; ++i)
        w.showFrame();
    const int declared = frames == 0 ? 65535 : frames;
    const QByteArray bytes = w.finish(compression, declared);

    QString reason;
    const std::optional<Swf::Movie> m = Swf::read(bytes, &reason);
    QVERIFY2(m, qPrintable(reason));
    QCOMPARE(m->version, version);
    QCOMPARE(m->compression, compression);
    QCOMPARE(m->frameCount, declared);
    QCOMPARE(m->frameRate, 24.5);
    QCOMPARE(m->widthTwips, 320 * 20);
    QCOMPARE(m->heightTwips, 240 * 20);
    QCOMPARE(m->actionScript3, as3);
    QCOMPARE(Swf::canControlFrames(*m), controllable);
}

void TestSwf::refusesDamagedHeaders_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = movie(8, Compression::None, 10);
    const QByteArray zlib = movie(8, Compression::Zlib, 10);
    const QByteArray lzma = movie(13, Compression::Lzma, 10);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("seven bytes") << good.left(7);
    QTest::newRow("text file") << QByteArray("Hello, this is not a movie at all.\n");
    QTest::newRow("lower-case signature") << QByteArray("fws").append(good.mid(3));
    QTest::newRow("version 0") << QByteArray(good).replace(3, 1, QByteArray(1, '\0'));
    QTest::newRow("version 200") << QByteArray(good).replace(3, 1, QByteArray(1, char(200)));
    QTest::newRow("zlib in a version 5 file")
        << QByteArray(zlib).replace(3, 1, QByteArray(1, '\5'));
    QTest::newRow("length 4 GB") << QByteArray(good).replace(4, 4, QByteArray(4, char(0xFF)));
    QTest::newRow("length below a header")
        << QByteArray(good).replace(4, 4, QByteArray("\x09\0\0\0", 4));
    QTest::newRow("header cut in the frame size") << good.left(9);
    QTest::newRow("header cut before the frame count") << good.left(8 + 9 + 2);
    QTest::newRow("zlib garbage") << QByteArray("CWS\x08\x40\0\0\0", 8).append(QByteArray(40, 'x'));
    QTest::newRow("zlib cut short") << zlib.left(10);
    QTest::newRow("lzma garbage") << QByteArray("ZWS\x0d\x40\0\0\0", 8).append(QByteArray(40, 'x'));
    QTest::newRow("lzma cut short") << lzma.left(14);
}

void TestSwf::refusesDamagedHeaders()
{
    QFETCH(QByteArray, bytes);
    QString reason;
    QVERIFY(!Swf::read(bytes, &reason));
    QVERIFY(!reason.isEmpty());
}

void TestSwf::frameCallbacksGoFirstInFrameOne_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<Compression>("compression");
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");

    // 69 FileAttributes, 9 background, 1 ShowFrame, 12 DoAction, 0 End.
    QTest::newRow("v8 keeps FileAttributes first")
        << 8 << Compression::Zlib << QList<int> {69, 9, 1, 1, 0} << QList<int> {69, 12, 9, 1, 1, 0};
    QTest::newRow("v6 has none") << 6 << Compression::None << QList<int> {9, 1, 1, 0}
                                 << QList<int> {12, 9, 1, 1, 0};
    QTest::newRow("v13 lzma") << 13 << Compression::Lzma << QList<int> {69, 9, 1, 1, 0}
                              << QList<int> {69, 12, 9, 1, 1, 0};
    QTest::newRow("v5 cannot be reached")
        << 5 << Compression::None << QList<int> {9, 1, 1, 0} << QList<int> {9, 1, 1, 0};
}

void TestSwf::frameCallbacksGoFirstInFrameOne()
{
    QFETCH(int, version);
    QFETCH(Compression, compression);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);

    const std::optional<Swf::Movie> original = Swf::read(movie(version, compression, 2));
    QVERIFY(original);
    QCOMPARE(tagCodes(*original), before);

    const QByteArray playable = Swf::playable(*original);
    QVERIFY(playable.startsWith("FWS"));
    const std::optional<Swf::Movie> changed = Swf::read(playable);
    QVERIFY(changed);
    QCOMPARE(changed->version, version);
    QCOMPARE(changed->frameCount, 2);
    QCOMPARE(tagCodes(*changed), after);
    // The header's length is the file's.
    const quint32 length = uchar(playable[4]) | uchar(playable[5]) << 8 | uchar(playable[6]) << 16
        | quint32(uchar(playable[7])) << 24;
    QCOMPARE(qsizetype(length), playable.size());

    // An ActionScript 3 movie is left as it is.
    const std::optional<Swf::Movie> as3 = Swf::read(movie(13, compression, 2, true));
    QVERIFY(as3);
    QCOMPARE(tagCodes(*Swf::read(Swf::playable(*as3))), tagCodes(*as3));
}

// Walks the callback code action by action: every action's length keeps it
// inside the code, the functions' bodies end inside it, and it ends with
// the End action; the five callback names are all there.
void TestSwf::callbackCodeIsWellFormed()
{
    const QByteArray code = Swf::frameControlActions();
    QVERIFY(code.endsWith('\0'));
    qsizetype at = 0;
    int functions = 0;
    while (at < code.size() - 1) {
        const uchar action = uchar(code[at]);
        QVERIFY(action != 0);
        if (action < 0x80) {
            ++at;
            continue;
        }
        QVERIFY(at + 3 <= code.size());
        const int length = uchar(code[at + 1]) | uchar(code[at + 2]) << 8;
        QVERIFY(at + 3 + length <= code.size());
        if (action == 0x9B) {
            ++functions;
            const int bodySize
                = uchar(code[at + 3 + length - 2]) | uchar(code[at + 3 + length - 1]) << 8;
            QVERIFY(at + 3 + length + bodySize < code.size());
        }
        at += 3 + length;
    }
    QCOMPARE(at, code.size() - 1);
    QCOMPARE(functions, 5);
    for (const char *name :
        {"parlixFrame", "parlixTotal", "parlixGoto", "parlixPlay", "parlixStop"})
        QVERIFY2(code.contains(name), name);
}

void TestSwf::mangledFilesNeverCrash()
{
    QRandomGenerator random(20261210);
    const QList<QByteArray> seeds
        = {movie(8, Compression::None, 30), movie(9, Compression::Zlib, 30),
            movie(13, Compression::Lzma, 30), movie(10, Compression::Zlib, 3, true)};
    int read = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = seeds[round % seeds.size()];
        const int changes = 1 + int(random.bounded(6));
        for (int i = 0; i < changes; ++i) {
            const int at = int(random.bounded(int(bytes.size())));
            switch (random.bounded(3)) {
            case 0:
                bytes[at] = char(random.bounded(256));
                break;
            case 1:
                bytes.truncate(at);
                break;
            default:
                bytes.insert(at, char(random.bounded(256)));
            }
            if (bytes.isEmpty())
                break;
        }
        if (const std::optional<Swf::Movie> m = Swf::read(bytes)) {
            ++read;
            QVERIFY(!Swf::playable(*m).isEmpty());
        }
    }
    QVERIFY(read > 0);
}

QTEST_GUILESS_MAIN(TestSwf)
#include "tst_swf.moc"
