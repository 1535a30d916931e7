#include "xml_parser.h"

#include "framework/core/tarvik_app.h"
#include "xml_tag.h"

#include <QXmlStreamReader>

int XML2Parser::Parse(const QString& text, _XML2Processor* root) {
    m_error.clear();
    struct Frame {
        _XML2Processor* object;
    };
    QList<Frame> stack;
    QXmlStreamReader reader(text);
    auto fail = [&](const QString& why) {
        m_error = CTarvikApp::TranslateString(
                      QStringLiteral("Ошибка в XML (строка {line}, позиция {column}): {error}"),
                      QStringLiteral("XML2Parser::Parse"), 1)
                      .replace(QLatin1String("{line}"), QString::number(reader.lineNumber()))
                      .replace(QLatin1String("{column}"), QString::number(reader.columnNumber()))
                      .replace(QLatin1String("{error}"), why);
        return 0;
    };
    bool sawRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = reader.name().toString();
            xml2Attr attrs(name);
            for (const QXmlStreamAttribute& a : reader.attributes())
                attrs.Append(a.qualifiedName().toString(), a.value().toString());
            _XML2Processor* parent = stack.isEmpty() ? nullptr : stack.last().object;
            _XML2Processor* asked = parent ? parent : root;
            _XML2Processor* object = asked->CreateTagObject(name.toUpper(), attrs, parent);
            if (!object) {
                reader.skipCurrentElement();
                break;
            }
            if (!object->OnOpenTag(attrs))
                return fail(
                    CTarvikApp::TranslateString(QStringLiteral("элемент %1 не принят").arg(name),
                                                QStringLiteral("XML2Parser::Parse"), 1));
            if (object != parent)
                object->KeepAttributes(attrs.GetUnused());
            stack.append({object});
            sawRoot = true;
            break;
        }
        case QXmlStreamReader::EndElement:
            stack.last().object->OnCloseTag(reader.name().toString().toUpper());
            stack.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!stack.isEmpty())
                stack.last().object->OnData(reader.text().toString());
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return fail(reader.errorString());
    if (!sawRoot)
        return fail(CTarvikApp::TranslateString(QStringLiteral("документ пуст"),
                                                QStringLiteral("XML2Parser::Parse"), 1));
    return 1;
}
