#pragma once
// The preset editors ("Настройки отчета"): the preset's name, comment and
// parts on tabs. Version 2 (CRepPresetEdit2, the configurable reports) saves
// what it edits among the user's presets ("Reports" / "KDPresets2") through
// CRepPresetList2::SaveUserPreset, which refuses an empty name, a name taken
// by another user preset or by a configuration preset, and a store it could
// not read (never writing over it); the refusal is shown and the dialog stays
// open. Read-only, it shows a preset as the confirmation of a delete.
// Version 1 (CRepPresetEdit, the visits reports) edits a working copy but
// cannot save: those presets come only from the configuration.
//
// Each list page offers the catalogue entries whose flags have the page's
// bit; the user ticks entries and orders them, and the ticked ones in their
// order become the preset's list. The pages of the summary rows also take
// separators (id -1): each starts another summary table.
#include "model/config/report_presets.h"
#include "reports/base/core/preset_choices.h"

#include <QDialog>

class CxListSelOrder;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class xIDItemList;

// A page of ordered choices over one item list of a preset.
class CRepPresetEditList : public QWidget {
    Q_OBJECT
public:
    explicit CRepPresetEditList(const QList<CRepPresetChoice>& catalogue,
                                QWidget* parent = nullptr);

    // Fills the pick list from the catalogue and marks and orders the
    // entries after the list (the page's own choice: InitChoices).
    void Load(xIDItemList& target);
    // Writes the ticked entries, in their order, into the list.
    void Save(xIDItemList& target) const;
    CxListSelOrder* PickList() const { return m_pick; }
    // Adds a ticked separator after the current entry.
    void AddSeparator();

protected:
    // Which entries the page offers: FillChoices with its flag bits.
    virtual void InitChoices(xIDItemList& target) = 0;
    void FillChoices(unsigned mask, xIDItemList& target);
    // Separators allowed (the summary rows).
    void SetSeparators(bool on);
    QVBoxLayout* PageLayout() const { return m_layout; }

private:
    QList<CRepPresetChoice> m_catalogue;
    QVBoxLayout* m_layout;
    CxListSelOrder* m_pick;
    QPushButton* m_separator = nullptr;
};

class CRepPresetEditList_SumGroupRows : public CRepPresetEditList {
    Q_OBJECT
public:
    using CRepPresetEditList::CRepPresetEditList;

protected:
    void InitChoices(xIDItemList& target) override;
};

class CRepPresetEditList_SumCols : public CRepPresetEditList {
    Q_OBJECT
public:
    using CRepPresetEditList::CRepPresetEditList;

protected:
    void InitChoices(xIDItemList& target) override;
};

class CRepPresetEditList_Details : public CRepPresetEditList {
    Q_OBJECT
public:
    using CRepPresetEditList::CRepPresetEditList;

protected:
    void InitChoices(xIDItemList& target) override;
};

// "Группировка": the inner grouping, with its note.
class CRepPresetEdit_Grouping : public CRepPresetEditList {
    Q_OBJECT
public:
    explicit CRepPresetEdit_Grouping(const QList<CRepPresetChoice>& catalogue,
                                     QWidget* parent = nullptr);

protected:
    void InitChoices(xIDItemList& target) override;
};

// "Прочее": how the period is split.
class CRepPresetEdit_More : public QWidget {
    Q_OBJECT
public:
    explicit CRepPresetEdit_More(QWidget* parent = nullptr);
    void Load(const KDRepPresetEx2& preset);
    void Save(KDRepPresetEx2& preset) const;
    QComboBox* PeriodMode() const { return m_period; }

private:
    QComboBox* m_period;
};

// What both editors share: name, comment, tabs, OK and cancel.
class CRepPresetEditBase : public QDialog {
    Q_OBJECT
public:
    explicit CRepPresetEditBase(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* CommentEdit() const { return m_comment; }
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* OkButton() const { return m_ok; }
    // What the last refusal or warning said (for tests).
    const QString& LastMessage() const { return m_lastMessage; }

    // OK runs Apply and closes only when it succeeds.
    void accept() override;
    virtual bool Apply() = 0;

protected:
    // Tells the user why OK was refused (a message, and the error list).
    bool Refuse(const QString& text, QWidget* focus);
    // Shows what a save that succeeded had to warn about (already in the error list).
    void Warn(const QString& text);
    QVBoxLayout* TopLayout() const { return m_top; }
    QVBoxLayout* BottomLayout() const { return m_bottom; }

private:
    QLineEdit* m_name;
    QLineEdit* m_comment;
    QTabWidget* m_tabs;
    QPushButton* m_ok;
    QVBoxLayout* m_top;
    QVBoxLayout* m_bottom;
    QString m_lastMessage;
};

class CRepPresetEdit2 : public CRepPresetEditBase {
    Q_OBJECT
public:
    // The catalogue: the report fields a preset may name.
    CRepPresetEdit2(KDRepPresetEx2& preset, const QList<CRepPresetChoice>& catalogue, bool readOnly,
                    QWidget* parent = nullptr);

    // Saves the preset among the user's (read-only: only confirms); false
    // keeps the dialog open.
    bool Apply() override;
    QCheckBox* PivotCheck() const { return m_pivot; }
    CRepPresetEditList* ListPage(int tab) const;
    CRepPresetEdit_More* MorePage() const { return m_more; }

private:
    KDRepPresetEx2* m_preset;
    QString m_openingTitle;
    QString m_openedText; // the preset as opened, to see other copies' saves
    bool m_readOnly;
    QCheckBox* m_pivot;
    CRepPresetEditList_SumGroupRows* m_rows;
    CRepPresetEditList_SumCols* m_cols;
    CRepPresetEditList_Details* m_details;
    CRepPresetEdit_More* m_more;
    CRepPresetEdit_Grouping* m_grouping;
};

// A page of the version-1 editor: a check box that switches the list on.
class CRepPresetEditV1Page : public CRepPresetEditList {
    Q_OBJECT
public:
    CRepPresetEditV1Page(const QList<CRepPresetChoice>& catalogue, unsigned kindBit,
                         const QString& checkText, QWidget* parent = nullptr);
    QCheckBox* Generate() const { return m_generate; }

protected:
    void InitChoices(xIDItemList& target) override;

private:
    unsigned m_kindBit;
    QCheckBox* m_generate;
};

// "Итоговый отчет": the summary grouping (columns of kind bit 2).
class CRepPresetEditTot : public CRepPresetEditV1Page {
    Q_OBJECT
public:
    explicit CRepPresetEditTot(const QList<CRepPresetChoice>& catalogue, QWidget* parent = nullptr);
};

// "Детальный отчет": the detail list (columns of kind bit 1); unticking
// "Генерировать детальный отчет" empties it.
class CRepPresetEditDet : public CRepPresetEditV1Page {
    Q_OBJECT
public:
    explicit CRepPresetEditDet(const QList<CRepPresetChoice>& catalogue, QWidget* parent = nullptr);
};

class CRepPresetEdit : public CRepPresetEditBase {
    Q_OBJECT
public:
    // The catalogue: the visits columns (id, title, kind).
    CRepPresetEdit(const QList<CRepPresetChoice>& catalogue, KDRepPresetEx& preset,
                   QWidget* parent = nullptr);
    // Writes the pages into the working copy; the copy cannot be stored, so
    // OK is refused with the reason.
    bool Apply() override;
    CRepPresetEditTot* SummaryPage() const { return m_summary; }
    CRepPresetEditDet* DetailPage() const { return m_detail; }

private:
    KDRepPresetEx* m_preset;
    CRepPresetEditTot* m_summary;
    CRepPresetEditDet* m_detail;
};
