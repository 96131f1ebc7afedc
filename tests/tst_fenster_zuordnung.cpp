// SPDX-License-Identifier: GPL-3.0-or-later
// The window that corrects an intake line: doses, stock counted anew, aid flag.
#include "fensterhilfe.h"

namespace {

// The four doses, the stock and the aid flag as the window shows them.
QString angebot(QDialog *d)
{
    return texteVerbunden(d, {"fensterMorgen", "fensterMittag", "fensterAbend", "fensterNacht", "fensterStand"}) +
           (teil<QCheckBox>(d, "fensterHilfe")->isChecked() ? "|x" : "|-");
}

void setzen(QDialog *d, const QString &feld, const QString &text)
{
    tippen(teil<QLineEdit>(d, "fenster" + feld), text);
}

const char *const bearbeiten = "knopfZuordnungBearbeiten";

} // namespace

class ZuordnungFensterTest : public QObject
{
    Q_OBJECT
private slots:
    void speichern()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5");
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        const int b = t.einnahme(p, rami, heute.addDays(-5), 30, 0.5, 0, 0.5, 0, 2);
        const int c = t.einnahme(p, t.packung("Nadeln", "Nadeln 4 mm"), heute, 50, 0, 0, 0, 0, 3, 1);
        t.starten();

        // No line chosen: a hint, no window.
        QVERIFY(!oeffnen(t, bearbeiten));
        QVERIFY(t.env.meldungen.takeFirst().contains("Zeile"));

        // 30 units ten days ago at 2 a day are offered as 10. A refusal names
        // the field and keeps the window open with what was typed; a stock
        // may be below zero, but not missing. "Abbrechen" stores nothing, and
        // the next opening shows the line again, not what was typed.
        t.zeileWaehlen(0);
        QStringList offen, abgelehnt, genannt;
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            QVERIFY(beschriftungenVerbunden(d).contains("|Ramilich 5|"));
            offen << angebot(d);
            for (const auto &[feld, text] :
                 {std::pair{"Morgen", "eine"}, {"Abend", "1/2"}, {"Nacht", "-1"}, {"Stand", "zehn"}, {"Stand", " "}}) {
                setzen(d, feld, text);
                druecken(d, "\u00C4ndern");
                abgelehnt << QString::number(d->isVisible()) + texteVerbunden(d, {QString("fenster") + feld});
                setzen(d, feld, "0");
            }
            druecken(d, "Abbrechen");
        }));
        QCOMPARE(abgelehnt, (QStringList{"1eine", "11/2", "1-1", "1zehn", "1 "}));
        for (const QString &m : t.env.meldungen)
            genannt << m.section(u'\u201E', 1, 1).section(u'\u201C', 0, 0);
        QCOMPARE(genannt, (QStringList{"Morgen", "Abend", "Nacht", "Stand", "Stand"}));
        QCOMPARE(zeileVerbunden(t, a), "30|2026-11-26|1|0|1|0|0");

        // Corrected to 14: stored as of today, and the overview counts from it.
        QPointer<QLineEdit> stand; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            offen << angebot(d);
            tippen(stand = teil<QLineEdit>(d, "fensterStand"), "14");
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(offen, (QStringList{"1|0|1|0|10|-", "1|0|1|0|10|-"}));
        QCOMPARE(zeileVerbunden(t, a), "14|2026-12-06|1|0|1|0|0");
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), "reicht noch 7 Tage");
        QVERIFY(stand && !stand->parent());

        // Unchanged, the stock of today is stored; decimal point and comma
        // alike; an empty dose is none; the stock may be below zero.
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) { druecken(d, "\u00C4ndern"); }));
        QCOMPARE(zeileVerbunden(t, b), "25|2026-12-06|0.5|0|0.5|0|0");
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            for (const auto &[feld, text] :
                 {std::pair{"Morgen", "1.5"}, {"Abend", " 1,5 "}, {"Nacht", ""}, {"Stand", "-2,5"}})
                setzen(d, feld, text);
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(zeileVerbunden(t, b), "-2.5|2026-12-06|1.5|0|1.5|0|0");
        QCOMPARE(t.detailsVerbunden(), "Ramipril|1.5|0|1.5|0|5 mg|30|06.12.2026|-2.5");

        // An aid opens checked; unchecked, it is stored as 0 and enters the plan.
        t.zeileWaehlen(2);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            offen << angebot(d);
            klicken(teil<QCheckBox>(d, "fensterHilfe"));
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(offen.last() + ' ' + zeileVerbunden(t, c, "hilfe"), "0|0|0|0|50|x 0");
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 3);
        QCOMPARE(t.env.meldungen.size(), 5);
    }
};

QTEST_MAIN(ZuordnungFensterTest)
#include "tst_fenster_zuordnung.moc"
