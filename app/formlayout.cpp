// The form's place and size: stored and restored in twips with the outer frame, kept on a
// screen, and the controls kept in reach as the window is resized.
#include "formlayout.h"
#include "fontsizelist.h"
#include "frameplacement.h"
#include "twips.h"

#include "monitorgrid.h"
#include "textvalues.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScreen>

using settings::Pref;

namespace {

// A stored placement as a whole number of twips: its leading number, halves to even.
int placementValue(const QString &text)
{
    return monitorfile::wholeNumberValue(text.toLatin1());
}

} // namespace

FormLayout::FormLayout(const Controls &controls, settings::Preferences &preferences)
    : m_window(*controls.window), m_formFrame(controls.formFrame),
      m_tutorLabel(controls.tutorLabel), m_courseLabel(controls.courseLabel),
      m_regionLabel(controls.regionLabel), m_studentGrid(controls.studentGrid),
      m_criteriaGrid(controls.criteriaGrid), m_fontSizeList(controls.fontSizeList),
      m_commentsBox(controls.commentsBox), m_preferences(preferences),
      m_framePlacement(new FramePlacement(m_window))
{
    QObject::connect(m_fontSizeList, &QComboBox::activated, m_fontSizeList,
                     [this] { applyChosenFontSize(); });
}

void FormLayout::layOutAsDesigned()
{
    QRect placement = outerGeometryTwips();
    placement.setHeight(6500);
    setOuterGeometryTwips(placement);
    layOutGrids();
}

void FormLayout::applyPlacement()
{
    QRect placement = outerGeometryTwips();
    m_formTopText = m_preferences.read(Pref::FormTop);
    if (!m_formTopText.isEmpty())
        placement.moveTop(placementValue(m_formTopText));
    m_formLeftText = m_preferences.read(Pref::FormLeft);
    if (!m_formLeftText.isEmpty())
        placement.moveLeft(placementValue(m_formLeftText));
    m_formHeightText = m_preferences.read(Pref::FormHeight);
    if (!m_formHeightText.isEmpty())
        placement.setHeight(placementValue(m_formHeightText));
    m_formWidthText = m_preferences.read(Pref::FormWidth);
    if (!m_formWidthText.isEmpty())
        m_formWidthValue = placementValue(m_formWidthText);

    const bool normal = !(m_window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    if (normal && m_formWidthValue > 0)
        placement.setWidth(placementValue(m_formWidthText));
    keepOnAScreen(placement);
    setOuterGeometryTwips(placement);
}

// A place stored on a screen that is no longer there (a second monitor unplugged, a smaller
// remote desktop) or a damaged setting would leave the form out of sight: such a form starts at
// the main screen's top left corner instead. A form partly on a screen stays where it was.
void FormLayout::keepOnAScreen(QRect &placement) const
{
    const Twips twips(&m_window);
    const QRect pixels(twips.toPixelsX(placement.left()), twips.toPixelsY(placement.top()),
                       twips.toPixelsX(placement.width()), twips.toPixelsY(placement.height()));
    // Enough of the title bar to take hold of the window.
    constexpr int kGrip = 40;
    const QRect titleBar(pixels.left(), pixels.top(), qMax(pixels.width(), 1), kGrip);
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool seen = std::any_of(screens.begin(), screens.end(), [&](const QScreen *screen) {
        const QRect overlap = screen->availableGeometry().intersected(titleBar);
        return overlap.width() >= kGrip && overlap.height() >= kGrip / 2;
    });
    if (!seen && !screens.isEmpty()) {
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        placement.moveTopLeft(QPoint(twips.fromPixelsX(corner.x()), twips.fromPixelsY(corner.y())));
    }
}

QRect FormLayout::outerFrame() const
{
    return m_framePlacement->frameGeometry();
}

int FormLayout::frameCorrections() const
{
    return m_framePlacement->corrections();
}

QRect FormLayout::outerGeometryTwips() const
{
    const Twips twips(&m_window);
    const QRect frame = outerFrame();
    return {twips.fromPixelsX(frame.x()), twips.fromPixelsY(frame.y()),
            twips.fromPixelsX(frame.width()), twips.fromPixelsY(frame.height())};
}

void FormLayout::setOuterGeometryTwips(const QRect &placement)
{
    // The frame (title bar and borders) is part of the stored size, as the suite stores it.
    const Twips twips(&m_window);
    m_placementTwips = placement;
    m_framePlacement->place(
        twips.toPixels(placement.left(), placement.top(), placement.width(), placement.height()));
}

QRect FormLayout::placementToStore() const
{
    // Unmoved or unresized, the form keeps the very numbers it was placed by, which a whole
    // number of pixels may not give back.
    QRect placement = outerGeometryTwips();
    if (m_framePlacement->positionAsPlaced())
        placement.moveTopLeft(m_placementTwips.topLeft());
    if (m_framePlacement->sizeAsPlaced())
        placement.setSize(m_placementTwips.size());
    return placement;
}

void FormLayout::applyResizeRule()
{
    const Twips twips(&m_window);
    const QRect outer = outerGeometryTwips();
    const int frameHeight = roundToWhole16(outer.height() - 10.0);
    const int boxHeight = qMax(0, roundToWhole16(outer.height() - 5800.0));
    m_commentsBox->resize(twips.toPixelsX(outer.width() - 100), m_commentsBox->height());
    m_formFrame->resize(m_window.centralWidget()->width(), twips.toPixelsY(frameHeight));
    // The box gives up what the criteria grid grew by for a wider font.
    m_commentsBox->resize(m_commentsBox->width(),
                          qMax(0, twips.toPixelsY(boxHeight) - m_textRoom.height()));
    keepEveryControlInReach();
}

// A window made small would cut the ratings off and leave the comments no room: it keeps the
// size at which every control shows, with three lines of comments.
void FormLayout::keepEveryControlInReach()
{
    constexpr int kEdgeTwips = 90;
    const Twips twips(&m_window);
    int width = 0;
    for (const QWidget *control :
         {static_cast<QWidget *>(m_criteriaGrid), static_cast<QWidget *>(m_fontSizeList)})
        width = qMax(width, control->mapTo(&m_window, QPoint(control->width(), 0)).x());
    const int box =
        3 * m_commentsBox->fontMetrics().lineSpacing() + 2 * m_commentsBox->frameWidth();
    // The resize rule works on the outer height, frame included.
    const int frame = outerFrame().height() - m_window.height();
    m_window.setMinimumSize(width + twips.toPixelsX(kEdgeTwips),
                            twips.toPixelsY(5800) + m_textRoom.height() + box - frame);
}

void FormLayout::storePlacementAndFontSize()
{
    const QRect placement = placementToStore();
    m_formLeftText = QString::number(placement.left());
    m_formTopText = QString::number(placement.top());
    m_formHeightText = QString::number(placement.height());
    m_formWidthText = QString::number(placement.width());
    m_preferences.write(Pref::FormLeft, m_formLeftText);
    m_preferences.write(Pref::FormTop, m_formTopText);
    m_preferences.write(Pref::FormHeight, m_formHeightText);
    m_preferences.write(Pref::FormWidth, m_formWidthText);
    m_fontSizeSetting = m_fontSizeList->currentText();
    m_preferences.write(Pref::FontSize, m_fontSizeSetting);
}

void FormLayout::restoreDesign()
{
    m_window.setWindowState(m_window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    setOuterGeometryTwips(QRect(0, 0, 9600, 6705));

    m_studentGrid->setColWidthTwips(0, 2500);
    m_studentGrid->setColWidthTwips(1, 2190);
    const int ratingWidth = m_studentGrid->rows() > 4 ? 2100 : 2190;
    m_studentGrid->setColWidthTwips(2, ratingWidth);
    m_studentGrid->setColWidthTwips(3, ratingWidth);
    const int criteriaWidths[4] = {4150, 390, 4150, 390};
    for (int c = 0; c < 4; ++c)
        m_criteriaGrid->setColWidthTwips(c, criteriaWidths[c]);
    // As at the start: no criterion cut short in the font in use.
    fitCriteriaColumns();
}
