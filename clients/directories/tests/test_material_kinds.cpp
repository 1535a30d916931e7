// The material kinds and their type codes: which kind a stored code opens
// on, which code an item gets on saving, which columns a change of kind
// empties, and which types a material group may hold.
#include "clients/directories/core/material_kinds.h"

#include <QTest>

Q_DECLARE_METATYPE(EMaterialKind)

namespace {
QString Name(EMaterialKind kind) {
    const CMaterialKindDef* def = MaterialKind(kind);
    return def ? QString::fromLatin1(def->name) : QStringLiteral("None");
}
} // namespace

class TestMaterialKinds : public QObject {
    Q_OBJECT
private slots:
    void kindOfCode_data() {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QString>("kind");
        const auto row = [](const char* name, qint64 code, const char* kind) {
            QTest::newRow(name) << code << QString::fromLatin1(kind);
        };
        row("syringe 1 ml", 0x10001, "Syringes");
        row("syringe without a button", 0x10007, "Syringes");
        row("syringe group", 0x10000, "Syringes");
        row("needle other", 0x20fff, "Needles");
        row("chlorhexidine", 0x30003, "Medicines");
        row("naloxone", 0x30010, "Medicines");
        row("injection water", 0x3000b, "Medicines");
        row("alcohol wipes", 0x30002, "Other");
        row("lubricants", 0x3000e, "Other");
        row("kit (no button)", 0x30011, "Other");
        row("other material", 0x30fff, "Other");
        row("service", 0x40fff, "Services");
        row("community centre service", 0x403ec, "Services");
        row("booklet", 0x50005, "Booklets");
        row("returned needle", 0x60002, "Returned");
        row("consultation", 0x70fff, "Consultations");
        row("male condoms", 0x80001, "Condoms");
        row("female condoms", 0x80002, "Condoms");
        row("condom group", 0x80000, "None");
        row("condom subtype 3", 0x80003, "None");
        row("medicine group", 0x90000, "None");
        row("kind 0", 0x00005, "None");
        row("kind 10", 0xa0001, "None");
        row("high bit beyond the mask", 0x1010001, "None");
        row("negative", -1, "None");
    }
    void kindOfCode() {
        QFETCH(qint64, code);
        QFETCH(QString, kind);
        QCOMPARE(Name(MaterialKindOfCode(long(code))), kind);
    }

    // Every code a kind's buttons write opens on that kind again; the nine
    // kinds are consulted in their fixed order.
    void choicesOpenOnTheirKind() {
        QStringList order;
        int codes = 0;
        for (const CMaterialKindDef& def : MaterialKinds()) {
            order << QString::fromLatin1(def.name);
            for (const CMaterialCodeChoice& c : def.choices) {
                QCOMPARE(Name(MaterialKindOfCode(c.code)), QString::fromLatin1(def.name));
                ++codes;
            }
            if (def.choices.isEmpty())
                QCOMPARE(MaterialKindOfCode(def.fixedCode), def.kind);
        }
        QCOMPARE(order.join(u' '), QStringLiteral("Syringes Needles Booklets Other Services "
                                                  "Returned Consultations Medicines Condoms"));
        QCOMPARE(codes, 7 + 5 + 6 + 2 + 9 + 2);
    }

    void codeOnSave_data() {
        QTest::addColumn<EMaterialKind>("kind");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<qint64>("chosen");
        QTest::addColumn<qint64>("code");
        QTest::newRow("syringe chosen")
            << EMaterialKind::Syringes << -1LL << 0x10002LL << 0x10002LL;
        QTest::newRow("syringe code without a button stays")
            << EMaterialKind::Syringes << 0x10007LL << -1LL << 0x10007LL;
        QTest::newRow("needle kind, nothing chosen")
            << EMaterialKind::Needles << 0x10001LL << -1LL << -1LL;
        QTest::newRow("other: medicine code does not fit")
            << EMaterialKind::Other << 0x30003LL << -1LL << -1LL;
        QTest::newRow("kit stays other") << EMaterialKind::Other << 0x30011LL << -1LL << 0x30011LL;
        QTest::newRow("into services") << EMaterialKind::Services << 0x70fffLL << -1LL << 0x40fffLL;
        QTest::newRow("service code kept")
            << EMaterialKind::Services << 0x403ecLL << -1LL << 0x403ecLL;
        QTest::newRow("into booklets") << EMaterialKind::Booklets << -1LL << -1LL << 0x50005LL;
        QTest::newRow("into consultations")
            << EMaterialKind::Consultations << 0x40fffLL << -1LL << 0x70fffLL;
        QTest::newRow("none") << EMaterialKind::None << 0x10001LL << -1LL << -1LL;
    }
    void codeOnSave() {
        QFETCH(EMaterialKind, kind);
        QFETCH(qint64, stored);
        QFETCH(qint64, chosen);
        QFETCH(qint64, code);
        QCOMPARE(qint64(MaterialCodeOnSave(kind, long(stored), long(chosen))), code);
    }

    void columnsToClear_data() {
        QTest::addColumn<EMaterialKind>("stored");
        QTest::addColumn<EMaterialKind>("chosen");
        QTest::addColumn<QString>("columns");
        QTest::newRow("booklet stays") << EMaterialKind::Booklets << EMaterialKind::Booklets << "";
        QTest::newRow("booklet to syringe")
            << EMaterialKind::Booklets << EMaterialKind::Syringes << "nAuditory nPubType nCircul";
        QTest::newRow("consultation stays")
            << EMaterialKind::Consultations << EMaterialKind::Consultations << "";
        QTest::newRow("consultation to service")
            << EMaterialKind::Consultations << EMaterialKind::Services << "nSpecFlags nConfigGroup";
        QTest::newRow("syringe to service")
            << EMaterialKind::Syringes << EMaterialKind::Services << "nConfigGroup";
        QTest::newRow("no kind to booklet")
            << EMaterialKind::None << EMaterialKind::Booklets << "nAuditory nPubType nCircul";
        QTest::newRow("medicine to other")
            << EMaterialKind::Medicines << EMaterialKind::Other << "";
        QTest::newRow("booklet to consultation")
            << EMaterialKind::Booklets << EMaterialKind::Consultations
            << "nAuditory nPubType nCircul nSpecFlags nConfigGroup";
    }
    void columnsToClear() {
        QFETCH(EMaterialKind, stored);
        QFETCH(EMaterialKind, chosen);
        QFETCH(QString, columns);
        QCOMPARE(MaterialColumnsToClear(stored, chosen).join(u' '), columns);
    }

    void groupMembers_data() {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<bool>("member");
        QTest::newRow("syringe") << 0x10001LL << true;
        QTest::newRow("kit") << 0x30011LL << true;
        QTest::newRow("naloxone") << 0x30010LL << true;
        QTest::newRow("booklet") << 0x50005LL << true;
        QTest::newRow("female condoms") << 0x80002LL << true;
        QTest::newRow("syringe group") << 0x10000LL << false;
        QTest::newRow("medicine group") << 0x90000LL << false;
        QTest::newRow("mask") << 0xfff0000LL << false;
        QTest::newRow("service") << 0x40fffLL << false;
        QTest::newRow("community centre service") << 0x403ecLL << false;
        QTest::newRow("consultation") << 0x70fffLL << false;
    }
    void groupMembers() {
        QFETCH(qint64, code);
        QFETCH(bool, member);
        QCOMPARE(IsMaterialGroupMember(long(code)), member);
    }
};

QTEST_GUILESS_MAIN(TestMaterialKinds)
#include "test_material_kinds.moc"
