#pragma once
// The mapping file "dir3converter.txt" of the conversion of old archives: it
// tells what the old directory entries of kinds 5 and 6 and the rows of the
// old daily general figures become. One entry per line: the key, a tab, the
// value; text after a second tab is ignored, lines without a key are skipped.
// A value is one or two whole numbers joined by "+" and stands for their sum
// (a missing or unreadable part counts as 0). Keys the conversion misses are
// added with -999 for the user to fill in and send on. The file is read in
// UTF-16 with its byte order mark, UTF-8 or the Windows code page 1251, and
// written back in UTF-8.
//
// The file lives in the program's data folder, not in whatever folder the
// program happened to start from.
#include <QMap>
#include <QString>

class CDirMappingFile {
public:
    static constexpr int kUnfilled = -999;

    // ~/.local/share/Kelda2/dir3converter.txt (the data folder of the program).
    static QString DefaultPath();
    // "%d:%s" of the old kind and the entry's name; tabs and line breaks in
    // the name become blanks so that the key stays on its line.
    static QString DirectoryKey(int oldKind, const QString& name);
    // "DG.%d" of the row's ROWID.
    static QString DailyGeneralKey(qint64 rowId);

    // Reads the file, making it (and its folder) when missing; its content is
    // kept as it is.
    bool Load(const QString& path, QString* error);
    // The value of a key; false when the key is missing or still -999.
    bool Lookup(const QString& key, int* value) const;
    // A key the conversion needs and the file lacks: added with -999.
    void AddMissing(const QString& key);
    // Rewrites the file with every entry in key order, "%s\t%d\r\n".
    [[nodiscard]] bool Save(QString* error) const;

    QString Path() const { return m_path; }
    const QMap<QString, int>& Entries() const { return m_entries; }

private:
    QString m_path;
    QMap<QString, int> m_entries;
};
