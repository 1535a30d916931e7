#include "preset_sel.h"

#include "framework/core/app/record_commands.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/message_box.h"
#include "preset_edit.h"
#include "preset_sel_list.h"

#include "framework/widgets/open_external.h"
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

enum : unsigned {
    kCmdXML = 2170,
};

bool DebugOn() {
    return CTarvikApp::GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Debug"), 0) != 0;
}
} // namespace

CRepPresetSel::CRepPresetSel(const QList<CRepPresetChoice>& catalogue, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_list(new CRepPresetSelList(this)) {
    setObjectName(QStringLiteral("CRepPresetSel"));
    setWindowTitle(Tr("Подготовленные отчеты", "CRepPresetSel"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(560, 420);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(Tr("Отчеты:", "CRepPresetSel"), this));
    left->addWidget(m_list, 1);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    const auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(Tr(text, "CRepPresetSel"), this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    m_choose = button("choose", "Выбрать");
    m_choose->setDefault(true);
    m_new = button("new", "Новый");
    m_edit = button("edit", "Изменить");
    m_delete = button("delete", "Удалить");
    m_xml = button("xml", "XML");
    buttons->addStretch(1);
    m_close = button("close", "Закрыть");
    layout->addLayout(buttons);

    m_list->SetCheckBoxes(false);
    m_list->Reload(-1);
    m_xml->setVisible(DebugOn());
    connect(m_choose, &QPushButton::clicked, this, &CRepPresetSel::accept);
    connect(m_close, &QPushButton::clicked, this, &CRepPresetSel::reject);
    connect(m_new, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_NEW); });
    connect(m_edit, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_EDIT); });
    connect(m_delete, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_DELETE); });
    connect(m_xml, &QPushButton::clicked, this, [this] { ProcessCommand(kCmdXML); });
    connect(m_list, &CRepPresetSelList::selectionChanged2, this, &CRepPresetSel::UpdateButtons);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CRepPresetSel::accept);
    UpdateButtons();
}

int CRepPresetSel::DoModal() {
    return exec() == QDialog::Accepted ? kChosen : kClosed;
}

QPushButton* CRepPresetSel::Button(unsigned id) const {
    switch (id) {
    case 1:
        return m_choose;
    case 2:
        return m_close;
    case ID_RECORD_NEW:
        return m_new;
    case ID_RECORD_EDIT:
        return m_edit;
    case ID_RECORD_DELETE:
        return m_delete;
    case kCmdXML:
        return m_xml;
    default:
        return nullptr;
    }
}

bool CRepPresetSel::CanProcessCommand(unsigned id) const {
    const int selected = m_list->GetSelected();
    const KDRepPresetEx* preset = m_list->List()->GetAt(selected);
    switch (id) {
    case ID_RECORD_NEW:
        return true;
    case ID_RECORD_EDIT:
    case ID_RECORD_DELETE:
        return preset && preset->RecordType != 0;
    case kCmdXML:
        return preset != nullptr;
    default:
        return false;
    }
}

void CRepPresetSel::UpdateButtons() {
    m_edit->setEnabled(CanProcessCommand(ID_RECORD_EDIT));
    m_delete->setEnabled(CanProcessCommand(ID_RECORD_DELETE));
    m_choose->setEnabled(m_list->GetSelected() >= 0);
    m_xml->setEnabled(CanProcessCommand(kCmdXML));
}

void CRepPresetSel::ProcessCommand(unsigned id) {
    if (!CanProcessCommand(id))
        return;
    const KDRepPresetEx* selected = m_list->List()->GetAt(m_list->GetSelected());
    switch (id) {
    case ID_RECORD_NEW:
    case ID_RECORD_EDIT: {
        KDRepPresetEx copy;
        if (id == ID_RECORD_EDIT && selected)
            copy.Copy(*selected);
        CRepPresetEdit editor(m_catalogue, copy, this);
        if (editor.exec() == QDialog::Accepted)
            m_list->Reload(-1);
        break;
    }
    case ID_RECORD_DELETE: {
        const QString question =
            Tr("Удалить настройку отчета \"{name}\"?", "CRepPresetSel::ProcessCommand")
                .replace(QLatin1String("{name}"), selected->Title);
        if (CxAsk(this, CxAskKind::YesNo, question,
                  Tr("Внимание!", "CRepPresetSel::ProcessCommand")) != IDYES)
            break;
        // The user list of these presets is always empty: nothing to remove.
        xKDReportPresets user;
        if (user.LoadFromProfile())
            user.SaveToProfile();
        m_list->Reload(-1);
        break;
    }
    case kCmdXML: {
        KDRepPresetEx copy;
        copy.Copy(*selected);
        CXMLOut out;
        copy.BuildXML(out);
        const QString folder = QDir::temp().filePath(QCoreApplication::applicationName());
        QDir().mkpath(folder);
        QTemporaryFile file(QDir(folder).filePath(QStringLiteral("preset-XXXXXX.xml")));
        file.setAutoRemove(false);
        if (!file.open() || file.write(out.ToString().toUtf8()) < 0) {
            CxMessage(this, CxMessageIcon::Error,
                      Tr("Не удалось записать файл {file}: {error}", "CRepDoc::SaveHTML")
                          .replace(QLatin1String("{file}"), file.fileName())
                          .replace(QLatin1String("{error}"), file.errorString()));
            break;
        }
        file.close();
        m_lastXML = file.fileName();
        CxOpenExternal(QUrl::fromLocalFile(m_lastXML));
        break;
    }
    default:
        break;
    }
    UpdateButtons();
}

void CRepPresetSel::accept() {
    if (m_list->GetSelected() < 0)
        return;
    m_chosen = m_list->GetSelected();
    QDialog::accept();
}
