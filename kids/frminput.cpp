#include "frminput.h"
#include "pixelfont.h"

#include "dialogs.h"
#include "untfun.h"
#include "wordfrm.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFrminput::TFrminput(TWordFrm *drill, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_drill(drill)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFrminput"));
    setWindowTitle(QStringLiteral("文字工具"));
    setFont(songFont(13));
    resize(408, 305); // 416 × 332 with its frame

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setFixedHeight(35);
    bar->setIconSize(QSize(16, 16));
    struct Button {
        const char *name;
        const char *text;
        const char *icon;
        void (TFrminput::*handler)();
    };
    const Button buttons[] = {
        {"btn1", "打开", "open", &TFrminput::btn1Click},
        {"btn4", "保存", "save", &TFrminput::btn4Click},
        {"btn5", "字体", "font", &TFrminput::btn5Click},
        {"btn6", "退出", "exit", &TFrminput::btn6Click},
    };
    for (const Button &b : buttons) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QLatin1String(b.name));
        button->setText(QString::fromUtf8(b.text));
        button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(b.icon))));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFixedSize(60, 27);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QToolButton::clicked, this, b.handler);
        bar->addWidget(button);
        bar->addSeparator();
    }
    layout->addWidget(bar);

    auto *hint = new QLabel(QStringLiteral("提示:请左边输入分类，然后用“=”分隔要显示的字符"), this);
    hint->setObjectName(QStringLiteral("Hint"));
    hint->setFixedHeight(28);
    hint->setAlignment(Qt::AlignCenter);
    hint->setFont(songFont(13));
    hint->setStyleSheet(QStringLiteral("QLabel { color: blue; }"));
    layout->addWidget(hint);

    m_mmo1 = new QPlainTextEdit(this);
    m_mmo1->setObjectName(QStringLiteral("mmo1"));
    m_mmo1->setAccessibleName(QStringLiteral("字表"));
    m_mmo1->setLineWrapMode(QPlainTextEdit::WidgetWidth); // on screen only
    m_mmo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_mmo1->setPlainText(QStringLiteral("mmo1"));
    layout->addWidget(m_mmo1);

    // FormCreate: the list file's text, if it is there.
    if (m_drill && QFileInfo::exists(m_drill->listFile()))
        readInto(m_drill->listFile());
    m_mmo1->document()->setModified(false);
}

void TFrminput::setMemoText(const QString &text)
{
    // Any line break, alone or paired, is one line break here; the file
    // gets CR LF for each.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    m_mmo1->setPlainText(lines);
}

bool TFrminput::readInto(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.showError(this,
            QStringLiteral("无法打开文件“%1”：%2")
                .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    // GBK, or the UTF-8 (or UTF-16) of today's editors.
    setMemoText(Untfun::textOfFile(file.readAll()));
    return true;
}

void TFrminput::btn1Click()
{
    const QString path = m_dialogs.openFileName(this, QStringLiteral("文本文件|*.txt"));
    if (!path.isEmpty())
        readInto(path);
}

void TFrminput::btn4Click()
{
    save();
}

bool TFrminput::save()
{
    if (!m_drill)
        return false;
    const QString path = m_drill->listFile();
    const QString shown = QDir::toNativeSeparators(path);
    const Untfun::Encoded encoded = Untfun::fileOfText(m_mmo1->toPlainText());
    if (!encoded.unencodable.isEmpty()) {
        // Written as GBK it would become "?": nothing is written.
        m_dialogs.showWarning(this,
            QStringLiteral("第 %1 行的“%2”不能保存在字表文件里，请换一个字。")
                .arg(encoded.line)
                .arg(encoded.unencodable));
        return false;
    }
    // Written beside the old file and put in its place only when complete:
    // a failure leaves the old list whole.
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly)
        || file.write(encoded.bytes) != encoded.bytes.size() || !file.commit()) {
        m_dialogs.showError(
            this, QStringLiteral("无法保存文件“%1”：%2").arg(shown, file.errorString()));
        file.cancelWriting();
        return false;
    }
    m_mmo1->document()->setModified(false);
    m_drill->reloadAfterSave();
    return true;
}

void TFrminput::btn5Click()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(10);
    if (m_dialogs.chooseFont(this, font))
        m_mmo1->setFont(font);
}

void TFrminput::btn6Click()
{
    close();
}

bool TFrminput::maybeSave()
{
    if (!m_mmo1->document()->isModified())
        return true;
    switch (m_dialogs.message(this, QStringLiteral("字表已经修改，是否保存？"),
        QStringLiteral("询问"), Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel)) {
    case Dialogs::Answer::Yes:
        return save();
    case Dialogs::Answer::No:
        return true;
    default:
        return false;
    }
}

void TFrminput::keyPressEvent(QKeyEvent *event)
{
    // Esc is no way to close the editor: it would drop the typing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrminput::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        QDialog::closeEvent(event);
    else
        event->ignore();
}
