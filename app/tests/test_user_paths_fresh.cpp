// A new installation as its first user meets it: the program's own main
// window on a database with no data and the shipped configuration. Every
// report window opened from its menu item offers the record commands of the
// tool bar («Новая запись», «Изменить», «Удалить») only where it has a
// record to make (its list of report variants) and never the search panel;
// the start page offers neither. Every report built there at once shows a
// page or says in Russian why it cannot, never a statement or English.
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "framework/core/report/rep_doc.h"
#include "framework/widgets/report_view/rep_pane.h"
#include "framework/widgets/report_view/rep_view.h"
#include "reports/base/views/preset_sel_list.h"

#include <QPushButton>
#include <QRegularExpression>

using namespace UserPath;

namespace {
const QString kNew = QStringLiteral("Новая запись");
const QString kEdit = QStringLiteral("Изменить");
const QString kDelete = QStringLiteral("Удалить");
const QString kSearch = QStringLiteral("Панель поиска");

// Every report window and the menu path that opens it.
QList<QStringList> ReportWindows() {
    QList<QStringList> paths;
    for (const char* item :
         {"Отчет за период по материалам", "Отчет за период по консультациям и перенаправлениям",
          "Отчет по проведенным тренингам", "Охват за период", "Распределение визитов",
          "Итоги по визитам за период", "Сводные данные для квартального отчета в Велмар"})
        paths << QStringList{QStringLiteral("Отчеты"), QString::fromUtf8(item)};
    paths << QStringList{QStringLiteral("Услуги"), QStringLiteral("Обмен данными"),
                         QStringLiteral("Сравнение данных загрузок")};
    return paths;
}

// The page as a person reads it: tags out, entities back.
QString PageText(QString html) {
    html.replace(QRegularExpression(QStringLiteral("<head>.*</head>"),
                                    QRegularExpression::DotMatchesEverythingOption),
                 QStringLiteral(" "));
    html.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    for (const auto& [entity, text] : {std::pair{"&nbsp;", " "},
                                       {"&laquo;", "«"},
                                       {"&raquo;", "»"},
                                       {"&amp;", "&"},
                                       {"&lt;", "<"},
                                       {"&gt;", ">"},
                                       {"&quot;", "\""}})
        html.replace(QLatin1String(entity), QString::fromUtf8(text));
    return html.simplified();
}

// Latin words (a statement, an English message) in a text meant for people.
QString ForeignWords(const QString& text) {
    static const QRegularExpression latin(QStringLiteral("[A-Za-z_]{3,}"));
    QStringList found;
    for (auto it = latin.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found.join(u' ');
}
} // namespace

class TestUserPathsFresh : public UserPathTest {
    Q_OBJECT

public:
    TestUserPathsFresh() : UserPathTest(QStringLiteral("upfresh"), {}, Windows::Closed) {}

    // Report windows show their pages in a browser engine, which must be
    // set up before the application object exists.
    static void initMain() { CRepPane::PrepareApplication(); }

    // The tool-bar button's state as the running program keeps it.
    bool Enabled(const QString& text) {
        Frame().UpdateCommandUI();
        QAction* action = ToolBarAction(Frame(), text);
        return action && action->isEnabled();
    }
    // Opens the window of the menu path; its view, when it is a report's.
    CRepView* OpenReport(const QStringList& path) {
        if (!TriggerMenu(Frame(), path))
            return nullptr;
        for (int i = 0; i < 50 && !qobject_cast<CRepView*>(ActiveView(Frame())); ++i)
            QTest::qWait(20);
        return qobject_cast<CRepView*>(ActiveView(Frame()));
    }

private slots:
    // The start page links into the journals; it has no record of its own.
    void startPageOffersNoRecordCommands() {
        QVERIFY(TriggerMenu(Frame(), {QStringLiteral("Файл"), QStringLiteral("Главное окно")}));
        QVERIFY(ActiveView(Frame()));
        for (const QString& command : {kNew, kEdit, kDelete, kSearch})
            QVERIFY2(!Enabled(command), qPrintable(command));
    }

    void reportWindowRecordCommands_data() {
        QTest::addColumn<QStringList>("path");
        for (const QStringList& path : ReportWindows())
            QTest::newRow(qPrintable(path.last())) << path;
    }
    // «Новая запись» makes a variant of the report, so it is there exactly
    // when the window's list of variants takes new ones (the older list of
    // the visits reports only offers the shipped ones); «Изменить» and
    // «Удалить» change a user's variant, and a new installation has none.
    void reportWindowRecordCommands() {
        QFETCH(QStringList, path);
        CRepView* view = OpenReport(path);
        QVERIFY(view);
        auto* variants = view->findChild<CRepPresetSelList2*>();
        const bool hasVariants = variants && variants->isVisible() && variants->isEnabled();
        QCOMPARE(Enabled(kNew), hasVariants);
        QVERIFY(!Enabled(kEdit));
        QVERIFY(!Enabled(kDelete));
        QVERIFY(!Enabled(kSearch));
        if (!hasVariants)
            return;
        // The command opens the variant editor; Escape leaves it.
        ModalWatcher modals;
        QVERIFY(TriggerToolBar(Frame(), kNew));
        QCOMPARE(modals.Take().size(), 1);
    }

    void everyReportOnAnEmptyDatabase_data() { reportWindowRecordCommands_data(); }
    // Built at once with a fresh window's settings: a page, or a message in
    // Russian that says why; no statement, no English, on either.
    void everyReportOnAnEmptyDatabase() {
        QFETCH(QStringList, path);
        CRepView* view = OpenReport(path);
        QVERIFY(view);
        Answers().Clear();
        // The window's own button («Формировать», «Сравнить»).
        QAbstractButton* build = view->BuildButton();
        QVERIFY(build && build->isVisible() && build->isEnabled());
        Click(build);
        const QStringList messages = Answers().Take();
        Answers().Clear();
        for (const QString& message : messages) {
            QVERIFY2(!message.trimmed().isEmpty(), "an empty message");
            QVERIFY2(ForeignWords(message).isEmpty(), qPrintable(message));
        }
        const QString page = PageText(view->GetRepDoc()->GetHTML());
        QVERIFY2(!page.isEmpty() || !messages.isEmpty(), "neither a page nor a message");
        QVERIFY2(ForeignWords(page).isEmpty(), qPrintable(ForeignWords(page) + u'\n' + page));
    }
};

QTEST_MAIN(TestUserPathsFresh)
#include "test_user_paths_fresh.moc"
