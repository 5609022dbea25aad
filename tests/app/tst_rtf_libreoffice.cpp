// Our RTF checked by a reader nobody here wrote: LibreOffice converts the
// files we write to plain text, headless, and the text must be the
// document's, Chinese and rare characters included. Real files from other
// editors go through our reader and writer first (load → save → LibreOffice).

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString squeeze(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[\\s\\x{00A0}\\x{3000}\\x{2028}\\x{2029}\\x{FEFF}]"),
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
        c.insertText(QStringLiteral("制表\t符") + QChar(QChar::LineSeparator)
                     + QStringLiteral("换行后"));
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

    QStringList args{QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                     QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                     QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                     dir.filePath("out")};
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

QTEST_GUILESS_MAIN(TestRtfLibreOffice)
#include "tst_rtf_libreoffice.moc"
