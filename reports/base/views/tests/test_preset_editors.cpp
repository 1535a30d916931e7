// The preset editors and the chooser on their own: what the pages show of a
// preset and write back, the version-2 save with its refusals (the dialog
// stays open and the store stays as it was), the read-only confirmation, the
// version-1 editor that cannot save, the chooser's buttons, and the preset
// list's model.
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "reports/base/core/tests/rep_test_support.h"
#include "reports/base/views/preset_edit.h"
#include "reports/base/views/preset_sel.h"
#include "reports/base/views/preset_sel_list.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Sum rows (1), detail (4), sum columns (8), grouping (0x10).
const QList<CRepPresetChoice> kFields = {
    {20437, QStringLiteral("Код клиента"), 0x14}, {20439, QStringLiteral("Пол"), 0x7},
    {20441, QStringLiteral("Клиентов"), 0x8},     {20568, QStringLiteral("Визитов"), 0xC},
    {20438, QStringLiteral("Группа"), 0x10017},
};
// Visits columns: detail (1), summary (2).
const QList<CRepPresetChoice> kColumns = {{3001, QStringLiteral("Код"), 1},
                                          {3002, QStringLiteral("Пункт"), 3},
                                          {3003, QStringLiteral("Месяц"), 2}};

const QString kConfigPresets = QStringLiteral(
    "<KDREPORTPRESETS2><KDREPPRESET2 Title='Годовой'/></KDREPORTPRESETS2>"
    "<KDREPORTPRESETS><KDREPPRESET Title='Охват'><SUMMARY><Item ID='3002'/></SUMMARY>"
    "</KDREPPRESET></KDREPORTPRESETS>");

QStringList Entries(CRepPresetEditList* page) {
    QStringList shown;
    for (const CxListSelOrder_Struct& e : page->PickList()->Model()->Entries())
        shown << (e.selected ? QStringLiteral("+") : QStringLiteral("-")) + e.text;
    return shown;
}

void Store(const QString& text) {
    CTarvikApp::WriteProfileString(QStringLiteral("Reports"), QStringLiteral("KDPresets2"), text);
}
QString Stored() {
    return CTarvikApp::GetProfileString(QStringLiteral("Reports"), QStringLiteral("KDPresets2"));
}
} // namespace

class TestPresetEditors : public QObject {
    Q_OBJECT
    QStringList m_messages;
    QTemporaryDir m_temp;

private slots:
    void initTestCase() {
        // The preset's XML handed to the viewer goes with the test's own
        // temporary folder, the program's folder inside it too.
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_messages << text;
            return IDYES;
        });
        SetExternalOpener([](const QUrl&) { return true; });
    }
    void init() {
        InstallConfig(kConfigPresets);
        m_messages.clear();
    }

    // The pages show the preset's choices first, in its order (separators
    // in the summary rows), then the other fields; unticking and moving
    // changes what is written back; SUMCOLS is kept as it was.
    void pagesShowAndWriteBack() {
        KDRepPresetEx2 preset;
        preset.Title = QStringLiteral("Мой");
        preset.SumRows.SetIDs({20439, -1, 20438});
        preset.SumCols2.SetIDs({20568});
        preset.SumCols.SetIDs({99});
        preset.Detailed.SetIDs({20437, 55555});
        preset.PeriodMode = 2;
        preset.PivotMode = 1;
        // The user's own preset, as stored before the editor opens it.
        QString error;
        QVERIFY2(CRepPresetList2::SaveUserPreset(preset, QString(), QString(), &error),
                 qPrintable(error));
        CRepPresetEdit2 editor(preset, kFields, false);
        QCOMPARE(editor.Tabs()->count(), 5);
        QCOMPARE(editor.Tabs()->tabText(0), QStringLiteral("Итоговый отчет, группировка"));
        QVERIFY(editor.PivotCheck()->isChecked());
        QCOMPARE(Entries(editor.ListPage(0)),
                 QStringList({"+Пол", "+———— следующая таблица ————", "+Группа"}));
        QCOMPARE(Entries(editor.ListPage(1)), QStringList({"+Визитов", "-Клиентов"}));
        // A field the catalogue lacks stays shown until the user drops it.
        QCOMPARE(Entries(editor.ListPage(2)),
                 QStringList({"+Код клиента", "+Поле 55555 (его нет в списке полей)", "-Пол",
                              "-Визитов", "-Группа"}));
        QCOMPARE(editor.MorePage()->PeriodMode()->currentIndex(), 2);
        QCOMPARE(Entries(editor.ListPage(4)), QStringList({"-Код клиента", "-Группа"}));

        CxListSelOrderModel* rows = editor.ListPage(0)->PickList()->Model();
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        rows->setData(rows->index(1), Qt::Unchecked, Qt::CheckStateRole); // drop the separator
        editor.ListPage(0)->PickList()->View()->setCurrentIndex(rows->index(0));
        editor.ListPage(0)->AddSeparator();
        CxListSelOrderModel* cols = editor.ListPage(1)->PickList()->Model();
        cols->setData(cols->index(1), Qt::Checked, Qt::CheckStateRole);
        QVERIFY(cols->Move(1, -1));
        CxListSelOrderModel* det = editor.ListPage(2)->PickList()->Model();
        det->setData(det->index(1), Qt::Unchecked, Qt::CheckStateRole);
        editor.MorePage()->PeriodMode()->setCurrentIndex(-1);
        editor.PivotCheck()->setChecked(false);
        editor.CommentEdit()->setText(QStringLiteral("за год"));
        QVERIFY(editor.Apply());
        QCOMPARE(preset.SumRows.GetIDs(), QList<long>({20439, -1, 20438}));
        QCOMPARE(preset.SumCols2.GetIDs(), QList<long>({20441, 20568}));
        QCOMPARE(preset.Detailed.GetIDs(), QList<long>({20437}));
        QCOMPARE(preset.SumCols.GetIDs(), QList<long>({99}));
        QCOMPARE(preset.PeriodMode, 0L); // nothing chosen stores 0
        QCOMPARE(preset.PivotMode, 0L);
        QCOMPARE(preset.Comment, QStringLiteral("за год"));
        xKDReportPresets2 stored;
        QVERIFY(stored.LoadFromProfile());
        QCOMPARE(stored.GetCount(), 1);
        QCOMPARE(stored.GetAt(0)->SumCols2.GetIDs(), QList<long>({20441, 20568}));
    }

    // What OK refuses, with the dialog kept open and the store untouched.
    void refusals_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString two =
            QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='А'/><KDREPPRESET2 Title='Б'/>"
                           "</KDREPORTPRESETS2>");
        QTest::newRow("empty name") << two << "А"
                                    << "  "
                                    << "Имя отчета обязательное поле";
        QTest::newRow("name of another") << two << "А"
                                         << "Б"
                                         << "уже есть в базе";
        QTest::newRow("new under a taken name") << two << ""
                                                << "А"
                                                << "уже есть в базе";
        QTest::newRow("name of the configuration's") << two << ""
                                                     << "Годовой"
                                                     << "есть среди заготовок программы";
    }
    void refusals() {
        QFETCH(QString, store);
        QFETCH(QString, opening);
        QFETCH(QString, name);
        QFETCH(QString, message);
        Store(store);
        KDRepPresetEx2 preset;
        preset.Title = opening;
        CRepPresetEdit2 editor(preset, kFields, false);
        editor.show();
        editor.NameEdit()->setText(name);
        editor.OkButton()->click();
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.result(), 0);
        QVERIFY2(editor.LastMessage().contains(message), qPrintable(editor.LastMessage()));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(Stored(), store);
        QCOMPARE(preset.Title, opening);
    }

    // A store that cannot be read does not lock the user out: OK saves into a
    // fresh list, once warning where the old text is kept.
    void unreadableStoreStartsAfresh() {
        const QString broken = QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='А'>");
        Store(broken);
        KDRepPresetEx2 preset;
        CRepPresetEdit2 editor(preset, kFields, false);
        editor.show();
        editor.NameEdit()->setText(QStringLiteral("В"));
        editor.OkButton()->click();
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("Список отчетов будет очищен.")) &&
                     m_messages.first().contains(QStringLiteral("«KDPresets2Unreadable»")),
                 qPrintable(m_messages.first()));
        QCOMPARE(CTarvikApp::GetProfileString(QStringLiteral("Reports"),
                                              QStringLiteral("KDPresets2Unreadable")),
                 broken);
        xKDReportPresets2 stored;
        QVERIFY(stored.LoadFromProfile());
        QCOMPARE(stored.GetCount(), 1);
        QCOMPARE(stored.GetAt(0)->Title, QStringLiteral("В"));
    }

    // An edited preset overwrites its own entry (the later of two with its
    // title); renamed, it keeps its place.
    void editOverwritesItsOwnEntry() {
        Store(QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='А' Comment='1'/>"
                             "<KDREPPRESET2 Title='Б'/><KDREPPRESET2 Title='А' Comment='2'/>"
                             "</KDREPORTPRESETS2>"));
        KDRepPresetEx2 preset; // the entry as stored, as a report window opens it
        preset.Title = QStringLiteral("А");
        preset.Comment = QStringLiteral("2");
        CRepPresetEdit2 editor(preset, kFields, false);
        editor.NameEdit()->setText(QStringLiteral("В"));
        QVERIFY(editor.Apply());
        xKDReportPresets2 stored;
        QVERIFY(stored.LoadFromProfile());
        QCOMPARE(stored.GetCount(), 3);
        QCOMPARE(stored.GetAt(0)->Comment, QStringLiteral("1"));
        QCOMPARE(stored.GetAt(2)->Title, QStringLiteral("В"));
    }

    // A store the editor wrote is read back by the next edit whatever the
    // names and comments hold: quotes, markup characters, separators.
    void storeItWroteIsReadBack_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("comment");
        QTest::newRow("quotes") << "Клиенты 'О'Брайена'"
                                << "\"в кавычках\"";
        QTest::newRow("markup") << "<b>А & Б</b>"
                                << "a<c>&amp;d";
        QTest::newRow("percent and braces") << "50% {name}"
                                            << "{msg.CliCode} %TITLE%";
    }
    void storeItWroteIsReadBack() {
        QFETCH(QString, title);
        QFETCH(QString, comment);
        Store(QString());
        KDRepPresetEx2 preset;
        preset.SumRows.SetIDs({20439, -1, 20438});
        {
            CRepPresetEdit2 editor(preset, kFields, false);
            editor.NameEdit()->setText(title);
            editor.CommentEdit()->setText(comment);
            QVERIFY2(editor.Apply(), qPrintable(editor.LastMessage()));
        }
        xKDReportPresets2 stored;
        QString error;
        QVERIFY2(stored.LoadFromProfile(&error), qPrintable(error));
        QCOMPARE(stored.GetCount(), 1);
        QCOMPARE(stored.GetAt(0)->Title, title);
        QCOMPARE(stored.GetAt(0)->Comment, comment);
        QCOMPARE(stored.GetAt(0)->SumRows.GetIDs(), QList<long>({20439, -1, 20438}));
        // Edited again: its own entry, read and overwritten.
        KDRepPresetEx2 again;
        again.Copy(*stored.GetAt(0));
        CRepPresetEdit2 editor(again, kFields, false);
        editor.CommentEdit()->setText(comment + QStringLiteral("!"));
        QVERIFY2(editor.Apply(), qPrintable(editor.LastMessage()));
        QVERIFY(m_messages.isEmpty());
        xKDReportPresets2 after;
        QVERIFY(after.LoadFromProfile());
        QCOMPARE(after.GetCount(), 1);
        QCOMPARE(after.GetAt(0)->Comment, comment + QStringLiteral("!"));
    }

    // Read-only: a look at the preset as the confirmation of a delete.
    void readOnlyConfirms() {
        Store(QString());
        KDRepPresetEx2 preset;
        preset.Title = QStringLiteral("А");
        CRepPresetEdit2 editor(preset, kFields, true);
        QVERIFY(editor.NameEdit()->isReadOnly());
        QVERIFY(!editor.PivotCheck()->isEnabled());
        QVERIFY(!editor.ListPage(0)->isEnabled());
        QVERIFY(editor.OkButton()->isEnabled());
        QVERIFY(editor.Apply());
        QCOMPARE(Stored(), QString());
    }

    // Version 1: the pages edit the working copy; nothing can be saved.
    void versionOneEditor() {
        KDRepPresetEx preset;
        preset.Title = QStringLiteral("Охват");
        preset.Summary.SetIDs({3003});
        preset.Detailed.SetIDs({3001});
        CRepPresetEdit editor(kColumns, preset);
        QCOMPARE(editor.Tabs()->tabText(0), QStringLiteral("Итоговый отчет"));
        QVERIFY(editor.SummaryPage()->Generate()->isChecked());
        QCOMPARE(Entries(editor.SummaryPage()), QStringList({"+Месяц", "-Пункт"}));
        QCOMPARE(Entries(editor.DetailPage()), QStringList({"+Код", "-Пункт"}));
        editor.DetailPage()->Generate()->setChecked(false);
        QVERIFY(!editor.DetailPage()->PickList()->isEnabled());
        QVERIFY(!editor.Apply());
        QVERIFY(editor.LastMessage().contains(QStringLiteral("сохранить изменения нельзя")));
        QCOMPARE(preset.Detailed.GetCount(), 0);
        QCOMPARE(preset.Summary.GetIDs(), QList<long>({3003}));
        editor.NameEdit()->clear();
        QVERIFY(!editor.Apply());
        QCOMPARE(editor.LastMessage(), QStringLiteral("Имя отчета обязательное поле"));
    }

    // The chooser: with nothing selected only "Новый" and "Закрыть"; the
    // configuration's presets are chosen, not changed; "Выбрать" answers
    // the item; "XML" writes the preset and is shown only in debug mode.
    void chooser() {
        CRepPresetSel chooser(kColumns);
        QAbstractItemModelTester tester(chooser.List()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(chooser.List()->model()->rowCount(), 1);
        QVERIFY(chooser.List()->model()->index(0, 0).data(Qt::CheckStateRole).isNull());
        QVERIFY(chooser.Button(2056)->isEnabled());
        QVERIFY(!chooser.Button(2055)->isEnabled());
        QVERIFY(!chooser.Button(1)->isEnabled());
        QVERIFY(chooser.Button(2170)->isHidden());
        chooser.List()->setCurrentIndex(chooser.List()->model()->index(0, 0));
        QVERIFY(chooser.Button(1)->isEnabled());
        QVERIFY(!chooser.Button(2055)->isEnabled());
        QVERIFY(!chooser.Button(2057)->isEnabled());
        QVERIFY(chooser.List()
                    ->model()
                    ->index(0, 0)
                    .data(CHTMLListCtrl::HtmlRole)
                    .toString()
                    .contains(QStringLiteral("green")));
        chooser.ProcessCommand(2170);
        QFile xml(chooser.LastXMLFile());
        QVERIFY(xml.fileName().startsWith(m_temp.path() + u'/'));
        QVERIFY(xml.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(xml.readAll())
                    .contains(QStringLiteral("<KDREPPRESET Title='Охват'")));
        xml.remove();
        chooser.Button(1)->click();
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.GetChosen(), 0);
        // The view's list then selects and ticks that item.
        CRepPresetSelList list;
        list.Reload(chooser.GetChosen());
        QCOMPARE(list.GetChecked(), 0);
        KDRepPresetEx chosen;
        QVERIFY(list.GetSelectedPreset(chosen));
        QCOMPARE(chosen.Summary.GetIDs(), QList<long>({3002}));

        CTarvikApp::WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Debug"), 1);
        CRepPresetSel debug(kColumns);
        QVERIFY(!debug.Button(2170)->isHidden());
    }

    // The list of the report window: one preset ticked at a time, a click on
    // the ticked one keeps it, a user preset of a configuration's title is
    // shown once, green.
    void presetListModel() {
        Store(QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='Годовой'/>"
                             "<KDREPPRESET2 Title='zeta'/><KDREPPRESET2 Title='Alpha'/>"
                             "</KDREPORTPRESETS2>"));
        CRepPresetList2 presets;
        CRepPresetSelList2 list;
        list.SetList(&presets);
        list.Fill(-1);
        QAbstractItemModel* model = list.model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList titles;
        for (int i = 0; i < model->rowCount(); ++i)
            titles << model->index(i, 0).data().toString();
        QCOMPARE(titles, QStringList({"Alpha", "zeta", "Годовой"}));
        QCOMPARE(model->index(2, 0).data(Qt::UserRole).toLongLong(), 0LL);
        emit list.clicked(model->index(1, 0));
        QCOMPARE(list.GetChecked(), 1);
        QVERIFY(!model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(list.GetChecked(), 1);
        model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(list.GetChecked(), 0);
        // A refill keeps the ticked title.
        list.Fill(-1);
        QCOMPARE(model->index(list.GetChecked(), 0).data().toString(), QStringLiteral("Alpha"));
        list.show();
        QVERIFY(list.sizeHintForRow(0) > 0);
    }
};

QTEST_MAIN(TestPresetEditors)
#include "test_preset_editors.moc"
