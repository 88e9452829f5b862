#include "tagsearch.h"

#include "messages.h"
#include "messagetexts.h"

#include <algorithm>
#include <cstring>

namespace monitorfile {

ElementTags tagsOf(const QByteArray &name)
{
    return {'<' + name + '>', "</" + name + '>'};
}

QByteArray emptyElementTag(const QByteArray &startTag)
{
    return startTag.chopped(1) + "/>";
}

qsizetype findBytes(QByteArrayView text, QByteArrayView needle, qsizetype from)
{
    const qsizetype length = needle.size();
    if (length == 0)
        return from <= text.size() ? from : -1;
    if (from < 0 || from > text.size() - length)
        return -1;
    const auto *bytes = reinterpret_cast<const uchar *>(text.data());
    const auto *wanted = reinterpret_cast<const uchar *>(needle.data());
    // Horspool: a window whose last byte is not the needle's moves on by that byte's distance
    // from the needle's end. The table is one memset and a pass over the needle.
    uchar shift[256];
    const qsizetype longest = qMin<qsizetype>(length, 255);
    std::memset(shift, int(longest), sizeof shift);
    for (qsizetype i = length - longest; i < length - 1; ++i)
        shift[wanted[i]] = uchar(length - 1 - i);
    const uchar last = wanted[length - 1];
    for (qsizetype at = from; at <= text.size() - length;) {
        const uchar byte = bytes[at + length - 1];
        if (byte == last && std::memcmp(bytes + at, wanted, size_t(length - 1)) == 0)
            return at;
        at += shift[byte];
    }
    return -1;
}

ElementSpan locateElement(QByteArrayView text, const ElementTags &tags, qsizetype from)
{
    return elementAt(text, tags, findBytes(text, tags.start, from));
}

namespace {

// An order for the binary search that compares the bytes only of texts of one length.
bool shorterOrBefore(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    return std::memcmp(a.data(), b.data(), size_t(a.size())) < 0;
}

} // namespace

StartTags::StartTags(const std::vector<QByteArray> &tags)
{
    for (size_t i = 0; i < tags.size(); ++i) {
        m_tags.push_back({tags[i], i});
        m_namesBegin[uchar(tags[i].at(1))] = true;
        m_longest = qMax(m_longest, tags[i].size());
    }
    std::sort(m_tags.begin(), m_tags.end(),
              [](const Tag &a, const Tag &b) { return shorterOrBefore(a.bytes, b.bytes); });
}

std::vector<qsizetype> StartTags::firstIn(QByteArrayView text) const
{
    std::vector<qsizetype> found(m_tags.size(), -1);
    size_t missing = m_tags.size();
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    for (const char *at = begin; missing > 0 && end - at > 1; ++at) {
        at = static_cast<const char *>(std::memchr(at, '<', size_t(end - at - 1)));
        if (!at)
            break;
        if (!m_namesBegin[uchar(at[1])]) // an end tag, or a name none of the tags has
            continue;
        const auto *close = static_cast<const char *>(
            std::memchr(at, '>', size_t(qMin<qsizetype>(m_longest, end - at))));
        if (!close)
            continue;
        const QByteArrayView candidate(at, close - at + 1);
        const auto match = std::lower_bound(m_tags.begin(), m_tags.end(), candidate,
                                            [](const Tag &tag, QByteArrayView wanted) {
                                                return shorterOrBefore(tag.bytes, wanted);
                                            });
        if (match != m_tags.end() && match->bytes == candidate && found[match->given] < 0) {
            found[match->given] = at - begin;
            --missing;
        }
    }
    return found;
}

ElementSpan elementAt(QByteArrayView text, const ElementTags &tags, qsizetype start)
{
    ElementSpan span;
    span.start = start;
    if (span.start < 0) {
        span.missingTag = tags.start;
        return span;
    }
    span.valueBegin = span.start + tags.start.size();
    span.endTag = findBytes(text, tags.end, span.valueBegin);
    if (span.endTag < 0) {
        span.missingTag = tags.end;
        return span;
    }
    span.end = span.endTag + tags.end.size();
    return span;
}

int extractElementReporting(const ElementTags &tags, QByteArray &contents, QByteArray &value,
                            QByteArray &missingTag)
{
    missingTag.clear();
    const ElementSpan span = locateElement(contents, tags);
    if (span.found()) {
        value = contents.mid(span.valueBegin, span.valueLength());
        return 0;
    }
    if (span.start < 0) {
        const QByteArray emptyForm = emptyElementTag(tags.start);
        const qsizetype at = contents.indexOf(emptyForm);
        if (at >= 0) {
            contents.replace(at, emptyForm.size(), tags.start + tags.end);
            return 0;
        }
    }
    missingTag = span.missingTag;
    return -1;
}

int ExtractElement(const QByteArray &startTag, const QByteArray &endTag, QByteArray &contents,
                   QByteArray &value, MessagePresenter *messages)
{
    QByteArray missingTag;
    const int result = extractElementReporting({startTag, endTag}, contents, value, missingTag);
    if (result != 0 && messages)
        messages->show(texts::missingElement(missingTag));
    return result;
}

int ReformatXmlFileData(QByteArray &vsFileContents, const QByteArray &vsStartTag,
                        const QByteArray &vsEndTag)
{
    const QByteArray emptyForm = emptyElementTag(vsStartTag);
    const QByteArray expanded = vsStartTag + vsEndTag;
    // Text before a replacement is unchanged and held no match, so the search may resume just
    // before it instead of at the start: the same result without quadratic work.
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = vsFileContents.indexOf(emptyForm, from);
        if (at < 0)
            break;
        vsFileContents.replace(at, emptyForm.size(), expanded);
        from = qMax<qsizetype>(0, at - emptyForm.size() + 1);
    }
    return 0;
}

int IsAllDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            return 0;
    }
    return 1;
}

QByteArray spliceElement(const QByteArray &text, const ElementSpan &span, const QByteArray &inner)
{
    return text.left(span.valueBegin) + inner + text.mid(span.endTag);
}

} // namespace monitorfile
