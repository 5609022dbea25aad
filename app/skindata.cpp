#include "skindata.h"

#include "gradientheader.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QWidget>

SkinStore::SkinStore()
    : SkinStore(QStringList {
        QStringLiteral(":/skins/skin0.qss"),
        QStringLiteral(":/skins/skin1.qss"),
        QStringLiteral(":/skins/skin2.qss"),
        QStringLiteral(":/skins/skin3.qss"),
        QStringLiteral(":/skins/skin4.qss"),
        QStringLiteral(":/skins/skin5.qss"),
    })
{
}

SkinStore::SkinStore(const QStringList &resourcePaths)
    : m_paths(resourcePaths)
{
}

QString SkinStore::styleSheet(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    if (m_sheets.size() != m_paths.size())
        m_sheets = QStringList(m_paths.size(), QString());
    QString &sheet = m_sheets[index];
    if (sheet.isEmpty()) {
        QFile file(m_paths[index]);
        if (file.open(QIODevice::ReadOnly))
            sheet = QString::fromUtf8(file.readAll());
    }
    return sheet;
}

SkinData::SkinData(QObject *parent)
    : QObject(parent)
{
}

QPalette SkinData::paletteFor(const QString &styleSheet, const QPalette &base)
{
    static const QRegularExpression line(
        QStringLiteral(R"(/\*\s*@palette\s+(\w+)\s+(#[0-9a-fA-F]{6})\s*\*/)"));
    static const QHash<QString, QPalette::ColorRole> roles = {
        {QStringLiteral("Window"), QPalette::Window},
        {QStringLiteral("WindowText"), QPalette::WindowText},
        {QStringLiteral("Base"), QPalette::Base},
        {QStringLiteral("AlternateBase"), QPalette::AlternateBase},
        {QStringLiteral("Text"), QPalette::Text},
        {QStringLiteral("Button"), QPalette::Button},
        {QStringLiteral("ButtonText"), QPalette::ButtonText},
        {QStringLiteral("Highlight"), QPalette::Highlight},
        {QStringLiteral("HighlightedText"), QPalette::HighlightedText},
        {QStringLiteral("Light"), QPalette::Light},
        {QStringLiteral("Midlight"), QPalette::Midlight},
        {QStringLiteral("Mid"), QPalette::Mid},
        {QStringLiteral("Dark"), QPalette::Dark},
        {QStringLiteral("Shadow"), QPalette::Shadow},
        {QStringLiteral("ToolTipBase"), QPalette::ToolTipBase},
        {QStringLiteral("ToolTipText"), QPalette::ToolTipText},
        {QStringLiteral("Link"), QPalette::Link},
    };
    QPalette palette = base;
    auto it = line.globalMatch(styleSheet);
    while (it.hasNext()) {
        const auto m = it.next();
        const auto role = roles.constFind(m.captured(1));
        if (role != roles.constEnd())
            palette.setColor(*role, QColor(m.captured(2)));
    }
    return palette;
}

void SkinData::loadFromCollection(const SkinStore &store, int index)
{
    if (index < 0 || index >= store.count())
        return;
    m_index = index;
    m_sheet = store.styleSheet(index);
    if (m_active)
        apply();
}

void SkinData::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    apply();
}

void SkinData::apply()
{
    if (!m_nativeSaved) {
        m_nativePalette = QApplication::palette();
        m_nativeSaved = true;
    }
    // Colours a sheet gave through qproperty- stay after it is gone: clear
    // them before the next sheet sets its own.
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *header = qobject_cast<GradientHeader *>(w))
            header->resetColors();
    }
    if (m_active && !m_sheet.isEmpty()) {
        QApplication::setPalette(paletteFor(m_sheet, m_nativePalette));
        qApp->setStyleSheet(m_sheet);
    } else {
        qApp->setStyleSheet(QString());
        QApplication::setPalette(m_nativePalette);
    }
}
