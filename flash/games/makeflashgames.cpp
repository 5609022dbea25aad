// Builds the ActionScript 1/2 demo game shipped in FlashGame: "数星星", a
// star that flies round the sky on the main timeline (48 frames, so the
// track bar has something to show) and scores when clicked.
//
// Usage: make-flashgames <output folder>

#include "avm1.h"
#include "swfwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointF>
#include <QRect>
#include <QtMath>

#include <cstdio>

namespace {

using Bits = SwfWriter::Bits;

QByteArray rgb(const QColor &c)
{
    QByteArray out;
    out.append(char(c.red()));
    out.append(char(c.green()));
    out.append(char(c.blue()));
    return out;
}

QByteArray rgba(const QColor &c)
{
    return rgb(c) + QByteArray(1, char(c.alpha()));
}

QByteArray cString(const QString &s)
{
    return s.toUtf8() + QByteArray(1, '\0');
}

// A matrix that only moves (twips).
QByteArray translation(int x, int y)
{
    Bits b;
    b.write(0, 1); // no scale
    b.write(0, 1); // no rotation
    const int bits = (x == 0 && y == 0) ? 0 : qMax(Bits::bitsForSigned(x), Bits::bitsForSigned(y));
    b.write(quint32(bits), 5);
    if (bits > 0) {
        b.writeSigned(x, bits);
        b.writeSigned(y, bits);
    }
    return b.bytes();
}

// DefineShape: closed polygons (twips, around the shape's origin), each
// filled with its colour and outlined in a darker one.
struct Polygon {
    QList<QPoint> points;
    QColor fill;
    QColor line;
};

QByteArray defineShape(int id, const QList<Polygon> &polygons)
{
    int xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool first = true;
    for (const Polygon &p : polygons) {
        for (const QPoint &pt : p.points) {
            xMin = first ? pt.x() : qMin(xMin, pt.x());
            xMax = first ? pt.x() : qMax(xMax, pt.x());
            yMin = first ? pt.y() : qMin(yMin, pt.y());
            yMax = first ? pt.y() : qMax(yMax, pt.y());
            first = false;
        }
    }
    QByteArray out
        = SwfWriter::u16(id) + SwfWriter::rect(xMin - 40, xMax + 40, yMin - 40, yMax + 40);
    out.append(char(polygons.size()));
    for (const Polygon &p : polygons)
        out.append('\0' + rgb(p.fill));
    out.append(char(polygons.size()));
    for (const Polygon &p : polygons)
        out.append(SwfWriter::u16(40) + rgb(p.line));
    const int styleBits = Bits::bitsForUnsigned(quint32(polygons.size()));
    Bits b;
    b.write(quint32(styleBits), 4);
    b.write(quint32(styleBits), 4);
    QPoint pen(0, 0);
    for (int i = 0; i < polygons.size(); ++i) {
        const QList<QPoint> &pts = polygons[i].points;
        // Style change: line style, fill style 1, move to the first point.
        b.write(0, 1);
        b.write(0, 1); // new styles
        b.write(1, 1); // line style
        b.write(1, 1); // fill style 1
        b.write(1, 1); // fill style 0 (cleared)
        b.write(1, 1); // move to
        const int moveBits = qMax(Bits::bitsForSigned(pts[0].x()), Bits::bitsForSigned(pts[0].y()));
        b.write(quint32(moveBits), 5);
        b.writeSigned(pts[0].x(), moveBits);
        b.writeSigned(pts[0].y(), moveBits);
        b.write(0, styleBits); // fill 0: none
        b.write(quint32(i + 1), styleBits); // fill 1
        b.write(quint32(i + 1), styleBits); // line
        pen = pts[0];
        for (int k = 1; k <= pts.size(); ++k) {
            const QPoint to = pts[k % pts.size()];
            const int dx = to.x() - pen.x();
            const int dy = to.y() - pen.y();
            const int bits = qMax(2, qMax(Bits::bitsForSigned(dx), Bits::bitsForSigned(dy)));
            b.write(1, 1); // edge
            b.write(1, 1); // straight
            b.write(quint32(bits - 2), 4);
            b.write(1, 1); // general line
            b.writeSigned(dx, bits);
            b.writeSigned(dy, bits);
            pen = to;
        }
    }
    b.write(0, 6); // end of shape
    out.append(b.bytes());
    return out;
}

QList<QPoint> star(double outer, double inner, int points = 5)
{
    QList<QPoint> out;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -M_PI / 2 + i * M_PI / points;
        out << QPoint(qRound(r * qCos(a)), qRound(r * qSin(a)));
    }
    return out;
}

// A device font (no outlines): the player draws it with its own face.
QByteArray deviceFont(int id, const QString &name)
{
    QByteArray out = SwfWriter::u16(id);
    out.append(char(0x04)); // wide codes
    out.append('\0'); // language
    const QByteArray n = name.toUtf8();
    out.append(char(n.size()));
    out.append(n);
    out.append(SwfWriter::u16(0)); // no glyphs
    out.append(SwfWriter::u16(2)); // code table offset
    return out;
}

// DefineEditText: read-only, not selectable, a variable or a fixed text.
QByteArray textField(int id, const QRect &twips, int fontId, int heightTwips, const QColor &colour,
    const QString &variable, const QString &text, int align)
{
    QByteArray out = SwfWriter::u16(id)
        + SwfWriter::rect(
            twips.left(), twips.left() + twips.width(), twips.top(), twips.top() + twips.height());
    const bool hasText = !text.isEmpty();
    out.append(char((hasText ? 0x80 : 0) | 0x08 | 0x04 | 0x01)); // text, read-only, colour, font
    out.append(char(0x20 | 0x10)); // layout, not selectable
    out.append(SwfWriter::u16(fontId) + SwfWriter::u16(heightTwips));
    out.append(rgba(colour));
    out.append(char(align)); // 0 left, 1 right, 2 centre
    out.append(SwfWriter::u16(0) + SwfWriter::u16(0) + SwfWriter::u16(0) + SwfWriter::u16(0));
    out.append(cString(variable));
    if (hasText)
        out.append(cString(text));
    return out;
}

QByteArray placeNew(int depth, int id, int x, int y, const QString &name = {})
{
    QByteArray out;
    out.append(char(0x02 | 0x04 | (name.isEmpty() ? 0 : 0x20)));
    out.append(SwfWriter::u16(depth) + SwfWriter::u16(id) + translation(x, y));
    if (!name.isEmpty())
        out.append(cString(name));
    return out;
}

QByteArray moveTo(int depth, int x, int y)
{
    QByteArray out(1, char(0x01 | 0x04));
    out.append(SwfWriter::u16(depth) + translation(x, y));
    return out;
}

// DefineButton2: one shape for every state, actions run when pressed.
QByteArray button(int id, int shapeId, const QByteArray &onPress)
{
    QByteArray record;
    record.append(char(0x0F)); // up, over, down, hit
    record.append(SwfWriter::u16(shapeId) + SwfWriter::u16(1));
    record.append(translation(0, 0));
    record.append('\0'); // colour transform: none
    QByteArray out = SwfWriter::u16(id);
    out.append('\0'); // not a menu
    out.append(SwfWriter::u16(2 + int(record.size()) + 1));
    out.append(record);
    out.append('\0'); // end of characters
    out.append(SwfWriter::u16(0)); // last condition
    out.append(char(0x04)); // over, up → down: pressed
    out.append('\0');
    out.append(onPress);
    return out;
}

// Sets msg to the score line.
void showScore(Avm1 &a)
{
    a.push(QStringLiteral("msg"))
        .push(QStringLiteral("得分："))
        .push(QStringLiteral("score"))
        .getVariable();
    a.add().setVariable();
}

QByteArray countTheStars()
{
    const int width = 480, height = 400;
    SwfWriter w(8, QSize(width, height), 12);
    w.fileAttributes(false);
    w.backgroundColour(QColor(16, 32, 72));

    enum { Font = 1, Sky = 2, Star = 3, StarButton = 4, Title = 5, Score = 6, Hint = 7 };
    w.tag(48, deviceFont(Font, QStringLiteral("_sans")));

    // Small fixed stars over the sky.
    QList<Polygon> sky;
    const QPoint places[] = {
        {40, 60}, {120, 300}, {200, 110}, {300, 340}, {420, 90}, {440, 260}, {70, 200}, {260, 230}};
    for (const QPoint &p : places) {
        QList<QPoint> pts;
        for (const QPoint &q : star(70, 30))
            pts << q + p * 20;
        sky << Polygon {pts, QColor(200, 210, 255), QColor(120, 130, 200)};
    }
    w.tag(2, defineShape(Sky, sky));
    w.tag(
        2, defineShape(Star, {Polygon {star(620, 260), QColor(255, 214, 0), QColor(230, 120, 0)}}));

    Avm1 caught;
    caught.push(QStringLiteral("score"))
        .push(QStringLiteral("score"))
        .getVariable()
        .increment()
        .setVariable();
    showScore(caught);
    // The star jumps somewhere else on its way.
    caught.push(48).random().increment().push(1).push(QStringLiteral("_root")).getVariable();
    caught.push(QStringLiteral("gotoAndPlay")).callMethod().pop();
    w.tag(34, button(StarButton, Star, caught.finished()));

    w.tag(37,
        textField(Title, QRect(0, 0, width * 20, 700), Font, 600, QColor(255, 255, 255, 255),
            QString(), QStringLiteral("数星星"), 2));
    w.tag(37,
        textField(Score, QRect(0, 0, width * 20, 560), Font, 440, QColor(255, 230, 80, 255),
            QStringLiteral("msg"), QString(), 2));
    w.tag(37,
        textField(Hint, QRect(0, 0, width * 20, 400), Font, 300, QColor(170, 190, 255, 255),
            QString(), QStringLiteral("星星飞过来了，快点它！"), 2));

    // Frame 1: the score starts at nought, once.
    Avm1 start;
    Avm1 init;
    init.push(QStringLiteral("started")).pushBool(true).setVariable();
    init.push(QStringLiteral("score")).push(0).setVariable();
    start.push(QStringLiteral("started")).getVariable().branchIfTrue(init.size());
    QByteArray code = start.code() + init.code();
    Avm1 tail;
    showScore(tail);
    w.doAction(code + tail.finished());

    w.tag(26, placeNew(1, Sky, 0, 0));
    w.tag(26, placeNew(3, Title, 0, 200));
    w.tag(26, placeNew(4, Score, 0, (height - 40) * 20));
    w.tag(26, placeNew(5, Hint, 0, 60 * 20));

    // The star's flight: a loop round the sky, one place per frame.
    const int frames = 48;
    for (int f = 0; f < frames; ++f) {
        const double t = 2 * M_PI * f / frames;
        const int x = qRound((width / 2 + 170 * qSin(t)) * 20);
        const int y = qRound((height / 2 + 20 + 110 * qSin(2 * t)) * 20);
        if (f == 0)
            w.tag(26, placeNew(2, StarButton, x, y, QStringLiteral("star")));
        else
            w.tag(26, moveTo(2, x, y));
        w.showFrame();
    }
    return w.finish(Swf::Compression::Zlib);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-flashgames <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QFile file(out.filePath(QStringLiteral("数星星.swf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(countTheStars()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
