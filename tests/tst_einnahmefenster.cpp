// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows on an intake line: the pharmacy adds bought packages to
// today's stock, "Zuordnung bearbeiten" corrects doses, stock and aid flag.
#include "fensterhilfe.h"

namespace {

const char *const apothekenKnopf = "knopfApotheke";
const char *const bearbeitenKnopf = "knopfZuordnungBearbeiten";

// Berg's one line of Ramilich 5, counted vorTagen ago, in the running
// program; chosen unless waehlen is false.
int bergsZeile(Welt &t, double stand, int vorTagen, double morgen, const QVariant &einheiten = 20, int hilfe = 0,
               bool waehlen = true)
{
    const int id = t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", einheiten),
                              heute.addDays(-vorTagen), stand, morgen, 0, morgen, 0, 1, hilfe);
    t.starten();
    if (waehlen)
        t.zeileWaehlen(0);
    return id;
}

// A window that does not open: said why, nothing stored.
struct OhneFenster {
    const char *name, *knopf;
    bool waehlen;
    QVariant einheiten; // of the line's package; NULL: the package is deleted
    const char *grund;
};

// "Abbrechen", or the frame, after typing into a field.
struct Abbruch {
    const char *name, *knopf, *feld, *angebot;
    bool rahmen;
};

// A purchase: the line (counted ten days ago, morgen in the morning and
// evening), units a package, packages typed ("" leaves the one offered), the
// stock then.
struct Kauf {
    const char *name;
    double stand, morgen, einheiten;
    const char *packungen, *neu;
};

} // namespace

Q_DECLARE_METATYPE(OhneFenster)
Q_DECLARE_METATYPE(Abbruch)
Q_DECLARE_METATYPE(Kauf)

class EinnahmefensterTest : public QObject
{
    Q_OBJECT
private slots:
    void ohneFenster_data()
    {
        faelle<OhneFenster>({{"Apotheke ohne Zeile", apothekenKnopf, false, 20, "Zeile"},
                             {"bearbeiten ohne Zeile", bearbeitenKnopf, false, 20, "Zeile"},
                             {"Packung geloescht", apothekenKnopf, true, QVariant(), "wie viele Einheiten"},
                             {"mehr als 100000 Einheiten", apothekenKnopf, true, 100001, "wie viele Einheiten"}});
    }
    void ohneFenster()
    {
        QFETCH(OhneFenster, fall);
        Welt t;
        if (fall.einheiten.isNull())
            Datei::ausfuehren(t.f, "CREATE TRIGGER weg AFTER INSERT ON einnahme BEGIN DELETE FROM sorte; END");
        const int a = bergsZeile(t, 30, 10, 1, fall.einheiten, 0, fall.waehlen);
        QVERIFY(!oeffnen(t, fall.knopf));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains(fall.grund), qPrintable(t.env.meldungen.first()));
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"30", "2026-11-26"}));
    }

    // Nothing is stored, and the next opening offers the line again, not
    // what was typed.
    void abbrechenSpeichertNichts_data()
    {
        faelle<Abbruch>({{"Apotheke, Abbrechen", apothekenKnopf, "fensterPackungen", "1", false},
                         {"Apotheke, Rahmen", apothekenKnopf, "fensterPackungen", "1", true},
                         {"bearbeiten, Abbrechen", bearbeitenKnopf, "fensterStand", "10", false},
                         {"bearbeiten, Rahmen", bearbeitenKnopf, "fensterMorgen", "1", true}});
    }
    void abbrechenSpeichertNichts()
    {
        QFETCH(Abbruch, fall);
        Welt t;
        const int a = bergsZeile(t, 30, 10, 1); // 10 today
        QStringList angeboten;
        for (int mal = 0; mal < 2; ++mal)
            QVERIFY(oeffnen(t, fall.knopf, [&](QDialog *d) {
                angeboten << teil<QLineEdit>(d, fall.feld)->text();
                tippen(teil<QLineEdit>(d, fall.feld), "4");
                fall.rahmen ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        QCOMPARE(angeboten, (QStringList{fall.angebot, fall.angebot}));
        QCOMPARE(zeile(t, a), (QStringList{"30", "2026-11-26", "1", "0", "1", "0", "0"}));
    }

    // The window names the line and offers one package; what is bought is
    // added to the stock counted to today, with the package's units as they are.
    void apotheke_data()
    {
        faelle<Kauf>({{"verbraucht seit dem Zaehlen", 30, 1, 20, "2", "50"},
                      {"unter null", 5, 0.5, 20, "", "15"},
                      {"halbe Einheiten", 10, 0, 2.5, "2", "15"}});
    }
    void apotheke()
    {
        QFETCH(Kauf, fall);
        Welt t;
        const int a = bergsZeile(t, fall.stand, 10, fall.morgen, fall.einheiten);
        QStringList gezeigt;
        QString angeboten;
        QPointer<QLineEdit> feld; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, apothekenKnopf, [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            feld = teil<QLineEdit>(d, "fensterPackungen");
            angeboten = feld->text();
            if (*fall.packungen)
                tippen(feld, fall.packungen);
            druecken(d, "Eintragen");
        }));
        QCOMPARE(gezeigt.mid(1, 9),
                 (QStringList{"Ramilich 5", "Menge:", QString::number(fall.einheiten), "Dosis/Einheit:", "5 mg",
                              "Stand:", QString::number(fall.stand - 20 * fall.morgen), "Heute:", "06.12.2026"}));
        QCOMPARE(angeboten, "1");
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{fall.neu, "2026-12-06"}));
        QCOMPARE(t.text("detailBestand"), fall.neu);
        QVERIFY(feld);
        QVERIFY(!feld->parent());
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // 30 units ten days ago at 2 a day are offered as 10; corrected to 14,
    // stored as of today, and the views count from it.
    void zuordnungKorrigieren()
    {
        Welt t;
        const int a = bergsZeile(t, 30, 10, 1);
        QStringList gezeigt, angeboten;
        QPointer<QLineEdit> stand; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            angeboten = texte(d, {"fensterMorgen", "fensterMittag", "fensterAbend", "fensterNacht", "fensterStand"});
            tippen(stand = teil<QLineEdit>(d, "fensterStand"), "14");
            druecken(d, "\u00C4ndern");
        }));
        QVERIFY2(gezeigt.contains("Ramilich 5"), qPrintable(gezeigt.join('|')));
        QCOMPARE(angeboten, (QStringList{"1", "0", "1", "0", "10"}));
        QCOMPARE(zeile(t, a), (QStringList{"14", "2026-12-06", "1", "0", "1", "0", "0"}));
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), "reicht noch 7 Tage");
        QCOMPARE(t.text("detailBestand"), "14");
        QVERIFY(stand);
        QVERIFY(!stand->parent());
    }

    // Confirmed unchanged, the stock of today is stored; an empty stock is
    // refused, the window staying open.
    void zuordnungBestand()
    {
        Welt t;
        const int a = bergsZeile(t, 30, 5, 0.5);
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) { druecken(d, "\u00C4ndern"); }));
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"25", "2026-12-06"}));

        bool offen = false;
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterStand"), " ");
            druecken(d, "\u00C4ndern");
            offen = d->isVisible();
        }));
        QVERIFY(offen);
        QCOMPARE(t.env.meldungen.value(0).section("\n\n", 0, 0), "Bei \u201EStand\u201C fehlt der Bestand.");
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"25", "2026-12-06"}));
    }

    // An aid opens checked; unchecked, it is stored as 0 and enters the plan.
    void hilfsmittel()
    {
        Welt t;
        const int a = bergsZeile(t, 50, 0, 0, 100, 1);
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 0);
        bool angehakt = false;
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            angehakt = teil<QCheckBox>(d, "fensterHilfe")->isChecked();
            klicken(teil<QCheckBox>(d, "fensterHilfe"));
            druecken(d, "\u00C4ndern");
        }));
        QVERIFY(angehakt);
        QCOMPARE(zeile(t, a, "hilfe"), QStringList{"0"});
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 1);
    }
};

QTEST_MAIN(EinnahmefensterTest)
#include "tst_einnahmefenster.moc"
