// Numbers out of their range: typed ones are refused wherever a number is typed.
#include "fensterhilfe.h"

namespace {

// The first paragraph of each message: field, range and the text typed.
QStringList ersteAbsaetze(const QStringList &meldungen)
{
    QStringList t;
    for (const QString &m : meldungen)
        t << m.section(QStringLiteral("\n\n"), 0, 0);
    return t;
}

QString bereichsFehler(const char *feld, const char *bereich, const QString &text)
{
    return QStringLiteral("Die Angabe bei \u201E%1\u201C muss %2 sein: \u201E%3\u201C.")
        .arg(QString::fromUtf8(feld), QString::fromUtf8(bereich), text);
}

} // namespace

class ZahlenTest : public QObject
{
    Q_OBJECT
private slots:
    // The group "Dem Patienten zuordnen": doses from 0 to 100 in plain notation.
    void zuordnen()
    {
        Welt t;
        t.patient(QStringLiteral("Berg"));
        t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        t.starten();
        t.packungWaehlen(QStringLiteral("Ramilich 5"));
        auto feld = [&](const char *zeit) { return teil<QLineEdit>(t.w.get(), QStringLiteral("editZuordnen") + zeit); };

        QStringList bleibt;
        const std::pair<const char *, const char *> falsch[] = {
            {"Morgen", "1e308"}, {"Mittag", "inf"}, {"Abend", "100,5"}, {"Nacht", "nan"}, {"Morgen", "-0,5"}};
        for (const auto &[zeit, text] : falsch) {
            tippen(feld(zeit), QString::fromLatin1(text));
            t.knopf("knopfEintragen");
            bleibt << feld(zeit)->text();
            tippen(feld(zeit), QStringLiteral("0"));
        }
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(bleibt, (QStringList{"1e308", "inf", "100,5", "nan", "-0,5"}));
        QStringList erwartet;
        for (const auto &[zeit, text] : falsch)
            erwartet << bereichsFehler(zeit, "eine Zahl von 0 bis 100", QString::fromLatin1(text));
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);
        QVERIFY(t.env.meldungen.first().endsWith(QStringLiteral("Es wurde nichts gespeichert.")));

        // The edges themselves are taken, and so is a half without its 0.
        tippen(feld("Morgen"), QStringLiteral("100"));
        tippen(feld("Abend"), QStringLiteral(",5"));
        t.knopf("knopfEintragen");
        QCOMPARE(zeile(t, 1, "morgen, mittag, abend, nacht"), QStringLiteral("100|0|0.5|0"));
        QCOMPARE(t.env.meldungen.size(), 5);
    }

    // The window "Zuordnung bearbeiten": doses as above, the stock from
    // -100000 to 1000000; a stock of 1000000 is offered back plainly.
    void zuordnungsfenster()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5")), heute, 30, 1, 0,
                                 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        QStringList bleibt;
        const std::pair<const char *, const char *> falsch[] = {{"Morgen", "1e5000"}, {"Nacht", "100.01"},
                                                                {"Stand", "1e20"},    {"Stand", "1000000,5"},
                                                                {"Stand", "-100001"}, {"Stand", "inf"}};
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            for (const auto &[feld, text] : falsch) {
                auto *e = teil<QLineEdit>(d, QStringLiteral("fenster") + feld);
                tippen(e, QString::fromLatin1(text));
                druecken(d, QStringLiteral("\u00C4ndern"));
                bleibt << QString::number(d->isVisible()) + e->text();
                tippen(e, QStringLiteral("1"));
            }
            tippen(teil<QLineEdit>(d, QStringLiteral("fensterMorgen")), QStringLiteral("100"));
            tippen(teil<QLineEdit>(d, QStringLiteral("fensterStand")), QStringLiteral("1000000"));
            druecken(d, QStringLiteral("\u00C4ndern"));
        }));
        QCOMPARE(bleibt, (QStringList{"11e5000", "1100.01", "11e20", "11000000,5", "1-100001", "1inf"}));
        const char *const dosis = "eine Zahl von 0 bis 100";
        const char *const bestand = "eine Zahl von -100000 bis 1000000";
        QCOMPARE(ersteAbsaetze(t.env.meldungen),
                 (QStringList{bereichsFehler("Morgen", dosis, "1e5000"), bereichsFehler("Nacht", dosis, "100.01"),
                              bereichsFehler("Stand", bestand, "1e20"), bereichsFehler("Stand", bestand, "1000000,5"),
                              bereichsFehler("Stand", bestand, "-100001"), bereichsFehler("Stand", bestand, "inf")}));
        QCOMPARE(zeile(t, a, "CAST(stand AS TEXT), morgen, nacht"), QStringLiteral("1000000.0|100|1"));

        // Offered as "1000000", not "1e+06", it is confirmed as it stands.
        QString angeboten;
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            angeboten = teil<QLineEdit>(d, QStringLiteral("fensterStand"))->text();
            druecken(d, QStringLiteral("\u00C4ndern"));
        }));
        QCOMPARE(angeboten, QStringLiteral("1000000"));
        QCOMPARE(t.env.meldungen.size(), 6);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("1000000"));
    }

    // The pharmacy window: 1 to 1000 packages, or -1000 to -1 to take a
    // booking back, and the stock they give within its range; packages of
    // more than 100000 units are not booked.
    void apotheke()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int voll = t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"), "5 mg", 20),
                                    heute, 999990, 0, 0, 0, 0, 1);
        t.einnahme(p, t.packung(QStringLiteral("Salbe"), QStringLiteral("Riesig")), heute, 10, 0, 0, 0, 0, 2);
        Datei::ausfuehren(t.f, QStringLiteral("UPDATE sorte SET packung = 100001 WHERE handelsname = 'Riesig'"));
        t.starten();

        t.zeileWaehlen(0);
        QStringList bleibt;
        const char *const falsch[] = {"0", "1001", "-1001", "1e3", "inf", "2,0", "1"};
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            auto *feld = teil<QLineEdit>(d, QStringLiteral("fensterPackungen"));
            for (const char *text : falsch) {
                tippen(feld, QString::fromLatin1(text));
                druecken(d, QStringLiteral("Eintragen"));
                bleibt << QString::number(d->isVisible()) + feld->text() + ' ' + zeile(t, voll, "stand");
            }
            tippen(feld, QStringLiteral("-1"));
            druecken(d, QStringLiteral("Eintragen"));
        }));
        QCOMPARE(bleibt, (QStringList{"10 999990", "11001 999990", "1-1001 999990", "11e3 999990", "1inf 999990",
                                      "12,0 999990", "11 999990"}));
        QStringList erwartet;
        for (const char *text : falsch)
            erwartet << bereichsFehler("Packung/en", "eine ganze Zahl von 1 bis 1000 oder von -1000 bis -1",
                                       QString::fromLatin1(text));
        erwartet.last() = QStringLiteral("Mit 1 Packung/en l\u00E4ge der Bestand bei 1000010, au\u00DFerhalb von "
                                         "-100000 bis 1000000.");
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);
        // Taken back: one package fewer.
        QCOMPARE(zeile(t, voll, "stand"), QStringLiteral("999970"));

        t.zeileWaehlen(1);
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(t.env.meldungen.size(), 8);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("wie viele Einheiten")));
    }

    // "Einheiten pro Packung" on the medication list pages: over 0 up to 100000.
    void packungseinheiten()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen')",
                      "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Tropfen', '1 ml', 20)"});
        zelleKlicken(t.tabelle("tabelleSorten"), 0, 2);
        QStringList bleibt;
        const char *const falsch[] = {"1e5", "0", "100000,5", "inf"};
        for (const char *art : {"", "Neu"}) {
            for (const char *text : falsch) {
                tippe(t, QStringLiteral("editSorte%1Packung").arg(QLatin1String(art)), QString::fromLatin1(text));
                t.knopf(*art ? "knopfSorteAendern" : "knopfSorteEintragen");
                bleibt << texte(t.w.get(), {QStringLiteral("editSorte%1Packung").arg(QLatin1String(art))});
            }
        }
        QCOMPARE(t.wert(QStringLiteral("SELECT group_concat(packung) FROM sorte")).toString(), QStringLiteral("20.0"));
        QCOMPARE(bleibt, (QStringList{"1e5", "0", "100000,5", "inf", "1e5", "0", "100000,5", "inf"}));
        QStringList erwartet;
        for (int i = 0; i < 2; ++i)
            for (const char *text : falsch)
                erwartet << bereichsFehler("Einheiten pro Packung", "eine Zahl \u00FCber 0 bis 100000",
                                           QString::fromLatin1(text));
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);

        tippe(t, QStringLiteral("editSorteNeuPackung"), QStringLiteral("100000"));
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.wert(QStringLiteral("SELECT packung FROM sorte")).toDouble(), 100000.0);
    }
};

QTEST_MAIN(ZahlenTest)
#include "tst_zahlen.moc"
