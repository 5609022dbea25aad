#include "wordfrm.h"
#include "pixelfont.h"

#include "canvas.h"
#include "desktop.h"
#include "dialogs.h"
#include "frminput.h"
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

QLabel *plainLabel(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("QLabel { background: transparent; color: black; }"));
    label->move(at);
    return label;
}

} // namespace

TWordFrm::TWordFrm(const Services &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
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
    auto *top = new QFrame(this);
    top->setGeometry(0, 0, 489, 41);
    auto *groupBox = new QGroupBox(QStringLiteral("分组"), top);
    groupBox->setGeometry(1, 1, 129, 39);
    m_cbb1 = new QComboBox(groupBox);
    m_cbb1->setObjectName(QStringLiteral("cbb1"));
    m_cbb1->setGeometry(16, 16, 107, 21);
    m_cbb1->setAccessibleName(QStringLiteral("分组"));
    connect(m_cbb1, &QComboBox::activated, this, [this] { cbb1Change(); });

    const auto radioGroup = [top](const char *name, const QString &title, int x, int width,
                                  const QString &first, const QString &second) {
        auto *box = new QGroupBox(title, top);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(x, 1, width, 39);
        std::array<QRadioButton *, 2> items{new QRadioButton(first, box),
                                            new QRadioButton(second, box)};
        items[0]->setGeometry(8, 17, width / 2 - 8, 18);
        items[1]->setGeometry(width / 2 + 2, 17, width / 2 - 8, 18);
        items[0]->setChecked(true);
        return items;
    };
    m_rg1 = radioGroup("rg1", QStringLiteral("取字"), 130, 135, QStringLiteral("随机"),
                       QStringLiteral("顺序"));
    m_rg2 = radioGroup("rg2", QStringLiteral("显示"), 265, 128, QStringLiteral("人工"),
                       QStringLiteral("自动"));
    for (QRadioButton *b : m_rg2)
        connect(b, &QRadioButton::clicked, this, &TWordFrm::rg2Click);
    auto *clockBox = new QGroupBox(QStringLiteral("时钟(毫秒)"), top);
    clockBox->setGeometry(393, 1, 80, 39);
    m_se1 = new QSpinBox(clockBox);
    m_se1->setObjectName(QStringLiteral("se1"));
    m_se1->setGeometry(14, 15, 57, 22);
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
    const QPixmap background = QIcon(QStringLiteral(":/kids/cards-background.svg")).pixmap(489, 332);
    m_cardArea = new Canvas([background](QPainter &p, const QRect &r) { p.drawPixmap(r, background); },
                            this);
    m_cardArea->setObjectName(QStringLiteral("img1"));
    m_cardArea->setGeometry(0, 41, 489, 332);
    m_cardArea->setFont(songFont(14));
    m_cardArea->installEventFilter(this);
    m_rightMark = QImage(QStringLiteral(":/kids/yes.bmp"));
    m_wrongMark = QImage(QStringLiteral(":/kids/no.bmp"));
    // The rows show as many marks as the counters say, at every repaint.
    m_pb1 = new Canvas([this](QPainter &p, const QRect &) { paintMarks(p, m_rightMark, rightCount()); },
                       m_cardArea);
    m_pb1->setObjectName(QStringLiteral("pb1"));
    m_pb1->setGeometry(9, 1, 464, 24);
    m_pb2 = new Canvas([this](QPainter &p, const QRect &) { paintMarks(p, m_wrongMark, wrongCount()); },
                       m_cardArea);
    m_pb2->setObjectName(QStringLiteral("pb2"));
    m_pb2->setGeometry(9, 25, 464, 25);
    m_lbl1 = plainLabel(m_cardArea, "lbl1", QStringLiteral("学"), QPoint(96, 64));
    m_lbl1->setFont(songFont(213));
    m_lbl1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lbl1->resize(306, 229);
    m_lbl1->setAccessibleName(QStringLiteral("字卡"));
    m_lbl1->installEventFilter(this);
    m_lbl2 = plainLabel(m_cardArea, "lbl2", QString(), QPoint(8, 312));
    m_lbl2->resize(161, 18);
    plainLabel(m_cardArea, "lbl5", QStringLiteral("对："), QPoint(377, 312));
    m_lbl3 = plainLabel(m_cardArea, "lbl3", QStringLiteral("0"), QPoint(409, 312));
    m_lbl3->resize(16, 18);
    plainLabel(m_cardArea, "lbl6", QStringLiteral("错："), QPoint(426, 312));
    m_lbl4 = plainLabel(m_cardArea, "lbl4", QStringLiteral("0"), QPoint(458, 312));
    m_lbl4->resize(30, 18);

    // The bottom bar and its menu.
    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("BottomBar"));
    bottom->setGeometry(0, 373, 489, 30);
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
        QRect geometry;
        void (TWordFrm::*handler)();
    };
    const Button buttons[] = {
        {"btn1", "文字", "text", {8, 3, 65, 23}, &TWordFrm::btn1Click},
        {"btn2", "字体", "font", {88, 3, 57, 23}, &TWordFrm::btn2Click},
        {"btn3", "键盘控制", "keyboard", {160, 3, 97, 23}, &TWordFrm::btn3Click},
        {"btn4", "对", "right", {280, 3, 57, 23}, &TWordFrm::btn4Click},
        {"btn5", "错", "wrong", {344, 3, 57, 23}, &TWordFrm::btn5Click},
        {"btn6", "退出", "exit", {423, 1, 60, 27}, &TWordFrm::btn6Click},
    };
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(b.icon))),
                                       QString::fromUtf8(b.text), bottom);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.geometry);
        button->setFlat(true);
        // Reached with Tab, but a click leaves the focus where it was, so
        // Space keeps showing cards after "键盘控制".
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, b.handler);
    }

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
    const Untfun::List list = Untfun::LoadList(m_listFile);
    if (!list.error.isEmpty()) {
        showError(list.error);
        return;
    }
    m_cbb1->addItems(list.names);
    m_groups = list.groups;
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
        m_services.dialogs->message(this, text, Dialogs::applicationTitle(), Dialogs::Icon::Error,
                                    Dialogs::Buttons::Ok);
}

void TWordFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // FormShow: each opening counts from nought.
    m_lbl3->setText(QStringLiteral("0"));
    m_lbl4->setText(QStringLiteral("0"));
    m_pb1->update();
    m_pb2->update();
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
    const std::optional<QByteArray> card = m_deck.NextCard(m_rg1[0]->isChecked(),
                                                           *m_services.random);
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
    return m_lbl3->text().toInt();
}

int TWordFrm::wrongCount() const
{
    return m_lbl4->text().toInt();
}

void TWordFrm::paintMarks(QPainter &painter, const QImage &mark, int count)
{
    // Only the marks that can be seen: 25 whole ones and part of the 26th.
    const int visible = std::min(count, 464 / MarkPitch + 1);
    for (int i = 0; i < visible; ++i)
        painter.drawImage(MarkPitch * i, 0, mark);
}

void TWordFrm::mark(QLabel *counter, QWidget *row, SoundPlayer &sound)
{
    counter->setText(QString::number(counter->text().toInt() + 1));
    row->update();
    sound.play(); // without a sound device the mark still counts
}

void TWordFrm::btn4Click()
{
    mark(m_lbl3, m_pb1, *m_rightSound);
}

void TWordFrm::btn5Click()
{
    mark(m_lbl4, m_pb2, *m_wrongSound);
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
                                    Dialogs::applicationTitle(), Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
    } else {
        m_services.dialogs->message(this, error, Dialogs::applicationTitle(), Dialogs::Icon::Warning,
                                    Dialogs::Buttons::Ok);
    }
}

void TWordFrm::btn6Click()
{
    close();
}
