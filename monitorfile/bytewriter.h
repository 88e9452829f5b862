#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

namespace monitorfile {

// Puts a text together from many pieces: QByteArray::append goes out of line for each piece,
// and a save appends a few hundred.
class ByteWriter
{
public:
    explicit ByteWriter(qsizetype capacity)
        : m_bytes(capacity, Qt::Uninitialized), m_data(m_bytes.data())
    {
    }

    ByteWriter &append(QByteArrayView piece)
    {
        if (piece.isEmpty())
            return *this;
        if (piece.size() > m_bytes.size() - m_size) {
            m_bytes.resize(qMax(m_bytes.size() * 2, m_size + piece.size()));
            m_data = m_bytes.data();
        }
        std::memcpy(m_data + m_size, piece.data(), size_t(piece.size()));
        m_size += piece.size();
        return *this;
    }

    QByteArray take()
    {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char *m_data;
    qsizetype m_size = 0;
};

} // namespace monitorfile
