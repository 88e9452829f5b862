#include "toolbarimages.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOption>

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 245);
const QColor kBlue(40, 90, 170);

void page(QPainter &p, const QRect &r)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(r);
}

void lines(QPainter &p, int left, int right, int top, int count)
{
    p.setPen(QColor(120, 120, 120));
    for (int i = 0; i < count; ++i)
        p.drawLine(left, top + 2 * i, right, top + 2 * i);
}

// The spell check image's "abc", as the form's face draws it in bold at 7 pixels: how much of
// each pixel the letters cover. Kept as pixels, so that a bold face is not loaded at start-up for
// three letters, and the image is the same wherever the form runs.
constexpr int kAbcLeft = 1;
constexpr int kAbcTop = 1;
constexpr int kAbcWidth = 13;
constexpr int kAbcHeight = 5;
constexpr unsigned char kAbcCoverage[kAbcHeight][kAbcWidth] = {
    {0, 0, 0, 0, 0, 196, 52, 0, 0, 0, 0, 0, 0},
    {0, 123, 190, 187, 5, 196, 158, 213, 74, 53, 199, 203, 62},
    {0, 156, 166, 232, 40, 196, 67, 84, 173, 165, 88, 30, 48},
    {4, 250, 6, 224, 44, 196, 65, 86, 171, 166, 89, 36, 61},
    {0, 190, 169, 162, 132, 197, 157, 213, 70, 55, 202, 200, 61},
};

QImage abcLetters()
{
    QImage letters(kAbcWidth, kAbcHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kAbcHeight; ++y)
        for (int x = 0; x < kAbcWidth; ++x)
            letters.setPixel(x, y,
                             qRgba(kInk.red(), kInk.green(), kInk.blue(), kAbcCoverage[y][x]));
    return letters;
}

void draw(QPainter &p, int number)
{
    switch (number) {
    case 1: // zip window: a box with a zip down its middle
        p.setPen(kInk);
        p.setBrush(QColor(230, 190, 90));
        p.drawRect(1, 3, 13, 11);
        for (int y = 4; y < 14; y += 2)
            p.drawLine(7, y, 8, y);
        break;
    case 2: // print
        page(p, QRect(4, 1, 7, 6));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(1, 7, 13, 5);
        page(p, QRect(4, 11, 7, 4));
        break;
    case 3: // cut: scissors
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(4, 1, 10, 10);
        p.drawLine(11, 1, 5, 10);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(9, 10, 4, 4);
        break;
    case 4: // paste: a clipboard with a page
        p.setPen(kInk);
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(1, 2, 10, 12);
        page(p, QRect(6, 6, 8, 9));
        lines(p, 8, 12, 8, 3);
        break;
    case 5: // copy: two pages
        page(p, QRect(1, 1, 8, 10));
        page(p, QRect(6, 5, 8, 10));
        lines(p, 8, 12, 8, 3);
        break;
    case 6: // save: a diskette
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(kPaper);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(3, 9, 9, 5);
        break;
    case 7: // spell check: "abc" and a tick
        p.drawImage(kAbcLeft, kAbcTop, abcLetters());
        p.setPen(QPen(QColor(30, 140, 60), 2));
        p.drawLine(3, 11, 6, 14);
        p.drawLine(6, 14, 13, 8);
        break;
    case 8: // monitor form window: a window with a grid
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 2, 13, 12);
        p.fillRect(2, 3, 12, 2, kBlue);
        for (int y = 7; y < 14; y += 3)
            p.drawLine(2, y, 13, y);
        p.drawLine(7, 6, 7, 13);
        break;
    case 9: // monitor comments: a page with a speech bubble
        page(p, QRect(1, 1, 10, 13));
        lines(p, 3, 9, 4, 4);
        p.setPen(kInk);
        p.setBrush(QColor(255, 230, 120));
        p.drawEllipse(8, 8, 7, 6);
        break;
    case 10: { // previous monitor form: a page with a back arrow
        page(p, QRect(3, 1, 11, 13));
        lines(p, 5, 12, 4, 4);
        p.setPen(QPen(kBlue, 2));
        p.drawLine(1, 12, 8, 12);
        QPainterPath head;
        head.moveTo(0, 12);
        head.lineTo(4, 9);
        head.lineTo(4, 15);
        head.closeSubpath();
        p.fillPath(head, kBlue);
        break;
    }
    default:
        break;
    }
}

// Fusion's extension arrow: Qt's images of it in each size, read by the built-in PNG reader.
QIcon extensionArrow(const QString &direction, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        QImageReader reader(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-%1-%2.png")
                .arg(direction)
                .arg(size),
            "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

QIcon ToolbarImageStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                      const QWidget *widget) const
{
    if (baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
        const bool rightToLeft =
            option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        if (standardIcon == SP_ToolBarHorizontalExtensionButton)
            return extensionArrow(rightToLeft ? QStringLiteral("h-rtl") : QStringLiteral("h"),
                                  {8, 16, 32});
        if (standardIcon == SP_ToolBarVerticalExtensionButton)
            return extensionArrow(QStringLiteral("v"), {5, 10, 20});
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

QIcon toolbarImage(int number)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter, number);
    painter.end();
    return QIcon(pixmap);
}
