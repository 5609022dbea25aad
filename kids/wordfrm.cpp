#include "wordfrm.h"
#include "pixelfont.h"

#include "canvas.h"
#include "desktop.h"
#include "dialogs.h"
#include "frminput.h"
#include "placement.h"
#include "randomsource.h"
#include "soundplayer.h"
#include "textencoding.h"
#include "untfun.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWindow>

namespace {

QByteArray resourceBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QLabel *plainLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("QLabel { background: transparent; color: black; }"));
    return label;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The top bar (group, order, pace), the card area with its mark rows, card,
// position and counters, and the bottom bar's buttons.
constexpr Placement WordLayout[] = {
    {"TopBar", "", {0, 0, 489, 41}},
    {"cbb1Box", "TopBar", {1, 1, 129, 39}},
    {"cbb1", "cbb1Box", {16, 16, 107, 21}},
    {"rg1", "TopBar", {130, 1, 135, 39}},
    {"rg1Item0", "rg1", {8, 17, 59, 18}},
    {"rg1Item1", "rg1", {69, 17, 59, 18}},
    {"rg2", "TopBar", {265, 1, 128, 39}},
    {"rg2Item0", "rg2", {8, 17, 56, 18}},
    {"rg2Item1", "rg2", {66, 17, 56, 18}},
    {"se1Box", "TopBar", {393, 1, 94, 39}},
    {"se1", "se1Box", {12, 15, 70, 22}},
    {"img1", "", {0, 41, 489, 332}},
    {"pb1", "img1", {9, 1, 464, 24}},
    {"pb2", "img1", {9, 25, 464, 25}},
    {"lbl1", "img1", {96, 64, 306, 229}},
    {"lbl2", "img1", {8, 312, 161, 18}},
    {"lbl5", "img1", {377, 312, 32, 18}},
    {"lbl3", "img1", {409, 312, 16, 18}},
    {"lbl6", "img1", {426, 312, 32, 18}},
    {"lbl4", "img1", {458, 312, 30, 18}},
    {"BottomBar", "", {0, 373, 489, 30}},
    {"btn1", "BottomBar", {8, 3, 65, 23}},
    {"btn2", "BottomBar", {88, 3, 57, 23}},
    {"btn3", "BottomBar", {160, 3, 97, 23}},
    {"btn4", "BottomBar", {280, 3, 57, 23}},
    {"btn5", "BottomBar", {344, 3, 57, 23}},
    {"btn6", "BottomBar", {423, 1, 60, 27}},
};

} // namespace

std::span<const Placement> TWordFrm::layout()
{
    return WordLayout;
}

TWordFrm::TWordFrm(const Services &services, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("TWordFrm"));
    setWindowTitle(QStringLiteral("幼儿识字"));
    setFixedSize(489, 403);
    setFont(songFont(13));
    // The window itself can hold the focus ("键盘控制"), though Tab never
    // goes there.
    setFocusPolicy(Qt::ClickFocus);

    // Top bar: group, order, pace, clock.
    auto *top = named(new QFrame(this), "TopBar");
    auto *groupBox = named(new QGroupBox(QStringLiteral("分组"), top), "cbb1Box");
    m_cbb1 = named(new QComboBox(groupBox), "cbb1");
    m_cbb1->setAccessibleName(QStringLiteral("分组"));
    connect(m_cbb1, &QComboBox::activated, this, [this] { cbb1Change(); });

    const auto radioGroup = [top](const char *name, const QString &title, const QString &first,
                                const QString &second) {
        auto *box = named(new QGroupBox(title, top), name);
        std::array<QRadioButton *, 2> items {
            new QRadioButton(first, box), new QRadioButton(second, box)};
        items[0]->setObjectName(QLatin1String(name) + QLatin1String("Item0"));
        items[1]->setObjectName(QLatin1String(name) + QLatin1String("Item1"));
        items[0]->setChecked(true);
        return items;
    };
    m_rg1
        = radioGroup("rg1", QStringLiteral("取字"), QStringLiteral("随机"), QStringLiteral("顺序"));
    m_rg2
        = radioGroup("rg2", QStringLiteral("显示"), QStringLiteral("人工"), QStringLiteral("自动"));
    for (QRadioButton *b : m_rg2)
        connect(b, &QRadioButton::clicked, this, &TWordFrm::rg2Click);
    auto *clockBox = named(new QGroupBox(QStringLiteral("时钟(毫秒)"), top), "se1Box");
    m_se1 = named(new QSpinBox(clockBox), "se1");
    m_se1->setRange(1000, 5000);
    m_se1->setSingleStep(500);
    m_se1->setValue(1000);
    m_se1->setAccessibleName(QStringLiteral("时钟(毫秒)"));
    // Every change of the field's text: the spin box reports the values it
    // accepts (also those set by the program), its editor what is typed,
    // also text it will not keep (empty, 700).
    connect(m_se1, &QSpinBox::textChanged, this, &TWordFrm::se1Change);
    connect(m_se1->findChild<QLineEdit *>(), &QLineEdit::textChanged, this, &TWordFrm::se1Change);

    // The card area over its background.
    const QPixmap background
        = QIcon(QStringLiteral(":/kids/cards-background.svg")).pixmap(489, 332);
    m_cardArea = new Canvas(
        [background](QPainter &p, const QRect &r) { p.drawPixmap(r, background); }, this);
    m_cardArea->setObjectName(QStringLiteral("img1"));
    m_cardArea->setFont(songFont(14));
    m_cardArea->installEventFilter(this);
    m_rightMark = QImage(QStringLiteral(":/kids/yes.bmp"));
    m_wrongMark = QImage(QStringLiteral(":/kids/no.bmp"));
    // The rows show as many marks as the counters say, at every repaint.
    m_pb1 = named(
        new Canvas(
            [this](QPainter &p, const QRect &r) { paintMarks(p, r, m_rightMark, m_tally.right()); },
            m_cardArea),
        "pb1");
    m_pb2 = named(
        new Canvas(
            [this](QPainter &p, const QRect &r) { paintMarks(p, r, m_wrongMark, m_tally.wrong()); },
            m_cardArea),
        "pb2");
    m_lbl1 = plainLabel(m_cardArea, "lbl1", QStringLiteral("学"));
    m_lbl1->setFont(songFont(213));
    m_lbl1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lbl1->setAccessibleName(QStringLiteral("字卡"));
    m_lbl1->installEventFilter(this);
    m_lbl2 = plainLabel(m_cardArea, "lbl2", QString());
    plainLabel(m_cardArea, "lbl5", QStringLiteral("对："));
    m_lbl3 = plainLabel(m_cardArea, "lbl3", QStringLiteral("0"));
    plainLabel(m_cardArea, "lbl6", QStringLiteral("错："));
    m_lbl4 = plainLabel(m_cardArea, "lbl4", QStringLiteral("0"));

    // The bottom bar and its menu.
    auto *bottom = named(new QFrame(this), "BottomBar");
    bottom->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pm1 = new QMenu(this);
    m_pm1->setObjectName(QStringLiteral("pm1"));
    m_N1 = m_pm1->addAction(QStringLiteral("永在最前&"));
    m_N1->setObjectName(QStringLiteral("N1"));
    m_N1->setCheckable(true);
    m_N1->setChecked(true); // the window starts above the others: say so
    connect(m_N1, &QAction::triggered, this, &TWordFrm::N1Click);
    m_pm1->addSeparator();
    QAction *n3 = m_pm1->addAction(QStringLiteral("桌面快捷方式&"));
    n3->setObjectName(QStringLiteral("N3"));
    connect(n3, &QAction::triggered, this, &TWordFrm::N3Click);
    connect(bottom, &QWidget::customContextMenuRequested, this,
        [this, bottom](const QPoint &pos) { m_pm1->popup(bottom->mapToGlobal(pos)); });
    struct Button {
        const char *name;
        const char *text;
        const char *icon;
        void (TWordFrm::*handler)();
    };
    const Button buttons[] = {
        {"btn1", "文字", "text", &TWordFrm::btn1Click},
        {"btn2", "字体", "font", &TWordFrm::btn2Click},
        {"btn3", "键盘控制", "keyboard", &TWordFrm::btn3Click},
        {"btn4", "对", "right", &TWordFrm::btn4Click},
        {"btn5", "错", "wrong", &TWordFrm::btn5Click},
        {"btn6", "退出", "exit", &TWordFrm::btn6Click},
    };
    for (const Button &b : buttons) {
        auto *button
            = new QPushButton(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(b.icon))),
                QString::fromUtf8(b.text), bottom);
        button->setObjectName(QLatin1String(b.name));
        button->setFlat(true);
        // Reached with Tab, but a click leaves the focus where it was, so
        // Space keeps showing cards after "键盘控制".
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, b.handler);
    }

    placeControls(this, layout());

    m_tmr1.setObjectName(QStringLiteral("tmr1"));
    m_tmr1.setInterval(1000);
    connect(&m_tmr1, &QTimer::timeout, this, &TWordFrm::ShowNextCard);

    // FormCreate: marks and sounds, the list file, its groups.
    m_rightSound = new SoundPlayer(this);
    m_rightSound->load(resourceBytes(QStringLiteral(":/kids/right.wav")));
    m_wrongSound = new SoundPlayer(this);
    m_wrongSound->load(resourceBytes(QStringLiteral(":/kids/wrong.wav")));
    m_listFile = Untfun::locateListFile(m_services.programFolder, m_services.fallbackFolder);
    LoadList();
    if (!m_groups.isEmpty()) {
        m_cbb1->setCurrentIndex(0);
        m_deck.setGroup(m_groups.first());
    }
}

TWordFrm::~TWordFrm() = default;

int TWordFrm::groupCount() const
{
    return int(m_groups.size());
}

void TWordFrm::LoadList()
{
    m_cbb1->clear();
    m_groups.clear();
    QString error;
    const std::optional<Untfun::List> list = Untfun::LoadList(m_listFile, &error);
    if (!list) {
        showError(error);
        return;
    }
    m_cbb1->addItems(list->names);
    m_groups = list->groups;
}

void TWordFrm::reloadAfterSave()
{
    LoadList();
    if (m_groups.isEmpty())
        return; // the cards stay those of the group chosen before
    m_cbb1->setCurrentIndex(0);
    m_deck.setGroup(m_groups.first());
}

void TWordFrm::showError(const QString &text)
{
    if (m_services.dialogs)
        m_services.dialogs->showError(this, text);
}

void TWordFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // FormShow: each opening counts from nought.
    m_tally.reset();
    showTally();
}

void TWordFrm::cbb1Change()
{
    const int index = m_cbb1->currentIndex();
    if (index < 0 || index >= m_groups.size())
        return;
    m_deck.setGroup(m_groups[index]);
}

void TWordFrm::ShowNextCard()
{
    const std::optional<QByteArray> card
        = m_deck.NextCard(m_rg1[0]->isChecked(), *m_services.random);
    m_lbl1->setText(card ? TextEncoding::fromGbk(*card).remove(u'\r').remove(u'\n') : QString());
    m_lbl2->setText(m_deck.positionText());
}

void TWordFrm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        ShowNextCard();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TWordFrm::eventFilter(QObject *watched, QEvent *event)
{
    // A press of any mouse button on the card or its background: next card.
    if (event->type() == QEvent::MouseButtonPress && (watched == m_lbl1 || watched == m_cardArea)) {
        ShowNextCard();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TWordFrm::rg2Click()
{
    if (m_rg2[1]->isChecked()) {
        m_tmr1.setInterval(CardDeck::clockInterval(m_se1->text()));
        m_tmr1.start();
    } else {
        m_tmr1.stop();
    }
}

void TWordFrm::se1Change()
{
    const QString text = m_se1->findChild<QLineEdit *>()->text();
    if (text.trimmed().isEmpty()) {
        m_se1->setValue(1000);
        return; // setting it changed the text again
    }
    m_tmr1.setInterval(CardDeck::clockInterval(text));
}

void TWordFrm::btn1Click()
{
    // A new editor for each use, gone again when it closes.
    TFrminput editor(this, *m_services.dialogs, this);
    editor.exec();
}

void TWordFrm::btn2Click()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(160);
    if (m_services.dialogs && m_services.dialogs->chooseFont(this, font))
        m_lbl1->setFont(font);
}

void TWordFrm::btn3Click()
{
    setFocus();
}

int TWordFrm::rightCount() const
{
    return m_tally.right();
}

int TWordFrm::wrongCount() const
{
    return m_tally.wrong();
}

void TWordFrm::paintMarks(QPainter &painter, const QRect &row, const QImage &mark, int count)
{
    const int visible = CardTally::visibleMarks(count, row.width(), MarkPitch);
    for (int i = 0; i < visible; ++i)
        painter.drawImage(MarkPitch * i, 0, mark);
}

void TWordFrm::showTally()
{
    m_lbl3->setText(QString::number(m_tally.right()));
    m_lbl4->setText(QString::number(m_tally.wrong()));
    m_pb1->update();
    m_pb2->update();
}

void TWordFrm::mark(CardTally::Answer answer)
{
    m_tally.mark(answer);
    showTally();
    // Without a sound device the mark still counts.
    (answer == CardTally::Answer::Right ? m_rightSound : m_wrongSound)->play();
}

void TWordFrm::btn4Click()
{
    mark(CardTally::Answer::Right);
}

void TWordFrm::btn5Click()
{
    mark(CardTally::Answer::Wrong);
}

void TWordFrm::N1Click()
{
    // The check mark says whether the window stays above the others; each
    // use turns that round.
    const bool onTop = m_N1->isChecked();
    const Qt::WindowFlags flags = onTop ? windowFlags() | Qt::WindowStaysOnTopHint
                                        : windowFlags() & ~Qt::WindowStaysOnTopHint;
    if (isVisible() && windowHandle()) {
        // Changed on the shown window itself: QWidget::setWindowFlag would
        // hide it, which ends its modal showing (the main window then took
        // no input after it closed) and opens it again as a new showing
        // (the counters started from nought).
        overrideWindowFlags(flags);
        windowHandle()->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void TWordFrm::N3Click()
{
    QString error;
    if (!m_services.desktop)
        return;
    if (m_services.desktop->createDesktopShortcut(&error)) {
        m_services.dialogs->message(this, QStringLiteral("已在桌面上放好语音朗读器的快捷方式。"),
            Dialogs::applicationTitle(), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    } else {
        m_services.dialogs->showWarning(this, error);
    }
}

void TWordFrm::btn6Click()
{
    close();
}
