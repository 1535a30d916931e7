#pragma once
// Reads an XML document into a tree of tag objects (see xml_tag.h). Element
// names reach the tag objects in upper case, so case does not matter.
#include <QString>

class _XML2Processor;

class XML2Parser {
public:
    // Answers 1 when the whole document was read; else 0 and GetError()
    // tells where and why.
    int Parse(const QString& text, _XML2Processor* root);
    const QString& GetError() const { return m_error; }

private:
    QString m_error;
};
