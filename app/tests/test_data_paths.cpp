// The data commands as a user drives them through the main window's menus:
// options changed and read back, the database tests run to their report, a
// backup restored over a change, an exchange package sent from one
// organisation's database and received in another's, and a sheet stencil
// filled the way a spreadsheet user fills it and loaded back into a saved
// daily report.
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "diary/daily_report_form.h"
#include "diary/excel/excel_xml.h"
#include "diary/excel/stencil_layout.h"
#include "diary/xml_load.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/wizard/wizard_dlg.h"
#include "framework/widgets/wizard/wizard_pane.h"
#include "model/options/kelda_options.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString kServices = QStringLiteral("Услуги");
const QString kSpreadsheet = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");

// The rows every path starts from: a service point with its town, a worker,
// a material, two clients, the own organisation and one daily report with
// two visits.
void Seed(SchemaTestDatabase& db, const QString& org) {
    db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cCity,cRegion) "
                           "VALUES (0,'%1','Фонд %1','Снижение вреда','Город','Область')")
                .arg(org));
    db.Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,"
                           "bHidden,nTown,nSpecFlags) VALUES (1,0,0,'Пункт на вокзале',1,1,0,5,0),"
                           "(2,0,0,'Иванова О. П.',2,0,0,0,0),(3,0,0,'Шприц 2 мл',3,65537,0,0,0)"));
    db.Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,nSex,bIsFolder,"
                           "nGroupID,nEthnicity,nRelCount) VALUES (1,'АБВ0190М',1990,1,0,0,0,0),"
                           "(2,'ГДЕ0185Ж',1985,2,0,0,0,0)"));
    db.Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
                           "nWorkPlace,nGroupID,bIsFolder,nCrc) VALUES "
                           "(1,'2024-03-01',2,-1,-1,1,0,0,11)"));
    db.Exec(QStringLiteral("INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP) "
                           "VALUES (1,1,1,3,5,1),(2,1,2,3,2,2)"));
}

// The checksums of the tables that hold the users' data.
QString DataChecksums(const TestDatabase& db) {
    return db.Rows(QStringLiteral("CHECKSUM TABLE orginf,dir,clientdata,clientdatachanges,"
                                  "dailyreport,dailyvisits"));
}

// Fills cells of a spreadsheet file as a spreadsheet program saves them:
// `cells` maps (row, column), 0-based in the first sheet, to the value; a
// value that reads as a number is stored as one. Cells the file has get the
// value, others are added in their place in the row.
bool FillSheet(const QString& path, const QMap<std::pair<int, int>, QString>& cells) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray in = file.readAll();
    file.close();
    QByteArray out;
    QXmlStreamReader reader(in);
    QXmlStreamWriter writer(&out);
    const auto writeData = [&](const QString& value) {
        bool number = false;
        value.toDouble(&number);
        writer.writeStartElement(kSpreadsheet, QStringLiteral("Data"));
        writer.writeAttribute(kSpreadsheet, QStringLiteral("Type"),
                              number ? QStringLiteral("Number") : QStringLiteral("String"));
        writer.writeCharacters(value);
        writer.writeEndElement();
    };
    const auto newCell = [&](int column, const QString& value) {
        writer.writeStartElement(kSpreadsheet, QStringLiteral("Cell"));
        writer.writeAttribute(kSpreadsheet, QStringLiteral("Index"), QString::number(column + 1));
        writeData(value);
        writer.writeEndElement();
    };
    int sheet = -1, row = -1, column = -1, depth = 0;
    bool inTable = false, reindex = false;
    QList<std::pair<int, QString>> pending; // the row's cells still to write
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.name().toString();
        if (reader.isStartElement() && name == QLatin1String("Worksheet"))
            ++sheet;
        if (reader.isStartElement() && name == QLatin1String("Table"))
            inTable = sheet == 0;
        if (reader.isEndElement() && name == QLatin1String("Table"))
            inTable = false;
        if (inTable && reader.isStartElement() && name == QLatin1String("Row")) {
            const auto index = reader.attributes().value(kSpreadsheet, QStringLiteral("Index"));
            row = index.isEmpty() ? row + 1 : index.toInt() - 1;
            column = -1;
            pending.clear();
            for (auto it = cells.cbegin(); it != cells.cend(); ++it)
                if (it.key().first == row)
                    pending << std::pair{it.key().second, it.value()};
        }
        if (inTable && reader.isStartElement() && name == QLatin1String("Cell") && depth == 0) {
            const auto index = reader.attributes().value(kSpreadsheet, QStringLiteral("Index"));
            const int at = index.isEmpty() ? column + 1 : index.toInt() - 1;
            while (!pending.isEmpty() && pending.first().first < at) {
                newCell(pending.first().first, pending.first().second);
                pending.removeFirst();
                reindex = true;
            }
            column =
                at + reader.attributes().value(kSpreadsheet, QStringLiteral("MergeAcross")).toInt();
            writer.writeCurrentToken(reader);
            if (reindex && index.isEmpty())
                writer.writeAttribute(kSpreadsheet, QStringLiteral("Index"),
                                      QString::number(at + 1));
            reindex = false;
            if (!pending.isEmpty() && pending.first().first == at) {
                writeData(pending.first().second);
                pending.removeFirst();
                reader.skipCurrentElement();
                writer.writeEndElement();
            }
            continue;
        }
        if (inTable && reader.isEndElement() && name == QLatin1String("Row"))
            for (const auto& [at, value] : std::as_const(pending))
                newCell(at, value);
        writer.writeCurrentToken(reader);
    }
    if (reader.hasError() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(out) == out.size();
}

// The exchanged tables' SQL names that the text shows as words.
QStringList RawTableNames(const QString& text) {
    QStringList found;
    for (const CSQLExchangeTable& table : CKeldaSQLImportWizard_Helper().GetExchangeTables())
        if (text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(table.name),
                                             QRegularExpression::CaseInsensitiveOption)))
            found << table.name;
    return found;
}

// The spin box of the options dialog that the label with `caption` names.
QSpinBox* OptionField(QDialog* dialog, const QString& caption) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->text() == caption)
            return qobject_cast<QSpinBox*>(label->buddy());
    return nullptr;
}
} // namespace

class TestDataPaths : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    AppShellFixture m_shell;
    QStringList m_messages;

    // Chooses the menu item as a user does (it must be there and enabled);
    // `modal` takes the modal window the command opens, if it opens one.
    bool Choose(const QStringList& path, const std::function<void(QDialog*)>& modal = {}) {
        SetModalDriver(modal);
        const bool chosen = UserPath::TriggerMenu(m_shell.Frame(), path);
        SetModalDriver({});
        return chosen;
    }
    // Selects the field's text as a user does and types over it.
    static void TypeOver(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        TypeText(field, text);
        UserPath::Settle();
    }
    // Makes the program's base connection one to `info`'s database, as the
    // program of another installation has it.
    static bool Connect(SQLConnectXML info) {
        auto sql = std::make_unique<CxMySQL>();
        if (!sql->Connect(&info))
            return false;
        g_pBaseSQLConnection = std::move(sql);
        return true;
    }

    // The wizard's file page as a user fills it: the path typed over the
    // offered one, then "Далее >".
    static bool ChooseFile(QDialog* wizard, const QString& path) {
        auto* field = wizard->findChild<CxFileEdit*>();
        if (!field || !field->isVisible())
            return false;
        TypeOver(field->findChild<QLineEdit*>(), path);
        return UserPath::Press(wizard, QStringLiteral("Далее >"));
    }
    // Presses the wizard's run button (its text, which says what it does)
    // and answers the log once the job is over and "Готово" is there.
    // `shown` (when given) collects every text the run's progress showed,
    // read each time the run lets events through.
    static QString RunJob(QDialog* dialog, const QString& runText, QStringList* shown = nullptr) {
        auto* wizard = qobject_cast<CWizardDlg*>(dialog);
        QTimer watch;
        if (shown) {
            QObject::connect(&watch, &QTimer::timeout, dialog, [dialog, shown] {
                for (const char* name : {"WizardCaption", "WizardStatus"})
                    if (auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
                        label && !label->text().isEmpty() && !shown->contains(label->text()))
                        shown->append(label->text());
            });
            watch.start(0);
        }
        if (!wizard || !UserPath::Press(wizard, runText))
            return QStringLiteral("(no button «%1»)").arg(runText);
        watch.stop();
        const QString log = wizard->GetProcessorPage()->GetLogText();
        if (!UserPath::Press(wizard, QStringLiteral("Готово")))
            return QStringLiteral("(not done) ") + log;
        return log;
    }

private slots:
    void initTestCase() {
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        QString error;
        QVERIFY2(m_shell.OpenMainWindow(m_dir.path(), QStringLiteral("paths"),
                                        QStringLiteral("<CONFIGURATION><LANGUAGE><PRJLIST>"
                                                       "<Item ID='1' Title='Проект'/></PRJLIST>"
                                                       "</LANGUAGE></CONFIGURATION>"),
                                        &error, [](SchemaTestDatabase& db) { Seed(db, "ORG-A"); }),
                 qPrintable(error));
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_messages << text;
            return int(IDYES);
        });
    }
    void cleanupTestCase() {
        SetExternalOpener({});
        CKelda2App::SetRestarter({});
        m_shell.Close();
    }
    void init() { m_messages.clear(); }
    void cleanup() {
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_messages << text;
            return int(IDYES);
        });
        m_shell.Frame().MDIArea()->closeAllSubWindows();
    }

    // A number typed into the options dialog is kept after "ОК": the
    // reopened dialog shows it and the settings store holds it.
    void optionsSavedAndReadBack() {
        const QString caption = QStringLiteral("Максимальный возраст клиента:");
        const QStringList path{kServices, QStringLiteral("Параметры программы")};
        QVERIFY(g_pOption_ClientData->m_MaxAge.Get() != 77);
        QVERIFY(Choose(path, [&](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Параметры программы"));
            QSpinBox* field = OptionField(dialog, caption);
            QVERIFY(field);
            TypeOver(field, QStringLiteral("77"));
            QVERIFY(UserPath::Press(dialog, QStringLiteral("ОК")));
        }));
        QCOMPARE(g_pOption_ClientData->m_MaxAge.Get(), 77);
        QCOMPARE(CTarvikApp::GetProfileString(g_pOption_ClientData->m_MaxAge.Section(),
                                              g_pOption_ClientData->m_MaxAge.Key()),
                 QStringLiteral("77"));
        // Reopened: the value is there; a change left with "Отмена" is not kept.
        int shown = 0;
        QVERIFY(Choose(path, [&](QDialog* dialog) {
            QSpinBox* field = OptionField(dialog, caption);
            QVERIFY(field);
            shown = field->value();
            TypeOver(field, QStringLiteral("90"));
            QVERIFY(UserPath::Press(dialog, QStringLiteral("Отмена")));
        }));
        QCOMPARE(shown, 77);
        QCOMPARE(g_pOption_ClientData->m_MaxAge.Get(), 77);
    }

    // The tests run to their end, repair the history row without its client
    // and say so in their report.
    void databaseTestsRunToTheirReport() {
        m_shell.Db().Exec(QStringLiteral("INSERT INTO clientdatachanges (ROWID,nClientID,dDate) "
                                         "VALUES (900,99999,'2020-01-01')"));
        QString log;
        QVERIFY(Choose({kServices, QStringLiteral("Обслуживание базы данных"),
                        QStringLiteral("Тестирование базы данных")},
                       [&](QDialog* dialog) {
                           QCOMPARE(dialog->windowTitle(),
                                    QStringLiteral("Тестирование базы данных"));
                           log = RunJob(dialog, QStringLiteral("Начать проверку"));
                       }));
        QVERIFY2(log.contains(QStringLiteral("Все проверки выполнены успешно")), qPrintable(log));
        QVERIFY2(!log.contains(QStringLiteral("Ok")), qPrintable(log));
        QCOMPARE(m_shell.Db().Scalar(
                     QStringLiteral("SELECT COUNT(*) FROM clientdatachanges WHERE ROWID=900")),
                 QStringLiteral("0"));
    }

    // A backup, then a change, then the restore of the backup into the same
    // database: the change is gone and every row is as it was; the program
    // says it starts again.
    void backupThenRestore() {
        const QString file = m_dir.filePath(QStringLiteral("копия.k2backup"));
        const QString before = DataChecksums(m_shell.Db());
        QString log;
        QVERIFY(
            Choose({kServices, QStringLiteral("Создать резервную копию")}, [&](QDialog* dialog) {
                QVERIFY(ChooseFile(dialog, file));
                log = RunJob(dialog, QStringLiteral("Создать копию"));
            }));
        QVERIFY2(QFile::exists(file), qPrintable(log));

        m_shell.Db().Exec(QStringLiteral("UPDATE dir SET cString='Пункт у рынка' WHERE ROWID=1"));
        m_shell.Db().Exec(QStringLiteral("DELETE FROM dailyvisits WHERE ROWID=2"));
        QVERIFY(DataChecksums(m_shell.Db()) != before);

        int restarts = 0;
        CKelda2App::SetRestarter([&restarts] { ++restarts; });
        QVERIFY(Choose({kServices, QStringLiteral("Обслуживание базы данных"),
                        QStringLiteral("Восстановление из резевной копии")},
                       [&](QDialog* dialog) {
                           QVERIFY(ChooseFile(dialog, file));
                           log = RunJob(dialog, QStringLiteral("Восстановить"));
                       }));
        CKelda2App::SetRestarter({});
        QVERIFY2(m_messages.contains(
                     QStringLiteral("База данных восстановлена. Программа будет перезапущена.")),
                 qPrintable(m_messages.join(u'\n') + u'\n' + log));
        QCOMPARE(restarts, 1);
        QCOMPARE(m_shell.Db().Scalar(QStringLiteral("SELECT cString FROM dir WHERE ROWID=1")),
                 QStringLiteral("Пункт на вокзале"));
        QCOMPARE(DataChecksums(m_shell.Db()), before);
    }

    // The package written from this organisation's database is received in
    // another organisation's: its report and visits arrive under the
    // sender, and the load is recorded.
    void exchangeBetweenTwoDatabases() {
        const QString package = m_dir.filePath(QStringLiteral("ORG-A.k2x"));
        QString log;
        QStringList shown;
        QVERIFY(
            Choose({kServices, QStringLiteral("Обмен данными"), QStringLiteral("Передача данных")},
                   [&](QDialog* dialog) {
                       QVERIFY(ChooseFile(dialog, package));
                       auto* wizard = qobject_cast<CWizardDlg*>(dialog);
                       QVERIFY(wizard);
                       log = RunJob(dialog, wizard->RunButton()->text(), &shown);
                   }));
        QVERIFY2(QFile::exists(package), qPrintable(log));
        // The progress and the log name the tables as people know them.
        const QString exported = shown.join(u'\n') + u'\n' + log;
        QVERIFY2(shown.contains(QStringLiteral("Визиты клиентов")), qPrintable(exported));
        QVERIFY2(log.contains(QStringLiteral("Визиты клиентов: 2")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("Справочники: 3")), qPrintable(log));
        QCOMPARE(RawTableNames(exported), QStringList());

        SchemaTestDatabase other(QStringLiteral("pathsb"));
        Seed(other, QStringLiteral("ORG-B"));
        QVERIFY(Connect(other.Info()));
        QVERIFY(Choose({kServices, QStringLiteral("Обмен данными"), QStringLiteral("Прием данных")},
                       [&](QDialog* dialog) {
                           QVERIFY(ChooseFile(dialog, package));
                           auto* wizard = qobject_cast<CWizardDlg*>(dialog);
                           QVERIFY(wizard);
                           log = RunJob(dialog, wizard->RunButton()->text(), &shown);
                       }));
        QVERIFY(Connect(m_shell.Db().Info()));
        QVERIFY2(log.contains(QStringLiteral("Визиты клиентов: 2")), qPrintable(log));
        QCOMPARE(RawTableNames(shown.join(u'\n') + u'\n' + log), QStringList());
        const QString region =
            other.Scalar(QStringLiteral("SELECT ROWID FROM orginf WHERE cOrgID='ORG-A'"));
        QVERIFY2(region.toInt() > 0, qPrintable(log));
        // Received clients keep their code, marked with the sender's number.
        QCOMPARE(other.Rows(QStringLiteral("SELECT SUBSTRING_INDEX(c.cClientCode,'`',1),v.nCount "
                                           "FROM dailyvisits AS v "
                                           "JOIN dailyreport AS r ON r.ROWID=v.nReportID JOIN "
                                           "clientdata AS c ON c.ROWID=v.nClientID WHERE "
                                           "r.nRegionDataID=%1 ORDER BY v.nCount")
                                .arg(region)),
                 other.Rows(QStringLiteral("SELECT 'ГДЕ0185Ж',2 UNION ALL SELECT 'АБВ0190М',5")));
        // Its own rows stay its own.
        QCOMPARE(other.Scalar(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0")),
                 QStringLiteral("ORG-B"));
        QCOMPARE(other.Scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM dailyreport WHERE nRegionDataID=0 AND bIsFolder=0")),
                 QStringLiteral("1"));
        QCOMPARE(other.Scalar(QStringLiteral("SELECT COUNT(*) FROM cmp_loadids WHERE "
                                             "nRegionDataID=") +
                              region),
                 QStringLiteral("1"));
    }

    // The stencil the command writes, filled in a spreadsheet (date, point,
    // worker, project, a material picked, client codes with counts), loaded
    // back: the loading opens the daily report form with the sheet, and the
    // saved report holds the visits.
    void sheetStencilFilledAndLoaded() {
        QString stencil;
        SetExternalOpener([&stencil](const QUrl& url) {
            stencil = url.toLocalFile();
            return true;
        });
        QVERIFY(Choose({kServices, QStringLiteral("Ведомости"),
                        QStringLiteral("Сформировать трафарет для MS Excel")}));
        SetExternalOpener({});
        QVERIFY(QFile::exists(stencil));
        CExcelXML written;
        QVERIFY(written.Load(stencil));
        const int top = StencilLayout::FindSignatureRow(written);
        QVERIFY(top > 0);
        using namespace StencilLayout;
        QVERIFY(FillSheet(stencil, {{{top + kDateRow, kDateColumn}, "2024-03-05T00:00:00.000"},
                                    {{top + kWorkPlaceRow, kWorkPlaceColumn}, "Пункт на вокзале"},
                                    {{top + kWorker1Row, kWorker1Column}, "Иванова О. П."},
                                    {{top + kProjectRow, kProjectColumn}, "Проект"},
                                    {{top + kMaterialsRow, kFirstMaterialColumn}, "Шприц 2 мл"},
                                    {{top + kFirstClientRow, kClientCodeColumn}, "АБВ0190М"},
                                    {{top + kFirstClientRow, kFirstMaterialColumn}, "10"},
                                    {{top + kFirstClientRow + 1, kClientCodeColumn}, "ГДЕ0185Ж"},
                                    {{top + kFirstClientRow + 1, kFirstMaterialColumn}, "4"}}));

        QList<CDDiary*> forms;
        QString log;
        QVERIFY(
            Choose({kServices, QStringLiteral("Ведомости"), QStringLiteral("Загрузить ведомости")},
                   [&](QDialog* dialog) {
                       QVERIFY(ChooseFile(dialog, stencil));
                       auto* wizard = qobject_cast<CWizardDlg*>(dialog);
                       QVERIFY(wizard);
                       const QString run = wizard->RunButton()->text();
                       QVERIFY(UserPath::Press(wizard, run));
                       log = wizard->GetProcessorPage()->GetLogText();
                       forms = qobject_cast<CXMLLoad*>(wizard)->OpenedForms();
                       QVERIFY(UserPath::Press(wizard, QStringLiteral("Готово")));
                   }));
        QCOMPARE(forms.size(), 1);
        CDDiary* form = forms.first();
        QVERIFY2(form, qPrintable(log));
        QCOMPARE(m_shell.Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE "
                                                    "dDate='2024-03-05'")),
                 QStringLiteral("0"));
        QVERIFY(UserPath::Press(form, QStringLiteral("ОК")));
        const QString report = m_shell.Db().Scalar(
            QStringLiteral("SELECT ROWID FROM dailyreport WHERE dDate='2024-03-05' AND "
                           "nWorkPlace=1 AND nWorker1=2"));
        QVERIFY2(report.toInt() > 0, qPrintable(m_messages.join(u'\n')));
        QCOMPARE(m_shell.Db().Rows(QStringLiteral("SELECT nClientID,nItem,nCount FROM dailyvisits "
                                                  "WHERE nReportID=%1 ORDER BY nClientID")
                                       .arg(report)),
                 m_shell.Db().Rows(QStringLiteral("SELECT 1,3,10 UNION ALL SELECT 2,3,4")));
    }
};

QTEST_MAIN(TestDataPaths)
#include "test_data_paths.moc"
