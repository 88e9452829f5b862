#include "fontsizelist.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QEvent>

const std::array<FontSize, 3> FontSizes = {{{8, "Small"}, {12, "Medium"}, {18, "Large"}}};

const FontSize &fontSizeNamed(const QString &name)
{
    for (const FontSize &size : FontSizes) {
        if (name == QLatin1String(size.name))
            return size;
    }
    return FontSizes[0];
}

namespace {

// Qt names a combo box by its text on Linux; this one keeps its own name and shows the size as
// its value, with the drop-down's entries as its child.
class FontSizeListAccessible : public QAccessibleWidget
{
public:
    explicit FontSizeListAccessible(QComboBox *list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

private:
    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *fontSizeListFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("FontSizeList") && object && object->isWidgetType())
        return new FontSizeListAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

FontSizeList::FontSizeList(QWidget *parent) : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(fontSizeListFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setEditable(false);
    view()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
}

void FontSizeList::keyPressEvent(QKeyEvent *event)
{
    m_keyboard = true;
    QComboBox::keyPressEvent(event);
}

void FontSizeList::mousePressEvent(QMouseEvent *event)
{
    m_keyboard = false;
    QComboBox::mousePressEvent(event);
}

void FontSizeList::wheelEvent(QWheelEvent *event)
{
    m_keyboard = false;
    QComboBox::wheelEvent(event);
}

bool FontSizeList::eventFilter(QObject *watched, QEvent *event)
{
    // The open list's own keys and clicks.
    if (event->type() == QEvent::KeyPress)
        m_keyboard = true;
    else if (event->type() == QEvent::MouseButtonRelease)
        m_keyboard = false;
    return QComboBox::eventFilter(watched, event);
}
