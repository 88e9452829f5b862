// The window's preferences: placement, always on top, font size and the spelling options.
#include "monformentry.h"
#include "fontsizelist.h"

#include "monitorgrid.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPlainTextEdit>

using settings::Pref;

void MonFormEntry::SavePreferences()
{
    if (!(windowState() & Qt::WindowMinimized)) {
        const QRect placement = placementToStore();
        m_formLeftText = QString::number(placement.left());
        m_formTopText = QString::number(placement.top());
        m_formHeightText = QString::number(placement.height());
        m_formWidthText = QString::number(placement.width());
        m_preferences.write(Pref::FormLeft, m_formLeftText);
        m_preferences.write(Pref::FormTop, m_formTopText);
        m_preferences.write(Pref::FormHeight, m_formHeightText);
        m_preferences.write(Pref::FormWidth, m_formWidthText);
        m_fontSizeSetting = m_cmbFontSize->currentText();
        m_preferences.write(Pref::FontSize, m_fontSizeSetting);
    }
    m_preferences.write(Pref::AlwaysOnTop, m_alwaysOnTopSetting);
}

void MonFormEntry::mnuAlwaysOnTop_Click()
{
    // The menu item toggles its own check mark before this runs.
    const bool onTop = menuItem("mnuAlwaysOnTop")->isChecked();
    m_alwaysOnTopSetting = onTop ? QStringLiteral("Y") : QStringLiteral("N");
    SetWindowTopMost(onTop);
}

void MonFormEntry::SetWindowTopMost(bool topMost)
{
    if (isTopMost() == topMost)
        return;
    const bool wasVisible = isVisible();
    const QRect placement = placementToStore();
    // Changing a window flag recreates the native window and hides it: put it back where it was.
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    setOuterGeometryTwips(placement);
    if (wasVisible)
        show();
}

bool MonFormEntry::isTopMost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MonFormEntry::mnuRestoreSettings_Click()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    setOuterGeometryTwips(QRect(0, 0, 9600, 6705));

    m_monFlex1->setColWidthTwips(0, 2500);
    m_monFlex1->setColWidthTwips(1, 2190);
    const int ratingWidth = m_monFlex1->rows() > 4 ? 2100 : 2190;
    m_monFlex1->setColWidthTwips(2, ratingWidth);
    m_monFlex1->setColWidthTwips(3, ratingWidth);
    const int criteriaWidths[4] = {4150, 390, 4150, 390};
    for (int c = 0; c < 4; ++c)
        m_monFlex2->setColWidthTwips(c, criteriaWidths[c]);
    // As at the start: no criterion cut short in the font in use.
    fitCriteriaColumns();

    for (const settings::SpellingOptionDefinition &option : settings::kSpellingOptions)
        m_preferences.writeSpellingOption(option, option.restoredValue);
    applySpellingOptions();

    m_alwaysOnTopSetting = QStringLiteral("N");
    menuItem("mnuAlwaysOnTop")->setChecked(false);
    SetWindowTopMost(false);

    m_fontSizeSetting = QStringLiteral("Small");
    for (const FontSize &size : FontSizes) {
        if (m_fontSizeSetting == QLatin1String(size.name)) {
            m_cmbFontSize->setCurrentText(m_fontSizeSetting);
            m_currentFontSizeName = m_fontSizeSetting;
            QFont font = m_txtMonitorComments->font();
            font.setPointSize(size.points);
            m_txtMonitorComments->setFont(font);
            break;
        }
    }
    m_cmbFontSize->setCurrentText(m_fontSizeSetting);
    m_currentFontSizeName = m_fontSizeSetting;
}
