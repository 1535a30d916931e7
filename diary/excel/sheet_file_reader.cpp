#include "sheet_file_reader.h"

#include "excel_xml.h"

#include "diary/core/diary_verdict.h"
#include "framework/core/progress.h"
#include "model/options/kelda_options.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <future>

namespace {
// How often the waiting thread looks at the worker, the bar and the stop.
constexpr std::chrono::milliseconds kPollPeriod(50);
constexpr qint64 kMegabyte = 1024 * 1024;

QString ReaderText(const char* text) {
    return DiaryText(text, "CXMLLoadProcess::ReadFile");
}

QString NotASheet(const QString& name, const char* reason) {
    return ReaderText("Файл «{file}» — не ведомость: {reason}.")
        .replace(QStringLiteral("{file}"), name)
        .replace(QStringLiteral("{reason}"), ReaderText(reason));
}

// How to get a sheet the import reads from a workbook in another format.
QString SaveAsHint() {
    return ReaderText("Откройте его в LibreOffice Calc и сохраните через «Файл → Сохранить "
                      "как…», выбрав тип файла «Таблица XML 2003 (.xml)» (в Excel — «Таблица "
                      "XML 2003»), затем загрузите сохранённый файл.");
}

bool StartsWithNoCase(const QByteArray& bytes, qsizetype at, QByteArrayView prefix) {
    return bytes.mid(at, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

// What stands before the first element decides what the file is: refused
// files get their reason in *why; a file that may be a workbook gets none.
bool CheckProlog(const QByteArray& bytes, const QString& name, QString* why) {
    if (bytes.startsWith(QByteArrayView("PK\x03\x04", 4))) {
        *why = ReaderText("Файл «{file}» — не таблица Excel 2003 XML, а книга в формате .xlsx "
                          "или .ods.")
                   .replace(QStringLiteral("{file}"), name) +
               u' ' + SaveAsHint();
        return false;
    }
    if (bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
        *why = ReaderText("Файл «{file}» — не таблица Excel 2003 XML, а книга Excel в старом "
                          "формате .xls.")
                   .replace(QStringLiteral("{file}"), name) +
               u' ' + SaveAsHint();
        return false;
    }
    if (bytes.contains('\0')) {
        *why = NotASheet(name, "это не текстовый файл XML");
        return false;
    }
    qsizetype p = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (p < bytes.size() && QByteArrayView(" \t\r\n").contains(bytes[p]))
            ++p;
        if (p >= bytes.size()) {
            *why = NotASheet(name, "файл пуст");
            return false;
        }
        if (bytes[p] != '<') {
            *why = NotASheet(name, "это не файл XML");
            return false;
        }
        if (StartsWithNoCase(bytes, p, "<!DOCTYPE")) {
            *why = ReaderText("Файл «{file}» не загружен: в нём есть объявление типа документа "
                              "(DOCTYPE), а файлы с DTD не принимаются. Сохраните ведомость "
                              "заново как «Таблица XML 2003 (.xml)».")
                       .replace(QStringLiteral("{file}"), name);
            return false;
        }
        const char* end = StartsWithNoCase(bytes, p, "<?")     ? "?>"
                          : StartsWithNoCase(bytes, p, "<!--") ? "-->"
                                                               : nullptr;
        if (!end)
            break;
        const qsizetype close = bytes.indexOf(end, p + 2);
        if (close < 0) {
            *why = NotASheet(name, "файл обрывается до начала таблицы");
            return false;
        }
        p = close + qsizetype(qstrlen(end));
    }
    // The root element: a workbook, with or without the spreadsheet prefix.
    qsizetype e = p + 1;
    while (e < bytes.size() && !QByteArrayView(" \t\r\n/>").contains(bytes[e]))
        ++e;
    QByteArray root = bytes.mid(p + 1, e - p - 1);
    if (const qsizetype colon = root.lastIndexOf(':'); colon >= 0)
        root = root.mid(colon + 1);
    if (root.compare("Workbook", Qt::CaseInsensitive) != 0) {
        *why = ReaderText("Файл «{file}» — не ведомость: это документ «{root}», а не таблица "
                          "Excel 2003 XML.")
                   .replace(QStringLiteral("{file}"), name)
                   .replace(QStringLiteral("{root}"),
                            QString::fromUtf8(bytes.mid(p + 1, qMin<qsizetype>(e - p - 1, 40))));
        return false;
    }
    return true;
}
} // namespace

CSheetFileLimits CSheetFileLimits::FromApplication() {
    CSheetFileLimits limits;
    if (COption_XMLExcel* option = g_pOption_XMLExcel.Get())
        limits.clientRows = qMax(1, int(option->m_MaxClientsCountXML.Get()));
    return limits;
}

namespace {
// The read; *shown: the steps it gave the bar.
ESheetFileRead ReadInWorker(const QString& path, const CSheetFileLimits& limits,
                            CvProgress* progress, int steps, CExcelXML* sheet, QString* why,
                            int* shown) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = ReaderText("Не удалось открыть файл «{file}»: {reason}")
                   .replace(QStringLiteral("{file}"), name)
                   .replace(QStringLiteral("{reason}"), file.errorString());
        return ESheetFileRead::Refused;
    }
    // Refused before a byte is read: a sheet is never this large.
    if (file.size() > limits.maxBytes) {
        *why =
            ReaderText("Файл «{file}» не загружен: его размер {size} МБ, а ведомость не может "
                       "быть больше {limit} МБ.")
                .replace(QStringLiteral("{file}"), name)
                .replace(QStringLiteral("{size}"),
                         QString::number((file.size() + kMegabyte - 1) / kMegabyte))
                .replace(QStringLiteral("{limit}"), QString::number(limits.maxBytes / kMegabyte));
        return ESheetFileRead::Refused;
    }
    const QByteArray bytes = file.read(limits.maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *why = ReaderText("Не удалось прочитать файл «{file}»: {reason}")
                   .replace(QStringLiteral("{file}"), name)
                   .replace(QStringLiteral("{reason}"), file.errorString());
        return ESheetFileRead::Refused;
    }
    if (!CheckProlog(bytes, name, why))
        return ESheetFileRead::Refused;

    xmlParseWatch watch;
    // A stop given already ends the parse at its first element.
    if (progress && progress->IsCancelled())
        watch.stop.store(true);
    sheet->SetWatch(&watch);
    sheet->SetLimits(limits.MaxRows(), CSheetFileLimits::kColumns);
    QString parseError;
    std::future<bool> parsed =
        std::async(std::launch::async, [&] { return sheet->LoadData(bytes, &parseError); });
    // The file's characters, as the parse counts them, at most its bytes.
    const qint64 total = qMax<qint64>(1, bytes.size());
    while (progress && parsed.wait_for(kPollPeriod) != std::future_status::ready) {
        if (progress->IsCancelled())
            watch.stop.store(true);
        const int now = int(
            qMin<qint64>(steps, steps * watch.position.load(std::memory_order_relaxed) / total));
        // A step of 0 still lets the window's events through.
        progress->Step(QString(), qMax(0, now - *shown));
        *shown = qMax(*shown, now);
    }
    const bool ok = parsed.get();
    sheet->SetWatch(nullptr);
    if (ok)
        return ESheetFileRead::Read;
    if (watch.stop.load())
        return ESheetFileRead::Stopped;
    if (sheet->RowLimitReached()) {
        *why = ReaderText("Файл «{file}» не загружен: в нём больше {rows} строк, а ведомость "
                          "вмещает {clients} строк клиентов (параметр «Максимальное количество "
                          "клиентов в файле XML-обмен») и не больше {above} строк над ними.")
                   .replace(QStringLiteral("{file}"), name)
                   .replace(QStringLiteral("{rows}"), QString::number(limits.MaxRows()))
                   .replace(QStringLiteral("{clients}"), QString::number(limits.clientRows))
                   .replace(QStringLiteral("{above}"),
                            QString::number(CSheetFileLimits::kRowsAboveClients));
        return ESheetFileRead::Refused;
    }
    *why = DiaryText("Ошибка загрузки файла:\n{errorinfo}", "msgFileLoadError")
               .replace(QStringLiteral("{errorinfo}"), parseError);
    return ESheetFileRead::Refused;
}
} // namespace

ESheetFileRead ReadSheetFile(const QString& path, const CSheetFileLimits& limits,
                             CvProgress* progress, int steps, CExcelXML* sheet, QString* why) {
    int shown = 0;
    const ESheetFileRead read = ReadInWorker(path, limits, progress, steps, sheet, why, &shown);
    // A file read, refused or stopped has had its share of the bar.
    if (progress && steps > shown)
        progress->Step(QString(), steps - shown);
    return read;
}
