// The intake table, its row cache and the commands that change intake lines.
#include "einnahmedaten.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Daten;

namespace {

const QDate heute(2026, 12, 6);

struct Fenster {
    explicit Fenster(MainWindow *w)
        : w(w),
          zuordnung(teil<QTableWidget>(w, QStringLiteral("tabelleZuordnung"))),
          sorten(teil<QTableWidget>(w, QStringLiteral("tabelleSortenwahl"))),
          uebersicht(teil<QTableWidget>(w, QStringLiteral("tabelleUebersicht"))),
          plan(teil<QTableWidget>(w, QStringLiteral("tabelleVerordnungsplan")))
    {
    }
    QString text(const char *name) const { return teil<QLabel>(w, QString::fromLatin1(name))->text(); }
    QLineEdit *feld(const QString &zeit) const { return teil<QLineEdit>(w, QStringLiteral("editZuordnen") + zeit); }
    void knopf(const char *name) const { klicken(teil<QAbstractButton>(w, QString::fromLatin1(name))); }
    void packungWaehlen(const QString &handelsname) const
    {
        const int z = spalte(sorten, 2).indexOf(handelsname);
        QVERIFY2(z >= 0, qPrintable(handelsname));
        zelleKlicken(sorten, z, 2);
    }
    void zeileWaehlen(int z) const { zelleKlicken(zuordnung, z, 1); }

    MainWindow *w;
    QTableWidget *zuordnung;
    QTableWidget *sorten;
    QTableWidget *uebersicht;
    QTableWidget *plan;
};

QStringList kopf(QTableWidget *t)
{
    QStringList k;
    for (int s = 0; s < t->columnCount(); ++s)
        k << (t->horizontalHeaderItem(s) ? t->horizontalHeaderItem(s)->text() : QString());
    return k;
}

int zeilenImFile(const QString &datei, int patient)
{
    return Datei::wert(datei, QStringLiteral("SELECT count(*) FROM einnahme WHERE pat_id = ?"), {patient}).toInt();
}

} // namespace

class EinnahmeTest : public QObject
{
    Q_OBJECT
private slots:
    void tabelleUndBestand()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        patient(f, QStringLiteral("Adler")); // listed first, has no lines
        const int p = patient(f, QStringLiteral("Berg"));
        const int rami = packung(f, QStringLiteral("Ramipril"), QStringLiteral("Ramipril 5 Tabs"), QStringLiteral("5 mg"), 30);
        const int meto = packung(f, QStringLiteral("Metoprolol"), QStringLiteral("Beloc"), QStringLiteral("47,5 mg"), 100);
        const int vitd = packung(f, QStringLiteral("Vitamin D"), QStringLiteral("Dekristol"), QStringLiteral("20000 IE"), 50);
        einnahme(f, {p, rami, heute.addDays(-10), 30, 1, 0, 1, 0, 0, 1});
        einnahme(f, {p, meto, heute.addDays(3), 30, 1, 0, 1, 0, 0, 2});      // counted in the future
        einnahme(f, {p, vitd, QString(), 30, 0.5, 0, 0, 0, 0, 3});           // no counting day
        einnahme(f, {p, 999, heute, 12, 1, 0, 0, 0.25, 0, 4});                // its package is gone
        auto w = env.starten();
        Fenster fe(w.get());

        // The first patient has no lines: headers only, views empty.
        QCOMPARE(fe.zuordnung->rowCount(), 0);
        QCOMPARE(kopf(fe.zuordnung), (QStringList{"ID", "Medikament", "Dosis", "Einnahme", ""}));
        QCOMPARE(fe.uebersicht->rowCount(), 0);
        QCOMPARE(fe.plan->rowCount(), 0);

        patientWaehlen(w.get(), QStringLiteral("Berg"));
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"Ramipril", "Metoprolol", "Vitamin D", ""}));
        QCOMPARE(spalte(fe.zuordnung, 2), (QStringList{"5 mg", "47,5 mg", "20000 IE", ""}));
        QCOMPARE(spalte(fe.zuordnung, 3), (QStringList{"1-0-1-0", "1-0-1-0", "1/2-0-0-0", "1-0-0-0.25"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(fe.zuordnung->item(0, 1)->toolTip(), QStringLiteral("Ramipril 5 Tabs"));
        QCOMPARE(fe.zuordnung->item(3, 1)->toolTip(), QString());
        QCOMPARE(fe.zuordnung->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(fe.zuordnung->item(0, 3)->textAlignment(), int(Qt::AlignCenter));
        QVERIFY(fe.zuordnung->isColumnHidden(0) && fe.zuordnung->isColumnHidden(4));
        QVERIFY(!fe.zuordnung->isColumnHidden(1) && !fe.zuordnung->isColumnHidden(3));
        QCOMPARE(fe.zuordnung->rowHeight(0), 20);
        QCOMPARE(fe.zuordnung->currentRow(), -1);
        QCOMPARE(fe.text("detailBestand"), QString());

        // 30 units counted 10 days ago at 1-0-1-0: 10 in stock, 5 days.
        fe.zeileWaehlen(0);
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("Ramipril"));
        QCOMPARE(fe.text("detailMorgen"), QStringLiteral("1"));
        QCOMPARE(fe.text("detailMittag"), QStringLiteral("0"));
        QCOMPARE(fe.text("detailAbend"), QStringLiteral("1"));
        QCOMPARE(fe.text("detailNacht"), QStringLiteral("0"));
        QCOMPARE(fe.text("detailDosis"), QStringLiteral("5 mg"));
        QCOMPARE(fe.text("detailPackung"), QStringLiteral("30"));
        QCOMPARE(fe.text("detailDatum"), QStringLiteral("06.12.2026"));
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("10"));
        QCOMPARE(spalte(fe.uebersicht, 2).at(0), QStringLiteral("10"));
        QCOMPARE(balken(fe.uebersicht, 0)->toolTip(), QStringLiteral("reicht noch 5 Tage"));

        fe.zeileWaehlen(1); // three days ahead: more than counted
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("36"));
        QCOMPARE(fe.text("detailDatum"), QStringLiteral("06.12.2026"));
        fe.zeileWaehlen(2); // no day: nothing used yet
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("30"));
        QCOMPARE(fe.text("detailMorgen"), QStringLiteral("0.5"));
        fe.zeileWaehlen(3); // package gone: empty texts, the stock as stored
        QCOMPARE(fe.text("detailMedizin"), QString());
        QCOMPARE(fe.text("detailDosis"), QString());
        QCOMPARE(fe.text("detailPackung"), QString());
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("12"));
        QCOMPARE(spalte(fe.uebersicht, 0).at(3), QString());
        QCOMPARE(balken(fe.uebersicht, 3)->toolTip(), QStringLiteral("reicht noch 9.6 Tage"));
        QCOMPARE(fe.plan->rowCount(), 4);
        QCOMPARE(fe.plan->item(3, 5)->text(), QStringLiteral("0.25"));

        // Choosing the other patient empties the table and the details.
        patientWaehlen(w.get(), QStringLiteral("Adler"));
        QCOMPARE(fe.zuordnung->rowCount(), 0);
        QCOMPARE(fe.uebersicht->rowCount(), 0);
        QCOMPARE(fe.text("detailMedizin"), QString());
        QVERIFY(env.meldungen.isEmpty());
    }

    void positionenOhneLuecken()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        const int q = patient(f, QStringLiteral("Zorn"));
        const int a = packung(f, QStringLiteral("A"), QStringLiteral("A-Tabs"));
        const int b = packung(f, QStringLiteral("B"), QStringLiteral("B-Tabs"));
        const int c = packung(f, QStringLiteral("C"), QStringLiteral("C-Tabs"));
        const int ea = einnahme(f, {p, a, heute, 30, 1, 0, 0, 0, 0, 1});
        const int eb = einnahme(f, {p, b, heute, 30, 1, 0, 0, 0, 0, 3});
        const int ec = einnahme(f, {p, c, heute, 30, 1, 0, 0, 0, 0, 4});
        const int fremd = einnahme(f, {q, a, heute, 30, 1, 0, 0, 0, 0, 7});
        auto w = env.starten();
        Fenster fe(w.get());

        // A plain fill shows the positions as stored and changes nothing.
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "3", "4"}));
        patientWaehlen(w.get(), QStringLiteral("Berg"));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "3", "4"}));
        QCOMPARE(positionen(f, p), (QStringList{QStringLiteral("%1:1").arg(ea), QStringLiteral("%1:3").arg(eb),
                                                QStringLiteral("%1:4").arg(ec)}));

        // Removing closes the gaps.
        fe.zeileWaehlen(0);
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"B", "C"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2"}));
        QCOMPARE(positionen(f, p), (QStringList{QStringLiteral("%1:1").arg(eb), QStringLiteral("%1:2").arg(ec)}));

        // So does assigning: the new line comes last.
        Datei::ausfuehren(f, QStringLiteral("UPDATE einnahme SET ordnung = 5 WHERE id = ?"), {ec});
        patientWaehlen(w.get(), QStringLiteral("Berg"));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "5"}));
        fe.packungWaehlen(QStringLiteral("A-Tabs"));
        fe.knopf("knopfEintragen");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"B", "C", "A"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "3"}));
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT group_concat(ordnung) FROM (SELECT ordnung FROM einnahme "
                                               "WHERE pat_id = ? ORDER BY id)"),
                             {p})
                     .toString(),
                 QStringLiteral("1,2,3"));
        // The other patient's line keeps its position.
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT ordnung FROM einnahme WHERE id = ?"), {fremd}).toInt(), 7);
        QVERIFY(env.meldungen.isEmpty());
    }

    void eintragen()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        const int a = packung(f, QStringLiteral("A"), QStringLiteral("A-Tabs"));
        const int z = packung(f, QStringLiteral("Zopiclon"), QStringLiteral("Zopi 7,5"), QStringLiteral("7,5 mg"), 20);
        const int n = packung(f, QStringLiteral("Pen-Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        for (int i = 1; i <= 3; ++i)
            einnahme(f, {p, a, heute, 30, 1, 0, 0, 0, 0, i});
        auto w = env.starten();
        Fenster fe(w.get());
        auto *datum = teil<QDateEdit>(w.get(), QStringLiteral("datumErsteinnahme"));
        auto *hilfe = teil<QCheckBox>(w.get(), QStringLiteral("auswahlHilfsmittel"));

        QCOMPARE(datum->date(), heute);
        fe.packungWaehlen(QStringLiteral("Zopi 7,5"));
        QCOMPARE(fe.text("anzeigeZuordnenPackung"), QStringLiteral("20"));
        tippen(fe.feld(QStringLiteral("Morgen")), QStringLiteral("1"));
        tippen(fe.feld(QStringLiteral("Abend")), QStringLiteral("0.5"));
        datum->setDate(heute.addDays(-5));
        fe.knopf("knopfEintragen");

        // Fourth line: last position, current, shown, one package in stock
        // on the first-intake day.
        const auto neu = Datei::zeilen(f, QStringLiteral("SELECT pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, "
                                                         "hilfe, ordnung FROM einnahme ORDER BY id DESC LIMIT 1"));
        QCOMPARE(neu.size(), 1);
        QCOMPARE(neu.at(0), (QVariantList{p, z, QStringLiteral("2026-12-01"), 20.0, 1.0, 0.0, 0.5, 0.0, 0, 4}));
        QCOMPARE(fe.zuordnung->rowCount(), 4);
        QCOMPARE(fe.zuordnung->currentRow(), 3);
        QCOMPARE(spalte(fe.zuordnung, 3).at(3), QStringLiteral("1-0-1/2-0"));
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("Zopiclon"));
        QCOMPARE(fe.text("detailAbend"), QStringLiteral("0.5"));
        QCOMPARE(fe.text("detailPackung"), QStringLiteral("20"));
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("12.5")); // 20 - 5 days x 1.5
        QCOMPARE(fe.uebersicht->rowCount(), 4);

        // The group is reset, the package choice included.
        QCOMPARE(fe.text("anzeigeZuordnenSorte"), QString());
        QCOMPARE(fe.text("anzeigeZuordnenDosis"), QString());
        QCOMPARE(fe.text("anzeigeZuordnenPackung"), QString());
        for (const char *zeit : {"Morgen", "Mittag", "Abend", "Nacht"})
            QCOMPARE(fe.feld(QString::fromLatin1(zeit))->text(), QString());
        QCOMPARE(datum->date(), heute);
        QCOMPARE(fe.sorten->currentRow(), -1);

        // A second "Eintragen" cannot add a line without stock.
        fe.knopf("knopfEintragen");
        QCOMPARE(zeilenImFile(f, p), 4);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.last().contains(QStringLiteral("Packung")));

        // An aid: stored with its flag, left out of the plan.
        fe.packungWaehlen(QStringLiteral("Nadeln 4 mm"));
        klicken(hilfe);
        QVERIFY(hilfe->isChecked());
        fe.knopf("knopfEintragen");
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT hilfe FROM einnahme WHERE med_id = ?"), {n}).toInt(), 1);
        QVERIFY(!hilfe->isChecked());
        QCOMPARE(fe.zuordnung->rowCount(), 5);
        QCOMPARE(fe.plan->rowCount(), 4);
        QCOMPARE(env.meldungen.size(), 1);
    }

    void eintragenOhnePatient()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        packung(f, QStringLiteral("A"), QStringLiteral("A-Tabs"));
        auto w = env.starten();
        Fenster fe(w.get());
        fe.packungWaehlen(QStringLiteral("A-Tabs"));
        fe.knopf("knopfEintragen");
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(QStringLiteral("Patient")));
        // The choice is kept for when a patient exists.
        QCOMPARE(fe.text("anzeigeZuordnenSorte"), QStringLiteral("A-Tabs"));
    }

    void dosen_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QVariant>("gespeichert"); // invalid: nothing stored
        QTest::newRow("Komma") << "Morgen" << "0,5" << QVariant(0.5);
        QTest::newRow("Punkt") << "Mittag" << "1.5" << QVariant(1.5);
        QTest::newRow("leer") << "Abend" << "" << QVariant(0.0);
        QTest::newRow("Blanks") << "Nacht" << " 2 " << QVariant(2.0);
        QTest::newRow("keine Zahl") << "Abend" << "1/2" << QVariant();
        QTest::newRow("Wort") << "Morgen" << "eine" << QVariant();
        QTest::newRow("negativ") << "Nacht" << "-1" << QVariant();
    }
    void dosen()
    {
        QFETCH(QString, zeit);
        QFETCH(QString, eingabe);
        QFETCH(QVariant, gespeichert);
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        packung(f, QStringLiteral("A"), QStringLiteral("A-Tabs"));
        auto w = env.starten();
        Fenster fe(w.get());

        fe.packungWaehlen(QStringLiteral("A-Tabs"));
        tippen(fe.feld(QStringLiteral("Mittag")), QStringLiteral("3"));
        tippen(fe.feld(zeit), eingabe);
        fe.knopf("knopfEintragen");

        if (gespeichert.isValid()) {
            QVERIFY(env.meldungen.isEmpty());
            const QString spalteName = zeit.toLower();
            QCOMPARE(Datei::wert(f, QStringLiteral("SELECT %1 FROM einnahme WHERE pat_id = ?").arg(spalteName), {p}),
                     gespeichert);
        } else {
            // Named in the message; nothing stored; what was typed stays.
            QCOMPARE(env.meldungen.size(), 1);
            QVERIFY2(env.meldungen.first().contains(QStringLiteral("\u201E") + zeit + QStringLiteral("\u201C")),
                     qPrintable(env.meldungen.first()));
            QCOMPARE(zeilenImFile(f, p), 0);
            QCOMPARE(fe.feld(zeit)->text(), eingabe);
            QCOMPARE(fe.feld(QStringLiteral("Mittag"))->text(), zeit == QLatin1String("Mittag") ? eingabe : QStringLiteral("3"));
            QCOMPARE(fe.text("anzeigeZuordnenSorte"), QStringLiteral("A-Tabs"));
            QCOMPARE(fe.zuordnung->rowCount(), 0);
        }
    }

    void loeschen()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        const int q = patient(f, QStringLiteral("Zorn"));
        const int a = packung(f, QStringLiteral("A"), QStringLiteral("A-Tabs"));
        const int b = packung(f, QStringLiteral("B"), QStringLiteral("B-Tabs"));
        const int c = packung(f, QStringLiteral("C"), QStringLiteral("C-Tabs"));
        const int ea = einnahme(f, {p, a, heute, 30, 1, 0, 0, 0, 0, 1});
        einnahme(f, {p, b, heute, 30, 1, 0, 0, 0, 0, 2});
        const int ec = einnahme(f, {p, c, heute, 30, 1, 0, 0, 0, 0, 3});
        einnahme(f, {q, c, heute, 30, 1, 0, 0, 0, 0, 1});
        auto w = env.starten();
        Fenster fe(w.get());

        // No current line: nothing is removed.
        QCOMPARE(fe.zuordnung->currentRow(), -1);
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(zeilenImFile(f, p), 3);

        // The second of three: the others close up, the first is shown.
        fe.zeileWaehlen(1);
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(positionen(f, p), (QStringList{QStringLiteral("%1:1").arg(ea), QStringLiteral("%1:2").arg(ec)}));
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "C"}));
        QCOMPARE(fe.zuordnung->currentRow(), 0);
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("A"));
        QCOMPARE(spalte(fe.uebersicht, 0), (QStringList{"A", "C"}));

        // The only line: table and details empty.
        patientWaehlen(w.get(), QStringLiteral("Zorn"));
        fe.zeileWaehlen(0);
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("C"));
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(zeilenImFile(f, q), 0);
        QCOMPARE(fe.zuordnung->rowCount(), 0);
        QCOMPARE(fe.uebersicht->rowCount(), 0);
        QCOMPARE(fe.text("detailMedizin"), QString());
        QCOMPARE(fe.text("detailBestand"), QString());
        QCOMPARE(fe.text("detailDatum"), QString());
        // With the table empty the button does nothing at all.
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(zeilenImFile(f, p), 2);
        QVERIFY(env.meldungen.isEmpty());
    }

    void verschieben()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        const int q = patient(f, QStringLiteral("Mohn"));
        const int r = patient(f, QStringLiteral("Zorn"));
        QVector<int> s;
        for (const char *n : {"A", "B", "C", "D"})
            s << packung(f, QString::fromLatin1(n), QString::fromLatin1(n) + QStringLiteral("-Tabs"));
        QVector<int> e;
        for (int i = 0; i < 4; ++i)
            e << einnahme(f, {p, s[i], heute, 30, 1, 0, 0, 0, 0, i + 1});
        QVector<int> andere;
        for (int i = 0; i < 3; ++i)
            andere << einnahme(f, {q, s[i], heute, 30, 1, 0, 0, 0, 0, i + 1});
        const int l1 = einnahme(f, {r, s[0], heute, 30, 1, 0, 0, 0, 0, 1});
        const int l3 = einnahme(f, {r, s[1], heute, 30, 1, 0, 0, 0, 0, 3});
        const int l5 = einnahme(f, {r, s[2], heute, 30, 1, 0, 0, 0, 0, 5});
        auto w = env.starten();
        Fenster fe(w.get());
        const QStringList andereVorher = positionen(f, q);

        // Without a current line neither arrow does anything.
        fe.knopf("knopfZuordnungHoch");
        fe.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "B", "C", "D"}));

        // The third of four up.
        fe.zeileWaehlen(2);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "C", "B", "D"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(fe.zuordnung->currentRow(), 1);
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT ordnung FROM einnahme WHERE id = ?"), {e[2]}).toInt(), 2);
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT ordnung FROM einnahme WHERE id = ?"), {e[1]}).toInt(), 3);
        QCOMPARE(positionen(f, q), andereVorher);
        QCOMPARE(spalte(fe.uebersicht, 0), (QStringList{"A", "C", "B", "D"}));
        QCOMPARE(spalte(fe.plan, 0), (QStringList{"A", "C", "B", "D"}));

        // And down again.
        fe.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(fe.zuordnung->currentRow(), 2);

        // The first cannot go up, the last cannot go down; both stay current.
        fe.zeileWaehlen(0);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(fe.zuordnung->currentRow(), 0);
        fe.zeileWaehlen(3);
        fe.knopf("knopfZuordnungRunter");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(fe.zuordnung->currentRow(), 3);
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("D"));
        QCOMPARE(positionen(f, q), andereVorher);

        // Across a gap the line takes the free position; the order stays.
        patientWaehlen(w.get(), QStringLiteral("Zorn"));
        fe.zeileWaehlen(1);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "B", "C"}));
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "5"}));
        QCOMPARE(fe.zuordnung->currentRow(), 1);
        QCOMPARE(positionen(f, r), (QStringList{QStringLiteral("%1:1").arg(l1), QStringLiteral("%1:2").arg(l3),
                                                QStringLiteral("%1:5").arg(l5)}));
        fe.zeileWaehlen(2);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "2", "4"}));
        QCOMPARE(fe.zuordnung->currentRow(), 2);
        QCOMPARE(positionen(f, p).size(), 4);
        QCOMPARE(positionen(f, q), andereVorher);
        QCOMPARE(Datei::wert(f, QStringLiteral("SELECT count(*) FROM einnahme WHERE ordnung = 9999")).toInt(), 0);
        QVERIFY(env.meldungen.isEmpty());
    }

    // A failing step leaves the positions as they were, never half done.
    void allesOderNichts()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        QVector<int> e;
        for (int i = 0; i < 4; ++i)
            e << einnahme(f, {p, packung(f, QString(QLatin1Char(char('A' + i))), QStringLiteral("x")), heute, 30, 1, 0, 0, 0, 0, i + 1});
        // The last of the renumbering updates fails.
        Datei::ausfuehren(f, QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE OF ordnung ON einnahme "
                                            "WHEN NEW.id = %1 AND NEW.ordnung = 3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END")
                                 .arg(e[3]));
        auto w = env.starten();
        Fenster fe(w.get());

        fe.zeileWaehlen(1);
        fe.knopf("knopfZuordnungLoeschen");
        QCOMPARE(env.meldungen.size(), 1);
        QCOMPARE(positionen(f, p), (QStringList{QStringLiteral("%1:1").arg(e[0]), QStringLiteral("%1:3").arg(e[2]),
                                                QStringLiteral("%1:4").arg(e[3])}));
        // The table shows what the file holds.
        QCOMPARE(spalte(fe.zuordnung, 4), (QStringList{"1", "3", "4"}));

        // The last of the three swap updates fails: nobody is left on 9999.
        Datei::ausfuehren(f, QStringLiteral("DROP TRIGGER sperre"));
        Datei::ausfuehren(f, QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE OF ordnung ON einnahme "
                                            "WHEN OLD.ordnung = 9999 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
        fe.zeileWaehlen(2);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(env.meldungen.size(), 2);
        QCOMPARE(positionen(f, p), (QStringList{QStringLiteral("%1:1").arg(e[0]), QStringLiteral("%1:3").arg(e[2]),
                                                QStringLiteral("%1:4").arg(e[3])}));
        QCOMPARE(spalte(fe.zuordnung, 1), (QStringList{"A", "C", "D"}));
        QCOMPARE(fe.zuordnung->currentRow(), 2);
    }

    // The cache has an entry for every line, however many there are.
    void sechzigZeilen()
    {
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        const int p = patient(f, QStringLiteral("Berg"));
        const int q = patient(f, QStringLiteral("Zorn"));
        const int s = packung(f, QStringLiteral("Mittel"), QStringLiteral("Mittel-Tabs"), QStringLiteral("1 mg"), 50);
        for (int i = 1; i <= 60; ++i)
            einnahme(f, {p, s, heute.addDays(-i), 100 + i, 1, 0, 0, 0, i % 10 == 0 ? 1 : 0, i});
        einnahme(f, {q, s, heute, 7, 1, 0, 0, 0, 0, 1});
        auto w = env.starten();
        Fenster fe(w.get());

        QCOMPARE(fe.zuordnung->rowCount(), 60);
        QCOMPARE(fe.uebersicht->rowCount(), 60);
        QCOMPARE(fe.plan->rowCount(), 54); // six aids left out
        QCOMPARE(spalte(fe.uebersicht, 2).at(0), QStringLiteral("100"));
        QCOMPARE(spalte(fe.uebersicht, 2).at(59), QStringLiteral("100"));
        for (int z = 0; z < 60; ++z)
            QVERIFY(balken(fe.uebersicht, z));

        fe.zeileWaehlen(59);
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("100"));
        QCOMPARE(fe.text("detailMedizin"), QStringLiteral("Mittel"));

        // A 61st line, then moving it.
        fe.packungWaehlen(QStringLiteral("Mittel-Tabs"));
        fe.knopf("knopfEintragen");
        QCOMPARE(fe.zuordnung->rowCount(), 61);
        QCOMPARE(fe.zuordnung->currentRow(), 60);
        QCOMPARE(spalte(fe.zuordnung, 4).at(60), QStringLiteral("61"));
        QCOMPARE(fe.text("detailBestand"), QStringLiteral("50"));
        QCOMPARE(fe.uebersicht->rowCount(), 61);
        fe.knopf("knopfZuordnungHoch");
        QCOMPARE(fe.zuordnung->currentRow(), 59);
        QCOMPARE(spalte(fe.uebersicht, 2).at(59), QStringLiteral("50"));
        QCOMPARE(spalte(fe.uebersicht, 2).at(60), QStringLiteral("100"));

        // A patient with one line afterwards: nothing of the long list is left.
        patientWaehlen(w.get(), QStringLiteral("Zorn"));
        QCOMPARE(fe.zuordnung->rowCount(), 1);
        QCOMPARE(fe.uebersicht->rowCount(), 1);
        QCOMPARE(fe.plan->rowCount(), 1);
        QCOMPARE(spalte(fe.uebersicht, 2), QStringList{QStringLiteral("7")});
        QVERIFY(env.meldungen.isEmpty());
    }
};

QTEST_MAIN(EinnahmeTest)
#include "tst_einnahme.moc"
