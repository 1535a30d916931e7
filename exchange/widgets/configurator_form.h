#pragma once
// The configurator window of the application: a tabbed view whose page of
// its own is "Информация об организации", the own organisation's card with
// a button that saves it. Closing with unsaved changes asks first.
#include "framework/widgets/pages/tab_form_view.h"

class COrgInfoView;
class QLabel;

class CConfiguratorBaseOrgInfo : public QWidget {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CConfiguratorBaseOrgInfo(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    COrgInfoView* Card() const { return m_card; }
    // Writes the card; false with the reason shown under it.
    bool Save();

private:
    COrgInfoView* m_card;
    QLabel* m_result;
};

class CConfiguratorFormAPP : public CxTabFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CConfiguratorFormAPP(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    bool OnInitialUpdate() override;
    void OnInitialSetTitle(CxDocument* document) override;
    bool CanCloseFrame() override;
};
