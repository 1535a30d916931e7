#include "settings_dialog.h"

#include "error_text.h"
#include "framework/core/app/options.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/core/tarvik_app.h"
#include "icons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// The store of one option's editor (shown: its value, show: sets it).
template <class Option>
std::function<bool()> StoreOption(Option* option, std::function<int()> shown,
                                  std::function<void(int)> show) {
    return [option, shown, show, loaded = int(option->Get())]() mutable {
        // Only changed values are written: an untouched option keeps what is
        // stored, its default or another copy's value.
        if (shown() == loaded)
            return true;
        // The options live in the database: another copy may have changed
        // this one since the dialog read it; the editor then shows its value.
        if (const int now = option->Get(); now != loaded) {
            CTarvikApp::AddErrorMessage(option->Caption() + QStringLiteral(": ") +
                                        CxRowsFingerprint::ChangedMeanwhileText());
            loaded = now;
            show(now);
            return false;
        }
        if (!option->Set(shown()))
            return false;
        loaded = shown();
        return true;
    };
}
} // namespace

QList<CSettingsSelfReg*> CSettingsSelfReg::All() {
    QList<CSettingsSelfReg*> list;
    for (CSelfRegisterObject* object : CGlobalRegisterObject::Objects(OBJGROUP_SETTINGS_PAGES))
        if (auto* page = dynamic_cast<CSettingsSelfReg*>(object))
            list << page;
    return list;
}

CSettingsDialog::CSettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Параметры программы"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs, 1);
    m_error = new CxErrorText(this, 4);
    layout->addWidget(m_error);
    auto* bottom = new QHBoxLayout;
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("InfoArea"));
    m_info->setWordWrap(true);
    bottom->addWidget(m_info, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    resize(560, 440);
}

void CSettingsDialog::ShowOnly(const QString& pageClass) {
    m_only = pageClass;
}

int CSettingsDialog::exec() {
    Build();
    return QDialog::exec();
}

void CSettingsDialog::Build() {
    if (m_built)
        return;
    m_built = true;
    // Pages join the dialog by registering in their object groups.
    CSelfRegisterObject::RegisterAll();
    if (m_only.isEmpty()) {
        for (CSelfRegisterObject* object : CGlobalRegisterObject::Objects(OBJGROUP_OPTIONS_PAGES)) {
            auto* page = dynamic_cast<COptionsPage*>(object);
            if (!page)
                continue;
            auto* scroll = new QScrollArea(m_tabs);
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            auto* content = new QWidget(scroll);
            auto* column = new QVBoxLayout(content);
            for (COptionsGroup* group : page->Groups()) {
                auto* box = new QGroupBox(group->GetTitle(), content);
                auto* form = new QFormLayout(box);
                form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
                for (COption* option : group->Options()) {
                    QWidget* editor = nullptr;
                    if (auto* number = dynamic_cast<CIntOption*>(option)) {
                        auto* spin = new QSpinBox(box);
                        spin->setRange(-999999, 999999);
                        spin->setMinimumWidth(90);
                        spin->setValue(number->Get());
                        m_store << StoreOption(
                            number, [spin] { return spin->value(); },
                            [spin](int value) { spin->setValue(value); });
                        form->addRow(option->Caption() + u':', spin);
                        editor = spin;
                    } else if (auto* flag = dynamic_cast<CBoolOption*>(option)) {
                        auto* check = new QCheckBox(option->Caption(), box);
                        check->setChecked(flag->Get());
                        m_store << StoreOption(
                            flag, [check] { return int(check->isChecked()); },
                            [check](int value) { check->setChecked(value != 0); });
                        form->addRow(check);
                        editor = check;
                    }
                    if (editor) {
                        editor->setObjectName(group->Key() + u'.' + option->Key());
                        editor->setProperty("cxInfo", option->Description());
                        editor->setToolTip(option->Description());
                        editor->installEventFilter(this);
                    }
                }
                column->addWidget(box);
            }
            column->addStretch(1);
            scroll->setWidget(content);
            m_tabs->addTab(scroll, page->Title());
        }
    }
    for (CSettingsSelfReg* reg : CSettingsSelfReg::All()) {
        if (!m_only.isEmpty() && reg->GetPageClass() != m_only)
            continue;
        QWidget* page = reg->CreatePage(m_tabs);
        if (!page)
            continue;
        m_tabs->addTab(page, CxIcons::Get(reg->GetIconID()), reg->GetCaption());
        m_store << [reg, page] { return reg->StoreData(page); };
    }
}

void CSettingsDialog::accept() {
    const quint64 mark = CTarvikApp::ErrorMessageMark();
    bool stored = true;
    for (const auto& store : std::as_const(m_store))
        stored = store() && stored;
    if (!stored) {
        m_error->SetLines(QStringList{QStringLiteral("Не удалось сохранить параметры.")} +
                          CTarvikApp::ErrorMessagesSince(mark));
        return;
    }
    QDialog::accept();
}

bool CSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::Enter)
        m_info->setText(watched->property("cxInfo").toString());
    return QDialog::eventFilter(watched, event);
}
