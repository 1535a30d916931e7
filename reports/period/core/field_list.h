#pragma once
// The catalogue of report fields: one instance of every field in a fixed
// order, and two fields for every top-level material group of the current
// configuration (its materials, and the clients who got any of them) between
// the project and the service point. The preset editor lists it; the
// coverage report picks from it the fields a preset names.
#include "framework/core/containers/cx_obj.h"
#include "reports/base/core/rep_field.h"

class CRFList : public CxObjArray<CRepField*> {
public:
    CRFList();
    // The field of an id; null when the catalogue has none.
    CRepField* Find(long id) const;
};
