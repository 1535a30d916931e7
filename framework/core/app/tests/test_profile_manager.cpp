// The settings stores keep any text under any path: the database store in a
// `profiles` table (one row per user and path, also when written twice), the
// plain store in memory and in its file across instances.
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/test_database.h"

#include <QTemporaryDir>
#include <QTest>

class TestProfileManager : public QObject {
    Q_OBJECT

    static void Values() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "AppState\\LastState"
                               << "LastPlace"
                               << "17";
        QTest::newRow("quotes and back-slashes") << "Reports"
                                                 << "KDPresets2"
                                                 << "<a b='1'>O'Brien \\ \"x\"</a>";
        QTest::newRow("line breaks and Cyrillic") << "Раздел"
                                                  << "Ключ"
                                                  << "строка 1\nстрока 2\r\n";
        QTest::newRow("empty value") << "S"
                                     << "E"
                                     << "";
    }

private slots:
    void sqlStore_data() { Values(); }
    void sqlStore() {
        QFETCH(QString, section);
        QFETCH(QString, entry);
        QFETCH(QString, value);
        TestDatabase db(QStringLiteral("prof"));
        db.Exec(QStringLiteral(
            "CREATE TABLE profiles (cUser char(32) default NULL, cPath varchar(255) default NULL, "
            "cValue mediumtext, UNIQUE KEY cUser (cUser,cPath)) DEFAULT CHARSET=ucs2"));
        CxSQLProfileManager store(db.Connection(), QStringLiteral("profiles"),
                                  QStringLiteral("root"));
        CxSQLProfileManager other(db.Connection(), QStringLiteral("profiles"),
                                  QStringLiteral("someone"));
        QCOMPARE(store.GetProfileString(section, entry, QStringLiteral("deflt")),
                 QStringLiteral("deflt"));
        QVERIFY(store.WriteProfileString(section, entry, QStringLiteral("first")));
        QVERIFY(store.WriteProfileString(section, entry, value));
        QCOMPARE(store.GetProfileString(section, entry, QStringLiteral("deflt")), value);
        QCOMPARE(other.GetProfileString(section, entry, QStringLiteral("deflt")),
                 QStringLiteral("deflt"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM profiles")), QStringLiteral("1"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT cPath FROM profiles")), section + u'\\' + entry);
    }

    // Names and values a user or a report preset can bring: every name reads
    // back what was written under it, names that differ only past the key
    // column's length or in trailing blanks stay apart, and a value the table
    // cannot hold is refused (the old value stays) instead of being altered.
    void hostileNamesAndValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storableValue");
        QTest::newRow("quotes") << QStringLiteral("O'Hara \"x\" `y`") << true;
        QTest::newRow("backslash") << QStringLiteral("C:\\dir\\") << true;
        QTest::newRow("NUL") << (QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << true;
        QTest::newRow("Cyrillic") << QStringLiteral("Отчёт «Север»") << true;
        QTest::newRow("emoji") << QString::fromUtf8("Отчёт 😀") << false;
        QTest::newRow("300 characters") << QString(300, u'ж') << true;
        QTest::newRow("70000 characters") << QString(70000, u'x') << true;
        QTest::newRow("trailing blank") << QStringLiteral("name ") << true;
    }
    void hostileNamesAndValues() {
        QFETCH(QString, text);
        QFETCH(bool, storableValue);
        TestDatabase db(QStringLiteral("prof"));
        db.Exec(QStringLiteral(
            "CREATE TABLE profiles (cUser char(32) default NULL, cPath varchar(255) default NULL, "
            "cValue mediumtext, UNIQUE KEY cUser (cUser,cPath)) DEFAULT CHARSET=ucs2"));
        CxSQLProfileManager store(db.Connection(), QStringLiteral("profiles"),
                                  QStringLiteral("root"));
        const QString section = QStringLiteral("Reports");
        // The name itself, and a neighbour that differs only at its very end
        // (for a name ending in a blank: the name without it).
        const QString neighbour = text.endsWith(u' ') ? text.trimmed() : text + QStringLiteral("2");
        QVERIFY(store.WriteProfileString(section, text, QStringLiteral("first")));
        QVERIFY(store.WriteProfileString(section, neighbour, QStringLiteral("second")));
        QCOMPARE(store.GetProfileString(section, text, QString()), QStringLiteral("first"));
        QCOMPARE(store.GetProfileString(section, neighbour, QString()), QStringLiteral("second"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM profiles")), QStringLiteral("2"));

        // The text as a value.
        CTarvikApp::ClearErrorMessages();
        QCOMPARE(store.WriteProfileString(section, text, text), storableValue);
        QCOMPARE(store.GetProfileString(section, text, QString()),
                 storableValue ? text : QStringLiteral("first"));
        if (!storableValue)
            QVERIFY(CTarvikApp::TakeErrorMessages().contains(QStringLiteral("cValue")));
    }

    void plainStoreKeepsItsFile_data() { Values(); }
    void plainStoreKeepsItsFile() {
        QFETCH(QString, section);
        QFETCH(QString, entry);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("sub/settings.conf"));
        {
            CxProfileManager store(file);
            QVERIFY(store.WriteProfileString(section, entry, value));
        }
        CxProfileManager again(file);
        QCOMPARE(again.GetProfileString(section, entry, QStringLiteral("deflt")), value);
    }

    void integers_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "42" << 42;
        QTest::newRow("negative with blanks") << " -7 " << -7;
        QTest::newRow("not a number") << "x1" << -1;
        QTest::newRow("missing") << QString() << -1;
    }
    void integers() {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        CxProfileManager store;
        if (!stored.isNull())
            store.WriteProfileString(QStringLiteral("S"), QStringLiteral("E"), stored);
        QCOMPARE(store.GetProfileInt(QStringLiteral("S"), QStringLiteral("E"), -1), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfileManager)
#include "test_profile_manager.moc"
