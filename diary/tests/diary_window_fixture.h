#pragma once
// What the daily report window tests stand on: a database at the current
// schema with a small directory and register (diary/core/tests), the
// application's base connection on it, a configuration with projects, the
// table set, a settings store in memory, a main window that takes the windows,
// answers in place of the message boxes, and keys sent where a user's keys go
// (the open completion list first, else the focused control).
#include "diary/core/tests/diary_test_data.h"
#include "diary/daily_report_form.h"
#include "diary/diary_journal.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/documents/document.h"
#include "framework/core/table/self_register.h"
#include "tests/support/window_test_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTest>

inline const char kDiaryConfiguration[] =
    "<CONFIGURATION><PERIODS BACKUPREMINDER='3'/><LANGUAGE>\n"
    "<PRJLIST><Item ID='1' Title='Основной проект'/><Item ID='2' Title='Профилактика'/>"
    "</PRJLIST>\n"
    "</LANGUAGE></CONFIGURATION>\n";

class DiaryWindowFixture : public WindowTestApp {
public:
    DiaryWindowFixture()
        : WindowTestApp(QStringLiteral("diaryui"), kDiaryConfiguration, QSize(1100, 760)) {
        m_frame->activateWindow();
        if (!QTest::qWaitForWindowActive(m_frame.get()))
            qWarning("the main window is not active: keys may go astray");
        const QMetaObject* sqlDoc = &CxSQLDocument::staticMetaObject;
        CTarvikApp::RegisterDocTemplate(1293, CDDiary::GetThisClass(), sqlDoc, nullptr);
        CTarvikApp::RegisterDocTemplate(1293, CJDiaryMain::GetThisClass(),
                                        CJDiaryMainDocument::GetThisClass(), nullptr);
        m_db->Exec(QStringLiteral("INSERT INTO orginf VALUES "
                                  "(0,'OWN','Своя','','','','','','','','','','','','','','')"));
    }

    // Every case: no window, a fresh settings store, the directory and
    // register of the daily report tests, no reports.
    void Reset() {
        // What the last case left unsaved goes.
        m_answer = IDNO;
        m_frame->MDIArea()->closeAllSubWindows();
        QCoreApplication::processEvents();
        CTarvikApp::SetProfileManager(new CxProfileManager);
        CTarvikApp::ClearErrorMessages();
        m_questions.clear();
        m_answer = IDYES;
        for (const char* table : {"dir", "clientdata", "dailyreport", "dailyvisits",
                                  "dailyvisitssubhdr", "dailyredirects"})
            m_db->Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        diarytest::FillDirectory(*m_db);
    }

    // Where a user's key goes: the open completion list, else the focus.
    static QWidget* KeyTarget() {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup;
        return QApplication::focusWidget();
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = KeyTarget();
        QVERIFY2(target, "no widget takes the keys");
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents();
    }
    // Types the text key by key, each key where the user's key would go.
    static void Type(const QString& text) {
        for (const QChar c : text) {
            QWidget* target = KeyTarget();
            QVERIFY2(target, "no widget takes the keys");
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &release);
            QCoreApplication::processEvents();
        }
    }
};
