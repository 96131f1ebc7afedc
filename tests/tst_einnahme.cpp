// SPDX-License-Identifier: GPL-3.0-or-later
// The intake table, its row cache and the commands that change intake lines.
#include "einnahmedaten.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
QLineEdit *dosisFeld(const Welt &t, const char *zeit)
{
    return teil<QLineEdit>(t.w.get(), QStringLiteral("editZuordnen") + QLatin1String(zeit));
}
int zeilenImFile(const Welt &t)
{
    return t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt();
}
// A patient's positions in the file, in key order.
QString ordnung(const Welt &t, int pat)
{
    return t.positionen(pat).join(' ').remove(QRegularExpression(QStringLiteral("\\d+:| ")));
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
        const int vitd = t.packung(QStringLiteral("Vitamin D"), QStringLiteral("Dekristol"), QStringLiteral("20000 IE"),
                                   50);
        t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1); // 10 left
        t.einnahme(p, rami, heute.addDays(3), 30, 1, 0, 1, 0, 2);   // counted in the future
        t.einnahme(p, vitd, QString(), 30, 0.5, 0, 0, 0, 3);        // no counting day: no stock known
        t.einnahme(p, 999, heute, 12, 1, 0, 0, 0.25, 4);            // its package was deleted
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        t.patientWaehlen(QStringLiteral("Berg"));
        QStringList gesehen = spalte(z, 1) + spalte(z, 3);
        for (int i = 0; i < z->rowCount(); ++i) {
            t.zeileWaehlen(i);
            gesehen << t.detailsVerbunden();
        }
        QCOMPARE(
            gesehen,
            (QStringList{"Ramipril", "Ramipril", "Vitamin D", "", "1-0-1-0", "1-0-1-0", "1/2-0-0-0", "1-0-0-0.25",
                         "Ramipril|1|0|1|0|5 mg|30|06.12.2026|10", "Ramipril|1|0|1|0|5 mg|30|06.12.2026|36",
                         "Vitamin D|0.5|0|0|0|20000 IE|50|06.12.2026|ung\u00FCltig", "|1|0|0|0.25|||06.12.2026|12"}));

        // Nothing of the former patient stays on screen.
        t.patientWaehlen(QStringLiteral("Adler"));
        QCOMPARE(t.detailsVerbunden() + QString::number(z->rowCount()), QStringLiteral("||||||||0"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void eintragen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"));
        const int zopi = t.packung(QStringLiteral("Zopiclon"), QStringLiteral("Zopi"), QStringLiteral("7,5 mg"), 20);
        for (int i = 1; i <= 3; ++i)
            t.einnahme(p, a, heute, 30, 1, 0, 0, 0, i);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        auto *datum = teil<QDateEdit>(t.w.get(), QStringLiteral("datumErsteinnahme"));
        auto *hilfe = teil<QCheckBox>(t.w.get(), QStringLiteral("auswahlHilfsmittel"));

        // A dose that is no number or negative: the field is named, nothing
        // is stored, what was typed stays.
        t.packungWaehlen(QStringLiteral("Zopi"));
        tippen(dosisFeld(t, "Mittag"), QStringLiteral("3"));
        for (const auto &[zeit, eingabe] : {std::pair{"Abend", "1/2"}, {"Morgen", "eine"}, {"Nacht", "-1"}}) {
            tippen(dosisFeld(t, zeit), QString::fromLatin1(eingabe));
            t.knopf("knopfEintragen");
            QVERIFY2(t.env.meldungen.last().contains(QStringLiteral("\u201E%1\u201C").arg(zeit)), zeit);
            QCOMPARE(dosisFeld(t, zeit)->text() + dosisFeld(t, "Mittag")->text() + t.text("anzeigeZuordnenSorte"),
                     QLatin1String(eingabe) + QStringLiteral("3Zopi"));
            tippen(dosisFeld(t, zeit), QString());
        }
        QCOMPARE(int(t.env.meldungen.size()) * 10 + zeilenImFile(t), 33);

        // Comma and blanks are read, an empty field is 0. The fourth line:
        // last, current and shown, one package counted on the first-intake day.
        tippen(dosisFeld(t, "Morgen"), QStringLiteral("1"));
        tippen(dosisFeld(t, "Mittag"), QString());
        tippen(dosisFeld(t, "Abend"), QStringLiteral(" 0,5"));
        datum->setDate(heute.addDays(-5));
        klicken(hilfe);
        t.knopf("knopfEintragen");
        QCOMPARE(Datei::zeilen(t.f,
                               QStringLiteral("SELECT pat_id, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung "
                                              "FROM einnahme WHERE med_id = ?"),
                               {zopi}),
                 (QList<QVariantList>{{p, QStringLiteral("2026-12-01"), 20.0, 1.0, 0.0, 0.5, 0.0, 1, 4}}));
        QCOMPARE(QString::number(z->currentRow()) + ' ' + spalte(z, 3).at(3) + ' ' + t.detailsVerbunden(),
                 QStringLiteral("3 1-0-1/2-0 Zopiclon|1|0|0.5|0|7,5 mg|20|06.12.2026|12.5"));

        // The group is reset, the package choice included, so a second
        // "Eintragen" cannot add a line without stock.
        QCOMPARE(t.text("anzeigeZuordnenSorte") + t.text("anzeigeZuordnenPackung") + dosisFeld(t, "Abend")->text(),
                 QString());
        QVERIFY(datum->date() == heute && !hilfe->isChecked());
        t.knopf("knopfEintragen");
        QCOMPARE(zeilenImFile(t), 4);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Packung")));

        // Without any patient there is no one to assign to.
        Welt leer;
        leer.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"));
        leer.starten();
        leer.packungWaehlen(QStringLiteral("A-Tabs"));
        leer.knopf("knopfEintragen");
        QCOMPARE(zeilenImFile(leer), 0);
        QVERIFY(leer.env.meldungen.value(0).contains(QStringLiteral("Patient")));
    }

    // Removing, moving and assigning keep every patient's positions apart and
    // in order, gaps included.
    void positionen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int r = t.patient(QStringLiteral("Zorn"));
        const int einzeln = t.patient(QStringLiteral("Zuletzt"));
        for (int i = 1; i <= 5; ++i) // packages A..E, keys 1..5
            t.einnahme(p, t.packung(QString(QChar('@' + i)), QString(QChar('@' + i)) + QStringLiteral("-Tabs")), heute,
                       30, 1, 0, 0, 0, i);
        for (int pos : {1, 3, 5})
            t.einnahme(r, pos, heute, 30, 1, 0, 0, 0, pos);
        t.einnahme(einzeln, 1, heute, 30, 1, 0, 0, 0, 1);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        // Names, positions and current row as shown after the button was used on a line.
        auto nach = [&](int zeile, const char *knopf) {
            if (zeile >= 0)
                t.zeileWaehlen(zeile);
            t.knopf(knopf);
            return QStringList{spalte(z, 1).join(""), spalte(z, 4).join(""), QString::number(z->currentRow())}.join(
                ' ');
        };

        t.knopf("knopfZuordnungHoch"); // without a current line: nothing
        QCOMPARE(nach(-1, "knopfZuordnungLoeschen"), QStringLiteral("ABCDE 12345 -1"));
        // The third up takes 2, the second 3; the moved line stays current.
        QCOMPARE(nach(2, "knopfZuordnungHoch"), QStringLiteral("ACBDE 12345 1"));
        QCOMPARE(ordnung(t, p) + ' ' + spalte(t.tabelle("tabelleVerordnungsplan"), 0).join(""),
                 QStringLiteral("13245 ACBDE"));
        QCOMPARE(nach(1, "knopfZuordnungRunter"), QStringLiteral("ABCDE 12345 2"));
        QCOMPARE(nach(0, "knopfZuordnungHoch"), QStringLiteral("ABCDE 12345 0"));
        QCOMPARE(nach(4, "knopfZuordnungRunter"), QStringLiteral("ABCDE 12345 4"));
        // Removing the second: the others close up, the first is shown.
        QCOMPARE(nach(1, "knopfZuordnungLoeschen"), QStringLiteral("ACDE 1234 0"));
        QCOMPARE(ordnung(t, p) + ' ' + t.text("detailMedizin"), QStringLiteral("1234 A"));

        // Positions 1, 3, 5: a plain fill keeps them, a move exchanges with
        // the line shown next to it across the gap (up as well as down), an
        // assignment puts the new line last, not into a gap, and renumbers.
        // Berg's stay.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(nach(1, "knopfZuordnungHoch"), QStringLiteral("CAE 135 0"));
        QCOMPARE(nach(1, "knopfZuordnungRunter"), QStringLiteral("CEA 135 2"));
        t.packungWaehlen(QStringLiteral("B-Tabs"));
        QCOMPARE(nach(-1, "knopfEintragen"), QStringLiteral("CEAB 1234 3"));
        QCOMPARE(ordnung(t, r) + ' ' + ordnung(t, p), QStringLiteral("3124 1234"));

        // Removing the only line leaves everything empty.
        t.patientWaehlen(QStringLiteral("Zuletzt"));
        QCOMPARE(nach(0, "knopfZuordnungLoeschen"), QStringLiteral("  -1"));
        QCOMPARE(ordnung(t, einzeln) + t.detailsVerbunden() +
                     QString::number(t.tabelle("tabelleUebersicht")->rowCount()),
                 QStringLiteral("||||||||0"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A failing step leaves the positions as they were, never half done.
    void allesOderNichts()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        for (int i = 1; i <= 4; ++i)
            t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("x")), heute, 30, 1, 0, 0, 0, i);
        const QString sperre = QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE OF ordnung ON einnahme WHEN %1 "
                                              "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        Datei::ausfuehren(t.f, sperre.arg(QStringLiteral("OLD.ordnung = 4 AND NEW.ordnung = 3")));
        t.starten();

        // The renumbering after a removal fails at its last line.
        t.zeileWaehlen(1);
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(ordnung(t, p) + ' ' + spalte(t.tabelle("tabelleZuordnung"), 4).join(""), QStringLiteral("134 134"));

        // The exchange fails at its second write: the first is undone.
        Datei::ausfuehren(t.f, QStringLiteral("DROP TRIGGER sperre"));
        Datei::ausfuehren(t.f, sperre.arg(QStringLiteral("OLD.ordnung = 4 AND NEW.ordnung = 3")));
        t.zeileWaehlen(2);
        t.knopf("knopfZuordnungHoch");
        QCOMPARE(ordnung(t, p) + ' ' + QString::number(t.tabelle("tabelleZuordnung")->currentRow()),
                 QStringLiteral("134 2"));
        QCOMPARE(int(t.env.meldungen.size()), 2);
    }

    // Two lines on one stored position (written by another program) are
    // still told apart: a move exchanges the two lines shown and leaves
    // every line on a position of its own.
    void gleichePosition()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        for (const char *name : {"A", "B", "C"})
            t.einnahme(p, t.packung(QLatin1String(name), QLatin1String(name) + QStringLiteral("-Tabs")), heute, 30, 1,
                       0, 0, 0, QLatin1String(name) == QLatin1String("C") ? 2 : 1);
        t.starten();
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        QCOMPARE(spalte(z, 1).join(""), QStringLiteral("ABC"));

        t.zeileWaehlen(0);
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(z, 1).join(""), QStringLiteral("BAC"));
        QCOMPARE(ordnung(t, p), QStringLiteral("213"));
        QCOMPARE(z->currentRow(), 1);

        // Lines reordered elsewhere since they were shown: said, nothing moved.
        Datei::ausfuehren(t.f, QStringLiteral("UPDATE einnahme SET ordnung = 5 WHERE id = 1"));
        t.knopf("knopfZuordnungRunter");
        QCOMPARE(ordnung(t, p), QStringLiteral("513"));
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(spalte(z, 1).join(""), QStringLiteral("BCA"));
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
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 54); // six aids
        QCOMPARE(int(spalte(u, 2).removeDuplicates()), 59);            // all 60 hold 100
        t.zeileWaehlen(59);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("100"));

        // Nothing of the long list is left for a patient with one line.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(spalte(u, 2) + spalte(t.tabelle("tabelleVerordnungsplan"), 0), (QStringList{"7", "Mittel"}));
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(EinnahmeTest)
#include "tst_einnahme.moc"
