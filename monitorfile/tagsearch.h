#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <vector>

namespace monitorfile {

class MessagePresenter;

// Start and end tag of one element, angle brackets included.
struct ElementTags
{
    QByteArray start;
    QByteArray end;
};

// "staff_id" -> "<staff_id>", "</staff_id>"
ElementTags tagsOf(const QByteArray &name);

// "<staff_id>" -> "<staff_id/>"
QByteArray emptyElementTag(const QByteArray &startTag);

// Where an element stands in a text. The end tag is searched behind the start tag, so a value
// never has a negative length; when a tag is missing, missingTag names it.
struct ElementSpan
{
    qsizetype start = -1;      // index of the start tag
    qsizetype valueBegin = -1; // index just behind the start tag
    qsizetype endTag = -1;     // index of the end tag
    qsizetype end = -1;        // index just behind the end tag
    QByteArray missingTag;

    bool found() const { return missingTag.isEmpty(); }
    qsizetype valueLength() const { return endTag - valueBegin; }
};

ElementSpan locateElement(QByteArrayView text, const ElementTags &tags, qsizetype from = 0);

// The span of the element whose start tag stands at start in text (-1: nowhere), as
// locateElement makes it.
ElementSpan elementAt(QByteArrayView text, const ElementTags &tags, qsizetype start);

// Start tags looked for together: where each first stands in a text, or -1, as findBytes finds
// it, in one pass over the text's '<' that ends once every tag is found. A tag's only '>' is its
// last byte, so the text at a '<' holds a tag exactly when the bytes up to the next '>' are the
// tag.
class StartTags
{
public:
    explicit StartTags(const std::vector<QByteArray> &tags);
    std::vector<qsizetype> firstIn(QByteArrayView text) const; // in the order given
private:
    struct Tag
    {
        QByteArray bytes;
        size_t given; // its place in the order given
    };
    std::vector<Tag> m_tags;                 // by length, then by bytes
    std::array<bool, 256> m_namesBegin = {}; // the bytes a name begins with
    qsizetype m_longest = 0;
};

// Index of the first needle in text at or behind from (from >= 0), or -1: what
// QByteArray::indexOf gives, without the table Qt fills anew for every search of a long text.
qsizetype findBytes(QByteArrayView text, QByteArrayView needle, qsizetype from = 0);

// Takes the text between the first start tag and the end tag behind it into value and returns
// 0. When only the empty-element form stands in contents, its first occurrence is expanded in
// place and value is left untouched. Otherwise returns -1 and, when messages is given, shows
// "Missing <tag> from xml file." for the start tag, or for the end tag when only that is missing.
int ExtractElement(const QByteArray &startTag, const QByteArray &endTag, QByteArray &contents,
                   QByteArray &value, MessagePresenter *messages);

// As ExtractElement, and tells which tag was missing (empty on success).
int extractElementReporting(const ElementTags &tags, QByteArray &contents, QByteArray &value,
                            QByteArray &missingTag);

// Expands every empty-element form of the element in place. Always returns 0.
int ReformatXmlFileData(QByteArray &vsFileContents, const QByteArray &vsStartTag,
                        const QByteArray &vsEndTag);

// 1 when every character is a decimal digit (the empty text included), otherwise 0.
int IsAllDigits(QStringView text);

// Replaces the content of the element located by span with inner: the text up to and including
// the start tag, then inner, then the text from the end tag on.
QByteArray spliceElement(const QByteArray &text, const ElementSpan &span, const QByteArray &inner);

} // namespace monitorfile
