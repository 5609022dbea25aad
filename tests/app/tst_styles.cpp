// The style list: which skin each entry applies, the clock's colours, the
// plain look coming back exactly, and whether every skin stays readable.

#include "fakeengine.h"
#include "gradientheader.h"
#include "lcddisplay.h"
#include "mainform.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"
#include "skindata.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// WCAG's contrast ratio of two colours, 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class TestStyles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eachEntryAppliesItsSkinAndClockColour_data();
    void eachEntryAppliesItsSkinAndClockColour();
    void plainLookComesBackExactly();
    void skinNumberPastTheStoreIsIgnored();
    void everySkinParsesAndStaysReadable_data();
    void everySkinParsesAndStaysReadable();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<IniRegistry> m_registry;
    FakeEngine m_engine;
    ScriptedDialogs m_dialogs;
    RecordingDesktop m_desktop;
    std::unique_ptr<TMainForm> m_form;
    QPalette m_nativePalette;
};

void TestStyles::initTestCase()
{
    m_nativePalette = QApplication::palette();
    m_registry = std::make_unique<IniRegistry>(m_dir.path());
    m_form = std::make_unique<TMainForm>(
        TMainForm::Services {&m_engine, m_registry.get(), &m_dialogs, &m_desktop});
    m_form->clockTimer().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestStyles::eachEntryAppliesItsSkinAndClockColour_data()
{
    // Each row chooses an entry from the one given first (each row's start
    // is its own, not the row before's).
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("clock");
    QTest::newRow("plain") << 3 << 0 << QColor();
    QTest::newRow("style_1") << 0 << 1 << QColor(0xE0, 0xDF, 0xE3);
    QTest::newRow("style_2") << 0 << 2 << QColor(0xF4, 0xF4, 0xF4);
    QTest::newRow("style_3") << 0 << 3 << QColor(0xD5, 0xDE, 0xF2);
    QTest::newRow("style_4") << 0 << 4 << QColor(0xEC, 0xE9, 0xD8);
    QTest::newRow("style_5") << 0 << 5 << QColor(0xF9, 0xF8, 0xF5);
    QTest::newRow("style_6") << 0 << 6 << QColor(0xE0, 0xE0, 0xE0);
    QTest::newRow("skin_to_skin") << 2 << 5 << QColor(0xF9, 0xF8, 0xF5);
    QTest::newRow("same_skin_twice") << 4 << 4 << QColor(0xEC, 0xE9, 0xD8);
    QTest::newRow("plain_twice") << 0 << 0 << QColor();
}

void TestStyles::eachEntryAppliesItsSkinAndClockColour()
{
    QFETCH(int, from);
    QFETCH(int, index);
    QFETCH(QColor, clock);
    auto *list = m_form->findChild<QComboBox *>("ComboBox2");
    list->setCurrentIndex(from);
    m_form->ComboBox2Change();
    const QList<TLcdDisplay *> lcds = {m_form->findChild<TLcdDisplay *>("LcdDisplay1"),
        m_form->findChild<TLcdDisplay *>("LcdDisplay2"),
        m_form->findChild<TLcdDisplay *>("LcdDisplay3")};
    // Every choice sets all six colours, whatever they were.
    for (TLcdDisplay *lcd : lcds) {
        lcd->setBackgroundColor(0x00123456);
        lcd->setLightOffColor(0x00654321);
    }
    list->setCurrentIndex(index);
    m_form->ComboBox2Change();

    QCOMPARE(m_form->skin().active(), index != 0);
    if (index != 0)
        QCOMPARE(m_form->skin().skinIndex(), index - 1);
    const TColor stored = TMainForm::StyleClockColors[size_t(index)];
    for (TLcdDisplay *lcd : lcds) {
        QCOMPARE(lcd->backgroundColor(), stored);
        QCOMPARE(lcd->lightOffColor(), stored);
        QCOMPARE(lcd->lightOnColor(), TColor(0x0000FF)); // lit segments stay red
    }
    // What shows on screen: the clock's background in the style's colour,
    // the platform's button face for the plain look.
    const QColor expected = clock.isValid() ? clock : m_nativePalette.color(QPalette::Button);
    const QImage shot = lcds[0]->grab().toImage();
    QCOMPARE(lcds[0]->value(), 0);
    QCOMPARE(QColor(shot.pixel(0, 0)), expected);
    QCOMPARE(QColor(shot.pixel(7, 17)), expected); // the unlit middle bar of a 0 melts in
    QCOMPARE(QColor(shot.pixel(7, 7)), QColor(Qt::red)); // its top bar is lit
}

void TestStyles::plainLookComesBackExactly()
{
    auto *list = m_form->findChild<QComboBox *>("ComboBox2");
    list->setCurrentIndex(5);
    m_form->ComboBox2Change();
    QVERIFY(!qApp->styleSheet().isEmpty());
    QVERIFY(QApplication::palette() != m_nativePalette);
    auto *header = m_form->findChild<GradientHeader *>("RzPanel1");
    QCOMPARE(header->startColor(), QColor(0xb8, 0x26, 0x2b));

    list->setCurrentIndex(0);
    m_form->ComboBox2Change();
    QVERIFY(qApp->styleSheet().isEmpty());
    QCOMPARE(QApplication::palette(), m_nativePalette);
    // The header's colours came from the sheet; they are the palette's again.
    QCOMPARE(header->startColor(), header->palette().color(QPalette::Highlight));

    // Any other entry switches the skin on again.
    list->setCurrentIndex(2);
    m_form->ComboBox2Change();
    QVERIFY(m_form->skin().active());
    QVERIFY(!qApp->styleSheet().isEmpty());
}

void TestStyles::skinNumberPastTheStoreIsIgnored()
{
    SkinStore store;
    QCOMPARE(store.count(), 6);
    QCOMPARE(store.itemName(0), QStringLiteral("SkinItem0"));
    SkinData skin;
    skin.loadFromCollection(store, 2);
    QCOMPARE(skin.skinIndex(), 2);
    skin.loadFromCollection(store, 6);
    QCOMPARE(skin.skinIndex(), 2);
    skin.loadFromCollection(store, -1);
    QCOMPARE(skin.skinIndex(), 2);
    QVERIFY(!skin.active()); // loading does not switch it on
}

void TestStyles::everySkinParsesAndStaysReadable_data()
{
    QTest::addColumn<int>("skin");
    for (int i = 0; i < 6; ++i)
        QTest::addRow("SkinItem%d", i) << i;
}

void TestStyles::everySkinParsesAndStaysReadable()
{
    QFETCH(int, skin);
    QTest::failOnWarning(QRegularExpression(
        QStringLiteral("style ?sheet|parse"), QRegularExpression::CaseInsensitiveOption));
    const SkinStore store;
    const QString sheet = store.styleSheet(skin);
    QVERIFY(sheet.contains(QStringLiteral("@palette")));
    auto *list = m_form->findChild<QComboBox *>("ComboBox2");
    list->setCurrentIndex(skin + 1);
    m_form->ComboBox2Change();
    QCOMPARE(qApp->styleSheet(), sheet);
    // Force every widget to take the sheet now, so parse errors show here.
    m_form->grab();

    const QPalette pal = QApplication::palette();
    QVERIFY2(contrast(pal.color(QPalette::Text), pal.color(QPalette::Base)) >= 7, "editor text");
    QVERIFY2(contrast(pal.color(QPalette::WindowText), pal.color(QPalette::Window)) >= 7, "labels");
    QVERIFY2(
        contrast(pal.color(QPalette::ButtonText), pal.color(QPalette::Button)) >= 7, "buttons");
    QVERIFY2(contrast(pal.color(QPalette::HighlightedText), pal.color(QPalette::Highlight)) >= 4.5,
        "selections");
    auto *header = m_form->findChild<GradientHeader *>("RzPanel2");
    QVERIFY2(contrast(header->textColor(), header->startColor()) >= 4.5, "header");
    // The teal captions of the tool buttons on the skin's button face.
    auto *tool = m_form->findChild<QPushButton *>("BitBtn1");
    QVERIFY2(
        contrast(tool->palette().color(QPalette::ButtonText), pal.color(QPalette::Button)) >= 3,
        "tool buttons");
}

QTEST_MAIN(TestStyles)
#include "tst_styles.moc"
