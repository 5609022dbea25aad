#include "pronunciationlistdialog.h"

#include "pinyindata.h"
#include "userpronunciations.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStringDecoder>
#include <QVBoxLayout>

PronunciationListDialog::PronunciationListDialog(const QString &path, QWidget *parent)
    : QDialog(parent)
    , m_path(path)
{
    setWindowTitle(QStringLiteral("读音表"));
    setObjectName(QStringLiteral("PronunciationListDialog"));

    auto *help = new QLabel(
        QStringLiteral("每行一个词语和它的读音，词语和拼音之间用空格隔开，例如：\n"
                       "    曾国藩 zeng1 guo2 fan1\n"
                       "声调用数字 1–5（5 是轻声）或声调符号，ü 写作 v。读音表中的词语优先于词典。"
                       "以 # 开头的是注释。"));
    help->setWordWrap(true);
    m_edit = new QPlainTextEdit;
    m_edit->setObjectName(QStringLiteral("list"));
    m_edit->setAccessibleName(QStringLiteral("读音表"));
    help->setBuddy(m_edit);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("problems"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("保存(&S)"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this,
        &PronunciationListDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(480, 360);

    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        m_edit->setPlainText(utf8.decode(file.readAll()));
        showProblems();
    }
    m_edit->document()->setModified(false);
}

QString PronunciationListDialog::text() const
{
    return m_edit->toPlainText();
}

bool PronunciationListDialog::save()
{
    QDir().mkpath(QFileInfo(m_path).path());
    QSaveFile file(m_path);
    QByteArray bytes = text().toUtf8();
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QMessageBox::warning(this, QStringLiteral("Parlix"),
            QStringLiteral("读音表无法保存到 %1：%2")
                .arg(QDir::toNativeSeparators(m_path), file.errorString()));
        return false;
    }
    m_edit->document()->setModified(false);
    showProblems();
    return true;
}

void PronunciationListDialog::showProblems()
{
    const PinyinData *data = PinyinData::shared();
    if (!data) {
        m_status->setText(QStringLiteral("没有词典数据，读音表暂时不起作用。"));
        return;
    }
    UserPronunciations list;
    list.parse(text(), *data);
    QStringList lines;
    for (const UserPronunciations::Problem &p : list.problems())
        lines << QStringLiteral("第 %1 行：%2，朗读时跳过。").arg(p.line).arg(p.reason);
    m_status->setText(lines.join(u'\n'));
}
