// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that enter and change appointments.
#include "fensterhilfe.h"

namespace {

// What the window "Neu" or "Aendern" offers: date, choice (H, F or -) and name.
QString angebot(QDialog *d, const QString &art)
{
    auto gewaehlt = [&](const char *wahl) { return teil<QRadioButton>(d, "termin" + art + wahl)->isChecked(); };
    return texteVerbunden(d, {"termin" + art + "Datum"}) +
           (gewaehlt("Hausarzt")   ? "|H|"
            : gewaehlt("Facharzt") ? "|F|"
                                   : "|-|") +
           texteVerbunden(d, {"termin" + art + "Name"});
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

// The overview marks the stock red when it runs out before the next family-doctor visit.
bool rot(const Welt &t)
{
    return hintergrund(t.tabelle("tabelleUebersicht"), 0, 4) == QColor(Qt::red);
}

} // namespace

class TerminFensterTest : public QObject
{
    Q_OBJECT
private slots:
    void eintragenUndAendern()
    {
        Welt t;
        t.einnahme(t.patient("Muster"), t.packung("Ramipril", "Ramilich 5"), heute, 10, 1, 0, 0, 0, 1); // to 16.12.
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        QStringList offen;
        QPointer<QLineEdit> name; // lent to the window, kept by the main window
        // "Hausarzt" is stored whatever the name field holds; the overview follows.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            QVERIFY(beschriftungenVerbunden(d).contains("|Anna, Muster *|"));
            offen << angebot(d, "Neu");
            arzt(d, "Neu", QString(), heute.addDays(20));
            tippen(name = teil<QLineEdit>(d, "terminNeuName"), "Dr. Beispiel");
            druecken(d, "Termin eintragen");
        }));
        QCOMPARE(termine(t), "Hausarzt 2026-12-26");
        QVERIFY(rot(t));
        QVERIFY(name && !name->parent());

        // A specialist on a chosen day; listed by date.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            offen << angebot(d, "Neu");
            arzt(d, "Neu", "Dr. Kunz", heute.addDays(4));
            druecken(d, "Termin eintragen");
        }));
        QCOMPARE(spalte(liste, 1) + spalte(liste, 2),
                 (QStringList{"Dr. Kunz", "Hausarzt", "10.12.2026", "26.12.2026"}));

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
        QVERIFY(nochOffen && t.env.meldungen.size() == 1 && t.env.meldungen.first().contains("Facharztes"));
        // The cancelled name is offered again, date and choice start afresh;
        // after a save the name is gone, even one typed with "Hausarzt" chosen.
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) {
            offen << angebot(d, "Neu");
            d->close();
        }));
        QCOMPARE(offen, (QStringList{"06.12.2026|H|", "06.12.2026|H|", "06.12.2026|H|Dr. Lang"}));

        // No appointment chosen: a hint, no window.
        QVERIFY(!oeffnen(t, "knopfTerminBearbeiten"));
        QCOMPARE(t.env.meldungen.size(), 2);
        // Opened with the row's choice, name and date; "Abbrechen" and the frame change nothing.
        offen.clear();
        for (int z : {0, 1}) {
            zelleKlicken(liste, z, 1);
            QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) {
                offen << angebot(d, "Aendern");
                arzt(d, "Aendern", "Dr. Lang", heute);
                z ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        }
        QCOMPARE(offen, (QStringList{"10.12.2026|F|Dr. Kunz", "26.12.2026|H|"}));
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
        QCOMPARE(t.env.meldungen.size(), 3);
        QCOMPARE(termine(t), "Hausarzt 2026-12-26, Hausarzt 2026-12-11");
        QCOMPARE(spalte(liste, 2), (QStringList{"11.12.2026", "26.12.2026"}));
        QVERIFY(!rot(t));
    }
};

QTEST_MAIN(TerminFensterTest)
#include "tst_terminfenster.moc"
