#include "narrexlibrary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestNarrexLibrary : public QObject
{
    Q_OBJECT

private slots:
    // The failures first: once the real engine is loaded, the system's loader
    // would hand it out again for its bare name.
    void namesTheMissingLibrary();
    void namesTheMissingFunction();
    void loadsTheEngineFromTheProgramFolder();
};

void TestNarrexLibrary::loadsTheEngineFromTheProgramFolder()
{
    NarrexLibrary lib;
    QVERIFY2(lib.load(QStringLiteral(PARLIX_BIN_DIR)), qPrintable(lib.errorString()));
    QVERIFY(lib.loadedPath().startsWith(QStringLiteral(PARLIX_BIN_DIR)));
    NarrexEngine engine(lib.functions());
    QCOMPARE(engine.locationInfo(), -1); // not initialised yet
    QCOMPARE(engine.initialize(nullptr, nullptr, -1, -1, -1, 0, 0), 10);
    QCOMPARE(engine.locationInfo(), 0);
    QCOMPARE(engine.close(), 10);
}

void TestNarrexLibrary::namesTheMissingLibrary()
{
    QTemporaryDir empty;
    NarrexLibrary lib;
    QVERIFY(!lib.load(empty.path()));
    QVERIFY(!lib.isLoaded());
    QVERIFY2(lib.errorString().contains(NarrexLibrary::fileName()), qPrintable(lib.errorString()));

    // A file that is not a library at all.
    QFile junk(empty.filePath(NarrexLibrary::fileName()));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();
    QVERIFY(!lib.load(empty.path()));
    QVERIFY2(lib.errorString().contains(junk.fileName()), qPrintable(lib.errorString()));
}

void TestNarrexLibrary::namesTheMissingFunction()
{
    NarrexLibrary lib;
    QVERIFY(!lib.load(QStringLiteral(INCOMPLETE_ENGINE_DIR)));
    QVERIFY2(
        lib.errorString().contains(QStringLiteral("Narrex_Close")), qPrintable(lib.errorString()));
    QVERIFY(!lib.functions().initialize);
}

QTEST_GUILESS_MAIN(TestNarrexLibrary)
#include "tst_narrexlibrary.moc"
