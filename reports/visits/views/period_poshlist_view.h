#pragma once
// The window of the distribution of visits and of the period pivots: the
// visits window without the list of predefined reports and its button.
#include "visits_view.h"

class CRepPeriodPoshlistView : public CRepVisitsView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepPeriodPoshlistView(QWidget* parent = nullptr)
        : CRepVisitsView(parent, false) {}
};
