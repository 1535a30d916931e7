#pragma once
// Typed user options, shown on the pages of the settings dialog. A page (key
// and title) holds groups (key and title), a group holds options (key,
// caption, description, default). Values live in the running settings store
// under the section "Options\<page>\<group>" and the option's key, so they
// follow the store: the table `profiles` once connected, the plain store
// before; an option never written reads as its default.
#include "modules_info.h"

#include <QList>
#include <QString>

class COptionsPage;
class COptionsGroup;

class COption {
public:
    COption(COptionsGroup* group, const QString& key);
    virtual ~COption() = default;

    void SetData(COptionsGroup* group, const QString& key, const QString& caption,
                 const QString& description);
    QString Key() const { return m_key; }
    QString Caption() const { return m_caption; }
    QString Description() const { return m_description; }
    COptionsGroup* Group() const { return m_group; }
    QString Section() const;

protected:
    QString ReadText() const;
    bool WriteText(const QString& text) const;

private:
    COptionsGroup* m_group;
    QString m_key;
    QString m_caption;
    QString m_description;
};

class CIntOption : public COption {
public:
    CIntOption(COptionsGroup* group, const QString& key, int defaultValue)
        : COption(group, key), m_default(defaultValue) {}
    int Get() const;
    bool Set(int value) const;
    int Default() const { return m_default; }

private:
    int m_default;
};

class CBoolOption : public COption {
public:
    CBoolOption(COptionsGroup* group, const QString& key, int defaultValue)
        : COption(group, key), m_default(defaultValue != 0) {}
    int Get() const;
    bool Set(int value) const;
    int Default() const { return m_default; }

private:
    bool m_default;
};

class COptionsGroup : public CvMessageQueryProcessor {
public:
    COptionsGroup(COptionsPage* page, const QString& key);
    ~COptionsGroup() override;

    virtual QString GetTitle() = 0;
    QString Key() const { return m_key; }
    COptionsPage* Page() const { return m_page; }
    const QList<COption*>& Options() const { return m_options; }

protected:
    // Registers the group for the options query and answers it once with
    // itself as sender, which lists the options.
    void RegisterGroup();
    void AppendOption(COption* option);

private:
    COptionsPage* m_page;
    QString m_key;
    QList<COption*> m_options;
};

class COptionsPage : public CModulesInfo, public CvMessageQueryProcessor {
public:
    COptionsPage() = default;
    ~COptionsPage() override;

    void SetData(const QString& key, const QString& title);
    QString Key() const { return m_key; }
    QString Title() const { return m_title; }
    const QList<COptionsGroup*>& Groups() const { return m_groups; }

    // Every options page of the run, in registration order.
    static QList<COptionsPage*> Pages();

protected:
    void AppendGroup(COptionsGroup* group); // takes ownership

private:
    QString m_key;
    QString m_title;
    QList<COptionsGroup*> m_groups;
};
