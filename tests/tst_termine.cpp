// The appointment list, the next family-doctor visit and deleting appointments.
#include "einnahmedaten.h"

class TermineTest : public QObject
{
    Q_OBJECT
private slots:
    void listeUndNaechsterHausarzt()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int q = t.patient(QStringLiteral("Zorn"));
        const int naechster = t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(8));
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(-11));
        t.termin(p, QStringLiteral("Dr. Kunz"), heute.addDays(2));
        t.termin(p, QStringLiteral("hausarzt"), heute.addDays(4));
        t.termin(p, QStringLiteral("Hausarzt "), heute.addDays(3));
        t.termin(p, QStringLiteral("Dr. Kunz"), QStringLiteral("bald"));
        t.termin(q, QStringLiteral("Hausarzt"), heute.addDays(1));
        // The marks show which visit counts: lines out from 13.12., 14.12. and 5.12.
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        int pos = 0;
        for (int stand : {8, 9, 0})
            t.einnahme(p, s, heute, stand, 1, 0, 0, 0, ++pos);
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        auto rot = [u] {
            QString r;
            for (int z = 0; z < u->rowCount(); ++z)
                r += hintergrund(u, z, 4) == QColor(Qt::red) ? QLatin1Char('R') : QLatin1Char('-');
            return r;
        };

        // Past and future, the oldest first; a text that is no date stays listed.
        QCOMPARE(spalte(liste, 1), (QStringList{"Hausarzt", "Dr. Kunz", "Hausarzt ", "hausarzt", "Hausarzt", "Dr. Kunz"}));
        QCOMPARE(spalte(liste, 2), (QStringList{"25.11.2026", "08.12.2026", "09.12.2026", "10.12.2026", "14.12.2026", ""}));
        QVERIFY(liste->isColumnHidden(0));
        QCOMPARE(liste->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
        // Only the exact "Hausarzt" of 14.12. counts.
        QCOMPARE(rot(), QStringLiteral("R-R"));

        // Without a current row the delete button does nothing.
        QCOMPARE(liste->currentRow(), -1);
        t.knopf("knopfTerminLoeschen");
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM termine")).toInt(), 7);

        // Deleting removes exactly that row; with only a past visit left nothing is red.
        zelleKlicken(liste, 4, 1);
        t.knopf("knopfTerminLoeschen");
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM termine")).toInt(), 6);
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM termine WHERE id = ?"), {naechster}).toInt(), 0);
        QCOMPARE(liste->rowCount(), 5);
        QCOMPARE(rot(), QStringLiteral("---"));

        // A visit today counts.
        t.termin(p, QStringLiteral("Hausarzt"), heute);
        t.patientWaehlen(QStringLiteral("Berg"));
        QCOMPARE(rot(), QStringLiteral("--R"));

        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(spalte(liste, 1), QStringList{QStringLiteral("Hausarzt")});
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(TermineTest)
#include "tst_termine.moc"
