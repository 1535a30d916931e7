#pragma once
// The preset lists of the report windows: "Варианты отчета:" (version 2, the
// configurable reports; the list is the report document's) and the list of
// the visits reports (version 1, owned by the widget). Each shows its
// presets as HTML items, the configuration's in green and the user's in
// black; one is ticked at a time, and a click on an item ticks it.
#include "framework/widgets/lists/html_list_ctrl.h"
#include "reports/base/core/preset_list.h"

#include <QAbstractListModel>
#include <QPointer>
#include <memory>

// What the list widget needs of a preset list, whatever its version.
class CRepPresetListAccess {
public:
    virtual ~CRepPresetListAccess() = default;
    virtual int Count() const = 0;
    virtual QString Title(int index) const = 0;
    virtual QString Comment(int index) const = 0;
    virtual long RecordType(int index) const = 0;
    virtual QString ItemHTML(int index) const = 0;
    virtual int Checked() const = 0;
    virtual int Selected() const = 0;
    virtual void SetSelected(int index) = 0;
    virtual void SetItemCheck(int index, bool check) = 0;
    virtual void Fill(int selectIndex) = 0;
    virtual bool SelectByName(const QString& title) = 0;
};

template <class Preset> class CRepPresetListAccessT : public CRepPresetListAccess {
public:
    explicit CRepPresetListAccessT(CRepPresetListT<Preset>* list) : m_list(list) {}
    int Count() const override { return m_list->GetCount(); }
    QString Title(int index) const override { return m_list->GetAt(index)->Title; }
    QString Comment(int index) const override { return m_list->GetAt(index)->Comment; }
    long RecordType(int index) const override { return m_list->GetAt(index)->RecordType; }
    QString ItemHTML(int index) const override { return m_list->GetItemHTML(index); }
    int Checked() const override { return m_list->GetChecked(); }
    int Selected() const override { return m_list->GetSelected(); }
    void SetSelected(int index) override { m_list->SetSelected(index); }
    void SetItemCheck(int index, bool check) override { m_list->SetItemCheck(index, check); }
    void Fill(int selectIndex) override { m_list->Fill(selectIndex); }
    bool SelectByName(const QString& title) override { return m_list->SelectByName(title); }

private:
    CRepPresetListT<Preset>* m_list;
};

// The presets as a list model: the title (Qt::DisplayRole), the item's HTML
// (CHTMLListCtrl::HtmlRole), the comment as tool tip and, with ticks shown,
// the tick. Ticking an item unticks the one before; an item cannot be
// unticked by itself.
class CRepPresetListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CRepPresetListModel(QObject* parent = nullptr);

    void SetList(std::unique_ptr<CRepPresetListAccess> list);
    CRepPresetListAccess* List() const { return m_list.get(); }
    void SetCheckable(bool checkable);
    // The list was refilled: the model shows it anew.
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::unique_ptr<CRepPresetListAccess> m_list;
    bool m_checkable = true;
};

class CRepPresetSelListBase : public CHTMLListCtrl {
    Q_OBJECT
public:
    explicit CRepPresetSelListBase(QWidget* parent = nullptr);

    // With ticks (the report window's list) or without (the chooser's).
    void SetCheckBoxes(bool on);
    int GetChecked() const;
    int GetSelected() const;
    // Refills from the stores: -1 keeps the ticked title, another index is
    // selected and ticked.
    void Fill(int selectIndex);
    bool SelectByName(const QString& title);
    // Ticks the first preset when none is ticked, so a window opened on a
    // fresh installation builds its report at once.
    void CheckFirstWhenNone();
    // The list changed outside (a refill by a command): show it anew.
    void Refresh();
    // Enables or disables the list as a whole, with the caption given to it:
    // a report that takes no preset, or while a report is being built. A
    // disabled list keeps its tick.
    void SetListEnabled(bool enable);
    void SetCaption(QWidget* caption) { m_caption = caption; }
    CRepPresetListModel* Model() const { return m_model; }

signals:
    // The selected item changed.
    void selectionChanged2();

protected:
    void SetAccess(std::unique_ptr<CRepPresetListAccess> access);

private:
    void ShowSelected();

    CRepPresetListModel* m_model;
    QPointer<QWidget> m_caption;
    bool m_checkBoxes = true;
};

// Version 2: the list of a report document (CRepBase::GetPresetList).
class CRepPresetSelList2 : public CRepPresetSelListBase {
    Q_OBJECT
public:
    explicit CRepPresetSelList2(QWidget* parent = nullptr);
    void SetList(CRepPresetList2* list);
    CRepPresetList2* List() const { return m_list; }
    bool GetSelectedPreset(KDRepPresetEx2& preset) const;

private:
    CRepPresetList2* m_list = nullptr;
};

// Version 1: the visits reports' list, which the widget owns.
class CRepPresetSelList : public CRepPresetSelListBase {
    Q_OBJECT
public:
    explicit CRepPresetSelList(QWidget* parent = nullptr);
    // Refills the list and selects (and ticks) that index; -1 keeps the
    // ticked title.
    void Reload(int selectIndex) { Fill(selectIndex); }
    bool GetSelectedPreset(KDRepPresetEx& preset) const;
    // Shows a list kept elsewhere (a report document's, which reads the
    // ticked preset at its build) in place of the widget's own; null goes
    // back to the own list.
    void SetList(CRepPresetList* list);
    CRepPresetList* List() const { return m_shown; }

private:
    std::unique_ptr<CRepPresetList> m_list;
    CRepPresetList* m_shown;
};
