#pragma once
// The base of the configuration document: language sections, parsing, and
// the file in the user's configuration folder. When that file is missing the
// program's default configuration (a resource) is installed in its place.
#include "xml_tag.h"

#include <QList>

// A language section: its identifier (attribute ID) and the attributes it
// does not know are kept and written back.
class xLanguageBase : public _XML2Tag {
public:
    int OnOpenTag(xml2Attr& attrs) override;
    // " ID='n'" when the section had one, then the kept attributes.
    void BuildXMLAttr(CXMLOut& out) override;

    int GetLanguageID() const { return m_nID; }

protected:
    int m_nID = 0;
    bool m_bHasID = false;
};

class xCfgBase2 : public _XML2Tag {
public:
    // Empties the array and appends every section's identifier in order;
    // answers their number.
    virtual int GetLanguageIDs(QList<int>& ids) = 0;
    // The section at the index; a bad index throws std::invalid_argument.
    virtual xLanguageBase* GetLanguageAt(int index) = 0;
    // Reads the document text (the source names it in messages) into this
    // object, replacing what it held. False when it is not a document.
    virtual bool ParseConfig(const QString& text, const QString& source);
    // Called after the document was written to its file.
    virtual bool OnStoreConfig() { return true; }

    // The section of the current language: the one whose identifier was
    // chosen, else the first. Null when the document has none.
    xLanguageBase* GetCurrentLanguage();
    void SetCurrentLanguageID(int id) { m_nCurrentLanguageID = id; }
    int GetCurrentLanguageID() const { return m_nCurrentLanguageID; }

    // The document as text.
    QString BuildText();
    // The file of this installation: "config.xml" in the application's
    // configuration folder (named after the organisation and application
    // names that the program gives Qt).
    static QString DefaultConfigPath();
    // Reads the file (installing the default configuration first when it is
    // missing). A damaged file is left as it is, reported, and the default
    // configuration is used; the next store keeps a copy of the damaged file.
    bool LoadConfig(const QString& path = QString());
    // Writes the document to the file (replacing it whole or not at all),
    // then calls OnStoreConfig. False when either failed.
    [[nodiscard]] bool StoreConfig(const QString& path = QString());
    const QString& GetConfigPath() const { return m_path; }
    const QString& GetLastError() const { return m_lastError; }

protected:
    // The resource that holds the program's default configuration.
    virtual QString GetDefaultConfigResource() const { return QString(); }
    // Back to the state of a new object, before a document is read.
    virtual void ResetContent() { ClearKept(); }

    QString m_lastError;

private:
    bool ReportError(const QString& text);
    // Decodes the file's bytes and reads them (see ParseConfig).
    bool ParseDocument(const QByteArray& bytes, const QString& source);

    QString m_path;
    QString m_damagedPath;
    int m_nCurrentLanguageID = 0;
};
