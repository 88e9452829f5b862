// Editing in the two grids: which cells open, what a rating may hold, and when the form changes.
#include "monformentry.h"

#include "monitorgrid.h"

namespace {

const QString kGradeList = QStringLiteral(" |Lenient|Appropriate|Severe|Inconsistent");
const QString kRatingList = QStringLiteral(" |Excellent (E)|Good (G)|Scope For Improvement (I)");
const QString kRefusedInRatings = QStringLiteral("\"<>\\/'&");

bool holdsRefusedCharacter(const QString &text)
{
    for (const QChar c : kRefusedInRatings) {
        if (text.contains(c))
            return true;
    }
    return false;
}

bool isListEntry(const QString &list, const QString &text)
{
    return list.split(u'|').contains(text);
}

} // namespace

bool isAcceptedRating(const QString &text)
{
    // A grid cell's editor takes one line: no control character comes from typing.
    return !holdsRefusedCharacter(text) && std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
}

bool isGradeListEntry(const QString &text)
{
    return isListEntry(kGradeList, text);
}

bool isRatingListEntry(const QString &text)
{
    return isListEntry(kRatingList, text);
}

void MonFormEntry::connectGrids()
{
    MonitorGrid *criteria = m_criteriaGrid;
    connect(criteria, &MonitorGrid::beforeEdit, this, [criteria](int, int, bool *cancel) {
        const int row = criteria->row();
        const int col = criteria->col();
        *cancel = row == 0 || col == 0 || col == 2 || (col == 1 && row >= 7);
    });
    connect(criteria, &MonitorGrid::contentsChanged, this, [this] { storeRating(); });
    connect(criteria, &MonitorGrid::keyDownInGrid, this, [this, criteria] {
        if (criteria->col() != 0 && criteria->col() != 2)
            MarkMonitorChanged();
    });
    connect(criteria, &MonitorGrid::keyPressInEditor, this, [this] { MarkMonitorChanged(); });
    connect(criteria, &MonitorGrid::editTextChanged, this, [this] { MarkMonitorChanged(); });

    MonitorGrid *students = m_studentGrid;
    connect(students, &MonitorGrid::gotFocus, this, [students] {
        students->setColComboList(3, kRatingList);
        students->setColComboList(2, kRatingList);
        students->setColComboList(1, kGradeList);
    });
    connect(students, &MonitorGrid::beforeEdit, this,
            [students](int, int, bool *cancel) { *cancel = students->col() == 0; });
    connect(students, &MonitorGrid::editTextChanged, this, [this] { MarkMonitorChanged(); });
    connect(students, &MonitorGrid::validateEdit, this, [this] { MarkMonitorChanged(); });
    connect(students, &MonitorGrid::comboListClosed, this, [students] {
        // Moving away and back ends the edit, so the chosen entry stands in the cell at once.
        const int row = students->row();
        const int col = students->col();
        students->setCurrentCell(1, 1);
        students->setCurrentCell(row, col);
    });
}

// Every change of a rating cell ends up in its flag; an emptied rating, or one holding a
// character the file's markup cannot take, becomes a single blank.
void MonFormEntry::storeRating()
{
    MonitorGrid *grid = m_criteriaGrid;
    const int row = grid->row();
    const int col = grid->col();
    if (grid->currentText().isEmpty())
        grid->setCurrentText(QStringLiteral(" "));
    if (holdsRefusedCharacter(grid->currentText())) {
        grid->setEditText(QString());
        grid->setCurrentText(QStringLiteral(" ")); // comes back through this rule and is stored
        return;
    }
    int flag = 0;
    if (col == 1 && row >= 1 && row <= 6)
        flag = row;
    else if (col == 3 && row >= 1 && row <= 9)
        flag = row + 6;
    if (flag > 0)
        m_flags[flag - 1] = grid->currentText();
}
