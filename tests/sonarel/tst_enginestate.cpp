#include "enginestate.h"
#include "narrex.h"

#include <QTest>

#include <atomic>
#include <thread>

using State = ReadingQueue::State;

class TestEngineState : public QObject
{
    Q_OBJECT

private slots:
    void transitions_data();
    void transitions();
    void closingWaitsForTheRunningConversion();
    void theQueueReportsEachChangeOfItsReading();
};

// Each row is a walk through the state: the events in order, then what a
// snapshot says after the last one.
void TestEngineState::transitions_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("lastBeginAccepted");
    const auto row
        = [](const char *name, const char *events, int bits, int percent, bool accepted = true) {
              QTest::newRow(name) << QString::fromLatin1(events).split(u' ', Qt::SkipEmptyParts)
                                  << bits << percent << accepted;
          };
    row("fresh engine is idle", "", 0, 0);
    row("speak", "play", NARREX_STATE_READING, 0);
    row("heard to the end", "play finish", 0, 0);
    row("stopped", "play stop", 0, 0);
    row("speak after the end", "play finish play", NARREX_STATE_READING, 0);
    row("conversion begins at 0", "convert", NARREX_STATE_CONVERTING, 0);
    row("conversion reports", "convert 40 75", NARREX_STATE_CONVERTING, 75);
    row("a report is kept below 100", "convert 250", NARREX_STATE_CONVERTING, 99);
    row("and above 0", "convert -5", NARREX_STATE_CONVERTING, 0);
    row("conversion ended", "convert 60 end", 0, 0);
    row("no percentage without a conversion", "60", 0, 0);
    row("a new conversion starts from 0", "convert 80 end convert", NARREX_STATE_CONVERTING, 0);
    row("a stray end changes nothing", "end end", 0, 0);
    row("reading beside a conversion", "convert 30 play",
        NARREX_STATE_READING | NARREX_STATE_CONVERTING, 30);
    row("the reading ends, the conversion goes on", "play convert 30 finish",
        NARREX_STATE_CONVERTING, 30);
    row("two conversions: one ends, one runs", "convert convert 20 end", NARREX_STATE_CONVERTING,
        20);
    row("closing", "play close", NARREX_STATE_READING | NARREX_STATE_CLOSING, 0);
    row("closing refuses a new conversion", "close convert", NARREX_STATE_CLOSING, 0, false);
    row("a conversion under way when closing begins", "convert 10 close",
        NARREX_STATE_CONVERTING | NARREX_STATE_CLOSING, 10);
    row("and its end", "convert 10 close end", NARREX_STATE_CLOSING, 0);
}

void TestEngineState::transitions()
{
    QFETCH(QStringList, events);
    QFETCH(int, bits);
    QFETCH(int, percent);
    QFETCH(bool, lastBeginAccepted);
    EngineState state;
    bool accepted = true;
    for (const QString &e : std::as_const(events)) {
        if (e == u"play")
            state.setReading(State::Playing);
        else if (e == u"finish")
            state.setReading(State::Finished);
        else if (e == u"stop")
            state.setReading(State::Idle);
        else if (e == u"convert")
            accepted = state.beginConversion();
        else if (e == u"end")
            state.endConversion();
        else if (e == u"close")
            state.beginClosing();
        else
            state.setConversionPercent(e.toInt());
    }
    const EngineState::Snapshot now = state.snapshot();
    QCOMPARE(now.bits(), bits);
    QCOMPARE(now.converting() ? now.conversionPercent : 0, percent);
    QCOMPARE(accepted, lastBeginAccepted);
    QCOMPARE(state.isClosing(), bool(bits & NARREX_STATE_CLOSING));
}

void TestEngineState::closingWaitsForTheRunningConversion()
{
    EngineState state;
    QVERIFY(state.beginConversion());
    state.beginClosing();
    std::atomic<bool> waited {false};
    std::thread closer([&] {
        state.waitForConversions();
        waited = true;
    });
    // The conversion sees the closing and winds up; until it ends, closing waits.
    QVERIFY(state.isClosing());
    QTest::qWait(50);
    QVERIFY(!waited);
    state.endConversion();
    closer.join();
    QVERIFY(waited);
    QVERIFY(!state.snapshot().converting());
}

void TestEngineState::theQueueReportsEachChangeOfItsReading()
{
    EngineState state;
    QList<State> heard;
    ReadingQueue queue(1000, [&](State s) {
        heard << s;
        state.setReading(s);
    });
    const quint64 g = queue.begin(10);
    QCOMPARE(state.snapshot().bits(), NARREX_STATE_READING);
    AudioChunk chunk;
    chunk.samples.assign(20, 1);
    QVERIFY(queue.tryPush(g, chunk));
    queue.finishProducing(g);
    int16_t buffer[32];
    QCOMPARE(queue.pull(g, buffer, 32), 20);
    QVERIFY(queue.reportPlayed(g, 20, true));
    QCOMPARE(state.snapshot().reading, State::Finished);
    QCOMPARE(state.snapshot().bits(), 0);
    queue.begin(5);
    queue.stop();
    QCOMPARE(heard, (QList<State> {State::Playing, State::Finished, State::Playing, State::Idle}));
    QCOMPARE(state.snapshot().reading, State::Idle);
}

QTEST_GUILESS_MAIN(TestEngineState)
#include "tst_enginestate.moc"
