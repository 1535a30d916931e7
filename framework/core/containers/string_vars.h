#pragma once
// A set of named text variables, kept in a text column: a material group keeps
// its member material types so, one variable per member code.
//
// Packed into a string archive (string_archive.h) thus: the number of
// variables as a count, then for each variable, in ascending order of the
// names (compared as UTF-16 code units, the order of QString), its name and
// its value as strings. The stored text is the archive's text of that stream.
#include <QMap>
#include <QString>
#include <QStringList>

class CxStringArchive;

class CStringVars {
public:
    void SetVar(const QString& name, const QString& value) { m_vars.insert(name, value); }
    // Whether the variable is set (and its value).
    bool GetVar(const QString& name, QString* value = nullptr) const;
    void RemoveVar(const QString& name) { m_vars.remove(name); }
    void RemoveAll() { m_vars.clear(); }
    int GetCount() const { return int(m_vars.size()); }
    QStringList GetNames() const { return m_vars.keys(); }

    // Writes the set into an archive, or reads it from one (replacing what
    // the set held). Reading answers false when the stream is cut short,
    // holds a string that is not UTF-8 or names a variable twice; the set is
    // then empty.
    void Serialize(CxStringArchive& archive) const;
    bool Deserialize(CxStringArchive& archive);

    // The stored text of the set, and back. An empty text is an empty set;
    // a text that does not decode, or whose stream runs on after the last
    // variable, answers false and leaves the set empty.
    QString Pack() const;
    bool Unpack(const QString& text);

    bool operator==(const CStringVars& other) const { return m_vars == other.m_vars; }

private:
    QMap<QString, QString> m_vars;
};
