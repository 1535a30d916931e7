// The program speaks Russian on a machine whose language is not Russian: the
// application object makes Qt's own buttons, calendars and locale formats
// Russian. The machine's language is set to C before Qt starts.
#include "app/kelda2_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

class TestRussianLanguage : public QObject {
    Q_OBJECT
    std::unique_ptr<CKelda2App> m_app;

private slots:
    void initTestCase() {
        QCOMPARE(QLocale::system().language(), QLocale::C);
        m_app = std::make_unique<CKelda2App>();
    }
    void cleanupTestCase() { m_app.reset(); }

    // Qt's standard buttons, as every question of the program shows them.
    void messageBoxButtons() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Kelda2"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList texts;
        for (QMessageBox::StandardButton b :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << box.button(b)->text().remove(u'&');
        QCOMPARE(texts, (QStringList{"Да", "Нет", "Отмена"}));
    }

    // A calendar names its month and week days in Russian and starts the
    // week on Monday.
    void calendar() {
        QCalendarWidget calendar;
        calendar.setCurrentPage(2026, 1);
        auto* month = calendar.findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
        QVERIFY(month);
        QCOMPARE(month->text().toLower(), QStringLiteral("январь"));
        QCOMPARE(calendar.firstDayOfWeek(), Qt::Monday);
        QCOMPARE(calendar.locale().dayName(1, QLocale::ShortFormat), QStringLiteral("пн"));
    }

    // What Qt formats by the locale reads as a Russian user writes it.
    void localeFormats() {
        QCOMPARE(QLocale().toString(QDate(2026, 12, 11), QLocale::ShortFormat),
                 QStringLiteral("11.12.2026"));
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    }
};

int main(int argc, char* argv[]) {
    // The machine speaks no Russian.
    qputenv("LC_ALL", "C");
    qputenv("LANG", "C");
    qputenv("LANGUAGE", "C");
    QApplication app(argc, argv);
    TestRussianLanguage test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_russian_language.moc"
