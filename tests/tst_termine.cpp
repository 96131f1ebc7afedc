// SPDX-License-Identifier: GPL-3.0-or-later
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
        // Only the exact "Hausarzt" of 14.12. counts: not a past or a later
        // one, another doctor, another spelling or another patient's.
        const std::pair<const char *, QVariant> termine[] = {
            {"Hausarzt", heute.addDays(8)}, {"Hausarzt", heute.addDays(-11)}, {"Dr. Kunz", heute.addDays(2)},
            {"hausarzt", heute.addDays(4)}, {"Hausarzt ", heute.addDays(3)},  {"Dr. Kunz", QStringLiteral("bald")},
            {"Hausarzt", heute.addDays(30)}};
        for (const auto &[arzt, datum] : termine)
            t.termin(p, QString::fromLatin1(arzt), datum);
        t.termin(q, QStringLiteral("Hausarzt"), heute.addDays(1));
        // The marks show which visit counts: lines out from 5.12., 13.12. and 14.12.
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        for (int stand : {8, 9, 0})
            t.einnahme(p, s, heute, stand, 1, 0, 0, 0, stand + 1);
        t.starten();
        QTableWidget *liste = t.tabelle("tabelleTermine");
        auto gesehen = [&] {
            QString r;
            for (int z = 0; z < t.tabelle("tabelleUebersicht")->rowCount(); ++z)
                r += hintergrund(t.tabelle("tabelleUebersicht"), z, 4) == QColor(Qt::red) ? 'R' : '-';
            return (spalte(liste, 1) + spalte(liste, 2)).join('|') + ' ' + r;
        };

        // Past and future, the oldest first; a text that is no date stays listed.
        QCOMPARE(gesehen(), QStringLiteral("Hausarzt|Dr. Kunz|Hausarzt |hausarzt|Hausarzt|Hausarzt|Dr. Kunz|25.11.2026|"
                                           "08.12.2026|09.12.2026|10.12.2026|14.12.2026|05.01.2027| RR-"));

        t.knopf("knopfTerminLoeschen"); // no current row: nothing
        // Deleting removes exactly that row; then the visit of 5.1. counts.
        zelleKlicken(liste, 4, 1);
        t.knopf("knopfTerminLoeschen");
        QCOMPARE(t.wert(QStringLiteral("SELECT group_concat(arzt_date, ' ') FROM termine WHERE arzt = 'Hausarzt'"))
                     .toString(),
                 QStringLiteral("2026-11-25 2027-01-05 2026-12-07"));
        QCOMPARE(gesehen(),
                 QStringLiteral("Hausarzt|Dr. Kunz|Hausarzt |hausarzt|Hausarzt|Dr. Kunz|25.11.2026|08.12.2026|"
                                "09.12.2026|10.12.2026|05.01.2027| RRR"));

        // A visit today counts.
        t.termin(p, QStringLiteral("Hausarzt"), heute);
        t.patientWaehlen(QStringLiteral("Berg"));
        QVERIFY(gesehen().endsWith(QStringLiteral(" R--")));
        t.patientWaehlen(QStringLiteral("Zorn"));
        QCOMPARE(spalte(liste, 1), QStringList{QStringLiteral("Hausarzt")});
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(TermineTest)
#include "tst_termine.moc"
