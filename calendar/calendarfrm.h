#pragma once

#include "lunarcalendar.h"

#include <QDialog>

#include <functional>

class QSpinBox;
class QToolButton;
class QPushButton;

// The perpetual calendar: year and month fields with step buttons above a
// lunar month grid. Every showing jumps to today and says the date aloud.
class TCalendarFrm : public QDialog
{
    Q_OBJECT

public:
    using Speaker = std::function<void(const QString &)>;

    // The years the step buttons and the fields can reach: those both the
    // year field and the lunar data cover.
    static constexpr int FirstYear = 1900;
    static constexpr int LastYear = 2099;

    explicit TCalendarFrm(
        Speaker playStr, QWidget *parent = nullptr, TLunarCalendar::Clock clock = {});

    TLunarCalendar *calendar() const { return m_calendar; }
    QSpinBox *yearField() const { return m_year; }
    QSpinBox *monthField() const { return m_month; }

    void FormShow();
    void BitBtn18Click();
    void btnPrevYearClick();
    void btnNextYearClick();
    void btnPrevMonthClick();
    void SpeedButton3Click();
    void SpinEdit2Change();
    void SpinEdit3Change();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void synchroniseFields();
    void updateStepButtons();
    static int fieldValue(const QSpinBox *field);

    Speaker m_playStr;
    TLunarCalendar::Clock m_clock;
    TLunarCalendar *m_calendar = nullptr;
    QSpinBox *m_year = nullptr;
    QSpinBox *m_month = nullptr;
    QToolButton *m_prevYear = nullptr;
    QToolButton *m_prevMonth = nullptr;
    QToolButton *m_nextMonth = nullptr;
    QToolButton *m_nextYear = nullptr;
};
