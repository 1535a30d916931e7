#include "material_chooser.h"

#include "diary/core/diary_verdict.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/message_box.h"
#include "model/orgs/org_keys.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CASelMat::DoDataExchange");
const QString kStateSection = QStringLiteral("State\\MatSelectDialog");
} // namespace

CASelMat::CASelMat(QWidget* parent, QList<qint32>* selection)
    : QDialog(parent), m_selection(selection), m_list(new CxListSelOrder(this)) {
    setObjectName(QStringLiteral("CASelMat"));
    setWindowTitle(DiaryText("Выбор материалов отчета", "CASelMat"));
    auto* layout = new QVBoxLayout(this);

    // The information bar: what the dialog is for.
    const QStringList info =
        Tr("Выбор материалов\nВыберите материалы которые были розданы на ПОУ").split(u'\n');
    auto* title = new QLabel(QStringLiteral("<b>%1</b><br>%2")
                                 .arg(info.value(0).toHtmlEscaped(), info.value(1).toHtmlEscaped()),
                             this);
    title->setObjectName(QStringLiteral("infobar"));
    layout->addWidget(title);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    layout->addWidget(new QLabel(DiaryText("Материалы и услуги:", "CASelMat"), this));
    m_list->setObjectName(QStringLiteral("materials"));
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* choose =
        buttons->addButton(DiaryText("Выбрать", "CASelMat"), QDialogButtonBox::AcceptRole);
    choose->setObjectName(QStringLiteral("choose"));
    choose->setDefault(true);
    buttons->addButton(DiaryText("Отмена", "CASelMat"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    resize(460, 520);
    const QByteArray geometry = QByteArray::fromBase64(
        CTarvikApp::GetProfileString(kStateSection, QStringLiteral("Geometry"), QString())
            .toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);

    const QList<int> chosen(selection->cbegin(), selection->cend());
    m_loaded = LoadMaterialList(m_entries, chosen);
    m_list->Bind(&m_entries);
}

int CASelMat::DoModal() {
    if (!m_loaded) {
        CxErrorListWnd::ShowList();
        return IDCANCEL;
    }
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CASelMat::accept() {
    if (!m_loaded || !m_list->Apply())
        return;
    m_selection->clear();
    for (const CxListSelOrder_Struct& entry : m_entries)
        if (entry.selected)
            m_selection->append(qint32(entry.id));
    QDialog::accept();
}

void CASelMat::done(int result) {
    CTarvikApp::WriteProfileString(kStateSection, QStringLiteral("Geometry"),
                                   QString::fromLatin1(saveGeometry().toBase64()));
    QDialog::done(result);
}
