#include "framework/core/containers/acc_string.h"
#include "framework/core/containers/cx_map.h"
#include "framework/core/containers/cx_obj.h"

#include <QRandomGenerator>
#include <QTest>
#include <map>

namespace {
using IntMap = CxMap<int, int>;

QList<int> Keys(const IntMap& map) {
    QList<int> keys;
    IntMap::ELSTR* el = nullptr;
    while (map.ScanNext(el))
        keys << el->key;
    return keys;
}

// Counts the objects alive, so a test sees what a holder deletes.
struct Tracked {
    static inline int alive = 0;
    static inline int filled = 0;
    Tracked() { ++alive; }
    ~Tracked() { --alive; }
    void OnCreateInit() { ++filled; }
};
} // namespace

class TestContainers : public QObject {
    Q_OBJECT
private slots:
    // Random insertions and removals against std::map, with the index on (in
    // small steps, so that it grows often) and off.
    void mapAgreesWithReference_data() {
        QTest::addColumn<int>("indexStep");
        QTest::newRow("index step 128") << 128;
        QTest::newRow("index step 2") << 2;
        QTest::newRow("no index") << 0;
    }
    void mapAgreesWithReference() {
        QFETCH(int, indexStep);
        IntMap map;
        map.BuildIndex(indexStep);
        std::map<int, int> reference;
        QRandomGenerator random(42);
        for (int i = 0; i < 3000; ++i) {
            const int key = random.bounded(-200, 200);
            if (random.bounded(3) == 0) {
                QCOMPARE(map.Remove(key), int(reference.erase(key)));
            } else {
                map.FindOrAdd(key)->value = i;
                reference[key] = i;
            }
            const int probe = random.bounded(-210, 210);
            auto* found = map.Find(probe);
            auto it = reference.find(probe);
            QCOMPARE(found != nullptr, it != reference.end());
            if (found)
                QCOMPARE(found->value, it->second);
            auto* nearest = map.Find(probe, 1);
            auto above = reference.lower_bound(probe);
            QCOMPARE(nearest ? nearest->key : 999, above == reference.end() ? 999 : above->first);
        }
        QList<int> expected;
        for (const auto& [key, value] : reference)
            expected << key;
        QCOMPARE(Keys(map), expected);
        QCOMPARE(map.GetCount(), int(reference.size()));
    }

    void findOrAddKeepsExistingAndLinksNewInOrder() {
        IntMap map;
        map[10] = 1;
        map[30] = 3;
        auto* existing = map.FindOrAdd(10);
        existing->value = 7;
        QCOMPARE(map.GetCount(), 2);
        auto* added = map.FindOrAdd(20);
        QCOMPARE(added->value, 0);
        QCOMPARE(Keys(map), (QList<int>{10, 20, 30}));
        QCOMPARE(added->prev->key, 10);
        QCOMPARE(added->next->key, 30);
        QCOMPARE(map.Find(10)->value, 7);
    }

    void findNearest_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::newRow("above every key") << 100 << -1;
        QTest::newRow("between two keys") << 15 << 20;
        QTest::newRow("below every key gives the first") << -5 << 0;
        QTest::newRow("exact") << 10 << 10;
    }
    void findNearest() {
        QFETCH(int, key);
        QFETCH(int, expected);
        for (int step : {128, 0}) {
            IntMap map;
            map.BuildIndex(step);
            for (int k : {20, 0, 10})
                map[k] = k;
            auto* el = map.Find(key, 1);
            QCOMPARE(el ? el->key : -1, expected);
            QVERIFY(!map.Find(key == 10 ? 11 : key));
        }
    }

    void negativeKeysSortFirstAndRemoveAllKeepsIndex() {
        IntMap map;
        map.BuildIndex(4);
        for (int k : {5, -3, 0, -10, 7})
            map[k] = k;
        QCOMPARE(Keys(map), (QList<int>{-10, -3, 0, 5, 7}));
        map.RemoveAll();
        QVERIFY(map.IsEmpty());
        QCOMPARE(map.GetIndexStep(), 4);
        map[2] = 2;
        map[1] = 1;
        QCOMPARE(Keys(map), (QList<int>{1, 2}));
    }

    void nestedMapsCopyDeeply() {
        CxMap<long, CxMap<int, int>> outer;
        outer[1][5] = 50;
        CxMap<long, CxMap<int, int>> copy(outer);
        copy[1][5] = 60;
        QCOMPARE(outer.Find(1)->value.Find(5)->value, 50);
        QCOMPARE(copy.Find(1)->value.Find(5)->value, 60);
    }

    void accumulatorJoins_data() {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("separator"); // "-" stands for no separator
        QTest::addColumn<QString>("expected");
        QTest::newRow("separator between parts") << QStringList{"a", "b"} << ", "
                                                 << "a, b";
        QTest::newRow("no separator before the first part") << QStringList{"", "a"} << ", "
                                                            << "a";
        QTest::newRow("empty parts add no separator") << QStringList{"a", "", "b", ""} << ";"
                                                      << "a;b";
        QTest::newRow("without separator") << QStringList{"ab", "cd"} << "-"
                                           << "abcd";
    }
    void accumulatorJoins() {
        QFETCH(QStringList, parts);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        CAccStringT<wchar_t> acc;
        for (const QString& part : parts) {
            if (separator == QLatin1String("-"))
                QVERIFY(acc.Add(part));
            else
                QVERIFY(acc.Add(part, separator));
        }
        QCOMPARE(acc.ToString(), expected);
        QCOMPARE(acc.GetLength(), expected.size());
    }

    void accumulatorGrowsInDoublingSteps() {
        CAccStringT<wchar_t> acc;
        QCOMPARE(acc.GetCapacity(), 128);
        acc.Add(QString(300, u'x'));
        QCOMPARE(acc.GetCapacity(), 384);
        QCOMPARE(acc.GetStep(), 256);
        acc.Add(QString(200, u'y'));
        QCOMPARE(acc.GetCapacity(), 512); // (503 / 256 + 1) * 256
        QCOMPARE(acc.GetStep(), 512);
        QCOMPARE(acc.ToString(), QString(300, u'x') + QString(200, u'y'));
        QCOMPARE(acc.GetBuffer()[500], L'\0');
    }

    void holdersOwnTheirObjects() {
        {
            CxObj<Tracked*> holder(new Tracked);
            holder.Attach(new Tracked);
            QCOMPARE(Tracked::alive, 1);
            holder.Attach(nullptr);
            QCOMPARE(Tracked::alive, 0);
            holder.Attach(new Tracked);
        }
        QCOMPARE(Tracked::alive, 0);
        {
            CxObjAutoAlloc<Tracked> lazy;
            QVERIFY(!lazy.GetPtr());
            Tracked* first = lazy.Get();
            QCOMPARE(lazy.Get(), first);
            QCOMPARE(Tracked::filled, 1);
        }
        QCOMPARE(Tracked::alive, 0);
    }
};

QTEST_GUILESS_MAIN(TestContainers)
#include "test_containers.moc"
