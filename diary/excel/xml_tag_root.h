#pragma once
// A small XML reader for the spreadsheet files that users fill outside the
// program: it walks the text once and reports every element start, every run
// of character data and every element end to the virtual handlers of a
// subclass. It reads what spreadsheet programs write (elements, attributes,
// character and entity references, processing instructions such as
// "<?xml ...?>"); a comment, a CDATA section or a document type declaration
// is an error. Element and attribute names reach the handlers in upper case.
//
// The walk keeps its open elements in a list of its own, not on the call
// stack, and refuses elements nested deeper than kMaxDepth, so a hostile file
// gets an error instead of exhausting memory or the stack. A failed parse
// records exactly one error (code and detail).
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <atomic>
#include <utility>

// The attributes of one element: names in upper case, values decoded; a
// repeated name keeps the last value.
class xmlAttributes {
public:
    // The value, or null when the element does not carry the attribute.
    const QString* Find(QLatin1StringView upperName) const;
    void Set(const QString& upperName, const QString& value);
    void Clear() {
        m_items.clear();
        m_index.clear();
    }

private:
    // Elements carry a few attributes, looked up by a linear walk; an
    // element with many (only a hostile file has them) gets an index, so
    // that reading it stays linear.
    static constexpr qsizetype kLinearLimit = 8;
    QList<std::pair<QString, QString>> m_items;
    QHash<QString, qsizetype> m_index;
};

// One parse error: the code (xmlParseError) and a detail that may be empty.
struct ERRDATA {
    QString detail;
    quint32 code = 0;
};

enum xmlParseError : quint32 {
    // A character other than "<" where an element must start.
    XMLERR_TAG_EXPECTED = 18907,
    // The text ends inside a tag, an attribute value or an element.
    XMLERR_UNEXPECTED_END = 18908,
    // An end tag where an element must start, or one that closes another
    // element than the open one (detail: the end tag's name).
    XMLERR_MISMATCHED_END = 18909,
    // An attribute value without quotes, or an end tag not closed by ">".
    XMLERR_SYNTAX = 18910,
    // A character that cannot start an attribute name ("<!--" gives it).
    XMLERR_BAD_ATTRIBUTE = 18911,
    // The handler refused an element, or the element lies too deep.
    XMLERR_REFUSED = 18913,
    // The parse was stopped from outside (xmlParseWatch::stop).
    XMLERR_STOPPED = 18914,
};

// Lets another thread follow a parse and stop it: the parse stores how many
// characters it has read at every element start, and ends with
// XMLERR_STOPPED once stop is set.
struct xmlParseWatch {
    std::atomic<qint64> position{0};
    std::atomic<bool> stop{false};
};

class xmlTagRoot {
public:
    static constexpr int kMaxDepth = 256;

    virtual ~xmlTagRoot() = default;

    // Parses a whole document (a leading byte-order mark is skipped).
    // Whatever follows the root element's end is not looked at; a text that
    // ends before any element starts is a document without elements.
    bool Parse(QStringView text);
    // Follows the next parses (null: none); the watch must outlive them.
    void SetWatch(xmlParseWatch* watch) { m_watch = watch; }

    void AddError(quint32 code, const QString& detail);
    const QList<ERRDATA>& GetErrors() const { return m_errors; }
    // One line "(code) text" per error, its detail (when any) on the next
    // line; clear empties the list afterwards.
    QString GetErrorText(bool clear);
    // The user's text for an error code.
    static QString ErrorCodeText(quint32 code);

protected:
    // name is the element's name in upper case, prefix included ("SS:DATA").
    // A handler answers false to refuse; the parse then fails.
    virtual bool OnOpenTag(const QString& name, const xmlAttributes& attrs) = 0;
    // A run of decoded character data inside the innermost open element.
    virtual bool OnData(QStringView text) = 0;
    virtual bool OnCloseTag(const QString& name) = 0;

private:
    QList<ERRDATA> m_errors;
    xmlParseWatch* m_watch = nullptr;
};

// Character data or an attribute value as written, decoded: line ends become
// "\n", and the XML entities, numeric character references and the common
// HTML entity names become their characters, in one pass (so "&amp;lt;"
// reads as "&lt;"). A reference that names nothing stays as written.
QString UnsafeXMLData(QStringView text);
