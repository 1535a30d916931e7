#pragma once
// Merging all received organisations into the own one, and removal of one
// received organisation. Each runs in one transaction over the data tables:
// it keeps all its changes or none. The report work tables (_cache_*) are
// left out of the transaction and dropped once it is committed.
#include <QString>

class CxSQL;
class CvProgress;
class CvRunLog;

// Every row becomes own data: the organisation suffix is cut from client
// codes (cClientCode, cOClientCode, cGlobalCode) and directory names, and
// nRegionDataID set to 0 in every table that has it, except the old
// organisation table "orginfo" and the load register cmp_loadids (which must
// keep naming the organisation each received load came from). A table that
// cannot be read, a failed statement or a stop through the progress rolls
// everything back; error says why.
bool MergeOrganisations(CxSQL* sql, CvProgress* progress, CvRunLog* log, QString* error);

// Deletes every row that came from organisation orgId (nRegionDataID), its
// card in orginf and its load snapshots (the cmp_* rows of its loads). The own
// organisation (0) cannot be removed. Failure as for the merge.
bool RemoveOrganisation(CxSQL* sql, int orgId, CvProgress* progress, CvRunLog* log, QString* error);

// The removal wizard's description for an organisation, in the wizard's
// markup; the organisation's identifier (received from another installation)
// is escaped.
QString RemoveOrgDescription(const QString& orgId);
