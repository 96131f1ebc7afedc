// SPDX-License-Identifier: GPL-3.0-or-later
// The pharmacy window: bought packages added to today's stock.
#include "fensterhilfe.h"

class ApothekeTest : public QObject
{
    Q_OBJECT
private slots:
    void eintragen()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg", 20);
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        const int leer = t.einnahme(p, rami, heute.addDays(-10), 5, 1, 0, 0, 0, 2); // ran out 5 days ago
        Datei::ausfuehren(t.f, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES "
                               "(1, 'Salbe', '1 g', 2.5)");
        const int salbe = t.einnahme(p, t.letzte("sorte"), heute, 10, 0, 0, 0, 0, 3);
        const int ohne = t.einnahme(p, 999, heute.addDays(-10), 30, 1, 0, 0, 0, 4); // its package was deleted
        t.starten();

        // No line chosen: a hint, no window.
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QVERIFY(t.env.meldungen.value(0).contains("Zeile"));

        // "Abbrechen" and the frame store nothing.
        t.zeileWaehlen(0);
        for (int i = 0; i < 2; ++i)
            QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
                tippen(teil<QLineEdit>(d, "fensterPackungen"), "4");
                i ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        QCOMPARE(zeileVerbunden(t, a, "stand, tag"), "30|2026-11-26");

        // The line as of today, one package offered. Only a whole number is
        // taken, the window staying open with what was typed; 10 + 2 x 20
        // are then counted from today.
        QPointer<QLineEdit> feld; // lent to the window, kept by the main window
        QString gezeigt;
        QStringList abgelehnt;
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            feld = teil<QLineEdit>(d, "fensterPackungen");
            gezeigt = beschriftungenVerbunden(d) + ' ' + feld->text();
            for (const char *falsch : {"1.5", "", "zwei"}) {
                tippen(feld, falsch);
                druecken(d, "Eintragen");
                abgelehnt << QString::number(d->isVisible()) + ' ' + feld->text() + ' ' +
                                 zeileVerbunden(t, a, "stand, tag");
            }
            tippen(feld, "2");
            druecken(d, "Eintragen");
        }));
        QVERIFY2(gezeigt.contains("|Ramilich 5|Menge:|20|Dosis/Einheit:|5 mg|Stand:|10|Heute:|06.12.2026|") &&
                     gezeigt.endsWith(" 1"),
                 qPrintable(gezeigt));
        QCOMPARE(abgelehnt, (QStringList{"1 1.5 30|2026-11-26", "1  30|2026-11-26", "1 zwei 30|2026-11-26"}));
        QCOMPARE(t.env.meldungen.join("").count("ganze Zahl"), 3);
        QCOMPARE(zeileVerbunden(t, a, "stand, tag") + ' ' + t.text("detailBestand"), "50|2026-12-06 50");
        QVERIFY(feld && !feld->parent());

        // Bought units are added to a stock below zero; 1 is offered anew.
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) { druecken(d, "Eintragen"); }));
        QCOMPARE(zeileVerbunden(t, leer, "stand, tag"), "15|2026-12-06");
        // Packages of 2.5 units count as they are.
        t.zeileWaehlen(2);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            tippen(feld, "2");
            druecken(d, "Eintragen");
        }));
        QCOMPARE(zeileVerbunden(t, salbe, "stand, tag"), "15|2026-12-06");

        // Without units per package nothing can be booked: said, not re-counted.
        t.zeileWaehlen(3);
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(t.env.meldungen.size(), 5);
        QVERIFY(t.env.meldungen.last().contains("Einheiten"));
        QCOMPARE(zeileVerbunden(t, ohne, "stand, tag"), "30|2026-11-26");
    }
};

QTEST_MAIN(ApothekeTest)
#include "tst_apotheke.moc"
