// The pharmacy window: bought packages added to today's stock.
#include "fensterhilfe.h"

#include "intake/fensterfelder.h"

#include <QLineEdit>
#include <QPointer>

namespace {

QLineEdit *packungen(QDialog *d)
{
    return teil<QLineEdit>(d, QStringLiteral("fensterPackungen"));
}

// stand and tag of a line.
QVariantList standUndTag(const Welt &t, int id)
{
    const auto z = Datei::zeilen(t.f, QStringLiteral("SELECT stand, tag FROM einnahme WHERE id = ?"), {id});
    return z.isEmpty() ? QVariantList() : z.first();
}

// Books n packages for line z of the intake table through the window.
bool kaufen(const Welt &t, int z, const QString &n)
{
    t.zeileWaehlen(z);
    return imFenster([&] { t.knopf("knopfApotheke"); }, [&](QDialog *d) {
        tippen(packungen(d), n);
        klicken(knopfIm(d, QStringLiteral("Eintragen")));
    });
}

} // namespace

class ApothekeTest : public QObject
{
    Q_OBJECT
private slots:
    void packungenAlsGanzeZahl()
    {
        QCOMPARE(packungenLesen(QStringLiteral(" 3 ")), std::optional<int>(3));
        QCOMPARE(packungenLesen(QStringLiteral("-1")), std::optional<int>(-1));
        for (const char *falsch : {"", "1.5", "1,0", "zwei", "2 3", "99999999999"})
            QVERIFY2(!packungenLesen(QString::fromLatin1(falsch)), falsch);
        QCOMPARE(einheitenJePackung(QStringLiteral("2.5")), std::optional<double>(2.5));
        for (const char *falsch : {"", "0", "-20", "viele"})
            QVERIFY2(!einheitenJePackung(QString::fromLatin1(falsch)), falsch);
    }

    void eintragen()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int rami = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"), QStringLiteral("5 mg"), 20);
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        const int leer = t.einnahme(p, rami, heute.addDays(-10), 5, 1, 0, 0, 0, 2); // ran out 5 days ago
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Salbe')"));
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES "
                                              "(?, 'Salbe 2,5', '1 g', 2.5)"),
                          {t.letzte("medikament")});
        const int salbe = t.einnahme(p, t.letzte("sorte"), heute, 10, 0, 0, 0, 0, 3);
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));

        // The window shows the line as of today and offers one package.
        t.zeileWaehlen(0);
        QStringList gezeigt;
        QString vorschlag;
        bool fest = false;
        QPointer<QLineEdit> feld;
        QVERIFY(imFenster([&] { t.knopf("knopfApotheke"); }, [&](QDialog *d) {
            fest = festesFenster(d);
            gezeigt = beschriftungen(d);
            feld = packungen(d);
            vorschlag = feld->text();
            tippen(feld, QStringLiteral("2"));
            klicken(knopfIm(d, QStringLiteral("Eintragen")));
        }));
        QVERIFY(fest);
        for (const char *text : {"Ramilich 5", "20", "5 mg", "10", "06.12.2026", "Packung/en zum Bestand hinzuf\u00FCgen"})
            QVERIFY2(gezeigt.contains(QString::fromUtf8(text)), text);
        QCOMPARE(vorschlag, QStringLiteral("1"));
        QVERIFY(feld && !feld->parent());

        // 10 today plus 2 x 20, counted from today; the doses stay.
        QCOMPARE(standUndTag(t, a), (QVariantList{50.0, "2026-12-06"}));
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 0);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("50"));
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 3).at(0), QStringLiteral("1-0-1-0"));

        // The same day again: only the stock grows; the field offers 1 anew.
        QVERIFY(imFenster([&] { t.knopf("knopfApotheke"); }, [&](QDialog *d) {
            vorschlag = packungen(d)->text();
            klicken(knopfIm(d, QStringLiteral("Eintragen")));
        }));
        QCOMPARE(vorschlag, QStringLiteral("1"));
        QCOMPARE(standUndTag(t, a), (QVariantList{70.0, "2026-12-06"}));

        // A stock below zero takes the bought units from there.
        QVERIFY(kaufen(t, 1, QStringLiteral("1")));
        QCOMPARE(standUndTag(t, leer), (QVariantList{15.0, "2026-12-06"}));
        QCOMPARE(t.text("detailBestand"), QStringLiteral("15"));

        // Packages of 2.5 units count as they are.
        QVERIFY(kaufen(t, 2, QStringLiteral("2")));
        QCOMPARE(standUndTag(t, salbe), (QVariantList{15.0, "2026-12-06"}));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::newRow("Bruch") << "1.5";
        QTest::newRow("leer") << "";
        QTest::newRow("Wort") << "zwei";
    }
    void abgelehnt()
    {
        QFETCH(QString, eingabe);
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs"), QStringLiteral("1 mg"), 20),
                                 heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        bool offen = false, zu = false;
        QString getippt;
        QVERIFY(imFenster([&] { t.knopf("knopfApotheke"); }, [&](QDialog *d) {
            tippen(packungen(d), eingabe);
            klicken(knopfIm(d, QStringLiteral("Eintragen")));
            offen = d->isVisible();
            getippt = packungen(d)->text();
            QCOMPARE(standUndTag(t, a), (QVariantList{30.0, "2026-11-26"}));
            tippen(packungen(d), QStringLiteral("3"));
            klicken(knopfIm(d, QStringLiteral("Eintragen")));
            zu = !d->isVisible();
        }));
        QVERIFY(offen);
        QCOMPARE(getippt, eingabe);
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY2(t.env.meldungen.first().contains(QStringLiteral("ganze Zahl")), qPrintable(t.env.meldungen.first()));
        QVERIFY(zu);
        QCOMPARE(standUndTag(t, a), (QVariantList{70.0, "2026-12-06"}));
    }

    void nichtsGespeichert()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.einnahme(p, 999, heute.addDays(-10), 30, 1, 0, 0, 0, 2); // its package was deleted
        t.starten();
        const auto vorher = Datei::zeilen(t.f, QStringLiteral("SELECT * FROM einnahme ORDER BY id"));

        // No line chosen: a hint which one, no window.
        QVERIFY(!imFenster([&] { t.knopf("knopfApotheke"); }));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Zeile")));

        // "Abbrechen" and the frame store nothing.
        t.zeileWaehlen(0);
        for (bool rahmen : {false, true}) {
            QVERIFY(imFenster([&] { t.knopf("knopfApotheke"); }, [&](QDialog *d) {
                tippen(packungen(d), QStringLiteral("4"));
                if (rahmen)
                    d->close();
                else
                    klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
        }

        // Without units per package nothing can be booked: said, not re-counted.
        t.zeileWaehlen(1);
        QVERIFY(!imFenster([&] { t.knopf("knopfApotheke"); }));
        QCOMPARE(int(t.env.meldungen.size()), 2);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Einheiten")));
        QCOMPARE(Datei::zeilen(t.f, QStringLiteral("SELECT * FROM einnahme ORDER BY id")), vorher);
    }
};

QTEST_MAIN(ApothekeTest)
#include "tst_apotheke.moc"
