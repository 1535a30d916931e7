#include "framework/widgets/export/xlsx_export.h"

#include "framework/core/lists/sql_list_model.h"
#include "framework/core/progress.h"
#include "framework/core/table/field_flags.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <xlsxwriter.h>

#include <memory>

namespace {

// Excel's own limits.
constexpr int kMaxRows = 1048576;
constexpr int kMaxSheetName = 31;
constexpr double kMinWidth = 4;
constexpr double kMaxWidth = 80;
// Rows between two looks at progress and cancel.
constexpr int kProgressRows = 1000;
constexpr int kListPage = 5000;

QString SheetName(const QString& name) {
    QString clean = name;
    clean.replace(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")), QStringLiteral(" "));
    clean = clean.simplified().left(kMaxSheetName).trimmed();
    return clean.isEmpty() ? QStringLiteral("Лист1") : clean;
}

QString WriteError(const QString& path, lxw_error code) {
    return QStringLiteral("Не удалось записать файл «%1»: %2")
        .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(code)));
}

// One workbook of one sheet, with the cell kinds the exports need.
class Workbook {
public:
    Workbook(const QString& path, bool streamRows) : m_path(path) {
        lxw_workbook_options options = {};
        // A long list goes row by row to a temporary file instead of memory.
        options.constant_memory = streamRows ? LXW_TRUE : LXW_FALSE;
        m_tmpdir = QDir::tempPath().toUtf8();
        options.tmpdir = m_tmpdir.data();
        m_book = workbook_new_opt(path.toUtf8().constData(), &options);
    }
    ~Workbook() {
        if (m_book) {
            workbook_close(m_book);
            QFile::remove(m_path);
        }
    }
    bool Open(const QString& sheetName, QString* error) {
        if (m_book)
            m_sheet = workbook_add_worksheet(m_book, SheetName(sheetName).toUtf8().constData());
        if (!m_sheet) {
            *error = QStringLiteral("Не удалось создать файл «%1».")
                         .arg(QDir::toNativeSeparators(m_path));
            return false;
        }
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        format_set_text_wrap(m_bold);
        format_set_align(m_bold, LXW_ALIGN_CENTER);
        format_set_align(m_bold, LXW_ALIGN_VERTICAL_CENTER);
        format_set_border(m_bold, LXW_BORDER_THIN);
        m_heading = workbook_add_format(m_book);
        format_set_bold(m_heading);
        m_date = workbook_add_format(m_book);
        format_set_num_format(m_date, "dd.mm.yyyy");
        return true;
    }
    void Text(int row, int col, const QString& text, lxw_format* format = nullptr) {
        if (text.isEmpty() && !format)
            return;
        worksheet_write_string(m_sheet, row, col, text.toUtf8().constData(), format);
        Fit(col, text);
    }
    void Number(int row, int col, double value, const QString& text) {
        worksheet_write_number(m_sheet, row, col, value, nullptr);
        Fit(col, text);
    }
    void Date(int row, int col, const QDate& date, const QString& text) {
        lxw_datetime dt = {date.year(), date.month(), date.day(), 0, 0, 0};
        worksheet_write_datetime(m_sheet, row, col, &dt, m_date);
        Fit(col, text);
    }
    void Merge(int row, int col, int lastRow, int lastCol, const QString& text) {
        worksheet_merge_range(m_sheet, row, col, lastRow, lastCol, text.toUtf8().constData(),
                              m_bold);
        if (lastCol == col)
            Fit(col, text);
    }
    // A cell of text that may be a number or a date, as a page writes them.
    void Guess(int row, int col, const QString& text) {
        static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)([.,][0-9]+)?$"));
        static const QRegularExpression date(QStringLiteral("^[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}$"));
        const QString t = text.trimmed();
        if (number.match(t).hasMatch()) {
            Number(row, col, QString(t).replace(u',', u'.').toDouble(), t);
            return;
        }
        if (date.match(t).hasMatch()) {
            const QDate d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
            if (d.isValid()) {
                Date(row, col, d, t);
                return;
            }
        }
        Text(row, col, text);
    }
    lxw_format* Bold() const { return m_bold; }
    lxw_format* Heading() const { return m_heading; }
    bool Close(QString* error) {
        for (auto it = m_widths.cbegin(); it != m_widths.cend(); ++it)
            worksheet_set_column(m_sheet, lxw_col_t(it.key()), lxw_col_t(it.key()),
                                 qBound(kMinWidth, it.value() + 2, kMaxWidth), nullptr);
        const lxw_error code = workbook_close(m_book);
        m_book = nullptr;
        if (code != LXW_NO_ERROR) {
            QFile::remove(m_path);
            *error = WriteError(m_path, code);
            return false;
        }
        return true;
    }

private:
    void Fit(int col, const QString& text) {
        // The longest line of the cell; a bold header wraps, so its width counts too.
        qsizetype longest = 0;
        for (const QStringView line : QStringView(text).split(u'\n'))
            longest = qMax(longest, line.size());
        double& width = m_widths[col];
        width = qMax(width, double(longest));
    }

    QString m_path;
    QByteArray m_tmpdir;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr;
    lxw_format* m_heading = nullptr;
    lxw_format* m_date = nullptr;
    QHash<int, double> m_widths;
};

bool Cancelled(CvProgress* progress, QString* error) {
    if (progress && progress->IsCancelled()) {
        error->clear();
        return true;
    }
    return false;
}

QString CellText(const QTextTableCell& cell) {
    QStringList lines;
    for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
        if (it.currentBlock().isValid()) {
            const QString line = it.currentBlock().text().simplified();
            if (!line.isEmpty())
                lines << line;
        }
    }
    return lines.join(u'\n');
}

QString TooLong() {
    return QStringLiteral("Строк больше, чем вмещает лист Excel (%1).").arg(kMaxRows);
}

} // namespace

QString XlsxTempPath(const QString& name) {
    QString base = name;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral("_"));
    if (base.isEmpty())
        base = QCoreApplication::applicationName();
    return QDir(QDir::tempPath())
        .filePath(base + u'-' +
                  QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                  QStringLiteral(".xlsx"));
}

bool WriteListXlsx(const CxSQLListModel& model, const QString& sheetName, const QString& path,
                   CvProgress* progress, QString* error) {
    Workbook book(path, true);
    if (!book.Open(sheetName, error))
        return false;
    const QList<CxColumnData>& columns = model.Columns();
    for (int c = 0; c < columns.size(); ++c)
        book.Text(0, c, columns[c].caption, book.Bold());
    if (progress)
        progress->BeginProgress(sheetName, -1);
    int row = 1;
    bool tooLong = false;
    CxSQLError sqlError;
    const bool read = model.ReadAllRows(
        [&](const QStringList& texts) {
            if (row >= kMaxRows) {
                tooLong = true;
                return false;
            }
            for (int c = 0; c < texts.size(); ++c) {
                const QString& text = texts[c];
                const quint32 flags = columns[c].flags;
                if (text.isEmpty())
                    continue;
                if (flags & FF_DATE) {
                    const QDate date = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
                    if (date.isValid()) {
                        book.Date(row, c, date, text);
                        continue;
                    }
                } else if ((flags & (FF_INT | FF_REAL)) && !(flags & FF_TEXT)) {
                    bool ok = false;
                    const double value = text.toDouble(&ok);
                    if (ok) {
                        book.Number(row, c, value, text);
                        continue;
                    }
                }
                book.Text(row, c, text);
            }
            ++row;
            // A look after the first row and then every kProgressRows rows.
            const int written = row - 1;
            if (progress && written % kProgressRows == 1) {
                progress->Step(QStringLiteral("Записано строк: %1").arg(written),
                               written == 1 ? 1 : kProgressRows);
                if (progress->IsCancelled())
                    return false;
            }
            return true;
        },
        kListPage, &sqlError);
    if (progress)
        progress->EndProgress();
    if (!read) {
        if (tooLong)
            *error = TooLong();
        else if (sqlError.isSet())
            *error = QStringLiteral("Не удалось прочитать строки списка: %1").arg(sqlError.text);
        else if (!Cancelled(progress, error))
            *error = QStringLiteral("Не удалось прочитать строки списка.");
        return false;
    }
    return book.Close(error);
}

namespace {
// A table whose cells hold tables of their own (a page that lays charts out
// in a table, one row per point) is a frame for what it holds, not data.
bool HoldsTables(QTextTable* table) {
    for (QTextFrame* child : table->childFrames())
        if (qobject_cast<QTextTable*>(child))
            return true;
    return false;
}

// Writes a page's tables and the texts between them into a sheet, in page
// order, one below the other.
class HtmlSheetWriter {
public:
    HtmlSheetWriter(Workbook& book, CvProgress* progress, QString* error)
        : m_book(book), m_progress(progress), m_error(error) {}

    // What lies between begin and the end of its frame.
    bool WriteItems(QTextFrame::iterator it) {
        for (; !it.atEnd(); ++it) {
            if (QTextTable* table = qobject_cast<QTextTable*>(it.currentFrame())) {
                if (!(HoldsTables(table) ? WriteCells(table) : WriteTable(table)))
                    return false;
            } else if (it.currentBlock().isValid()) {
                const QString text = it.currentBlock().text().simplified();
                if (text.isEmpty())
                    continue;
                if (m_row >= kMaxRows) {
                    *m_error = TooLong();
                    return false;
                }
                m_book.Text(m_row++, 0, text, m_book.Heading());
            }
        }
        return true;
    }

private:
    bool WriteCells(QTextTable* table) {
        for (int r = 0; r < table->rows(); ++r)
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() == r && cell.column() == c && !WriteItems(cell.begin()))
                    return false;
            }
        return true;
    }

    bool WriteTable(QTextTable* table) {
        if (m_row + table->rows() > kMaxRows) {
            *m_error = TooLong();
            return false;
        }
        // A header cell that spans keeps its span; body rows hold plain values.
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                const QString text = CellText(cell);
                // A page's <th> reads back as bold text.
                const bool header =
                    cell.firstCursorPosition().charFormat().fontWeight() >= QFont::Bold;
                if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                    m_book.Merge(m_row + r, c, m_row + r + cell.rowSpan() - 1,
                                 c + cell.columnSpan() - 1, text);
                else if (header)
                    m_book.Text(m_row + r, c, text, m_book.Bold());
                else
                    m_book.Guess(m_row + r, c, text);
            }
            if (++m_sinceStep == kProgressRows) {
                m_sinceStep = 0;
                if (m_progress)
                    m_progress->Step(QString(), kProgressRows);
                if (Cancelled(m_progress, m_error))
                    return false;
            }
        }
        m_row += table->rows() + 1;
        return true;
    }

    Workbook& m_book;
    CvProgress* m_progress;
    QString* m_error;
    int m_row = 0;
    int m_sinceStep = 0;
};
} // namespace

bool WriteHtmlXlsx(const QString& html, const QString& sheetName, const QString& path,
                   CvProgress* progress, QString* error) {
    // The page's HTML is read as a document of its own, not from a pane
    // that shows it.
    QTextDocument page;
    page.setHtml(html);
    Workbook book(path, false);
    if (!book.Open(sheetName, error))
        return false;
    if (progress)
        progress->BeginProgress(sheetName, -1);
    HtmlSheetWriter writer(book, progress, error);
    const bool ok = writer.WriteItems(page.rootFrame()->begin());
    if (progress)
        progress->EndProgress();
    return ok && book.Close(error);
}
