#pragma once
// Keys of the organisations whose data the database holds, and the material
// list shared by the forms that choose materials.
#include "framework/core/containers/list_sel_order_struct.h"

#include <QList>
#include <QString>

class CxSQL;

// Rows received from another installation carry a suffix in their text keys
// (dir.cString, clientdata.cClientCode and cGlobalCode): a back-quote, the
// sender's organisation number, kOrgSuffixSeparator and the row's ROWID in
// the sending database ("ABC0185Ж`3.125"). The separator keeps organisation 3
// row 125 apart from organisation 31 row 25.
constexpr char16_t kOrgSuffixSeparator = u'.';

// The text key without its organisation suffix: the part before the first
// back-quote, or the whole text.
QString StripOrgSuffix(QString key);

// The identifier (cOrgID) of the own organisation, the orginf row 0; empty
// when there is no such row or no value. On the base connection when none is
// given.
QString GetOwnOrgID(CxSQL* sql = nullptr);

// Fills the entries with the materials a form may offer: first those not
// chosen, in the order of the query (the fully set 0x70000 class without its
// "always offer" flag first, then the others, each by name), leaving out
// hidden ones and those of that class without the flag; then the chosen ones
// (whatever their flags) in the order of `chosen`. Chosen ids that are no
// material any more are dropped. False, with the entries empty, when the
// query fails.
bool LoadMaterialList(CxListSelOrderEntries& entries, const QList<int>& chosen,
                      CxSQL* sql = nullptr);

// Adds "material failed to load" with the material id and the position code
// to the application's error list.
void AddLoadMatError(int position, int materialId);
