// The window that corrects an intake line: doses, stock counted anew, aid flag.
#include "fensterhilfe.h"

#include "text/textformat.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

namespace {

QLineEdit *feld(QDialog *d, const QString &zeit)
{
    return teil<QLineEdit>(d, QStringLiteral("fenster") + zeit);
}

// stand, tag, morgen, mittag, abend, nacht, hilfe of a line.
QVariantList zeile(const Welt &t, int id)
{
    const auto z = Datei::zeilen(t.f, QStringLiteral("SELECT stand, tag, morgen, mittag, abend, nacht, hilfe FROM "
                                                     "einnahme WHERE id = ?"),
                                 {id});
    return z.isEmpty() ? QVariantList() : z.first();
}

const QString aendern = QStringLiteral("\u00C4ndern");

} // namespace

class ZuordnungFensterTest : public QObject
{
    Q_OBJECT
private slots:
    void bearbeiten()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int rami = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int nadeln = t.packung(QStringLiteral("Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        const int b = t.einnahme(p, rami, heute.addDays(-5), 30, 0.5, 0, 0.5, 0, 2);
        const int c = t.einnahme(p, nadeln, heute.addDays(-3), 50, 0, 0, 0, 0, 3, 1);
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));
        QTableWidget *z = t.tabelle("tabelleZuordnung");

        // 30 units ten days ago at 2 a day: 10 today; corrected to 14.
        t.zeileWaehlen(0);
        QStringList gezeigt;
        QStringList felder;
        bool fest = false, angekreuzt = true, imFensterPlatziert = false;
        QPointer<QLineEdit> stand;
        const bool geoeffnet = imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }, [&](QDialog *d) {
            fest = festesFenster(d);
            gezeigt = beschriftungen(d);
            for (const char *n : {"Morgen", "Mittag", "Abend", "Nacht", "Stand"})
                felder << feld(d, QString::fromLatin1(n))->text();
            angekreuzt = teil<QCheckBox>(d, QStringLiteral("fensterHilfe"))->isChecked();
            stand = feld(d, QStringLiteral("Stand"));
            imFensterPlatziert = stand->isVisible() && stand->geometry() == QRect(80, 80, 40, 20);
            tippen(stand, QStringLiteral("14"));
            klicken(knopfIm(d, aendern));
        });
        QVERIFY(geoeffnet);
        QVERIFY(fest);
        QVERIFY(imFensterPlatziert);
        QVERIFY(gezeigt.contains(QStringLiteral("Ramilich 5")));
        QVERIFY(gezeigt.contains(QStringLiteral("(Korrekturm\u00F6glichkeit bei Abweichungen)")));
        QCOMPARE(felder, (QStringList{"1", "0", "1", "0", "10"}));
        QVERIFY(!angekreuzt);
        QCOMPARE(zeile(t, a), (QVariantList{14.0, "2026-12-06", 1.0, 0.0, 1.0, 0.0, 0}));
        QCOMPARE(z->currentRow(), 0);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("14"));
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), QStringLiteral("reicht noch 7 Tage"));
        // The field went back to the main window's keeping, not down with the window.
        QVERIFY(stand);
        QVERIFY(!stand->parent());

        // Unchanged: the same stock today, from now on counted from today.
        t.zeileWaehlen(1);
        QVERIFY(imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); },
                          [&](QDialog *d) { klicken(knopfIm(d, aendern)); }));
        QCOMPARE(zeile(t, b), (QVariantList{25.0, "2026-12-06", 0.5, 0.0, 0.5, 0.0, 0}));
        QCOMPARE(t.text("detailBestand"), QStringLiteral("25"));

        // Decimal point and decimal comma alike; an empty dose is none.
        QVERIFY(imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }, [&](QDialog *d) {
            tippen(feld(d, QStringLiteral("Morgen")), QStringLiteral("1.5"));
            tippen(feld(d, QStringLiteral("Abend")), QStringLiteral(" 1,5 "));
            tippen(feld(d, QStringLiteral("Nacht")), QString());
            tippen(feld(d, QStringLiteral("Stand")), QStringLiteral("12,5"));
            klicken(knopfIm(d, aendern));
        }));
        QCOMPARE(zeile(t, b), (QVariantList{12.5, "2026-12-06", 1.5, 0.0, 1.5, 0.0, 0}));
        QCOMPARE(spalte(z, 3).at(1), QStringLiteral("1.5-0-1.5-0"));
        QCOMPARE(z->currentRow(), 1);
        QCOMPARE(t.details(), QStringLiteral("Ramipril|1.5|0|1.5|0|5 mg|30|06.12.2026|12.5"));

        // An aid opens checked; unchecked it is stored as 0 and enters the plan.
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 2);
        t.zeileWaehlen(2);
        angekreuzt = false;
        QVERIFY(imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }, [&](QDialog *d) {
            auto *hilfe = teil<QCheckBox>(d, QStringLiteral("fensterHilfe"));
            angekreuzt = hilfe->isChecked();
            klicken(hilfe);
            klicken(knopfIm(d, aendern));
        }));
        QVERIFY(angekreuzt);
        QCOMPARE(zeile(t, c), (QVariantList{50.0, "2026-12-06", 0.0, 0.0, 0.0, 0.0, 0}));
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 3);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("richtig");
        QTest::newRow("Wort") << "Morgen" << "eine" << "1";
        QTest::newRow("Bruch") << "Abend" << "1/2" << "0,5";
        QTest::newRow("negativ") << "Nacht" << "-1" << "1";
        QTest::newRow("Stand kein Wert") << "Stand" << "zehn" << "10";
        QTest::newRow("Stand leer") << "Stand" << "" << "-2";
    }
    void abgelehnt()
    {
        QFETCH(QString, name);
        QFETCH(QString, eingabe);
        QFETCH(QString, richtig);
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30,
                                 1, 0, 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        // Refused: the field is named, nothing is stored, the window stays
        // with what was typed; corrected, it is stored and closes.
        bool offen = false, zu = false;
        QString getippt, mittag;
        const bool geoeffnet = imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }, [&](QDialog *d) {
            tippen(feld(d, QStringLiteral("Mittag")), QStringLiteral("2"));
            tippen(feld(d, name), eingabe);
            klicken(knopfIm(d, aendern));
            offen = d->isVisible();
            getippt = feld(d, name)->text();
            mittag = feld(d, QStringLiteral("Mittag"))->text();
            QCOMPARE(zeile(t, a), (QVariantList{30.0, "2026-11-26", 1.0, 0.0, 1.0, 0.0, 0}));
            tippen(feld(d, name), richtig);
            klicken(knopfIm(d, aendern));
            zu = !d->isVisible();
        });
        QVERIFY(geoeffnet);
        QVERIFY(offen);
        QCOMPARE(getippt, eingabe);
        QCOMPARE(mittag, QStringLiteral("2"));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY2(t.env.meldungen.first().contains(QStringLiteral("\u201E%1\u201C").arg(name)),
                 qPrintable(t.env.meldungen.first()));
        QVERIFY(zu);
        QCOMPARE(Datei::wert(t.f, QStringLiteral("SELECT tag FROM einnahme WHERE id = ?"), {a}).toString(),
                 QStringLiteral("2026-12-06"));
        QCOMPARE(Datei::wert(t.f, QStringLiteral("SELECT %1 FROM einnahme WHERE id = ?").arg(name.toLower()), {a}).toDouble(),
                 *zahlLesen(richtig));
    }

    void nichtsGespeichertUndKeineZeile()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        t.patient(QStringLiteral("Zorn"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("A"), QStringLiteral("A-Tabs")), heute.addDays(-10), 30,
                                 1, 0, 1, 0, 1, 1);
        t.starten();
        const QVariantList vorher = zeile(t, a);

        // No line chosen: a hint, no window.
        QVERIFY(!imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }));
        QCOMPARE(int(t.env.meldungen.size()), 1);
        QVERIFY(t.env.meldungen.first().contains(QStringLiteral("Zeile")));

        // "Abbrechen" and the window frame store nothing, however often the
        // window is opened; the fields survive every window.
        t.zeileWaehlen(0);
        QPointer<QLineEdit> morgen;
        QPointer<QCheckBox> hilfe;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }, [&](QDialog *d) {
                morgen = feld(d, QStringLiteral("Morgen"));
                hilfe = teil<QCheckBox>(d, QStringLiteral("fensterHilfe"));
                tippen(morgen, QStringLiteral("7"));
                tippen(feld(d, QStringLiteral("Stand")), QStringLiteral("99"));
                hilfe->setChecked(false);
                if (i % 2)
                    d->close();
                else
                    klicken(knopfIm(d, QStringLiteral("Abbrechen")));
            }));
            QVERIFY(morgen && hilfe);
            QVERIFY(!morgen->parent() && !hilfe->parent());
        }
        QCOMPARE(zeile(t, a), vorher);
        QCOMPARE(t.text("detailMorgen"), QStringLiteral("1"));

        // What was typed last time is not offered again: the line is.
        QString wieder;
        QVERIFY(imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); },
                          [&](QDialog *d) { wieder = feld(d, QStringLiteral("Morgen"))->text(); }));
        QCOMPARE(wieder, QStringLiteral("1"));

        // A patient without lines: the button does nothing.
        t.patientWaehlen(QStringLiteral("Zorn"));
        QVERIFY(!imFenster([&] { t.knopf("knopfZuordnungBearbeiten"); }));
        QCOMPARE(int(t.env.meldungen.size()), 1);
    }
};

QTEST_MAIN(ZuordnungFensterTest)
#include "tst_fenster_zuordnung.moc"
