#include "monitorgrid.h"

#include <QApplication>
#include <QRegularExpression>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// The student grid's shape: one fixed row over two rows of three cells.
void fill(MonitorGrid &grid)
{
    grid.setCols(3);
    grid.setFixedRows(1);
    for (int col = 0; col < 3; ++col)
        grid.setTextMatrix(0, col, QStringLiteral("h%1").arg(col));
    grid.addRow({"a0", "a1", "a2"});
    grid.addRow({"b0", "b1", "b2"});
}

bool showFocused(MonitorGrid &grid, int moreRows = 0)
{
    fill(grid);
    for (int i = 0; i < moreRows; ++i)
        grid.addRow({});
    grid.resize(400, 300);
    grid.show();
    if (!QTest::qWaitForWindowActive(&grid))
        return false;
    grid.setFocus();
    grid.setCurrentCell(1, 1);
    return grid.hasFocus();
}

// Keys go where a person's would: to the widget holding the focus at that moment.
void type(const char *text)
{
    for (; *text; ++text)
        QTest::keyClick(QApplication::focusWidget(), *text);
}

void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

class MonitorGridTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fixedRowIsTheHeaderAndStaysRowZero();
    void rowsAndTextsKeepTheirPlaces();
    void geometryIsInTwipsAt96Dpi();
    void clipTextJoinsSelectedVisibleCells();
    void contentsChangedReportsProgramChanges();
    void beforeEditCancelKeepsTheEditorClosed();
    void movingTheCursorCommitsTheEdit();
    void escapeCancelsTheEdit();
    void validateEditCancelKeepsEditorAndCell();
    void keyPressInEditorSwallowsOrReplaces();
    void listColumnOffersEntriesAndCommitsAChoice();
};

void MonitorGridTest::init()
{
    // Qt's complaint when an editor is committed twice.
    QTest::failOnWarning(QRegularExpression("commitData called with an editor"));
}

void MonitorGridTest::fixedRowIsTheHeaderAndStaysRowZero()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid, 40));
    QCOMPARE(grid.rows(), 43);
    QCOMPARE(grid.textMatrix(0, 2), "h2");
    QCOMPARE(grid.textMatrix(1, 2), "a2");

    grid.setCurrentCell(0, 0);
    QCOMPARE(grid.row(), 1);
    press(Qt::Key_Up);
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(grid.row(), 1);
    QCOMPARE(grid.mouseRow(), 0);
    grid.selectAll();
    QVERIFY(!grid.clipText().contains("h0"));

    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    QVERIFY(grid.verticalScrollBar()->value() > 0);
    QVERIFY(grid.horizontalHeader()->isVisible());
    QCOMPARE(grid.textMatrix(0, 0), "h0");
}

void MonitorGridTest::rowsAndTextsKeepTheirPlaces()
{
    MonitorGrid grid;
    fill(grid);
    grid.setRows(1);
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(grid.textMatrix(0, 1), "h1");
    grid.setRows(3);
    QCOMPARE(grid.textMatrix(2, 0), "");
    grid.addRow({"c0", "c1", "c2", "dropped"});
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.textMatrix(3, 2), "c2");
    QCOMPARE(grid.textMatrix(3, 3), "");

    // The fixed row becomes an ordinary row and back, texts where they were.
    grid.setFixedRows(0);
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.textMatrix(0, 0), "h0");
    grid.setCurrentCell(0, 0);
    QCOMPARE(grid.row(), 0);
    grid.setFixedRows(1);
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.textMatrix(0, 0), "h0");
    QCOMPARE(grid.textMatrix(3, 1), "c1");
}

void MonitorGridTest::geometryIsInTwipsAt96Dpi()
{
    MonitorGrid grid;
    fill(grid);
    QCOMPARE(grid.logicalDpiX(), 96);
    grid.setColWidthTwips(0, 1500);
    QCOMPARE(grid.columnWidth(0), 100);
    QCOMPARE(grid.colWidthTwips(0), 1500);
    grid.setColWidthTwips(1, 1000); // 66.7 px, drawn as 67
    QCOMPARE(grid.columnWidth(1), 67);
    QCOMPARE(grid.colWidthTwips(1), 1005);
    grid.setColHidden(1, true);
    QVERIFY(grid.isColHidden(1));
    QCOMPARE(grid.colWidthTwips(1), 0);
    grid.setColHidden(1, false);
    QCOMPARE(grid.colWidthTwips(1), 1005);

    // A text cut short by its column shows whole in the cell's tooltip.
    grid.setTextMatrix(1, 0, QStringLiteral("Montgomery-Vanderbilt-Okonkwo, Alexandra"));
    QCOMPARE(grid.cellToolTip(1, 0), grid.textMatrix(1, 0));
    QCOMPARE(grid.cellToolTip(2, 0), QString());

    grid.setHeightTwips(2400);
    QCOMPARE(grid.height(), 160);
    QCOMPARE(grid.rowHeightTwips(1), grid.rowHeight(0) * 15);
    QCOMPARE(grid.rowHeightTwips(0), grid.rowHeightTwips(1));
}

void MonitorGridTest::clipTextJoinsSelectedVisibleCells()
{
    MonitorGrid grid;
    fill(grid);
    grid.selectAll();
    QCOMPARE(grid.clipText(), "a0\ta1\ta2\rb0\tb1\tb2");
    grid.setColHidden(1, true);
    QCOMPARE(grid.clipText(), "a0\ta2\rb0\tb2");
    grid.clearSelection();
    QCOMPARE(grid.clipText(), "");
}

void MonitorGridTest::contentsChangedReportsProgramChanges()
{
    MonitorGrid grid;
    fill(grid);
    QSignalSpy changed(&grid, &MonitorGrid::contentsChanged);
    grid.setTextMatrix(2, 1, "new");
    grid.setTextMatrix(2, 1, "new"); // no change
    grid.setTextMatrix(0, 2, "head");
    grid.setCellsCentred(0, 0, 2, 2); // alignment is not contents
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0), QVariantList({2, 1}));
    QCOMPARE(changed.at(1), QVariantList({0, 2}));

    grid.addRow({"c0"});
    QCOMPARE(changed.count(), 5);
    QCOMPARE(changed.at(4), QVariantList({3, 2}));

    grid.setNotificationsBlocked(true);
    grid.setTextMatrix(1, 0, "quiet");
    grid.addRow({"d0"});
    grid.setNotificationsBlocked(false);
    {
        const QSignalBlocker blocker(grid);
        grid.setTextMatrix(1, 1, "quiet");
    }
    QCOMPARE(changed.count(), 5);
}

void MonitorGridTest::beforeEditCancelKeepsTheEditorClosed()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    QList<QPoint> asked;
    connect(&grid, &MonitorGrid::beforeEdit, [&](int row, int col, bool *cancel) {
        asked.append({col, row});
        *cancel = true;
    });
    press(Qt::Key_Down); // cursor moves are no edit start
    grid.setCurrentCell(1, 2);
    QVERIFY(asked.isEmpty());

    press(Qt::Key_F2);
    type("b"); // nor does a refused key search for a row starting with it
    const QPoint cell = grid.visualRect(grid.currentIndex()).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(asked, QList<QPoint>({{2, 1}, {2, 1}, {2, 1}}));
    QVERIFY(!grid.isEditing());
    QCOMPARE(grid.row(), 1);
    QCOMPARE(grid.textMatrix(1, 2), "a2");
}

void MonitorGridTest::movingTheCursorCommitsTheEdit()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    QSignalSpy validated(&grid, &MonitorGrid::validateEdit);
    QSignalSpy edited(&grid, &MonitorGrid::editTextChanged);
    type("xy");
    QVERIFY(grid.isEditing());
    QCOMPARE(grid.editText(), "xy");
    QCOMPARE(edited.count(), 2);
    press(Qt::Key_Down);
    QVERIFY(!grid.isEditing());
    QCOMPARE(grid.textMatrix(1, 1), "xy");
    QCOMPARE(grid.row(), 2);
    QCOMPARE(validated.count(), 1);

    type("z");
    grid.setCurrentCell(1, 0);
    QCOMPARE(grid.textMatrix(2, 1), "z");

    type("w");
    const QRect other = grid.visualRect(grid.model()->index(1, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, other.center());
    QCOMPARE(grid.textMatrix(1, 0), "w");
    QCOMPARE(grid.row(), 2);
    QCOMPARE(grid.col(), 2);
    QCOMPARE(validated.count(), 3);
}

void MonitorGridTest::escapeCancelsTheEdit()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    QSignalSpy changed(&grid, &MonitorGrid::contentsChanged);
    QSignalSpy focused(&grid, &MonitorGrid::gotFocus);
    press(Qt::Key_F2);
    QCOMPARE(grid.editText(), "a1");
    type("zz");
    press(Qt::Key_Escape);
    QVERIFY(!grid.isEditing());
    QCOMPARE(grid.textMatrix(1, 1), "a1");
    QVERIFY(changed.isEmpty());
    QVERIFY(grid.hasFocus());
    QVERIFY(focused.isEmpty()); // focus back from the grid's own editor is no new focus
}

void MonitorGridTest::validateEditCancelKeepsEditorAndCell()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    bool refuse = true;
    connect(&grid, &MonitorGrid::validateEdit, [&](int row, int col, bool *cancel) {
        QCOMPARE(QPoint(col, row), QPoint(1, 1));
        *cancel = refuse;
    });
    type("bad");
    press(Qt::Key_Return);
    QVERIFY(grid.isEditing());
    press(Qt::Key_Down);
    grid.setCurrentCell(2, 2);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(1, 0)).center());
    QVERIFY(grid.isEditing());
    QCOMPARE(grid.row(), 1);
    QCOMPARE(grid.col(), 1);
    QCOMPARE(grid.textMatrix(1, 1), "a1");
    QCOMPARE(grid.editText(), "bad");

    refuse = false;
    press(Qt::Key_Return);
    QVERIFY(!grid.isEditing());
    QCOMPARE(grid.textMatrix(1, 1), "bad");
}

void MonitorGridTest::keyPressInEditorSwallowsOrReplaces()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    connect(&grid, &MonitorGrid::keyPressInEditor,
            [](int row, int col, int *keyAscii, Qt::KeyboardModifiers) {
                QCOMPARE(QPoint(col, row), QPoint(1, 1));
                if (*keyAscii == '<')
                    *keyAscii = 0;
                else if (*keyAscii == 'q')
                    *keyAscii = 'Q';
            });
    QStringList seen; // the first key arrives while the editor opens: it must see it too
    connect(&grid, &MonitorGrid::editTextChanged, [&] { seen.append(grid.editText()); });
    type("a<q>");
    QCOMPARE(seen, QStringList({"a", "aQ", "aQ>"}));
}

void MonitorGridTest::listColumnOffersEntriesAndCommitsAChoice()
{
    MonitorGrid grid;
    QVERIFY(showFocused(grid));
    grid.setColComboList(2, " |Lenient|Appropriate|Severe");
    QSignalSpy closed(&grid, &MonitorGrid::comboListClosed);
    QSignalSpy changed(&grid, &MonitorGrid::contentsChanged);
    grid.setTextMatrix(2, 2, "");
    changed.clear();

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(1, 2)).center());
    QVERIFY(grid.isEditing());
    auto *list = grid.viewport()->findChild<QComboBox *>();
    QVERIFY(list);
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->itemText(2), "Appropriate");
    QVERIFY(list->view()->isVisible());
    QCOMPARE(grid.editText(), ""); // the empty cell shows the blank entry, and stays empty

    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    QVERIFY(!grid.isEditing());
    QCOMPARE(grid.textMatrix(2, 2), "Appropriate");
    QCOMPARE(changed.count(), 1);
    QTRY_COMPARE(closed.count(), 1);
}

QTEST_MAIN(MonitorGridTest)
#include "monitorgrid_test.moc"
