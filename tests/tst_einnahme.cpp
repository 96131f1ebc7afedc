// The intake table, its row cache and the commands that change intake lines.
#include "einnahmedaten.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

namespace {
QLineEdit *dosisFeld(const Welt &t, const QString &zeit)
{
    return teil<QLineEdit>(t.w.get(), QStringLiteral("editZuordnen") + zeit);
}
} // namespace

class EinnahmeTest : public QObject
{
    Q_OBJECT
private slots:
    void tabelleUndBestand()
    {
        Welt t;
        t.patient(QStringLiteral("Adler")); // listed first, no lines
        const int p = t.patient(QStringLiteral("Berg"));
        const int rami = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int vitd = t.packung(QStringLiteral("Vitamin D"), QStringLiteral("Dekristol"), QStringLiteral("20000 IE"), 50);
        t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);   // 10 left, 5 days
        t.einnahme(p, rami, heute.addDays(3), 30, 1, 0, 1, 0, 2);     // counted in the future
        t.einnahme(p, vitd, QString(), 30, 0.5, 0, 0, 0, 3);          // no counting day
        t.einnahme(p, 999, heute, 12, 1, 0, 0, 0.25, 4);              // its package was deleted
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        QCOMPARE(z->rowCount(), 0);
        QCOMPARE(z->horizontalHeaderItem(3)->text(), QStringLiteral("Einnahme"));
        QCOMPARE(t.tabelle("tabelleUebersicht")->rowCount(), 0);

        t.patientWaehlen(QStringLiteral("Berg"));
        QCOMPARE(spalte(z, 1), (QStringList{"Ramipril", "Ramipril", "Vitamin D", ""}));
        QCOMPARE(spalte(z, 3), (QStringList{"1-0-1-0", "1-0-1-0", "1/2-0-0-0", "1-0-0-0.25"}));
        QCOMPARE(spalte(z, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(z->item(0, 1)->toolTip(), QStringLiteral("Ramilich 5"));
        QCOMPARE(z->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(z->item(0, 3)->textAlignment(), int(Qt::AlignCenter));
        QVERIFY(z->isColumnHidden(0) && z->isColumnHidden(4) && !z->isColumnHidden(3));
        QCOMPARE(z->rowHeight(0), 20);
        QCOMPARE(z->currentRow(), -1);

        t.zeileWaehlen(0);
        QCOMPARE(t.details(), QStringLiteral("Ramipril|1|0|1|0|5 mg|30|06.12.2026|10"));
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), QStringLiteral("reicht noch 5 Tage"));
        t.zeileWaehlen(1);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("36"));
        t.zeileWaehlen(2);
        QCOMPARE(t.details(), QStringLiteral("Vitamin D|0.5|0|0|0|20000 IE|50|06.12.2026|30"));
        t.zeileWaehlen(3);
        QCOMPARE(t.details(), QStringLiteral("|1|0|0|0.25|||06.12.2026|12"));

        t.patientWaehlen(QStringLiteral("Adler"));
        QCOMPARE(z->rowCount(), 0);
        QCOMPARE(t.details(), QStringLiteral("||||||||"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void eintragen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"));
        const int zopi = t.packung(QStringLiteral("Zopiclon"), QStringLiteral("Zopi"), QStringLiteral("7,5 mg"), 20);
        const int nadeln = t.packung(QStringLiteral("Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        for (int i = 1; i <= 3; ++i)
            t.einnahme(p, a, heute, 30, 1, 0, 0, 0, i);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        auto *datum = teil<QDateEdit>(t.w.get(), QStringLiteral("datumErsteinnahme"));
        auto *hilfe = teil<QCheckBox>(t.w.get(), QStringLiteral("auswahlHilfsmittel"));

        t.packungWaehlen(QStringLiteral("Zopi"));
        tippen(dosisFeld(t, QStringLiteral("Morgen")), QStringLiteral("1"));
        tippen(dosisFeld(t, QStringLiteral("Abend")), QStringLiteral("0,5"));
        tippen(dosisFeld(t, QStringLiteral("Nacht")), QString());
        datum->setDate(heute.addDays(-5));
        t.knopf("knopfEintragen");

        // The fourth line: last, current and shown, one package counted on
        // the first-intake day.
        QCOMPARE(Datei::zeilen(t.f, QStringLiteral("SELECT pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, "
                                                   "ordnung FROM einnahme WHERE med_id = ?"),
                               {zopi}),
                 (QList<QVariantList>{{p, zopi, QStringLiteral("2026-12-01"), 20.0, 1.0, 0.0, 0.5, 0.0, 0, 4}}));
        QCOMPARE(z->currentRow(), 3);
        QCOMPARE(spalte(z, 3).at(3), QStringLiteral("1-0-1/2-0"));
        QCOMPARE(t.details(), QStringLiteral("Zopiclon|1|0|0.5|0|7,5 mg|20|06.12.2026|12.5"));

        // The group is reset, the package choice included, so a second
        // "Eintragen" cannot add a line without stock.
        QCOMPARE(t.text("anzeigeZuordnenSorte") + t.text("anzeigeZuordnenPackung") + dosisFeld(t, QStringLiteral("Morgen"))->text(),
                 QString());
        QCOMPARE(datum->date(), heute);
        QCOMPARE(t.tabelle("tabelleSortenwahl")->currentRow(), -1);
        t.knopf("knopfEintragen");
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 4);
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Packung")));

        // An aid keeps its flag and stays out of the plan.
        t.packungWaehlen(QStringLiteral("Nadeln 4 mm"));
        klicken(hilfe);
        t.knopf("knopfEintragen");
        QCOMPARE(t.wert(QStringLiteral("SELECT hilfe FROM einnahme WHERE med_id = ?"), {nadeln}).toInt(), 1);
        QVERIFY(!hilfe->isChecked());
        QCOMPARE(z->rowCount(), 5);
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 4);
    }

    void eintragenOhnePatient()
    {
        Welt t;
        t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"));
        t.starten();
        t.packungWaehlen(QStringLiteral("A-Tabs"));
        t.knopf("knopfEintragen");
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.first().contains(QStringLiteral("Patient")));
    }

    void falscheDosen_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<QString>("eingabe");
        QTest::newRow("Bruch") << "Abend" << "1/2";
        QTest::newRow("Wort") << "Morgen" << "eine";
        QTest::newRow("negativ") << "Nacht" << "-1";
    }
    void falscheDosen()
    {
        QFETCH(QString, zeit);
        QFETCH(QString, eingabe);
        Welt t;
        t.patient(QStringLiteral("Berg"));
        t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"));
        t.starten();
        t.packungWaehlen(QStringLiteral("A-Tabs"));
        tippen(dosisFeld(t, QStringLiteral("Mittag")), QStringLiteral("3"));
        tippen(dosisFeld(t, zeit), eingabe);
        t.knopf("knopfEintragen");

        // The field is named, nothing is stored, what was typed stays.
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY2(t.env.meldungen.first().contains(QStringLiteral("\u201E%1\u201C").arg(zeit)), qPrintable(t.env.meldungen.first()));
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(dosisFeld(t, zeit)->text(), eingabe);
        QCOMPARE(dosisFeld(t, QStringLiteral("Mittag"))->text(), QStringLiteral("3"));
        QCOMPARE(t.text("anzeigeZuordnenSorte"), QStringLiteral("A-Tabs"));
    }

    void loeschen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int q = t.patient(QStringLiteral("Zorn"));
        QVector<int> e;
        const QPair<const char *, int> zeilen[] = {{"A", 1}, {"B", 3}, {"C", 4}};
        for (const auto &z : zeilen)
            e << t.einnahme(p, t.packung(QString::fromLatin1(z.first), QStringLiteral("x")), heute, 30, 1, 0, 0, 0, z.second);
        t.einnahme(q, 1, heute, 30, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        t.knopf("knopfZuordnungLoeschen"); // no current line: nothing
        QCOMPARE(int(t.positionen(p).size()), 3);

        // The second of three: the others close up without a gap, the first is shown.
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(t.positionen(p), (QStringList{QStringLiteral("%1:1").arg(e[0]), QStringLiteral("%1:2").arg(e[2])}));
        QCOMPARE(spalte(z, 1), (QStringList{"A", "C"}));
        QCOMPARE(z->currentRow(), 0);
        QCOMPARE(t.text("detailMedizin"), QStringLiteral("A"));
        QCOMPARE(spalte(t.tabelle("tabelleUebersicht"), 0), (QStringList{"A", "C"}));

        // The only line: everything empty.
        t.patientWaehlen(QStringLiteral("Zorn"));
        t.zeileWaehlen(0);
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(t.positionen(q), QStringList());
        QCOMPARE(z->rowCount() + t.tabelle("tabelleUebersicht")->rowCount(), 0);
        QCOMPARE(t.details(), QStringLiteral("||||||||"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void positionen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int q = t.patient(QStringLiteral("Mohn"));
        const int r = t.patient(QStringLiteral("Zorn"));
        QVector<int> s, e;
        for (const char *n : {"A", "B", "C", "D"})
            s << t.packung(QString::fromLatin1(n), QString::fromLatin1(n) + QStringLiteral("-Tabs"));
        for (int i = 0; i < 4; ++i)
            e << t.einnahme(p, s[i], heute, 30, 1, 0, 0, 0, i + 1);
        for (int i = 0; i < 3; ++i)
            t.einnahme(q, s[i], heute, 30, 1, 0, 0, 0, i + 1);
        for (int pos : {1, 3, 4})
            t.einnahme(r, s[pos - 1], heute, 30, 1, 0, 0, 0, pos);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        const QStringList andere = t.positionen(q);

        t.knopf("knopfZuordnungHoch"); // no current line: nothing
        QCOMPARE(spalte(z, 1), (QStringList{"A", "B", "C", "D"}));

        // The third of four up: it takes 2, the second takes 3.
        t.zeileWaehlen(2);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(z, 1), (QStringList{"A", "C", "B", "D"}));
        QCOMPARE(t.positionen(p), (QStringList{QStringLiteral("%1:1").arg(e[0]), QStringLiteral("%1:3").arg(e[1]),
                                               QStringLiteral("%1:2").arg(e[2]), QStringLiteral("%1:4").arg(e[3])}));
        QCOMPARE(z->currentRow(), 1);
        QCOMPARE(spalte(t.tabelle("tabelleVerordnungsplan"), 0), (QStringList{"A", "C", "B", "D"}));
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(z, 1), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(z->currentRow(), 2);

        // The first does not go up, the last not down; both stay current.
        t.zeileWaehlen(0);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(z->currentRow(), 0);
        t.zeileWaehlen(3);
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(z->currentRow(), 3);
        QCOMPARE(spalte(z, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(t.positionen(q), andere);

        // Positions 1, 3, 4: a plain fill keeps them, a move exchanges with
        // the line shown next to it across the gap (down as well as up), an
        // assignment renumbers and puts the new line last.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(spalte(z, 4), (QStringList{"1", "3", "4"}));
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(z, 1), (QStringList{"C", "A", "D"}));
        QCOMPARE(spalte(z, 4), (QStringList{"1", "3", "4"}));
        QCOMPARE(z->currentRow(), 0);
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(z, 1), (QStringList{"C", "D", "A"}));
        QCOMPARE(z->currentRow(), 2);
        t.packungWaehlen(QStringLiteral("B-Tabs"));
        t.knopf("knopfEintragen");
        QCOMPARE(spalte(z, 1), (QStringList{"C", "D", "A", "B"}));
        QCOMPARE(spalte(z, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(t.wert(QStringLiteral("SELECT group_concat(ordnung) FROM (SELECT ordnung FROM einnahme WHERE pat_id = ? "
                                       "ORDER BY id)"),
                        {r})
                     .toString(),
                 QStringLiteral("3,1,2,4"));
        QCOMPARE(t.positionen(q), andere);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A failing step leaves the positions as they were, never half done.
    void allesOderNichts()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        QVector<int> e;
        for (const char *n : {"A", "B", "C", "D"})
            e << t.einnahme(p, t.packung(QString::fromLatin1(n), QStringLiteral("x")), heute, 30, 1, 0, 0, 0, e.size() + 1);
        const QString sperre = QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE OF ordnung ON einnahme WHEN %1 "
                                              "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        Datei::ausfuehren(t.f, sperre.arg(QStringLiteral("NEW.id = %1 AND NEW.ordnung = 3").arg(e[3])));
        t.starten();
        const QStringList vorher{QStringLiteral("%1:1").arg(e[0]), QStringLiteral("%1:3").arg(e[2]),
                                 QStringLiteral("%1:4").arg(e[3])};

        // The renumbering after a removal fails at its last line.
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QCOMPARE(t.positionen(p), vorher);
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 4), (QStringList{"1", "3", "4"}));

        // The exchange fails at its third step: nobody is left on 9999.
        Datei::ausfuehren(t.f, QStringLiteral("DROP TRIGGER sperre"));
        Datei::ausfuehren(t.f, sperre.arg(QStringLiteral("OLD.ordnung = 9999")));
        t.zeileWaehlen(2);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(int(t.env.meldungen.size()), 2);
        QCOMPARE(t.positionen(p), vorher);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 2);
    }

    // The cache has an entry for every line, however many there are.
    void sechzigZeilen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int q = t.patient(QStringLiteral("Zorn"));
        const int s = t.packung(QStringLiteral("Mittel"), QStringLiteral("Mittel-Tabs"), QStringLiteral("1 mg"), 50);
        for (int i = 1; i <= 60; ++i)
            t.einnahme(p, s, heute.addDays(-i), 100 + i, 1, 0, 0, 0, i, i % 10 == 0);
        t.einnahme(q, s, heute, 7, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");

        QCOMPARE(t.tabelle("tabelleZuordnung")->rowCount(), 60);
        QCOMPARE(u->rowCount(), 60);
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 54); // six aids
        QCOMPARE(int(spalte(u, 2).removeDuplicates()), 59);
        QCOMPARE(spalte(u, 2).first(), QStringLiteral("100"));
        QVERIFY(balken(u, 59));
        t.zeileWaehlen(59);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("100"));

        t.packungWaehlen(QStringLiteral("Mittel-Tabs"));
        t.knopf("knopfEintragen");
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 60);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("50"));
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(u, 2).mid(58), (QStringList{"100", "50", "100"}));

        // Nothing of the long list is left for a patient with one line.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(spalte(u, 2), QStringList{QStringLiteral("7")});
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 1);
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(EinnahmeTest)
#include "tst_einnahme.moc"
