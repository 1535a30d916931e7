// The reports as a user reaches them: the program started on one small
// generated database, each report opened from its item of the «Отчеты» menu
// and built with the window's own button on the settings a fresh window has;
// the figures checked against the database; a build with no point ticked and
// one with no variant; the period typed over and the window closed and opened
// again; print preview and a PDF file from the window's tool buttons.
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "bench/datagen/data_generator.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql/sql_init.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/report_view/rep_print.h"
#include "framework/widgets/report_view/rep_view.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "model/config/report_presets.h"
#include "reports/base/core/rep_config.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/base/views/rep_params_view.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {
// The last day of the month before this one: the generated data ends there,
// so the last full month (a fresh window's period) has visits.
QDate LastDayOfLastMonth() {
    const QDate today = QDate::currentDate();
    return today.addDays(-today.day());
}

QAction* MenuItem(const QList<QAction*>& actions, const QStringList& path) {
    for (QAction* action : actions) {
        if (action->text() != path.first())
            continue;
        if (path.size() == 1)
            return action;
        if (action->menu())
            return MenuItem(action->menu()->actions(), path.mid(1));
    }
    return nullptr;
}

template <class Button> Button* ButtonByText(QWidget* window, const QString& text) {
    for (Button* button : window->findChildren<Button*>())
        if (button->text() == text && button->isVisible())
            return button;
    return nullptr;
}

// While `run` runs, the modal windows of kind T that come up are handed to
// `handle` (which closes them), each once; answers how many came.
template <class T>
int WhileModal(const std::function<void()>& run, const std::function<void(T*)>& handle) {
    QList<QPointer<T>> seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible() || seen.contains(window))
            return;
        seen << window;
        handle(window);
    });
    poll.start();
    run();
    poll.stop();
    return int(seen.size());
}

// The page as text: tags out, entities back.
QString PageText(QString html) {
    html.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    html.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    html.replace(QLatin1String("&laquo;"), QStringLiteral("«"));
    html.replace(QLatin1String("&raquo;"), QStringLiteral("»"));
    return html.simplified();
}
} // namespace

class TestUserPathsReports : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CKelda2App> m_app;
    QDate m_from;
    QDate m_to;

    CMainFrame* Frame() const { return m_app->MainFrame(); }

    // Opens a report from its item of the «Отчеты» menu.
    CRepParamsView* Open(const QString& item) {
        Frame()->UpdateCommandUI();
        QAction* action = MenuItem(Frame()->menuBar()->actions(), {QStringLiteral("Отчеты"), item});
        if (!action || !action->isEnabled())
            return nullptr;
        action->trigger();
        // The command goes through the application's queue of addresses.
        const auto opened = [] {
            return qobject_cast<CRepParamsView*>(CxDocManager::Instance()->ActiveView());
        };
        for (int i = 0; i < 100 && !opened(); ++i)
            QTest::qWait(20);
        return opened();
    }

    // Clicks «Формировать»; the texts of the message boxes that came up go
    // to `messages`. Answers the page as text.
    QString Build(CRepView* view, QStringList* messages = nullptr) {
        QPushButton* build = ButtonByText<QPushButton>(view, QStringLiteral("Формировать"));
        if (!build)
            return QStringLiteral("no button «Формировать»");
        WhileModal<QMessageBox>([&] { QTest::mouseClick(build, Qt::LeftButton); },
                                [&](QMessageBox* box) {
                                    if (messages)
                                        *messages << box->text();
                                    box->buttons().first()->click();
                                });
        return PageText(view->GetRepDoc()->GetHTML());
    }

    void CloseActiveWindow() {
        QAction* close = MenuItem(Frame()->menuBar()->actions(),
                                  {QStringLiteral("Файл"), QStringLiteral("Закрыть окно")});
        QVERIFY(close);
        close->trigger();
        QApplication::processEvents();
    }

    QString Scalar(const QString& statement) const { return m_db->Scalar(statement); }
    QString Period(const QString& column) const {
        return QStringLiteral("%1 BETWEEN '%2' AND '%3'")
            .arg(column, m_from.toString(Qt::ISODate), m_to.toString(Qt::ISODate));
    }

public:
    static void initMain() { CRepPane::PrepareApplication(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyReportFromItsMenuItem_data();
    void everyReportFromItsMenuItem();
    void figuresMatchTheDatabase();
    void noPointTicked_data();
    void noPointTicked();
    void noVariantChosen();
    void periodTypedAndKept();
    void printPreviewAndPDF();
};

void TestUserPathsReports::initTestCase() {
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toLocal8Bit());
    SetSQLConnectMemoryFile(m_dir->filePath(QStringLiteral("connection.conf")));
    SetSQLConnectAsk([](SQLConnectXML&, const QString& reason) {
        qWarning().noquote() << "asked:" << reason;
        return false;
    });
    SchemaTestDatabase::EnsureTemplate();
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("pathsrep"));
    CDataGenOptions options;
    options.points = 3;
    options.workers = 6;
    options.materials = 20;
    options.clients = 80;
    options.years = 1;
    options.visits = 2000;
    options.history = 2;
    options.trainingsPerYear = 12;
    options.seed = 5;
    options.lastDay = LastDayOfLastMonth();
    CDataGenerator generator(options);
    QString error;
    QVERIFY2(generator.Fill(m_db->Connection(), &error), qPrintable(error));
    m_to = options.lastDay;
    m_from = m_to.addDays(1 - m_to.day());

    CxProfileManager memory(m_dir->filePath(QStringLiteral("connection.conf")));
    const SQLConnectXML server = TestDatabase::ServerInfo();
    memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Server"),
                              QStringLiteral("localhost"));
    memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Socket"),
                              server.get_Socket());
    memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("User"),
                              QStringLiteral("root"));
    memory.WriteProfileString(QStringLiteral("Connection"), QStringLiteral("Database"),
                              m_db->Name());
    m_app = std::make_unique<CKelda2App>();
    RegisterDBUpdater(&SchemaUpdater());
    QVERIFY2(m_app->InitInstance(), qPrintable(CTarvikApp::TakeErrorMessages()));
    QVERIFY(Frame());
    Frame()->resize(1280, 900);
}

void TestUserPathsReports::cleanupTestCase() {
    if (m_app) {
        if (Frame())
            Frame()->close();
        m_app->ExitInstance();
    }
    m_app.reset();
    m_db.reset();
}

void TestUserPathsReports::everyReportFromItsMenuItem_data() {
    QTest::addColumn<QString>("item");
    for (const char* item :
         {"Отчет за период по материалам", "Отчет за период по консультациям и перенаправлениям",
          "Отчет по проведенным тренингам", "Охват за период", "Распределение визитов",
          "Итоги по визитам за период", "Сводные данные для квартального отчета в Велмар"})
        QTest::newRow(item) << QString::fromUtf8(item);
}

// On a fresh window's settings every report builds a page with figures,
// without a message, English or a statement.
void TestUserPathsReports::everyReportFromItsMenuItem() {
    QFETCH(QString, item);
    CRepParamsView* view = Open(item);
    QVERIFY2(view, qPrintable(item));
    QCOMPARE(view->GetFrom(), m_from);
    QStringList messages;
    const QString page = Build(view, &messages);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
    QVERIFY2(!page.contains(QStringLiteral("Ошибка")), qPrintable(page.left(600)));
    QVERIFY2(page.contains(QRegularExpression(QStringLiteral("\\b[1-9]\\d*\\b"))),
             qPrintable(page.left(600)));
    QVERIFY2(page.contains(m_from.toString(QStringLiteral("dd.MM.yyyy"))) ||
                 page.contains(m_from.toString(QStringLiteral("MM.yyyy"))),
             qPrintable(page.left(600)));
    // Nor a placeholder of the page's template left unfilled.
    static const QRegularExpression foreign(
        QStringLiteral("\\b(SELECT|INSERT|CREATE|Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|"
                       "Dec|error)\\b|%[A-Z_.]+%"));
    QVERIFY2(!foreign.match(page).hasMatch(), qPrintable(foreign.match(page).captured()));
    CloseActiveWindow();
}

// A few figures of the pages against the same data read by hand.
void TestUserPathsReports::figuresMatchTheDatabase() {
    const auto page = [this](const char* item) {
        CRepParamsView* view = Open(QString::fromUtf8(item));
        const QString text = view ? Build(view) : QString();
        CloseActiveWindow();
        return text;
    };
    const QString visitLines =
        QStringLiteral(" FROM dailyvisits dv JOIN dailyreport dr ON dr.ROWID=dv.nReportID ");
    // Materials: a material's row gives its count three times (all, then
    // the two columns of the open grouping).
    const QString materials = page("Отчет за период по материалам");
    const QString syringes =
        Scalar(QStringLiteral("SELECT SUM(dv.nCount)") + visitLines +
               QStringLiteral("JOIN dir ON dir.ROWID=dv.nItem WHERE dir.cString='Шприц 2мл' AND ") +
               Period(QStringLiteral("dr.dDate")));
    QVERIFY(syringes.toInt() > 0);
    QVERIFY2(materials.contains(QStringLiteral("Шприц 2мл %1 %1 %1").arg(syringes)),
             qPrintable(syringes + u' ' + materials.right(1500)));
    // Trainings: their number and the people trained.
    const QString trainings = page("Отчет по проведенным тренингам");
    const QString held = Scalar(QStringLiteral("SELECT CONCAT(COUNT(*),' ',SUM(nNumberOfClients)) "
                                               "FROM traininglist WHERE NOT bIsFolder AND ") +
                                Period(QStringLiteral("dDate")));
    QVERIFY2(trainings.contains(QStringLiteral("По теме, Всего ") + held),
             qPrintable(held + u' ' + trainings.right(800)));
    // Coverage by sex: the clients of the period's visits and their visits
    // (one per report and client).
    const QString coverage = page("Охват за период");
    const QString clients =
        Scalar(QStringLiteral("SELECT CONCAT(COUNT(DISTINCT dv.nClientID),' ',"
                              "COUNT(DISTINCT dv.nClientID),' ',"
                              "COUNT(DISTINCT dv.nClientID,dr.ROWID))") +
               visitLines + QStringLiteral("WHERE ") + Period(QStringLiteral("dr.dDate")));
    QVERIFY2(
        coverage.contains(QStringLiteral("Клиентов Уникальных клиентов Визитов Всего ") + clients),
        qPrintable(clients + u' ' + coverage.right(400)));
}

void TestUserPathsReports::noPointTicked_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("said");
    QTest::newRow("coverage") << QStringLiteral("Охват за период")
                              << QStringLiteral("Вы должны отметить хотя бы один ПОУ");
    QTest::newRow("materials") << QStringLiteral("Отчет за период по материалам")
                               << QStringLiteral("Необходимо выбрать ПОУ");
}

// No point ticked: the report says so in Russian and names the list where
// the points are ticked; nothing crashes.
void TestUserPathsReports::noPointTicked() {
    QFETCH(QString, item);
    QFETCH(QString, said);
    CRepParamsView* view = Open(item);
    QVERIFY(view);
    QToolButton* unmark = view->findChild<QToolButton*>(QStringLiteral("unmarkPosh"));
    QVERIFY(unmark);
    QTest::mouseClick(unmark, Qt::LeftButton);
    QVERIFY(view->GetPoshList()->TickedPoints().isEmpty());
    QStringList messages;
    const QString page = Build(view, &messages);
    const QString shown = messages.join(u'\n') + u'\n' + page;
    QVERIFY2(shown.contains(said), qPrintable(shown.left(600)));
    QVERIFY(!shown.contains(QStringLiteral("«Изменить»")));
    // Every point again (the window keeps its ticks for the cases after this).
    view->MarkByType(-1);
    CloseActiveWindow();
}

// An installation whose configuration has no variant: the coverage window's
// list is empty and a build says why, sending the user to the list and to the
// button that makes a variant of one's own, both in the window. With the
// shipped configuration a fresh window has a variant ticked.
void TestUserPathsReports::noVariantChosen() {
    {
        CRepParamsView* view = Open(QStringLiteral("Охват за период"));
        QVERIFY(view);
        auto* presets = view->findChild<CRepPresetSelList2*>();
        QVERIFY(presets && presets->isVisible());
        QCOMPARE(presets->Model()->rowCount(), 3);
        QVERIFY(presets->GetChecked() >= 0);
        CloseActiveWindow();
    }
    auto* shipped = const_cast<xKDReportPresets2*>(RepConfig::Presets2());
    QVERIFY(shipped);
    std::vector<std::unique_ptr<xKDReportPresets2::xKDRepPreset2>> kept;
    for (int i = 0; i < shipped->GetCount(); ++i) {
        kept.push_back(std::make_unique<xKDReportPresets2::xKDRepPreset2>());
        kept.back()->Copy(*shipped->GetAt(i));
    }
    shipped->RemoveAll();
    const auto restore = qScopeGuard([&] {
        for (const auto& preset : kept)
            shipped->AddCopy(*preset);
    });
    CRepParamsView* view = Open(QStringLiteral("Охват за период"));
    QVERIFY(view);
    QCOMPARE(view->findChild<CRepPresetSelList2*>()->GetChecked(), -1);
    QStringList messages;
    const QString page = Build(view, &messages);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
    QVERIFY2(page.contains(QStringLiteral("Необходимо выбрать один из вариантов")),
             qPrintable(page.left(600)));
    QVERIFY(page.contains(QStringLiteral("«Варианты отчета»")));
    QVERIFY(page.contains(QStringLiteral("«Новый вариант»")));
    QVERIFY(ButtonByText<QPushButton>(view, QStringLiteral("Новый вариант")));
    QVERIFY(!page.contains(QStringLiteral("«Изменить»")));
    CloseActiveWindow();
}

// The period typed over (Ctrl+A, then the date as people type it) in both
// fields and a point unticked: the window closed from the menu and opened
// again shows them as they were left.
void TestUserPathsReports::periodTypedAndKept() {
    const QDate from = m_from.addMonths(-2);
    const QDate to = m_from.addMonths(-1).addDays(-1);
    QSet<long> points;
    {
        CRepParamsView* view = Open(QStringLiteral("Отчет за период по материалам"));
        QVERIFY(view);
        const auto type = [](CTypedDateEdit* field, const QString& text) {
            QLineEdit* edit = field->Editor();
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Tab);
        };
        type(view->findChild<CTypedDateEdit*>(QStringLiteral("fromDate")),
             from.toString(QStringLiteral("ddMMyyyy")));
        type(view->findChild<CTypedDateEdit*>(QStringLiteral("toDate")),
             QStringLiteral("%1.%2.%3").arg(to.day()).arg(to.month()).arg(to.year() % 100));
        QCOMPARE(view->GetFrom(), from);
        QCOMPARE(view->GetTo(), to);
        points = view->GetPoshList()->TickedPoints();
        QVERIFY(points.size() > 1);
        points.erase(points.begin());
        view->GetPoshList()->SetTickedPoints(points);
        CloseActiveWindow();
    }
    CRepParamsView* again = Open(QStringLiteral("Отчет за период по материалам"));
    QVERIFY(again);
    QCOMPARE(again->GetFrom(), from);
    QCOMPARE(again->GetTo(), to);
    QCOMPARE(again->GetPoshList()->TickedPoints(), points);
    // Back to the fresh window's choice for the cases after this one.
    again->SetPeriod(m_from, m_to);
    QTest::mouseClick(again->findChild<QToolButton*>(QStringLiteral("unmarkPosh")), Qt::LeftButton);
    again->MarkByType(-1);
    CloseActiveWindow();
}

// Print preview shows the page on sheets; the PDF button writes a file of
// pages where the user typed its name.
void TestUserPathsReports::printPreviewAndPDF() {
    CRepParamsView* view = Open(QStringLiteral("Охват за период"));
    QVERIFY(view);
    QVERIFY(!Build(view).isEmpty());
    int pages = 0;
    const int previews = WhileModal<CRepPreviewDlg>(
        [&] {
            QTest::mouseClick(ButtonByText<QToolButton>(view, QStringLiteral("Просмотр")),
                              Qt::LeftButton);
        },
        [&](CRepPreviewDlg* preview) {
            pages = preview->PageCount();
            preview->reject();
        });
    QCOMPARE(previews, 1);
    QVERIFY(pages >= 1);

    const QString path = m_dir->filePath(QStringLiteral("coverage.pdf"));
    bool active = false;
    QStringList notTaken;
    const int dialogs = WhileModal<QFileDialog>(
        [&] {
            QTest::mouseClick(ButtonByText<QToolButton>(view, QStringLiteral("PDF")),
                              Qt::LeftButton);
        },
        [&](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                dialog->reject();
                QFAIL("the save dialog has no name field");
            }
            // Only the active window has a focus. Without it the dialog takes
            // each folder the typed name passed through ("/", "/tmp", ...) as
            // chosen, and opens the first instead of saving.
            dialog->activateWindow();
            active = QTest::qWaitForWindowActive(dialog);
            name->setFocus();
            QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(name, path);
            // The name field's completer fills its list from another thread
            // and may show it late enough to take the Enter key; the name as
            // typed is what the dialog is to accept.
            if (QCompleter* completer = name->completer(); completer && completer->popup())
                completer->popup()->hide();
            // A row of the folder list chosen meanwhile (the folder is read
            // on another thread and its rows may arrive late) would stand
            // for the name typed, so none stays chosen.
            for (QAbstractItemView* rows : dialog->findChildren<QAbstractItemView*>())
                if (rows->selectionModel())
                    rows->selectionModel()->clearSelection();
            // A failed check here would leave the dialog open for ever: the
            // name typed is put back if a completion replaced it, and the
            // written file is checked after the dialog is gone.
            if (name->text() != path)
                name->setText(path);
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible()) {
                notTaken = dialog->selectedFiles();
                dialog->reject();
            }
        });
    QCOMPARE(dialogs, 1);
    QVERIFY2(active, "the save dialog never became the active window");
    QVERIFY2(notTaken.isEmpty(), qPrintable(notTaken.join(u'\n')));
    QFile pdf(path);
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    QVERIFY(page.match(QString::fromLatin1(bytes)).hasMatch());
    CloseActiveWindow();
}

QTEST_MAIN(TestUserPathsReports)
#include "test_user_paths_reports.moc"
