// Editing the monitoring form: the grids, the comments box and the clipboard commands.
#include "formfixture.h"

#include "monitorgrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

class MonFormEditingTest : public QObject, public FormFixture
{
    Q_OBJECT

private:
    std::unique_ptr<MonFormEntry> m_form;

    MonitorGrid *grid(const char *name) const
    {
        return m_form->findChild<MonitorGrid *>(QLatin1String(name));
    }
    QPlainTextEdit *comments() const
    {
        return m_form->findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    }
    bool changed() const
    {
        return m_settings.pref(QStringLiteral("MonitorChanges")) == QLatin1String("True");
    }
    void forgetChanges()
    {
        m_settings.values.remove(QStringLiteral("rerododurevidedazirez/prefs/monitorchanges"));
    }
    bool enabled(const char *item, int button) const
    {
        const bool a = m_form->menuItem(item)->isEnabled();
        const bool b = m_form->toolbarButton(button)->isEnabled();
        return a && b;
    }

private slots:
    void init()
    {
        resetFakes();
        m_form = startForm(fixture(QStringLiteral("laid_out.fhi")));
        QVERIFY(m_loaded);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QApplication::clipboard()->clear();
    }

    void startUpMarksNothing()
    {
        QVERIFY(!m_settings.hasPref(QStringLiteral("MonitorChanges")));
        QCOMPARE(m_form->flags()[0], QStringLiteral("E"));
        QCOMPARE(m_form->flags()[2], QString());
        QVERIFY(!m_form->menuItem("mnuSave")->isEnabled());
    }

    void ratingsReachTheirFlags()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setCurrentCell(4, 3);
        criteria->setCurrentText(QStringLiteral("G"));
        QCOMPARE(m_form->flags()[9], QStringLiteral("G"));
        criteria->setCurrentCell(2, 1);
        criteria->setCurrentText(QString());
        QCOMPARE(criteria->textMatrix(2, 1), QStringLiteral(" "));
        QCOMPARE(m_form->flags()[1], QStringLiteral(" "));
        for (const QString &bad :
             {QStringLiteral("E&"), QStringLiteral("<"), QStringLiteral("a/b"), QStringLiteral("'"),
              QStringLiteral("\"x"), QStringLiteral("\\")}) {
            criteria->setCurrentCell(3, 1);
            criteria->setCurrentText(bad);
            QCOMPARE(criteria->textMatrix(3, 1), QStringLiteral(" "));
            QCOMPARE(m_form->flags()[2], QStringLiteral(" "));
        }
        QVERIFY(!changed()); // the program's own changes are not the monitor's edits
    }

    void typingARatingMarksTheFormChanged()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setFocus();
        criteria->setCurrentCell(4, 3);
        QTest::keyClicks(criteria, QStringLiteral("G"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(m_form->flags()[9], QStringLiteral("G"));
        QVERIFY(changed());
        QVERIFY(enabled("mnuSave", 1));
    }

    void refusedCellsOpenNoEditor()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        // (column, row): a half title, a criterion's text on each side, a left cell below six.
        for (const QPoint cell : {QPoint(1, 0), QPoint(0, 2), QPoint(2, 3), QPoint(1, 8)}) {
            criteria->setCurrentCell(cell.y(), cell.x());
            QVERIFY(!criteria->editCurrentCell());
        }
        MonitorGrid *students = grid("MonFlex1");
        students->setCurrentCell(1, 0);
        QVERIFY(!students->editCurrentCell());
        QVERIFY(!changed());
    }

    void arrowKeysMarkOnlyInRatingColumns()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setFocus();
        criteria->setCurrentCell(2, 0);
        QTest::keyClick(criteria, Qt::Key_Down);
        QVERIFY(!changed());
        criteria->setCurrentCell(2, 1);
        QTest::keyClick(criteria, Qt::Key_Down);
        QVERIFY(changed());
    }

    void choosingFromAStudentListMarksAndStands()
    {
        MonitorGrid *students = grid("MonFlex1");
        students->setFocus(); // applies the lists
        students->setCurrentCell(1, 1);
        QVERIFY(students->editCurrentCell());
        auto *list = students->findChild<QComboBox *>();
        QVERIFY(list);
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        QCOMPARE(entries, (QStringList{QStringLiteral(" "), QStringLiteral("Lenient"),
                                       QStringLiteral("Appropriate"), QStringLiteral("Severe"),
                                       QStringLiteral("Inconsistent")}));
        students->setEditText(QStringLiteral("Severe"));
        QVERIFY(students->finishEditing());
        QCOMPARE(students->textMatrix(1, 1), QStringLiteral("Severe"));
        QVERIFY(changed());
        QVERIFY(enabled("mnuSave", 1));
    }

    void leftClicksEnableCopy()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        const QPoint inside = criteria->viewport()->rect().center();
        QTest::mouseClick(criteria->viewport(), Qt::RightButton, {}, inside);
        QVERIFY(!m_form->menuItem("mnuCopy")->isEnabled());
        QTest::mouseClick(criteria->viewport(), Qt::LeftButton, {}, inside);
        QVERIFY(enabled("mnuCopy", 4));
    }

    void studentGridClicksFollowTheCurrentRow()
    {
        MonitorGrid *students = grid("MonFlex1");
        QTest::mouseClick(students->viewport(), Qt::LeftButton, {},
                          students->visualItemRect(students->item(0, 1)).center());
        QVERIFY(enabled("mnuCopy", 4));

        // Without student rows there is no current row, so a click leaves Copy as it was.
        students->setRows(1);
        QTest::mouseClick(students->viewport(), Qt::LeftButton, {},
                          students->viewport()->rect().center());
        QVERIFY(enabled("mnuCopy", 4));
    }

    void clipboardCommandsFollowTheFocus()
    {
        QApplication::clipboard()->setText(QStringLiteral("waiting"));
        QPlainTextEdit *box = comments();
        box->setFocus();
        QVERIFY(enabled("mnuPaste", 5)); // at once, before any key
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(enabled("mnuCopy", 4) && enabled("mnuCut", 3));

        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setFocus();
        for (const auto &[item, button] :
             {std::pair("mnuCut", 3), std::pair("mnuCopy", 4), std::pair("mnuPaste", 5)}) {
            QVERIFY2(!m_form->menuItem(item)->isEnabled(), item);
            QVERIFY2(!m_form->toolbarButton(button)->isEnabled(), item);
        }
        QTest::mouseClick(criteria->viewport(), Qt::LeftButton, {},
                          criteria->viewport()->rect().center());
        QVERIFY(enabled("mnuCopy", 4));
    }

    void commentsBoxEditsAndClipboard()
    {
        QPlainTextEdit *box = comments();
        box->setPlainText(QStringLiteral("one two three"));
        QVERIFY(changed());
        box->setFocus();
        QVERIFY(!m_form->menuItem("mnuPaste")->isEnabled()); // empty clipboard
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(4);
        box->setTextCursor(cursor);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        // Paste follows the clipboard: there is nothing to paste yet.
        QVERIFY(enabled("mnuCopy", 4) && enabled("mnuCut", 3) && !enabled("mnuPaste", 5));
        forgetChanges();
        m_form->menuItem("mnuCut")->trigger();
        QCOMPARE(box->toPlainText(), QStringLiteral("one  three"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("two"));
        QVERIFY(changed());
        QVERIFY(!enabled("mnuCopy", 4) && !enabled("mnuCut", 3) && enabled("mnuPaste", 5));
        QTest::keyClick(box, Qt::Key_End);
        QVERIFY(!m_form->menuItem("mnuCopy")->isEnabled());
        QVERIFY(m_form->menuItem("mnuPaste")->isEnabled());
        m_form->menuItem("mnuPaste")->trigger();
        QCOMPARE(box->toPlainText(), QStringLiteral("one  threetwo"));

        grid("MonFlex2")->setFocus();
        QVERIFY(!m_form->menuItem("mnuPaste")->isEnabled() &&
                !m_form->toolbarButton(5)->isEnabled());
    }

    void theEditMenuKeepsTheCommandsAndTheKeysAreTheCommands()
    {
        m_processes.names.append(QStringLiteral("MonitorForm")); // each change looks for the window
        QApplication::clipboard()->setText(QStringLiteral("waiting")); // something to paste
        QPlainTextEdit *box = comments();
        box->setPlainText(QStringLiteral("one two three"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        auto *edit = m_form->findChild<QMenu *>(QStringLiteral("mnuEdit"));
        edit->popup(m_form->mapToGlobal(QPoint(0, 0))); // the box loses the focus to it
        QTRY_VERIFY(edit->isVisible());
        QVERIFY(enabled("mnuCut", 3) && enabled("mnuCopy", 4) && enabled("mnuPaste", 5));
        edit->close();
        for (const auto &[key, text] :
             {std::pair(Qt::Key_X, "one three"), std::pair(Qt::Key_V, "one two three")}) {
            m_windows.searched.clear();
            QTest::keyClick(box, key, Qt::ControlModifier);
            QCOMPARE(box->toPlainText(), QLatin1String(text));
            QCOMPARE(m_windows.searched.size(), 2); // the box's change, then the command's own
        }
        QTest::keyClick(box, Qt::Key_End); // without Ctrl, so that no later test sees it down
    }

    void copyTakesTheGridsSelectedCells()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setFocus();
        criteria->setCurrentCell(1, 0);
        QTest::keyClick(criteria, Qt::Key_Right, Qt::ShiftModifier);
        m_form->toolbarButton(4)->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("1) Acknowledges good work \tE"));
    }

    // Each command, from the toolbar whatever its enabled state, acts on the focused control
    // only as far as it allows; none empties the clipboard for nothing.
    void clipboardCommandsActOnTheFocusedControl_data()
    {
        QTest::addColumn<QString>("control"); // a grid, or the comments box
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("clipboard"); // null: the grid's current cell
        const QString kept = QStringLiteral("kept");
        for (const char *grid : {"MonFlex1", "MonFlex2"}) {
            QTest::addRow("%s, cut", grid) << grid << 3 << kept;
            QTest::addRow("%s, copy", grid) << grid << 4 << QString();
            QTest::addRow("%s, paste", grid) << grid << 5 << kept;
        }
        QTest::newRow("box, nothing selected, cut") << "box" << 3 << kept;
        QTest::newRow("box, nothing selected, copy") << "box" << 4 << kept;
        QTest::newRow("box, paste") << "box" << 5 << kept;
    }
    void clipboardCommandsActOnTheFocusedControl()
    {
        QFETCH(QString, control);
        QFETCH(int, button);
        QFETCH(QString, clipboard);
        comments()->setPlainText(QStringLiteral("one two"));
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        QWidget *focused = grid(control.toLatin1().constData());
        if (auto *cells = qobject_cast<MonitorGrid *>(focused)) {
            cells->setCurrentCell(1, cells == grid("MonFlex1") ? 0 : 1);
            clipboard = clipboard.isNull() ? cells->currentText() : clipboard;
        }
        (focused ? focused : comments())->setFocus();
        QVERIFY(!focused || !(enabled("mnuCut", 3) || enabled("mnuPaste", 5)));
        forgetChanges();
        m_form->clickToolbarButton(button);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        const bool pasted = !focused && button == 5;
        QCOMPARE(comments()->toPlainText(),
                 pasted ? QStringLiteral("keptone two") : QStringLiteral("one two"));
        QCOMPARE(changed(), pasted);
    }

    void saveTakesTheEditedRatingsAndChoices()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setCurrentCell(4, 3);
        criteria->setCurrentText(QStringLiteral("G"));
        grid("MonFlex1")->setTextMatrix(3, 1, QStringLiteral("Severe"));
        m_form->menuItem("mnuSave")->setEnabled(true);
        m_form->menuItem("mnuSave")->trigger();
        const QByteArray saved = tutorFileBytes();
        QVERIFY(saved.contains("<flag10>G</flag10>"));
        QVERIFY(saved.contains("<student_personal_id>C2468013</student_personal_id>"));
        QVERIFY(saved.contains("<marking>Severe</marking>"));
    }

    void blanksAreSavedEmpty()
    {
        MonitorGrid *criteria = grid("MonFlex2");
        criteria->setCurrentCell(2, 1);
        criteria->setCurrentText(QString());
        MonitorGrid *students = grid("MonFlex1");
        students->setFocus();
        students->setCurrentCell(1, 2);
        QVERIFY(students->editCurrentCell());
        students->setEditText(QStringLiteral(" "));
        QVERIFY(students->finishEditing());
        QCOMPARE(students->textMatrix(1, 2), QStringLiteral(" "));

        m_form->menuItem("mnuSave")->trigger();
        const QByteArray saved = tutorFileBytes();
        QVERIFY(saved.contains("<flag2></flag2>"));
        const QByteArray first = saved.mid(saved.indexOf("A1234567"));
        QVERIFY(first.left(first.indexOf("</student_details>"))
                    .contains("<pt3_commenting></pt3_commenting>"));
    }
};

QTEST_MAIN(MonFormEditingTest)
#include "monformediting_test.moc"
