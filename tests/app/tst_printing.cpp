// Printing: the line wrapping and paging rules on their own, then whole jobs
// printed to PDF and read back with pdftotext.

#include "fakeengine.h"
#include "mainform.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"
#include "textprinter.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

// One unit per Latin character, two per Chinese one.
qreal cells(QStringView s)
{
    qreal w = 0;
    for (QChar c : s)
        w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}

struct Printed {
    QStringList lines; // all pages, form feeds removed
    int pages = 0;
};

Printed readPdf(const QString &pdf)
{
    Printed p;
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    tool.waitForFinished(30000);
    const QString text = QString::fromUtf8(tool.readAllStandardOutput());
    const QStringList pages = text.split(u'\f');
    for (const QString &page : pages) {
        if (page.trimmed().isEmpty())
            continue;
        ++p.pages;
        QStringList lines = page.split(u'\n');
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        for (QString &l : lines)
            l = l.trimmed();
        p.lines += lines;
    }
    return p;
}

struct Harness {
    QTemporaryDir dir;
    IniRegistry registry {dir.filePath("settings")};
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;
    QPageLayout::Orientation seenOrientation = QPageLayout::Landscape;

    Harness()
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Services {&engine, &registry, &dialogs, &desktop});
        form->clockTimer().stop();
        // pdftotext reads WenQuanYi back exactly; the Noto CJK faces print
        // right but extract wrongly.
        QFont f(QStringLiteral("WenQuanYi Zen Hei"));
        f.setPixelSize(16);
        form->editor()->setFont(f);
    }
    QString print(bool accept = true)
    {
        const QString pdf = dir.filePath("out.pdf");
        dialogs.printerAnswers << [this, pdf, accept](QPrinter &printer) {
            seenOrientation = printer.pageLayout().orientation();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return accept;
        };
        form->N6Click();
        return pdf;
    }
};

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void linesWrapAfterTheLastCharacterThatFits_data();
    void linesWrapAfterTheLastCharacterThatFits();
    void pagesHoldTheirShareOfLines();
    void headerRuleEmptyLineThenTheText();
    void longLinesWrapAndPagesBreak();
    void emptyEditorPrintsTheHeaderOnly();
    void cancelledSetupPrintsNothing();
};

void TestPrinting::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
        "pdftotext (poppler-utils) is needed: run setup.sh");
}

void TestPrinting::linesWrapAfterTheLastCharacterThatFits_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("fits") << QStringList {"abc"} << 3.0 << QStringList {"abc"};
    QTest::newRow("one_over") << QStringList {"abcd"} << 3.0 << QStringList {"abc", "d"};
    QTest::newRow("several_rows") << QStringList {"abcdefgh"} << 3.0
                                  << QStringList {"abc", "def", "gh"};
    QTest::newRow("no_word_breaking_rules")
        << QStringList {"ab cd"} << 4.0 << QStringList {"ab c", "d"};
    QTest::newRow("wide_characters") << QStringList {"中文字"} << 5.0 << QStringList {"中文", "字"};
    QTest::newRow("empty_lines_stay")
        << QStringList {"", "a", ""} << 3.0 << QStringList {"", "a", ""};
    QTest::newRow("too_narrow_for_one") << QStringList {"中a"} << 1.0 << QStringList {"中", "a"};
    QTest::newRow("surrogate_pair_whole")
        << QStringList {"a😀b"} << 2.0 << QStringList {"a", "😀", "b"};
}

void TestPrinting::linesWrapAfterTheLastCharacterThatFits()
{
    QFETCH(QStringList, lines);
    QFETCH(qreal, width);
    QFETCH(QStringList, printed);
    QCOMPARE(TextPrinter::wrap(lines, width, cells), printed);
}

void TestPrinting::pagesHoldTheirShareOfLines()
{
    const QStringList lines {"1", "2", "3", "4", "5"};
    QCOMPARE(TextPrinter::paginate(lines, 2), (QList<QStringList> {{"1", "2"}, {"3", "4"}, {"5"}}));
    QCOMPARE(TextPrinter::paginate(lines, 5), (QList<QStringList> {lines}));
    QCOMPARE(TextPrinter::paginate({}, 5), (QList<QStringList> {{}}));
}

void TestPrinting::headerRuleEmptyLineThenTheText()
{
    Harness h;
    h.form->editor()->setPlainText(QStringLiteral("第一行文字\nSecond line\n\n第四行"));
    const Printed p = readPdf(h.print());
    QCOMPARE(h.seenOrientation, QPageLayout::Portrait);
    QCOMPARE(p.pages, 1);
    QVERIFY2(p.lines.size() >= 7, qPrintable(p.lines.join('|')));
    const QRegularExpression header(
        QStringLiteral("^Parlix V1\\.08 +朗读内容打印 +\\S.* +\\d{1,2}:\\d\\d:\\d\\d$"));
    QVERIFY2(header.match(p.lines[0]).hasMatch(), qPrintable(p.lines[0]));
    // The rule: 86 underscores, on one line or wrapped over two.
    int rule = 1;
    QString underscores;
    while (rule < p.lines.size() && p.lines[rule].startsWith(u'_'))
        underscores += p.lines[rule++];
    QCOMPARE(underscores, QString(86, u'_'));
    QCOMPARE(p.lines[rule], QString());
    QCOMPARE(p.lines.mid(rule + 1), (QStringList {"第一行文字", "Second line", "", "第四行"}));
}

void TestPrinting::longLinesWrapAndPagesBreak()
{
    Harness h;
    QStringList text;
    const QString longLine = QString(60, u'长') + QStringLiteral("END");
    text << longLine;
    for (int i = 1; i <= 150; ++i)
        text << QStringLiteral("第%1行").arg(i);
    h.form->editor()->setPlainText(text.join(u'\n'));
    const Printed p = readPdf(h.print());
    QVERIFY2(p.pages >= 3, qPrintable(QString::number(p.pages)));
    // The long line goes on in the next printed line, nothing lost.
    const qsizetype first = p.lines.indexOf(QRegularExpression(QStringLiteral("^长+$")));
    QVERIFY(first > 0);
    QString joined;
    qsizetype i = first;
    while (!joined.endsWith(QStringLiteral("END")) && i < p.lines.size())
        joined += p.lines[i++];
    QCOMPARE(joined, longLine);
    QVERIFY(i - first >= 2);
    // Every numbered line once, in order, across the pages.
    QStringList numbered;
    for (const QString &l : p.lines) {
        if (l.startsWith(u'第') && l.endsWith(u'行'))
            numbered << l;
    }
    QCOMPARE(numbered.size(), 150);
    QCOMPARE(numbered.first(), QStringLiteral("第1行"));
    QCOMPARE(numbered.last(), QStringLiteral("第150行"));
}

void TestPrinting::emptyEditorPrintsTheHeaderOnly()
{
    Harness h;
    h.form->editor()->clear();
    const Printed p = readPdf(h.print());
    QCOMPARE(p.pages, 1);
    QVERIFY(p.lines[0].startsWith(QStringLiteral("Parlix V1.08")));
    for (qsizetype i = 1; i < p.lines.size(); ++i)
        QVERIFY2(p.lines[i].isEmpty() || p.lines[i].startsWith(u'_'), qPrintable(p.lines[i]));
}

void TestPrinting::cancelledSetupPrintsNothing()
{
    Harness h;
    const QString pdf = h.print(false);
    QCOMPARE(h.dialogs.printerDialogs, 1);
    QCOMPARE(h.seenOrientation, QPageLayout::Portrait); // set before the dialog
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(h.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
