// SPDX-License-Identifier: GPL-3.0-or-later
// The overview with its range figures and marks, and the regulation plan.
#include "einnahmedaten.h"

namespace {

// Per row: stock, weeks, last day, its mark, bar value, bar text and tool tip.
QStringList zeilen(QTableWidget *u)
{
    QStringList t;
    for (int z = 0; z < u->rowCount(); ++z) {
        const QColor c = hintergrund(u, z, 4);
        const QString marke = c == QColor(Qt::red)      ? QStringLiteral("rot")
                              : c == QColor(Qt::yellow) ? QStringLiteral("gelb")
                                                        : QString();
        QProgressBar *b = balken(u, z);
        t << QStringList{u->item(z, 2)->text(),
                         u->item(z, 3)->text(),
                         u->item(z, 4)->text(),
                         marke,
                         QString::number(b->value()),
                         b->text(),
                         b->toolTip()}
                 .join('|');
    }
    return t;
}

// Per row of the plan: medication, dose and the four intake times.
QStringList plan(QTableWidget *p)
{
    QStringList t;
    for (int z = 0; z < p->rowCount(); ++z) {
        QStringList zellen;
        for (int s = 0; s < p->columnCount(); ++s)
            zellen << p->item(z, s)->text();
        t << zellen.join(' ');
    }
    return t;
}

} // namespace

class UebersichtTest : public QObject
{
    Q_OBJECT
private slots:
    void reichweiteMarkenUndPlan()
    {
        Welt t;
        const int berg = t.patient(QStringLiteral("Berg"));
        const int hof = t.patient(QStringLiteral("Hof"));
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int n = t.packung(QStringLiteral("Pen-Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        t.einnahme(berg, s, heute.addDays(-4), 30, 1, 0, 1, 0, 1);      // the worked example
        t.einnahme(berg, n, heute.addDays(-9), 100, 0, 0, 0, 0, 2, 1);  // an aid: no consumption
        t.einnahme(berg, s, heute.addDays(-30), 10, 0.5, 0, 0.5, 0, 3); // used up 20 days ago
        t.einnahme(berg, s, heute, 0, 0, 0, 0, 0, 4);                   // paused, nothing left
        t.einnahme(berg, 999, heute, 30, 0, 1.5, 0, 0.5, 5);            // its package was deleted
        t.termin(hof, QStringLiteral("Hausarzt"), heute);
        t.einnahme(hof, s, heute, 0, 1, 0, 0, 0, 1); // last day yesterday
        t.einnahme(hof, s, heute, 1, 1, 0, 0, 0, 2); // last day today
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");

        // 30 units 4 days ago at two a day: 22 left for 11 days. Used up: the
        // bar is empty but still names the package.
        QCOMPARE(zeilen(u), (QStringList{"22|1.6 Wochen|16.12.2026|gelb|18|Ramilich 5|reicht noch 11 Tage",
                                         "100|unbegrenzt|||100|Nadeln 4 mm|kein t\u00E4glicher Verbrauch",
                                         "-20|-2.9 Wochen|15.11.2026|gelb|0|Ramilich 5|reicht noch -20 Tage",
                                         "0|unbegrenzt|||100|Ramilich 5|kein t\u00E4glicher Verbrauch",
                                         "30|2.1 Wochen|20.12.2026|gelb|24||reicht noch 15 Tage"}));
        // The aid stays out of the plan.
        QCOMPARE(plan(t.tabelle("tabelleVerordnungsplan")),
                 (QStringList{"Ramipril 5 mg 1 0 1 0", "Ramipril 5 mg 1/2 0 1/2 0", "Ramipril 5 mg 0 0 0 0",
                              "  0 1.5 0 1/2"}));

        // Family doctor today: out since yesterday is red, out after today is not.
        t.patientWaehlen(QStringLiteral("Hof"));
        QCOMPARE(zeilen(u), (QStringList{"0|0.0 Wochen|05.12.2026|rot|0|Ramilich 5|reicht noch 0 Tage",
                                         "1|0.1 Wochen|06.12.2026|gelb|1|Ramilich 5|reicht noch 1 Tage"}));
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(UebersichtTest)
#include "tst_uebersicht.moc"
