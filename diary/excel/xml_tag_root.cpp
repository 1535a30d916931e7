#include "xml_tag_root.h"

#include "framework/core/tarvik_app.h"

namespace {
// An error detail that quotes the file is cut, so that one bad character
// does not put the rest of a large file into the user's message.
constexpr qsizetype kDetailLength = 60;

bool IsSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.' || c == u':';
}

bool IsAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

struct NamedEntity {
    QLatin1StringView name;
    char16_t ch;
};

// The five of XML, then the HTML names that turn up in texts pasted into
// spreadsheets.
constexpr NamedEntity kEntities[] = {
    {QLatin1StringView("amp"), u'&'},      {QLatin1StringView("lt"), u'<'},
    {QLatin1StringView("gt"), u'>'},       {QLatin1StringView("quot"), u'"'},
    {QLatin1StringView("apos"), u'\''},    {QLatin1StringView("nbsp"), 0x00A0},
    {QLatin1StringView("laquo"), 0x00AB},  {QLatin1StringView("raquo"), 0x00BB},
    {QLatin1StringView("ndash"), 0x2013},  {QLatin1StringView("mdash"), 0x2014},
    {QLatin1StringView("hellip"), 0x2026}, {QLatin1StringView("bull"), 0x2022},
    {QLatin1StringView("middot"), 0x00B7}, {QLatin1StringView("lsquo"), 0x2018},
    {QLatin1StringView("rsquo"), 0x2019},  {QLatin1StringView("ldquo"), 0x201C},
    {QLatin1StringView("rdquo"), 0x201D},  {QLatin1StringView("bdquo"), 0x201E},
    {QLatin1StringView("copy"), 0x00A9},   {QLatin1StringView("reg"), 0x00AE},
    {QLatin1StringView("trade"), 0x2122},  {QLatin1StringView("deg"), 0x00B0},
    {QLatin1StringView("plusmn"), 0x00B1}, {QLatin1StringView("times"), 0x00D7},
    {QLatin1StringView("divide"), 0x00F7}, {QLatin1StringView("sect"), 0x00A7},
    {QLatin1StringView("para"), 0x00B6},   {QLatin1StringView("euro"), 0x20AC},
    {QLatin1StringView("shy"), 0x00AD},
};

// The character a reference's name ("amp", "#38", "#x26") stands for; 0 when
// it names none.
char32_t ResolveReference(QStringView name) {
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty())
            return 0;
        char32_t code = 0;
        for (QChar c : digits) {
            const char16_t u = c.unicode();
            int d = -1;
            if (u >= u'0' && u <= u'9')
                d = u - u'0';
            else if (hex && u >= u'a' && u <= u'f')
                d = u - u'a' + 10;
            else if (hex && u >= u'A' && u <= u'F')
                d = u - u'A' + 10;
            if (d < 0)
                return 0;
            code = code * (hex ? 16 : 10) + char32_t(d);
            if (code > 0x10FFFF)
                return 0;
        }
        if (code >= 0xD800 && code <= 0xDFFF)
            return 0;
        return code;
    }
    for (const NamedEntity& e : kEntities)
        if (name == e.name)
            return e.ch;
    return 0;
}
} // namespace

const QString* xmlAttributes::Find(QLatin1StringView upperName) const {
    if (!m_index.isEmpty()) {
        const auto it = m_index.constFind(QString(upperName));
        return it == m_index.constEnd() ? nullptr : &m_items.at(*it).second;
    }
    for (const auto& item : m_items)
        if (item.first == upperName)
            return &item.second;
    return nullptr;
}

void xmlAttributes::Set(const QString& upperName, const QString& value) {
    if (m_index.isEmpty()) {
        for (auto& item : m_items) {
            if (item.first == upperName) {
                item.second = value;
                return;
            }
        }
        m_items.append({upperName, value});
        if (m_items.size() > kLinearLimit)
            for (qsizetype i = 0; i < m_items.size(); ++i)
                m_index.insert(m_items.at(i).first, i);
        return;
    }
    const auto it = m_index.constFind(upperName);
    if (it != m_index.constEnd()) {
        m_items[*it].second = value;
        return;
    }
    m_index.insert(upperName, m_items.size());
    m_items.append({upperName, value});
}

QString UnsafeXMLData(QStringView text) {
    bool plain = true;
    for (QChar c : text) {
        if (c == u'&' || c == u'\r') {
            plain = false;
            break;
        }
    }
    if (plain)
        return text.toString();

    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r') { // a line end is "\n", however the file was saved
            out += u'\n';
            if (++i < n && text[i] == u'\n')
                ++i;
            continue;
        }
        if (c != u'&') {
            out += c;
            ++i;
            continue;
        }
        qsizetype semi = -1;
        for (qsizetype j = i + 1; j < n && j <= i + 12; ++j) {
            if (text[j] == u';') {
                semi = j;
                break;
            }
            if (!IsAsciiAlnum(text[j]) && text[j] != u'#')
                break;
        }
        const char32_t code = semi > i + 1 ? ResolveReference(text.mid(i + 1, semi - i - 1)) : 0;
        if (code == 0) {
            out += c;
            ++i;
            continue;
        }
        const char32_t ucs4[1] = {code};
        out += QString::fromUcs4(ucs4, 1);
        i = semi + 1;
    }
    return out;
}

void xmlTagRoot::AddError(quint32 code, const QString& detail) {
    m_errors.append({detail, code});
}

QString xmlTagRoot::ErrorCodeText(quint32 code) {
    const QString context = QStringLiteral("xmlTagRoot::ErrorCodeText");
    switch (code) {
    case XMLERR_TAG_EXPECTED:
        return CTarvikApp::TranslateString(QStringLiteral("Ожидается начало элемента «<»"),
                                           context);
    case XMLERR_UNEXPECTED_END:
        return CTarvikApp::TranslateString(QStringLiteral("Файл обрывается внутри элемента"),
                                           context);
    case XMLERR_MISMATCHED_END:
        return CTarvikApp::TranslateString(
            QStringLiteral("Закрывающий тег не соответствует открытому элементу"), context);
    case XMLERR_SYNTAX:
        return CTarvikApp::TranslateString(QStringLiteral("Ошибка в записи тега"), context);
    case XMLERR_BAD_ATTRIBUTE:
        return CTarvikApp::TranslateString(
            QStringLiteral("Недопустимый символ в начале имени атрибута"), context);
    case XMLERR_REFUSED:
        return CTarvikApp::TranslateString(
            QStringLiteral("Элемент не может быть прочитан (ошибочные данные или слишком "
                           "глубокая вложенность)"),
            context);
    case XMLERR_STOPPED:
        return CTarvikApp::TranslateString(QStringLiteral("Чтение файла остановлено"), context);
    default:
        return CTarvikApp::TranslateString(QStringLiteral("Ошибка разбора XML"), context);
    }
}

QString xmlTagRoot::GetErrorText(bool clear) {
    QStringList lines;
    for (const ERRDATA& e : m_errors) {
        lines << QStringLiteral("(%1) %2").arg(e.code).arg(ErrorCodeText(e.code));
        if (!e.detail.isEmpty())
            lines << e.detail;
    }
    if (clear)
        m_errors.clear();
    return lines.join(u'\n');
}

bool xmlTagRoot::Parse(QStringView text) {
    const qsizetype n = text.size();
    qsizetype p = 0;
    if (n > 0 && text[0] == QChar(0xFEFF))
        ++p;

    auto fail = [this](quint32 code, const QString& detail = QString()) {
        AddError(code, detail);
        return false;
    };
    auto rest = [&](qsizetype from) {
        QString s = text.mid(from, kDetailLength).toString();
        if (from + kDetailLength < n)
            s += u'…';
        return s;
    };
    auto skipSpace = [&] {
        while (p < n && IsSpace(text[p]))
            ++p;
    };

    struct Open {
        QString name;
        bool transparent;
    };
    QList<Open> open; // the elements entered and not yet ended
    xmlAttributes attrs;

    skipSpace();
    for (;;) {
        // An element starts here, possibly after processing instructions.
        for (;;) {
            skipSpace();
            if (p >= n) {
                if (open.isEmpty())
                    return true;
                return fail(XMLERR_UNEXPECTED_END);
            }
            if (text[p] != u'<')
                return fail(XMLERR_TAG_EXPECTED);
            if (p + 1 >= n)
                return fail(XMLERR_UNEXPECTED_END);
            if (text[p + 1] == u'/')
                return fail(XMLERR_MISMATCHED_END, rest(p));
            if (text[p + 1] != u'?')
                break;
            const qsizetype close = text.indexOf(u'>', p + 2);
            p = close < 0 ? n : close + 1;
        }
        if (m_watch) {
            m_watch->position.store(p, std::memory_order_relaxed);
            if (m_watch->stop.load(std::memory_order_relaxed))
                return fail(XMLERR_STOPPED);
        }
        ++p; // past "<"

        const qsizetype nameStart = p;
        while (p < n && IsNameChar(text[p]))
            ++p;
        const QString name = text.mid(nameStart, p - nameStart).toString().toUpper();

        attrs.Clear();
        bool empty = false;
        for (;;) {
            skipSpace();
            if (p >= n)
                return fail(XMLERR_UNEXPECTED_END);
            const QChar c = text[p];
            if (c == u'/') {
                empty = true;
                ++p;
                continue;
            }
            if (c == u'>') {
                ++p;
                break;
            }
            if (!c.isLetterOrNumber() && c != u'_')
                return fail(XMLERR_BAD_ATTRIBUTE, rest(p));
            const qsizetype attrStart = p;
            while (p < n && IsNameChar(text[p]))
                ++p;
            const QString attrName = text.mid(attrStart, p - attrStart).toString().toUpper();
            skipSpace();
            if (p >= n)
                return fail(XMLERR_UNEXPECTED_END);
            QString value;
            if (text[p] == u'=') {
                ++p;
                skipSpace();
                if (p >= n)
                    return fail(XMLERR_UNEXPECTED_END);
                const QChar quote = text[p];
                if (quote != u'\'' && quote != u'"')
                    return fail(XMLERR_SYNTAX,
                                CTarvikApp::TranslateString(
                                    QStringLiteral("Ожидается символ ' или \""),
                                    QStringLiteral("xmlTagRoot<class CBaseClass>::_ParseXML")));
                const qsizetype close = text.indexOf(quote, p + 1);
                if (close < 0)
                    return fail(XMLERR_UNEXPECTED_END);
                value = UnsafeXMLData(text.mid(p + 1, close - p - 1));
                p = close + 1;
            }
            attrs.Set(attrName, value);
        }

        // An element named "xml" only wraps its content: its handlers are
        // not told of it.
        const bool transparent = name == QLatin1String("XML");
        if (open.size() >= kMaxDepth)
            return fail(XMLERR_REFUSED, name);
        if (!transparent && !OnOpenTag(name, attrs))
            return fail(XMLERR_REFUSED, name);
        if (empty) {
            if (!transparent && !OnCloseTag(name))
                return fail(XMLERR_REFUSED, name);
            if (open.isEmpty())
                return true;
        } else {
            open.append({name, transparent});
        }

        // The content of the innermost open element, up to a child element
        // (back to the top of the loop) or the end of the root element.
        for (;;) {
            if (p >= n)
                return fail(XMLERR_UNEXPECTED_END);
            qsizetype lt = text.indexOf(u'<', p);
            if (lt < 0)
                lt = n;
            if (lt > p) {
                if (!OnData(UnsafeXMLData(text.mid(p, lt - p))))
                    return fail(XMLERR_REFUSED, open.last().name);
                p = lt;
            }
            if (p >= n)
                return fail(XMLERR_UNEXPECTED_END);
            if (p + 1 >= n || text[p + 1] != u'/')
                break; // a child element starts

            p += 2;
            const qsizetype endStart = p;
            while (p < n && IsNameChar(text[p]))
                ++p;
            const QString endName = text.mid(endStart, p - endStart).toString().toUpper();
            skipSpace();
            if (p >= n)
                return fail(XMLERR_UNEXPECTED_END);
            if (text[p] != u'>')
                return fail(XMLERR_SYNTAX);
            ++p;
            const Open element = open.takeLast();
            if (endName != element.name)
                return fail(XMLERR_MISMATCHED_END, endName);
            if (!element.transparent && !OnCloseTag(element.name))
                return fail(XMLERR_REFUSED, element.name);
            if (open.isEmpty())
                return true;
        }
    }
}
