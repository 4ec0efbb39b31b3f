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

QIcon appIcon()
{
    QIcon icon;
    for (const char *size : {"48", "32", "16"})
        icon.addFile(QStringLiteral(":/assets/icon-%1.png").arg(QLatin1String(size)));
    return icon;
}
