#include "aboutform.h"
#include "pixelfont.h"

#include "clicklabel.h"
#include "desktop.h"
#include "maker.h"
#include "tcolor.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVariantAnimation>

namespace {

// The window's background: a raised frame around a gradient from white to
// the light end of the active caption's gradient. A click closes the window.
class GradientBackground : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, toQColor(Colors::GradientActiveCaption, palette()));
        painter.fillRect(rect(), gradient);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())
            && onClick)
            onClick();
    }
};

// Yellow on the pale end of the gradient needs a dark rim to be read.
class RimmedLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        const QRect r = contentsRect();
        painter.setPen(QColor(60, 60, 60));
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx || dy)
                    painter.drawText(r.translated(dx, dy), int(alignment()), text());
            }
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r, int(alignment()), text());
    }
};

} // namespace

TaboutForm::TaboutForm(Desktop &desktop, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("aboutForm"));
    setWindowTitle(QStringLiteral("About Parlix"));
    setFixedSize(399, 200);

    auto *background = new GradientBackground(this);
    background->setObjectName(QStringLiteral("RzBackground1"));
    background->setGeometry(5, 4, 388, 191);
    background->onClick = [this] { RzBackground1Click(); };

    auto *image1 = new ClickLabel(QString(), this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(13, 15, 32, 32);
    image1->setPixmap(QIcon(QStringLiteral(":/icons/parlix.svg")).pixmap(32, 32));
    image1->setAccessibleName(QStringLiteral("Parlix"));
    connect(image1, &ClickLabel::doubleClicked, this, &TaboutForm::SpeedButton2Click);

    const auto addLabel = [this](const char *name, const QString &text, int x, int y) {
        auto *label = new ClickLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setFont(songFont(20));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(pal);
        label->move(x, y);
        label->adjustSize();
        label->setAccessibleName(text.trimmed());
        return label;
    };
    addLabel("Label2", Maker::ProductVersion, 69, 18);
    addLabel("Label4", Maker::Notice, 69, 48);
    addLabel("Label1", Maker::Name, 69, 75);
    ClickLabel *label5
        = addLabel("Label5", QStringLiteral("Email: ") + Maker::SupportMail, 14, 111);
    ClickLabel *label6 = addLabel(
        "Label6", QStringLiteral("Http: //") + Maker::WebAddress + QStringLiteral("  "), 14, 136);
    for (ClickLabel *link : {label5, label6}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setFocusPolicy(Qt::StrongFocus);
        connect(link, &ClickLabel::mouseMoved, this, [this, link] { Label5MouseMove(link); });
        connect(link, &ClickLabel::mouseLeft, this, [this, link] { Label5MouseLeave(link); });
    }
    connect(label5, &ClickLabel::clicked, this, &TaboutForm::Label5Click);
    connect(label6, &ClickLabel::clicked, this, &TaboutForm::Label6Click);

    auto *label3 = new RimmedLabel(QStringLiteral("感谢所有用户对本软件的建议以及支持！"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    QFont thanks(QStringLiteral("宋体"));
    thanks.setPixelSize(16);
    label3->setFont(thanks);
    QPalette yellow = label3->palette();
    yellow.setColor(QPalette::WindowText, toQColor(Colors::Yellow, yellow));
    label3->setPalette(yellow);
    label3->move(15, 168);
    label3->adjustSize();
    label3->resize(label3->width() + 2, label3->height() + 2);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer1, &QTimer::timeout, this, &TaboutForm::Timer1Timer);

    // The window grows from its centre outwards when it shows.
    m_animation = new QVariantAnimation(this);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(AnimationMs);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
        [this](const QVariant &v) { reveal(v.toReal()); });
    connect(m_animation, &QVariantAnimation::finished, this, [this] { reveal(1.0); });

    FormCreate();
}

QString TaboutForm::mailAddress()
{
    return QStringLiteral("mailto:") + Maker::SupportMail
        + QStringLiteral("?&cc=&bcc=&subject=欢迎使用 Parlix&body=您的意见:%0d");
}

QString TaboutForm::webAddress()
{
    return QStringLiteral("http://") + Maker::WebAddress;
}

void TaboutForm::FormCreate()
{
    // Centred across the screen, 100 pixels above its middle.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2 - 100);
    m_firstShow = true;
}

void TaboutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TaboutForm::reveal(qreal fraction)
{
    const int w = std::max(1, int(width() * fraction));
    const int h = std::max(1, int(height() * fraction));
    m_revealed = QRect((width() - w) / 2, (height() - h) / 2, w, h);
    // Platforms without window shapes (offscreen) show the window whole.
    static const bool shapes = QGuiApplication::platformName() != QLatin1String("offscreen")
        && QGuiApplication::platformName() != QLatin1String("minimal");
    if (!shapes)
        return;
    if (fraction >= 1.0)
        clearMask();
    else
        setMask(m_revealed);
}

void TaboutForm::FormShow()
{
    reveal(0.0);
    m_animation->stop();
    m_animation->start();
    activateWindow();
    // The window itself has the focus: on a link, Enter or Space pressed
    // while it shows for two seconds would open a mail.
    setFocus(Qt::OtherFocusReason);
    m_timer1.start(m_firstShow ? FirstShowInterval : LaterShowInterval);
    m_firstShow = false;
}

void TaboutForm::Timer1Timer()
{
    m_timer1.stop();
    close();
}

void TaboutForm::RzBackground1Click()
{
    m_timer1.stop();
    close();
}

void TaboutForm::SpeedButton2Click()
{
    close();
}

void TaboutForm::Label5MouseMove(QObject *sender)
{
    if (auto *label = qobject_cast<QLabel *>(sender)) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(pal);
    }
}

void TaboutForm::Label5MouseLeave(QObject *sender)
{
    if (auto *label = qobject_cast<QLabel *>(sender)) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(pal);
    }
}

void TaboutForm::Label5Click()
{
    m_desktop.openUrl(mailAddress());
}

void TaboutForm::Label6Click()
{
    m_desktop.openUrl(webAddress());
}
