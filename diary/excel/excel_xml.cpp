#include "excel_xml.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/xml/xml_attr.h"

#include <QFile>
#include <QFileInfo>

namespace {
// Element names without the spreadsheet prefix: Excel writes "Data" and,
// around rich text, "ss:Data"; LibreOffice writes "ss:Worksheet". Another
// prefix means another vocabulary (x:, o:, html:), which holds no cells.
QStringView LocalName(const QString& name) {
    if (name.startsWith(QLatin1String("SS:")))
        return QStringView(name).mid(3);
    return name;
}

long AttrNumber(const xmlAttributes& attrs, QLatin1StringView name) {
    const QString* value = attrs.Find(name);
    return value ? XmlToLong(*value) : 0;
}
} // namespace

bool CExcelXML::Load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = CTarvikApp::TranslateString(QStringLiteral("Не удалось открыть файл «%1»: %2"),
                                                 QStringLiteral("CExcelXML::Load"))
                         .arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error =
                CTarvikApp::TranslateString(QStringLiteral("Не удалось прочитать файл «%1»: %2"),
                                            QStringLiteral("CExcelXML::Load"))
                    .arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    return LoadData(bytes, error);
}

bool CExcelXML::LoadData(const QByteArray& bytes, QString* error) {
    qsizetype size = bytes.indexOf('\0');
    if (size < 0)
        size = bytes.size();
    const QString text = QString::fromUtf8(bytes.constData(), size);
    m_loading = LOADINGDATA();
    m_rowLimitReached = false;
    const qsizetype errorsBefore = GetErrors().size();
    if (Parse(text))
        return true;
    if (error) {
        const ERRDATA& e = GetErrors().value(errorsBefore, ERRDATA());
        *error = QStringLiteral("(%1) %2").arg(e.code).arg(ErrorCodeText(e.code));
        if (!e.detail.isEmpty())
            *error += u'\n' + e.detail;
    }
    return false;
}

const QString* CExcelXML::GetCellText(int row, int column, int sheet) const {
    const auto it = m_cells.constFind(CellKey{row, column, sheet});
    return it == m_cells.constEnd() ? nullptr : &it.value();
}

int CExcelXML::GetLastRow(int sheet) const {
    return m_lastRow.value(sheet, 0);
}

QString& CExcelXML::TouchCell() {
    const CellKey key{m_loading.row, m_loading.column, m_loading.sheet};
    auto it = m_cells.find(key);
    if (it == m_cells.end()) {
        it = m_cells.insert(key, QStringLiteral(""));
        if (key.row > 0) {
            int& last = m_lastRow[key.sheet];
            if (key.row > last)
                last = key.row;
        }
    }
    return it.value();
}

bool CExcelXML::OnOpenTag(const QString& name, const xmlAttributes& attrs) {
    LOADINGDATA& at = m_loading;
    const Kind parent = at.open.isEmpty() ? Kind::Other : at.open.last();
    Kind kind = Kind::Other;
    if (parent == Kind::CellData || parent == Kind::RichRun) {
        // Inside a cell's data every element is a formatting run of its text.
        kind = Kind::RichRun;
    } else {
        const QStringView local = LocalName(name);
        if (local == QLatin1String("WORKSHEET")) {
            ++at.sheet;
            m_sheetCount = qMax(m_sheetCount, at.sheet + 1);
            at.row = -1;
        } else if (local == QLatin1String("ROW")) {
            const long index = AttrNumber(attrs, QLatin1StringView("SS:INDEX"));
            if (index != 0) {
                if (index < 1 || index > kMaxRows)
                    return false;
                at.row = int(index - 1);
            } else {
                if (at.row + 1 >= kMaxRows)
                    return false;
                ++at.row;
            }
            if (at.row >= m_rowLimit) {
                m_rowLimitReached = true;
                return false;
            }
            at.column = -1;
            at.merged = 0;
        } else if (local == QLatin1String("CELL")) {
            const long index = AttrNumber(attrs, QLatin1StringView("SS:INDEX"));
            const long merge = AttrNumber(attrs, QLatin1StringView("SS:MERGEACROSS"));
            if (merge < 0 || merge >= kMaxColumns)
                return false;
            if (index != 0) {
                if (index < 1 || index > kMaxColumns)
                    return false;
                at.column = int(index - 1);
            } else {
                // The previous cell's merged columns count as its own.
                at.column += 1 + at.merged;
                if (at.column >= kMaxColumns)
                    return false;
            }
            at.merged = int(merge);
            // A cell beyond the columns kept is read past, not stored.
            if (at.column < m_columnLimit) {
                TouchCell();
                kind = Kind::Cell;
            }
        } else if (local == QLatin1String("DATA") && parent == Kind::Cell) {
            kind = Kind::CellData;
        }
    }
    at.open.append(kind);
    return true;
}

bool CExcelXML::OnData(QStringView text) {
    if (m_loading.open.isEmpty())
        return true;
    const Kind kind = m_loading.open.last();
    if (kind == Kind::CellData || kind == Kind::RichRun) {
        TouchCell() += text;
        if (!text.trimmed().isEmpty() && m_loading.row > m_lastFilledRow.value(m_loading.sheet, -1))
            m_lastFilledRow[m_loading.sheet] = m_loading.row;
    }
    return true;
}

bool CExcelXML::OnCloseTag(const QString&) {
    if (!m_loading.open.isEmpty())
        m_loading.open.removeLast();
    return true;
}
