#pragma once

// Fonts as the windows name them: a family and a height in pixels. The
// Windows families (宋体, 黑体, MS Sans Serif…) map to installed faces
// through FontMapping.

#include <QFont>
#include <QString>

inline QFont pixelFont(const QString &family, int pixels, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

inline QFont songFont(int pixels)
{
    return pixelFont(QStringLiteral("宋体"), pixels);
}
