#include <QTest>
class TestDirectoriesJournal : public QObject {
    Q_OBJECT
};
QTEST_MAIN(TestDirectoriesJournal)
#include "test_directories_journal.moc"
