// SPDX-License-Identifier: GPL-3.0-or-later

#include "UiLook.h"

QFont uiFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QPalette classicPalette()
{
    const QColor black(0, 0, 0), white(255, 255, 255), grey(128, 128, 128);
    QPalette palette(black, windowBackground(), white, grey, QColor(160, 160, 160), black, white, white,
                     windowBackground());
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, grey);
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    palette.setColor(QPalette::Disabled, QPalette::Base, white);
    return palette;
}

QIcon appIcon()
{
    QIcon icon;
    for (const char *size : {"48", "32", "16"})
        icon.addFile(QStringLiteral(":/assets/icon-%1.png").arg(QLatin1String(size)));
    return icon;
}
