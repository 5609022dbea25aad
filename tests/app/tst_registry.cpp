#include "registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Key = QStringLiteral("Software\\Parlix");
}

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void firstRunCreatesTheKeyAndReadsNothing();
    void valuesRoundTripAndFailOneByOne();
    void keyThatCannotBeCreated();
};

void TestRegistry::firstRunCreatesTheKeyAndReadsNothing()
{
    QTemporaryDir dir;
    IniRegistry reg(dir.path());
    QVERIFY(!reg.keyExists(Key));
    QVERIFY(!reg.openKey(Key)); // opening never creates
    QVERIFY(!reg.keyExists(Key));
    QVERIFY(!reg.readInteger(QStringLiteral("Sound")));
    QVERIFY(!reg.writeInteger(QStringLiteral("Sound"), 1)); // no key open

    QVERIFY(reg.createKey(Key));
    QVERIFY(reg.keyExists(Key));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Software/Parlix.ini"))));
    QVERIFY(!reg.readInteger(QStringLiteral("Sound")));
    reg.closeKey();
}

void TestRegistry::valuesRoundTripAndFailOneByOne()
{
    QTemporaryDir dir;
    {
        IniRegistry reg(dir.path());
        QVERIFY(reg.createKey(Key));
        QVERIFY(reg.writeInteger(QStringLiteral("Sound"), 2));
        QVERIFY(
            reg.writeInteger(QStringLiteral("Style"), 99)); // out of range is the caller's business
        QVERIFY(reg.writeBool(QStringLiteral("Repeat"), true));
        reg.closeKey();
    }
    // A later run reads them back from disk.
    IniRegistry reg(dir.path());
    QVERIFY(reg.keyExists(Key));
    QVERIFY(reg.openKey(Key));
    QCOMPARE(reg.readInteger(QStringLiteral("Sound")), std::optional<int>(2));
    QCOMPARE(reg.readInteger(QStringLiteral("Style")), std::optional<int>(99));
    QCOMPARE(reg.readBool(QStringLiteral("Repeat")), std::optional<bool>(true));
    QVERIFY(!reg.readInteger(QStringLiteral("Missing")));
    reg.closeKey();
    QVERIFY(!reg.readInteger(QStringLiteral("Sound")));

    // Values a person or another program put there: any non-zero integer is
    // true, text is not an integer, garbage lines are not values.
    QFile f(dir.filePath(QStringLiteral("Software/Parlix.ini")));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[General]\nSound=abc\nRepeat=7\n\x01\x02garbage\nStyle=\n");
    f.close();
    QVERIFY(reg.openKey(Key));
    QVERIFY(!reg.readInteger(QStringLiteral("Sound")));
    QCOMPARE(reg.readBool(QStringLiteral("Repeat")), std::optional<bool>(true));
    QVERIFY(!reg.readInteger(QStringLiteral("Style")));
}

void TestRegistry::keyThatCannotBeCreated()
{
    QTemporaryDir dir;
    // Where the key's folder should go there is a file: nothing can be made.
    QFile blocker(dir.filePath(QStringLiteral("Software")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniRegistry reg(dir.path());
    QVERIFY(!reg.createKey(Key));
    QVERIFY(!reg.keyExists(Key));
    QVERIFY(!reg.writeInteger(QStringLiteral("Sound"), 1));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
