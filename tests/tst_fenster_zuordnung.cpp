// The window that corrects an intake line: doses, stock counted anew, aid flag.
#include "fensterhilfe.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

namespace {

QLineEdit *feld(QDialog *d, const QString &name)
{
    return teil<QLineEdit>(d, QStringLiteral("fenster") + name);
}

// The four doses, the stock and the aid flag as the window shows them.
QString angebot(QDialog *d)
{
    QStringList t;
    for (const char *n : {"Morgen", "Mittag", "Abend", "Nacht", "Stand"})
        t << feld(d, QString::fromLatin1(n))->text();
    return t.join(QLatin1Char('|')) + (teil<QCheckBox>(d, QStringLiteral("fensterHilfe"))->isChecked() ? "|x" : "|-");
}

QString zeile(const Welt &t, int id)
{
    return zeileText(t, QStringLiteral("SELECT stand, tag, morgen, mittag, abend, nacht, hilfe FROM einnahme WHERE id = ?"), id);
}

const QString aendern = QStringLiteral("\u00C4ndern");
const char *const bearbeiten = "knopfZuordnungBearbeiten";

} // namespace

class ZuordnungFensterTest : public QObject
{
    Q_OBJECT
private slots:
    void speichern()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int rami = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        const int b = t.einnahme(p, rami, heute.addDays(-5), 30, 0.5, 0, 0.5, 0, 2);
        const int c = t.einnahme(p, t.packung(QStringLiteral("Nadeln"), QStringLiteral("Nadeln 4 mm")), heute, 50, 0, 0, 0, 0, 3, 1);
        t.starten();

        // 30 units ten days ago at 2 a day show as 10; corrected to 14.
        t.zeileWaehlen(0);
        QString offen;
        bool fest = false;
        QPointer<QLineEdit> stand;
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            fest = festesFenster(d) && beschriftungen(d).contains(QStringLiteral("Ramilich 5"));
            offen = angebot(d);
            stand = feld(d, QStringLiteral("Stand"));
            tippen(stand, QStringLiteral("14"));
            klicken(knopfIm(d, aendern));
        }));
        QVERIFY(fest);
        QCOMPARE(offen, QStringLiteral("1|0|1|0|10|-"));
        QCOMPARE(zeile(t, a), QStringLiteral("14|2026-12-06|1|0|1|0|0"));
        QCOMPARE(t.text("detailBestand"), QStringLiteral("14"));
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), QStringLiteral("reicht noch 7 Tage"));
        // The field is back in the main window's keeping, not gone with the window.
        QVERIFY(stand && !stand->parent());

        // Unchanged: the same stock today, from now on counted from today.
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) { klicken(knopfIm(d, aendern)); }));
        QCOMPARE(zeile(t, b), QStringLiteral("25|2026-12-06|0.5|0|0.5|0|0"));

        // Decimal point and decimal comma alike; an empty dose is none.
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            tippen(feld(d, QStringLiteral("Morgen")), QStringLiteral("1.5"));
            tippen(feld(d, QStringLiteral("Abend")), QStringLiteral(" 1,5 "));
            tippen(feld(d, QStringLiteral("Nacht")), QString());
            tippen(feld(d, QStringLiteral("Stand")), QStringLiteral("12,5"));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(zeile(t, b), QStringLiteral("12.5|2026-12-06|1.5|0|1.5|0|0"));
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 3).at(1), QStringLiteral("1.5-0-1.5-0"));
        QCOMPARE(t.details(), QStringLiteral("Ramipril|1.5|0|1.5|0|5 mg|30|06.12.2026|12.5"));

        // An aid opens checked; unchecked, it is stored as 0 and enters the plan.
        t.zeileWaehlen(2);
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            offen = angebot(d);
            klicken(teil<QCheckBox>(d, QStringLiteral("fensterHilfe")));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(offen, QStringLiteral("0|0|0|0|50|x"));
        QCOMPARE(zeile(t, c), QStringLiteral("50|2026-12-06|0|0|0|0|0"));
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 3);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("richtig");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("Wort") << "Morgen" << "eine" << "0,5" << "0.5";
        QTest::newRow("Bruch") << "Abend" << "1/2" << "0,5" << "0.5";
        QTest::newRow("negativ") << "Nacht" << "-1" << "0,5" << "0.5";
        // A stock below zero is one that ran out days ago: it may be stored.
        QTest::newRow("Stand kein Wert") << "Stand" << "zehn" << "-0,5" << "-0.5";
        QTest::newRow("Stand leer") << "Stand" << "" << "-0,5" << "-0.5";
    }
    void abgelehnt()
    {
        QFETCH(QString, name);
        QFETCH(QString, eingabe);
        QFETCH(QString, richtig);
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        // Refused: the field is named, nothing is stored and the window stays
        // with what was typed; corrected, it is stored and closes.
        bool offen = false, zu = false;
        QString getippt, vorher;
        QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
            tippen(feld(d, QStringLiteral("Mittag")), QStringLiteral("3"));
            tippen(feld(d, name), eingabe);
            klicken(knopfIm(d, aendern));
            offen = d->isVisible();
            getippt = feld(d, name)->text() + QLatin1Char('|') + feld(d, QStringLiteral("Mittag"))->text();
            vorher = zeile(t, a);
            tippen(feld(d, name), richtig);
            klicken(knopfIm(d, aendern));
            zu = !d->isVisible();
        }));
        QVERIFY(offen);
        QCOMPARE(getippt, eingabe + QStringLiteral("|3"));
        QCOMPARE(vorher, QStringLiteral("30|2026-11-26|1|0|1|0|0"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY2(t.env.meldungen.first().contains(QStringLiteral("\u201E%1\u201C").arg(name)), qPrintable(t.env.meldungen.first()));
        QVERIFY(zu);
        QTEST(zeileText(t, QStringLiteral("SELECT %1 FROM einnahme WHERE id = ?").arg(name.toLower()), a), "gespeichert");
        QCOMPARE(zeileText(t, QStringLiteral("SELECT mittag, tag FROM einnahme WHERE id = ?"), a), QStringLiteral("3|2026-12-06"));
    }

    void nichtsGespeichertUndKeineZeile()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        t.patient(QStringLiteral("Zorn"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30, 1, 0, 1, 0, 1, 1);
        t.starten();
        const QString vorher = zeile(t, a);

        // No line chosen: a hint, no window.
        QVERIFY(!oeffnen(t, bearbeiten));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.first().contains(QStringLiteral("Zeile")));

        // "Abbrechen" and the window frame store nothing; the next opening
        // shows the line again, not what was typed.
        t.zeileWaehlen(0);
        QString wieder;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(oeffnen(t, bearbeiten, [&](QDialog *d) {
                wieder = angebot(d);
                tippen(feld(d, QStringLiteral("Morgen")), QStringLiteral("7"));
                tippen(feld(d, QStringLiteral("Stand")), QStringLiteral("99"));
                if (i == 1)
                    d->close();
                else
                    klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
            QCOMPARE(wieder, QStringLiteral("1|0|1|0|10|x"));
        }
        QCOMPARE(zeile(t, a), vorher);

        // A patient without lines: the button does nothing.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QVERIFY(!oeffnen(t, bearbeiten));
        QCOMPARE(int(t.env.meldungen.size()), 1);
    }
};

QTEST_MAIN(ZuordnungFensterTest)
#include "tst_fenster_zuordnung.moc"
