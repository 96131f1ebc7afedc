// SPDX-License-Identifier: GPL-3.0-or-later
// The intake table, its row cache and the commands that change intake lines.
#include "fensterhilfe.h"

namespace {
// A patient's stored positions, in key order.
QString ordnung(const Welt &t, int pat)
{
    return t
        .wert("SELECT group_concat(ordnung, '') FROM (SELECT ordnung FROM einnahme WHERE pat_id = ? ORDER BY id) AS "
              "folge",
              {pat})
        .toString();
}
// A patient, the line chosen (-1: none) and the button then clicked; the
// names and positions shown afterwards, the current row, and the patient's
// positions in the file in key order.
struct Zug {
    const char *name, *patient;
    int zeile;
    const char *knopf, *namen, *gezeigt;
    int aktuell;
    const char *gespeichert;
};

} // namespace

Q_DECLARE_METATYPE(Zug)

class EinnahmeTest : public QObject
{
    Q_OBJECT
private slots:
    void tabelleUndBestand()
    {
        Welt t;
        t.patient("Adler"); // listed first, no lines
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5");
        const int vitd = t.packung("Vitamin D", "Dekristol", "20000 IE", 50);
        t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1); // 10 left
        t.einnahme(p, rami, heute.addDays(3), 30, 1, 0, 1, 0, 2);   // counted in the future
        t.einnahme(p, vitd, QString(), 30, 0.5, 0, 0, 0, 3);        // no counting day: no stock known
        t.einnahme(p, 999, heute, 12, 1, 0, 0, 0.25, 4);            // its package was deleted
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        t.patientWaehlen("Berg");
        QCOMPARE(spalte(z, 1), (QStringList{"Ramipril", "Ramipril", "Vitamin D", ""}));
        QCOMPARE(spalte(z, 3), (QStringList{"1-0-1-0", "1-0-1-0", "1/2-0-0-0", "1-0-0-0.25"}));
        const QStringList details[] = {
            {"Ramipril", "1", "0", "1", "0", "5 mg", "30", "06.12.2026", "10"},
            {"Ramipril", "1", "0", "1", "0", "5 mg", "30", "06.12.2026", "36"},
            {"Vitamin D", "0.5", "0", "0", "0", "20000 IE", "50", "06.12.2026", "ung\u00FCltig"},
            {"", "1", "0", "0", "0.25", "", "", "06.12.2026", "12"}};
        for (int i = 0; i < 4; ++i) {
            t.zeileWaehlen(i);
            QCOMPARE(t.details(), details[i]);
        }

        // Nothing of the former patient stays on screen.
        t.patientWaehlen("Adler");
        QCOMPARE(t.details(), lauter(9));
        QCOMPARE(z->rowCount(), 0);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // The new line is last, current and shown, with one package counted on
    // the first-intake day; the group is reset, the package choice included,
    // so that a second "Eintragen" cannot add a line without stock.
    void eintragen()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int a = t.packung("A", "A-Tabs");
        t.packung("Zopiclon", "Zopi", "7,5 mg", 20);
        for (int i = 1; i <= 3; ++i)
            t.einnahme(p, a, heute, 30, 1, 0, 0, 0, i);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        auto *datum = teil<QDateEdit>(t.w.get(), "datumErsteinnahme");
        auto *hilfe = teil<QCheckBox>(t.w.get(), "auswahlHilfsmittel");

        t.packungWaehlen("Zopi");
        tippe(t, "editZuordnenMorgen", "1");
        tippe(t, "editZuordnenAbend", "0,5");
        datum->setDate(heute.addDays(-5));
        klicken(hilfe);
        t.knopf("knopfEintragen");
        QCOMPARE(zeile(t, 4, "pat_id, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung"),
                 (QStringList{QString::number(p), "2026-12-01", "20", "1", "0", "0.5", "0", "1", "4"}));
        QCOMPARE(z->currentRow(), 3);
        QCOMPARE(z->item(3, 3)->text(), "1-0-1/2-0");
        QCOMPARE(t.details(), (QStringList{"Zopiclon", "1", "0", "0.5", "0", "7,5 mg", "20", "06.12.2026", "12.5"}));

        QCOMPARE(t.text("anzeigeZuordnenSorte"), QString());
        QCOMPARE(t.text("anzeigeZuordnenPackung"), QString());
        QCOMPARE(feld(t, "editZuordnenAbend"), QString());
        QCOMPARE(datum->date(), heute);
        QVERIFY(!hilfe->isChecked());
        t.knopf("knopfEintragen");
        QCOMPARE(t.anzahl("einnahme"), 4);
        QVERIFY2(t.env.meldungen.value(0).contains("Packung"), qPrintable(t.env.meldungen.value(0)));
    }

    void ohnePatientenKeineZeile()
    {
        Welt t;
        t.packung("A", "A-Tabs");
        t.starten();
        t.packungWaehlen("A-Tabs");
        t.knopf("knopfEintragen");
        QCOMPARE(t.anzahl("einnahme"), 0);
        QVERIFY2(t.env.meldungen.value(0).contains("Patient"), qPrintable(t.env.meldungen.value(0)));
    }

    // Removing, moving and assigning keep every patient's positions apart and
    // in order, gaps included: Berg holds A to E at 1 to 5, Zorn A, C and E at
    // 1, 3 and 5, Zuletzt one line. A move exchanges with the line shown next
    // to it, across a gap too, and the moved line stays current; a removal
    // closes up; an assignment puts the new line last and renumbers.
    void positionen_data()
    {
        faelle<Zug>({{"hoch ohne Zeile", "Berg", -1, "Hoch", "ABCDE", "12345", -1, "12345"},
                     {"entfernen ohne Zeile", "Berg", -1, "Loeschen", "ABCDE", "12345", -1, "12345"},
                     {"dritte hoch", "Berg", 2, "Hoch", "ACBDE", "12345", 1, "13245"},
                     {"zweite runter", "Berg", 1, "Runter", "ACBDE", "12345", 2, "13245"},
                     {"erste hoch", "Berg", 0, "Hoch", "ABCDE", "12345", 0, "12345"},
                     {"letzte runter", "Berg", 4, "Runter", "ABCDE", "12345", 4, "12345"},
                     {"zweite entfernen", "Berg", 1, "Loeschen", "ACDE", "1234", 0, "1234"},
                     {"hoch ueber die Luecke", "Zorn", 1, "Hoch", "CAE", "135", 0, "315"},
                     {"runter ueber die Luecke", "Zorn", 1, "Runter", "AEC", "135", 2, "153"},
                     {"eintragen nach der Luecke", "Zorn", -1, "Eintragen", "ACEB", "1234", 3, "1234"},
                     {"einzige entfernen", "Zuletzt", 0, "Loeschen", "", "", -1, ""}});
    }
    void positionen()
    {
        QFETCH(Zug, fall);
        Welt t;
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        const int zuletzt = t.patient("Zuletzt");
        for (int i = 1; i <= 5; ++i) // packages A..E, keys 1..5
            t.einnahme(berg, t.packung(QString(QChar('@' + i)), QString(QChar('@' + i)) + "-Tabs"), heute, 30, 1, 0, 0,
                       0, i);
        for (int pos : {1, 3, 5})
            t.einnahme(zorn, pos, heute, 30, 1, 0, 0, 0, pos);
        t.einnahme(zuletzt, 1, heute, 30, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        const QString knopf = fall.knopf, namen = fall.namen;
        t.patientWaehlen(fall.patient);
        if (fall.zeile >= 0)
            t.zeileWaehlen(fall.zeile);
        if (knopf == "Eintragen")
            t.packungWaehlen("B-Tabs");
        t.knopf(qPrintable(knopf == "Eintragen" ? "knopfEintragen" : "knopfZuordnung" + knopf));

        QCOMPARE(spalte(z, 1).join(""), namen);
        QCOMPARE(spalte(z, 4).join(""), fall.gezeigt);
        QCOMPARE(z->currentRow(), fall.aktuell);
        QCOMPARE(ordnung(t, t.wert("SELECT id FROM patient WHERE lastname = ?", {fall.patient}).toInt()),
                 fall.gespeichert);
        QCOMPARE(spalte(t.tabelle("tabelleVerordnungsplan"), 0).join(""), namen);
        QCOMPARE(t.text("detailMedizin"), fall.aktuell >= 0 ? namen.mid(fall.aktuell, 1) : "");
        QCOMPARE(t.tabelle("tabelleUebersicht")->rowCount(), namen.size());
        if (fall.patient != QLatin1String("Berg"))
            QCOMPARE(ordnung(t, berg), "12345");
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A failing step leaves the positions as they were, never half done.
    void allesOderNichts()
    {
        Welt t;
        const int p = t.patient("Berg");
        for (int i = 1; i <= 4; ++i)
            t.einnahme(p, t.packung("A", "x"), heute, 30, 1, 0, 0, 0, i);
        Datei::ausfuehren(t.f, "CREATE TRIGGER sperre BEFORE UPDATE OF ordnung ON einnahme WHEN OLD.ordnung = 4 AND "
                               "NEW.ordnung = 3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        // The renumbering after a removal fails at its last line.
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(ordnung(t, p), "134");
        QCOMPARE(spalte(z, 4).join(""), "134");
        QCOMPARE(t.env.meldungen.size(), 1);

        // The exchange fails at its second write: the first is undone.
        t.zeileWaehlen(2);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(ordnung(t, p), "134");
        QCOMPARE(z->currentRow(), 2);
        QCOMPARE(t.env.meldungen.size(), 2);
    }

    // Two lines on one stored position (written by another program) are
    // still told apart: a move exchanges the two lines shown and leaves
    // every line on a position of its own.
    void gleichePosition()
    {
        Welt t;
        const int p = t.patient("Berg");
        for (const char *name : {"A", "B", "C"})
            t.einnahme(p, t.packung(name, QString(name) + "-Tabs"), heute, 30, 1, 0, 0, 0, *name == 'C' ? 2 : 1);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        QCOMPARE(spalte(z, 1).join(""), "ABC");

        t.zeileWaehlen(0);
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(z, 1).join(""), "BAC");
        QCOMPARE(ordnung(t, p), "213");
        QCOMPARE(z->currentRow(), 1);

        // Lines reordered elsewhere since they were shown: said, nothing moved.
        Datei::ausfuehren(t.f, "UPDATE einnahme SET ordnung = 5 WHERE id = 1");
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(ordnung(t, p), "513");
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(spalte(z, 1).join(""), "BCA");
    }

    // The cache has an entry for every line, however many there are.
    void sechzigZeilen()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int q = t.patient("Zorn");
        const int s = t.packung("Mittel", "Mittel-Tabs", "1 mg", 50);
        for (int i = 1; i <= 60; ++i)
            t.einnahme(p, s, heute.addDays(-i), 100 + i, 1, 0, 0, 0, i, i % 10 == 0);
        t.einnahme(q, s, heute, 7, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        QTableWidget *plan = t.tabelle("tabelleVerordnungsplan");

        QCOMPARE(t.tabelle("tabelleZuordnung")->rowCount(), 60);
        QCOMPARE(plan->rowCount(), 54); // six aids
        QCOMPARE(spalte(u, 2), lauter(60, "100"));
        t.zeileWaehlen(59);
        QCOMPARE(t.text("detailBestand"), "100");

        // Nothing of the long list is left for a patient with one line.
        t.patientWaehlen("Zorn");
        QCOMPARE(spalte(u, 2), QStringList{"7"});
        QCOMPARE(spalte(plan, 0), QStringList{"Mittel"});
        QCOMPARE(t.env.meldungen, QStringList());
    }
};

QTEST_MAIN(EinnahmeTest)
#include "tst_einnahme.moc"
