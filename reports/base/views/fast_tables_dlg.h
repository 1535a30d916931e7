#pragma once
// "Подготовка таблиц ускорения": the window that shows the four steps of the
// fast work tables (CFastTables) as they run, each line ticked when done and
// half-ticked while under way, with a bar over the statements. The callers
// (the visits reports, the client export) make it, call Process, and go on
// whatever it answers. While it runs it is modal to the whole application,
// since a step holds table locks.
#include "framework/core/progress.h"

#include <QDialog>
#include <QElapsedTimer>

class CxSQL;
class QProgressBar;
class QTreeWidget;

class CFastTablesDlg : public QDialog, public CvProgress {
    Q_OBJECT
public:
    explicit CFastTablesDlg(QWidget* parent = nullptr, CxSQL* sql = nullptr);

    // Shows the window and builds the missing tables; true when all four
    // exist afterwards. The window stays shown (the caller hides it).
    bool Process(QString* error = nullptr);

    QTreeWidget* Steps() const { return m_steps; }
    QProgressBar* Bar() const { return m_bar; }

    void BeginProgress(const QString& title, int count) override;
    void SetRange(int count, const QString& caption) override;
    void Step(const QString& text = QString(), int steps = 1) override;
    void EndProgress(const QString& text = QString()) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Pump(bool force);

    CxSQL* m_sql;
    QTreeWidget* m_steps;
    QProgressBar* m_bar;
    QElapsedTimer m_sincePump;
    bool m_running = false;
};
