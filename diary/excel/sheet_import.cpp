#include "sheet_import.h"

#include "excel_xml.h"
#include "sheet_file_reader.h"
#include "stencil_layout.h"

#include "diary/core/cell_number.h"
#include "diary/core/diary_verdict.h"
#include "framework/core/progress.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "model/config/configuration.h"
#include "model/enums/enums.h"
#include "model/tables/table_set.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

namespace {
// Client codes looked up by one statement.
constexpr int kCodesPerQuery = 500;
// The kind of a consultation that puts it on the visits sheet.
constexpr qint64 kByCode = 1;

enum DirKind { kPoints, kWorkers, kMaterials };

QString WorkerText(const char* text) {
    return DiaryText(text, "CXMLLoadProcess::LoadSocRab");
}

// The steps of the progress bar one file takes.
constexpr int kStepsPerFile = 100;

QString Cell(const CExcelXML& sheet, int row, int column, int at) {
    const QString* text = sheet.GetCellText(row, column, at);
    return text ? *text : QString();
}

// A name as the user reads it: a run of blanks (non-breaking ones too) is one
// blank, and none stand at the ends.
QString FoldBlanks(const QString& name) {
    return name.simplified();
}

// The key of a client code as the server compares codes: without case, "ё"
// as "е". Two rows may type one client's code both ways.
QString CodeKey(const QString& code) {
    QString key = code.trimmed().toCaseFolded();
    key.replace(u'ё', u'е');
    return key;
}

// The key of a name kept outside the server (a consultation's entry, a
// project of the configuration): blanks folded, letters compared without case
// and "ё" as "е", as the server compares the directory's names.
QString NameKey(const QString& name) {
    QString key = FoldBlanks(name).toCaseFolded();
    key.replace(u'ё', u'е');
    return key;
}

// The project the configuration lists under a name: the one written exactly
// so first, else the first whose name compares equal; 0 for none.
long FindProject(const xPrjList& projects, const QString& name) {
    const long exact = projects.FindString(name);
    if (exact > 0)
        return exact;
    const QString key = NameKey(name);
    POSITION pos = projects.InitScan_sEnum2();
    while (projects.ScanNext_sEnum2(pos)) {
        const sPrjList& item = *projects.Current(pos);
        if (item.nCode > 0 && NameKey(item.cText) == key)
            return item.nCode;
    }
    return 0;
}

// A column as the spreadsheet programs name it: A, B, ..., Z, AA, ...
QString ColumnName(int column) {
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

// The date of the date cell: its first ten characters, either the stored
// form a spreadsheet program writes (year-month-day) or a date typed in the
// user's own form. Invalid when neither reads.
QDate ReadSheetDate(const QString& cell) {
    const QString text = cell.left(10).trimmed();
    if (text.isEmpty())
        return {};
    QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        date = QLocale().toDate(text, QLocale::ShortFormat);
    if (!date.isValid())
        date = QLocale().toDate(text, QStringLiteral("dd.MM.yyyy"));
    // A short year would be read as one of the 1900s: not the user's date.
    if (date.isValid() && date.year() < 1950)
        return {};
    return date;
}

// Of the clients a code found (in the server's order), the one whose own
// code equals it ignoring case, else the last one.
qint64 ChooseClient(const QString& code, const QList<QPair<qint64, QString>>& found) {
    for (const auto& [id, own] : found)
        if (own.compare(code, Qt::CaseInsensitive) == 0)
            return id;
    return found.last().first;
}

bool Failed(const CxResult& r, QString* error) {
    if (r.isValid())
        return false;
    if (error)
        *error = DescribeSQLError(r.Error());
    return true;
}
} // namespace

QString SheetImportText(const char* text) {
    return DiaryText(text, "CXMLLoadProcess::Process");
}

CSheetImport::CSheetImport(CxSQL* sql, qint64 folder)
    : m_sql(sql), m_folder(folder), m_limits(CSheetFileLimits::FromApplication()) {}

QStringList CSheetImport::FindFiles(const QString& pattern) {
    const QFileInfo info(pattern);
    const QString name = info.fileName();
    if (!name.contains(u'*') && !name.contains(u'?')) {
        if (info.isFile())
            return {info.absoluteFilePath()};
        return {};
    }
    QDir dir = info.absoluteDir();
    QStringList files;
    // Names compare without case, as on the file systems the sheets come from.
    dir.setNameFilters({name});
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        files << f.absoluteFilePath();
    return files;
}

void CSheetImport::Warn(CvRunLog* log, const QString& text) {
    m_fileWarnings << text;
    if (log)
        log->AddWarning(text, 1);
}

bool CSheetImport::LoadConsultationNames(QString* error) {
    const CxTable_Materials* t = g_pMaterialsTable.GetPtr();
    if (!m_sql || !t) {
        if (error)
            *error = SheetImportText("Нет соединения с базой данных");
        return false;
    }
    CxSelectOptions o;
    o.fields = {t->m_ROWID, t->m_cString, t->m_nSpecFlags, t->m_MaterialGroup};
    o.where = QStringLiteral("(") + t->GetFieldSQL(t->m_nSpecFlags) + QStringLiteral("&1 AND ") +
              t->GetFieldSQL(t->m_MaterialGroup) + QStringLiteral("&268369920=458752)");
    o.orderBy = t->GetFieldSQL(t->m_cString);
    CxResult r = m_sql->Execute(t->BuildSelect(o));
    if (Failed(r, error))
        return false;
    m_consultationNames.clear();
    while (r.FetchRow()) {
        const qint32 item = qint32(r.LFieldValue(0));
        const QString name = r.SFieldValue(1);
        const qint64 flags = r.LFieldValue(2) & ~kByCode;
        // Every kind up to the highest the item carries: a sheet may name a
        // kind the item lost since the stencil was made.
        for (qint64 flag = 2; flag > 0 && flag <= flags && flag <= 0x40000000; flag <<= 1)
            m_consultationNames.insert(NameKey(StencilLayout::ConsultationEntry(name, long(flag))),
                                       {item, qint32(flag)});
    }
    m_namesLoaded = true;
    return true;
}

bool CSheetImport::LookUpDirectory(int dirKind, const QString& name, qint64* id, QString* error) {
    const CxTable* table = nullptr;
    const CxField* rowId = nullptr;
    const CxField* text = nullptr;
    switch (dirKind) {
    case kPoints:
        table = g_pWorkPlaceTable.GetPtr();
        rowId = g_pWorkPlaceTable->m_ROWID;
        text = g_pWorkPlaceTable->m_cString;
        break;
    case kWorkers:
        table = g_pWorkersTable.GetPtr();
        rowId = g_pWorkersTable->m_ROWID;
        text = g_pWorkersTable->m_cString;
        break;
    default:
        table = g_pMaterialsTable.GetPtr();
        rowId = g_pMaterialsTable->m_ROWID;
        text = g_pMaterialsTable->m_cString;
        break;
    }
    // The server compares without case ("ё" as "е"); runs of blanks are
    // folded on both sides, since a doubled blank is no other name to the
    // user. A name stored exactly as typed comes first.
    const QString field = table->GetFieldSQL(text);
    CxSelectOptions o;
    o.fields = {rowId};
    o.where = QStringLiteral("TRIM(REGEXP_REPLACE(%1,'[[:space:]\u00A0]+',' '))=%2")
                  .arg(field, SafeSQL(FoldBlanks(name)));
    o.orderBy =
        QStringLiteral("(%1=%2) DESC,%3").arg(field, SafeSQL(name), table->GetFieldSQL(rowId));
    o.defaultOrder = false;
    o.limit = QStringLiteral("1");
    CxResult r = m_sql->Execute(table->BuildSelect(o));
    if (Failed(r, error))
        return false;
    *id = r.FetchRow() ? r.LFieldValue(0) : -1;
    return true;
}

bool CSheetImport::LookUpWorker(const QString& ordinal, const QString& name, CvRunLog* log,
                                qint64* id, QString* error) {
    if (log)
        log->AddInfoMessage(WorkerText("--> {socnom} социальный работник {soc}...")
                                .replace(QStringLiteral("{socnom}"), ordinal)
                                .replace(QStringLiteral("{soc}"), name));
    if (!LookUpDirectory(kWorkers, name, id, error))
        return false;
    if (*id > 0) {
        if (log)
            log->AddInfoMessage(WorkerText("Ок"), 0);
    } else {
        Warn(log, WorkerText("{soc} не найден в базе социальных работников")
                      .replace(QStringLiteral("{soc}"), name));
    }
    return true;
}

// The clients of the codes: a code matches the client whose code, or whose
// code in its organisation of origin, equals it (as the server compares
// them); of several, the one whose own code equals it ignoring case, else
// the last one. Codes that match nobody are left out of *clients.
bool CSheetImport::LookUpClients(const QStringList& codes, QHash<QString, qint64>* clients,
                                 QString* error) {
    for (qsizetype from = 0; from < codes.size(); from += kCodesPerQuery) {
        const QStringList part = codes.mid(from, kCodesPerQuery);
        QStringList literals;
        // The server's comparison ignores case and takes "ё" for "е"; the
        // rows are matched back to their codes the same way.
        QHash<QString, QStringList> codesOf; // one code may be typed in several cases
        for (const QString& code : part) {
            literals << SafeSQL(code);
            codesOf[CodeKey(code)] << code;
        }
        const QString list = literals.join(u',');
        CxResult r = m_sql->Execute(
            QStringLiteral("SELECT ROWID,cClientCode,cOClientCode FROM clientdata WHERE "
                           "cClientCode IN (%1) OR cOClientCode IN (%1) ORDER BY ROWID")
                .arg(list));
        if (Failed(r, error))
            return false;
        QHash<QString, QList<QPair<qint64, QString>>> matches;
        bool unplaced = false;
        while (r.FetchRow()) {
            const qint64 id = r.LFieldValue(0);
            const QString own = r.SFieldValue(1);
            const QString ownKey = CodeKey(own);
            const QString originKey = CodeKey(r.SFieldValue(2));
            QStringList matched = codesOf.value(ownKey);
            if (originKey != ownKey)
                matched += codesOf.value(originKey);
            for (const QString& code : matched)
                matches[code].append({id, own});
            unplaced = unplaced || matched.isEmpty();
        }
        for (auto it = matches.cbegin(); it != matches.cend(); ++it)
            clients->insert(it.key(), ChooseClient(it.key(), *it));
        // The server's comparison may know more equal letters than these: a
        // row returned for no code above belongs to one of the codes still
        // without a client, which the server then answers one by one.
        if (!unplaced)
            continue;
        for (const QString& code : part) {
            if (clients->contains(code))
                continue;
            CxResult one =
                m_sql->Execute(QStringLiteral("SELECT ROWID,cClientCode FROM clientdata WHERE "
                                              "cClientCode=%1 OR cOClientCode=%1 ORDER BY ROWID")
                                   .arg(SafeSQL(code)));
            if (Failed(one, error))
                return false;
            QList<QPair<qint64, QString>> rows;
            while (one.FetchRow())
                rows.append({one.LFieldValue(0), one.SFieldValue(1)});
            if (!rows.isEmpty())
                clients->insert(code, ChooseClient(code, rows));
        }
    }
    return true;
}

bool CSheetImport::ReadHeader(const CExcelXML& sheet, int at, int top, const QString& path,
                              CvRunLog* log, CDailyReportHeader* header, bool* made,
                              QString* error) {
    using namespace StencilLayout;
    header->date = ReadSheetDate(Cell(sheet, top + kDateRow, kDateColumn, at));
    if (!header->date.isValid()) {
        Warn(log, DiaryText("Поле дата не заполнено или заполнено с ошибками", "msgDataNeZapoln"));
        *made = false;
        return true;
    }
    if (log)
        log->AddInfoMessage(DiaryText("--> дата: {data}", "msgDataDT")
                                .replace(QStringLiteral("{data}"), DateToText(header->date)));

    const QString place = Cell(sheet, top + kWorkPlaceRow, kWorkPlaceColumn, at).trimmed();
    if (log)
        log->AddInfoMessage(SheetImportText("--> место работы {workplace}...")
                                .replace(QStringLiteral("{workplace}"), place));
    if (!LookUpDirectory(kPoints, place, &header->workPlace, error))
        return false;
    if (header->workPlace > 0) {
        if (log)
            log->AddInfoMessage(SheetImportText("Ок"), 0);
    } else {
        Warn(log, SheetImportText("Пункт предоставления не найден в базе"));
    }

    const QString worker1 = Cell(sheet, top + kWorker1Row, kWorker1Column, at).trimmed();
    if (worker1.isEmpty()) {
        header->worker1 = kNoDirRow;
        Warn(log, SheetImportText("Первый социальный работник должен быть заполнен"));
    } else if (!LookUpWorker(SheetImportText("первый"), worker1, log, &header->worker1, error)) {
        return false;
    }
    const struct {
        int row, column;
        const char* ordinal;
        qint64* id;
    } others[] = {{kWorker2Row, kWorker2Column, "второй", &header->worker2},
                  {kWorker3Row, kWorker3Column, "третий", &header->worker3}};
    for (const auto& w : others) {
        const QString name = Cell(sheet, top + w.row, w.column, at).trimmed();
        *w.id = kNoDirRow;
        if (!name.isEmpty() && !LookUpWorker(SheetImportText(w.ordinal), name, log, w.id, error))
            return false;
    }

    const QString project = Cell(sheet, top + kProjectRow, kProjectColumn, at).trimmed();
    header->project = 0;
    if (xConfiguration* config = CurrentConfiguration(); config && !project.isEmpty()) {
        header->project = FindProject(config->GetCurrentLanguage()->PrjList, project);
    }

    header->comment = Cell(sheet, top + kCommentRow, kCommentColumn, at);
    if (header->comment.isEmpty()) {
        const QString today = DateToText(QDate::currentDate());
        const QString text = SheetImportText("Загружено из файла {file}. Дата: {date}");
        header->comment = QString(text)
                              .replace(QStringLiteral("{file}"), path)
                              .replace(QStringLiteral("{date}"), today);
        // The column holds 50 characters: a long path gives way to the
        // file's name, cut from the left when even that is too long, so
        // that the report can be saved as it comes.
        if (header->comment.size() > kDailyReportCommentLength) {
            const QString rest = QString(text).replace(QStringLiteral("{date}"), today);
            QString name = QFileInfo(path).fileName();
            const qsizetype room = kDailyReportCommentLength - (rest.size() - 6);
            if (name.size() > room)
                name = QChar(0x2026) + name.right(qMax<qsizetype>(0, room - 1));
            header->comment = QString(rest).replace(QStringLiteral("{file}"), name);
        }
    }
    header->groupId = m_folder;
    *made = true;
    return true;
}

bool CSheetImport::ReadFile(const QString& path, CvRunLog* log, CDailyReportDraft* draft,
                            bool* made, QString* error) {
    using namespace StencilLayout;
    *made = false;
    m_stopped = false;
    m_fileWarnings.clear();
    if (!m_namesLoaded && !LoadConsultationNames(error))
        return false;
    const QString fileName = QFileInfo(path).fileName();
    if (log)
        log->AddInfoMessage(SheetImportText("- Анализ файла {file}...")
                                .replace(QStringLiteral("{file}"), fileName));

    CExcelXML sheet;
    QString refusal;
    switch (ReadSheetFile(path, m_limits, m_progress, kStepsPerFile, &sheet, &refusal)) {
    case ESheetFileRead::Read:
        break;
    case ESheetFileRead::Stopped:
        m_stopped = true;
        if (log)
            log->AddWarning(SheetImportText("Загрузка остановлена: файл {file} не загружен")
                                .replace(QStringLiteral("{file}"), fileName),
                            1);
        return true;
    case ESheetFileRead::Refused:
        Warn(log, refusal);
        return true;
    }
    // The report sheet may stand behind sheets a user added before it.
    int at = 0, top = -1;
    for (; at < sheet.GetSheetCount() && top < 0; ++at)
        top = FindSignatureRow(sheet, at);
    --at;
    if (top < 0) {
        Warn(log, SheetImportText("Не найдена сигнатура {HdrStart}. Вы удалили ее?"));
        return true;
    }
    const int first = top + kFirstClientRow;
    if (sheet.GetLastFilledRow(at) >= first + m_limits.clientRows) {
        Warn(log, SheetImportText("Файл «{file}» не загружен: заполнены строки клиентов дальше "
                                  "{rows}-й, а ведомость вмещает {rows} строк клиентов (параметр "
                                  "«Максимальное количество клиентов в файле XML-обмен»).")
                      .replace(QStringLiteral("{file}"), fileName)
                      .replace(QStringLiteral("{rows}"), QString::number(m_limits.clientRows)));
        return true;
    }

    *draft = CDailyReportDraft();
    draft->source = path;
    bool headerRead = false;
    if (!ReadHeader(sheet, at, top, path, log, &draft->header, &headerRead, error))
        return false;
    if (!headerRead)
        return true;

    // The material row: each named column holds a material, or one kind of
    // a consultation counted by client code; the last column the stencil
    // offers is read like the others.
    struct Column {
        int column;
        qint32 item;
        qint32 flag; // -1: a plain material
        QString name;
    };
    QList<Column> columns;
    QHash<QString, qint64> materialOf; // names met in this file
    for (int c = kFirstMaterialColumn; c <= kLastMaterialColumn; ++c) {
        const QString name = Cell(sheet, top + kMaterialsRow, c, at).trimmed();
        if (name.isEmpty())
            continue;
        auto known = materialOf.constFind(name);
        qint64 id = -1;
        if (known != materialOf.constEnd()) {
            id = *known;
        } else {
            if (!LookUpDirectory(kMaterials, name, &id, error))
                return false;
            materialOf.insert(name, id);
        }
        if (id > 0) {
            columns.append({c, qint32(id), -1, name});
            continue;
        }
        const auto consultation = m_consultationNames.constFind(NameKey(name));
        if (consultation != m_consultationNames.constEnd()) {
            columns.append({c, consultation->item, consultation->flag, name});
            continue;
        }
        Warn(log, SheetImportText("{mat} не найден в базе материалов")
                      .replace(QStringLiteral("{mat}"), name));
    }

    // The client rows: NPP counts every row of the range, also the rows
    // without a code, which are left out.
    const int last = sheet.GetLastRow(at);
    QStringList codes;
    QSet<QString> seen;
    for (int r = first; r <= last; ++r) {
        const QString code = Cell(sheet, r, kClientCodeColumn, at).trimmed();
        if (!code.isEmpty() && !seen.contains(code)) {
            seen.insert(code);
            codes << code;
        }
    }
    QHash<QString, qint64> clientOf;
    if (!LookUpClients(codes, &clientOf, error))
        return false;

    // A cell the import cannot take as it stands is left empty, with a
    // message that says where it is and what it holds; its row and its
    // column stay in the draft, so the user types the value before saving.
    auto refuseCell = [&](int r, const Column& column, const QString& typed, const char* reason) {
        const QString shown = typed.trimmed().size() > 40 ? typed.trimmed().left(40) + QChar(0x2026)
                                                          : typed.trimmed();
        Warn(log, SheetImportText("{file}, строка {row}, столбец {column} «{mat}»: «{typed}» — "
                                  "{reason}; ячейка оставлена пустой")
                      .replace(QStringLiteral("{file}"), fileName)
                      .replace(QStringLiteral("{row}"), QString::number(r + 1))
                      .replace(QStringLiteral("{column}"), ColumnName(column.column))
                      .replace(QStringLiteral("{mat}"), column.name)
                      .replace(QStringLiteral("{typed}"), shown)
                      .replace(QStringLiteral("{reason}"), SheetImportText(reason)));
        if (!draft->refusedItems.contains(column.item))
            draft->refusedItems << column.item;
    };

    // A consultation's kinds ticked for one client gather in one cell, at
    // the row that ticked the first; for a row whose client is not found the
    // cell stays with that row, since nothing says two such rows are one
    // person.
    QHash<QPair<qint64, qint32>, int> consultationCell; // (client or -NPP, item) → visit
    int npp = 0;
    for (int r = first; r <= last; ++r) {
        ++npp;
        const QString code = Cell(sheet, r, kClientCodeColumn, at).trimmed();
        if (code.isEmpty()) {
            for (const Column& column : columns) {
                if (!Cell(sheet, r, column.column, at).trimmed().isEmpty()) {
                    Warn(log, SheetImportText("{file}, строка {row}: в строке нет кода клиента, "
                                              "ее значения не загружены")
                                  .replace(QStringLiteral("{file}"), fileName)
                                  .replace(QStringLiteral("{row}"), QString::number(r + 1)));
                    break;
                }
            }
            continue;
        }
        const qint64 client = clientOf.value(code, -1);
        bool warned = false, refused = false, placed = false;
        for (const Column& column : columns) {
            const QString* text = sheet.GetCellText(r, column.column, at);
            if (!text)
                continue;
            qint32 count = 0;
            if (column.flag < 0) {
                const ECellCount read = ReadCellCount(*text, &count);
                const char* reason = nullptr;
                switch (read) {
                case ECellCount::Empty:
                case ECellCount::Count:
                    break;
                case ECellCount::NotNumber:
                    reason = "это не число";
                    break;
                case ECellCount::Negative:
                    reason = "количество не может быть отрицательным";
                    break;
                case ECellCount::Fraction:
                    reason = "дробное число, а количество должно быть целым";
                    break;
                case ECellCount::TooLarge:
                    reason = "число слишком велико";
                    break;
                }
                if (reason) {
                    refuseCell(r, column, *text, reason);
                    refused = true;
                    continue;
                }
            } else {
                const ECellMark mark = ReadCellMark(*text);
                if (mark == ECellMark::Unreadable) {
                    refuseCell(r, column, *text, "отметка не распознана (ставьте 1 или «да»)");
                    refused = true;
                    continue;
                }
                count = mark == ECellMark::Marked ? 1 : 0;
            }
            if (count == 0)
                continue;
            if (client <= 0 && !warned) {
                Warn(log, SheetImportText("{client} не найден в базе клиентов")
                              .replace(QStringLiteral("{client}"), code));
                warned = true;
            }
            if (column.flag < 0) {
                draft->visits.append({npp, client, code, column.item, count});
                placed = true;
                continue;
            }
            const QPair<qint64, qint32> key{client > 0 ? client : -qint64(npp), column.item};
            auto cell = consultationCell.constFind(key);
            if (cell == consultationCell.constEnd()) {
                consultationCell.insert(key, int(draft->visits.size()));
                draft->visits.append({npp, client, code, column.item, column.flag});
                placed = true;
            } else {
                draft->visits[*cell].count |= column.flag;
            }
        }
        // A row whose every value was refused stays, empty, for the user.
        if (refused && !placed) {
            if (client <= 0 && !warned)
                Warn(log, SheetImportText("{client} не найден в базе клиентов")
                              .replace(QStringLiteral("{client}"), code));
            draft->keptRows.append({npp, client, code, 0, 0});
        }
    }
    *made = true;
    return true;
}

bool CSheetImport::Run(const QStringList& files, CvRunLog* log, CvProgress* progress,
                       QList<CDailyReportDraft>* drafts, QString* error, const DraftTaker& made) {
    if (progress)
        progress->BeginProgress(SheetImportText("Загрузка ведомостей"),
                                int(files.size()) * kStepsPerFile);
    m_progress = progress;
    bool ok = true;
    for (const QString& path : files) {
        if (progress && progress->IsCancelled())
            break;
        CDailyReportDraft draft;
        bool read = false;
        const bool answered = ReadFile(path, log, &draft, &read, error);
        if (m_stopped)
            break;
        if (!answered) {
            if (log && error)
                log->AddWarning(*error, 0);
            ok = false;
            break;
        }
        if (read) {
            QStringList notes;
            if (!MakeDraftSheets(m_sql, &draft, &notes, error)) {
                if (log && error)
                    log->AddWarning(*error, 0);
                ok = false;
                break;
            }
            for (const QString& note : notes)
                Warn(log, note);
            if (made)
                made(draft);
            if (drafts)
                drafts->append(std::move(draft));
        }
        if (progress)
            progress->Step(QFileInfo(path).fileName(), 0);
    }
    m_progress = nullptr;
    if (progress)
        progress->EndProgress();
    return ok;
}
