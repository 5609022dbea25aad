#include "mainstatusbar.h"

#include "maker.h"
#include "systemformats.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

MainStatusBar::MainStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    setFixedHeight(20);
    const int widths[] = {288, 188, 188, 50};
    const QString texts[] = {QStringLiteral("就绪"), QStringLiteral(" ") + Maker::SupportMail,
        QStringLiteral(" ") + Maker::WebAddress, QString()};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(texts[i]);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 3)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        addWidget(panel, i == 3 ? 1 : 0);
        m_panels[size_t(i)] = panel;
    }
    setCursor(Qt::PointingHandCursor);
}

void MainStatusBar::showHintsOf(const QList<QWidget *> &buttons)
{
    for (QWidget *b : buttons) {
        if (!m_hintButtons.contains(b)) {
            m_hintButtons << b;
            b->installEventFilter(this);
        }
    }
}

void MainStatusBar::showTime(const QDateTime &now)
{
    m_panels[3]->setText(SystemFormats::shortDate(now.date()) + QStringLiteral("  ")
        + SystemFormats::longTime(now.time()));
}

bool MainStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove)
        && m_hintButtons.contains(watched))
        m_panels[0]->setText(static_cast<QWidget *>(watched)->toolTip());
    return QStatusBar::eventFilter(watched, event);
}

void MainStatusBar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT clicked();
}
