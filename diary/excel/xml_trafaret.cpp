#include "xml_trafaret.h"

#include "stencil_layout.h"

#include "framework/core/app/html_template.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/core/xml/xml_attr.h"
#include "model/config/configuration.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"

#include <QDir>
#include <QTemporaryFile>

#include <algorithm>
#include <iterator>

// The template lives in this static library's resources, which a program
// linking the library registers only when asked.
static void InitXMLTrafaretResources() {
    Q_INIT_RESOURCE(excel_templates);
}

namespace {
constexpr unsigned kTemplateId = 1743;
constexpr quint32 kKindMask = 0x0FFF0000;      // the kind part of a material's type code
constexpr quint32 kConsultationKind = 0x70000; // consultations
constexpr quint32 kByCode = 1;                 // a consultation counted by client code
// The template's sections, all of which the stencil is made of.
constexpr const char* kSections[] = {"XML",      "XML.ROW",   "XML.DIC",       "XML.RULE",
                                     "XML.PICK", "XML.TOTAL", "XML.VALIDATION"};

using Pairs = QList<std::pair<QString, QString>>;

constexpr CxTr Tr("MakeXMLTrafaret");

// Replaces every placeholder of pairs in one pass over text: what goes in is
// never searched again, so a directory name that looks like a placeholder
// stays as it is.
QString Fill(const QString& text, const Pairs& pairs) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        bool replaced = false;
        if (c == u'%' || c == u'{') {
            const QStringView rest = QStringView(text).mid(i);
            for (const auto& [key, value] : pairs) {
                if (rest.startsWith(key)) {
                    out += value;
                    i += key.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            out += c;
            ++i;
        }
    }
    return out;
}

// A directory text as cell content. Control characters other than tab and
// line breaks cannot be written in XML at all, so they are left out.
QString CellText(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
            clean += c;
    return SafeXMLData(clean);
}

QString Repeat(const QString& section, int count) {
    QString out;
    out.reserve(section.size() * count);
    for (int i = 0; i < count; ++i)
        out += section;
    return out;
}

// Runs a directory's query; every row goes to take. False, with the server's
// word in error, when the query fails.
template <class Take>
bool ReadDirectory(CxSQL* sql, const CxTable* table, const CxSelectOptions& options, Take take,
                   QString* error) {
    CxResult r = sql->Execute(table->BuildSelect(options));
    if (!r.isValid()) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось прочитать справочник «%1»:\n%2"))
                         .arg(table->GetCaption(), r.Error().text);
        return false;
    }
    while (r.FetchRow())
        take(r);
    return true;
}

// Rows that the stencil offers: neither hidden nor folders.
QString ShownRows(const CxTable* table, const CxField* hidden) {
    QString where =
        QStringLiteral("IFNULL(") + table->GetFieldSQL(hidden) + QStringLiteral(",0)=0");
    if (const CxField* folder = table->GetFolderMarkField())
        where +=
            QStringLiteral(" AND IFNULL(") + table->GetFieldSQL(folder) + QStringLiteral(",0)=0");
    return where;
}

// The material entries: every material, and one entry per flag of each
// consultation counted by code ("name:flag text"), as the import expects.
bool ReadMaterials(CxSQL* sql, QStringList* entries, QString* error) {
    const CxTable_Materials* t = g_pMaterialsTable.GetPtr();
    CxSelectOptions o;
    o.fields = {t->m_cString, t->m_nSpecFlags, t->m_MaterialGroup};
    o.where = ShownRows(t, t->m_bHidden) + QStringLiteral(" AND (") +
              t->GetFieldSQL(t->m_nSpecFlags) + QStringLiteral("&1 OR ") +
              t->GetFieldSQL(t->m_MaterialGroup) + QStringLiteral("&268369920<>458752)");
    o.orderBy = t->GetFieldSQL(t->m_cString);
    return ReadDirectory(
        sql, t, o,
        [&](CxResult& r) {
            const QString name = r.SFieldValue(0);
            const quint32 kind = quint32(r.LFieldValue(2));
            if ((kind & kKindMask) != kConsultationKind) {
                entries->append(name);
                return;
            }
            const quint32 flags = quint32(r.LFieldValue(1)) & ~kByCode;
            for (int bit = 1; bit < 32; ++bit) {
                const quint32 flag = 1u << bit;
                if (flags & flag)
                    entries->append(StencilLayout::ConsultationEntry(name, long(flag)));
            }
        },
        error);
}

bool ReadNames(CxSQL* sql, const CxTable* table, const CxField* name, const CxField* hidden,
               QStringList* names, QString* error) {
    CxSelectOptions o;
    o.fields = {name};
    o.where = ShownRows(table, hidden);
    o.orderBy = table->GetFieldSQL(name);
    return ReadDirectory(
        sql, table, o, [&](CxResult& r) { names->append(r.SFieldValue(0)); }, error);
}

QString At(const QStringList& list, int i) {
    return i < list.size() ? CellText(list.at(i)) : QString();
}

// An Excel range in R1C1 form; rows and columns 1-based.
QString Range(int row1, int column1, int row2, int column2) {
    return QStringLiteral("R%1C%2:R%3C%4").arg(row1).arg(column1).arg(row2).arg(column2);
}
} // namespace

XMLTrafaretParams XMLTrafaretParams::FromApplication() {
    XMLTrafaretParams p;
    p.clientRows = g_pOption_XMLExcel->m_MaxClientsCountXML.Get();
    if (xConfiguration* config = CurrentConfiguration()) {
        const xPrjList& list = config->GetCurrentLanguage()->PrjList;
        POSITION pos = list.InitScan_sEnum2();
        while (list.ScanNext_sEnum2(pos))
            p.projects << list.Current(pos)->cText;
    }
    if (CTarvikApp* app = CTarvikApp::Instance()) {
        p.programName = app->GetAppString(4);
        p.version = app->GetAppString(3);
    }
    p.date = DateToText(QDate::currentDate());
    p.created = QDateTime::currentDateTimeUtc();
    return p;
}

bool BuildXMLTrafaret(CxSQL* sql, const XMLTrafaretParams& params, QString* text, QString* error) {
    using namespace StencilLayout;
    InitXMLTrafaretResources();
    const CHTMLTemplate tpl(kTemplateId);
    // A section the template lacks would read as empty text and leave a
    // stencil without its rows or lists, so each one must be there.
    const bool complete =
        std::all_of(std::begin(kSections), std::end(kSections),
                    [&](const char* name) { return tpl.HasSection(QString::fromLatin1(name)); });
    if (!sql || !tpl.IsLoaded() || !complete || !g_pMaterialsTable.GetPtr() ||
        !g_pWorkPlaceTable.GetPtr() || !g_pWorkersTable.GetPtr()) {
        if (error)
            *error = Tr(QStringLiteral("Трафарет не может быть сформирован: программа не "
                                       "готова к работе с базой данных"));
        return false;
    }

    QStringList materials, points, workers;
    const CxTable_WorkPlace* wp = g_pWorkPlaceTable.GetPtr();
    const CxTable_Workers* w = g_pWorkersTable.GetPtr();
    if (!ReadMaterials(sql, &materials, error) ||
        !ReadNames(sql, wp, wp->m_cString, wp->m_bHidden, &points, error) ||
        !ReadNames(sql, w, w->m_cString, w->m_bHidden, &workers, error))
        return false;
    const QStringList& projects = params.projects;

    const int dic =
        int(std::max({materials.size(), points.size(), workers.size(), projects.size()}));
    const int clientRows = std::max(params.clientRows, 0);
    // Excel rows, 1-based: the signature row and the totals row.
    const int signatureRow = dic + 1;
    const int totalsRow = signatureRow + kTotalsRow;
    if (totalsRow + std::max(clientRows, 1) > kFormatRows) {
        if (error)
            *error = Tr(QStringLiteral("Трафарет не помещается на лист: %1 строк справочников и "
                                       "%2 строк клиентов, а лист вмещает %3 строк. Уменьшите "
                                       "число строк клиентов в настройках."))
                         .arg(dic)
                         .arg(clientRows)
                         .arg(kFormatRows);
        return false;
    }
    // Every total covers the same rows: from the first client row to the
    // sheet's last, so rows the user adds below the stencil's count too.
    const QString totalEnd = QString::number(kFormatRows - totalsRow);

    const QString dicSection = tpl.GetSection(QStringLiteral("XML.DIC"));
    QStringList dicRows;
    for (int i = 0; i < dic; ++i)
        dicRows << Fill(dicSection, {{QStringLiteral("%POSH%"), At(points, i)},
                                     {QStringLiteral("%MAT%"), At(materials, i)},
                                     {QStringLiteral("%SOC%"), At(workers, i)},
                                     {QStringLiteral("%PRJ%"), At(projects, i)}});

    // Drop-down lists, each over its dictionary column; none for an empty
    // directory, whose range would name no rows.
    const QString validationSection = tpl.GetSection(QStringLiteral("XML.VALIDATION"));
    QStringList validations;
    auto addList = [&](qsizetype count, int dicColumn, const QString& cells) {
        if (count > 0)
            validations << Fill(validationSection, {{QStringLiteral("%RANGE%"), cells},
                                                    {QStringLiteral("%LIST%"),
                                                     Range(1, dicColumn, int(count), dicColumn)}});
    };
    auto entry = [&](int rowOffset, int column) { // a two-column entry of the header
        const int row = signatureRow + rowOffset;
        return Range(row, column + 1, row, column + 2);
    };
    addList(projects.size(), 5, entry(kProjectRow, kProjectColumn));
    addList(workers.size(), 4,
            entry(kWorker1Row, kWorker1Column) + u',' + entry(kWorker2Row, kWorker2Column) + u',' +
                entry(kWorker3Row, kWorker3Column));
    addList(points.size(), 2, entry(kWorkPlaceRow, kWorkPlaceColumn));
    addList(materials.size(), 3,
            Range(signatureRow + kMaterialsRow, kFirstMaterialColumn + 1,
                  signatureRow + kMaterialsRow, kLastMaterialColumn + 1));

    const QString totals = Repeat(Fill(tpl.GetSection(QStringLiteral("XML.TOTAL")),
                                       {{QStringLiteral("%TOTALEND%"), totalEnd}}),
                                  kLastMaterialColumn - kFirstMaterialColumn + 1);
    // The warning row's styled cells after its merged text (columns 2 to 8),
    // and the picking cells of the materials row.
    const QString rule = Repeat(tpl.GetSection(QStringLiteral("XML.RULE")), kFormatColumns - 9);
    const QString pick = Repeat(tpl.GetSection(QStringLiteral("XML.PICK")),
                                kLastMaterialColumn - kFirstMaterialColumn + 1);

    Pairs pairs = {
        {QStringLiteral("%DIC%"), dicRows.join(QStringLiteral("\n   "))},
        {QStringLiteral("%ROWS%"),
         QStringList(clientRows, tpl.GetSection(QStringLiteral("XML.ROW")))
             .join(QStringLiteral("\n   "))},
        {QStringLiteral("%VALIDATIONS%"), validations.join(QStringLiteral("\n  "))},
        {QStringLiteral("%TOTALCELLS%"), totals},
        {QStringLiteral("%TOTALEND%"), totalEnd},
        {QStringLiteral("%RULECELLS%"), rule},
        {QStringLiteral("%PICKCELLS%"), pick},
        {QStringLiteral("{XML.Program}"), CellText(params.programName)},
        {QStringLiteral("{XML.Version}"), CellText(params.version)},
        {QStringLiteral("{XML.Date}"), CellText(params.date)},
        {QStringLiteral("{XML.Created}"),
         params.created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))},
        // The captions are the program's own texts and go in as markup.
        {QStringLiteral("{msg.CliCode}"), CTarvikApp::TranslateString("msgCliCode")},
        {QStringLiteral("{msg.pp}"), CTarvikApp::TranslateString("msgPP")},
        {QStringLiteral("{msg.popinfo}"), CTarvikApp::TranslateString("msgPopInfoXML")},
        {QStringLiteral("{msg.warning}"), CTarvikApp::TranslateString("msgXMLRepWarning")},
        {QStringLiteral("{msg.workplace}"), CTarvikApp::TranslateString("msgWorkplace")},
        {QStringLiteral("{msg.worker3}"), CTarvikApp::TranslateString("msgSocWroker3")},
        {QStringLiteral("{msg.worker2}"), CTarvikApp::TranslateString("msgSocWroker2")},
        {QStringLiteral("{msg.worker}"), CTarvikApp::TranslateString("msgSocWorker")},
        {QStringLiteral("{msg.project}"), CTarvikApp::TranslateString("msgProject")},
        {QStringLiteral("{msg.comment}"), CTarvikApp::TranslateString("msgComment")},
        {QStringLiteral("{msg.date}"), CTarvikApp::TranslateString("msgData")},
    };
    for (int n = 1; n <= 10; ++n)
        pairs.append({QStringLiteral("{DirSize.%1}").arg(n), QString::number(dic + n)});

    *text = Fill(tpl.GetSection(QStringLiteral("XML")), pairs) + u'\n';
    return true;
}

QString XMLTrafaretFolder() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("Kelda2"));
}

bool MakeXMLTrafaret(CxSQL* sql, const QString& folder, QString* path, QString* error) {
    QString text;
    if (!BuildXMLTrafaret(sql, XMLTrafaretParams::FromApplication(), &text, error))
        return false;
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось создать папку «%1»")).arg(folder);
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("Report2XXXXXX.xml")));
    if (!file.open()) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось создать файл трафарета в папке «%1»:\n%2"))
                         .arg(folder, file.errorString());
        return false;
    }
    // A file that was not written whole is removed with the object.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось записать файл трафарета «%1»:\n%2"))
                         .arg(file.fileName(), file.errorString());
        return false;
    }
    const QString name = file.fileName();
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = Tr(QStringLiteral("Не удалось записать файл трафарета «%1»:\n%2"))
                         .arg(name, file.errorString());
        return false;
    }
    file.setAutoRemove(false);
    if (path)
        *path = name;
    return true;
}
