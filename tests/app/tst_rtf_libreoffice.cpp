// Our RTF checked by a reader nobody here wrote: LibreOffice converts the
// files we write to plain text, headless, and the text must be the
// document's, Chinese and rare characters included. Real files from other
// editors go through our reader and writer first (load → save → LibreOffice).

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace {

QString squeeze(QString text)
{
    text.remove(
        QRegularExpression(QStringLiteral("[\\s\\x{00A0}\\x{3000}\\x{2028}\\x{2029}\\x{FEFF}]"),
            QRegularExpression::UseUnicodePropertiesOption));
    return text;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestRtfLibreOffice : public QObject
{
    Q_OBJECT

private slots:
    void libreOfficeReadsWhatWeWrite();
    void picturesGoBothWays();
};

void TestRtfLibreOffice::libreOfficeReadsWhatWeWrite()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QVERIFY2(!soffice.isEmpty(), "LibreOffice (libreoffice-writer-nogui) is needed: run setup.sh");
    QTemporaryDir dir;
    QMap<QString, QString> expected; // file base name → text

    // A document of our own with everything that is hard to get right.
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("宋体")));
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("语音朗读器：中文、English、日本語のかな、한국어。"));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setForeground(Qt::red);
        c.insertText(QStringLiteral("粗体红字"), bold);
        c.insertBlock();
        // Outside GBK, beyond the basic plane, and GBK's own oddities.
        c.insertText(QStringLiteral("罕见字：𠀀𪚥 😀 €é™ 淺（第二个字节是反斜杠）{}\\"));
        c.insertBlock();
        c.insertText(
            QStringLiteral("制表\t符") + QChar(QChar::LineSeparator) + QStringLiteral("换行后"));
        QVERIFY(writeFile(dir.filePath("ours.rtf"), RtfWriter::write(doc)));
        expected.insert(QStringLiteral("ours"), doc.toPlainText());
    }
    // Every real file of the corpus, read and written again by us.
    const QDir corpus(QStringLiteral(PARLIX_RTF_CORPUS));
    for (const QString &name : corpus.entryList({QStringLiteral("*.rtf")})) {
        QFile in(corpus.filePath(name));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QTextDocument doc;
        const RtfReader::Result r = RtfReader::read(in.readAll(), &doc);
        QVERIFY2(r.ok && !r.partial, qPrintable(name));
        const QString base = QStringLiteral("corpus-") + name.chopped(4);
        QVERIFY(writeFile(dir.filePath(base + ".rtf"), RtfWriter::write(doc)));
        expected.insert(base, doc.toPlainText());
    }

    QStringList args {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
        QStringLiteral("--headless"), QStringLiteral("--convert-to"),
        QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), dir.filePath("out")};
    for (const QString &base : expected.keys())
        args << dir.filePath(base + ".rtf");
    QProcess lo;
    lo.setProcessChannelMode(QProcess::MergedChannels);
    lo.start(soffice, args);
    QVERIFY(lo.waitForFinished(240000));
    QCOMPARE(lo.exitCode(), 0);

    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QFile out(dir.filePath("out/" + it.key() + ".txt"));
        QVERIFY2(out.open(QIODevice::ReadOnly), qPrintable(it.key() + ": " + lo.readAll()));
        const QString theirs = squeeze(QString::fromUtf8(out.readAll()));
        const QString ours = squeeze(*it);
        qsizetype at = 0;
        while (at < theirs.size() && at < ours.size() && theirs[at] == ours[at])
            ++at;
        QVERIFY2(theirs == ours,
            qPrintable(QStringLiteral("%1, from character %2:\n LibreOffice: %3\n ours: %4")
                           .arg(it.key())
                           .arg(at)
                           .arg(theirs.mid(at - 20, 80), ours.mid(at - 20, 80))));
    }
}

namespace {

// Runs LibreOffice headless on files, converting them to format in dir/out.
bool convert(const QTemporaryDir &dir, const QString &format, const QStringList &files,
    const QString &filter = QString())
{
    QStringList args {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
        QStringLiteral("--headless")};
    if (!filter.isEmpty())
        args << QStringLiteral("--infilter=") + filter;
    args << QStringLiteral("--convert-to") << format << QStringLiteral("--outdir")
         << dir.filePath("out");
    args << files;
    QProcess lo;
    lo.setProcessChannelMode(QProcess::MergedChannels);
    lo.start(QStandardPaths::findExecutable(QStringLiteral("soffice")), args);
    return lo.waitForFinished(240000) && lo.exitCode() == 0;
}

} // namespace

// A picture LibreOffice writes into RTF is shown and kept by us; one we write
// is shown by LibreOffice.
void TestRtfLibreOffice::picturesGoBothWays()
{
    QTemporaryDir dir;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    QVERIFY(writeFile(dir.filePath("pic.html"),
        "<html><body><p>前面</p><p><img src=\"data:image/png;base64," + png.toBase64()
            + "\" width=\"40\" height=\"30\"></p><p>后面</p></body></html>"));
    QVERIFY(convert(dir, QStringLiteral("rtf:Rich Text Format"), {dir.filePath("pic.html")},
        QStringLiteral("HTML (StarWriter)")));
    QFile theirs(dir.filePath("out/pic.rtf"));
    QVERIFY(theirs.open(QIODevice::ReadOnly));
    QTextDocument doc;
    const RtfReader::Result r = RtfReader::read(theirs.readAll(), &doc);
    QVERIFY(r.ok);
    QCOMPARE(r.droppedPictures, 0); // the metafile copy is only a stand-in
    QCOMPARE(squeeze(doc.toPlainText()), QStringLiteral("前面\uFFFC后面"));
    QTextCursor c(&doc);
    c.setPosition(squeeze(doc.toPlainText()).indexOf(QChar::ObjectReplacementCharacter) + 1);
    const QTextImageFormat image = c.charFormat().toImageFormat();
    QVERIFY(image.isValid());
    QVERIFY2(qAbs(image.width() - 40) <= 2 && qAbs(image.height() - 30) <= 2,
        qPrintable(QStringLiteral("%1×%2").arg(image.width()).arg(image.height())));
    const QImage shown = QImage::fromData(
        doc.resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray());
    QCOMPARE(shown.pixelColor(20, 15), QColor(Qt::red));

    // Ours to LibreOffice: its HTML of our file shows the picture.
    QVERIFY(writeFile(dir.filePath("ourpic.rtf"), RtfWriter::write(doc)));
    QVERIFY(
        convert(dir, QStringLiteral("html:XHTML Writer File:UTF8"), {dir.filePath("ourpic.rtf")}));
    QFile html(dir.filePath("out/ourpic.html"));
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray page = html.readAll();
    QVERIFY2(page.contains("<img") && page.contains("image/png"), page.left(3000).constData());
}

QTEST_GUILESS_MAIN(TestRtfLibreOffice)
#include "tst_rtf_libreoffice.moc"
