// SPDX-License-Identifier: GPL-3.0-or-later
// The printed regulation plan and medication list, read back from the files.
#include "einnahmedaten.h"

#include <QtWidgets>

namespace {

// A pattern for texts that follow each other, with any blanks between.
QRegularExpression folge(const QStringList &texte)
{
    QStringList m;
    for (const QString &z : texte)
        m << QRegularExpression::escape(z);
    return QRegularExpression(m.join("\\s+"));
}

// The printable area's corner in points, where the drawing's coordinates
// (1200 dpi) start.
QPointF rand(const QString &pdf)
{
    return QPdfWriter(pdf + ".unbenutzt").pageLayout().paintRectPoints().topLeft();
}

// Page 1 rendered at 72 dpi.
QImage gerendert(const QString &pdf)
{
    const QString bild = QFileInfo(pdf).absolutePath() + "/bild";
    ausfuehren("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, bild});
    return QImage(bild + ".png");
}

// The colour at each x of the line y in the drawing's coordinates: "w"hite,
// "g"rey (the range bar), "y"ellow, "r"ed or the colour's name.
QString farben(const QImage &bild, const QPointF &rand, int y, const QList<int> &xs)
{
    const QHash<QString, QString> art{{"#ffffff", "w"}, {"#f5f5f5", "g"}, {"#ffff00", "y"}, {"#ff0000", "r"}};
    QString t;
    for (int x : xs) {
        const QString farbe = bild.pixelColor((rand + QPointF(x, y) * 0.06).toPoint()).name();
        t += art.value(farbe, farbe);
    }
    return t;
}

// A word as pdftotext finds it, its box in the drawing's coordinates.
struct Wort {
    QString text;
    QRectF box;
};

// The words of each page, in reading order.
QList<QList<Wort>> woerter(const QString &pdf)
{
    const QPointF ecke = rand(pdf);
    const QString html = ausfuehren("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression muster(
        R"x(<page |<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)x");
    auto einheiten = [&](const QString &x, const QString &y) {
        return (QPointF(x.toDouble(), y.toDouble()) - ecke) / 0.06;
    };
    QList<QList<Wort>> seiten;
    for (auto it = muster.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).isEmpty()) {
            seiten << QList<Wort>();
            continue;
        }
        QString text = m.captured(5);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
        seiten.last() << Wort{text,
                              QRectF(einheiten(m.captured(1), m.captured(2)), einheiten(m.captured(3), m.captured(4)))};
    }
    return seiten;
}

// The words of text, found one after the other among a page's words.
QList<Wort> finden(const QList<Wort> &seite, const QString &text)
{
    QList<Wort> gefunden;
    int i = 0;
    for (const QString &w : text.split(' ', Qt::SkipEmptyParts)) {
        while (i < seite.size() && seite.at(i).text != w)
            ++i;
        if (i < seite.size())
            gefunden << seite.at(i++);
    }
    return gefunden;
}

// Words read as written: on along a line, or on at the start of a lower one.
bool lesefolge(const QList<Wort> &w)
{
    for (int i = 1; i < w.size(); ++i) {
        const QRectF &vorher = w.at(i - 1).box, &jetzt = w.at(i).box;
        const bool weiter = qAbs(jetzt.top() - vorher.top()) < 20 ? jetzt.left() > vorher.right()
                                                                  : jetzt.top() >= vorher.bottom();
        if (!weiter)
            return false;
    }
    return true;
}

// Where the words of a list reach to, together.
QRectF umriss(const QList<Wort> &w)
{
    QRectF r;
    for (const Wort &x : w)
        r = r.isNull() ? x.box : r.united(x.box);
    return r;
}

struct Druck : Welt {
    QString ordner = env.basis() + "/Ausdrucke";

    Druck() { QDir().mkpath(ordner); }
    // Prints through the menu entry, answering the file dialog with name,
    // taken as in the printouts' folder unless absolute; "" cancels.
    void drucken(const char *aktion, const QString &name)
    {
        env.dateiAntworten << (name.isEmpty() ? name : pfad(name));
        menue(w.get(), aktion);
    }
    void plan(const QString &name) { drucken("aktionVerordnungsplan", name); }
    void liste(const QString &name) { drucken("aktionMedikamentenplan", name); }
    QString pfad(const QString &name) const { return QDir(ordner).filePath(name); }
    // The text of each page of a printout, laid out as printed.
    QStringList gedruckt(const QString &name) const
    {
        return ausfuehren("pdftotext", {"-layout", pfad(name), "-"}).split('\f', Qt::SkipEmptyParts);
    }
};
const QString planFuss = QStringLiteral("Verordnungsplan erstellt am: 06.12.2026 mit TIRVAkesh - Kalvoria");
const QString anforderungsFuss = QStringLiteral("Rezeptanforderung erstellt am: 06.12.2026 mit TIRVAkesh - Kalvoria");
const QString listenFuss = QStringLiteral("Medikamentenliste erstellt am: 06.12.2026 mit TIRVAkesh - Kalvoria");

} // namespace

class PdfTest : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> geoeffnet;
public slots:
    void oeffnen(const QUrl &url) { geoeffnet << url; }

private slots:
    void init()
    {
        geoeffnet.clear();
        QDesktopServices::setUrlHandler("file", this, "oeffnen");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler("file"); }

    // The plan gives the doses as on screen without aids; the list shows the
    // overview's figures and marks, its bar never leaving its cell.
    void planUndListe()
    {
        Druck t;
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Rami"), heute.addDays(-4), 30, 1, 0, 1, 0, 1); // 11 days: out before
        t.einnahme(p, t.packung("Torasemid", "Tora"), heute, 20, 0.5, 0, 0.5, 0, 2);        // 20 days: under 4 weeks
        t.einnahme(p, t.packung("Lisinopril", "Lange"), heute, 100.5, 1.5, 0, 0, 0, 3);     // 67 days
        t.einnahme(p, t.packung("Levothyroxin", "Leer"), heute.addDays(-10), 5, 1, 0, 0, 0, 4); // used up
        t.einnahme(p, t.packung("Pen-Nadeln", "Nadeln"), heute, 100, 0, 0, 0, 0, 5, 1); // an aid, no consumption
        t.termin(p, "Hausarzt", heute.addDays(14));
        t.starten();
        t.patientWaehlen("Berg");
        t.plan("plan.pdf");
        t.liste("liste.pdf");

        const QStringList plan = t.gedruckt("plan.pdf"), liste = t.gedruckt("liste.pdf");
        QCOMPARE(plan.size(), 1);
        QCOMPARE(liste.size(), 1);
        QVERIFY2(plan[0].contains(folge({"Nacht", "Ramipril",     "Rami",  "5 mg", "1",   "0", "1",
                                         "0",     "Torasemid",    "Tora",  "5 mg", "1/2", "0", "1/2",
                                         "0",     "Lisinopril",   "Lange", "5 mg", "1.5", "0", "0",
                                         "0",     "Levothyroxin", "Leer",  "5 mg", "1",   "0", "0",
                                         "0",     planFuss})),
                 qPrintable(plan[0]));
        QVERIFY2(!plan[0].contains("Nadeln"), qPrintable(plan[0]));
        QStringList zellen{"reicht bis"};
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        for (int z = 0; z < u->rowCount(); ++z)
            zellen << u->item(z, 1)->text() << u->item(z, 2)->text() << u->item(z, 3)->text() << u->item(z, 4)->text();
        QVERIFY2(liste[0].contains(folge(zellen << listenFuss)), qPrintable(liste[0] + zellen.join('|')));
        QVERIFY2(!liste[0].contains("Seite"), "one page needs no page number");

        // Per row: left of the cell, bar start, 900 and 1700 units into the
        // bar, the bar's last units, the stock cell and the last-day cell.
        const QImage bild = gerendert(t.pfad("liste.pdf"));
        const QStringList erwartet{"wggwwwwwr",  // 880 units: 11 days
                                   "wggggwwwy",  // 1600 units: 20 days
                                   "wggggggww",  // the whole cell and no further
                                   "wwwwwwwwr",  // used up: no bar, none to the left either
                                   "wggggggww"}; // never runs out
        for (int z = 0; z < 5; ++z)
            QCOMPARE(farben(bild, rand(t.pfad("liste.pdf")), 2150 + 300 * z,
                            {300, 550, 1300, 1500, 2000, 2200, 5270, 5350, 7650}),
                     erwartet[z]);

        // A list page clears the headline on screen; the plan still names
        // the current patient, since it is handed on without the screen.
        const QString patient = t.text("kopfzeilePatient").trimmed();
        menue(t.w.get(), "aktionListen");
        auto *tabs = teil<QTabWidget>(t.w.get(), "hauptTabs");
        tabs->setCurrentWidget(teil<QWidget>(t.w.get(), "seitePatienten"));
        tabs->setCurrentIndex(1);
        t.plan("ohne Kopf.pdf");
        QCOMPARE(t.text("kopfzeilePatient"), QString());
        QVERIFY(t.gedruckt("ohne Kopf.pdf").value(0).contains(folge({patient, "Medikament"})));
        QCOMPARE(geoeffnet.size(), 3);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // Lines whose stored values cannot be used: "ungültig" instead of the
    // figures, no bar and no mark in the list, and in the plan for the dose
    // that cannot be read.
    void ungueltigeZeilen()
    {
        Druck t;
        const int p = t.patient("Berg");
        t.einnahme(p, t.packung("Ramipril", "Viel"), heute, 1e20, 1, 0, 1, 0, 1);
        t.einnahme(p, t.packung("Ramipril", "Minus"), heute, 30, -1, 0, 1, 0, 2);
        t.einnahme(p, t.packung("Ramipril", "Gestern"), "gestern", 30, 1, 0, 1, 0, 3);
        t.einnahme(p, t.packung("Ramipril", "Leer"), heute, QVariant(), 1, 0, 1, 0, 4);
        t.termin(p, "Hausarzt", heute.addDays(30)); // the old figures ran out before it
        t.starten();
        t.patientWaehlen("Berg");
        t.liste("liste.pdf");
        t.plan("plan.pdf");

        const QString u = "ung\u00FCltig";
        QStringList zellen;
        for (const char *name : {"Viel", "Minus", "Gestern", "Leer"})
            zellen << name << u << u << u;
        const QString liste = t.gedruckt("liste.pdf").value(0), plan = t.gedruckt("plan.pdf").value(0);
        QVERIFY2(liste.contains(folge(zellen << listenFuss)), qPrintable(liste));
        QVERIFY2(plan.contains(folge({"Minus", "5 mg", u, "0", "1", "0", "Ramipril"})), qPrintable(plan));

        // Bar start, 900 and 1700 units into the bar, its last units and the last-day cell: all white.
        const QImage bild = gerendert(t.pfad("liste.pdf"));
        for (int z = 0; z < 4; ++z)
            QCOMPARE(farben(bild, rand(t.pfad("liste.pdf")), 2150 + 300 * z, {550, 1300, 1500, 5200, 7650}), "wwwww");
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // Long names wrap within their cells and the rows grow to hold them:
    // read back whole, in order and inside their column, with the next line
    // below; a word wider than its column breaks inside it. The patient line
    // wraps within the page, above the column headers.
    void langeNamen()
    {
        Druck t;
        const QString nachname = "Schwarzenfeld von Hohenlohe zu Ingelfingen und Waldenburg";
        const QString vorname = "Anna Maria Theresia Josefine Wilhelmine Friederike Charlotte";
        Datei::ausfuehren(t.f, "INSERT INTO patient (firstname, lastname) VALUES (?, ?)", {vorname, nachname});
        const int p = t.letzte("patient");
        const QString mittel =
            "Candesartancilexetil und Hydrochlorothiazid als feste Kombination in niedriger Dosierung";
        const QString marke = "Candesartan Hydrochlorothiazid Ratiopharm comp. 32 mg plus 25 mg Filmtabletten gegen "
                              "hohen Blutdruck, Packung f\u00FCr Klinik";
        QCOMPARE(marke.size(), 120);
        const QString wort = "INHALATIONSKAPSELNACHFUELLPACKUNGMITDOSIERZAEHLWERKUNDSCHUTZKAPPE";
        t.einnahme(p, t.packung(mittel, marke), heute, 30, 1, 0, 1, 0, 1);
        t.einnahme(p, t.packung(wort, wort), heute, 30, 1, 0, 1, 0, 2);
        t.einnahme(p, t.packung("Ramipril", "Rami"), heute, 30, 1, 0, 0, 0, 3);
        t.starten();
        t.patientWaehlen(nachname);
        t.plan("plan.pdf");
        t.liste("liste.pdf");

        const struct {
            const char *datei;
            QString namen;
            int rechts;  // of the first column
            int stuecke; // how often the wide word is printed
            const char *danach;
        } dokumente[] = {{"plan.pdf", mittel + ' ' + marke, 4300, 2, "Ramipril"},
                         {"liste.pdf", marke, 5300, 1, "Rami"}};
        for (const auto &d : dokumente) {
            const QList<QList<Wort>> seiten = woerter(t.pfad(d.datei));
            QCOMPARE(seiten.size(), 1);
            const QList<Wort> &seite = seiten.first();

            const QList<Wort> namen = finden(seite, d.namen);
            QCOMPARE(namen.size(), d.namen.count(' ') + 1);
            QVERIFY2(lesefolge(namen), d.datei);
            QVERIFY2(umriss(namen).left() >= 500, d.datei);
            QVERIFY2(umriss(namen).right() <= d.rechts, d.datei);

            // The wide word is the page's only one in capitals.
            QList<Wort> stuecke;
            QString zusammen;
            for (const Wort &w : seite)
                if (w.text == w.text.toUpper() && w.text.at(0).isLetter()) {
                    stuecke << w;
                    zusammen += w.text;
                }
            QCOMPARE(zusammen, wort.repeated(d.stuecke));
            QVERIFY2(stuecke.size() > d.stuecke, d.datei);
            QVERIFY2(umriss(stuecke).left() >= 500, d.datei);
            QVERIFY2(umriss(stuecke).right() <= d.rechts, d.datei);
            QVERIFY2(umriss(stuecke).top() >= umriss(namen).bottom(), d.datei);
            const QList<Wort> danach = finden(seite, d.danach);
            QCOMPARE(danach.size(), 1);
            QVERIFY2(danach.first().box.top() >= umriss(stuecke).bottom(), d.datei);

            const QList<Wort> patient = finden(seite, "Patient: " + nachname + ", " + vorname);
            QCOMPARE(patient.size(), 1 + (nachname + ' ' + vorname).count(' ') + 1);
            QVERIFY2(lesefolge(patient), d.datei);
            QVERIFY2(umriss(patient).right() <= 9100, d.datei);
            QVERIFY2(umriss(patient).bottom() <= finden(seite, "Medikament").value(0).box.top(), d.datei);
        }
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // 70 lines, the 40th an aid: with short names the plan's 69 fill three
    // pages and put the last on a fourth with the footer, the list's 70 take
    // two and a third; rows grown by long names move on to the next page
    // when they no longer fit. Every line once, each page with its head, no
    // line reaching into the page number, the footer after the last line.
    void langeListen_data()
    {
        QTest::addColumn<QString>("mittelZusatz");
        QTest::addColumn<QString>("markenZusatz");
        QTest::addColumn<int>("planSeiten");
        QTest::addColumn<int>("listenSeiten");
        QTest::newRow("kurze Namen") << QString() << QString() << 4 << 3;
        QTest::newRow("lange Namen") << " retard mit verz\u00F6gerter Wirkstofffreisetzung und magensaftresistentem "
                                        "\u00DCberzug"
                                     << " Filmtabletten zur Behandlung des hohen Blutdrucks in der Dauertherapie, "
                                        "Packung mit 100 St\u00FCck f\u00FCr Heime"
                                     << 5 << 3;
    }
    void langeListen()
    {
        QFETCH(QString, mittelZusatz);
        QFETCH(QString, markenZusatz);
        QFETCH(int, planSeiten);
        QFETCH(int, listenSeiten);
        Druck t;
        const int p = t.patient("Berg");
        for (int i = 1; i <= 70; ++i) {
            const QString n = QString("%1").arg(i, 2, 10, QLatin1Char('0'));
            // Rows of seven heights, so that the room left at the foot of a page varies.
            const auto zusatz = [i](const QString &z) { return z.left(z.size() * (i % 7) / 6); };
            t.einnahme(p, t.packung("Mittel " + n + zusatz(mittelZusatz), "Marke " + n + zusatz(markenZusatz)), heute,
                       30, 1, 0, 0, 0, i, i == 40);
        }
        t.starten();
        t.patientWaehlen("Berg");
        const QString patient = t.text("kopfzeilePatient").trimmed();
        t.plan("plan.pdf");
        t.liste("liste.pdf");

        const struct {
            const char *datei, *titel, *kopf, *zeile;
            QString fuss;
            int seiten;
        } dokumente[] = {{"plan.pdf", "Verordnungsplan", "Medikament|Dosis|Morgen|Mittag|Abend|Nacht", "Mittel",
                          planFuss, planSeiten},
                         {"liste.pdf", "Medikamentenliste", "Medikament|Stand|Reichweite|reicht bis", "Marke",
                          listenFuss, listenSeiten}};
        for (const auto &d : dokumente) {
            const QStringList text = t.gedruckt(d.datei);
            QCOMPARE(text.size(), d.seiten);
            QStringList genannt, erwartet;
            for (int s = 0; s < text.size(); ++s) {
                const QString seite = QString("Seite %1 von %2").arg(s + 1).arg(text.size());
                const QByteArray wo = (d.datei + QString(", ") + seite).toUtf8();
                QStringList hier;
                for (auto it = QRegularExpression(d.zeile + QString(" \\d\\d")).globalMatch(text[s]); it.hasNext();)
                    hier << it.next().captured(0);
                QVERIFY2(!hier.isEmpty(), wo);
                QVERIFY2(text[s].trimmed().startsWith(d.titel), wo);
                QVERIFY2(text[s].contains(patient), wo);
                QVERIFY2(text[s].contains(seite), wo);
                QVERIFY2(text[s].count(folge(QString(d.kopf).split('|'))) == 1, wo);
                QCOMPARE(text[s].contains(d.fuss), s == text.size() - 1);
                genannt << hier;
            }
            for (int i = 1; i <= 70; ++i)
                if (i != 40 || d.zeile == QLatin1String("Marke"))
                    erwartet << QString("%1 %2").arg(d.zeile).arg(i, 2, 10, QLatin1Char('0'));
            QCOMPARE(genannt, erwartet);
            QVERIFY(text.last().indexOf(d.fuss) > text.last().lastIndexOf(erwartet.last()));

            // Below the headers, every word stands above the page number.
            for (const QList<Wort> &seite : woerter(t.pfad(d.datei))) {
                const double kopf = finden(seite, QString(d.kopf).section('|', 0, 0)).value(0).box.bottom();
                const double seitenzahl = finden(seite, "Seite").value(0).box.top();
                for (const Wort &w : seite)
                    if (w.box.top() > kopf && qAbs(w.box.top() - seitenzahl) > 1)
                        QVERIFY2(w.box.bottom() <= seitenzahl, qPrintable(w.text));
            }
        }
    }

    // One sheet per patient, in the patients' order: the chosen rows, or
    // everything on the list, each patient's lines in the plan's order (not
    // the list's, which runs by the day they run out).
    void rezeptanforderung()
    {
        Druck t;
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO patient (firstname, lastname, birth) VALUES ('Otto', "
                                              "'Berg', '01.02.1940'), ('Ida', 'Adam', '03.04.1941'), ('Eva', 'Zorn', "
                                              "'')"));
        // The worked example: 3 packages of 20; then 31 units in packages of 50.
        t.einnahme(1, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"), QStringLiteral("5 mg"), 20),
                   heute.addDays(-10), 30, 1, 0, 1, 0, 1);
        t.einnahme(1, t.packung(QStringLiteral("Torasemid"), QStringLiteral("Tora 10"), QStringLiteral("10 mg"), 50),
                   heute, 4, 1, 0, 0, 0, 2);
        t.einnahme(2, t.packung(QStringLiteral("ASS"), QStringLiteral("Aspirin 100"), QStringLiteral("100 mg"), 0),
                   heute, 2, 1, 0, 0, 0, 1);
        t.einnahme(3, 1, heute, 100, 1, 0, 0, 0, 1); // lasts: no sheet
        t.termin(1, QStringLiteral("Hausarzt"), heute.addDays(3));
        t.starten();

        t.drucken("aktionRezeptanforderung", QStringLiteral("alle.pdf"));
        const QStringList alle = t.gedruckt(QStringLiteral("alle.pdf"));
        QCOMPARE(alle.size(), 2);
        const QStringList kopf{"Rezeptanforderung", "An die Hausarztpraxis"};
        const QStringList spalten{"Medikament", "Dosis", "Packungsgr\u00F6\u00DFe", "Packungen"};
        const QStringList schluss{"Bemerkung:", "Datum, Unterschrift", anforderungsFuss};
        const QString bitte = QStringLiteral("Bitte stellen Sie f\u00FCr die folgenden Medikamente ein Rezept aus:");
        QVERIFY2(alle[0].contains(
                     folge(kopf + QStringList{"Patient: Adam, Ida, geboren am 03.04.1941", "Datum: 06.12.2026", bitte} +
                           spalten + QStringList{"ASS", "100 mg", "?", "?", "Aspirin 100"} + schluss)),
                 qPrintable(alle[0]));
        QVERIFY2(
            alle[1].contains(folge(
                kopf +
                QStringList{"Patient: Berg, Otto, geboren am 01.02.1940",
                            "Datum: 06.12.2026, n\u00E4chster Termin in der Praxis: 09.12.2026", bitte} +
                spalten +
                QStringList{"Ramipril", "5 mg", "20", "3", "Ramilich 5", "Torasemid", "10 mg", "50", "1", "Tora 10"} +
                schluss)),
            qPrintable(alle[1]));

        // The chosen row's patient, with that row only.
        QTableWidget *liste = t.tabelle("tabelleRezeptbedarf");
        QCOMPARE(spalte(liste, 3), (QStringList{"Aspirin 100", "Tora 10", "Ramilich 5"}));
        zelleKlicken(liste, 2, 1);
        t.drucken("aktionRezeptanforderung", QStringLiteral("eine.pdf"));
        const QStringList eine = t.gedruckt(QStringLiteral("eine.pdf"));
        QCOMPARE(eine.size(), 1);
        QVERIFY2(eine[0].contains(QStringLiteral("Berg, Otto")) && eine[0].contains(QStringLiteral("Ramilich 5")) &&
                     !eine[0].contains(QStringLiteral("Tora")),
                 qPrintable(eine[0]));

        // Cancelled: nothing written or opened.
        t.drucken("aktionRezeptanforderung", QString());
        QCOMPARE(geoeffnet, (QList<QUrl>{QUrl::fromLocalFile(t.pfad(QStringLiteral("alle.pdf"))),
                                         QUrl::fromLocalFile(t.pfad(QStringLiteral("eine.pdf")))}));
        QCOMPARE(QDir(t.ordner).entryList(QDir::Files).size(), 2);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // Nothing on the list: said, no dialog.
    void rezeptanforderungOhneBedarf()
    {
        Druck t;
        t.einnahme(t.patient(QStringLiteral("Berg")), t.packung(QStringLiteral("Ramipril"), QStringLiteral("Rami")),
                   heute, 100, 1, 0, 0, 0, 1);
        t.starten();
        t.drucken("aktionRezeptanforderung", QStringLiteral("leer.pdf"));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.dateiTitel.isEmpty());
        QVERIFY(geoeffnet.isEmpty());
    }

    // A patient with many lines: the sheet goes on over pages, each with its
    // head and number, every line once; note and signature follow the last
    // line, long names wrap within their column.
    void langeRezeptanforderung()
    {
        Druck t;
        const int p = t.patient(QStringLiteral("Berg"));
        const QString lang = QStringLiteral("Candesartan Hydrochlorothiazid Ratiopharm comp. 32 mg plus 25 mg "
                                            "Filmtabletten gegen hohen Blutdruck, Packung f\u00FCr Klinik");
        for (int i = 1; i <= 40; ++i) {
            const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            t.einnahme(p, t.packung(QStringLiteral("Mittel ") + n, i == 7 ? lang : QStringLiteral("Marke ") + n), heute,
                       3, 1, 0, 0, 0, i);
        }
        t.starten();
        t.drucken("aktionRezeptanforderung", QStringLiteral("lang.pdf"));
        const QStringList text = t.gedruckt(QStringLiteral("lang.pdf"));
        QVERIFY(text.size() >= 2);
        QStringList genannt;
        for (int s = 0; s < text.size(); ++s) {
            for (auto it = QRegularExpression(QStringLiteral("Mittel \\d\\d")).globalMatch(text[s]); it.hasNext();)
                genannt << it.next().captured(0);
            const QString seite = QStringLiteral("Seite %1 von %2").arg(s + 1).arg(text.size());
            QVERIFY2(text[s].trimmed().startsWith(QStringLiteral("Rezeptanforderung")) &&
                         text[s].contains(QStringLiteral("Patient: Berg, Anna")) && text[s].contains(seite),
                     qPrintable(seite));
            QCOMPARE(text[s].contains(QStringLiteral("Bemerkung:")), s == text.size() - 1);
        }
        QStringList erwartet;
        for (int i = 1; i <= 40; ++i)
            erwartet << QStringLiteral("Mittel %1").arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(genannt, erwartet);
        QVERIFY(text.last().indexOf(QStringLiteral("Bemerkung:")) >
                text.last().lastIndexOf(QStringLiteral("Mittel 40")));
        QVERIFY(text.last().indexOf(anforderungsFuss) > text.last().indexOf(QStringLiteral("Datum, Unterschrift")));

        const QList<QList<Wort>> seiten = woerter(t.pfad(QStringLiteral("lang.pdf")));
        QList<Wort> namen;
        for (const QList<Wort> &seite : seiten)
            if (namen.isEmpty())
                namen = finden(seite, lang);
        QCOMPARE(namen.size(), lang.count(' ') + 1);
        QVERIFY(lesefolge(namen));
        QVERIFY(umriss(namen).left() >= 500 && umriss(namen).right() <= 5100);
    }

    void dateinamen()
    {
        Druck t;
        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 0, 0, 1);
        t.starten();
        t.patientWaehlen("Berg");
        auto istPdf = [](const QString &pfad) {
            QFile f(pfad);
            return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
        };
        QFile alt(t.pfad("Plan.pdf"));
        QVERIFY(alt.open(QIODevice::WriteOnly));
        QCOMPARE(alt.write("alt"), 3);
        alt.close();
        const QString sonder = t.pfad("Frau M\u00FCller & Sohn/Plan #2 f\u00FCr 100% Stra\u00DFe.pdf");
        QDir().mkpath(QFileInfo(sonder).absolutePath());

        // Cancelled: nothing written or opened. Names without a suffix of
        // their own get one; the dialog asked about "Plan", so replacing the
        // "Plan.pdf" there is asked about ("Nein", then "Ja").
        t.liste(QString());
        t.plan(QString());
        t.plan("Plan");
        QVERIFY(!istPdf(t.pfad("Plan.pdf")));
        t.env.antworten << true;
        for (const char *name : {"Plan", "Liste 06.12.2026", "Abgabe.PDF"})
            t.plan(name);
        t.plan(sonder); // characters that mean something in a URL
        QVERIFY(istPdf(sonder));
        QCOMPARE(QDir(t.ordner).entryList(QDir::Files, QDir::Name),
                 (QStringList{"Abgabe.PDF", "Liste 06.12.2026.pdf", "Plan.pdf"}));
        for (const QString &name : QDir(t.ordner).entryList(QDir::Files))
            QVERIFY2(istPdf(t.pfad(name)), qPrintable(name));
        QCOMPARE(t.env.fragen.size(), 2);
        QVERIFY2(t.env.fragen.at(0).contains("Plan.pdf"), qPrintable(t.env.fragen.at(0)));
        QCOMPARE(t.env.meldungen, QStringList());

        // A folder that cannot be written to, and the database file: told
        // so, nothing written.
        const QString fehlt = t.pfad("gibt es nicht/Liste.pdf");
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        t.liste(fehlt);
        t.liste(t.f);
        QVERIFY(!QFile::exists(fehlt));
        QVERIFY(!istPdf(t.f));
        QCOMPARE(t.anzahl("einnahme"), 1);
        QCOMPARE(t.env.meldungen.size(), 2);
        QVERIFY2(t.env.meldungen.at(0).contains(QDir::toNativeSeparators(fehlt)), qPrintable(t.env.meldungen.at(0)));
        QVERIFY2(t.env.meldungen.at(1).contains(QDir::toNativeSeparators(t.f)), qPrintable(t.env.meldungen.at(1)));

        // Only what was written was opened, by the file's URL.
        QCOMPARE(geoeffnet, (QList<QUrl>{QUrl::fromLocalFile(t.pfad("Plan.pdf")),
                                         QUrl::fromLocalFile(t.pfad("Liste 06.12.2026.pdf")),
                                         QUrl::fromLocalFile(t.pfad("Abgabe.PDF")), QUrl::fromLocalFile(sonder)}));
    }
};

QTEST_MAIN(PdfTest)
#include "tst_pdf.moc"
