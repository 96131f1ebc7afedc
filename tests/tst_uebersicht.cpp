// The overview with its range figures and marks, and the regulation plan.
#include "einnahmedaten.h"

namespace {

QString tag(int tage)
{
    return heute.addDays(tage).toString(QStringLiteral("dd.MM.yyyy"));
}

// Stock, weeks, run-out day, its mark, bar value, bar text and tool tip of a row.
QStringList zeile(QTableWidget *u, int z)
{
    const QColor c = hintergrund(u, z, 4);
    const QString marke = c == QColor(Qt::red) ? QStringLiteral("rot") : c == QColor(Qt::yellow) ? QStringLiteral("gelb") : QString();
    QProgressBar *b = balken(u, z);
    return {u->item(z, 2)->text(), u->item(z, 3)->text(), u->item(z, 4)->text(), marke, QString::number(b->value()),
            b->text(), b->toolTip()};
}

} // namespace

class UebersichtTest : public QObject
{
    Q_OBJECT
private slots:
    void reichweiteUndMarken()
    {
        Welt t;
        const int berg = t.patient(QStringLiteral("Berg"));
        const int hof = t.patient(QStringLiteral("Hof"));
        const int kern = t.patient(QStringLiteral("Kern"));
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int n = t.packung(QStringLiteral("Pen-Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        t.einnahme(berg, s, heute.addDays(-4), 30, 1, 0, 1, 0, 1);  // the worked example
        t.einnahme(berg, s, heute, 60, 1, 0, 0, 0, 2);              // exactly 60 days
        t.einnahme(berg, n, heute.addDays(-9), 100, 0, 0, 0, 0, 3, 1); // an aid: no consumption
        t.einnahme(berg, s, heute.addDays(-30), 10, 1, 0, 0, 0, 4); // used up 20 days ago
        t.einnahme(berg, s, heute, 0, 0, 0, 0, 0, 5);               // paused, nothing left
        t.termin(hof, QStringLiteral("Hausarzt"), heute);
        t.einnahme(hof, s, heute, 0, 1, 0, 0, 0, 1); // last day yesterday
        t.einnahme(hof, s, heute, 1, 1, 0, 0, 0, 2); // last day today
        t.einnahme(hof, n, heute, 5, 0, 0, 0, 0, 3, 1);
        t.termin(kern, QStringLiteral("Hausarzt"), heute.addDays(14));
        t.einnahme(kern, s, heute.addDays(-4), 30, 1, 0, 1, 0, 1);
        t.einnahme(kern, s, heute.addDays(-30), 10, 1, 0, 0, 0, 2);
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");

        QCOMPARE(u->rowCount(), 5);
        QCOMPARE(spalte(u, 0).first(), QStringLiteral("Ramipril"));
        for (int c = 2; c <= 4; ++c)
            QCOMPARE(u->item(0, c)->textAlignment(), int(Qt::AlignCenter));
        // 30 units 4 days ago at two a day: 22 left for 11 days.
        QCOMPARE(zeile(u, 0), (QStringList{"22", "1.6 Wochen", tag(10), "gelb", "18", "Ramilich 5", "reicht noch 11 Tage"}));
        QCOMPARE(zeile(u, 1), (QStringList{"60", "8.6 Wochen", tag(59), "", "99", "Ramilich 5", "reicht noch 60 Tage"}));
        QCOMPARE(zeile(u, 2), (QStringList{"100", "unbegrenzt", "", "", "100", "Nadeln 4 mm", "kein t\u00E4glicher Verbrauch"}));
        // Used up: the bar is empty but still names the package.
        QCOMPARE(zeile(u, 3), (QStringList{"-20", "-2.9 Wochen", tag(-21), "gelb", "0", "Ramilich 5", "reicht noch -20 Tage"}));
        QCOMPARE(zeile(u, 4), (QStringList{"0", "unbegrenzt", "", "", "100", "Ramilich 5", "kein t\u00E4glicher Verbrauch"}));

        // Family doctor today: out since yesterday is red, out after today is not.
        t.patientWaehlen(QStringLiteral("Hof"));
        QCOMPARE(zeile(u, 0).mid(2, 2), (QStringList{tag(-1), "rot"}));
        QCOMPARE(zeile(u, 1).mid(2, 2), (QStringList{tag(0), "gelb"}));
        QCOMPARE(zeile(u, 2).at(3), QString());

        // The worked example turns red before a visit in 14 days, so does a used-up line.
        t.patientWaehlen(QStringLiteral("Kern"));
        QCOMPARE(zeile(u, 0).mid(2, 2), (QStringList{tag(10), "rot"}));
        QCOMPARE(zeile(u, 1).mid(2, 3), (QStringList{tag(-21), "rot", "0"}));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void verordnungsplan()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int q = t.patient(QStringLiteral("Hof"));
        const int a = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int b = t.packung(QStringLiteral("Insulin"), QStringLiteral("Pen"), QStringLiteral("100 IE/ml"));
        const int n = t.packung(QStringLiteral("Pen-Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        t.einnahme(p, a, heute, 30, 1, 0, 0.5, 0, 1);
        t.einnahme(p, n, heute, 100, 0, 0, 0, 0, 2, 1);
        t.einnahme(p, b, heute, 30, 0, 1.5, 0, 2, 3);
        t.einnahme(p, 999, heute, 30, 0, 0, 0, 1, 4); // package deleted
        t.einnahme(q, n, heute, 100, 0, 0, 0, 0, 1, 1);
        t.starten();
        QTableWidget *plan = t.tabelle("tabelleVerordnungsplan");

        QCOMPARE(spalte(plan, 0), (QStringList{"Ramipril", "Insulin", ""}));
        QCOMPARE(spalte(plan, 1), (QStringList{"5 mg", "100 IE/ml", ""}));
        QStringList dosen;
        for (int z = 0; z < plan->rowCount(); ++z)
            dosen << QStringList{spalte(plan, 2).at(z), spalte(plan, 3).at(z), spalte(plan, 4).at(z), spalte(plan, 5).at(z)}.join(QLatin1Char(' '));
        QCOMPARE(dosen, (QStringList{"1 0 1/2 0", "0 1.5 0 2", "0 0 0 1"}));
        QCOMPARE(plan->item(0, 4)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(t.tabelle("tabelleUebersicht")->rowCount(), 4); // the aid is in the overview

        t.patientWaehlen(QStringLiteral("Hof")); // only aids
        QCOMPARE(plan->rowCount(), 0);
        QCOMPARE(plan->horizontalHeaderItem(5)->text(), QStringLiteral("Nacht"));
    }
};

QTEST_MAIN(UebersichtTest)
#include "tst_uebersicht.moc"
