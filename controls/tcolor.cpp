#include "tcolor.h"

QColor toQColor(TColor c, const QPalette &palette)
{
    if (!isSystemColor(c))
        return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));

    switch (c & 0xFF) {
    case 2: // active caption
    case 13: // highlight
    case 29: // menu highlight
        return palette.color(QPalette::Highlight);
    case 3: // inactive caption
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6: // window frame
    case 21: // 3-D dark shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return palette.color(QPalette::WindowText);
    case 9: // caption text
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 12: // application workspace
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    case 26: // hot-tracked item
        return palette.color(QPalette::Link);
    case 27: // gradient end of an active caption: a light tint of the highlight
    case 28: {
        const QColor hi = palette.color(QPalette::Highlight);
        const QColor base = palette.color(QPalette::Base);
        return QColor((hi.red() + 2 * base.red()) / 3, (hi.green() + 2 * base.green()) / 3,
            (hi.blue() + 2 * base.blue()) / 3);
    }
    case 0: // scroll bar
    case 4: // menu
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
    case 30: // menu bar
    default:
        return palette.color(QPalette::Button);
    }
}
