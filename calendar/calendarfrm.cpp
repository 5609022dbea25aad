#include "calendarfrm.h"
#include "pixelfont.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolButton>

namespace {

QToolButton *stepButton(QWidget *parent, const char *name, const QString &hint, const char *glyph,
    const QKeySequence &key, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(glyph)));
    button->setIconSize(QSize(13, 13));
    button->setAutoRaise(false);
    button->setGeometry(geometry);
    button->setShortcut(key);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(hint, key.toString(QKeySequence::NativeText)));
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// A number field whose text, when it is not a number, stands for the
// field's minimum, and which shows that minimum when the user leaves it so.
class NumberField : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

    int typedValue() const
    {
        bool ok = false;
        const int value = lineEdit()->text().trimmed().toInt(&ok);
        return ok ? value : minimum();
    }

    // Clamps to the range; sets the text also when only the text differs
    // from the value, as after the user cleared it.
    void assign(int value)
    {
        value = qBound(minimum(), value, maximum());
        if (value != this->value())
            setValue(value);
        else if (lineEdit()->text() != QString::number(value))
            lineEdit()->setText(QString::number(value));
    }

protected:
    void fixup(QString &input) const override
    {
        bool ok = false;
        input.trimmed().toInt(&ok);
        if (!ok)
            input = QString::number(minimum());
    }
};

NumberField *numberField(QWidget *parent, const char *name, int maximum, int maxLength,
    const QString &accessibleName, const QRect &geometry)
{
    auto *field = new NumberField(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(1, maximum);
    field->setFont(pixelFont(QStringLiteral("黑体"), 21, true));
    field->setAccessibleName(accessibleName);
    field->setGeometry(geometry);
    field->findChild<QLineEdit *>()->setMaxLength(maxLength);
    field->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return field;
}

QLabel *unitLabel(
    QWidget *parent, const char *name, const QString &text, QWidget *buddy, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(pixelFont(QStringLiteral("宋体"), 29, true));
    label->setAlignment(Qt::AlignCenter);
    label->setBuddy(buddy);
    label->setGeometry(geometry);
    return label;
}

QPushButton *redButton(
    QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(pixelFont(QStringLiteral("宋体"), 15));
    button->setStyleSheet(QStringLiteral("QPushButton { color: #ff0000; }"));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TCalendarFrm::TCalendarFrm(Speaker playStr, QWidget *parent, TLunarCalendar::Clock clock)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint)
    , m_playStr(std::move(playStr))
    , m_clock(clock ? std::move(clock)
                    : TLunarCalendar::Clock([] { return QDateTime::currentDateTime(); }))
{
    setObjectName(QStringLiteral("TCalendarFrm"));
    setWindowTitle(QStringLiteral(" 实用月历 "));
    setFixedSize(538, 358);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 538, 358);

    m_prevYear = stepButton(panel, "btnPrevYear", QStringLiteral("上一年"),
        ":/calendar/up-double.svg", QKeySequence(Qt::CTRL | Qt::Key_PageUp), QRect(9, 10, 30, 30));
    m_prevMonth = stepButton(panel, "btnPrevMonth", QStringLiteral("上一月"), ":/calendar/up.svg",
        QKeySequence(Qt::Key_PageUp), QRect(43, 10, 30, 30));
    m_year = numberField(
        panel, "SpinEdit2", LastYear, 4, QStringLiteral("年份"), QRect(79, 10, 80, 31));
    unitLabel(panel, "StaticText1", QStringLiteral("年"), m_year, QRect(162, 9, 34, 33));
    m_month
        = numberField(panel, "SpinEdit3", 12, 2, QStringLiteral("月份"), QRect(196, 10, 58, 31));
    unitLabel(panel, "StaticText3", QStringLiteral("月"), m_month, QRect(258, 9, 34, 33));
    m_nextMonth = stepButton(panel, "SpeedButton3", QStringLiteral("下一月"), ":/calendar/down.svg",
        QKeySequence(Qt::Key_PageDown), QRect(294, 10, 30, 30));
    m_nextYear
        = stepButton(panel, "btnNextYear", QStringLiteral("下一年"), ":/calendar/down-double.svg",
            QKeySequence(Qt::CTRL | Qt::Key_PageDown), QRect(329, 10, 30, 30));
    auto *today = redButton(panel, "BitBtn18", QStringLiteral("返回当日"), QRect(368, 10, 81, 30));
    auto *close = redButton(panel, "BitBtn1", QStringLiteral("关闭"), QRect(454, 10, 73, 30));

    m_calendar = new TLunarCalendar(panel, m_clock);
    m_calendar->setObjectName(QStringLiteral("Calendar1"));
    m_calendar->setFont(pixelFont(QStringLiteral("宋体"), 16));
    m_calendar->setStartOfWeek(0);
    m_calendar->setGeometry(2, 47, 530, 305);

    setTabOrder(m_calendar, m_year);
    setTabOrder(m_year, m_month);
    setTabOrder(m_month, today);
    setTabOrder(today, close);
    setTabOrder(close, m_prevYear);
    setTabOrder(m_prevYear, m_prevMonth);
    setTabOrder(m_prevMonth, m_nextMonth);
    setTabOrder(m_nextMonth, m_nextYear);

    connect(m_prevYear, &QToolButton::clicked, this, &TCalendarFrm::btnPrevYearClick);
    connect(m_prevMonth, &QToolButton::clicked, this, &TCalendarFrm::btnPrevMonthClick);
    connect(m_nextMonth, &QToolButton::clicked, this, &TCalendarFrm::SpeedButton3Click);
    connect(m_nextYear, &QToolButton::clicked, this, &TCalendarFrm::btnNextYearClick);
    connect(today, &QPushButton::clicked, this, &TCalendarFrm::BitBtn18Click);
    connect(close, &QPushButton::clicked, this, [this] {
        BitBtn18Click();
        accept();
    });
    // Every change of a field's text counts, typed or set, as each typed
    // digit may already name a month.
    connect(m_year->findChild<QLineEdit *>(), &QLineEdit::textChanged, this,
        &TCalendarFrm::SpinEdit2Change);
    connect(m_month->findChild<QLineEdit *>(), &QLineEdit::textChanged, this,
        &TCalendarFrm::SpinEdit3Change);

    synchroniseFields();
}

int TCalendarFrm::fieldValue(const QSpinBox *field)
{
    return static_cast<const NumberField *>(field)->typedValue();
}

void TCalendarFrm::synchroniseFields()
{
    static_cast<NumberField *>(m_year)->assign(m_calendar->Year());
    static_cast<NumberField *>(m_month)->assign(m_calendar->Month());
    updateStepButtons();
}

void TCalendarFrm::updateStepButtons()
{
    const int year = m_calendar->Year();
    const int month = m_calendar->Month();
    m_prevYear->setEnabled(year > FirstYear);
    m_nextYear->setEnabled(year < LastYear);
    m_prevMonth->setEnabled(year > FirstYear || month > 1);
    m_nextMonth->setEnabled(year < LastYear || month < 12);
}

void TCalendarFrm::BitBtn18Click()
{
    m_calendar->setSelectedDate(m_clock());
    synchroniseFields();
}

void TCalendarFrm::btnPrevYearClick()
{
    if (m_calendar->Year() > FirstYear)
        m_calendar->PrevYear();
    synchroniseFields();
}

void TCalendarFrm::btnNextYearClick()
{
    if (m_calendar->Year() < LastYear)
        m_calendar->NextYear();
    synchroniseFields();
}

void TCalendarFrm::btnPrevMonthClick()
{
    if (m_calendar->Year() > FirstYear || m_calendar->Month() > 1)
        m_calendar->PrevMonth();
    synchroniseFields();
}

void TCalendarFrm::SpeedButton3Click()
{
    if (m_calendar->Year() < LastYear || m_calendar->Month() < 12)
        m_calendar->NextMonth();
    synchroniseFields();
}

void TCalendarFrm::SpinEdit2Change()
{
    const int year = fieldValue(m_year);
    // Partial numbers met while typing a year fall outside and change
    // nothing.
    if (year <= FirstYear || year > LastYear)
        return;
    // 29 February typed into a common year becomes 28 February, so the
    // field and the grid never disagree.
    if (m_calendar->Month() == 2 && m_calendar->Day() == 29 && !m_calendar->IsLeapYear(year))
        m_calendar->setDay(28);
    m_calendar->setYear(year);
    updateStepButtons();
}

void TCalendarFrm::SpinEdit3Change()
{
    const int month = fieldValue(m_month);
    if (!m_calendar->setMonth(month)) {
        // The selected day is past the new month's end: take its last day.
        m_calendar->setDay(m_calendar->MonthLength(m_calendar->Year(), month));
        m_calendar->setMonth(month);
    }
    updateStepButtons();
}

void TCalendarFrm::FormShow()
{
    BitBtn18Click();
    m_calendar->setFocus();
    const QString sentence = QStringLiteral("今天是") + m_year->text() + QStringLiteral("年")
        + m_month->text() + QStringLiteral("月") + QString::number(m_calendar->Day())
        + QStringLiteral("日");
    if (m_playStr)
        m_playStr(sentence);
}

void TCalendarFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}
