#include "fontmapping.h"

#include <QFont>
#include <QFontDatabase>

namespace {

const QStringList SongFaces = {
    QStringLiteral("Noto Serif CJK SC"),
    QStringLiteral("Source Han Serif SC"),
    QStringLiteral("AR PL UMing CN"),
    QStringLiteral("AR PL SungtiL GB"),
};
const QStringList HeiFaces = {
    QStringLiteral("Noto Sans CJK SC"),
    QStringLiteral("Source Han Sans SC"),
    QStringLiteral("WenQuanYi Zen Hei"),
    QStringLiteral("WenQuanYi Micro Hei"),
    QStringLiteral("Droid Sans Fallback"),
};
// Liberation Sans has Arial's metrics: text fits where the windows were
// laid out for Arial, Tahoma and MS Sans Serif.
const QStringList LatinSans = {
    QStringLiteral("Liberation Sans"),
    QStringLiteral("DejaVu Sans"),
    QStringLiteral("Noto Sans"),
};

} // namespace

QStringList FontMapping::candidates(const QString &windowsFamily)
{
    const QString f = windowsFamily.toLower();
    if (f == QStringLiteral("宋体") || f == QStringLiteral("simsun")
        || f == QStringLiteral("新宋体") || f == QStringLiteral("nsimsun"))
        return SongFaces + HeiFaces; // a sans CJK face rather than no Chinese at all
    if (f == QStringLiteral("黑体") || f == QStringLiteral("simhei")
        || f == QStringLiteral("微软雅黑") || f == QStringLiteral("microsoft yahei"))
        return HeiFaces;
    if (f == QStringLiteral("arial") || f == QStringLiteral("tahoma")
        || f == QStringLiteral("ms sans serif") || f == QStringLiteral("verdana"))
        return LatinSans + HeiFaces;
    return {};
}

void FontMapping::install()
{
    const QStringList installed = QFontDatabase::families();
    const QStringList windowsFamilies = {
        QStringLiteral("宋体"),
        QStringLiteral("SimSun"),
        QStringLiteral("新宋体"),
        QStringLiteral("NSimSun"),
        QStringLiteral("黑体"),
        QStringLiteral("SimHei"),
        QStringLiteral("微软雅黑"),
        QStringLiteral("Microsoft YaHei"),
        QStringLiteral("Arial"),
        QStringLiteral("Tahoma"),
        QStringLiteral("MS Sans Serif"),
        QStringLiteral("Verdana"),
    };
    for (const QString &family : windowsFamilies) {
        if (installed.contains(family, Qt::CaseInsensitive))
            continue; // the real face is here (Windows, or installed by hand)
        QStringList present;
        for (const QString &c : candidates(family)) {
            if (installed.contains(c, Qt::CaseInsensitive) && !present.contains(c))
                present << c;
        }
        if (!present.isEmpty())
            QFont::insertSubstitutions(family, present);
    }
}
