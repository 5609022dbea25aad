#include "editorpanel.h"

#include "pixelfont.h"

#include <QFile>
#include <QProgressBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QString startText()
{
    QFile file(QStringLiteral(":/texts/starttext.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

EditorPanel::EditorPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));

    m_richEdit1 = new QTextEdit;
    m_richEdit1->setObjectName(QStringLiteral("RichEdit1"));
    m_richEdit1->setAccessibleName(QStringLiteral("朗读内容"));
    m_richEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFont song = pixelFont(QStringLiteral("宋体"), 16);
    m_richEdit1->setFont(song);
    m_richEdit1->document()->setDefaultFont(song);
    m_richEdit1->setPlainText(startText());
    m_richEdit1->setContextMenuPolicy(Qt::CustomContextMenu);

    m_progressBar1 = new QProgressBar;
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setAccessibleName(QStringLiteral("朗读进度"));
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);
    m_progressBar1->setFixedHeight(17);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_richEdit1);
    column->addWidget(m_progressBar1);
}
