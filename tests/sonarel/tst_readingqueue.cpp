#include "readingqueue.h"

#include <QTest>

#include <atomic>
#include <thread>

namespace {

AudioChunk chunk(int samples, std::vector<TextMark> marks = {})
{
    AudioChunk c;
    c.samples.assign(size_t(samples), int16_t(1));
    c.marks = std::move(marks);
    return c;
}

TextMark word(qint64 sample, qint64 byte)
{
    return {sample, byte, 2, TextMark::Word};
}

} // namespace

class TestReadingQueue : public QObject
{
    Q_OBJECT

private slots:
    void progressFollowsWhatWasHeardNotWhatWasQueued();
    void finishesOnlyWhenEverythingWasPlayed();
    void stopTurnsAwayTheOldReading();
    void fullQueueHoldsTheProducerUntilThereIsRoom();
    void stopWakesAProducerWaitingForRoom();
    void pauseHoldsPullsAndNeedsAReading();
};

void TestReadingQueue::progressFollowsWhatWasHeardNotWhatWasQueued()
{
    ReadingQueue q(1000);
    const quint64 g = q.begin(100);
    AudioChunk c = chunk(300, {word(0, 0), word(100, 40), word(250, 80)});
    QVERIFY(q.tryPush(g, c));
    q.finishProducing(g);
    int16_t buf[400];
    QCOMPARE(q.pull(g, buf, 400), 300);
    QCOMPARE(q.percent(), 0); // pulled into the output, not heard yet
    QVERIFY(!q.reportPlayed(g, 99, false));
    QCOMPARE(q.percent(), 0);
    QVERIFY(!q.reportPlayed(g, 100, false));
    QCOMPARE(q.percent(), 40);
    QVERIFY(!q.reportPlayed(g, 299, false));
    QCOMPARE(q.percent(), 80);
}

void TestReadingQueue::finishesOnlyWhenEverythingWasPlayed()
{
    ReadingQueue q(1000);
    const quint64 g = q.begin(10);
    AudioChunk c = chunk(50, {word(0, 9)});
    QVERIFY(q.tryPush(g, c));
    int16_t buf[64];
    QCOMPARE(q.pull(g, buf, 64), 50);
    QVERIFY(!q.reportPlayed(g, 50, true)); // producer still busy
    QCOMPARE(q.percent(), 90);
    q.finishProducing(g);
    QVERIFY(!q.reportPlayed(g, 40, false)); // output still holds samples
    QVERIFY(q.reportPlayed(g, 50, true));
    QCOMPARE(q.percent(), 100);
    QCOMPARE(q.state(), ReadingQueue::State::Finished);
    QVERIFY(q.claimFinished(g));
    QVERIFY(!q.claimFinished(g)); // one notification per reading
    QCOMPARE(q.percent(), 100); // until the next reading or a stop
}

void TestReadingQueue::stopTurnsAwayTheOldReading()
{
    ReadingQueue q(1000);
    const quint64 g = q.begin(10);
    AudioChunk c = chunk(50);
    QVERIFY(q.tryPush(g, c));
    q.finishProducing(g);
    int16_t buf[64];
    QCOMPARE(q.pull(g, buf, 64), 50);
    QVERIFY(q.reportPlayed(g, 50, true));
    q.stop(); // between the end and its notification
    QVERIFY(!q.claimFinished(g));
    QCOMPARE(q.percent(), 0);

    const quint64 g2 = q.begin(10);
    QVERIFY(g2 != g);
    AudioChunk stale = chunk(10);
    QVERIFY(!q.tryPush(g, stale));
    QVERIFY(!q.isCurrent(g));
    QVERIFY(q.isCurrent(g2));
    QCOMPARE(q.pull(g, buf, 64), 0);
    QVERIFY(!q.reportPlayed(g, 10, true));
}

void TestReadingQueue::fullQueueHoldsTheProducerUntilThereIsRoom()
{
    ReadingQueue q(100);
    const quint64 g = q.begin(10);
    AudioChunk a = chunk(100);
    QVERIFY(q.tryPush(g, a));
    AudioChunk b = chunk(10);
    QVERIFY(!q.tryPush(g, b));

    std::atomic<bool> pushed {false};
    std::thread producer([&] {
        AudioChunk c = chunk(10);
        pushed = q.push(g, c);
    });
    QTest::qWait(50);
    QVERIFY(!pushed);
    int16_t buf[20];
    QCOMPARE(q.pull(g, buf, 20), 20);
    producer.join();
    QVERIFY(pushed);
    QCOMPARE(q.queuedSamples(), 90);
}

void TestReadingQueue::stopWakesAProducerWaitingForRoom()
{
    ReadingQueue q(10);
    const quint64 g = q.begin(10);
    AudioChunk a = chunk(10);
    QVERIFY(q.tryPush(g, a));
    std::atomic<int> result {-1};
    std::thread producer([&] {
        AudioChunk c = chunk(10);
        result = q.push(g, c) ? 1 : 0;
    });
    QTest::qWait(30);
    q.stop();
    producer.join();
    QCOMPARE(result.load(), 0);
}

void TestReadingQueue::pauseHoldsPullsAndNeedsAReading()
{
    ReadingQueue q(100);
    QVERIFY(!q.togglePause()); // idle
    const quint64 g = q.begin(10);
    AudioChunk a = chunk(10);
    QVERIFY(q.tryPush(g, a));
    QVERIFY(q.togglePause());
    QVERIFY(q.snapshot().paused);
    int16_t buf[10];
    QCOMPARE(q.pull(g, buf, 10), 0);
    QVERIFY(q.togglePause());
    QCOMPARE(q.pull(g, buf, 10), 10);
    q.stop();
    QVERIFY(!q.snapshot().paused);
}

QTEST_GUILESS_MAIN(TestReadingQueue)
#include "tst_readingqueue.moc"
