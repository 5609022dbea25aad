// Following the reading in the editor, with a scripted engine that says
// which bytes of the text it sent are being heard: the highlight, reading
// from the cursor, the previous and next sentence.

#include "fakeengine.h"
#include "mainform.h"
#include "readingcontrol.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

struct Harness {
    QTemporaryDir dir;
    IniRegistry registry {dir.filePath("settings")};
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;

    Harness() { create(); }
    void create()
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Services {&engine, &registry, &dialogs, &desktop});
        form->clockTimer().stop();
        form->resize(850, 524);
        form->show();
    }
    QTextEdit *editor() const { return form->editor(); }
    // The engine hears what lies between the GBK bytes of before and of
    // before + heard in the text last spoken.
    void hear(const QString &before, const QString &heard)
    {
        const QString spoken = engine.spokenTexts.last();
        QVERIFY(spoken.startsWith(before + heard) || spoken.contains(before + heard));
        const int start = int(QByteArray(QStringEncoder("GBK").encode(before)).size());
        const int length = int(QByteArray(QStringEncoder("GBK").encode(heard)).size());
        engine.hear(start, length);
    }
    // The highlighted text, once the window has looked (as its follow timer
    // has it do every 50 ms: done here at once, so that a busy machine
    // cannot make the test late).
    QString highlighted()
    {
        form->followReading();
        const QList<QTextEdit::ExtraSelection> s = editor()->extraSelections();
        return s.isEmpty() ? QString() : s.first().cursor.selectedText();
    }
    QAction *action(const char *name) const
    {
        return form->findChild<QAction *>(QLatin1String(name));
    }
};

} // namespace

class TestFollow : public QObject
{
    Q_OBJECT

private slots:
    void highlightFollowsTheHeardSentence();
    void wordIsMarkedInsideItsSentence();
    void documentStaysUntouched();
    void editingDropsTheHighlightUntilTheNextPass();
    void nothingForPhrasesStopOrEnd();
    void optionOffShowsNoneAndIsKept();
    void readFromCursorStartsAtItsSentence();
    void previousAndNextSentence();
    void sentenceIsScrolledIntoViewUnlessTheUserScrolled();
};

void TestFollow::highlightFollowsTheHeardSentence()
{
    Harness h;
    // Mixed text: ASCII (one byte), Chinese (two), an emoji GBK lacks (one
    // blank for two UTF-16 units), the euro sign (one byte).
    h.editor()->setPlainText(QStringLiteral("Hi 😀你好。€5 World! 再见"));
    h.form->SpeedButton4Click();
    h.hear(QStringLiteral("Hi "), QStringLiteral(" 你好。")); // the blank stands for 😀
    QCOMPARE(h.highlighted(), QStringLiteral("😀你好。"));
    h.engine.hear(int(QByteArray("Hi  \xc4\xe3\xba\xc3\xa1\xa3").size()), 10); // "€5 World! "
    QCOMPARE(h.highlighted(), QStringLiteral("€5 World! "));
    h.hear(QStringLiteral("Hi  你好。€5 World! "), QStringLiteral("再见"));
    QCOMPARE(h.highlighted(), QStringLiteral("再见"));
    // Nothing heard (between readings, or before the first sound): none.
    h.engine.range = {};
    QCOMPARE(h.highlighted(), QString());
}

void TestFollow::wordIsMarkedInsideItsSentence()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("我们去公园散步。"));
    h.form->SpeedButton4Click();
    h.engine.hear(0, 16, 6, 4); // the sentence, and 公园 in it
    h.highlighted();
    const QList<QTextEdit::ExtraSelection> s = h.editor()->extraSelections();
    QCOMPARE(s.size(), 2);
    QCOMPARE(s[0].cursor.selectedText(), QStringLiteral("我们去公园散步。"));
    QCOMPARE(s[1].cursor.selectedText(), QStringLiteral("公园"));
    // The word stands out more than its sentence, both softly.
    const QColor base = h.editor()->palette().color(QPalette::Base);
    const auto distance = [&](const QColor &c) {
        return std::abs(c.red() - base.red()) + std::abs(c.green() - base.green())
            + std::abs(c.blue() - base.blue());
    };
    const int sentence = distance(s[0].format.background().color());
    const int word = distance(s[1].format.background().color());
    QVERIFY(sentence > 0);
    QVERIFY(word > sentence);
}

void TestFollow::documentStaysUntouched()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("第一句。第二句。"));
    QTextDocument *doc = h.editor()->document();
    const int revision = doc->revision();
    QVERIFY(!doc->isUndoAvailable());
    h.form->SpeedButton4Click();
    h.engine.hear(0, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    h.engine.hear(8, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第二句。"));
    QCOMPARE(doc->revision(), revision);
    QVERIFY(!doc->isModified());
    QVERIFY(!doc->isUndoAvailable());
}

void TestFollow::editingDropsTheHighlightUntilTheNextPass()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("第一句。第二句。"));
    h.form->findChild<QCheckBox *>("CheckBox1")->setChecked(true);
    h.form->SpeedButton4Click();
    h.engine.hear(0, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    QTextCursor c(h.editor()->document());
    c.insertText(QStringLiteral("新"));
    QCOMPARE(h.highlighted(), QString());
    h.engine.hear(8, 8);
    QCOMPARE(h.highlighted(), QString()); // for the rest of this pass
    QVERIFY(h.form->reading().isReading()); // the reading goes on
    // The repeat pass reads the edited text, and is followed from its start.
    h.engine.sendEnd();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("新第一句。第二句。"));
    h.engine.hear(0, 10);
    QCOMPARE(h.highlighted(), QStringLiteral("新第一句。"));
}

void TestFollow::nothingForPhrasesStopOrEnd()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("第一句。第二句。"));
    h.form->SpeedButton4Click();
    h.engine.hear(0, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    h.form->PlayStr(QStringLiteral("今天是星期四"));
    QCOMPARE(h.highlighted(), QString()); // the phrase is not in the editor
    h.engine.sendEnd(); // the phrase's end stops the reading
    QVERIFY(!h.form->reading().isReading());

    h.form->SpeedButton4Click();
    h.engine.hear(0, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    h.form->SpeedButton1Click();
    QCOMPARE(h.highlighted(), QString());
    h.form->SpeedButton4Click();
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    h.engine.sendEnd();
    QCOMPARE(h.highlighted(), QString());
}

void TestFollow::optionOffShowsNoneAndIsKept()
{
    Harness h;
    QAction *option = h.action("mnuHighlight");
    QCOMPARE(option->text(), QStringLiteral("朗读时突出显示句子(&H)"));
    QVERIFY(option->isCheckable());
    QVERIFY(option->isChecked()); // on by default
    h.editor()->setPlainText(QStringLiteral("第一句。"));
    h.form->SpeedButton4Click();
    h.engine.hear(0, 8);
    QCOMPARE(h.highlighted(), QStringLiteral("第一句。"));
    option->trigger();
    QVERIFY(!option->isChecked());
    QCOMPARE(h.highlighted(), QString());
    h.form->close();
    h.create();
    QVERIFY(!h.action("mnuHighlight")->isChecked());
}

void TestFollow::readFromCursorStartsAtItsSentence()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("第一句。第二句很长，有逗号。第三句！"));
    QTextCursor c = h.editor()->textCursor();
    c.setPosition(8); // inside the second sentence
    h.editor()->setTextCursor(c);
    QAction *fromCursor = h.action("mnuReadFromCursor");
    QCOMPARE(fromCursor->text(), QStringLiteral("从光标处朗读(&C)"));
    QCOMPARE(fromCursor->shortcut(), QKeySequence(Qt::Key_F6));
    fromCursor->trigger();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("第二句很长，有逗号。第三句！"));
    // The same controls as a whole reading.
    QVERIFY(h.form->reading().isReading());
    QVERIFY(!h.form->findChild<QToolButton *>("SpeedButton4")->isEnabled());
    QVERIFY(!fromCursor->isEnabled());
    QVERIFY(h.form->reading().progressTimerActive());
    // Positions the engine reports are from where the reading began.
    h.engine.hear(0, 20);
    QCOMPARE(h.highlighted(), QStringLiteral("第二句很长，有逗号。"));
    h.engine.sendEnd();
    QVERIFY(!h.form->reading().isReading());
    QVERIFY(fromCursor->isEnabled());
}

void TestFollow::previousAndNextSentence()
{
    Harness h;
    h.editor()->setPlainText(QStringLiteral("一。二。三。"));
    QAction *previous = h.action("mnuPreviousSentence");
    QAction *next = h.action("mnuNextSentence");
    QCOMPARE(previous->shortcut(), QKeySequence(Qt::Key_F7));
    QCOMPARE(next->shortcut(), QKeySequence(Qt::Key_F8));
    QVERIFY(!previous->isEnabled());
    QVERIFY(!next->isEnabled());
    h.form->SpeedButton4Click();
    QVERIFY(next->isEnabled());
    h.engine.hear(0, 4); // 一。
    h.highlighted();
    h.form->SpeedButton10Click(); // paused: the next sentence plays anyway
    h.engine.calls.clear();
    next->trigger();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("二。三。"));
    QCOMPARE(h.engine.actions(), QStringList {"speak(0)"}); // no stop, no end in between
    QCOMPARE(h.form->findChild<QToolButton *>("SpeedButton10")->text(), QStringLiteral("暂停"));
    h.engine.hear(0, 4); // 二。 of the new reading
    QCOMPARE(h.highlighted(), QStringLiteral("二。"));
    next->trigger();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("三。"));
    h.engine.hear(0, 4);
    QCOMPARE(h.highlighted(), QStringLiteral("三。"));
    h.engine.calls.clear();
    next->trigger(); // at the last sentence: nothing
    QVERIFY(h.engine.actions().isEmpty());
    previous->trigger();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("二。三。"));
    h.engine.hear(0, 4);
    h.highlighted();
    previous->trigger();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("一。二。三。"));
    h.engine.hear(0, 4);
    h.highlighted();
    previous->trigger(); // at the first: from its start again
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("一。二。三。"));
    QVERIFY(h.form->reading().isReading());
}

void TestFollow::sentenceIsScrolledIntoViewUnlessTheUserScrolled()
{
    Harness h;
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("第%1句。").arg(i, 3, 10, QChar(u'0'));
    h.editor()->setPlainText(lines.join(u'\n'));
    QScrollBar *bar = h.editor()->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0); // laid out
    bar->setValue(0);
    h.form->SpeedButton4Click();
    const auto byteOf = [](int line) { return line * 10; }; // 第123句。 is 9 bytes, then \n
    h.engine.hear(byteOf(250), 9);
    QCOMPARE(h.highlighted(), QStringLiteral("第250句。"));
    QVERIFY(bar->value() > 0); // brought into view
    const QTextEdit::ExtraSelection s = h.editor()->extraSelections().first();
    QVERIFY(h.editor()->viewport()->rect().contains(h.editor()->cursorRect(s.cursor)));

    // The user scrolls back to the top: the reading does not pull the view
    // away for a while.
    bar->setValue(0);
    h.engine.hear(byteOf(260), 9);
    QCOMPARE(h.highlighted(), QStringLiteral("第260句。"));
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestFollow)
#include "tst_follow.moc"
