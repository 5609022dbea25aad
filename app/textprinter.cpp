#include "textprinter.h"

#include "maker.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>

QString TextPrinter::headerLine(const QString &date, const QString &time)
{
    return Maker::ProductVersion + QStringLiteral("  朗读内容打印   ") + date + QStringLiteral("  ")
        + time;
}

QString TextPrinter::ruleLine()
{
    return QString(86, u'_');
}

QStringList TextPrinter::wrap(
    const QStringList &lines, qreal width, const std::function<qreal(QStringView)> &advance)
{
    QStringList printed;
    for (const QString &line : lines) {
        if (line.isEmpty()) {
            printed << QString();
            continue;
        }
        qsizetype start = 0;
        qreal used = 0;
        qsizetype i = 0;
        while (i < line.size()) {
            // A surrogate pair is one character: never split it.
            const qsizetype len = line[i].isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
            const qreal w = advance(QStringView(line).mid(i, len));
            if (used + w > width && i > start) {
                printed << line.mid(start, i - start);
                start = i;
                used = 0;
            }
            used += w;
            i += len;
        }
        printed << line.mid(start);
    }
    return printed;
}

QList<QStringList> TextPrinter::paginate(const QStringList &printed, int linesPerPage)
{
    QList<QStringList> pages;
    const int perPage = std::max(1, linesPerPage);
    for (qsizetype i = 0; i < printed.size(); i += perPage)
        pages << printed.mid(i, perPage);
    if (pages.isEmpty())
        pages << QStringList();
    return pages;
}

bool TextPrinter::print(QPagedPaintDevice &device, const QFont &font, const QString &header,
    const QString &text, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QPainter painter;
    if (!painter.begin(&device))
        return fail(QStringLiteral("无法开始打印。"));
    // Sizes in points, so the text prints as large as it shows.
    QFont printFont = font;
    if (printFont.pointSizeF() <= 0)
        printFont.setPointSizeF(font.pixelSize() * 0.75);
    QFont deviceFont(printFont, &device);
    painter.setFont(deviceFont);
    const QFontMetricsF metrics(deviceFont, &device);
    const QRect page = painter.viewport();
    const qreal lineHeight = metrics.lineSpacing();
    const int linesPerPage = std::max(1, int(page.height() / lineHeight));

    QStringList lines {header, ruleLine(), QString()};
    if (!text.isEmpty())
        lines += text.split(u'\n');
    QHash<QString, qreal> widths; // a text repeats its characters: measure each once
    const QStringList printed = wrap(lines, page.width(), [&](QStringView piece) {
        const QString key = piece.toString();
        auto it = widths.find(key);
        if (it == widths.end())
            it = widths.insert(key, metrics.horizontalAdvance(key));
        return *it;
    });
    const QList<QStringList> pages = paginate(printed, linesPerPage);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return fail(QStringLiteral("打印机不能开始新的一页。"));
        }
        qreal y = metrics.ascent();
        for (const QString &line : pages[p]) {
            painter.drawText(QPointF(0, y), line);
            y += lineHeight;
        }
    }
    if (!painter.end())
        return fail(QStringLiteral("打印没有完成。"));
    return true;
}
