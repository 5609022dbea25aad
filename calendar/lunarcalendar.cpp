#include "lunarcalendar.h"

#include "lunar.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <qdrawutil.h>

namespace {

// The border round the grid, as thick as a sunken single border.
constexpr int BorderWidth = 2;

QColor blended(const QColor &under, const QColor &over, double amount)
{
    return QColor::fromRgbF(under.redF() + (over.redF() - under.redF()) * amount,
        under.greenF() + (over.greenF() - under.greenF()) * amount,
        under.blueF() + (over.blueF() - under.blueF()) * amount);
}

} // namespace

TLunarCalendar::TLunarCalendar(QWidget *parent, Clock clock)
    : QWidget(parent)
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); }))
    , m_converter(&Lunar::SolarToLunar)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("月历"));
    m_selectedDate = m_clock().date();
    RefreshLayout();
}

void TLunarCalendar::setConverter(Converter converter)
{
    m_converter = converter ? std::move(converter) : Converter(&Lunar::SolarToLunar);
    RefreshLayout();
}

void TLunarCalendar::setSelectedDate(const QDate &date)
{
    if (!date.isValid())
        return;
    m_selectedDate = date;
    RefreshLayout();
    DoChange();
}

bool TLunarCalendar::writeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    m_selectedDate = date;
    m_useCurrentDate = false;
    RefreshLayout();
    DoChange();
    return true;
}

bool TLunarCalendar::setDay(int value)
{
    if (value <= 0 || value > ShownMonthLength() || value == Day())
        return true;
    return writeDate(Year(), Month(), value);
}

bool TLunarCalendar::setMonth(int value)
{
    if (value <= 0 || value > 12 || value == Month())
        return true;
    return writeDate(Year(), value, Day());
}

bool TLunarCalendar::setYear(int value)
{
    if (value <= 0 || value == Year())
        return true;
    return writeDate(value, Month(), Day());
}

void TLunarCalendar::setStartOfWeek(int dayOfWeek)
{
    dayOfWeek = ((dayOfWeek % 7) + 7) % 7;
    if (dayOfWeek == m_startOfWeek)
        return;
    m_startOfWeek = dayOfWeek;
    RefreshLayout();
}

void TLunarCalendar::setUseCurrentDate(bool use)
{
    if (use == m_useCurrentDate)
        return;
    m_useCurrentDate = use;
    if (use) {
        m_selectedDate = m_clock().date();
        RefreshLayout();
    }
}

void TLunarCalendar::setGridLineWidth(int width)
{
    m_gridLineWidth = qMax(0, width);
    update();
}

void TLunarCalendar::NextMonth()
{
    const int year = Month() == 12 ? Year() + 1 : Year();
    const int month = Month() == 12 ? 1 : Month() + 1;
    setSelectedDate(QDate(year, month, qMin(Day(), MonthLength(year, month))));
}

void TLunarCalendar::PrevMonth()
{
    const int year = Month() == 1 ? Year() - 1 : Year();
    const int month = Month() == 1 ? 12 : Month() - 1;
    setSelectedDate(QDate(year, month, qMin(Day(), MonthLength(year, month))));
}

void TLunarCalendar::NextYear()
{
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        setDay(28);
    setYear(Year() + 1);
}

void TLunarCalendar::PrevYear()
{
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        setDay(28);
    setYear(Year() - 1);
}

int TLunarCalendar::MonthLength(int year, int month) const
{
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return lengths[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int TLunarCalendar::ShownMonthLength() const
{
    return MonthLength(Year(), Month());
}

bool TLunarCalendar::IsLeapYear(int year) const
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

void TLunarCalendar::RefreshLayout()
{
    m_updating = true;
    const auto done = qScopeGuard([this] { m_updating = false; });

    const int year = Year();
    const int month = Month();
    const int day = Day();
    // Weekday of the 1st, 1 (Sunday) … 7 (Saturday).
    const int weekday = QDate(year, month, 1).dayOfWeek() % 7 + 1;
    const int shift = (weekday - m_startOfWeek + 7) % 7;
    m_monthOffset = 2 - shift;
    if (m_monthOffset == 2)
        m_monthOffset = -5;

    const QPoint cell((day - m_monthOffset) % 7, (day - m_monthOffset) / 7 + 1);
    if (SelectCell(cell.x(), cell.y()))
        m_current = cell;

    updateAccessibleDescription();
    update();
}

QString TLunarCalendar::CellText(int col, int row) const
{
    if (col < 0 || col >= Columns || row < 0 || row >= Rows)
        return {};
    if (row == 0) {
        // QLocale counts weekdays 1 (Monday) … 7 (Sunday).
        const int weekday = (m_startOfWeek + col) % 7;
        return locale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);
    }
    const int n = m_monthOffset + col + (row - 1) * 7;
    if (n < 1 || n > ShownMonthLength())
        return {};
    return QString::number(n);
}

bool TLunarCalendar::SelectCell(int col, int row) const
{
    return row >= 1 && !CellText(col, row).isEmpty() && (m_updating || !m_readOnly);
}

TLunarCalendar::CellContent TLunarCalendar::cellContent(int col, int row) const
{
    CellContent content;
    content.line1 = CellText(col, row);
    if (row == 0 || content.line1.isEmpty())
        return content;

    const QDate date(Year(), Month(), content.line1.toInt());
    const TLunarDate lunar = m_converter(date);
    const QString term = solarTermOn(date);
    const QString holiday = Lunar::SolarHolidayName(date) + Lunar::LunarHolidayName(lunar);
    content.line1 += holiday;
    if (!term.isEmpty()) {
        content.line2 = term;
        content.colour1 = Red;
        content.colour2 = Red;
    } else {
        content.line2 = lunar.Day == 1 ? Lunar::LunarMonthName(lunar.Month, lunar.IsLeap)
                                       : Lunar::LunarDayName(lunar.Day);
        content.colour1 = holiday.isEmpty() ? Blue : Red;
        content.colour2 = Blue;
    }
    return content;
}

// The same answer as Lunar::SolarTermName: the month's earlier term first.
QString TLunarCalendar::solarTermOn(const QDate &date) const
{
    if (m_terms.year != date.year() || m_terms.month != date.month()) {
        const int first = 2 * (date.month() - 1);
        m_terms.year = date.year();
        m_terms.month = date.month();
        m_terms.days[0] = Lunar::SolarTermDate(date.year(), first).date();
        m_terms.days[1] = Lunar::SolarTermDate(date.year(), first + 1).date();
    }
    for (int i = 0; i < 2; ++i) {
        if (m_terms.days[i] == date)
            return QString::fromUtf16(Lunar::SolarTermNames[size_t(2 * (date.month() - 1) + i)]);
    }
    return {};
}

QRect TLunarCalendar::clientRect() const
{
    return rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
}

QRect TLunarCalendar::cellRect(int col, int row) const
{
    const QRect client = clientRect();
    return QRect(client.left() + col * (DefaultColWidth() + m_gridLineWidth),
        client.top() + row * (DefaultRowHeight() + m_gridLineWidth), DefaultColWidth(),
        DefaultRowHeight());
}

void TLunarCalendar::DrawCell(QPainter &painter, int col, int row, const QRect &rect)
{
    const CellContent content = cellContent(col, row);

    // Background: the header colour, the selection colour, or the window's.
    // The selected day is tinted with the highlight and framed by it, so
    // that its red and blue texts stay as readable as on any other day.
    QColor background = palette().color(QPalette::Base);
    const bool selected = row > 0 && QPoint(col, row) == m_current;
    if (row == 0)
        background = palette().color(QPalette::Button);
    else if (selected)
        background = blended(background, palette().color(QPalette::Highlight), 0.3);
    painter.fillRect(rect, background);
    if (selected) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(rect.adjusted(3, 3, -4, -4));
        }
    }

    // Both lines are placed by the top of their em box, as the grid's
    // layout was drawn for a face whose ascent is seven eighths of its
    // height; placing them by the installed face's own, often taller, line
    // box would push the second line off the bottom of the cell.
    const QFont &f = font();
    const int pixels = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    const int ascent = (pixels * 7 + 4) / 8;

    painter.save();
    painter.setClipRect(rect);
    painter.setPen(QColor(content.colour1));
    painter.drawText(QPoint(rect.left() + 2, rect.top() + 2 + ascent), content.line1);
    painter.restore();

    if (!content.line2.isEmpty()) {
        // The second line sits right of a margin as wide as the font is
        // tall in points, and may run past the cell, as the next cell
        // paints over it.
        const int points
            = f.pixelSize() > 0 ? qRound(f.pixelSize() * 72.0 / 96.0) : qRound(f.pointSizeF());
        painter.setPen(QColor(content.colour2));
        painter.drawText(
            QPoint(rect.left() + points + 10, rect.top() + 25 + ascent), content.line2);
    }
}

void TLunarCalendar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    qDrawWinPanel(&painter, rect(), palette(), true);

    const QRect client = clientRect();
    painter.setClipRect(client);
    // Grid lines, then the cells over them, row by row, left to right.
    const QRect grid(client.topLeft(),
        QSize(Columns * DefaultColWidth() + (Columns - 1) * m_gridLineWidth,
            Rows * DefaultRowHeight() + (Rows - 1) * m_gridLineWidth));
    painter.fillRect(grid, palette().color(QPalette::Mid));
    for (int row = 0; row < Rows; ++row) {
        for (int col = 0; col < Columns; ++col) {
            painter.save();
            painter.setClipRect(client);
            DrawCell(painter, col, row, cellRect(col, row));
            painter.restore();
        }
    }
}

int TLunarCalendar::DefaultColWidth() const
{
    return qMax(1, (clientRect().width() - 6 * m_gridLineWidth) / 7);
}

int TLunarCalendar::DefaultRowHeight() const
{
    return qMax(1, (clientRect().height() - 6 * m_gridLineWidth) / 7);
}

void TLunarCalendar::runClick()
{
    emit clicked();
    const QString text = CellText(m_current.x(), m_current.y());
    if (!text.isEmpty())
        setDay(text.toInt());
}

void TLunarCalendar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QRect client = clientRect();
    const QPoint at = event->position().toPoint() - client.topLeft();
    if (at.x() < 0 || at.y() < 0)
        return;
    const int col = at.x() / (DefaultColWidth() + m_gridLineWidth);
    const int row = at.y() / (DefaultRowHeight() + m_gridLineWidth);
    if (col >= Columns || row >= Rows || !SelectCell(col, row))
        return;
    m_current = QPoint(col, row);
    update();
    runClick();
}

void TLunarCalendar::moveCurrentBy(int dCol, int dRow)
{
    const QPoint target = m_current + QPoint(dCol, dRow);
    if (target.x() < 0 || target.x() >= Columns || target.y() < 0 || target.y() >= Rows
        || !SelectCell(target.x(), target.y()))
        return;
    m_current = target;
    update();
    runClick();
}

void TLunarCalendar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveCurrentBy(-1, 0);
        break;
    case Qt::Key_Right:
        moveCurrentBy(1, 0);
        break;
    case Qt::Key_Up:
        moveCurrentBy(0, -1);
        break;
    case Qt::Key_Down:
        moveCurrentBy(0, 1);
        break;
    case Qt::Key_Home:
        if (!m_readOnly)
            setDay(1);
        break;
    case Qt::Key_End:
        if (!m_readOnly)
            setDay(ShownMonthLength());
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TLunarCalendar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TLunarCalendar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TLunarCalendar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LocaleChange)
        RefreshLayout();
}

void TLunarCalendar::DoChange()
{
    emit OnChange(this);
}

// Screen readers hear the selected day as the grid shows it: the date, the
// weekday, the lunar date and any term or holiday.
void TLunarCalendar::updateAccessibleDescription()
{
    const QDate date = m_selectedDate;
    const TLunarDate lunar = m_converter(date);
    QStringList parts {
        QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()),
        locale().dayName(date.dayOfWeek(), QLocale::LongFormat)};
    if (lunar.Day > 0)
        parts << QStringLiteral("农历") + Lunar::LunarMonthName(lunar.Month, lunar.IsLeap)
                + Lunar::LunarDayName(lunar.Day);
    for (const QString &extra : {Lunar::SolarTermName(date), Lunar::SolarHolidayName(date),
             Lunar::LunarHolidayName(lunar)}) {
        const QString name = QString(extra).remove(u'*').trimmed();
        if (!name.isEmpty())
            parts << name;
    }
    const QString description = parts.join(u' ');
    if (description == accessibleDescription())
        return;
    setAccessibleDescription(description);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}
