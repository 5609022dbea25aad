#include "startupreport.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace {

class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget *window, const QString &file)
        : QObject(window)
        , m_file(file)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The rest of the window paints in the same pass; report once
            // the event loop is back.
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

private:
    void report()
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        QFile out(m_file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(QByteArray::number(
                qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())));
        deleteLater();
    }

    QString m_file;
};

} // namespace

void StartupReport::watch(QWidget *window)
{
    const QString file = qEnvironmentVariable("PARLIX_STARTUP_REPORT");
    if (!file.isEmpty())
        new FirstPaintWatcher(window, file);
}
