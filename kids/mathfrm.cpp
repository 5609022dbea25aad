#include "mathfrm.h"
#include "pixelfont.h"

#include "canvas.h"
#include "placement.h"
#include "randomsource.h"

#include <QBitmap>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLabel *bigLabel(QWidget *parent, const char *name, const QString &text, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(songFont(67));
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: transparent; color: %1; }").arg(colour.name()));
    return label;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

// The top bar's frame holds the bound and the operations; the drill area
// the apples and the question; the right panel the choices.
constexpr Placement MathLayout[] = {
    {"TopBar", "", {2, 0, 556, 40}},
    {"BoundLabel", "TopBar", {3, 15, 66, 17}},
    {"RzSpinner1", "TopBar", {72, 11, 68, 22}},
    {"Bevel1", "TopBar", {148, 9, 2, 27}},
    {"OperationLabel", "TopBar", {154, 15, 66, 17}},
    {"RadioButton1", "TopBar", {229, 14, 65, 25}},
    {"RadioButton2", "TopBar", {293, 14, 65, 25}},
    {"RadioButton3", "TopBar", {357, 14, 65, 25}},
    {"RadioButton4", "TopBar", {422, 14, 65, 25}},
    {"btn6", "TopBar", {493, 9, 58, 27}},
    {"img1", "", {0, 41, 455, 321}},
    {"pb1", "img1", {2, 2, 448, 65}},
    {"pb2", "img1", {2, 254, 449, 65}},
    {"lbl1", "img1", {32, 96, 73, 67}},
    {"lbl2", "img1", {104, 96, 57, 65}},
    {"lbl3", "img1", {160, 96, 73, 67}},
    {"lbl4", "img1", {239, 96, 43, 67}},
    {"lbl5", "img1", {282, 96, 168, 67}},
    {"RightPanel", "", {455, 41, 105, 321}},
    {"rg3", "RightPanel", {4, 2, 97, 269}},
    {"btn2", "RightPanel", {5, 276, 95, 41}},
};

std::span<const Placement> TMathFrm::layout()
{
    return MathLayout;
}

TMathFrm::TMathFrm(RandomSource &random, Speaker playStr, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_drill(random)
    , m_playStr(std::move(playStr))
{
    setObjectName(QStringLiteral("TMathFrm"));
    setWindowTitle(QStringLiteral("幼儿算数"));
    setFixedSize(560, 362);
    setFont(songFont(15));

    // The apple: its bottom-left pixel's colour (white) is left out.
    const QImage apple(QStringLiteral(":/kids/apple.bmp"));
    m_apple = QPixmap::fromImage(apple);
    m_apple.setMask(QBitmap::fromImage(
        apple.createMaskFromColor(apple.pixel(0, apple.height() - 1), Qt::MaskInColor)));

    // The top bar: bound, operation, exit.
    auto *top = named(new QGroupBox(this), "TopBar");
    auto *boundLabel = named(new QLabel(QStringLiteral("运算范围:"), top), "BoundLabel");
    m_spinner = named(new QSpinBox(top), "RzSpinner1");
    m_spinner->setRange(MathDrill::MinBound, MathDrill::MaxBound);
    m_spinner->setValue(MathDrill::MinBound);
    m_spinner->setButtonSymbols(QAbstractSpinBox::PlusMinus);
    m_spinner->setAccessibleName(QStringLiteral("运算范围"));
    boundLabel->setBuddy(m_spinner);
    auto *line = named(new QFrame(top), "Bevel1");
    line->setFrameStyle(QFrame::VLine | QFrame::Raised);
    named(new QLabel(QStringLiteral("运算方式:"), top), "OperationLabel");
    const char *opNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    auto *operations = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        const auto op = MathDrill::Operation(i);
        auto *b = named(
            new QRadioButton(
                QStringLiteral("%1(%2)").arg(MathDrill::word(op), MathDrill::sign(op)), top),
            opNames[i]);
        b->setProperty("Tag", i);
        operations->addButton(b);
        connect(b, &QRadioButton::clicked, this, [this, b] { RadioButton1Click(b); });
        m_operations[size_t(i)] = b;
    }
    m_operations[0]->setChecked(true);
    auto *btn6 = named(
        new QPushButton(QIcon(QStringLiteral(":/icons/exit.svg")), QStringLiteral("退出"), top),
        "btn6");
    btn6->setFlat(true);
    connect(btn6, &QPushButton::clicked, this, &TMathFrm::btn6Click);

    // The drill area over its background picture.
    const QPixmap background = QIcon(QStringLiteral(":/kids/background.svg")).pixmap(455, 321);
    auto *area = named(
        new Canvas(
            [background](QPainter &p, const QRect &r) { p.drawPixmap(r, background); }, this),
        "img1");
    const char *boxNames[] = {"pb1", "pb2"};
    for (int i = 0; i < 2; ++i) {
        // The apples belong to the question: painted from it at every
        // repaint, so they stay as long as the question does.
        m_boxes[size_t(i)] = named(new Canvas(
                                       [this, i](QPainter &p, const QRect &r) {
                                           const QList<QRectF> places
                                               = applePlaces(m_apples[size_t(i)], r.size());
                                           for (const QRectF &place : places)
                                               p.drawPixmap(place.toRect(), m_apple);
                                       },
                                       area),
            boxNames[i]);
    }
    m_lbl1 = bigLabel(area, "lbl1", QStringLiteral("5"), Qt::black);
    m_lbl2 = bigLabel(area, "lbl2", QStringLiteral("+"), Qt::red);
    m_lbl3 = bigLabel(area, "lbl3", QStringLiteral("6"), Qt::black);
    bigLabel(area, "lbl4", QStringLiteral("="), Qt::blue);
    m_lbl5 = bigLabel(area, "lbl5", QStringLiteral("11"), Qt::black);
    m_lbl5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The right panel: the six choices and the question button.
    auto *right = named(new QFrame(this), "RightPanel");
    auto *rg3 = named(new QGroupBox(QStringLiteral("得数"), right), "rg3");
    rg3->setFont(songFont(16));
    auto *choicesLayout = new QVBoxLayout(rg3);
    m_rg3 = new QButtonGroup(this);
    for (int i = 0; i < MathDrill::ChoiceCount; ++i) {
        auto *item = new QRadioButton(QString::number(m_drill.round().choices[size_t(i)]), rg3);
        item->setObjectName(QStringLiteral("rg3Item%1").arg(i));
        item->setAccessibleName(QStringLiteral("得数 %1").arg(i + 1));
        m_rg3->addButton(item, i);
        choicesLayout->addWidget(item);
        m_choices[size_t(i)] = item;
    }
    // Only a change of the pick judges: the item already picked says nothing.
    connect(m_rg3, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            rg3Click(id);
    });
    auto *btn2 = named(new QPushButton(QIcon(QStringLiteral(":/icons/question.svg")),
                           QStringLiteral("出题"), right),
        "btn2");
    btn2->setFont(songFont(14));
    btn2->setFlat(true);
    connect(btn2, &QPushButton::clicked, this, &TMathFrm::btn2Click);

    placeControls(this, layout());

    // FormCreate: addition is checked at start.
    m_lbl2->setProperty("Hint", MathDrill::word(MathDrill::Operation::Add));
}

QList<QRectF> TMathFrm::applePlaces(int count, const QSize &box)
{
    QList<QRectF> places;
    if (count <= 0)
        return places;
    const int rows = std::max(2, (count + 9) / 10);
    // Up to two rows the apples keep their size and the 34-pixel rows;
    // more rows share the box's height.
    const qreal rowHeight = rows <= 2 ? 34.0 : qreal(box.height()) / rows;
    const qreal scale = std::min(1.0, (rowHeight - 1) / 31.0);
    for (int i = 1; i <= count; ++i) {
        const int row = (i - 1) / 10;
        const int column = (i - 1) % 10 + 1;
        places << QRectF(34.0 * column, rowHeight * row, 26 * scale, 31 * scale);
    }
    return places;
}

MathDrill::Operation TMathFrm::checkedOperation() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_operations[size_t(i)]->isChecked())
            return MathDrill::Operation(i);
    }
    return MathDrill::Operation::Add;
}

void TMathFrm::btn2Click()
{
    const MathDrill::Operation op = checkedOperation();
    const MathDrill::Round &round = m_drill.nextRound(op, m_spinner->value());
    m_apples = {round.question.a, round.question.b};
    for (QWidget *box : m_boxes)
        box->update();
    m_lbl1->setText(QString::number(round.question.a));
    m_lbl3->setText(QString::number(round.question.b));
    m_lbl5->setText(QStringLiteral("?"));
    // No item picked: a button group only lets go of its pick when it is
    // not exclusive for a moment.
    m_rg3->setExclusive(false);
    for (QRadioButton *item : m_choices)
        item->setChecked(false);
    m_rg3->setExclusive(true);
    for (int i = 0; i < MathDrill::ChoiceCount; ++i)
        m_choices[size_t(i)]->setText(QString::number(round.choices[size_t(i)]));
    if (m_playStr)
        m_playStr(MathDrill::questionPhrase(round.question, op));
}

void TMathFrm::rg3Click(int item)
{
    const std::optional<bool> right = m_drill.judge(item);
    if (!right)
        return;
    m_lbl5->setText(QString::number(m_drill.round().choices[size_t(item)]));
    if (m_playStr)
        m_playStr(MathDrill::verdictPhrase(*right));
}

void TMathFrm::RadioButton1Click(QObject *sender)
{
    const int tag = sender ? sender->property("Tag").toInt() : -1;
    if (tag < 0 || tag > 3)
        return;
    const auto op = MathDrill::Operation(tag);
    m_lbl2->setText(MathDrill::sign(op));
    m_lbl2->setProperty("Hint", MathDrill::word(op));
}

void TMathFrm::btn6Click()
{
    close();
}
