#pragma once

#include <QByteArray>
#include <QString>

// Writes JSON keeping the order in which members are added (QJsonObject sorts its keys).
class JsonWriter
{
public:
    void beginObject(const char *key = nullptr) { open(key, '{'); }
    void endObject() { close('}'); }
    void beginArray(const char *key = nullptr) { open(key, '['); }
    void endArray() { close(']'); }
    void value(const char *key, const QString &text);
    void value(const char *key, int number);

    QByteArray result() const { return m_out + '\n'; }

private:
    void prefix(const char *key);
    void open(const char *key, char bracket);
    void close(char bracket);

    QByteArray m_out;
    bool m_first = true;
    int m_depth = 0;
};
