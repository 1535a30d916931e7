#pragma once
// The fast work tables of the visits reports and the client export:
// _cache_mat and _cache_cons (material and consultation items under their
// groups), _cache_fast (one row per visit line and list code) and
// _cache_clients (one row per client with the person key gROWID and the
// first visit). Each step builds its table when the database lacks it; the
// window that shows the steps ("Подготовка таблиц ускорения") is the widget
// side's and follows the steps through SetStepObserver.
#include <QString>
#include <functional>

class CvProgress;
class CxSQL;

class CFastTables {
public:
    static constexpr int kSteps = 4;
    // The states a step's line shows.
    enum StepState { kStepWaiting = 0, kStepDone = 1, kStepRunning = 2 };

    explicit CFastTables(CxSQL* sql = nullptr);

    // The step's translated title.
    static QString StepTitle(int step);
    // Told when a step starts (running) and when it ends well (done).
    void SetStepObserver(std::function<void(int step, int state)> observer) {
        m_observer = std::move(observer);
    }
    // Runs the four steps; the progress range is the number of statements
    // they will run. False at the first failed step, with the statement and
    // the server's message in `error`; nothing half-built is left, and no
    // lock stays taken.
    bool Process(CvProgress* progress = nullptr, QString* error = nullptr);
    // The statements the steps would run now (the tables that exist count
    // one statement each).
    int CountStatements();

private:
    // The statements of a step: empty when its table exists.
    QStringList Statements(int step, bool* exists);
    bool TableExists(const QString& name);
    bool RunStep(int step, CvProgress* progress, QString* error);

    CxSQL* m_sql;
    std::function<void(int, int)> m_observer;
};
