// The comments box's font size: stored by name, chosen from the font size list.
#include "fontsizelist.h"
#include "formlayout.h"

#include <QPlainTextEdit>

using settings::Pref;

namespace {

void setPointSize(QWidget *box, int points)
{
    QFont font = box->font();
    font.setPointSize(points);
    box->setFont(font);
}

} // namespace

void FormLayout::readFontSizeSetting()
{
    m_fontSizeSetting = m_preferences.read(Pref::FontSize);
}

void FormLayout::fillFontSizeList()
{
    m_fontListReady = false;
    m_fontSizeList->clear();
    // A stored size the list does not offer (typed in by an older version, or by hand) is the
    // default.
    size_t chosen = 0;
    for (size_t i = 0; i < FontSizes.size(); ++i) {
        m_fontSizeList->addItem(QString::fromLatin1(FontSizes[i].name));
        if (m_fontSizeSetting == QLatin1String(FontSizes[i].name))
            chosen = i;
    }
    setPointSize(m_commentsBox, FontSizes[chosen].points);
    m_fontSizeList->setCurrentIndex(int(chosen));
    m_fontSizeSetting = m_currentFontSizeName = m_fontSizeList->currentText();
    m_fontListReady = true;
}

void FormLayout::applyChosenFontSize()
{
    if (!m_fontListReady)
        return;
    const QString chosen = m_fontSizeList->currentText();
    if (chosen == m_currentFontSizeName)
        return;
    const FontSize &size = fontSizeNamed(chosen);
    setPointSize(m_commentsBox, size.points);
    m_currentFontSizeName = QString::fromLatin1(size.name);
    // Up and Down go on through the sizes: a choice from the keyboard keeps the focus here.
    if (!m_fontSizeList->chosenWithKeyboard())
        m_commentsBox->setFocus();
}

void FormLayout::restoreDefaultFontSize()
{
    m_fontSizeSetting = m_currentFontSizeName = QStringLiteral("Small");
    m_fontSizeList->setCurrentText(m_fontSizeSetting);
    setPointSize(m_commentsBox, fontSizeNamed(m_fontSizeSetting).points);
}
