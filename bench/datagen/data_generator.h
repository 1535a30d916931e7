#pragma once
// A realistic database of the program, made fast and the same for one seed:
// service points, workers, materials and the other directories, clients with
// their histories, daily reports with their sheets, trainings. Benchmarks of
// forms, journals and reports run on it.
//
// Usage (bench/datagen/main.cpp is the command-line front):
//   CxMySQL sql;
//   CreateBenchDatabase(&sql, server, "kelda_bench", true, &error);   // schema 486
//   CDataGenerator gen(options);
//   gen.Fill(&sql, &error);
#include "bench/common/bench_support.h"
#include "datagen_world.h"

#include <QString>
#include <functional>

class CxSQL;
class SQLConnectXML;

class CDataGenerator {
public:
    struct Stage {
        QString name;
        double seconds;
    };

    explicit CDataGenerator(const CDataGenOptions& options) : m_options(options) {}

    // Fills an empty database at the current schema. Stages report as they end.
    bool Fill(CxSQL* sql, QString* error);
    void SetStageHandler(std::function<void(const Stage&)> handler) {
        m_onStage = std::move(handler);
    }

private:
    CDataGenOptions m_options;
    std::function<void(const Stage&)> m_onStage;
};
