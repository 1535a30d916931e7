#include "exchange_wizards.h"

#include "framework/core/exchange/exchange_package.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/table_captions.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/wizard/wizard_file_pane.h"
#include "framework/widgets/wizard/wizard_pane.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>

namespace {
constexpr CxTr Tr;
constexpr CxTr TrE("CSQLExportWizardDlg");
constexpr CxTr TrI("CSQLImportWizardDlg");

const QString kFileVar = QLatin1String(ExchangeWizards::kFileVar);

QString LastFolder() {
    return CWizardFilePane::LastUsedFolder(QLatin1String(ExchangeWizards::kFolderSection),
                                           QLatin1String(ExchangeWizards::kFolderEntry));
}

void RememberFolder(const QString& path) {
    CTarvikApp::WriteProfileString(QLatin1String(ExchangeWizards::kFolderSection),
                                   QLatin1String(ExchangeWizards::kFolderEntry),
                                   QFileInfo(path).absolutePath());
}

// The rows per table under the tables' captions, for the log:
// "Справочники: 12".
void LogRows(CWizardPaneProcessor* log, const QMap<QString, qint64>& rows) {
    CxTableRowTally tally;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        tally.Add(it.key(), it.value());
    for (const QString& line : tally.Lines())
        log->AddInfoMessage(QStringLiteral("    ") + line);
    log->AddInfoMessage(TrE("Всего записей: [bold]%1[/bold]").arg(tally.Total()));
}

// The file page of both wizards.
class CExchangeFilePane : public CWizardFilePane {
public:
    CExchangeFilePane(const QString& title, const QString& intro, CxFileEdit::Mode mode)
        : CWizardFilePane(title, intro, mode, ExchangeWizards::FileFilter()) {
        File()->setObjectName(QStringLiteral("exchangeFile"));
    }
};

// ---- export

class CExportFilePane : public CExchangeFilePane {
public:
    explicit CExportFilePane(CSQLExportWizardDlg* wizard)
        : CExchangeFilePane(TrE("Файл пакета обмена"),
                            TrE("Все данные базы данных будут выгружены в пакет обмена: один "
                                "файл, который принимает программа вышестоящей организации "
                                "(«Прием данных»).\n\nУкажите файл пакета обмена:"),
                            CxFileEdit::Mode::SaveFile),
          m_wizard(wizard) {}

    void OnSetActive() override {
        if (!File()->GetPath().isEmpty())
            return;
        File()->SetPath(QDir(LastFolder())
                            .filePath(CSQLExportWizardDlg::DefaultFileName(
                                m_wizard->GetHelper()->GetOwnOrgID(), QDate::currentDate())));
    }

protected:
    QString Problem(const QString& path) const override {
        if (path.isEmpty())
            return TrE("Укажите файл пакета обмена.");
        const QFileInfo info(path);
        if (info.isDir())
            return TrE("Указана папка, а не файл.");
        if (!info.absoluteDir().exists())
            return TrE("Папка файла не существует.");
        return QString();
    }
    QString Note(const QString& path) const override {
        const QString problem = Problem(path);
        if (problem.isEmpty() && QFileInfo::exists(path))
            return TrE("Файл уже существует: он будет заменен, когда новый пакет будет записан "
                       "полностью.");
        return problem;
    }

private:
    CSQLExportWizardDlg* m_wizard;
};

class CExportProcessor : public CWizardPaneProcessor {
public:
    explicit CExportProcessor(CSQLExportWizardDlg* wizard) : m_wizard(wizard) {}

    QString GetSummary() const override {
        return TrE("Данные будут выгружены в файл:") + u'\n' + QStringLiteral("<b>") +
               QDir::toNativeSeparators(GetVar(kFileVar).toString()).toHtmlEscaped() +
               QStringLiteral("</b>\n\n") +
               TrE("Выгрузка большой базы данных может занять несколько минут.");
    }
    QString GetRunText() const override { return TrE("Выгрузить"); }

    bool Process() override {
        const QString path = GetVar(kFileVar).toString();
        AddInfoMessage(TrE("Выгрузка в файл %1").arg(QDir::toNativeSeparators(path)));
        CSQLExportWizard engine(m_wizard->GetHelper());
        QString error;
        if (!engine.Export(m_wizard->GetSQL(), path, m_wizard, &error)) {
            AddWarning(error, 0);
            AddInfoMessage(TrE("Файл пакета обмена не записан."));
            return false;
        }
        RememberFolder(path);
        AddInfoMessage(TrE("Выгружены данные организации [bold]%1[/bold]:")
                           .arg(engine.Attributes().value(QStringLiteral("cOrgID"))));
        LogRows(this, engine.RowCounts());
        AddInfoMessage(TrE("Пакет обмена записан. Передайте файл в вышестоящую организацию."));
        return true;
    }

private:
    CSQLExportWizardDlg* m_wizard;
};

// ---- import

class CImportFilePane : public CExchangeFilePane {
public:
    CImportFilePane()
        : CExchangeFilePane(TrI("Пакет обмена"),
                            TrI("Данные организации, которая прислала пакет обмена, и "
                                "организаций, чьи данные она передает, будут заменены данными "
                                "из пакета. Свои данные и данные остальных организаций не "
                                "меняются.\n\nВыберите файл пакета обмена:"),
                            CxFileEdit::Mode::OpenFile) {}

protected:
    QString Problem(const QString& path) const override {
        if (path.isEmpty())
            return TrI("Выберите файл пакета обмена.");
        const QFileInfo info(path);
        if (info.isDir())
            return TrI("Указана папка, а не файл.");
        if (!info.exists())
            return TrI("Файл не существует.");
        return QString();
    }
};

class CImportProcessor : public CWizardPaneProcessor {
public:
    explicit CImportProcessor(CSQLImportWizardDlg* wizard) : m_wizard(wizard) {}

    // What the package holds, read (and its checksum checked) once per file;
    // a package that cannot be read says why, and the run will refuse it.
    QString GetSummary() const override {
        const QString path = GetVar(kFileVar).toString();
        QString html = TrI("Файл пакета обмена:") + u'\n' + QStringLiteral("<b>") +
                       QDir::toNativeSeparators(path).toHtmlEscaped() + QStringLiteral("</b>\n\n");
        CSQLExchangePackageReader reader;
        QString error;
        if (!reader.Open(path, &error))
            return html + QStringLiteral("<warning>") + error.toHtmlEscaped() +
                   QStringLiteral("</warning>");
        qint64 rows = 0;
        for (const CSQLExchangeTableInfo& t : reader.Tables())
            rows += t.rows;
        const QString org = reader.Attributes().value(QStringLiteral("cOrgID"));
        html += TrI("Отправитель: ") + QStringLiteral("<b>") + org.toHtmlEscaped() +
                QStringLiteral("</b>\n") + TrI("Таблиц: ") +
                QString::number(reader.Tables().size()) + u'\n' + TrI("Записей: ") +
                QString::number(rows) + QStringLiteral("\n\n") +
                TrI("Прежние данные этой организации (и организаций, чьи данные она "
                    "передает) будут заменены данными пакета. Если "
                    "загрузка не удастся или будет прервана, база данных останется без "
                    "изменений.");
        return html;
    }
    QString GetRunText() const override { return TrI("Загрузить"); }

    bool Process() override {
        const QString path = GetVar(kFileVar).toString();
        AddInfoMessage(TrI("Загрузка из файла %1").arg(QDir::toNativeSeparators(path)));
        CSQLImportWizard engine(m_wizard->GetHelper());
        QString error;
        bool done = engine.Import(m_wizard->GetSQL(), path, m_wizard, this, &error);
        // A package older than the last one of its sender goes in only when
        // the user says so, knowing which dates are at stake.
        if (!done && engine.RefusedAsOlder() &&
            CxAsk(m_wizard, CxAskKind::YesNo,
                  error + QStringLiteral("\n\n") +
                      TrI("Загрузить этот пакет все равно? Данные организации станут такими, "
                          "какими они были в этом пакете."),
                  m_wizard->GetWizardTitle()) == IDYES) {
            AddWarning(error, 1);
            AddInfoMessage(TrI("Загрузка более старого пакета подтверждена."));
            engine.SetAcceptOlder(true);
            error.clear();
            done = engine.Import(m_wizard->GetSQL(), path, m_wizard, this, &error);
        }
        // Rows the sender passed on older than the receiver's were left out
        // (the engine logged each); they replace the newer ones only when the
        // user says so.
        if (done && !engine.OlderOrigins().isEmpty() &&
            CxAsk(m_wizard, CxAskKind::YesNo,
                  engine.OlderOrigins().join(QStringLiteral("\n\n")) + QStringLiteral("\n\n") +
                      TrI("Загрузить эти данные все равно? Данные организации станут такими, "
                          "какими они были в этом пакете."),
                  m_wizard->GetWizardTitle()) == IDYES) {
            AddInfoMessage(TrI("Загрузка более старых данных подтверждена."));
            CSQLImportWizard older(m_wizard->GetHelper());
            older.SetAcceptOlder(true);
            QString olderError;
            // The package without them is in already: a failure here keeps it.
            if (older.Import(m_wizard->GetSQL(), path, m_wizard, this, &olderError)) {
                engine = older;
            } else {
                AddWarning(olderError, 0);
                AddInfoMessage(TrI("Более старые данные не загружены, остальные данные пакета "
                                   "загружены."));
            }
        }
        if (!done) {
            AddWarning(error, 0);
            AddInfoMessage(TrI("База данных не изменена."));
            return false;
        }
        RememberFolder(path);
        // One arg() for both: an identifier holding "%1" must not take the
        // load number's place.
        AddInfoMessage(TrI("Получены данные организации [bold]%1[/bold] (номер загрузки %2):")
                           .arg(engine.SenderOrgID(), QString::number(engine.LoadID())));
        LogRows(this, engine.RowCounts());
        return true;
    }

private:
    CSQLImportWizardDlg* m_wizard;
};

CxSQL* BaseIfNull(CxSQL* sql) {
    return sql ? sql : g_pBaseSQLConnection.get();
}
} // namespace

QString ExchangeWizards::FileFilter() {
    return TrE("Пакет обмена (*.k2x)|*.k2x");
}

CSQLExportWizardDlg::CSQLExportWizardDlg(CSQLImportWizard_Helper* helper, CxSQL* sql,
                                         QWidget* parent)
    : CWizardDlg(parent), m_helper(helper), m_sql(BaseIfNull(sql)) {
    setObjectName(QStringLiteral("CSQLExportWizardDlg"));
}

QString CSQLExportWizardDlg::GetWizardTitle() const {
    return TrE("Передача данных");
}

QString CSQLExportWizardDlg::DefaultFileName(const QString& orgID, const QDate& day) {
    // Characters a file system may refuse become "_".
    QString org = orgID.trimmed();
    org.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]")), QStringLiteral("_"));
    if (org.isEmpty())
        org = QStringLiteral("export");
    return org + u'_' + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".k2x");
}

void CSQLExportWizardDlg::OnInitPages() {
    m_helper->m_pSQL = m_sql;
    RegisterPage(new CExportFilePane(this));
    SetProcessorPage(new CExportProcessor(this));
}

CSQLImportWizardDlg::CSQLImportWizardDlg(CSQLImportWizard_Helper* helper, CxSQL* sql,
                                         QWidget* parent)
    : CWizardDlg(parent), m_helper(helper), m_sql(BaseIfNull(sql)) {
    setObjectName(QStringLiteral("CSQLImportWizardDlg"));
}

QString CSQLImportWizardDlg::GetWizardTitle() const {
    return TrI("Прием данных");
}

void CSQLImportWizardDlg::OnInitPages() {
    m_helper->m_pSQL = m_sql;
    RegisterPage(new CImportFilePane);
    SetProcessorPage(new CImportProcessor(this));
}
