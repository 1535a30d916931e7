// The settings dialog stores what the user changed on "ОК" and nothing on
// "Отмена": the options of the options pages and the settings pages that
// self-registering objects contribute.
#include "framework/core/app/options.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {
class TestGroup : public COptionsGroup {
public:
    explicit TestGroup(COptionsPage* page) : COptionsGroup(page, QStringLiteral("Group")) {
        RegisterGroup();
    }
    QString GetTitle() override { return QStringLiteral("Группа"); }
    int vProcessMessage(int queryId, void* sender) override {
        if (queryId != MQ_OPTIONS)
            return 3;
        if (sender == this) {
            AppendOption(&count);
            AppendOption(&flag);
            AppendOption(&untouched);
        }
        count.SetData(this, count.Key(), QStringLiteral("Количество"), QString());
        flag.SetData(this, flag.Key(), QStringLiteral("Признак"), QString());
        untouched.SetData(this, untouched.Key(), QStringLiteral("Прочее"), QString());
        return 0;
    }
    CIntOption count{this, QStringLiteral("Count"), 5};
    CBoolOption flag{this, QStringLiteral("Flag"), 0};
    CIntOption untouched{this, QStringLiteral("Untouched"), 7};
};

class TestOptionsPage : public COptionsPage {
public:
    void Init(int first) override {
        if (!first || group)
            return;
        CGlobalRegisterObject::RegisterObject(this, OBJGROUP_OPTIONS_PAGES, 0);
        SetData(QStringLiteral("Test"), QStringLiteral("Параметры"));
        AppendGroup(group = new TestGroup(this));
    }
    int vProcessMessage(int, void*) override { return 3; }
    TestGroup* group = nullptr;
};

// A settings page with one line edit; what it stores is counted.
class TestSettingsPage : public CSettingsSelfReg {
public:
    void Init(int first) override {
        if (first)
            CGlobalRegisterObject::RegisterObject(this, OBJGROUP_SETTINGS_PAGES, 0);
    }
    QString GetCaption() override { return QStringLiteral("Организация"); }
    QString GetPageClass() override { return QStringLiteral("TestSettingsPage"); }
    QWidget* CreatePage(QWidget* parent) override {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("OrgName"));
        return edit;
    }
    bool StoreData(QWidget* page) override {
        stored << static_cast<QLineEdit*>(page)->text();
        return true;
    }
    QStringList stored;
};

TestOptionsPage g_optionsPage;
TestSettingsPage g_settingsPage;

QString Stored(const QString& key) {
    return CTarvikApp::GetProfileString(QStringLiteral("Options\\Test\\Group"), key);
}
} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

    // Opens the dialog, changes every page, and leaves with the button.
    static void EditAndLeave(QDialogButtonBox::StandardButton button) {
        CSettingsDialog dialog;
        dialog.Build();
        QCOMPARE(dialog.Tabs()->count(), 2);
        auto* count = dialog.findChild<QSpinBox*>(QStringLiteral("Group.Count"));
        auto* flag = dialog.findChild<QCheckBox*>(QStringLiteral("Group.Flag"));
        auto* org = dialog.findChild<QLineEdit*>(QStringLiteral("OrgName"));
        QVERIFY(count && flag && org && dialog.findChild<QSpinBox*>("Group.Untouched"));
        count->setValue(9);
        flag->setChecked(true);
        org->setText(QStringLiteral("Новая"));
        dialog.findChild<QDialogButtonBox*>()->button(button)->click();
        QCOMPARE(dialog.result(),
                 int(button == QDialogButtonBox::Ok ? QDialog::Accepted : QDialog::Rejected));
    }

private slots:
    void init() {
        CTarvikApp::SetProfileManager(new CxProfileManager);
        g_settingsPage.stored.clear();
    }

    void cancelStoresNothing() {
        EditAndLeave(QDialogButtonBox::Cancel);
        QCOMPARE(g_optionsPage.group->count.Get(), 5);
        QCOMPARE(g_optionsPage.group->flag.Get(), 0);
        QVERIFY(Stored(QStringLiteral("Count")).isEmpty());
        QVERIFY(Stored(QStringLiteral("Flag")).isEmpty());
        QVERIFY(g_settingsPage.stored.isEmpty());
    }

    void okStoresTheChanges() {
        EditAndLeave(QDialogButtonBox::Ok);
        QCOMPARE(g_optionsPage.group->count.Get(), 9);
        QCOMPARE(g_optionsPage.group->flag.Get(), 1);
        QCOMPARE(Stored(QStringLiteral("Count")), QStringLiteral("9"));
        QCOMPARE(Stored(QStringLiteral("Flag")), QStringLiteral("1"));
        // An option left as it was keeps following its default.
        QVERIFY(Stored(QStringLiteral("Untouched")).isEmpty());
        QCOMPARE(g_settingsPage.stored, QStringList{QStringLiteral("Новая")});
    }

    // The options live in the database that several copies share: an option
    // another copy changed while the dialog was open keeps that value when
    // the user left it alone, and a change of it here is refused, naming
    // it, with the other copy's value shown; what else the user changed is
    // stored, and the next OK goes through.
    void optionChangedByAnotherCopy() {
        CSettingsDialog dialog;
        dialog.Build();
        auto* count = dialog.findChild<QSpinBox*>(QStringLiteral("Group.Count"));
        auto* flag = dialog.findChild<QCheckBox*>(QStringLiteral("Group.Flag"));
        QVERIFY(count && flag);
        QVERIFY(g_optionsPage.group->count.Set(3));     // another copy
        QVERIFY(g_optionsPage.group->untouched.Set(8)); // another copy
        flag->setChecked(true);
        count->setValue(9);
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const quint64 mark = CTarvikApp::ErrorMessageMark();
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected)); // still open
        const QString errors = CTarvikApp::ErrorMessagesSince(mark).join(u'\n');
        QVERIFY2(errors.contains(QStringLiteral("Количество: ") +
                                 CxRowsFingerprint::ChangedMeanwhileText()),
                 qPrintable(errors));
        QCOMPARE(count->value(), 3);
        QCOMPARE(Stored(QStringLiteral("Count")), QStringLiteral("3"));
        QCOMPARE(Stored(QStringLiteral("Untouched")), QStringLiteral("8"));
        QCOMPARE(Stored(QStringLiteral("Flag")), QStringLiteral("1"));
        count->setValue(4);
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Stored(QStringLiteral("Count")), QStringLiteral("4"));
        QCOMPARE(Stored(QStringLiteral("Untouched")), QStringLiteral("8"));
    }

    void showOnlyOnePage() {
        CSettingsDialog dialog;
        dialog.ShowOnly(QStringLiteral("TestSettingsPage"));
        dialog.Build();
        QCOMPARE(dialog.Tabs()->count(), 1);
        QCOMPARE(dialog.Tabs()->tabText(0), QStringLiteral("Организация"));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
