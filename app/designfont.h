#pragma once

#include <QFont>
#include <QStringList>

// "MS Sans Serif" at 8.25 points, the font the form was designed with; where it is not
// installed, the closest in width. Inline: the start-up benchmark's table window shows its text
// in the same font without the form's code.
inline QFont designFont()
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                    QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}
