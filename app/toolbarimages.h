#pragma once

#include <QIcon>
#include <QProxyStyle>

// The toolbar's images, drawn here rather than shipped as bitmaps, by their number in the image
// list: 1 zip window, 2 print, 3 cut, 4 paste, 5 copy, 6 save, 7 spell check, 8 monitor form,
// 9 monitor comments, 10 previous monitor form.
QIcon toolbarImage(int number);

// The application's style, with the toolbar's extension arrows read from Qt's own PNG images as
// PNG. Fusion lets the image reader guess their format, and the guess loads every image format
// plugin (gif, ico, jpeg with libjpeg) when the first toolbar is made. Other styles are left as
// they are.
class ToolbarImageStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
