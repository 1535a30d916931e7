// The command addresses the widget side runs itself: a "messagebox:" address
// taken apart into its flags and its text.
#include "framework/widgets/app_queries.h"

#include <QTest>

class TestAppQueries : public QObject {
    Q_OBJECT
private slots:
    void messageBoxAddress_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("isMessageBox");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("text");
        QTest::newRow("information") << "messagebox:64:Ваша резервная копия устарела" << true << 64
                                     << "Ваша резервная копия устарела";
        QTest::newRow("colons stay in the text")
            << "messagebox:48:Файл: a:b" << true << 48 << "Файл: a:b";
        QTest::newRow("empty text") << "messagebox:16:" << true << 16 << "";
        QTest::newRow("no text") << "messagebox:32" << true << 32 << "";
        QTest::newRow("flags not a number") << "messagebox:x:Текст" << true << 0 << "Текст";
        QTest::newRow("no flags") << "messagebox::Текст" << true << 0 << "Текст";
        QTest::newRow("other address") << "opendoc:CJClients" << false << 0 << "";
        QTest::newRow("case matters") << "MessageBox:64:x" << false << 0 << "";
        QTest::newRow("about") << "about" << false << 0 << "";
    }
    void messageBoxAddress() {
        QFETCH(QString, address);
        QFETCH(bool, isMessageBox);
        QFETCH(int, flags);
        QFETCH(QString, text);
        CxMessageBoxQuery query;
        QCOMPARE(ParseMessageBoxQuery(address, &query), isMessageBox);
        if (!isMessageBox)
            return;
        QCOMPARE(query.flags, flags);
        QCOMPARE(query.text, text);
    }

    void otherAddressesAreNotRun() {
        QVERIFY(ProcessWidgetAppQuery(QStringLiteral("about")));
        QVERIFY(!ProcessWidgetAppQuery(QStringLiteral("opendoc:CJClients")));
    }
};

QTEST_MAIN(TestAppQueries)
#include "test_app_queries.moc"
