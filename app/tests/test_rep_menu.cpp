// Building the main menu: the report and directory items go in only where
// the report placeholder stands; merging matches popups by caption, never
// plain items.
#include "app/command_ids.h"
#include "app/rep_menu.h"
#include "framework/widgets/menu_resource.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <memory>

namespace {
using M = CxMenuItem;

QStringList Texts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

std::unique_ptr<QMenu> Build(const QList<CxMenuItem>& items) {
    auto menu = std::make_unique<QMenu>();
    for (const CxMenuItem& item : items)
        CxMenuResources::AppendItem(menu.get(), item);
    return menu;
}
} // namespace

class TestRepMenu : public QObject {
    Q_OBJECT
private slots:
    void withoutPlaceholderNothingChanges() {
        auto menu = Build({M::Popup("A", {M::Command(1, "a")}), M::Popup("B", {}),
                           M::Popup("Справочники", {M::Command(ID_PLACEHOLDER_DIR, "<DIR>")})});
        CKeldaRepMenu ext;
        QVERIFY(!ext.OnBuildMenu(menu.get()));
        QCOMPARE(Texts(menu->actions()[2]->menu()), QStringList{"<DIR>"});
        QCOMPARE(Texts(menu->actions()[0]->menu()), QStringList{"a"});
    }

    void sameTextItemsAreAppended() {
        auto menu = Build({M::Popup("Файл", {}), M::Popup("Вид", {}),
                           M::Popup("Справочники", {M::Command(ID_PLACEHOLDER_DIR, "<DIR>")}),
                           M::Popup("Отчеты", {M::Command(9999, "Охват за период"),
                                               M::Command(ID_PLACEHOLDER_REPORTS, "<<R>>")})});
        CKeldaRepMenu ext;
        QVERIFY(ext.OnBuildMenu(menu.get()));
        QMenu* reports = menu->actions()[3]->menu();
        QCOMPARE(Texts(reports).count(QStringLiteral("Охват за период")), 2);
        QCOMPARE(Texts(reports).first(), QStringLiteral("Охват за период"));
        QVERIFY(!Texts(reports).contains(QStringLiteral("<<R>>")));
        QCOMPARE(Texts(menu->actions()[2]->menu()).size(), 9);
        QCOMPARE(Texts(menu->actions()[2]->menu()).last(), QStringLiteral("Организации"));
    }

    void mergeMatchesPopupsByCaption_data() {
        QTest::addColumn<QString>("sourcePopup");
        QTest::addColumn<QStringList>("tops");
        QTest::addColumn<QStringList>("editItems");
        QTest::newRow("same caption joins, ampersands aside")
            << "&Правка" << QStringList{"Правка", "Help"} << QStringList{"x", "-", "y"};
        QTest::newRow("new caption goes before Help")
            << "Сервис" << QStringList{"Правка", "Сервис", "Help"} << QStringList{"x"};
    }
    void mergeMatchesPopupsByCaption() {
        QFETCH(QString, sourcePopup);
        QFETCH(QStringList, tops);
        QFETCH(QStringList, editItems);
        auto destination = Build({M::Popup("Правка", {M::Command(1, "x")}), M::Popup("Help", {})});
        auto source = Build({M::Popup(sourcePopup, {M::Command(2, "y")})});
        QVERIFY(CKeldaRepMenu::MergeMenu(destination.get(), source.get(), true));
        QStringList shown;
        for (QAction* action : destination->actions())
            shown << QString(action->text()).remove(u'&');
        QCOMPARE(shown, tops);
        QCOMPARE(Texts(destination->actions()[0]->menu()), editItems);
    }
};

QTEST_MAIN(TestRepMenu)
#include "test_rep_menu.moc"
