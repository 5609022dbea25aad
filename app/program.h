#pragma once

#include "mainform.h"

#include <memory>

class TaboutForm;
class TCalendarFrm;
class TMathFrm;
class TWordFrm;
class TFrminput;
class TFKFrm;
class TFlashFrm;

// The program's eight windows, created in their fixed order (the main window
// first, so its start-up runs before any other window exists) and kept until
// the end. Closing the main window ends the program.
class Program
{
public:
    explicit Program(const TMainForm::Services &services);
    ~Program();

    TMainForm *mainForm() const { return m_mainForm.get(); }
    TaboutForm *aboutForm() const { return m_about; }
    // All windows in the order they were created.
    QList<QWidget *> windows() const;

private:
    std::unique_ptr<TMainForm> m_mainForm;
    TaboutForm *m_about = nullptr;
    TCalendarFrm *m_calendar = nullptr;
    TMathFrm *m_math = nullptr;
    TWordFrm *m_word = nullptr;
    TFrminput *m_input = nullptr;
    TFKFrm *m_blocks = nullptr;
    TFlashFrm *m_flash = nullptr;
};
