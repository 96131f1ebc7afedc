// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Rezeptbedarf": what every patient must order, marking what was
// requested, and what a booking or another program does to it.
#include "fensterhilfe.h"

namespace {

const QString konfliktSatz = QStringLiteral(
    "Dieser Eintrag wurde inzwischen an anderer Stelle ge\u00E4ndert oder gel\u00F6scht; es wurde nichts gespeichert, "
    "und die Anzeige zeigt jetzt den gespeicherten Stand.");

QTableWidget *liste(const Welt &t)
{
    return t.tabelle("tabelleRezeptbedarf");
}

// Brings the page to the front, as a click on its tab does.
void zeigen(const Welt &t)
{
    seiteZeigen(liste(t));
}

// The visible cells of each row, joined by "|".
QStringList zeilen(const Welt &t)
{
    QStringList z;
    QTableWidget *l = liste(t);
    for (int r = 0; r < l->rowCount(); ++r) {
        QStringList zellen;
        for (int s = 1; s < l->columnCount(); ++s)
            zellen << (l->item(r, s) ? l->item(r, s)->text() : QStringLiteral("<keine Zelle>"));
        z << zellen.join('|');
    }
    return z;
}

QColor hintergrund(QTableWidget *t, int zeile, int spalte)
{
    const QBrush b = t->item(zeile, spalte)->background();
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

// Patient, trade name, last day and its mark of each row.
QStringList kurz(const Welt &t)
{
    QStringList z;
    QTableWidget *l = liste(t);
    for (int r = 0; r < l->rowCount(); ++r) {
        const QColor c = hintergrund(l, r, 6);
        z << QStringList{l->item(r, 1)->text(), l->item(r, 3)->text(), l->item(r, 6)->text(),
                         c == QColor(Qt::red)      ? "rot"
                         : c == QColor(Qt::yellow) ? "gelb"
                                                   : ""}
                 .join('|');
    }
    return z;
}

// What the empty list says; "" while it shows rows.
QString hinweis(const Welt &t)
{
    auto *l = liste(t)->viewport()->findChild<QLabel *>("tabelleRezeptbedarfHinweis");
    return l && !l->isHidden() ? l->text() : QString();
}

// Types the day into "bis", digits only as the field moves on by itself,
// and confirms it with Enter.
void bisTippen(const Welt &t, const QDate &tag)
{
    auto *feld = teil<QDateEdit>(t.w.get(), "datumBedarfBis");
    seiteZeigen(feld);
    feld->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(feld, tag.toString("ddMMyyyy"));
    QTest::keyClick(feld, Qt::Key_Return);
}

// Chooses rows of the list with Ctrl held, as a user picks several.
void auswaehlen(const Welt &t, const QList<int> &reihen)
{
    QTableWidget *l = liste(t);
    seiteZeigen(l);
    for (int i = 0; i < reihen.size(); ++i)
        QTest::mouseClick(l->viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          l->visualItemRect(l->item(reihen.at(i), 1)).center());
}

// A double click on a row, as the mouse sends it: a click, then the second press.
void doppelklicken(const Welt &t, int reihe)
{
    QTableWidget *l = liste(t);
    seiteZeigen(l);
    const QPoint punkt = l->visualItemRect(l->item(reihe, 3)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, punkt);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, punkt);
}

// Open requests in the file: "line key|requested|closed".
QStringList anforderungen(const Welt &t)
{
    QStringList a;
    if (!Datei::tabellen(t.f).contains("anforderung"))
        return a;
    for (const QVariantList &z : Datei::zeilen(t.f, "SELECT einnahme_id, angefordert, erledigt FROM anforderung "
                                                    "ORDER BY id"))
        a << z.value(0).toString() + '|' + z.value(1).toString() + '|' + z.value(2).toString();
    return a;
}

} // namespace

class RezeptbedarfTest : public QObject
{
    Q_OBJECT
private slots:
    // 30 units counted 10 days ago at 2 a day: 10 left, the last on
    // today + 4, out on today + 5; up to today + 28 + 7 that is 70 units,
    // 60 more than in stock: three packages of 20.
    void rechenbeispiel()
    {
        Welt t;
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.starten();
        zeigen(t);
        QCOMPARE(zeilen(t), QStringList{"Berg, Anna|Ramipril|Ramilich 5|5 mg|10|10.12.2026|3||"});
        QCOMPARE(kurz(t), QStringList{"Berg, Anna|Ramilich 5|10.12.2026|gelb"});
        QCOMPARE(liste(t)->item(0, 7)->toolTip(), "je 20 Einheiten");
        QCOMPARE(liste(t)->horizontalHeaderItem(7)->text(), "Packungen");
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A stock of 10 days (the last on today + 9): listed when the day it
    // must last to, "bis" or the next family-doctor appointment, whichever
    // is later, lies after its last day.
    void schwellen_data()
    {
        QTest::addColumn<int>("bis");
        QTest::addColumn<QString>("arzt");
        QTest::addColumn<int>("termin");
        QTest::addColumn<bool>("haken");
        QTest::addColumn<bool>("gelistet");
        QTest::newRow("bis am letzten Tag") << 9 << QString() << 0 << true << false;
        QTest::newRow("bis am Tag danach") << 10 << QString() << 0 << true << true;
        QTest::newRow("Termin am letzten Tag") << 0 << "Hausarzt" << 9 << true << false;
        QTest::newRow("Termin am Tag danach") << 0 << "Hausarzt" << 10 << true << true;
        QTest::newRow("Termin am Tag danach, ohne Haken") << 0 << "Hausarzt" << 10 << false << false;
        QTest::newRow("Termin vor bis") << 10 << "Hausarzt" << 3 << true << true;
        QTest::newRow("Termin eines Facharztes") << 0 << "Dr. Kunz" << 10 << true << false;
    }
    void schwellen()
    {
        QFETCH(int, bis);
        QFETCH(QString, arzt);
        QFETCH(int, termin);
        QFETCH(bool, haken);
        QFETCH(bool, gelistet);
        Welt t;
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 20, 1, 0, 1, 0, 1);
        if (!arzt.isEmpty())
            t.termin(p, arzt, heute.addDays(termin));
        t.starten();
        zeigen(t);
        if (!haken)
            t.knopf("auswahlBisHausarzt");
        bisTippen(t, heute.addDays(bis));
        QCOMPARE(teil<QDateEdit>(t.w.get(), "datumBedarfBis")->date(), heute.addDays(bis));
        QCOMPARE(liste(t)->rowCount(), gelistet ? 1 : 0);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // Lines whose values cannot be used first, then by the last day with
    // stock, the patient's name and the patient's order of lines; used up
    // in red, under four weeks in yellow. Lines without daily use and lines
    // lasting long enough are not listed.
    void reihenfolge()
    {
        Welt t;
        const int adam = t.patient("Adam");
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        auto packung = [&](const char *name) { return t.packung("Ramipril", name); };
        const int z = t.einnahme(zorn, packung("Z"), heute, 30, 1, 0, 0, 0, 1);
        Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = NULL WHERE id = ?", {z});
        t.einnahme(berg, packung("B3"), heute, 3, 1, 0, 0, 0, 3);
        t.einnahme(berg, packung("B1"), heute.addDays(-10), 5, 1, 0, 0, 0, 1); // out five days ago
        t.einnahme(berg, packung("B2"), heute, 3, 1, 0, 0, 0, 2);
        t.einnahme(adam, packung("A2"), heute, 40, 1, 0, 0, 0, 1); // lasts 40 days, the doctor is in 45
        t.einnahme(adam, packung("A1"), heute, 3, 1, 0, 0, 0, 3);
        t.einnahme(zorn, packung("Z2"), heute, 1, 1, 0, 0, 0, 2); // the last today: not used up yet
        t.einnahme(berg, packung("Nadeln"), heute, 0, 0, 0, 0, 0, 4, 1);
        t.einnahme(berg, packung("Lang"), heute, 100, 1, 0, 0, 0, 5);
        t.termin(adam, "Hausarzt", heute.addDays(45));
        t.starten();
        zeigen(t);
        QCOMPARE(kurz(t), (QStringList{"Zorn, Anna|Z|ung\u00FCltig|", "Berg, Anna|B1|30.11.2026|rot",
                                       "Zorn, Anna|Z2|06.12.2026|gelb", "Adam, Anna|A1|08.12.2026|gelb",
                                       "Berg, Anna|B2|08.12.2026|gelb", "Berg, Anna|B3|08.12.2026|gelb",
                                       "Adam, Anna|A2|14.01.2027|"}));
        // The reason is offered where the figures would be.
        QCOMPARE(liste(t)->item(0, 5)->text() + '|' + liste(t)->item(0, 7)->text(), "ung\u00FCltig|ung\u00FCltig");
        QCOMPARE(liste(t)->item(0, 6)->toolTip(), "Bestand fehlt");
        QCOMPARE(spalte(liste(t), 8), (QStringList{"", "", "", "20.01.2027", "", "", "20.01.2027"}));
    }

    // Units per package missing or zero: no figure, and why.
    void ohnePackungsgroesse()
    {
        Welt t;
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Null", "5 mg", 0), heute, 3, 1, 0, 0, 0, 1);
        t.einnahme(p, 999, heute, 3, 1, 0, 0, 0, 2); // its package was deleted
        t.starten();
        zeigen(t);
        QCOMPARE(spalte(liste(t), 7), (QStringList{"?", "?"}));
        QVERIFY(liste(t)->item(0, 7)->toolTip().contains("Einheiten"));
        QVERIFY(liste(t)->item(1, 7)->toolTip().contains("Einheiten"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // No patients, nothing to order: one sentence each.
    void leereListe()
    {
        Welt t;
        t.starten();
        zeigen(t);
        QVERIFY2(hinweis(t).contains("kein Patient"), qPrintable(hinweis(t)));

        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5"), heute, 100, 1, 0, 0, 0, 1);
        t.w.reset();
        t.starten();
        zeigen(t);
        QCOMPARE(hinweis(t), "Bis zum 03.01.2027 und bis zum n\u00E4chsten Hausarzttermin reicht bei jedem Patienten "
                             "der Bestand: Es muss nichts bestellt werden.");
        t.knopf("auswahlBisHausarzt");
        QCOMPARE(hinweis(t), "Bis zum 03.01.2027 reicht bei jedem Patienten der Bestand: Es muss nichts bestellt "
                             "werden.");
        bisTippen(t, heute.addDays(200));
        QCOMPARE(hinweis(t), QString());
        QCOMPARE(liste(t)->rowCount(), 1);
    }

    // A day before today is refused: said, the day goes back, the list stays.
    void bisVorHeute()
    {
        Welt t;
        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5"), heute, 20, 1, 0, 0, 0, 1);
        t.starten();
        zeigen(t);
        bisTippen(t, heute.addDays(5));
        const QStringList vorher = zeilen(t);
        QCOMPARE(vorher.size(), 0);
        bisTippen(t, heute.addDays(-1));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains("05.12.2026") && t.env.meldungen.first().contains("vor heute"),
                 qPrintable(t.env.meldungen.first()));
        QCOMPARE(teil<QDateEdit>(t.w.get(), "datumBedarfBis")->date(), heute.addDays(5));
        QCOMPARE(zeilen(t), vorher);
        // Today itself is a day to read the list for.
        bisTippen(t, heute);
        QCOMPARE(t.env.meldungen.size(), 1);
    }

    // Read when its page comes to the front, and not while another is.
    void wartetAufSeineSeite()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int a = t.einnahme(p, t.packung("Ramipril", "Ramilich 5", "5 mg", 5), heute, 10, 1, 0, 0, 0, 1);
        t.starten();
        QCOMPARE(liste(t)->rowCount(), 0);
        zeigen(t);
        QCOMPARE(spalte(liste(t), 5), QStringList{"10"});

        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfApotheke", [](QDialog *d) { druecken(d, "Eintragen"); }));
        QCOMPARE(zeile(t, a, "stand"), QStringList{"15"});
        QCOMPARE(spalte(liste(t), 5), QStringList{"10"});
        zeigen(t);
        QCOMPARE(spalte(liste(t), 5), QStringList{"15"});
    }

    // Another "bis" or a click on the check box choose from the list as
    // read, yet never from a list of an earlier day or of a file changed
    // since: the next day and a stock changed by another program show at
    // the next click.
    void nieVeraltet()
    {
        Welt t;
        const int a = t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 10, 1, 0, 0,
                                 0, 1);
        t.patient("Zorn");
        t.starten();
        zeigen(t);
        // 10 units last until today + 9.
        bisTippen(t, heute.addDays(9));
        QCOMPARE(liste(t)->rowCount(), 0);
        bisTippen(t, heute.addDays(28));
        QCOMPARE(spalte(liste(t), 5), QStringList{"10"});

        // The window takes the time when a patient is chosen.
        const auto umschalten = [&t] { klicken(teil<QAbstractButton>(t.w.get(), "auswahlBisHausarzt")); };
        t.env.zeit = t.env.zeit.addDays(1);
        t.patientWaehlen("Zorn");
        zeigen(t);
        umschalten();
        QCOMPARE(spalte(liste(t), 5), QStringList{"9"});

        Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = 12 WHERE id = ?", {a});
        Datei::mitteilen(t.w.get(), t.f);
        umschalten();
        QCOMPARE(spalte(liste(t), 5), QStringList{"11"});
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // An appointment, a package's size and a patient's name changed on the
    // other pages reach the list when it is shown again.
    void folgtDenAnderenSeiten()
    {
        Welt t;
        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", 10), heute, 40, 1, 0, 0, 0, 1);
        mitListen(t, {});
        zeigen(t);
        QCOMPARE(liste(t)->rowCount(), 0);

        // Up to the visit in 45 days and a week more: 12 units, in packages of 10.
        t.patientWaehlen("Berg");
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [](QDialog *d) {
            teil<QDateEdit>(d, "terminNeuDatum")->setDate(heute.addDays(45));
            druecken(d, "Termin eintragen");
        }));
        zeigen(t);
        QCOMPARE(zeilen(t), QStringList{"Berg, Anna|Ramipril|Ramilich 5|5 mg|40|14.01.2027|2|20.01.2027|"});

        t.waehlen("tabelleMedikamente", 1, "Ramipril");
        zelleKlicken(t.tabelle("tabelleSorten"), 0, 2);
        tippe(t, "editSorteNeuPackung", "50");
        t.knopf("knopfSorteAendern");
        zeigen(t);
        QCOMPARE(spalte(liste(t), 7), QStringList{"1"});
        zelleKlicken(t.tabelle("tabellePatienten"), 0, 1);
        tippe(t, "editName", "Bergmann");
        t.knopf("knopfPatientAendern");
        zeigen(t);
        QCOMPARE(zeilen(t), QStringList{"Bergmann, Anna|Ramipril|Ramilich 5|5 mg|40|14.01.2027|1|20.01.2027|"});
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A long list: cells are made for the rows in view, and for the others
    // as they come into view; End reaches the last row and its patient.
    void langeListe()
    {
        Welt t;
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg", 20);
        for (int i = 1; i <= 80; ++i)
            t.einnahme(t.patient(QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0'))), rami, heute, i % 20, 1, 0, 0,
                       0, 1);
        t.starten();
        zeigen(t);
        QTableWidget *l = liste(t);
        QCOMPARE(l->rowCount(), 80);
        QVERIFY(l->item(0, 1) && !l->item(79, 1));
        zelleKlicken(l, 0, 1);
        QTest::keyClick(l, Qt::Key_End);
        QCOMPARE(l->currentRow(), 79);
        QVERIFY(l->item(79, 1));
        QVERIFY(t.text("kopfzeilePatient").contains(l->item(79, 1)->text().section(',', 0, 0)));
        // The last rows: stock 19, by patient.
        QCOMPARE(l->item(79, 1)->text() + '|' + l->item(79, 5)->text(), "P79, Anna|19");
    }

    // A click chooses the patient and line everywhere; a double click opens
    // the pharmacy window for that line.
    void klickUndDoppelklick()
    {
        Welt t;
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        t.einnahme(berg, t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 2, 1, 0, 0, 0, 1);
        t.einnahme(zorn, t.packung("ASS", "Aspirin", "100 mg", 50), heute, 40, 1, 0, 0, 0, 1);
        const int b = t.einnahme(zorn, t.packung("Torasemid", "Tora", "10 mg", 30), heute, 5, 1, 0, 0, 0, 2);
        t.starten();
        zeigen(t);
        QCOMPARE(spalte(liste(t), 3), (QStringList{"Ramilich 5", "Tora"}));

        zelleKlicken(liste(t), 1, 2);
        QVERIFY(t.text("kopfzeilePatient").contains("Zorn"));
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 1);
        QCOMPARE(t.text("detailMedizin"), "Torasemid");

        QStringList gezeigt;
        QVERIFY(imFenster([&] { doppelklicken(t, 1); },
                          [&](QDialog *d) {
                              gezeigt = beschriftungen(d);
                              tippen(teil<QLineEdit>(d, "fensterPackungen"), "2");
                              druecken(d, "Eintragen");
                          }));
        QVERIFY2(gezeigt.contains("Tora"), qPrintable(gezeigt.join('|')));
        QCOMPARE(zeile(t, b, "stand, tag"), (QStringList{"65", "2026-12-06"}));
        // 65 units last beyond the day: the line has left the list.
        QCOMPARE(spalte(liste(t), 3), QStringList{"Ramilich 5"});
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // Rows marked as requested today, a mark taken back, a request closed
    // by a booking; the file still opens in earlier versions.
    void anfordern()
    {
        Welt t;
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        const int a = t.einnahme(berg, t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 2, 1, 0, 0, 0, 1);
        t.einnahme(zorn, t.packung("ASS", "Aspirin", "100 mg", 50), heute, 4, 1, 0, 0, 0, 1);
        const int c = t.einnahme(zorn, t.packung("Torasemid", "Tora", "10 mg", 30), heute, 6, 1, 0, 0, 0, 2);
        const QList<QVariantList> schema =
            aufServer() ? QList<QVariantList>()
                        : Datei::zeilen(t.f, "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name <> "
                                             "'sqlite_sequence' ORDER BY name");
        t.starten();
        zeigen(t);
        QCOMPARE(spalte(liste(t), 3), (QStringList{"Ramilich 5", "Aspirin", "Tora"}));

        // Nothing chosen: said, and no table made.
        t.knopf("knopfAngefordert");
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(!Datei::tabellen(t.f).contains("anforderung"));

        auswaehlen(t, {0, 2});
        t.knopf("knopfAngefordert");
        QCOMPARE(anforderungen(t), (QStringList{QString("%1|2026-12-06|").arg(a), QString("%1|2026-12-06|").arg(c)}));
        QCOMPARE(spalte(liste(t), 9), (QStringList{"06.12.2026", "", "06.12.2026"}));
        QCOMPARE(liste(t)->selectionModel()->selectedRows().size(), 2);

        // Taken back for the one chosen; a row without a request is passed over.
        auswaehlen(t, {1, 2});
        t.knopf("knopfAnforderungZuruecknehmen");
        QCOMPARE(anforderungen(t), QStringList{QString("%1|2026-12-06|").arg(a)});
        QCOMPARE(spalte(liste(t), 9), (QStringList{"06.12.2026", "", ""}));

        // The mark and its taking back stand in the line's history.
        const QList<QVariantList> verlauf = Datei::zeilen(
            t.f, "SELECT art, alt, neu FROM verlauf WHERE einnahme_id = ? ORDER BY id", {c});
        QCOMPARE(verlauf.size(), 2);
        QCOMPARE(verlauf.value(0), (QVariantList{"Rezept angefordert", "", "angefordert am 06.12.2026"}));
        QCOMPARE(verlauf.value(1), (QVariantList{"Anforderung zur\u00FCckgenommen", "angefordert am 06.12.2026", ""}));

        // A booking taken back leaves the request open; bought packages close it.
        const auto buchen = [&t](const QString &packungen) {
            return imFenster([&] { doppelklicken(t, spalte(liste(t), 3).indexOf("Ramilich 5")); },
                             [packungen](QDialog *d) {
                                 tippen(teil<QLineEdit>(d, "fensterPackungen"), packungen);
                                 druecken(d, "Eintragen");
                             });
        };
        QVERIFY(buchen("-1"));
        QCOMPARE(zeile(t, a, "stand"), QStringList{"-18"});
        QCOMPARE(anforderungen(t), QStringList{QString("%1|2026-12-06|").arg(a)});
        QVERIFY(buchen("2"));
        QCOMPARE(zeile(t, a, "stand"), QStringList{"22"});
        QCOMPARE(anforderungen(t), QStringList{QString("%1|2026-12-06|2026-12-06").arg(a)});
        QCOMPARE(spalte(liste(t), 9), (QStringList{"", "", ""}));

        // The five tables as before, and the file is one an earlier version opens.
        if (aufServer())
            return;
        QCOMPARE(schema.size(), 5);
        for (const QVariantList &tabelle : schema)
            QCOMPARE(Datei::wert(t.f, "SELECT sql FROM sqlite_master WHERE name = ?", {tabelle.value(0)}),
                     tabelle.value(1));
        QCOMPARE(datenbankMangel(t.f), QString());
        QCOMPARE(t.env.meldungen.size(), 1);
    }

    // A booking makes no table of requests in a file that has none.
    void buchenOhneAnforderungen()
    {
        Welt t;
        const int a = t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 2, 1, 0, 0,
                                 0, 1);
        t.starten();
        zeigen(t);
        QVERIFY(imFenster([&] { doppelklicken(t, 0); }, [](QDialog *d) { druecken(d, "Eintragen"); }));
        QCOMPARE(zeile(t, a, "stand"), QStringList{"22"});
        QVERIFY(!Datei::tabellen(t.f).contains("anforderung"));
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A line removed, or a request made or closed elsewhere after the list
    // showed it: nothing is written, the user is told, the list shows the file.
    void anderswoGeaendert()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int a = t.einnahme(p, t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 2, 1, 0, 0, 0, 1);
        const int b = t.einnahme(p, t.packung("ASS", "Aspirin", "100 mg", 50), heute, 4, 1, 0, 0, 0, 2);
        t.starten();
        zeigen(t);

        // Chosen first: a click in the list reads what changed elsewhere.
        auswaehlen(t, {0, 1});
        Datei::ausfuehren(t.f, "DELETE FROM einnahme WHERE id = ?", {a});
        t.knopf("knopfAngefordert");
        QCOMPARE(t.env.meldungen, QStringList{konfliktSatz});
        QVERIFY(!Datei::tabellen(t.f).contains("anforderung"));
        QCOMPARE(spalte(liste(t), 3), QStringList{"Aspirin"});

        // Requested by another program meanwhile: its request stays alone.
        auswaehlen(t, {0});
        Datei::ausfuehren(t.f, "CREATE TABLE anforderung (id INTEGER PRIMARY KEY AUTOINCREMENT, einnahme_id INTEGER, "
                               "angefordert DATE, erledigt DATE)");
        Datei::ausfuehren(t.f, "INSERT INTO anforderung (einnahme_id, angefordert) VALUES (?, '2026-12-05')", {b});
        t.knopf("knopfAngefordert");
        QCOMPARE(t.env.meldungen.size(), 2);
        QCOMPARE(anforderungen(t), QStringList{QString("%1|2026-12-05|").arg(b)});
        QCOMPARE(spalte(liste(t), 9), QStringList{"05.12.2026"});

        // Closed by a booking elsewhere: not taken back here.
        auswaehlen(t, {0});
        Datei::ausfuehren(t.f, "UPDATE anforderung SET erledigt = '2026-12-06'");
        t.knopf("knopfAnforderungZuruecknehmen");
        QCOMPARE(t.env.meldungen, (QStringList{konfliktSatz, konfliktSatz, konfliktSatz}));
        QCOMPARE(anforderungen(t), QStringList{QString("%1|2026-12-05|2026-12-06").arg(b)});
        QCOMPARE(spalte(liste(t), 9), QStringList{""});
    }
};

QTEST_MAIN(RezeptbedarfTest)
#include "tst_rezeptbedarf.moc"
