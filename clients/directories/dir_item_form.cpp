#include "dir_item_form.h"

#include "clients/directories/core/directory_kinds.h"
#include "framework/core/tarvik_app.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CDDirItemForm::CDDirItemForm(QWidget* parent) : CxSQLEditForm(parent), m_fields(new QFormLayout) {
    m_fields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_fields->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    // The fields go above the form's buttons.
    Body()->insertLayout(0, m_fields);
    Body()->insertStretch(1, 1);
}

QString CDDirItemForm::GetTitleField() const {
    return QStringLiteral("dir.cString");
}

void CDDirItemForm::GrowFields() {
    Body()->setStretch(0, 1);
    Body()->setStretch(1, 0);
}

QLineEdit* CDDirItemForm::AddNameEdit(const QString& label) {
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("cString"));
    // No cut at the limit: a pasted longer name stays as it is and the save
    // says it is too long.
    m_fields->addRow(label, m_name);
    return m_name;
}

QPlainTextEdit* CDDirItemForm::AddDescriptionEdit(const QString& label) {
    auto* edit = new QPlainTextEdit(this);
    edit->setObjectName(QStringLiteral("cDescription"));
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 5 + 12);
    m_fields->addRow(label, edit);
    return edit;
}

QCheckBox* CDDirItemForm::AddHiddenBox() {
    auto* box = new QCheckBox(
        CTarvikApp::TranslateString(QStringLiteral("Скрытый"), QStringLiteral("CDDirItemForm"), 1),
        this);
    box->setObjectName(QStringLiteral("bHidden"));
    m_fields->addRow(QString(), box);
    return box;
}

bool CDDirItemForm::OnApply() {
    if (m_name && GetDXEditMode() != EA_DELETE)
        if (const QString tooLong = DirNameTooLongText(m_name->text()); !tooLong.isEmpty())
            return Fail(m_name, tooLong);
    if (CxSQLEditForm::OnApply())
        return true;
    // The directory's unique key (nDirType, cString) refused the name.
    const CxDXFailure failure = LastFailure();
    if (failure.error.sql.serverCode == kSQLErrDuplicateEntry &&
        failure.error.field.compare(QStringLiteral("cString"), Qt::CaseInsensitive) == 0) {
        ClearFailure();
        Fail(m_name ? static_cast<QWidget*>(m_name) : this,
             CTarvikApp::TranslateString(
                 QStringLiteral("В этом справочнике уже есть запись «%1». Введите другое "
                                "название."),
                 QStringLiteral("msgDirNameInUse"), 1)
                 .arg(m_name ? m_name->text().trimmed() : QString()),
             failure.error);
    }
    return false;
}
