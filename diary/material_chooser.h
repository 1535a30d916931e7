#pragma once
// The material chooser: a modal dialog in which the user ticks and orders
// the materials and services that become the columns of a visits sheet. It
// edits the caller's list of directory ROWIDs, and only when the user presses
// "Выбрать": the list then holds the ticked items in the list's order.
// Hidden items, and consultations counted in people, are offered only while
// the list holds them.
#include "framework/core/containers/list_sel_order_struct.h"

#include <QDialog>
#include <QList>

class CxListSelOrder;

class CASelMat : public QDialog {
    Q_OBJECT
public:
    // selection: the caller's list (not owned), edited on "Выбрать".
    CASelMat(QWidget* parent, QList<qint32>* selection);

    // Shows the dialog; IDOK (1) when the list was edited, IDCANCEL (2) when
    // not.
    int DoModal();
    // Whether the materials could be read (a failure is in the error list).
    bool IsLoaded() const { return m_loaded; }
    CxListSelOrder* List() const { return m_list; }

    void accept() override;
    void done(int result) override;

private:
    QList<qint32>* m_selection;
    CxListSelOrderEntries m_entries;
    CxListSelOrder* m_list;
    bool m_loaded = false;
};
