#include "mathfrm.h"
#include "pixelfont.h"

#include "canvas.h"
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

QLabel *bigLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                 const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(songFont(67));
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("QLabel { background: transparent; color: %1; }")
                             .arg(colour.name()));
    label->setGeometry(geometry);
    return label;
}

} // namespace

TMathFrm::TMathFrm(RandomSource &random, Speaker playStr, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
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
    auto *top = new QFrame(this);
    top->setGeometry(0, 0, 560, 41);
    auto *group = new QGroupBox(top);
    group->setGeometry(2, 0, 556, 40);
    auto *boundLabel = new QLabel(QStringLiteral("运算范围:"), top);
    boundLabel->move(5, 15);
    m_spinner = new QSpinBox(top);
    m_spinner->setObjectName(QStringLiteral("RzSpinner1"));
    m_spinner->setGeometry(74, 11, 68, 22);
    m_spinner->setRange(MathDrill::MinBound, MathDrill::MaxBound);
    m_spinner->setValue(MathDrill::MinBound);
    m_spinner->setButtonSymbols(QAbstractSpinBox::PlusMinus);
    m_spinner->setAccessibleName(QStringLiteral("运算范围"));
    boundLabel->setBuddy(m_spinner);
    auto *line = new QFrame(top);
    line->setFrameStyle(QFrame::VLine | QFrame::Raised);
    line->setGeometry(150, 9, 2, 27);
    auto *opLabel = new QLabel(QStringLiteral("运算方式:"), top);
    opLabel->move(156, 15);
    const char *opNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    const QString opTexts[] = {QStringLiteral("加(+)"), QStringLiteral("减(-)"),
                               QStringLiteral("乘(×)"), QStringLiteral("除(÷)")};
    const int opX[] = {231, 295, 359, 424};
    auto *operations = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(opTexts[i], top);
        b->setObjectName(QLatin1String(opNames[i]));
        b->setProperty("Tag", i);
        b->move(opX[i], 14);
        b->adjustSize();
        operations->addButton(b);
        connect(b, &QRadioButton::clicked, this, [this, b] { RadioButton1Click(b); });
        m_operations[size_t(i)] = b;
    }
    m_operations[0]->setChecked(true);
    auto *btn6 = new QPushButton(QIcon(QStringLiteral(":/icons/exit.svg")), QStringLiteral("退出"), top);
    btn6->setObjectName(QStringLiteral("btn6"));
    btn6->setGeometry(495, 9, 58, 27);
    btn6->setFlat(true);
    connect(btn6, &QPushButton::clicked, this, &TMathFrm::btn6Click);

    // The drill area over its background picture.
    const QPixmap background = QIcon(QStringLiteral(":/kids/background.svg")).pixmap(455, 321);
    auto *area = new Canvas([background](QPainter &p, const QRect &r) {
        p.drawPixmap(r, background);
    }, this);
    area->setObjectName(QStringLiteral("img1"));
    area->setGeometry(0, 41, 455, 321);
    const QRect boxes[] = {QRect(2, 2, 448, 65), QRect(2, 254, 449, 65)};
    const char *boxNames[] = {"pb1", "pb2"};
    for (int i = 0; i < 2; ++i) {
        // The apples belong to the question: painted from it at every
        // repaint, so they stay as long as the question does.
        auto *box = new Canvas([this, i](QPainter &p, const QRect &r) {
            const QList<QRectF> places = applePlaces(m_apples[size_t(i)], r.size());
            for (const QRectF &place : places)
                p.drawPixmap(place.toRect(), m_apple);
        }, area);
        box->setObjectName(QLatin1String(boxNames[i]));
        box->setGeometry(boxes[i]);
        m_boxes[size_t(i)] = box;
    }
    m_lbl1 = bigLabel(area, "lbl1", QStringLiteral("5"), QRect(32, 96, 73, 67), Qt::black);
    m_lbl2 = bigLabel(area, "lbl2", QStringLiteral("+"), QRect(104, 96, 57, 65), Qt::red);
    m_lbl3 = bigLabel(area, "lbl3", QStringLiteral("6"), QRect(160, 96, 73, 67), Qt::black);
    bigLabel(area, "lbl4", QStringLiteral("="), QRect(240, 96, 41, 67), Qt::blue);
    m_lbl5 = bigLabel(area, "lbl5", QStringLiteral("11"), QRect(280, 96, 170, 67), Qt::black);
    m_lbl5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The right panel: the six choices and the question button.
    auto *right = new QFrame(this);
    right->setGeometry(455, 41, 105, 321);
    auto *rg3 = new QGroupBox(QStringLiteral("得数"), right);
    rg3->setObjectName(QStringLiteral("rg3"));
    rg3->setFont(songFont(16));
    rg3->setGeometry(4, 2, 97, 321 - 48 - 4);
    auto *choicesLayout = new QVBoxLayout(rg3);
    m_rg3 = new QButtonGroup(this);
    for (int i = 0; i < MathDrill::ChoiceCount; ++i) {
        auto *item = new QRadioButton(QString::number(i + 1), rg3);
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
    auto *btn2 = new QPushButton(QIcon(QStringLiteral(":/icons/question.svg")),
                                 QStringLiteral("出题"), right);
    btn2->setObjectName(QStringLiteral("btn2"));
    btn2->setFont(songFont(14));
    btn2->setGeometry(5, 321 - 48 + 3, 95, 41);
    btn2->setFlat(true);
    connect(btn2, &QPushButton::clicked, this, &TMathFrm::btn2Click);

    // FormCreate: addition is checked at start.
    m_word = MathDrill::word(MathDrill::Operation::Add);
    m_lbl2->setProperty("Hint", m_word);
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
    const MathDrill::Question q = m_drill.PickOperands(checkedOperation(), m_spinner->value());
    m_mathAnswer = q.answer;
    m_apples = {q.a, q.b};
    for (QWidget *box : m_boxes)
        box->update();
    m_lbl1->setText(QString::number(q.a));
    m_lbl3->setText(QString::number(q.b));
    m_lbl5->setText(QStringLiteral("?"));
    // No item picked: a button group only lets go of its pick when it is
    // not exclusive for a moment.
    m_rg3->setExclusive(false);
    for (QRadioButton *item : m_choices)
        item->setChecked(false);
    m_rg3->setExclusive(true);
    const std::array<int, MathDrill::ChoiceCount> choices = m_drill.FillChoices(m_mathAnswer);
    for (int i = 0; i < MathDrill::ChoiceCount; ++i)
        m_choices[size_t(i)]->setText(QString::number(choices[size_t(i)]));
    if (m_playStr)
        m_playStr(QStringLiteral("出题 ") + m_lbl1->text() + m_word + m_lbl3->text());
}

void TMathFrm::rg3Click(int item)
{
    if (item < 0 || item >= MathDrill::ChoiceCount)
        return;
    const QString picked = m_choices[size_t(item)]->text();
    m_lbl5->setText(picked);
    if (m_playStr)
        m_playStr(picked.toInt() == m_mathAnswer ? QStringLiteral("答对了") : QStringLiteral("答错了"));
}

void TMathFrm::RadioButton1Click(QObject *sender)
{
    const int tag = sender ? sender->property("Tag").toInt() : -1;
    if (tag < 0 || tag > 3)
        return;
    const auto op = MathDrill::Operation(tag);
    m_lbl2->setText(MathDrill::sign(op));
    m_word = MathDrill::word(op);
    m_lbl2->setProperty("Hint", m_word);
}

void TMathFrm::btn6Click()
{
    close();
}
