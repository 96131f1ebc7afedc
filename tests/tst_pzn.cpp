// SPDX-License-Identifier: GPL-3.0-or-later
// The PZN of a package: its check digit, and how the package pages take it.
#include "fensterhilfe.h"

#include "bmp/pzn.h"

struct PznFall {
    const char *name;
    QString getippt;
    QString pzn;    // what is stored
    QString fehler; // a part of the message, or "" for none
};
Q_DECLARE_METATYPE(PznFall)

namespace {

const QString ibuprofen = QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");

// Enters a package with this PZN for the first medication.
void packungMitPzn(const Welt &t, const QString &name, const QString &pzn)
{
    zelleKlicken(t.tabelle("tabelleMedikamente"), 0, 1);
    tippe(t, "editSorteHandelsname", name);
    tippe(t, "editSorteDosis", "400 mg");
    tippe(t, "editSortePackung", "20");
    tippe(t, "editSortePzn", pzn);
    t.knopf("knopfSorteEintragen");
}

} // namespace

class PznTest : public QObject
{
    Q_OBJECT
private slots:
    void lesen_data()
    {
        faelle<PznFall>({
            {"gueltig", "01234562", "01234562", ""},
            {"mit Vorsilbe und Leerzeichen", " PZN 00230272 ", "00230272", ""},
            {"leer", "  ", "", ""},
            {"Pruefziffer falsch", "01234563", "", "Pr\u00FCfziffer"},
            {"Rest zehn wird nie vergeben", "00000030", "", "Pr\u00FCfziffer"},
            {"sieben Ziffern", "1234562", "", "genau 8 Ziffern"},
            {"neun Ziffern", "012345620", "", "genau 8 Ziffern"},
            {"Buchstaben", "0123456X", "", "genau 8 Ziffern"},
        });
    }
    void lesen()
    {
        QFETCH(PznFall, fall);
        const PznEingabe e = pznLesen(fall.getippt, QStringLiteral("PZN"));
        QCOMPARE(e.pzn, fall.pzn);
        QCOMPARE(e.fehler.contains(fall.fehler), true);
        QCOMPARE(e.fehler.isEmpty(), fall.fehler.isEmpty());
        // Every refusal names the field.
        QCOMPARE(e.fehler.isEmpty() || e.fehler.startsWith(QStringLiteral("PZN: ")), true);
    }

    void achtStellenAusDerZahl() { QCOMPARE(pznAusZahl(55509), QStringLiteral("00055509")); }

    void eintragenUndZeigen()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "01234562");
        QCOMPARE(t.wert("SELECT pzn FROM sorte_pzn WHERE sorte_id = (SELECT max(id) FROM sorte)").toString(),
                 QStringLiteral("01234562"));
        QCOMPARE(spalte(t.tabelle("tabelleSorten"), 5), QStringList{"01234562"});
        QCOMPARE(feld(t, "editSorteNeuPzn"), QStringLiteral("01234562"));
        QCOMPARE(t.text("anzeigeSortePzn"), QStringLiteral("01234562"));
        QCOMPARE(feld(t, "editSortePzn"), QString());
    }

    void falschePznSpeichertNichts()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "1234562");
        QCOMPARE(t.anzahl("sorte"), 0);
        QCOMPARE(t.env.meldungen.value(0).startsWith(QStringLiteral("PZN: ")), true);
        // What was typed stays for correcting.
        QCOMPARE(feld(t, "editSortePzn"), QStringLiteral("1234562"));
    }

    void ohnePznKeineNeueTabelle()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "");
        QCOMPARE(t.anzahl("sorte"), 1);
        QCOMPARE(Datei::tabellen(t.f).contains(QStringLiteral("sorte_pzn")), false);
    }

    void aendernUndEntfernen()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "01234562");
        tippe(t, "editSorteNeuPzn", "00230272");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.wert("SELECT group_concat(pzn) FROM sorte_pzn").toString(), QStringLiteral("00230272"));
        tippe(t, "editSorteNeuPzn", "");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.anzahl("sorte_pzn"), 0);
    }

    void eineFalscheAenderungBehaeltDieAlte()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "01234562");
        tippe(t, "editSorteNeuHandelsname", "Brausetabletten");
        tippe(t, "editSorteNeuPzn", "01234563");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.wert("SELECT handelsname FROM sorte").toString(), QStringLiteral("Filmtabletten"));
        QCOMPARE(t.wert("SELECT pzn FROM sorte_pzn").toString(), QStringLiteral("01234562"));
    }

    void einePznGehoertEinerPackung()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "01234562");
        packungMitPzn(t, "Brausetabletten", "01234562");
        QCOMPARE(t.anzahl("sorte"), 1);
        QCOMPARE(t.env.meldungen.value(0).contains(QStringLiteral("\u201EFilmtabletten (400 mg)\u201C")), true);
    }

    void dateiMitPznIstEineKalvoriaDatei()
    {
        Welt t;
        mitListen(t, {ibuprofen});
        packungMitPzn(t, "Filmtabletten", "01234562");
        QCOMPARE(datenbankMangel(t.f), QString());
    }
};

QTEST_MAIN(PznTest)
#include "tst_pzn.moc"
