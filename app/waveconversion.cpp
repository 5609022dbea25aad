#include "waveconversion.h"

#include "busypanel.h"
#include "busywork.h"
#include "dialogs.h"
#include "engineerrors.h"
#include "maker.h"
#include "narrex.h"
#include "speechengine.h"
#include "textencoding.h"

#include <QDir>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

WaveConversion::WaveConversion(QWidget *window, QTextEdit *editor, SpeechEngine &engine,
    Dialogs &dialogs, BusyWork &busy, View view)
    : QObject(window)
    , m_window(window)
    , m_editor(editor)
    , m_engine(engine)
    , m_dialogs(dialogs)
    , m_busy(busy)
    , m_view(view)
{
}

void WaveConversion::convert(bool male)
{
    const QString path = m_dialogs.saveFileName(m_window, WaveFilter, QStringLiteral("wav"));
    if (path.isEmpty())
        return;
    m_view.busy->setPercent(-1);
    m_view.area->setCurrentWidget(m_view.busy);
    m_window->repaint();

    // The engine takes GBK: a name GBK cannot hold cannot be written.
    const QString nativePath = QDir::toNativeSeparators(path);
    const TextEncoding::GbkResult gbkPath = TextEncoding::toGbk(nativePath);
    int result = -2;
    QString reason;
    if (gbkPath.firstUnencodable >= 0) {
        const qsizetype at = gbkPath.firstUnencodable;
        reason = QStringLiteral("文件名中的“%1”不能用于语音文件的名字。")
                     .arg(nativePath.mid(at, nativePath[at].isHighSurrogate() ? 2 : 1));
    } else {
        const QByteArray text = TextEncoding::toEngineText(m_editor->toPlainText()).bytes;
        const QByteArray site = Maker::WebAddress.toLatin1();
        QTimer progress;
        progress.setInterval(200);
        connect(&progress, &QTimer::timeout, this,
            [this] { m_view.busy->setPercent(std::clamp(m_engine.conversionProgress(), 0, 100)); });
        progress.start();
        result = m_busy.run([&] {
            return m_engine.speakToWave(
                text, gbkPath.bytes, male ? 20 : 10, male ? 1 : 4, 50, 100, 30, 1, site);
        });
        progress.stop();
        if (result != NARREX_OK)
            reason = EngineErrors::forUser(result);
    }
    if (result == NARREX_OK) {
        m_dialogs.message(m_window, QStringLiteral("语音转换 Wave 文件完成 !"),
            Dialogs::applicationTitle(), Dialogs::Icon::None, Dialogs::Buttons::Ok);
    } else {
        QString text = QStringLiteral("由于某些原因，语音转换 Wave 文件没有完成 !");
        if (!reason.isEmpty())
            text += QStringLiteral("\n") + reason;
        m_dialogs.message(
            m_window, text, Dialogs::applicationTitle(), Dialogs::Icon::None, Dialogs::Buttons::Ok);
    }
    m_view.area->setCurrentIndex(0);
}
