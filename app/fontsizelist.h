#pragma once

#include <QComboBox>

#include <array>

// The font size list: a drop-down of the sizes the form offers, with nothing to type. A screen
// reader names it by its accessible name, not by the size shown, and it tells whether the last
// choice came from the keyboard, so that the focus can stay with a monitor who works without a
// mouse.
class FontSizeList : public QComboBox
{
    Q_OBJECT

public:
    explicit FontSizeList(QWidget *parent);

    bool chosenWithKeyboard() const { return m_keyboard; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_keyboard = false;
};

// The font sizes of the comments box, by name.
struct FontSize
{
    int points;
    const char *name;
};
extern const std::array<FontSize, 3> FontSizes;

// The size of that name; the first (the default) for a name the list does not offer.
const FontSize &fontSizeNamed(const QString &name);
