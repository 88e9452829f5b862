// The grids' captions and columns as designed, and whole texts in the font in use: the form was
// designed for a narrow 8.25-point sans serif, and a wider font (another family, a larger text
// scale) must not cut a label or a criterion short. Where a text fits, the design's geometry
// stays.
#include "fontsizelist.h"
#include "formlayout.h"
#include "twips.h"

#include "monitorgrid.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>

namespace {

const char *const kStudentHeaders[4] = {"Student Name ", "Grade ", "Summary/feedback ",
                                        "Script Comments "};
const char *const kLeftCriteria[6] = {
    "1) Acknowledges good work ",
    "2) Uses a friendly/personal tone ",
    "3) Provides encouragement and support ",
    "4) Provides a summary of strengths and weaknesses ",
    "5) Suggests ways of improving future work ",
    "6) Course specific criteria ",
};
const char *const kRightCriteria[9] = {
    "7) Comments Positively on good points ",
    "8) Corrects and explains errors or omissions ",
    "9) Identifies and explains irrelevant material ",
    "10) Makes clear and constructive comments ",
    "11) Directs student to course and other relevant materials ",
    "12) Clearly explains where marks were gained or lost ",
    "13) Identifies excessive or insufficient length ",
    "14) Comments on communication skills ",
    "15) Course specific criteria ",
};

// The room between two labels that the design leaves between the tutor and the course.
constexpr int kLabelGapTwips = 90;

// At least as wide and high as the label's text needs; a label that would then reach `neighbour`
// grows to the left instead.
void showWhole(QLabel *label, const QWidget *neighbour, int gap)
{
    QRect r = label->geometry();
    const QSize needed = label->sizeHint();
    r.setWidth(qMax(r.width(), needed.width()));
    r.setHeight(qMax(r.height(), needed.height()));
    if (neighbour && r.right() + gap >= neighbour->x())
        r.moveRight(neighbour->x() - gap - 1);
    label->setGeometry(r);
}

} // namespace

void FormLayout::layOutGrids()
{
    const int studentWidths[4] = {2500, 2190, 2100, 2100};
    m_studentGrid->setCols(5);
    m_studentGrid->setFixedRows(1);
    m_studentGrid->setRows(1);
    for (int c = 0; c < 4; ++c)
        m_studentGrid->setColWidthTwips(c, studentWidths[c]);
    for (int c = 0; c < 4; ++c)
        m_studentGrid->setTextMatrix(0, c, QString::fromLatin1(kStudentHeaders[c]));

    const int criteriaWidths[4] = {4150, 390, 4150, 390};
    m_criteriaGrid->setFixedRows(0);
    m_criteriaGrid->setRows(10);
    m_criteriaGrid->setCols(4);
    for (int c = 0; c < 4; ++c)
        m_criteriaGrid->setColWidthTwips(c, criteriaWidths[c]);
    m_criteriaGrid->setTextMatrix(0, 0, QStringLiteral("SUMMARY AND FEEDBACK (PT3)"));
    m_criteriaGrid->setTextMatrix(0, 2, QStringLiteral("SCRIPT COMMENTS"));
    for (int r = 1; r <= 9; ++r) {
        if (r <= 6)
            m_criteriaGrid->setTextMatrix(r, 0, QString::fromLatin1(kLeftCriteria[r - 1]));
        m_criteriaGrid->setTextMatrix(r, 2, QString::fromLatin1(kRightCriteria[r - 1]));
    }
    fitTextToFont();
}

void FormLayout::fitTextToFont()
{
    const int gap = Twips(&m_window).toPixelsX(kLabelGapTwips);
    for (const char *name : {"Label24", "Label18"})
        showWhole(m_formFrame->findChild<QLabel *>(QLatin1String(name)), nullptr, gap);
    showWhole(m_formFrame->findChild<QLabel *>(QStringLiteral("Label1")), m_fontSizeList, gap);

    // The grid grows only when its two caption columns together do not fit, and never scrolls.
    MonitorGrid *grid = m_criteriaGrid;
    fitCriteriaColumns();
    int gridWidth = 2 * grid->frameWidth();
    for (int c = 0; c < 4; ++c)
        gridWidth += grid->columnWidth(c);
    const int gridHeight = 2 * grid->frameWidth() + grid->rows() * grid->rowHeight(0);
    m_textRoom = QSize(qMax(0, gridWidth - grid->width()), qMax(0, gridHeight - grid->height()));
    grid->resize(grid->size() + m_textRoom);

    // The header's frames keep to the grid's width; what lies below the grid moves down.
    for (const char *name : {"Frame2", "Frame3"}) {
        auto *headerFrame = m_formFrame->findChild<QFrame *>(QLatin1String(name));
        headerFrame->resize(headerFrame->width() + m_textRoom.width(), headerFrame->height());
    }
    for (QWidget *below : std::initializer_list<QWidget *>{
             m_formFrame->findChild<QLabel *>(QStringLiteral("Label18")),
             m_formFrame->findChild<QLabel *>(QStringLiteral("Label1")), m_fontSizeList,
             m_commentsBox})
        below->move(below->x(), below->y() + m_textRoom.height());
}

// The criteria columns: each caption column as wide as its longest criterion. A column whose
// captions fit keeps its width unless the other needs the room.
void FormLayout::fitCriteriaColumns()
{
    MonitorGrid *grid = m_criteriaGrid;
    const auto *view = static_cast<const QAbstractItemView *>(grid); // the hint is public there
    std::array<int, 4> widths{};
    for (int c = 0; c < 4; ++c)
        widths[c] = grid->columnWidth(c);
    const int needLeft = view->sizeHintForColumn(0);
    const int needRight = view->sizeHintForColumn(2);
    if (needLeft <= widths[0] && needRight <= widths[2])
        return;
    int spare =
        grid->width() - 2 * grid->frameWidth() - widths[1] - widths[3] - needLeft - needRight;
    for (const auto &[col, need] : {std::pair(0, needLeft), std::pair(2, needRight)}) {
        const int width = qMax(need, qMin(widths[col], need + qMax(spare, 0)));
        spare -= width - need;
        grid->setColumnWidth(col, width);
    }
}

// A window narrower than the grown grid would cut the ratings off: it is widened just enough.
// Nothing changes where the design's font fits.
void FormLayout::makeRoomForGrownText()
{
    if (m_textRoom.width() == 0)
        return;
    const int gridRight = m_criteriaGrid->mapTo(&m_window, QPoint(m_criteriaGrid->width(), 0)).x();
    const int missing = gridRight + Twips(&m_window).toPixelsX(kLabelGapTwips) - m_window.width();
    if (missing <= 0)
        return;
    // Through the placement, which would otherwise put the stored width back once framed.
    QRect placement = m_placementTwips;
    placement.setWidth(placement.width() + Twips(&m_window).fromPixelsX(missing));
    setOuterGeometryTwips(placement);
}

void FormLayout::fitHeaderLabels(const QString &name)
{
    const std::array<QLabel *, 3> labels = {m_tutorLabel, m_courseLabel, m_regionLabel};
    if (m_headerDesign[0].isNull()) {
        for (size_t i = 0; i < labels.size(); ++i)
            m_headerDesign[i] = labels[i]->geometry();
    }
    const int gap = Twips(&m_window).toPixelsX(kLabelGapTwips);
    const int limit = m_tutorLabel->parentWidget()->contentsRect().right() + 1;

    // Left to right: each label at its place unless the one before pushes it, as wide as
    // designed unless that would reach the next one, never narrower than its text. Answers by
    // how much the last one passes the header's edge.
    const auto layOut = [&] {
        int right = 0;
        for (size_t i = 0; i < labels.size(); ++i) {
            QRect r = m_headerDesign[i];
            if (i > 0)
                r.moveLeft(qMax(r.left(), right + gap));
            const int next = i + 1 < labels.size() ? m_headerDesign[i + 1].left() - gap : limit;
            const QSize needed = labels[i]->sizeHint();
            r.setWidth(qMax(needed.width(), qMin(r.width(), next - r.left())));
            r.setHeight(qMax(r.height(), needed.height()));
            labels[i]->setGeometry(r);
            right = r.left() + r.width();
        }
        return right - limit;
    };

    // Only the tutor's name gives way, never the staff number or " (New)"; the label's tooltip
    // then holds the whole line.
    const QString whole = m_tutorLabel->text();
    m_tutorLabel->setToolTip(QString());
    const qsizetype at = name.isEmpty() ? -1 : whole.lastIndexOf(name);
    const QFontMetrics metrics = m_tutorLabel->fontMetrics();
    int nameWidth = metrics.horizontalAdvance(name);
    for (int overflow = layOut(); overflow > 0 && at >= 0 && nameWidth > 0; overflow = layOut()) {
        nameWidth = qMax(0, nameWidth - overflow);
        m_tutorLabel->setText(QString(whole).replace(
            at, name.size(), metrics.elidedText(name, Qt::ElideRight, nameWidth)));
        m_tutorLabel->setToolTip(whole);
    }
}

QString FormLayout::tutorLine() const
{
    return m_tutorLabel->toolTip().isEmpty() ? m_tutorLabel->text() : m_tutorLabel->toolTip();
}
