#pragma once
// The progress of a report build as a dialog: the report's title, the phase
// under way, what is being done (the step's caption), a bar and a cancel button.
// It is modal to the whole application while shown: a build holds the
// connection's locks ("dblock", LOCK TABLES), so nothing else may reach the
// connection until it ends. It appears only when the build lasts (a build
// over work tables that exist is over before the dialog would show); until
// then it lets no input through at all.
#include "framework/core/progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

class CRepProgressDlg : public QDialog, public CvProgress {
    Q_OBJECT
public:
    explicit CRepProgressDlg(QWidget* parent = nullptr);

    void BeginProgress(const QString& title, int count) override;
    void SetRange(int count, const QString& caption) override;
    void Step(const QString& text = QString(), int steps = 1) override;
    void EndProgress(const QString& text = QString()) override;
    bool IsCancelled() const override { return m_cancelled; }

    // What the cancel button does: the build stops at its next step.
    void Cancel();
    // How long a build runs before the dialog shows (ms); the default for
    // new dialogs (tests show it at once).
    static void SetDefaultShowDelay(int ms);
    void SetShowDelay(int ms) { m_showDelay = ms; }

    QLabel* Caption() const { return m_caption; }
    QLabel* Detail() const { return m_detail; }
    QProgressBar* Bar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    // Esc and the window's close button stop the build; the dialog itself
    // stays until the build has ended.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows the dialog once the delay is over and lets window messages
    // through (not too often: a step may be very short).
    void Pump(bool force);

    QLabel* m_caption;
    QLabel* m_detail;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QElapsedTimer m_sinceBegin;
    QElapsedTimer m_sincePump;
    int m_showDelay;
    bool m_cancelled = false;
    bool m_running = false;
};
