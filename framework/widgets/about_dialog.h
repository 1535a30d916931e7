#pragma once
// The about box: the product's icon, name and version, the credits text, the
// module records and the pages that self-registering objects contribute.
#include <QDialog>

class CAppAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAppAboutDlg(const QString& product, const QString& version, const QString& credits,
                 const QString& extra, int iconId, QWidget* parent = nullptr);
};
