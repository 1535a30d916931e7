#pragma once
// A path typed or chosen with the file dialog ("..."): a file to open, a file
// to write or a folder. Filters are given in the framework's form,
// "description (mask)|mask|description (mask)|mask", as the engines' file
// filters are.
#include <QWidget>

class QLineEdit;
class QToolButton;

class CxFileEdit : public QWidget {
    Q_OBJECT
public:
    enum class Mode { OpenFile, SaveFile, Folder };
    explicit CxFileEdit(Mode mode = Mode::OpenFile, QWidget* parent = nullptr);

    void SetMode(Mode mode) { m_mode = mode; }
    void SetFilter(const QString& filter) { m_filter = filter; }
    QString GetPath() const;
    void SetPath(const QString& path);

    // The filter in the file dialog's form ("description (mask);;...").
    static QString DialogFilter(const QString& filter);

signals:
    void pathChanged(const QString& path);

private:
    void Browse();

    Mode m_mode;
    QString m_filter;
    QLineEdit* m_edit;
    QToolButton* m_browse;
};
