#pragma once
// "Подготовленные отчеты": the chooser of the visits reports' presets
// (version 1). The user picks a preset ("Выбрать"), makes a new one or
// changes one in the version-1 editor, or deletes one; the presets come only
// from the configuration, so change and delete are offered only for presets
// of another kind, and "XML" (shown when the settings' debug switch
// "Settings/Debug" is on) opens the selected preset's XML.
#include "reports/base/core/preset_choices.h"

#include <QDialog>

class CRepPresetSelList;
class QPushButton;

class CRepPresetSel : public QDialog {
    Q_OBJECT
public:
    // The answers of DoModal.
    enum : int { kChosen = 1, kClosed = 2 };
    // The catalogue: the visits columns the editor offers.
    explicit CRepPresetSel(const QList<CRepPresetChoice>& catalogue, QWidget* parent = nullptr);

    // Shows the chooser; kChosen after "Выбрать" (GetChosen gives the list
    // item), kClosed otherwise.
    int DoModal();
    int GetChosen() const { return m_chosen; }

    // Whether a command may run now, and running it (2055 change, 2056 new,
    // 2057 delete, 2170 XML).
    bool CanProcessCommand(unsigned id) const;
    void ProcessCommand(unsigned id);
    // Enables the buttons after the selection.
    void UpdateButtons();

    CRepPresetSelList* List() const { return m_list; }
    QPushButton* Button(unsigned id) const;
    // Where the last "XML" went (for tests).
    QString LastXMLFile() const { return m_lastXML; }

    void accept() override;

private:
    QList<CRepPresetChoice> m_catalogue;
    CRepPresetSelList* m_list;
    QPushButton* m_choose;
    QPushButton* m_new;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_xml;
    QPushButton* m_close;
    int m_chosen = -1;
    QString m_lastXML;
};
