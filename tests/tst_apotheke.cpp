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

QString standUndTag(const Welt &t, int id)
{
    return zeileText(t, QStringLiteral("SELECT stand, tag FROM einnahme WHERE id = ?"), id);
}

// Books n packages for line z through the window; vorher sees the window first.
bool kaufen(const Welt &t, int z, const QString &n, const std::function<void(QDialog *)> &vorher = {})
{
    t.zeileWaehlen(z);
    return oeffnen(t, "knopfApotheke", [&](QDialog *d) {
        if (vorher)
            vorher(d);
        tippen(packungen(d), n);
        klicken(knopfIm(d, QStringLiteral("Eintragen")));
    });
}

} // namespace

class ApothekeTest : public QObject
{
    Q_OBJECT
private slots:
    void ganzeZahlen()
    {
        QCOMPARE(packungenLesen(QStringLiteral(" 3 ")), std::optional<int>(3));
        QCOMPARE(packungenLesen(QStringLiteral("-1")), std::optional<int>(-1));
        for (const char *falsch : {"1,0", "2 3", "99999999999"})
            QVERIFY2(!packungenLesen(QString::fromLatin1(falsch)), falsch);
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
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES "
                                              "(1, 'Salbe', '1 g', 2.5)"));
        const int salbe = t.einnahme(p, t.letzte("sorte"), heute, 10, 0, 0, 0, 0, 3);
        t.starten();

        // The line as of today, one package offered; 10 + 2 x 20 counted from today.
        QStringList gezeigt;
        QString vorschlag;
        QPointer<QLineEdit> feld;
        QVERIFY(kaufen(t, 0, QStringLiteral("2"), [&](QDialog *d) {
            QVERIFY(festesFenster(d));
            gezeigt = beschriftungen(d);
            feld = packungen(d);
            vorschlag = feld->text();
        }));
        for (const char *text : {"Ramilich 5", "20", "5 mg", "10", "06.12.2026"})
            QVERIFY2(gezeigt.contains(QString::fromLatin1(text)), text);
        QCOMPARE(vorschlag, QStringLiteral("1"));
        QVERIFY(feld && !feld->parent());
        QCOMPARE(standUndTag(t, a), QStringLiteral("50|2026-12-06"));
        QCOMPARE(t.text("detailBestand"), QStringLiteral("50"));
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 3).at(0), QStringLiteral("1-0-1-0"));

        // The same day again: only the stock grows, and 1 is offered anew.
        QVERIFY(kaufen(t, 0, QStringLiteral("1"), [&](QDialog *) { vorschlag = feld->text(); }));
        QCOMPARE(vorschlag, QStringLiteral("1"));
        QCOMPARE(standUndTag(t, a), QStringLiteral("70|2026-12-06"));

        // Bought units are added to a stock below zero.
        QVERIFY(kaufen(t, 1, QStringLiteral("1")));
        QCOMPARE(standUndTag(t, leer), QStringLiteral("15|2026-12-06"));

        // Packages of 2.5 units count as they are.
        QVERIFY(kaufen(t, 2, QStringLiteral("2")));
        QCOMPARE(standUndTag(t, salbe), QStringLiteral("15|2026-12-06"));
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

        // Refused and still open with what was typed; corrected, stored.
        bool offen = false;
        QString getippt, vorher;
        QVERIFY(kaufen(t, 0, QStringLiteral("3"), [&](QDialog *d) {
            tippen(packungen(d), eingabe);
            klicken(knopfIm(d, QStringLiteral("Eintragen")));
            offen = d->isVisible();
            getippt = packungen(d)->text();
            vorher = standUndTag(t, a);
        }));
        QVERIFY(offen);
        QCOMPARE(getippt, eingabe);
        QCOMPARE(vorher, QStringLiteral("30|2026-11-26"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY2(t.env.meldungen.first().contains(QStringLiteral("ganze Zahl")), qPrintable(t.env.meldungen.first()));
        QCOMPARE(standUndTag(t, a), QStringLiteral("70|2026-12-06"));
    }

    void nichtsGespeichert()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.einnahme(p, 999, heute.addDays(-10), 30, 1, 0, 0, 0, 2); // its package was deleted
        t.starten();
        const auto vorher = Datei::zeilen(t.f, QStringLiteral("SELECT * FROM einnahme"));

        // No line chosen: a hint which one, no window.
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Zeile")));

        // "Abbrechen" and the frame store nothing.
        t.zeileWaehlen(0);
        for (bool rahmen : {false, true}) {
            QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
                tippen(packungen(d), QStringLiteral("4"));
                if (rahmen)
                    d->close();
                else
                    klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
        }

        // Without units per package nothing can be booked: said, not re-counted.
        t.zeileWaehlen(1);
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(int(t.env.meldungen.size()), 2);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("Einheiten")));
        QCOMPARE(Datei::zeilen(t.f, QStringLiteral("SELECT * FROM einnahme")), vorher);
    }
};

QTEST_MAIN(ApothekeTest)
#include "tst_apotheke.moc"
