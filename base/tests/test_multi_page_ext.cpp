// The parent-page lookup: which page answers, and when the answer is kept.
#include "base/multi_page_ext.h"

#include <QSet>
#include <QTest>
#include <memory>
#include <vector>

namespace {
constexpr unsigned kAsked = 31000;

class Page : public CMultiPageExt {
public:
    explicit Page(long id) : m_id(id) {}
    long GetPageID() override { return m_id; }
    void* GetBaseClass(unsigned id, const char* name = nullptr) override {
        ++calls;
        if (implements.contains(id))
            return this;
        if (id == IID_ParentPage && hasParentLink)
            return &parent;
        return CMultiPageExt::GetBaseClass(id, name);
    }
    long m_id;
    QSet<unsigned> implements;
    bool hasParentLink = true;
    CxParentPageInfo parent;
    int calls = 0;
};
} // namespace

class TestMultiPageExt : public QObject {
    Q_OBJECT
private slots:
    void lookup_data() {
        QTest::addColumn<int>("depth");       // pages from the asking one to the top
        QTest::addColumn<int>("implementer"); // index of the answering page, -1 none
        QTest::addColumn<bool>("topLinked");  // the top page names a (null) parent
        QTest::addColumn<bool>("loop");       // the top page names the first as parent
        QTest::addColumn<long>("expected");
        QTest::addColumn<bool>("secondWalks"); // the second call walks again
        QTest::newRow("own page answers") << 3 << 0 << true << false << 100L << false;
        QTest::newRow("grandparent answers") << 3 << 2 << true << false << 102L << false;
        QTest::newRow("nobody up to the top") << 3 << -1 << true << false << -1L << false;
        QTest::newRow("top cannot name a parent") << 2 << -1 << false << false << -1L << true;
        QTest::newRow("pages in a loop") << 3 << -1 << true << true << -1L << true;
    }
    void lookup() {
        QFETCH(int, depth);
        QFETCH(int, implementer);
        QFETCH(bool, topLinked);
        QFETCH(bool, loop);
        QFETCH(long, expected);
        QFETCH(bool, secondWalks);
        std::vector<std::unique_ptr<Page>> pages;
        for (int i = 0; i < depth; ++i)
            pages.push_back(std::make_unique<Page>(100 + i));
        for (int i = 0; i + 1 < depth; ++i)
            pages[i]->parent.pParentPage = pages[i + 1].get();
        pages.back()->hasParentLink = topLinked;
        if (loop)
            pages.back()->parent.pParentPage = pages.front().get();
        if (implementer >= 0)
            pages[implementer]->implements.insert(kAsked);

        QCOMPARE(pages[0]->CMultiPageExt_GetParentID(kAsked), expected);
        for (auto& page : pages)
            page->calls = 0;
        QCOMPARE(pages[0]->CMultiPageExt_GetParentID(kAsked), expected);
        int calls = 0;
        for (auto& page : pages)
            calls += page->calls;
        // A remembered answer asks at most the answering page for its id.
        QCOMPARE(calls > 0, secondWalks);
    }

    void rememberedPageIsAskedForItsIdAgain() {
        Page top(7), child(1);
        child.parent.pParentPage = &top;
        top.parent.pParentPage = nullptr;
        top.implements.insert(kAsked);
        QCOMPARE(child.CMultiPageExt_GetParentID(kAsked), 7L);
        top.m_id = 8;
        QCOMPARE(child.CMultiPageExt_GetParentID(kAsked), 8L);
    }

    void interfaces() {
        Page page(1);
        QCOMPARE(page.GetBaseClass(CMultiPageExt::IID), static_cast<void*>(&page));
        QCOMPARE(page.GetBaseClass(IID_CBaseClass),
                 static_cast<void*>(static_cast<CBaseClass*>(&page)));
        QVERIFY(!page.GetBaseClass(12345));
    }
};

QTEST_APPLESS_MAIN(TestMultiPageExt)
#include "test_multi_page_ext.moc"
