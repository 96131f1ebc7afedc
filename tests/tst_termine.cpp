// SPDX-License-Identifier: GPL-3.0-or-later
// Appointments: the list, the next family-doctor visit that marks a stock
// running out before it red, and the windows that enter and change them.
#include "fensterhilfe.h"

namespace {

// A stored date: days from today, "NULL", "#" before a number, or any other text.
QVariant datum(const QString &s)
{
    bool tage = false;
    const int n = s.toInt(&tage);
    return s == "NULL"         ? QVariant()
           : s.startsWith('#') ? QVariant(s.mid(1).toLongLong())
           : tage              ? QVariant(heute.addDays(n))
                               : QVariant(s);
}

// What the window "Neu" or "Aendern" offers: date, the doctor chosen and the name.
QStringList angebot(QDialog *d, const QString &art)
{
    const bool hausarzt = teil<QRadioButton>(d, "termin" + art + "Hausarzt")->isChecked();
    const bool facharzt = teil<QRadioButton>(d, "termin" + art + "Facharzt")->isChecked();
    return {texte(d, {"termin" + art + "Datum"}).value(0),
            hausarzt   ? "Hausarzt"
            : facharzt ? "Facharzt"
                       : "",
            texte(d, {"termin" + art + "Name"}).value(0)};
}

// Chooses a doctor as a user would: a click on the label, not beside it; a
// specialist with the name typed. Then sets the day.
void arzt(QDialog *d, const QString &art, const QString &name, const QDate &tag)
{
    auto *wahl = teil<QRadioButton>(d, "termin" + art + (name.isNull() ? "Hausarzt" : "Facharzt"));
    QTest::mouseClick(wahl, Qt::LeftButton, Qt::NoModifier, QPoint(10, wahl->height() / 2));
    if (!name.isNull())
        tippen(teil<QLineEdit>(d, "termin" + art + "Name"), name);
    teil<QDateEdit>(d, "termin" + art + "Datum")->setDate(tag);
}

QString termine(const Welt &t)
{
    return t.wert("SELECT group_concat(arzt || ' ' || arzt_date, ', ') FROM termine WHERE pata_id = 1").toString();
}

// Berg's appointments, "doctor|date" (see datum; "Zorn:" first for Zorn's),
// ";" between them, the stock of the line Berg takes one a day of, and the mark.
struct Hausarzt {
    const char *name, *termine;
    int stand;
    const char *marke;
};

} // namespace

Q_DECLARE_METATYPE(Hausarzt)

class TermineTest : public QObject
{
    Q_OBJECT
private slots:
    // Berg's stock lasts until the day before today plus stand; it is red
    // when it ends before the next family-doctor visit. Only the exact
    // "Hausarzt" counts, today or later, and only Berg's own; a number or
    // NULL, which the database sorts before every date, counts neither.
    void naechsterHausarzt_data()
    {
        faelle<Hausarzt>({{"endet vor dem Termin", "Hausarzt|8", 8, "rot"},
                          {"der naechste zaehlt", "Hausarzt|30;Hausarzt|8", 9, "gelb"},
                          {"heute zaehlt", "Hausarzt|0", 0, "rot"},
                          {"vergangen", "Hausarzt|-1", 0, "gelb"},
                          {"anderer Arzt", "Dr. Kunz|2", 0, "gelb"},
                          {"andere Schreibweise", "hausarzt|4;Hausarzt |3", 0, "gelb"},
                          {"anderer Patient", "Zorn:Hausarzt|1", 0, "gelb"},
                          {"Zahl und NULL", "Hausarzt|#20261210;Hausarzt|NULL;Hausarzt|9", 8, "rot"},
                          {"nur Zahl, NULL und Text", "Hausarzt|#20261210;Hausarzt|NULL;Hausarzt|bald", 0, "gelb"}});
    }
    void naechsterHausarzt()
    {
        QFETCH(Hausarzt, fall);
        Welt t;
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        t.einnahme(berg, t.packung("Ramipril", "Ramilich 5"), heute, fall.stand, 1, 0, 0, 0, 1);
        for (const QString &termin : QString(fall.termine).split(';')) {
            const QString arzt = termin.section('|', 0, 0);
            t.termin(arzt.startsWith("Zorn:") ? zorn : berg, arzt.section(':', -1), datum(termin.section('|', 1)));
        }
        t.starten();
        t.patientWaehlen("Berg");
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), fall.marke);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // Past and future, the oldest first; a text that is no date stays
    // listed, without a date. Deleting removes exactly the chosen row, and the marks follow.
    void liste()
    {
        Welt t;
        const int p = t.patient("Berg");
        t.termin(t.patient("Zorn"), "Hausarzt", heute);
        for (const auto &[arzt, tag] : {std::pair{"Hausarzt", "8"},
                                        {"Hausarzt", "-11"},
                                        {"Dr. Kunz", "bald"},
                                        {"Hausarzt", "30"},
                                        {"Dr. Kunz", "2"}})
            t.termin(p, arzt, datum(tag));
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5"), heute, 9, 1, 0, 0, 0, 1); // until 14.12.
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        QCOMPARE(spalte(liste, 1), (QStringList{"Hausarzt", "Dr. Kunz", "Hausarzt", "Hausarzt", "Dr. Kunz"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"25.11.2026", "08.12.2026", "14.12.2026", "05.01.2027", ""}));
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), "gelb");

        t.knopf("knopfTerminLoeschen"); // no current row: nothing
        QCOMPARE(t.anzahl("termine"), 6);
        zelleKlicken(liste, 2, 1);
        t.knopf("knopfTerminLoeschen");
        QCOMPARE(termine(t), "Hausarzt 2026-11-25, Dr. Kunz bald, Hausarzt 2027-01-05, Dr. Kunz 2026-12-08");
        QCOMPARE(spalte(liste, 2), (QStringList{"25.11.2026", "08.12.2026", "05.01.2027", ""}));
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), "rot");
        QCOMPARE(t.env.meldungen, QStringList());
    }

    void eintragen()
    {
        Welt t;
        t.einnahme(t.patient("Muster"), t.packung("Ramipril", "Ramilich 5"), heute, 10, 1, 0, 0, 0, 1); // to 15.12.
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        QList<QStringList> offen;
        QStringList gezeigt;
        QPointer<QLineEdit> name; // lent to the window, kept by the main window
        // "Hausarzt" is stored whatever the name field holds; the overview follows.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            offen << angebot(d, "Neu");
            arzt(d, "Neu", QString(), heute.addDays(20));
            tippen(name = teil<QLineEdit>(d, "terminNeuName"), "Dr. Beispiel");
            druecken(d, "Termin eintragen");
        }));
        QVERIFY2(gezeigt.contains("Anna, Muster *"), qPrintable(gezeigt.join('|')));
        QCOMPARE(termine(t), "Hausarzt 2026-12-26");
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), "rot");
        QVERIFY(name);
        QVERIFY(!name->parent());

        // A specialist on a chosen day; listed by date.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            offen << angebot(d, "Neu");
            arzt(d, "Neu", "Dr. Kunz", heute.addDays(4));
            druecken(d, "Termin eintragen");
        }));
        QCOMPARE(spalte(liste, 1), (QStringList{"Dr. Kunz", "Hausarzt"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"10.12.2026", "26.12.2026"}));

        // A specialist without a name is refused and the window stays open;
        // "Abbrechen" stores nothing.
        bool nochOffen = false;
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            arzt(d, "Neu", "  ", QDate(2027, 2, 1));
            druecken(d, "Termin eintragen");
            nochOffen = d->isVisible();
            arzt(d, "Neu", "Dr. Lang", QDate(2027, 1, 5));
            druecken(d, "Abbrechen");
        }));
        QVERIFY(nochOffen);
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains("Facharztes"), qPrintable(t.env.meldungen.first()));
        QCOMPARE(t.anzahl("termine"), 2);
        // The cancelled name is offered again, date and choice start afresh;
        // after a save the name is gone, even one typed with "Hausarzt" chosen.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) { offen << angebot(d, "Neu"); }));
        QCOMPARE(offen, (QList<QStringList>{{"06.12.2026", "Hausarzt", ""},
                                            {"06.12.2026", "Hausarzt", ""},
                                            {"06.12.2026", "Hausarzt", "Dr. Lang"}}));
    }

    void aendern()
    {
        Welt t;
        const int p = t.patient("Muster");
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5"), heute, 10, 1, 0, 0, 0, 1); // to 15.12.
        t.termin(p, "Hausarzt", "2026-12-26");
        t.termin(p, "Dr. Kunz", "2026-12-10");
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        // No appointment chosen: a hint, no window.
        QVERIFY(!oeffnen(t, "knopfTerminBearbeiten"));
        QCOMPARE(t.env.meldungen.size(), 1);

        // Opened with the row's choice, name and date; "Abbrechen" and the frame change nothing.
        QList<QStringList> offen;
        for (int z : {0, 1}) {
            zelleKlicken(liste, z, 1);
            QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
                offen << angebot(d, "Aendern");
                arzt(d, "Aendern", "Dr. Lang", heute);
                z ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        }
        QCOMPARE(offen, (QList<QStringList>{{"10.12.2026", "Facharzt", "Dr. Kunz"}, {"26.12.2026", "Hausarzt", ""}}));
        QCOMPARE(termine(t), "Hausarzt 2026-12-26, Dr. Kunz 2026-12-10");

        // A specialist needs a name here too; then becomes the family doctor
        // on another day, the name dropped; list and overview follow.
        zelleKlicken(liste, 0, 1);
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "terminAendernName"), QString());
            druecken(d, "Termin \u00E4ndern");
            arzt(d, "Aendern", QString(), heute.addDays(5));
            druecken(d, "Termin \u00E4ndern");
        }));
        QCOMPARE(t.env.meldungen.size(), 2);
        QCOMPARE(termine(t), "Hausarzt 2026-12-26, Hausarzt 2026-12-11");
        QCOMPARE(spalte(liste, 2), (QStringList{"11.12.2026", "26.12.2026"}));
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), "gelb");
    }
};

QTEST_MAIN(TermineTest)
#include "tst_termine.moc"
