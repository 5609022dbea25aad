#include "program.h"

#include "aboutform.h"

#include "calendarfrm.h"
#include "desktop.h"
#include "fkfrm.h"
#include "flashfrm.h"
#include "frminput.h"
#include "mathfrm.h"
#include "randomsource.h"
#include "wordfrm.h"
#include <QCoreApplication>

Program::Program(const TMainForm::Services &services)
    : m_mainForm(std::make_unique<TMainForm>(services))
{
    // The other windows belong to the main window: they stay above it, and
    // go when it goes.
    QWidget *owner = m_mainForm.get();
    m_about = new TaboutForm(*services.desktop, owner);
    m_calendar = new TCalendarFrm(
        [form = m_mainForm.get()](const QString &text) { form->PlayStr(text); }, owner);
    m_math = new TMathFrm(
        RandomSource::global(),
        [form = m_mainForm.get()](const QString &text) { form->PlayStr(text); }, owner);
    TWordFrm::Services cards;
    cards.dialogs = services.dialogs;
    cards.desktop = services.desktop;
    cards.random = &RandomSource::global();
    cards.programFolder = QCoreApplication::applicationDirPath();
    cards.fallbackFolder = Desktop::systemFolder();
    m_word = new TWordFrm(cards, owner);
    // This editor is never shown: the card drill makes one for each use.
    m_input = new TFrminput(m_word, *services.dialogs, owner);
    m_blocks = new TFKFrm(*services.dialogs, RandomSource::global(), owner);
    m_flash = new TFlashFrm(TFlashFrm::standardServices(*services.dialogs), owner);
    m_mainForm->setToolWindows({m_about, m_calendar, m_math, m_word, m_blocks, m_flash});
}

Program::~Program() = default;

QList<QWidget *> Program::windows() const
{
    return {m_mainForm.get(), m_about, m_calendar, m_math, m_word, m_input, m_blocks, m_flash};
}
