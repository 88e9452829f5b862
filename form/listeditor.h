#pragma once

#include <QComboBox>

// The cell editor of a column with a drop-down list: a non-editable combo box that says when
// its list closes (QComboBox has no signal for that) and whether the user picked from it.
// A cell whose text is not among the entries keeps that text until the user picks another.
class ListEditor : public QComboBox
{
    Q_OBJECT

public:
    explicit ListEditor(const QStringList &entries, QWidget *parent = nullptr);

    // The editor's text: the picked entry, or the cell's own text while nothing was picked.
    QString text() const;
    // Selects the entry equal to text (a blank text selects the blank entry); emits nothing.
    void setText(const QString &text);

    void showPopup() override;
    void hidePopup() override;

signals:
    void textPicked();     // the user changed the choice (list, arrow keys, typing)
    void pickedFromList(); // ... by choosing in the open list; follows textPicked
    void listClosed();     // the open list closed, with or without a choice

protected:
    // A wheel turned over the grid scrolls the grid; it must not change a rating.
    void wheelEvent(QWheelEvent *event) override;

private:
    void onActivated();

    QString m_original;
    int m_originalIndex = -1;
    bool m_listOpen = false;
    bool m_justClosed = false;
};
