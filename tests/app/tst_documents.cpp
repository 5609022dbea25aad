// The document commands of the main window with scripted dialogs: new, open
// and load, save and export, and what a failure leaves behind.

#include "fakeengine.h"
#include "mainform.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "rtfreader.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

struct Harness {
    QTemporaryDir dir;
    IniRegistry registry {dir.filePath("settings")};
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;

    Harness()
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Services {&engine, &registry, &dialogs, &desktop});
        form->clockTimer().stop();
    }
    QTextEdit *editor() const { return form->editor(); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray fileBytes(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString savedText(const QString &name) const
    {
        QTextDocument doc;
        RtfReader::read(fileBytes(name), &doc);
        return doc.toPlainText();
    }
    void trigger(const char *name) { form->findChild<QAction *>(QLatin1String(name))->trigger(); }
    void click(const char *name) { form->findChild<QToolButton *>(QLatin1String(name))->click(); }
};

// Writing more than limit bytes fails for the rest of the scope, as on a
// full disk; the signal a too large file raises is ignored meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = m_old;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void newAskedNoEmptiesWithoutSaving();
    void newAskedYesCancelledStillEmpties();
    void newAskedYesSavesThenEmpties();
    void newKeepsTheTextWhenItsSaveFails();
    void saveWritesRtfWhateverTheName_data();
    void saveWritesRtfWhateverTheName();
    void saveReplacesAnExistingFile();
    void failedSaveLeavesTheOldFileWhole();
    void cancelledDialogsChangeNothing();
    void openedRtfKeepsItsFormatting();
    void openedTextIsUnformattedInItsEncoding_data();
    void openedTextIsUnformattedInItsEncoding();
    void nulByteDoesNotCutTheTextShort();
    void picturesSurviveOpenAndSaveOrAreNamedAtOnce();
    void openingAgainFreesTheDocumentBefore();
    void unreadableFileLeavesTheEditorAndSaysWhy_data();
    void unreadableFileLeavesTheEditorAndSaysWhy();
    void brokenRtfLoadsWhatItCanAndWarns();
    void contextMenuLoadsAndExportsLikeOpenAndSave();
};

void TestDocuments::newAskedNoEmptiesWithoutSaving()
{
    Harness h;
    h.dialogs.answers << Dialogs::Answer::No;
    h.click("SpeedButton9");
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("新建文件，您是否保存当前窗口?"));
    QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("询问"));
    QCOMPARE(h.dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    QVERIFY(h.dialogs.fileDialogs.isEmpty());
    QVERIFY(h.editor()->document()->isEmpty());
}

void TestDocuments::newAskedYesCancelledStillEmpties()
{
    Harness h;
    h.dialogs.answers << Dialogs::Answer::Yes;
    h.trigger("N3");
    QCOMPARE(h.dialogs.fileDialogs, QStringList {"save:RTF|*.RTF:RTF"});
    QVERIFY(h.editor()->document()->isEmpty());
}

void TestDocuments::newAskedYesSavesThenEmpties()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("要保存的文字"));
    h.dialogs.answers << Dialogs::Answer::Yes;
    h.dialogs.fileNames << h.path("kept");
    h.form->SpeedButton9Click();
    QCOMPARE(h.savedText("kept.RTF"), QStringLiteral("要保存的文字"));
    QVERIFY(h.editor()->document()->isEmpty());
}

// Mended: a save that fails must not be followed by emptying the editor,
// or the text is lost.
void TestDocuments::newKeepsTheTextWhenItsSaveFails()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("不能丢的文字"));
    h.writeFile("not-a-folder", "x");
    h.dialogs.answers << Dialogs::Answer::Yes;
    h.dialogs.fileNames << h.path("not-a-folder/doc.rtf");
    h.form->SpeedButton9Click();
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("不能丢的文字"));
    QCOMPARE(h.dialogs.messages.size(), 2);
    QCOMPARE(h.dialogs.messages[1].icon, Dialogs::Icon::Error);
    QCOMPARE(h.dialogs.messages[1].caption, Dialogs::applicationTitle());
    QVERIFY(h.dialogs.messages[1].text.contains(
        QDir::toNativeSeparators(h.path("not-a-folder/doc.rtf"))));
}

void TestDocuments::saveWritesRtfWhateverTheName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no_extension_gets_RTF") << "letter"
                                           << "letter.RTF";
    QTest::newRow("txt_is_still_rtf") << "notes.txt"
                                      << "notes.txt";
    QTest::newRow("chinese_name") << "家信.rtf"
                                  << "家信.rtf";
}

void TestDocuments::saveWritesRtfWhateverTheName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    Harness h;
    QTextCursor c(h.editor()->document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("粗体结尾"), bold);
    h.dialogs.fileNames << h.path(chosen);
    h.click("SpeedButton5");
    QCOMPARE(h.dialogs.fileDialogs, QStringList {"save:RTF|*.RTF:RTF"});
    const QByteArray bytes = h.fileBytes(written);
    QVERIFY(bytes.startsWith("{\\rtf1"));
    QCOMPARE(h.savedText(written), h.editor()->toPlainText());
    QVERIFY(bytes.contains("\\b"));
    QVERIFY(h.dialogs.messages.isEmpty());
    // No temporary file stays behind.
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files).size(), 1);
}

void TestDocuments::saveReplacesAnExistingFile()
{
    Harness h;
    h.writeFile("old.rtf", "old content");
    h.editor()->setPlainText(QStringLiteral("新内容"));
    h.dialogs.fileNames << h.path("old.rtf");
    h.trigger("O1");
    QVERIFY(h.dialogs.messages.isEmpty()); // no question before replacing
    QCOMPARE(h.savedText("old.rtf"), QStringLiteral("新内容"));
}

void TestDocuments::failedSaveLeavesTheOldFileWhole()
{
    Harness h;
    const QByteArray old = "{\\rtf1 the old file, whole}";
    h.writeFile("precious.rtf", old);
    // A text larger than the room left on the "disk".
    h.editor()->setPlainText(QString(100000, u'字'));
    h.dialogs.fileNames << h.path("precious.rtf");
    {
        FileSizeLimit full(16 * 1024);
        h.form->SpeedButton5Click();
    }
    QCOMPARE(h.fileBytes("precious.rtf"), old);
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files), QStringList {"precious.rtf"});
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Error);
    QVERIFY(h.dialogs.messages[0].text.contains(QStringLiteral("precious.rtf")));
    QCOMPARE(h.editor()->toPlainText(), QString(100000, u'字'));
}

void TestDocuments::cancelledDialogsChangeNothing()
{
    Harness h;
    const QString before = h.editor()->toPlainText();
    h.click("SpeedButton7");
    h.click("SpeedButton5");
    h.form->N6Click();
    QCOMPARE(
        h.dialogs.fileDialogs, (QStringList {"open:Txt; Rtf|*.Txt; *.Rtf", "save:RTF|*.RTF:RTF"}));
    QCOMPARE(h.editor()->toPlainText(), before);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files), QStringList());
}

void TestDocuments::openedRtfKeepsItsFormatting()
{
    Harness h;
    h.writeFile("in.rtf",
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}"
        "\\f0\\fs24 \\'c6\\'d5\\'cd\\'a8{\\b\\cf1 \\'b4\\'d6\\'cc\\'e5}\\par\\qc "
        "\\'be\\'d3\\'d6\\'d0\\par}");
    h.dialogs.fileNames << h.path("in.rtf");
    h.click("SpeedButton7");
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("普通粗体\n居中"));
    QTextCursor c(h.editor()->document());
    c.setPosition(3);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::red));
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Normal));
    QCOMPARE(h.editor()->document()->lastBlock().blockFormat().alignment() & Qt::AlignHCenter,
        Qt::AlignHCenter);
    // The editor's own font stays the base of the new document.
    QCOMPARE(h.editor()->document()->defaultFont().family(), QStringLiteral("宋体"));
    QVERIFY(!h.editor()->document()->isModified());
    QVERIFY(h.dialogs.messages.isEmpty());
    // The new document is read aloud like the old one.
    h.form->SpeedButton4Click();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("普通粗体\n居中"));
}

void TestDocuments::openedTextIsUnformattedInItsEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("第一行 line\n第二行：{\\rtf 不是开头}");
    QTest::newRow("gbk") << QByteArray(QStringEncoder("GBK").encode(text));
    QTest::newRow("utf8") << text.toUtf8();
    QTest::newRow("utf8_bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("utf16le_bom") << QByteArray(
        QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text));
    QTest::newRow("crlf_gbk") << QByteArray(
        QStringEncoder("GBK").encode(QString(text).replace("\n", "\r\n")));
}

// Mended: a NUL byte used to end the text there (for the editor, and for the
// engine, which takes zero-terminated text); it is a blank, as in parlix-wave.
void TestDocuments::nulByteDoesNotCutTheTextShort()
{
    Harness h;
    h.writeFile("nul.txt", QByteArray("\xc7\xb0\xc3\xe6\0\xba\xf3\xc3\xe6", 9)); // 前面 NUL 后面
    h.dialogs.fileNames << h.path("nul.txt");
    h.click("SpeedButton7");
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("前面 后面"));
}

void TestDocuments::openedTextIsUnformattedInItsEncoding()
{
    QFETCH(QByteArray, bytes);
    Harness h;
    QTextCursor c(h.editor()->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("粗体"), bold); // formatting from before must go
    h.writeFile("in.txt", bytes);
    h.dialogs.fileNames << h.path("in.txt");
    h.click("SpeedButton7");
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("第一行 line\n第二行：{\\rtf 不是开头}"));
    QTextCursor first(h.editor()->document());
    first.setPosition(1);
    QCOMPARE(first.charFormat().fontWeight(), int(QFont::Normal));
    QVERIFY(h.dialogs.messages.isEmpty());
}

// Mended: pictures vanished on save without a word. PNG and JPEG ones are
// kept; what cannot be (a metafile here) is named once, when the file opens.
void TestDocuments::picturesSurviveOpenAndSaveOrAreNamedAtOnce()
{
    Harness h;
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    h.writeFile("pictures.rtf",
        "{\\rtf1\\ansi Photo: {\\pict\\pngblip\\picw16\\pich12 " + png.toHex()
            + "} chart: {\\pict\\wmetafile8\\picw16\\pich12 010009000003}.}");
    h.dialogs.fileNames << h.path("pictures.rtf");
    h.click("SpeedButton7");
    QCOMPARE(h.dialogs.messages.size(), 1);
    QVERIFY2(h.dialogs.messages[0].text.contains(QStringLiteral("1 个图片或对象"))
            && h.dialogs.messages[0].text.contains(QStringLiteral("保存时不会保留")),
        qPrintable(h.dialogs.messages[0].text));
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("Photo: \uFFFC chart: ."));

    h.dialogs.fileNames << h.path("saved.rtf");
    h.click("SpeedButton5");
    QFile saved(h.path("saved.rtf"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray rtf = saved.readAll();
    QVERIFY(rtf.contains("\\pngblip"));
    QVERIFY(rtf.contains(png.toHex().left(64)));
    QCOMPARE(h.dialogs.messages.size(), 1); // nothing more said
}

// Mended: every Open after the first kept the previous document alive (up
// to 256 MB each). The one opened before is gone after the next Open.
void TestDocuments::openingAgainFreesTheDocumentBefore()
{
    Harness h;
    h.writeFile("one.txt", "first");
    h.writeFile("two.txt", "second");
    h.writeFile("three.txt", "third");
    h.dialogs.fileNames << h.path("one.txt") << h.path("two.txt") << h.path("three.txt");
    h.click("SpeedButton7");
    const QPointer<QTextDocument> first = h.editor()->document();
    h.click("SpeedButton7");
    const QPointer<QTextDocument> second = h.editor()->document();
    QTRY_VERIFY(first.isNull());
    QVERIFY(!second.isNull());
    h.click("SpeedButton7");
    QTRY_VERIFY(second.isNull());
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("third"));
    QCOMPARE(h.editor()->findChildren<QTextDocument *>().size(), 1);
}

void TestDocuments::unreadableFileLeavesTheEditorAndSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "gone.txt";
    QTest::newRow("a_folder") << "folder";
}

void TestDocuments::unreadableFileLeavesTheEditorAndSaysWhy()
{
    QFETCH(QString, name);
    Harness h;
    QDir(h.dir.path()).mkdir("folder");
    const QString before = h.editor()->toPlainText();
    h.dialogs.fileNames << h.path(name);
    h.click("SpeedButton7");
    QCOMPARE(h.editor()->toPlainText(), before);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Error);
    QCOMPARE(h.dialogs.messages[0].caption, Dialogs::applicationTitle());
    QVERIFY(h.dialogs.messages[0].text.contains(name));
}

void TestDocuments::brokenRtfLoadsWhatItCanAndWarns()
{
    Harness h;
    h.writeFile("broken.rtf", "{\\rtf1 Start{\\b bold text");
    h.dialogs.fileNames << h.path("broken.rtf");
    h.click("SpeedButton7");
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("Startbold text"));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
    QVERIFY(h.dialogs.messages[0].text.contains(QStringLiteral("broken.rtf")));
}

void TestDocuments::contextMenuLoadsAndExportsLikeOpenAndSave()
{
    Harness h;
    h.writeFile("in.txt", "loaded");
    h.dialogs.fileNames << h.path("in.txt") << h.path("out");
    h.trigger("L1");
    QCOMPARE(h.editor()->toPlainText(), QStringLiteral("loaded"));
    h.trigger("MenuItem2");
    QCOMPARE(h.savedText("out.RTF"), QStringLiteral("loaded"));
    QCOMPARE(
        h.dialogs.fileDialogs, (QStringList {"open:Txt; Rtf|*.Txt; *.Rtf", "save:RTF|*.RTF:RTF"}));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
