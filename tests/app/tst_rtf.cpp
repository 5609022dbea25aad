// The RTF reader and writer: small fixtures for each feature, round trips,
// Chinese in all its encodings, real files from other editors, and broken or
// hostile input.

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace {

QString read(
    const QByteArray &rtf, RtfReader::Result *result = nullptr, QTextDocument *into = nullptr)
{
    QTextDocument local;
    QTextDocument *doc = into ? into : &local;
    const RtfReader::Result r = RtfReader::read(rtf, doc);
    if (result)
        *result = r;
    return doc->toPlainText();
}

// The format of the character at position pos of the document's text.
QTextCharFormat formatAt(QTextDocument &doc, int pos)
{
    QTextCursor c(&doc);
    c.setPosition(pos);
    c.setPosition(pos + 1, QTextCursor::KeepAnchor);
    return c.charFormat();
}

// Text content only: other projects' files and LibreOffice lay out blanks
// and line ends their own way.
QString squeeze(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[\\s\\x{00A0}\\x{3000}\\x{2028}\\x{2029}]"),
        QRegularExpression::UseUnicodePropertiesOption));
    return text;
}

QString htmlText(const QByteArray &html)
{
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(html));
    return doc.toPlainText();
}

QByteArray corpusFile(const QString &name)
{
    QFile f(QStringLiteral(PARLIX_RTF_CORPUS "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing corpus file %s", qPrintable(name));
    return f.readAll();
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void readsText_data();
    void readsText();
    void readsFormatting_data();
    void readsFormatting();
    void brokenInputEndsCleanly_data();
    void brokenInputEndsCleanly();
    void roundTripKeepsTextAndFormatting();
    void writesChineseForEveryKindOfReader();
    void picturesAreKeptThroughReadAndWrite();
    void picturesThatCannotBeKeptAreCounted();
    void textWithoutASizeStaysTwelvePoints();
    void realFilesFromOtherEditors_data();
    void realFilesFromOtherEditors();
};

void TestRtf::readsText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *tag, const QByteArray &rtf, const QString &text) {
        QTest::newRow(tag) << rtf << text;
    };
    row("plain", "{\\rtf1 Hello}", "Hello");
    row("space_after_word_is_a_delimiter", "{\\rtf1\\b Bold\\b0  two}", "Bold two");
    row("paragraphs", "{\\rtf1 A\\par B}", "A\nB");
    row("final_par_ends_the_last_paragraph", "{\\rtf1 A\\par B\\par}", "A\nB");
    row("empty_last_paragraph_kept_when_doubled", "{\\rtf1 A\\par\\par}", "A\n");
    row("line_break", "{\\rtf1 A\\line B}", u"A\u2028B"_qs);
    row("tab", "{\\rtf1 A\\tab B}", "A\tB");
    row("backslash_newline_is_par", "{\\rtf1 A\\\nB\\\r\nC}", "A\nB\nC");
    row("raw_line_ends_ignored", "{\\rtf1 A\r\nB\n}", "AB");
    row("escaped_braces", "{\\rtf1 \\{x\\}\\\\}", "{x}\\");
    row("specials", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~}",
        u"\u2014\u2013\u2018\u2019\u201C\u201D\u2022\u00A0"_qs);
    row("gbk_pairs", "{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ba\\'c3}", u"你好"_qs);
    row("gbk_raw_bytes", "{\\rtf1\\ansi\\ansicpg936 \xc4\xe3\xba\xc3}", u"你好"_qs);
    // The second byte of a pair can come as a plain character.
    row("gbk_second_byte_literal", "{\\rtf1\\ansicpg936 \\'a8D\\'a9w}",
        QStringDecoder("GBK").decode(QByteArray("\xa8"
                                                "D"
                                                "\xa9"
                                                "w")));
    row("font_charset_beats_document_codepage",
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset134 SimSun;}}"
        "\\f0 caf\\'e9 \\f1\\'c4\\'e3}",
        u"café 你"_qs);
    row("cyrillic_font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0\\'cf\\'f0\\'e8}",
        u"При"_qs);
    row("big5_font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0\\'a4\\'a4}",
        u"中"_qs);
    row("unicode_uc1", "{\\rtf1\\uc1\\u20320?\\u22909?}", u"你好"_qs);
    row("unicode_uc2_gbk_fallback", "{\\rtf1\\uc2\\u20320\\'c4\\'e3X}", u"你X"_qs);
    row("unicode_uc0", "{\\rtf1\\uc0\\u20320 X}", u"你X"_qs);
    row("unicode_default_skips_one", "{\\rtf1\\u20320?X}", u"你X"_qs);
    row("unicode_negative", "{\\rtf1\\u-28207?}", u"\u91D1"_qs);
    row("unicode_above_32767", "{\\rtf1\\u37329?}", u"\u91D1"_qs);
    row("surrogate_pair", "{\\rtf1\\u-10179?\\u-8704?}", u"😀"_qs);
    row("surrogate_pair_across_uc", "{\\rtf1\\uc0 \\u55357\\uc1 \\u56832\\'3f}", u"😀"_qs);
    row("unpaired_surrogate", "{\\rtf1\\u55357?x}", u"\uFFFDx"_qs);
    row("fallback_skip_ends_at_brace", "{\\rtf1{\\uc2\\u20320?}X}", u"你X"_qs);
    row("fallback_counts_a_control_word", "{\\rtf1\\uc1\\u20320\\emdash X}", u"你X"_qs);
    row("upr_takes_the_unicode_copy", "{\\rtf1{\\upr{\\'c4\\'e3}{\\*\\ud{\\u20320?}}}!}",
        u"你!"_qs);
    row("bin_skips_raw_bytes", "{\\rtf1 A\\bin3 }}{B}", "AB");
    row("ignorable_destination", "{\\rtf1{\\*\\unknownthing hidden {nested}}shown}", "shown");
    row("skipped_destinations",
        "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
        "{\\pict\\pngblip 89504e470d0a}{\\header H}{\\footer F}{\\footnote N}"
        "{\\*\\themedata 504b}{\\object{\\objdata 00}{\\result R}}Body}",
        "Body");
    row("field_result_kept", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Link}}}",
        "Link");
    row("unstarred_fldinst", "{\\rtf1 p{\\field{\\fldinst PAGE}{\\fldrslt 3}}}", "p3");
    row("list_numbers_skipped", "{\\rtf1{\\pntext\\f0 1.\\tab}Item{\\listtext 2.}}", "Item");
    row("hidden_text", "{\\rtf1 A{\\v hidden}B}", "AB");
    // Joined documents: nothing after the first one's end is lost.
    row("joined_documents", QByteArrayLiteral("{\\rtf1 A}\r\n{\\rtf1 B}\0\0"), "AB");
    row("textedit_font_table",
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl\\f0\\fnil\\fcharset134 STSongti-SC-Regular;}"
        "\\f0\\fs24 \\'d3\\'a1}",
        u"印"_qs);
    row("table_cells", "{\\rtf1\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row c}", "a\tb\t\nc");
    // A section break ends its paragraph, but AbiWord's \\sect after the
    // last \\par made an empty one.
    row("sect_ends_a_paragraph", "{\\rtf1 A\\sect B}", "A\nB");
    row("sect_after_par_makes_none", "{\\rtf1 A\\par\\sect}", "A");
}

void TestRtf::readsText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    RtfReader::Result r;
    QTextDocument doc;
    read(rtf, &r, &doc);
    QVERIFY(r.ok);
    QVERIFY2(!r.partial, qPrintable(r.message));
    QString got = doc.toRawText();
    got.replace(QChar::ParagraphSeparator, u'\n');
    QCOMPARE(got, text);
}

// Formats as "property=value@position": position in the document's text.
void TestRtf::readsFormatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("toggles") << QByteArray("{\\rtf1 {\\b B}{\\i I}{\\ul U}{\\strike S}\\b x\\b0 y}")
                             << QStringList {"bold=1@0", "bold=0@1", "italic=1@1", "underline=1@2",
                                    "strike=1@3", "bold=1@4", "bold=0@5"};
    QTest::newRow("underline_kinds")
        << QByteArray("{\\rtf1\\uldb D\\ul0 n\\ulwave W\\ulnone n\\ul\\ulc0 C\\ul0}")
        << QStringList {
               "underline=1@0", "underline=0@1", "underline=1@2", "underline=0@3", "underline=1@4"};
    // Text without \\fs is 12 points, the RTF default (\\fs24), not the
    // editor's own size (it used to be left unset).
    QTest::newRow("font_and_size")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                      "A\\f1\\fs36 \\'d6\\'d0}")
        << QStringList {"family=Arial@0", "family=宋体@1", "size=18@1", "size=12@0"};
    QTest::newRow("colours") << QByteArray(
        "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\cf1 R\\cf2\\highlight1 B\\cf0\\highlight0 N\\chcbpat2 C}")
                             << QStringList {"fg=#ff0000@0", "fg=#0000ff@1", "bg=#ff0000@1",
                                    "fg=none@2", "bg=none@2", "bg=#0000ff@3"};
    QTest::newRow("plain_resets_characters")
        << QByteArray("{\\rtf1\\b\\i\\ul x\\plain y}")
        << QStringList {"bold=1@0", "italic=1@0", "bold=0@1", "italic=0@1", "underline=0@1"};
    QTest::newRow("groups_restore")
        << QByteArray("{\\rtf1 a{\\b b{\\i c}d}e}")
        << QStringList {"bold=0@0", "bold=1@1", "italic=1@2", "italic=0@3", "bold=1@3", "bold=0@4"};
    QTest::newRow("alignment_and_indent") << QByteArray(
        "{\\rtf1\\pard\\qc C\\par\\pard\\qr R\\par\\pard\\qj J\\par\\pard\\li300\\fi-150 L}")
                                          << QStringList {"align=center@0", "align=right@2",
                                                 "align=justify@4", "align=left@6", "indent=20@6"};
    // LibreOffice gives Chinese its own font, size and bold (\dbch with \af,
    // \afs, \ab), Word its own font (\dbch\f); other text keeps the rest.
    QTest::newRow("asian_properties")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Latin;}{\\f1\\fcharset134 Asian;}}"
                      "{\\loch\\b\\dbch\\af1\\afs36\\ab0 \\u20013\\'3fL}{\\dbch\\ab \\u25991\\'3f}"
                      "{\\loch\\af0\\dbch\\f1 \\'d6\\'d0}}")
        << QStringList {"family=Asian@0", "size=18@0", "bold=0@0", "family=Latin@1", "bold=1@1",
               "size=12@1", "bold=1@2", "family=Asian@3"}; // 12: the RTF default
    QTest::newRow("super_and_sub") << QByteArray("{\\rtf1 x{\\super 2}{\\sub 3}}")
                                   << QStringList {"valign=super@1", "valign=sub@2"};
}

void TestRtf::readsFormatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    QTextDocument doc;
    RtfReader::Result r;
    read(rtf, &r, &doc);
    QVERIFY(r.ok && !r.partial);
    for (const QString &e : expected) {
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("^(\\w+)=(.*)@(\\d+)$")).match(e);
        QVERIFY2(m.hasMatch(), qPrintable(e));
        const QString property = m.captured(1);
        const QString value = m.captured(2);
        const int pos = m.captured(3).toInt();
        const QTextCharFormat f = formatAt(doc, pos);
        QString actual;
        if (property == "bold")
            actual = QString::number(f.fontWeight() >= QFont::Bold ? 1 : 0);
        else if (property == "italic")
            actual = QString::number(f.fontItalic() ? 1 : 0);
        else if (property == "underline")
            actual = QString::number(f.fontUnderline() ? 1 : 0);
        else if (property == "strike")
            actual = QString::number(f.fontStrikeOut() ? 1 : 0);
        else if (property == "family")
            actual = f.fontFamilies().toStringList().value(0);
        else if (property == "size")
            actual = QString::number(f.fontPointSize());
        else if (property == "fg")
            actual = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                                 : QStringLiteral("none");
        else if (property == "bg")
            actual = f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name()
                                                                 : QStringLiteral("none");
        else if (property == "valign")
            actual = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? "super"
                : f.verticalAlignment() == QTextCharFormat::AlignSubScript      ? "sub"
                                                                                : "normal";
        else if (property == "align" || property == "indent") {
            const QTextBlockFormat b = doc.findBlock(pos).blockFormat();
            if (property == "indent") {
                actual = QString::number(b.leftMargin());
            } else {
                const Qt::Alignment a = b.alignment();
                actual = a & Qt::AlignHCenter ? "center"
                    : a & Qt::AlignRight      ? "right"
                    : a & Qt::AlignJustify    ? "justify"
                                              : "left";
            }
        } else
            QFAIL(qPrintable("unknown property " + property));
        QVERIFY2(actual == value, qPrintable(QStringLiteral("%1: got %2").arg(e, actual)));
    }
}

void TestRtf::brokenInputEndsCleanly_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("isRtf");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QString>("startsWith");

    QTest::newRow("not_rtf") << QByteArray("hello {\\rtf1}") << false << false << "";
    QTest::newRow("empty") << QByteArray() << false << false << "";
    QTest::newRow("header_only") << QByteArray("{\\rtf") << true << true << "";
    QTest::newRow("unbalanced_braces") << QByteArray("{\\rtf1 A{\\b B") << true << true << "AB";
    QTest::newRow("extra_closing_braces") << QByteArray("{\\rtf1 A}}}}") << true << false << "A";
    QTest::newRow("truncated_hex") << QByteArray("{\\rtf1 A\\'4") << true << true << "A";
    QTest::newRow("bad_hex") << QByteArray("{\\rtf1 A\\'zzB}") << true << true << "A";
    QTest::newRow("absurd_bin") << QByteArray("{\\rtf1 A\\bin999999999999 xyz}") << true << true
                                << "A";
    QTest::newRow("negative_bin") << QByteArray("{\\rtf1 A\\bin-5 B}") << true << false << "AB";
    QTest::newRow("huge_parameters") << QByteArray(
        "{\\rtf1\\fs99999999999999999999\\uc99999999\\u99999999999 x\\f-2147483648 y}")
                                     << true << false << "";
    QTest::newRow("dangling_backslash") << QByteArray("{\\rtf1 A\\") << true << true << "A";
    QByteArray nested = "{\\rtf1 start";
    nested += QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + "end}";
    QTest::newRow("nested_100000_groups") << nested << true << true << "start";
    QByteArray longWord = "{\\rtf1 \\" + QByteArray(100000, 'a') + " x}";
    QTest::newRow("endless_control_word") << longWord << true << false << "x";
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 50000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    fonts += "}\\f49999 x}";
    QTest::newRow("fifty_thousand_fonts") << fonts << true << false << "x";
    QByteArray noise = "{\\rtf1 ";
    QRandomGenerator gen(42);
    for (int i = 0; i < 1 << 20; ++i)
        noise += char(gen.bounded(256));
    QTest::newRow("a_megabyte_of_noise") << noise << true << true << "";
}

void TestRtf::brokenInputEndsCleanly()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, isRtf);
    QFETCH(bool, partial);
    QFETCH(QString, startsWith);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("before"));
    QElapsedTimer timer;
    timer.start();
    const RtfReader::Result r = RtfReader::read(rtf, &doc);
    QVERIFY2(timer.elapsed() < 5000, "linear in its input");
    QCOMPARE(r.ok, isRtf);
    if (!isRtf) {
        QCOMPARE(doc.toPlainText(), QStringLiteral("before")); // untouched
        QVERIFY(!r.message.isEmpty());
        return;
    }
    if (QTest::currentDataTag() != QLatin1String("a_megabyte_of_noise"))
        QCOMPARE(r.partial, partial);
    if (r.partial)
        QVERIFY(!r.message.isEmpty());
    QVERIFY2(doc.toPlainText().startsWith(startsWith), qPrintable(doc.toPlainText().left(40)));
}

void TestRtf::roundTripKeepsTextAndFormatting()
{
    QTextDocument doc;
    QFont base(QStringLiteral("宋体"));
    base.setPixelSize(16);
    doc.setDefaultFont(base);
    QTextCursor c(&doc);
    QTextCharFormat plain;
    c.insertText(QStringLiteral("普通文字 plain {braces} \\slash\\ 100% "), plain);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("粗体"), bold);
    QTextCharFormat italicUnderline;
    italicUnderline.setFontItalic(true);
    italicUnderline.setFontUnderline(true);
    c.insertText(QStringLiteral(" 斜体下划线"), italicUnderline);
    QTextCharFormat strikeColour;
    strikeColour.setFontStrikeOut(true);
    strikeColour.setForeground(QColor(0xC0, 0x10, 0x20));
    strikeColour.setBackground(QColor(0xFF, 0xFF, 0x00));
    c.insertText(QStringLiteral("删除线彩色"), strikeColour);
    QTextCharFormat face;
    face.setFontFamilies({QStringLiteral("黑体")});
    face.setFontPointSize(20);
    c.insertText(QStringLiteral("黑体二十磅"), face);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred);
    // Outside GBK: an emoji, a character of CJK extension B, Korean, and
    // Latin ones GBK lacks.
    c.insertText(QStringLiteral("居中：😀𠀀한é€\tTab") + QChar(QChar::LineSeparator)
            + QStringLiteral("下一行"),
        plain);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(40);
    c.insertBlock(right);
    c.insertText(QStringLiteral("靠右 Right"), plain);
    c.insertBlock(QTextBlockFormat());

    const QByteArray rtf = RtfWriter::write(doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    for (char ch : rtf)
        QVERIFY2(uchar(ch) < 0x80, "RTF is 7-bit: every other byte is escaped");

    QTextDocument back;
    RtfReader::Result r;
    read(rtf, &r, &back);
    QVERIFY(r.ok && !r.partial);
    QCOMPARE(back.toRawText(), doc.toRawText());
    QCOMPARE(back.blockCount(), doc.blockCount());
    for (int pos = 0; pos < doc.characterCount() - 1; ++pos) {
        if (doc.characterAt(pos) == QChar::ParagraphSeparator)
            continue; // paragraph ends carry no text of their own
        const QTextCharFormat a = formatAt(doc, pos);
        const QTextCharFormat b = formatAt(back, pos);
        const QString where = QStringLiteral("at %1 (%2)").arg(pos).arg(doc.characterAt(pos));
        QVERIFY2(a.fontWeight() == b.fontWeight(), qPrintable("weight " + where));
        QVERIFY2(a.fontItalic() == b.fontItalic(), qPrintable("italic " + where));
        QVERIFY2(a.fontUnderline() == b.fontUnderline(), qPrintable("underline " + where));
        QVERIFY2(a.fontStrikeOut() == b.fontStrikeOut(), qPrintable("strike " + where));
        QVERIFY2(a.foreground() == b.foreground(), qPrintable("colour " + where));
        QVERIFY2(a.background() == b.background(), qPrintable("highlight " + where));
        const QString family = a.fontFamilies().toStringList().value(0, base.family());
        QVERIFY2(b.fontFamilies().toStringList().value(0) == family,
            qPrintable("font " + where + ": " + b.fontFamilies().toStringList().value(0)));
        const qreal size = a.fontPointSize() > 0 ? a.fontPointSize() : 12;
        QVERIFY2(qFuzzyCompare(b.fontPointSize(), size), qPrintable("size " + where));
        QCOMPARE(doc.findBlock(pos).blockFormat().alignment(),
            back.findBlock(pos).blockFormat().alignment());
    }
    QCOMPARE(back.findBlock(doc.toPlainText().indexOf(u"靠右")).blockFormat().leftMargin(), 40.0);
}

void TestRtf::writesChineseForEveryKindOfReader()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("宋体")));
    doc.setPlainText(QStringLiteral("中文😀"));
    const QByteArray rtf = RtfWriter::write(doc);
    // Code-page readers: GBK bytes, both escaped, in a GB2312 font.
    QVERIFY(rtf.contains("\\'d6\\'d0\\'ce\\'c4"));
    QVERIFY(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));
    // Unicode readers: what GBK cannot hold, as a signed surrogate pair.
    QVERIFY(rtf.contains("\\u-10179?\\u-8704?"));
    QVERIFY(rtf.contains("\\dbch\\af0"));
}

namespace {

QByteArray imageBytes(const char *format, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

struct Image {
    QByteArray data;
    QSizeF size;
    bool operator==(const Image &) const = default;
};

QList<Image> imagesOf(const QTextDocument &doc)
{
    QList<Image> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QTextImageFormat image = f.toImageFormat();
            out << Image {
                doc.resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray(),
                QSizeF(image.width(), image.height())};
        }
    }
    return out;
}

} // namespace

// Mended: pictures used to vanish when a file was opened and saved again.
// PNG and JPEG pictures are kept, byte for byte, at the size they are shown.
void TestRtf::picturesAreKeptThroughReadAndWrite()
{
    const QByteArray png = imageBytes("PNG", {40, 30}, Qt::red);
    const QByteArray jpeg = imageBytes("JPEG", {20, 10}, Qt::blue);
    // As Word and LibreOffice write them: the picture in \\shppict, an old
    // format copy in \\nonshppict; and a bare JPEG scaled to half.
    const QByteArray rtf
        = "{\\rtf1\\ansi A{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv }}}"
          "\\pngblip\\picw40\\pich30\\picwgoal900\\pichgoal675\r\n"
        + png.toHex()
        + "}}"
          "{\\nonshppict{\\pict\\wmetafile8\\picw40\\pich30 0100090000}}B"
          "{\\pict\\jpegblip\\picscalex50\\picscaley50 "
        + jpeg.toHex() + "}C}";
    QTextDocument doc;
    RtfReader::Result r;
    QCOMPARE(read(rtf, &r, &doc), QStringLiteral("A\uFFFCB\uFFFCC"));
    QCOMPARE(r.droppedPictures, 0);
    const QList<Image> expected {{png, QSizeF(60, 45)}, {jpeg, QSizeF(10, 5)}};
    QCOMPARE(imagesOf(doc), expected);

    const QByteArray written = RtfWriter::write(doc);
    QVERIFY(written.contains("\\pngblip") && written.contains("\\jpegblip"));
    QTextDocument again;
    QCOMPARE(read(written, nullptr, &again), QStringLiteral("A\uFFFCB\uFFFCC"));
    QCOMPARE(imagesOf(again), expected);

    // A picture put in by the program itself (pasted) is written as PNG.
    QTextDocument pasted;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    pasted.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pasted")), image);
    QTextCursor(&pasted).insertImage(QStringLiteral("pasted"));
    QTextDocument back;
    read(RtfWriter::write(pasted), nullptr, &back);
    QCOMPARE(imagesOf(back).size(), 1);
    QCOMPARE(QImage::fromData(imagesOf(back).first().data).pixelColor(3, 3), QColor(Qt::green));
}

void TestRtf::picturesThatCannotBeKeptAreCounted()
{
    // Metafiles, embedded objects and drawn shapes are neither shown nor
    // saved: the reader says how many, so the user can be told at once.
    RtfReader::Result r;
    const QByteArray rtf = "{\\rtf1 {\\pict\\wmetafile8 0100}{\\pict\\emfblip 0100}"
                           "{\\object\\objemb{\\*\\objdata 00}{\\result{\\pict\\wmetafile8 00}}}"
                           "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 00}}}}}"
                           "{\\pict\\pngblip 89504e47}X}"; // the last one broken
    QCOMPARE(read(rtf, &r), QStringLiteral("X"));
    QCOMPARE(r.droppedPictures, 5);
    QVERIFY(!r.partial);
}

// Mended: text without \\fs is 12 points by the RTF default; it used to be
// left unset, and saving stamped the editor's own size on it.
void TestRtf::textWithoutASizeStaysTwelvePoints()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("SimSun"), 9));
    read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 No size here.\\par}", nullptr, &doc);
    QCOMPARE(formatAt(doc, 0).fontPointSize(), 12.0);
    const QByteArray written = RtfWriter::write(doc);
    QVERIFY2(written.contains("\\fs24 "), written.constData());
    QTextDocument again;
    read(written, nullptr, &again);
    QCOMPARE(formatAt(again, 0).fontPointSize(), 12.0);
}

void TestRtf::realFilesFromOtherEditors_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    const QDir corpus(QStringLiteral(PARLIX_RTF_CORPUS));
    for (const QString &rtf : corpus.entryList({QStringLiteral("*.rtf")})) {
        const QString base = rtf.chopped(4);
        QString expected;
        if (corpus.exists(base + ".expected.txt"))
            expected = QString::fromUtf8(corpusFile(base + ".expected.txt"));
        else if (corpus.exists(base + ".expected.html"))
            expected = htmlText(corpusFile(base + ".expected.html"));
        QTest::newRow(qPrintable(base)) << rtf << expected;
    }
}

void TestRtf::realFilesFromOtherEditors()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QTextDocument doc;
    RtfReader::Result r;
    const QString text = read(corpusFile(file), &r, &doc);
    QVERIFY(r.ok);
    QVERIFY2(!r.partial, qPrintable(r.message));
    if (expected.isEmpty()) {
        // WordPad of Windows XP: a 1252 document whose Chinese sits in a
        // GB2312 font; its source project ships no expected text.
        QVERIFY(text.contains(QStringLiteral("新功能")));
        QVERIFY(text.contains(QStringLiteral("加入 URL 加亮到状态窗")));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
        return;
    }
    QCOMPARE(squeeze(text), squeeze(expected));
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
