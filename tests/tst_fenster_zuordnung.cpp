// The window that corrects an intake line: doses, stock counted anew, aid flag.
#include "fensterhilfe.h"

namespace {

// The four doses, the stock and the aid flag as the window shows them.
QString angebot(QDialog *d)
{
    return texte(d, {"fensterMorgen", "fensterMittag", "fensterAbend", "fensterNacht", "fensterStand"}) +
           (teil<QCheckBox>(d, "fensterHilfe")->isChecked() ? "|x" : "|-");
}

void setzen(QDialog *d, const QString &feld, const QString &text) { tippen(teil<QLineEdit>(d, "fenster" + feld), text); }

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
        QVERIFY(t.env.meldungen.value(0).contains("Zeile"));

        // 30 units ten days ago at 2 a day are offered as 10. "Abbrechen" and
        // the frame store nothing, and the next opening shows the line, not what was typed.
        t.zeileWaehlen(0);
        QStringList offen;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
                QVERIFY(beschriftungen(d).contains("|Ramilich 5|"));
                offen << angebot(d);
                setzen(d, "Morgen", "7");
                setzen(d, "Stand", "99");
                i ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        }
        QCOMPARE(zeile(t, a), "30|2026-11-26|1|0|1|0|0");

        // Corrected to 14: stored as of today, and the overview counts from it.
        QPointer<QLineEdit> stand; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            offen << angebot(d);
            tippen(stand = teil<QLineEdit>(d, "fensterStand"), "14");
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(offen, (QStringList{"1|0|1|0|10|-", "1|0|1|0|10|-", "1|0|1|0|10|-"}));
        QCOMPARE(zeile(t, a), "14|2026-12-06|1|0|1|0|0");
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), "reicht noch 7 Tage");
        QVERIFY(stand && !stand->parent());

        // Unchanged, the stock of today is stored; decimal point and comma
        // alike; an empty dose is none.
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) { druecken(d, "\u00C4ndern"); }));
        QCOMPARE(zeile(t, b), "25|2026-12-06|0.5|0|0.5|0|0");
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            for (const auto &[feld, text] : {std::pair{"Morgen", "1.5"}, {"Abend", " 1,5 "}, {"Nacht", ""}, {"Stand", "12,5"}})
                setzen(d, feld, text);
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(zeile(t, b), "12.5|2026-12-06|1.5|0|1.5|0|0");
        QCOMPARE(t.details(), "Ramipril|1.5|0|1.5|0|5 mg|30|06.12.2026|12.5");

        // An aid opens checked; unchecked, it is stored as 0 and enters the plan.
        t.zeileWaehlen(2);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            offen << angebot(d);
            klicken(teil<QCheckBox>(d, "fensterHilfe"));
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(offen.last() + ' ' + zeile(t, c, "hilfe"), "0|0|0|0|50|x 0");
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 3);
        QCOMPARE(t.env.meldungen.size(), 1);
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("richtig");
        QTest::newRow("Wort") << "Morgen" << "eine" << "0,5";
        QTest::newRow("Bruch") << "Abend" << "1/2" << "0,5";
        QTest::newRow("negativ") << "Nacht" << "-1" << "0,5";
        // A stock below zero is one that ran out days ago: it may be stored.
        QTest::newRow("Stand kein Wert") << "Stand" << "zehn" << "-0,5";
        QTest::newRow("Stand leer") << "Stand" << "" << "-0,5";
    }
    void abgelehnt()
    {
        QFETCH(QString, feld);
        QFETCH(QString, eingabe);
        QFETCH(QString, richtig);
        Welt t;
        const int a = t.einnahme(t.patient("Berg"), t.packung("A", "A-Tabs"), heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        // Refused: the field is named, nothing is stored and the window stays
        // with what was typed; corrected, it is stored as of today and closes.
        QStringList ablauf;
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            setzen(d, "Mittag", "3");
            setzen(d, feld, eingabe);
            druecken(d, "\u00C4ndern");
            ablauf << QString::number(d->isVisible()) << texte(d, {"fenster" + feld, "fensterMittag"})
                   << zeile(t, a, "stand, tag, mittag");
            setzen(d, feld, richtig);
            druecken(d, "\u00C4ndern");
            ablauf << QString::number(d->isVisible()) << zeile(t, a, feld + ", mittag, tag");
        }));
        QCOMPARE(ablauf, (QStringList{"1", eingabe + "|3", "30|2026-11-26|0", "0", QString(richtig).replace(',', '.') + "|3|2026-12-06"}));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains("\u201E" + feld + "\u201C"), qPrintable(t.env.meldungen.first()));
    }
};

QTEST_MAIN(ZuordnungFensterTest)
#include "tst_fenster_zuordnung.moc"
