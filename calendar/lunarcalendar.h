#pragma once

// TLunarCalendar: a month on a 7 × 7 grid, weekday names in the first row
// and one Gregorian month below; every day cell shows the day number with
// any holidays, and under it the solar term, the lunar month (on its first
// day) or the lunar day. The control holds one selected date; its day is
// the grid's current cell.

#include <QDate>
#include <QDateTime>
#include <QPoint>
#include <QWidget>

#include "lunar.h"

#include <functional>

class TLunarCalendar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Day READ Day WRITE setDay STORED false)
    Q_PROPERTY(int Month READ Month WRITE setMonth STORED false)
    Q_PROPERTY(int Year READ Year WRITE setYear STORED false)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(int StartOfWeek READ StartOfWeek WRITE setStartOfWeek)
    Q_PROPERTY(bool UseCurrentDate READ UseCurrentDate WRITE setUseCurrentDate)

public:
    // Where "today" comes from; tests fix it.
    using Clock = std::function<QDateTime()>;
    // Where lunar dates come from: Lunar::SolarToLunar unless replaced
    // (the benchmark sets another calendar library's for comparison).
    using Converter = std::function<TLunarDate(const QDate &)>;

    static constexpr int Columns = 7;
    static constexpr int Rows = 7;
    static constexpr QRgb Red = qRgb(255, 0, 0);
    static constexpr QRgb Blue = qRgb(0, 0, 255);

    explicit TLunarCalendar(QWidget *parent = nullptr, Clock clock = {});

    QDate SelectedDate() const { return m_selectedDate; }
    // Stores the date (any time of day is dropped), lays out and notifies,
    // also when the date is unchanged.
    void setSelectedDate(const QDate &date);
    void setSelectedDate(const QDateTime &dateTime) { setSelectedDate(dateTime.date()); }

    int Day() const { return m_selectedDate.day(); }
    int Month() const { return m_selectedDate.month(); }
    int Year() const { return m_selectedDate.year(); }
    // Zero, negative, a month above 12 and a day past the shown month are
    // ignored, as is the current value. A write that would form a date that
    // does not exist (31 carried into a 30-day month, 29 February into a
    // common year) is refused: false, and nothing changes.
    bool setDay(int value);
    bool setMonth(int value);
    bool setYear(int value);

    int MonthOffset() const { return m_monthOffset; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    int StartOfWeek() const { return m_startOfWeek; }
    void setStartOfWeek(int dayOfWeek);
    bool UseCurrentDate() const { return m_useCurrentDate; }
    void setUseCurrentDate(bool use);
    bool Updating() const { return m_updating; }

    int GridLineWidth() const { return m_gridLineWidth; }
    void setGridLineWidth(int width);
    // Seven columns and seven rows share the client area between the six
    // grid lines each way, whatever its size.
    int DefaultColWidth() const;
    int DefaultRowHeight() const;
    // The current cell as (column, row).
    QPoint CurrentCell() const { return m_current; }

    void NextMonth();
    void PrevMonth();
    void NextYear();
    void PrevYear();

    virtual int MonthLength(int year, int month) const;
    virtual int ShownMonthLength() const;
    virtual bool IsLeapYear(int year) const;
    virtual void RefreshLayout();

    void setConverter(Converter converter);

    QString CellText(int col, int row) const;
    // Whether a cell may become the current cell.
    virtual bool SelectCell(int col, int row) const;

    // What a cell shows: two lines and their colours.
    struct CellContent {
        QString line1;
        QString line2;
        QRgb colour1 = Blue;
        QRgb colour2 = Blue;
    };
    CellContent cellContent(int col, int row) const;
    // The cell's rectangle in widget coordinates.
    QRect cellRect(int col, int row) const;

signals:
    // The notification: the selected date was written.
    void OnChange(TLunarCalendar *sender);
    // The grid's click event, fired before the click moves the date.
    void clicked();

protected:
    virtual void DoChange();
    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool writeDate(int year, int month, int day);
    void moveCurrentBy(int dCol, int dRow);
    void runClick();
    void updateAccessibleDescription();
    QRect clientRect() const;
    QString solarTermOn(const QDate &date) const;

    Clock m_clock;
    Converter m_converter;
    // The days of the shown month's two solar terms, worked out once per
    // month rather than for every cell painted.
    struct MonthTerms {
        int year = 0;
        int month = 0;
        QDate days[2];
    };
    mutable MonthTerms m_terms;
    QDate m_selectedDate;
    int m_monthOffset = 1;
    int m_startOfWeek = 0;
    int m_gridLineWidth = 1;
    QPoint m_current {0, 1};
    bool m_readOnly = false;
    bool m_updating = false;
    bool m_useCurrentDate = true;
};
