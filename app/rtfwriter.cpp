#include "rtfwriter.h"

#include "textencoding.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cmath>

namespace {

bool isCjk(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) || c >= 0x20000;
}

bool hasNonAscii(const QString &s)
{
    for (QChar c : s) {
        if (c.unicode() >= 0x80)
            return true;
    }
    return false;
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document)
        : m_doc(document)
    {
    }
    QByteArray write();

private:
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    void collect();
    // chinese: the text's font declares the GB2312 character set, so its
    // bytes are GBK; otherwise they are Windows-1252.
    void writeText(QByteArray &out, const QString &text, bool chinese);
    static void appendHex(QByteArray &out, const QByteArray &bytes);
    // An image of the document as an RTF picture: PNG and JPEG data as it
    // came, anything else as PNG.
    void writeImage(QByteArray &out, const QTextImageFormat &format) const;
    QString familyOf(const QTextCharFormat &format) const;

    const QTextDocument &m_doc;
    QStringList m_fonts;
    QList<bool> m_fontChinese;
    QList<QColor> m_colors;
    QStringEncoder m_latin {"windows-1252", QStringEncoder::Flag::Stateless};
};

QString Writer::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_doc.defaultFont().family();
}

int Writer::fontIndex(const QString &family)
{
    const qsizetype i = m_fonts.indexOf(family);
    if (i >= 0)
        return int(i);
    m_fonts << family;
    m_fontChinese << hasNonAscii(family);
    return int(m_fonts.size() - 1);
}

int Writer::colorIndex(const QColor &color)
{
    const QColor c = color.toRgb();
    for (qsizetype i = 0; i < m_colors.size(); ++i) {
        if (m_colors[i].rgb() == c.rgb())
            return int(i) + 1; // entry 0 is "automatic"
    }
    m_colors << c;
    return int(m_colors.size());
}

// First pass: the fonts and colours the text uses, and which fonts carry
// Chinese (those declare the GB2312 character set).
void Writer::collect()
{
    fontIndex(m_doc.defaultFont().family());
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const int font = fontIndex(familyOf(format));
            if (!m_fontChinese[font]) {
                const QString text = fragment.text();
                for (QChar c : text) {
                    if (isCjk(c.unicode()) || c.isSurrogate()) {
                        m_fontChinese[font] = true;
                        break;
                    }
                }
            }
            if (format.hasProperty(QTextFormat::ForegroundBrush))
                colorIndex(format.foreground().color());
            if (format.hasProperty(QTextFormat::BackgroundBrush))
                colorIndex(format.background().color());
        }
    }
}

void Writer::appendHex(QByteArray &out, const QByteArray &bytes)
{
    static const char hex[] = "0123456789abcdef";
    for (char b : bytes) {
        out += "\\'";
        out += hex[uchar(b) >> 4];
        out += hex[uchar(b) & 0xF];
    }
}

void Writer::writeText(QByteArray &out, const QString &text, bool chinese)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator || u == '\n' || u == '\r') {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u < 0x20 || u == 0x7F || u == QChar::ObjectReplacementCharacter) {
            continue; // control characters and embedded objects are not text
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // Beyond the basic plane: a surrogate pair of \u, which is what
            // Word and LibreOffice write and read.
            out += "\\u" + QByteArray::number(int(qint16(u))) + "?";
            out += "\\u" + QByteArray::number(int(qint16(text[i + 1].unicode()))) + "?";
            ++i;
        } else if (!chinese) {
            // In a western font: Unicode, with the Windows-1252 byte (or "?")
            // for readers that know no Unicode.
            out += "\\u" + QByteArray::number(int(qint16(u)));
            const QByteArray bytes = m_latin.encode(QStringView(&text.constData()[i], 1));
            if (bytes.size() != 1 || bytes[0] == '?') {
                out += '?';
            } else {
                appendHex(out, bytes);
            }
        } else if (const uint16_t code = TextEncoding::gbkCode(u)) {
            static const char hex[] = "0123456789abcdef";
            if (code > 0xFF) {
                const char pair[] = {'\\', '\'', hex[code >> 12], hex[code >> 8 & 0xF], '\\', '\'',
                    hex[code >> 4 & 0xF], hex[code & 0xF]};
                out.append(pair, sizeof pair);
            } else {
                const char one[] = {'\\', '\'', hex[code >> 4], hex[code & 0xF]};
                out.append(one, sizeof one);
            }
        } else {
            out += "\\u" + QByteArray::number(int(qint16(u))) + "?";
        }
    }
}

QByteArray Writer::write()
{
    collect();
    QByteArray out;
    // Chinese takes eight bytes a character (two escaped bytes).
    out.reserve(qsizetype(m_doc.characterCount()) * 8 + m_doc.blockCount() * 64 + 512);
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\\uc1\r\n";
    out += "{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset"
            + (m_fontChinese[i] ? "134" : "0") + " ";
        QByteArray name;
        writeText(name, m_fonts[i], m_fontChinese[i]);
        out += name + ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor &c : std::as_const(m_colors)) {
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
            + "\\blue" + QByteArray::number(c.blue()) + ";";
    }
    out += "}\r\n\\viewkind4\r\n";

    const qreal defaultPoints = m_doc.defaultFont().pointSizeF() > 0
        ? m_doc.defaultFont().pointSizeF()
        : m_doc.defaultFont().pixelSize() * 0.75;
    // Every paragraph ends with \par, the last one too, as WordPad writes
    // them: readers take the final \par as the end of the last paragraph.
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        out += "\\pard";
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            out += "\\qc";
        else if (align & (Qt::AlignRight | Qt::AlignTrailing) && !(align & Qt::AlignLeft))
            out += "\\qr";
        else if (align & Qt::AlignJustify)
            out += "\\qj";
        if (bf.leftMargin() > 0)
            out += "\\li" + QByteArray::number(qRound(bf.leftMargin() * 15));
        if (bf.rightMargin() > 0)
            out += "\\ri" + QByteArray::number(qRound(bf.rightMargin() * 15));
        if (bf.textIndent() != 0)
            out += "\\fi" + QByteArray::number(qRound(bf.textIndent() * 15));
        out += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                // One object character for each image of the fragment.
                for (QChar c : fragment.text()) {
                    if (c == QChar::ObjectReplacementCharacter)
                        writeImage(out, f.toImageFormat());
                }
                continue;
            }
            const int font = fontIndex(familyOf(f));
            qreal points = f.fontPointSize();
            if (points <= 0 && f.hasProperty(QTextFormat::FontPixelSize))
                points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
            if (points <= 0)
                points = defaultPoints;
            const QByteArray size = QByteArray::number(std::max(1, qRound(points * 2)));
            const bool bold = f.fontWeight() >= QFont::DemiBold;
            out += "{\\f" + QByteArray::number(font) + "\\fs" + size;
            if (bold)
                out += "\\b";
            if (f.fontItalic())
                out += "\\i";
            if (m_fontChinese[font]) {
                // Asian text has a font, size, bold and italic of its own in
                // Word and LibreOffice: give it the run's, or they show it in
                // a default Asian font.
                out += "\\dbch\\af" + QByteArray::number(font) + "\\afs" + size;
                if (bold)
                    out += "\\ab";
                if (f.fontItalic())
                    out += "\\ai";
                out += "\\loch";
            }
            if (f.fontUnderline())
                out += "\\ul";
            if (f.fontStrikeOut())
                out += "\\strike";
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                out += "\\super";
            else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                out += "\\sub";
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                out += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                out += "\\highlight" + QByteArray::number(colorIndex(f.background().color()))
                    + "\\chcbpat" + QByteArray::number(colorIndex(f.background().color()));
            out += ' ';
            writeText(out, fragment.text(), m_fontChinese[font]);
            out += '}';
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

void Writer::writeImage(QByteArray &out, const QTextImageFormat &format) const
{
    const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QByteArray data;
    QImage image;
    if (resource.typeId() == QMetaType::QByteArray) {
        data = resource.toByteArray();
        image = QImage::fromData(data);
    } else if (resource.typeId() == QMetaType::QImage) {
        image = resource.value<QImage>();
    } else if (resource.typeId() == QMetaType::QPixmap) {
        image = resource.value<QPixmap>().toImage();
    }
    if (image.isNull())
        return; // nothing the document can show: nothing to keep
    const bool png = data.startsWith("\x89PNG\r\n\x1a\n");
    const bool jpeg = data.startsWith("\xff\xd8\xff");
    if (!png && !jpeg) {
        data.clear();
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    out += "{\\pict";
    out += jpeg ? "\\jpegblip" : "\\pngblip";
    out += "\\picw" + QByteArray::number(image.width()) + "\\pich"
        + QByteArray::number(image.height());
    // Shown size in twips, at 96 pixels an inch.
    out += "\\picwgoal" + QByteArray::number(qRound(width * 15)) + "\\pichgoal"
        + QByteArray::number(qRound(height * 15)) + "\r\n";
    const QByteArray hex = data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out += hex.mid(i, 128);
        out += "\r\n";
    }
    out += "}";
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument &document)
{
    return Writer(document).write();
}
