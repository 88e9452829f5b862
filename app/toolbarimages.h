#pragma once

#include <QIcon>

// The toolbar's images, drawn here rather than shipped as bitmaps, by their number in the image
// list: 1 zip window, 2 print, 3 cut, 4 paste, 5 copy, 6 save, 7 spell check, 8 monitor form,
// 9 monitor comments, 10 previous monitor form.
QIcon toolbarImage(int number);
