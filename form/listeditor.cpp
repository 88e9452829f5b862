#include "listeditor.h"

#include <QTimer>
#include <QWheelEvent>

ListEditor::ListEditor(const QStringList &entries, QWidget *parent) : QComboBox(parent)
{
    addItems(entries);
    setFrame(false);
    connect(this, &QComboBox::activated, this, &ListEditor::onActivated);
}

QString ListEditor::text() const
{
    // Opening and leaving the list untouched must give back the cell as it was, even when the
    // cell is empty and the list shows its blank entry.
    return currentIndex() == m_originalIndex ? m_original : currentText();
}

void ListEditor::setText(const QString &text)
{
    int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    for (int i = 0; index < 0 && text.trimmed().isEmpty() && i < count(); ++i) {
        if (itemText(i).trimmed().isEmpty())
            index = i;
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    m_original = text;
    m_originalIndex = index;
}

void ListEditor::showPopup()
{
    m_listOpen = true;
    QComboBox::showPopup();
}

void ListEditor::hidePopup()
{
    // Also called when the editor merely hides; only a list that was open counts.
    const bool wasOpen = m_listOpen;
    m_listOpen = false;
    QComboBox::hidePopup();
    if (!wasOpen)
        return;
    // A choice made in the list arrives as activated() right after this call, in the same
    // event; anything later is the keyboard on the closed box.
    m_justClosed = true;
    QTimer::singleShot(0, this, [this] { m_justClosed = false; });
    emit listClosed();
}

void ListEditor::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void ListEditor::onActivated()
{
    emit textPicked();
    if (m_justClosed) {
        m_justClosed = false;
        emit pickedFromList();
    }
}
