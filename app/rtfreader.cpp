#include "rtfreader.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImageReader>
#include <QList>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

// The code page of a font's character set (\fcharsetN); 0 for "the
// document's".
int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: their bytes are glyph numbers
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

const char *encodingName(int codePage)
{
    switch (codePage) {
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    case 932:
        return "windows-31j";
    case 949:
        return "windows-949";
    case 1361:
        return "johab";
    case 874:
        return "windows-874";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-1252";
    }
}

bool isCjk(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// All the pictures of a document together may take this much; past it,
// further ones are left out as unreadable ones are.
constexpr qint64 MaxPictureBytes = 128 * 1024 * 1024;

enum class Dest {
    Text, // shown
    Skip, // read past
    FontTable,
    ColorTable,
    UprSkip, // the first (byte) copy of a \upr group; its \ud copy is shown
    Picture, // a \pict group's data
};

enum class Slot { None, Loch, Hich, Dbch, Rtl };

// Character properties. The db* values are those of double-byte (CJK)
// text where a writer gives them apart (\dbch with \af, \afs, \ab, \ai, or
// \f, \fs, \b, \i); -1 means "as the rest".
struct CharState {
    int font = -1;
    int size = 24; // half-points: 12 points unless the text says otherwise, as RTF has it
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int color = 0; // colour table index; 0 automatic
    int highlight = 0;
    int vertical = 0; // 1 superscript, -1 subscript
    int dbFont = -1;
    int dbSize = -1;
    int dbBold = -1;
    int dbItalic = -1;
    Slot slot = Slot::None;

    bool operator==(const CharState &) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
};

struct Group {
    CharState ch;
    ParaState para;
    Dest dest = Dest::Text;
    Dest uprOuter = Dest::Text;
    int uc = 1;
    bool pictureOwner = false; // the \pict group itself, not one inside it
};

// A picture being read: its kind, its data, and the size it is shown at.
struct Picture {
    enum Kind { Unknown, Png, Jpeg, Other };
    Kind kind = Unknown;
    QByteArray data;
    int nibble = -1; // the first hex digit of a byte, waiting for its second
    int width = 0; // \picw, \pich: pixels
    int height = 0;
    int goalWidth = 0; // \picwgoal, \pichgoal: twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
};

struct Font {
    QString name;
    int codePage = 0;
};

struct Run {
    QString text;
    int format;
    QByteArray image; // a PNG or JPEG picture instead of text
    QSize imageSize; // shown at, in pixels
};

struct Paragraph {
    ParaState para;
    std::vector<Run> runs;
};

class Parser
{
public:
    Parser(QByteArrayView data, const RtfReader::Limits &limits)
        : m_data(data)
        , m_limits(limits)
    {
    }

    RtfReader::Result run(QTextDocument *document);

private:
    // Tokens
    void controlWord(QByteArrayView word, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(char byte);
    void openGroup();
    void closeGroup();

    // Text
    void flushBytes();
    void emitText(const QString &text);
    void addRun(QStringView text, int format);
    void emitChar(char32_t c);
    void endParagraph();
    int formatFor(bool cjk);
    int codePageNow() const;
    QStringDecoder &decoder(int codePage);
    QString fontName();
    void skipFallback();
    void pictureWord(QByteArrayView word, bool hasParam, int param);
    void finishPicture();

    Group &g() { return m_stack.back(); }
    bool inText() const { return m_overflow == 0 && m_stack.back().dest == Dest::Text; }
    bool fontKnown(int index) const { return m_fonts.count(index) != 0; }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    RtfReader::Limits m_limits;
    bool m_partial = false;
    QString m_problem;

    std::vector<Group> m_stack;
    int m_overflow = 0; // groups opened past the depth limit
    bool m_pendingStar = false; // "\*" seen: the group's next word may be unknown
    int m_fallbackLeft = 0; // bytes or symbols still to skip after \uN
    char16_t m_highSurrogate = 0;

    int m_docCodePage = 1252;
    int m_defaultFont = 0; // without \deff, font 0
    std::map<int, Font> m_fonts;
    int m_fontEntry = -1; // the font table entry being read
    QByteArray m_fontName;
    int m_fontCharset = -1;
    int m_fontCodePage = 0;
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;

    QByteArray m_bytes; // text bytes not yet decoded
    int m_bytesCodePage = 0;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;

    Picture m_picture;
    qint64 m_pictureBytes = 0; // kept so far, to stay bounded
    int m_dropped = 0; // pictures and objects that cannot be kept

    std::vector<Paragraph> m_paragraphs;
    std::vector<QTextCharFormat> m_formats;
    QHash<QByteArray, int> m_formatIds;
    CharState m_lastState;
    bool m_lastCjk = false;
    int m_lastFormat = -2; // none yet
    int m_images = 0;
};

void Parser::openGroup()
{
    flushBytes();
    m_fallbackLeft = 0;
    if (m_overflow > 0 || int(m_stack.size()) >= m_limits.maxDepth) {
        if (m_overflow == 0 && !m_partial) {
            m_partial = true;
            m_problem = QStringLiteral("分组嵌套太深");
        }
        ++m_overflow;
        return;
    }
    Group copy = m_stack.back();
    copy.pictureOwner = false;
    m_stack.push_back(copy);
    m_pendingStar = false;
}

void Parser::closeGroup()
{
    flushBytes();
    m_fallbackLeft = 0;
    m_pendingStar = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    const Dest leaving = g().dest;
    if (g().pictureOwner)
        finishPicture();
    if (leaving == Dest::FontTable && m_fontEntry >= 0 && !m_fontName.isEmpty()) {
        // An entry without its ";" still names its font.
        m_fonts[m_fontEntry].name = fontName();
        m_fontName.clear();
    }
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

QString Parser::fontName()
{
    const QString name
        = decoder(m_fontCodePage ? m_fontCodePage : m_docCodePage).decode(m_fontName);
    return name.trimmed();
}

int Parser::codePageNow() const
{
    const CharState &ch = m_stack.back().ch;
    int font = ch.font >= 0 ? ch.font : m_defaultFont;
    if (ch.slot == Slot::Dbch && ch.dbFont >= 0)
        font = ch.dbFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && it->second.codePage)
        return it->second.codePage;
    return m_docCodePage;
}

QStringDecoder &Parser::decoder(int codePage)
{
    auto &slot = m_decoders[codePage];
    if (!slot) {
        slot = std::make_unique<QStringDecoder>(
            encodingName(codePage), QStringDecoder::Flag::Stateless);
        if (!slot->isValid())
            slot
                = std::make_unique<QStringDecoder>("windows-1252", QStringDecoder::Flag::Stateless);
    }
    return *slot;
}

void Parser::textByte(char byte)
{
    if (m_fallbackLeft > 0) {
        --m_fallbackLeft;
        return;
    }
    const Dest dest = m_overflow ? Dest::Skip : g().dest;
    if (dest == Dest::Picture) {
        const auto hex = [](char h) {
            if (h >= '0' && h <= '9')
                return h - '0';
            if (h >= 'a' && h <= 'f')
                return h - 'a' + 10;
            if (h >= 'A' && h <= 'F')
                return h - 'A' + 10;
            return -1;
        };
        const int v = hex(byte);
        if (v < 0)
            return; // line breaks and blanks between the digits
        if (m_picture.nibble < 0) {
            m_picture.nibble = v;
        } else {
            m_picture.data.append(char(m_picture.nibble * 16 + v));
            m_picture.nibble = -1;
        }
        return;
    }
    if (dest == Dest::FontTable) {
        if (byte == ';') {
            if (m_fontEntry >= 0) {
                m_fonts[m_fontEntry].name = fontName();
            }
            m_fontName.clear();
        } else if (m_fontName.size() < 256) {
            m_fontName.append(byte);
        }
        return;
    }
    if (dest == Dest::ColorTable) {
        if (byte == ';') {
            if (m_colors.size() < m_limits.maxColors) {
                m_colors << (m_red < 0 && m_green < 0 && m_blue < 0
                        ? QColor()
                        : QColor(std::clamp(m_red, 0, 255), std::clamp(m_green, 0, 255),
                            std::clamp(m_blue, 0, 255)));
            }
            m_red = m_green = m_blue = -1;
        }
        return;
    }
    if (dest != Dest::Text || uchar(byte) < 0x20)
        return; // control characters (NUL padding, stray line ends) are not text
    if (m_highSurrogate) {
        emitChar(0xFFFD);
        m_highSurrogate = 0;
    }
    const int cp = codePageNow();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage)
        flushBytes();
    m_bytesCodePage = cp;
    m_bytes.append(byte);
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    bool ascii = true;
    for (char b : std::as_const(m_bytes)) {
        if (uchar(b) >= 0x80) {
            ascii = false;
            break;
        }
    }
    const QString text
        = ascii ? QString::fromLatin1(m_bytes) : QString(decoder(m_bytesCodePage).decode(m_bytes));
    m_bytes.clear();
    emitText(text);
}

void Parser::emitText(const QString &text)
{
    // Split into runs of CJK and other characters: they may differ in font.
    qsizetype start = 0;
    bool startCjk = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        const bool cjk = isCjk(c);
        if (i == start) {
            startCjk = cjk;
        } else if (cjk != startCjk) {
            addRun(QStringView(text).mid(start, i - start), formatFor(startCjk));
            start = i;
            startCjk = cjk;
        }
        if (c > 0xFFFF)
            ++i;
    }
    if (start < text.size())
        addRun(QStringView(text).mid(start), formatFor(startCjk));
}

void Parser::addRun(QStringView text, int format)
{
    if (format < 0)
        return;
    // A paragraph's properties are those in force when its text is written
    // (and when its \par comes).
    m_paragraphs.back().para = g().para;
    std::vector<Run> &runs = m_paragraphs.back().runs;
    if (!runs.empty() && runs.back().format == format && runs.back().image.isEmpty())
        runs.back().text += text;
    else
        runs.push_back({text.toString(), format, QByteArray(), QSize()});
}

void Parser::emitChar(char32_t c)
{
    flushBytes();
    if (!inText())
        return;
    emitText(c > 0xFFFF ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c))));
}

// The id of the format of text written now (-1: hidden text, not shown).
int Parser::formatFor(bool cjk)
{
    const CharState &ch = g().ch;
    if (m_lastFormat != -2 && cjk == m_lastCjk && ch == m_lastState)
        return m_lastFormat;
    m_lastState = ch;
    m_lastCjk = cjk;
    if (ch.hidden)
        return m_lastFormat = -1;
    int font = ch.font >= 0 ? ch.font : m_defaultFont;
    int size = ch.size;
    bool bold = ch.bold;
    bool italic = ch.italic;
    if (cjk) {
        if (ch.dbFont >= 0)
            font = ch.dbFont;
        if (ch.dbSize >= 0)
            size = ch.dbSize;
        if (ch.dbBold >= 0)
            bold = ch.dbBold;
        if (ch.dbItalic >= 0)
            italic = ch.dbItalic;
    }
    const QColor fg = ch.color > 0 && ch.color < m_colors.size() ? m_colors[ch.color] : QColor();
    const QColor bg
        = ch.highlight > 0 && ch.highlight < m_colors.size() ? m_colors[ch.highlight] : QColor();
    const auto fontIt = m_fonts.find(font);
    const QString family = fontIt != m_fonts.end() ? fontIt->second.name : QString();

    QByteArray key;
    key.reserve(64);
    key.append(family.toUtf8()).append('\0');
    key.append(QByteArray::number(size)).append(bold ? 'B' : 'b').append(italic ? 'I' : 'i');
    key.append(ch.underline ? 'U' : 'u').append(ch.strike ? 'S' : 's');
    key.append(char('0' + ch.vertical + 1));
    key.append(QByteArray::number(fg.isValid() ? fg.rgb() : 0)).append(fg.isValid() ? '+' : '-');
    key.append(QByteArray::number(bg.isValid() ? bg.rgb() : 0)).append(bg.isValid() ? '+' : '-');
    const auto it = m_formatIds.constFind(key);
    if (it != m_formatIds.constEnd())
        return m_lastFormat = *it;

    QTextCharFormat f;
    if (!family.isEmpty())
        f.setFontFamilies({family});
    if (size > 0)
        f.setFontPointSize(size / 2.0);
    if (bold)
        f.setFontWeight(QFont::Bold);
    if (italic)
        f.setFontItalic(true);
    if (ch.underline)
        f.setFontUnderline(true);
    if (ch.strike)
        f.setFontStrikeOut(true);
    if (ch.vertical)
        f.setVerticalAlignment(
            ch.vertical > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (fg.isValid())
        f.setForeground(fg);
    if (bg.isValid())
        f.setBackground(bg);
    const int id = int(m_formats.size());
    m_formats.push_back(f);
    m_formatIds.insert(key, id);
    return m_lastFormat = id;
}

void Parser::endParagraph()
{
    flushBytes();
    if (!inText())
        return;
    m_paragraphs.back().para = g().para;
    m_paragraphs.push_back({g().para, {}});
}

void Parser::skipFallback()
{
    if (m_fallbackLeft > 0)
        --m_fallbackLeft;
}

void Parser::controlSymbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c);
        return;
    case '*':
        m_pendingStar = true;
        return;
    case '~':
        if (m_fallbackLeft > 0)
            return skipFallback();
        emitChar(0x00A0);
        return;
    case '_':
        if (m_fallbackLeft > 0)
            return skipFallback();
        emitChar(0x2011);
        return;
    case '\r':
    case '\n':
        // A backslash before a line end is a paragraph end (TextEdit).
        endParagraph();
        return;
    case '-':
    case ':':
    case '|':
    default:
        skipFallback();
        return;
    }
}

void Parser::controlWord(QByteArrayView word, bool hasParam, int param)
{
    // Words that only read, never write, the current state.
    const bool star = std::exchange(m_pendingStar, false);
    if (m_overflow > 0) {
        if (word == "bin" && hasParam && param > 0)
            m_pos = std::min<qsizetype>(m_data.size(), m_pos + param);
        return;
    }
    if (m_fallbackLeft > 0 && word != "bin") {
        --m_fallbackLeft;
        return;
    }
    flushBytes();

    Group &grp = g();
    CharState &ch = grp.ch;
    ParaState &para = grp.para;
    const auto on = [&] { return !hasParam || param != 0; };
    const bool db = ch.slot == Slot::Dbch;

    if (grp.dest == Dest::Picture) {
        if (star && !grp.pictureOwner) {
            grp.dest = Dest::Skip; // {\\*\\picprop …}, {\\*\\blipuid …}: not the data
            return;
        }
        return pictureWord(word, hasParam, param);
    }

    // Pictures: PNG and JPEG ones are shown; Word puts them in \shppict,
    // with a copy in an older format in \nonshppict for older readers.
    if (word == "pict") {
        if (grp.dest == Dest::Text) {
            grp.dest = Dest::Picture;
            grp.pictureOwner = true;
            m_picture = Picture();
        } else {
            grp.dest = Dest::Skip;
        }
        return;
    }
    if (word == "shppict")
        return;
    if (word == "object" || word == "shp") {
        // Embedded objects and drawn shapes: not shown, not kept.
        if (grp.dest == Dest::Text)
            ++m_dropped;
        grp.dest = Dest::Skip;
        return;
    }

    // Destinations first: a group that starts with one of them is not text.
    static const QByteArrayView skipped[] = {
        "stylesheet",
        "info",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "fldinst",
        "pntext",
        "listtext",
        "xe",
        "tc",
        "txe",
        "rxe",
        "bkmkstart",
        "bkmkend",
        "annotation",
        "atnid",
        "atnauthor",
        "atrfstart",
        "atrfend",
        "listtable",
        "listoverridetable",
        "revtbl",
        "rsidtbl",
        "generator",
        "xmlnstbl",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "mmathPr",
        "pgdsctbl",
        "shp",
        "nonshppict",
        "shpinst",
        "filetbl",
        "private",
        "template",
        "userprops",
        "docvar",
        "fchars",
        "lchars",
        "pn",
        "pnseclvl",
        "ftnsep",
        "ftnsepc",
        "ftncn",
        "aftnsep",
        "aftnsepc",
        "aftncn",
        "expandedcolortbl",
        "objdata",
        "result",
        "sp",
        "sn",
        "sv",
        "do",
        "wgrffmtfilter",
        "ts",
        "tsrowd",
        "falt",
        "panose",
        "keywords",
    };
    for (QByteArrayView s : skipped) {
        if (word == s) {
            grp.dest = Dest::Skip;
            return;
        }
    }
    if (word == "fonttbl") {
        grp.dest = Dest::FontTable;
        m_fontEntry = -1;
        return;
    }
    if (word == "colortbl") {
        grp.dest = Dest::ColorTable;
        m_red = m_green = m_blue = -1;
        return;
    }
    if (word == "upr") {
        grp.uprOuter = grp.dest;
        grp.dest = Dest::UprSkip;
        return;
    }
    if (word == "ud") {
        // Unicode copy of a \upr group: shown as its surroundings are.
        if (m_stack.size() >= 2 && m_stack[m_stack.size() - 2].dest == Dest::UprSkip)
            grp.dest = m_stack[m_stack.size() - 2].uprOuter;
        return;
    }
    if (word == "fldrslt" || word == "field")
        return; // the field's result is shown like any text

    if (grp.dest == Dest::FontTable) {
        if (word == "f" && hasParam) {
            if (int(m_fonts.size()) < m_limits.maxFonts || fontKnown(param)) {
                m_fontEntry = param;
                m_fonts[param];
            } else {
                m_fontEntry = -1;
            }
            m_fontName.clear();
            m_fontCodePage = 0;
        } else if (word == "fcharset" && hasParam && m_fontEntry >= 0) {
            m_fontCodePage = codePageForCharset(param);
            m_fonts[m_fontEntry].codePage = m_fontCodePage;
        } else if (word == "cpg" && hasParam && m_fontEntry >= 0) {
            m_fontCodePage = param;
            m_fonts[m_fontEntry].codePage = param;
        } else if (star) {
            grp.dest = Dest::Skip;
        }
        return;
    }
    if (grp.dest == Dest::ColorTable) {
        if (word == "red")
            m_red = param;
        else if (word == "green")
            m_green = param;
        else if (word == "blue")
            m_blue = param;
        return;
    }

    // Document settings.
    if (word == "ansicpg" && hasParam) {
        m_docCodePage = param > 0 ? param : 1252;
        return;
    }
    if (word == "ansi") {
        m_docCodePage = 1252;
        return;
    }
    if (word == "mac") {
        m_docCodePage = 10000;
        return;
    }
    if (word == "pc") {
        m_docCodePage = 437;
        return;
    }
    if (word == "pca") {
        m_docCodePage = 850;
        return;
    }
    if (word == "deff" && hasParam) {
        m_defaultFont = param;
        return;
    }

    // Unicode.
    if (word == "uc") {
        grp.uc = std::clamp(hasParam ? param : 1, 0, 16);
        return;
    }
    if (word == "u" && hasParam) {
        const char16_t unit = char16_t(param < 0 ? param + 65536 : param);
        if (QChar::isHighSurrogate(unit)) {
            if (m_highSurrogate)
                emitChar(0xFFFD);
            m_highSurrogate = unit;
        } else if (QChar::isLowSurrogate(unit)) {
            emitChar(m_highSurrogate ? QChar::surrogateToUcs4(m_highSurrogate, unit) : 0xFFFD);
            m_highSurrogate = 0;
        } else {
            if (m_highSurrogate)
                emitChar(0xFFFD);
            m_highSurrogate = 0;
            emitChar(unit);
        }
        m_fallbackLeft = grp.uc;
        return;
    }
    if (m_highSurrogate && word != "uc") {
        emitChar(0xFFFD);
        m_highSurrogate = 0;
    }

    // Binary data: never text.
    if (word == "bin") {
        if (hasParam && param > 0) {
            if (param > m_data.size() - m_pos) {
                m_partial = true;
                m_problem = QStringLiteral("二进制数据超出了文件的结尾");
            }
            m_pos = std::min<qsizetype>(m_data.size(), m_pos + param);
        }
        return;
    }

    // Text.
    if (word == "par" || word == "page" || word == "row") {
        endParagraph();
        return;
    }
    if (word == "sect") {
        // A section break ends the paragraph it is in, but an empty one
        // after a \par (AbiWord ends its files so) makes none.
        if (!m_paragraphs.back().runs.empty())
            endParagraph();
        return;
    }
    if (word == "line" || word == "lbr") {
        emitChar(QChar::LineSeparator);
        return;
    }
    if (word == "tab" || word == "cell" || word == "nestcell") {
        emitChar(u'\t');
        return;
    }
    static const struct {
        QByteArrayView word;
        char16_t c;
    } specials[] = {
        {"emdash", 0x2014},
        {"endash", 0x2013},
        {"emspace", 0x2003},
        {"enspace", 0x2002},
        {"qmspace", 0x2005},
        {"bullet", 0x2022},
        {"lquote", 0x2018},
        {"rquote", 0x2019},
        {"ldblquote", 0x201C},
        {"rdblquote", 0x201D},
        {"zwj", 0x200D},
        {"zwnj", 0x200C},
    };
    for (const auto &s : specials) {
        if (word == s.word) {
            emitChar(s.c);
            return;
        }
    }

    // Paragraph formatting.
    if (word == "pard") {
        para = ParaState();
        return;
    }
    if (word == "ql") {
        para.align = Qt::AlignLeft;
        return;
    }
    if (word == "qc") {
        para.align = Qt::AlignHCenter;
        return;
    }
    if (word == "qr") {
        para.align = Qt::AlignRight;
        return;
    }
    if (word == "qj" || word == "qd") {
        para.align = Qt::AlignJustify;
        return;
    }
    if (word == "li" || word == "lin") {
        para.leftIndent = param;
        return;
    }
    if (word == "ri" || word == "rin") {
        para.rightIndent = param;
        return;
    }
    if (word == "fi") {
        para.firstIndent = param;
        return;
    }

    // Character formatting.
    if (word == "plain") {
        ch = CharState {};
        return;
    }
    if (word == "loch") {
        ch.slot = Slot::Loch;
        return;
    }
    if (word == "hich") {
        ch.slot = Slot::Hich;
        return;
    }
    if (word == "dbch") {
        ch.slot = Slot::Dbch;
        return;
    }
    if (word == "rtlch") {
        ch.slot = Slot::Rtl;
        return;
    }
    if (word == "ltrch") {
        ch.slot = Slot::None;
        return;
    }
    if (word == "f" && hasParam) {
        ch.font = param;
        if (db)
            ch.dbFont = param;
        return;
    }
    if (word == "fs" && hasParam) {
        ch.size = param > 0 ? std::min(param, 3276) : 24;
        if (db)
            ch.dbSize = ch.size;
        return;
    }
    if (word == "b") {
        ch.bold = on();
        if (db)
            ch.dbBold = ch.bold;
        return;
    }
    if (word == "i") {
        ch.italic = on();
        if (db)
            ch.dbItalic = ch.italic;
        return;
    }
    if (word == "af" && hasParam) {
        if (db)
            ch.dbFont = param;
        return;
    }
    if (word == "afs" && hasParam) {
        if (db)
            ch.dbSize = param > 0 ? std::min(param, 3276) : -1;
        return;
    }
    if (word == "ab") {
        if (db)
            ch.dbBold = on();
        return;
    }
    if (word == "ai") {
        if (db)
            ch.dbItalic = on();
        return;
    }
    if (word.startsWith("ul") && word != "ulc") {
        // Every underline style turns it on but \ulnone and \ul0; \ulc is
        // only its colour.
        ch.underline = word != "ulnone" && on();
        return;
    }
    if (word == "strike" || word == "striked") {
        ch.strike = on();
        return;
    }
    if (word == "v") {
        ch.hidden = on();
        return;
    }
    if (word == "cf") {
        ch.color = std::max(0, param);
        return;
    }
    if (word == "highlight" || word == "cb" || word == "chcbpat") {
        ch.highlight = std::max(0, param);
        return;
    }
    if (word == "super") {
        ch.vertical = 1;
        return;
    }
    if (word == "sub") {
        ch.vertical = -1;
        return;
    }
    if (word == "nosupersub") {
        ch.vertical = 0;
        return;
    }

    // Anything else is unknown to this reader; after \* its group goes.
    if (star)
        grp.dest = Dest::Skip;
}

void Parser::pictureWord(QByteArrayView word, bool hasParam, int param)
{
    if (word == "pngblip")
        m_picture.kind = Picture::Png;
    else if (word == "jpegblip")
        m_picture.kind = Picture::Jpeg;
    else if (word == "wmetafile" || word == "emfblip" || word == "macpict" || word == "dibitmap"
        || word == "wbitmap" || word == "pmmetafile")
        m_picture.kind = Picture::Other;
    else if (word == "picw")
        m_picture.width = param;
    else if (word == "pich")
        m_picture.height = param;
    else if (word == "picwgoal")
        m_picture.goalWidth = param;
    else if (word == "pichgoal")
        m_picture.goalHeight = param;
    else if (word == "picscalex" && hasParam && param > 0)
        m_picture.scaleX = param;
    else if (word == "picscaley" && hasParam && param > 0)
        m_picture.scaleY = param;
    else if (word == "bin" && hasParam && param > 0) {
        // Raw bytes instead of hex digits.
        const qsizetype n = std::min<qsizetype>(param, m_data.size() - m_pos);
        if (n < param) {
            m_partial = true;
            m_problem = QStringLiteral("二进制数据超出了文件的结尾");
        }
        m_picture.data.append(m_data.sliced(m_pos, n).toByteArray());
        m_pos += n;
    }
}

void Parser::finishPicture()
{
    Picture pic = std::move(m_picture);
    m_picture = Picture();
    if (pic.kind == Picture::Unknown && pic.data.isEmpty())
        return;
    const bool kept = pic.kind == Picture::Png || pic.kind == Picture::Jpeg;
    QImageReader reader;
    QBuffer buffer(&pic.data);
    reader.setDevice(&buffer);
    const QSize natural = kept ? reader.size() : QSize();
    // Pictures are kept as they came, up to a bound on all of them together.
    if (!kept || !natural.isValid() || m_pictureBytes + pic.data.size() > MaxPictureBytes) {
        ++m_dropped;
        return;
    }
    m_pictureBytes += pic.data.size();
    // Shown at the size the file asks for (twips at 96 dpi), else as it is.
    const double w = pic.goalWidth > 0 ? pic.goalWidth / 15.0 : double(natural.width());
    const double h = pic.goalHeight > 0 ? pic.goalHeight / 15.0 : double(natural.height());
    const QSize shown(std::max(1, int(std::lround(w * pic.scaleX / 100.0))),
        std::max(1, int(std::lround(h * pic.scaleY / 100.0))));
    m_paragraphs.back().para = m_stack.size() >= 2 ? m_stack[m_stack.size() - 2].para : g().para;
    m_paragraphs.back().runs.push_back({QString(), formatFor(false), std::move(pic.data), shown});
    m_lastFormat = -2; // the next text starts a run of its own
}

RtfReader::Result Parser::run(QTextDocument *document)
{
    m_stack.reserve(size_t(m_limits.maxDepth) + 1);
    m_stack.push_back(Group {});
    m_paragraphs.push_back({});
    const qsizetype n = m_data.size();
    // Reading goes on after the document's group has closed: files made by
    // joining RTF documents keep the text of every part.
    while (m_pos < n) {
        const char c = m_data[m_pos++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\': {
            if (m_pos >= n)
                break;
            const char next = m_data[m_pos];
            if (next == '\'') {
                // A byte in hex; invalid digits drop the escape.
                const auto hex = [](char h) {
                    if (h >= '0' && h <= '9')
                        return h - '0';
                    if (h >= 'a' && h <= 'f')
                        return h - 'a' + 10;
                    if (h >= 'A' && h <= 'F')
                        return h - 'A' + 10;
                    return -1;
                };
                const int hi = m_pos + 1 < n ? hex(m_data[m_pos + 1]) : -1;
                const int lo = m_pos + 2 < n ? hex(m_data[m_pos + 2]) : -1;
                if (hi < 0 || lo < 0) {
                    m_pos = std::min(n, m_pos + 1);
                    m_partial = true;
                    if (m_problem.isEmpty())
                        m_problem = QStringLiteral("有不完整的转义字符");
                    break;
                }
                m_pos += 3;
                m_pendingStar = false;
                textByte(char(hi * 16 + lo));
                break;
            }
            if (!std::isalpha(uchar(next))) {
                ++m_pos;
                controlSymbol(next);
                break;
            }
            const qsizetype start = m_pos;
            while (m_pos < n && std::isalpha(uchar(m_data[m_pos])))
                ++m_pos;
            // Words are short; a longer run of letters is cut, not trusted.
            const QByteArrayView word
                = m_data.sliced(start, std::min<qsizetype>(m_pos - start, 32));
            bool hasParam = false;
            bool negative = false;
            qint64 value = 0;
            if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n
                && std::isdigit(uchar(m_data[m_pos + 1]))) {
                negative = true;
                ++m_pos;
            }
            while (m_pos < n && std::isdigit(uchar(m_data[m_pos]))) {
                hasParam = true;
                if (value < 100000000000LL)
                    value = value * 10 + (m_data[m_pos] - '0');
                ++m_pos;
            }
            if (m_pos < n && m_data[m_pos] == ' ')
                ++m_pos;
            value = std::clamp<qint64>(negative ? -value : value, INT32_MIN, INT32_MAX);
            controlWord(word, hasParam, int(value));
            break;
        }
        case '\r':
        case '\n':
            break;
        default:
            m_pendingStar = false;
            textByte(c);
            break;
        }
    }
    flushBytes();
    if (m_highSurrogate)
        emitChar(0xFFFD);
    if ((m_stack.size() > 1 || m_overflow > 0) && !m_partial) {
        m_partial = true;
        m_problem = QStringLiteral("文件不完整（缺少结尾的“}”）");
    }

    // The writer's last \par ends the last paragraph; it does not start one.
    if (m_paragraphs.size() > 1 && m_paragraphs.back().runs.empty())
        m_paragraphs.pop_back();

    document->clear();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    for (size_t i = 0; i < m_paragraphs.size(); ++i) {
        const Paragraph &p = m_paragraphs[i];
        QTextBlockFormat block;
        block.setAlignment(p.para.align);
        // Twips to pixels at 96 dpi.
        if (p.para.leftIndent)
            block.setLeftMargin(std::max(0, p.para.leftIndent) / 15.0);
        if (p.para.rightIndent)
            block.setRightMargin(std::max(0, p.para.rightIndent) / 15.0);
        if (p.para.firstIndent)
            block.setTextIndent(p.para.firstIndent / 15.0);
        if (i == 0)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block, QTextCharFormat());
        for (const Run &run : p.runs) {
            const QTextCharFormat &format = m_formats[size_t(std::max(0, run.format))];
            if (run.image.isEmpty()) {
                cursor.insertText(run.text, format);
                continue;
            }
            const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_images));
            document->addResource(QTextDocument::ImageResource, name, run.image);
            QTextImageFormat image;
            image.merge(format);
            image.setName(name.toString());
            image.setWidth(run.imageSize.width());
            image.setHeight(run.imageSize.height());
            cursor.insertImage(image);
        }
    }
    document->setUndoRedoEnabled(undo);
    document->setModified(false);

    RtfReader::Result result;
    result.ok = true;
    result.partial = m_partial;
    result.message = m_problem;
    result.droppedPictures = m_dropped;
    return result;
}

} // namespace

bool RtfReader::isRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

RtfReader::Result RtfReader::read(QByteArrayView rtf, QTextDocument *document, const Limits &limits)
{
    if (!isRtf(rtf)) {
        Result r;
        r.message = QStringLiteral("不是 RTF 文件");
        return r;
    }
    Parser parser(rtf, limits);
    return parser.run(document);
}
