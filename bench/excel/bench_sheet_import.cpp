// Measures the sheet import of one filled daily sheet of many client rows:
// reading the file, the header and material look-ups, the client look-ups and
// the sheet the report form shows (what happens between the user's "Выполнить"
// and the form's opening). The database is made for the run (20,000 clients,
// 40 materials and a consultation counted by code) and dropped after it.
//
// Usage: bench_sheet_import [socket] [runs=5] [rows=5000]
// (the socket defaults to $KELDA2_SOCKET)
#include "bench/common/bench_support.h"
#include "bench/excel/sheet_count_cells.h"
#include "diary/excel/sheet_import.h"
#include "diary/excel/stencil_layout.h"
#include "framework/core/run_log.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kClients = 20000;
constexpr int kMaterials = 40;

QString Data(const QString& text) {
    return QStringLiteral("<Data ss:Type=\"String\">") + text.toHtmlEscaped() +
           QStringLiteral("</Data>");
}

// The sheet as a spreadsheet program saves the filled stencil: the header,
// the material row (the materials, then the consultation's two kinds), and
// one row per client with a few counts; one code in a hundred is unknown.
QByteArray MakeSheet(int rows) {
    using namespace StencilLayout;
    QRandomGenerator random(20240305);
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Workbook "
                                 "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                                 "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
                                 "<Worksheet ss:Name=\"Лист1\"><Table>\n");
    xml += QStringLiteral("<Row><Cell>") + Data(kSignature) + QStringLiteral("</Cell></Row>\n");
    xml += QStringLiteral("<Row><Cell ss:Index=\"4\"><Data ss:Type=\"DateTime\">2024-03-05T00:00:"
                          "00.000</Data></Cell><Cell ss:Index=\"8\">") +
           Data(QStringLiteral("Петров")) + QStringLiteral("</Cell></Row>\n");
    xml += QStringLiteral("<Row><Cell ss:Index=\"4\">") + Data(QStringLiteral("Пункт «Центр»")) +
           QStringLiteral("</Cell></Row>\n<Row><Cell ss:Index=\"4\">") +
           Data(QStringLiteral("Иванова")) + QStringLiteral("</Cell></Row>\n<Row/><Row/><Row/>\n");
    xml += QStringLiteral("<Row><Cell ss:Index=\"3\">");
    QStringList names;
    for (int m = 1; m <= kMaterials; ++m)
        names << QStringLiteral("Материал %1").arg(m);
    names << StencilLayout::ConsultationEntry(QStringLiteral("Консультация"), 2)
          << StencilLayout::ConsultationEntry(QStringLiteral("Консультация"), 8);
    for (int i = 0; i < names.size(); ++i)
        xml +=
            (i ? QStringLiteral("<Cell>") : QString()) + Data(names[i]) + QStringLiteral("</Cell>");
    xml += QStringLiteral("</Row>\n<Row/>\n");
    for (int r = 0; r < rows; ++r) {
        const QString code =
            r % 100 == 99
                ? QStringLiteral("НЕТ%1Ч").arg(r)
                : QStringLiteral("К%1Ч").arg(QString::number(1 + r * 3).rightJustified(6, u'0'));
        xml += QStringLiteral("<Row><Cell><Data ss:Type=\"Number\">%1</Data></Cell><Cell>")
                   .arg(r + 1) +
               Data(code) + QStringLiteral("</Cell>");
        xml += RandomCountCells(random, int(names.size()), int(names.size() / 6)) +
               QStringLiteral("</Row>\n");
    }
    xml += QStringLiteral("</Table></Worksheet></Workbook>\n");
    return xml.toUtf8();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int runs = BenchRuns(argc, argv, 5);
    const int rows = argc > 3 ? qMax(10, atoi(argv[3])) : 5000;
    const QString name = QStringLiteral("kelda_bench_sheet_import");

    CxMySQL sql;
    QString error;
    if (!CreateBenchDatabase(&sql, socket, name, &error))
        return BenchFail(error);
    const bool filled =
        BenchExec(sql,
                  QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,"
                                 "bHidden,nSpecFlags) VALUES (1,0,0,'Пункт «Центр»',1,1,0,0),"
                                 "(2,0,0,'Иванова',2,0,0,0),(3,0,0,'Петров',2,0,0,0),"
                                 "(4,0,0,'Консультация',3,458753,0,11)")) &&
        BenchExec(sql,
                  QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,"
                                 "bHidden,nSpecFlags) SELECT 100+seq,0,0,CONCAT('Материал ',seq),3,"
                                 "65537,0,0 FROM seq_1_to_%1")
                      .arg(kMaterials)) &&
        BenchExec(sql,
                  QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bIsFolder,"
                                 "nGroupID,nEthnicity,nRelCount) SELECT seq,CONCAT('К',LPAD(seq,6,"
                                 "'0'),'Ч'),IF(seq%7=0,CONCAT('С',seq),NULL),0,0,0,0 FROM "
                                 "seq_1_to_%1")
                      .arg(kClients));
    if (!filled) {
        DropBenchDatabase(socket, name);
        return 1;
    }
    auto* config = new xKDConfiguration;
    config->ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE/></CONFIGURATION>"),
                        QStringLiteral("bench"));
    CTarvikApp::SetConfig(config);
    InitTables();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Report2bench.xml"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(MakeSheet(rows)) < 0)
            return BenchFail(QStringLiteral("cannot write ") + path);
    }

    QList<double> times;
    qsizetype cells = 0, sheetRows = 0, warnings = 0;
    for (int i = 0; i < runs; ++i) {
        CSheetImport import(&sql, 0);
        // As made from a stencil with the option set to this many rows.
        CSheetFileLimits limits;
        limits.clientRows = rows;
        import.SetLimits(limits);
        CvRunLogLines log;
        QList<CDailyReportDraft> drafts;
        QElapsedTimer t;
        t.start();
        if (!import.Run({path}, &log, nullptr, &drafts, &error) || drafts.size() != 1)
            return BenchFail(error + log.lines.join(u'\n'));
        times << t.nsecsElapsed() / 1e9;
        cells = drafts[0].visits.size();
        sheetRows = drafts[0].sheets.value(0).RowCount();
        warnings = log.lines.filter(QStringLiteral("warning: ")).size();
    }
    DropBenchDatabase(socket, name);
    std::printf("sheet of %d client rows (%lld KB): %lld cells, %lld sheet rows, %lld warnings\n",
                rows, QFileInfo(path).size() / 1024, qint64(cells), qint64(sheetRows),
                qint64(warnings));
    PrintTimes("import (read, look up, lay out)", times, 2.0);
    return 0;
}
