#include "readerfixture.h"

#include <stdexcept>

QByteArray edited(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    if (!text.contains(from))
        throw std::runtime_error("edited: text not found: " + from.toStdString());
    return text.replace(from, to);
}
