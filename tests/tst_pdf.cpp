// The printed regulation plan and medication list, read back from the files.
#include "einnahmedaten.h"

#include "app/seams.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QUrl>

namespace {

QString ausfuehren(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s failed", qPrintable(programm));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page, laid out as printed.
QStringList seiten(const QString &pdf)
{
    QStringList s = ausfuehren(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                        .split(QLatin1Char('\f'));
    if (!s.isEmpty() && s.last().trimmed().isEmpty())
        s.removeLast();
    return s;
}

int seitenzahl(const QString &pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(ausfuehren(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Every match of the pattern in the text, in order.
QStringList alle(const QString &text, const QString &muster)
{
    QStringList t;
    auto it = QRegularExpression(muster).globalMatch(text);
    while (it.hasNext())
        t << it.next().captured(0);
    return t;
}

// A pattern for cell texts that follow each other, with any blanks between.
QString folge(const QStringList &zellen)
{
    QStringList m;
    for (const QString &z : zellen)
        m << QRegularExpression::escape(z);
    return m.join(QStringLiteral("\\s+"));
}

// Page 1 rendered at 72 dpi, and where a point of the drawing's coordinates lies on it.
struct Bild {
    QImage bild;
    QPoint rand; // top left corner of the drawing area in points

    explicit Bild(const QString &pdf)
    {
        const QString vorsilbe = QFileInfo(pdf).absolutePath() + QStringLiteral("/bild");
        ausfuehren(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                                                QStringLiteral("-singlefile"), pdf, vorsilbe});
        bild.load(vorsilbe + QStringLiteral(".png"));
        QPdfWriter w(vorsilbe + QStringLiteral(".unbenutzt"));
        rand = w.pageLayout().paintRectPoints().topLeft();
    }
    // "weiss", "grau" (the range bar), "gelb", "rot" or the colour's name.
    QString farbe(int x, int y) const
    {
        const QColor c = bild.pixelColor(rand.x() + qRound(x * 72.0 / 1200), rand.y() + qRound(y * 72.0 / 1200));
        if (c.red() > 250 && c.green() > 250 && c.blue() > 250)
            return QStringLiteral("weiss");
        if (c.red() > 235 && c.red() == c.green() && c.green() == c.blue())
            return QStringLiteral("grau");
        if (c.red() > 240 && c.green() > 240 && c.blue() < 30)
            return QStringLiteral("gelb");
        if (c.red() > 240 && c.green() < 30 && c.blue() < 30)
            return QStringLiteral("rot");
        return c.name();
    }
};

struct Druck : Welt {
    QString ordner = env.basis() + QStringLiteral("/Ausdrucke");

    Druck() { QDir().mkpath(ordner); }
    // Prints through the menu entry, answering the file dialog with name.
    void drucken(const char *aktion, const QString &name)
    {
        env.dateiAntworten << name;
        teil<QAction>(w.get(), QString::fromLatin1(aktion))->trigger();
    }
    void plan(const QString &name) { drucken("aktionVerordnungsplan", name); }
    void liste(const QString &name) { drucken("aktionMedikamentenplan", name); }
    QString pfad(const QString &name) const { return ordner + QLatin1Char('/') + name; }
};

const QString planFuss = QStringLiteral("Verordnungsplan erstellt am: 06.12.2026 mit TIRVAkesh - Kalvoria");
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
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "oeffnen");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void verordnungsplan()
    {
        Druck t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int rami = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        const int meto = t.packung(QStringLiteral("Metoprolol"), QStringLiteral("Beloc-Zok mite"), QStringLiteral("47,5 mg"));
        const int nadel = t.packung(QStringLiteral("Pen-Nadeln"), QStringLiteral("Nadeln 4 mm"), QStringLiteral("-"), 100);
        t.einnahme(p, rami, heute.addDays(-4), 30, 0.5, 0, 1, 0, 1);
        t.einnahme(p, nadel, heute, 100, 0, 0, 0, 0, 2, 1);
        t.einnahme(p, meto, heute, 100, 1.5, 0, 0, 1, 3);
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));
        const QString patient = t.text("kopfzeilePatient").trimmed();
        QVERIFY(patient.contains(QStringLiteral("Berg")));

        t.plan(t.pfad(QStringLiteral("plan.pdf")));
        QCOMPARE(t.env.dateiTitel, QStringList{QStringLiteral("PDF schreiben")});
        QCOMPARE(geoeffnet, QList<QUrl>{QUrl::fromLocalFile(t.pfad(QStringLiteral("plan.pdf")))});
        QCOMPARE(seitenzahl(t.pfad(QStringLiteral("plan.pdf"))), 1);
        const QString text = seiten(t.pfad(QStringLiteral("plan.pdf"))).value(0);
        QCOMPARE(text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed(), QStringLiteral("Verordnungsplan"));
        QVERIFY(text.contains(patient));
        QVERIFY(text.contains(QRegularExpression(folge({"Medikament", "Dosis", "Morgen", "Mittag", "Abend", "Nacht"}))));
        QVERIFY(text.contains(QRegularExpression(folge({"Ramipril", "Ramilich 5", "5 mg", "1/2", "0", "1", "0"}))));
        QVERIFY(text.contains(QRegularExpression(folge({"Metoprolol", "Beloc-Zok mite", "47,5 mg", "1.5", "0", "0", "1"}))));
        QVERIFY(!text.contains(QStringLiteral("Nadeln")));
        QVERIFY(text.indexOf(planFuss) > text.indexOf(QStringLiteral("Beloc-Zok mite")));
        QVERIFY(!text.contains(QStringLiteral("Seite")));

        // A list page clears the headline on screen; the plan still names
        // the current patient, since it is handed on without the screen.
        teil<QAction>(t.w.get(), QStringLiteral("aktionListen"))->trigger();
        auto *tabs = teil<QTabWidget>(t.w.get(), QStringLiteral("hauptTabs"));
        tabs->setCurrentIndex(3);
        tabs->setCurrentIndex(1);
        t.plan(t.pfad(QStringLiteral("ohne Kopf.pdf")));
        const QString ohneKopf = seiten(t.pfad(QStringLiteral("ohne Kopf.pdf"))).value(0);
        QVERIFY(t.text("kopfzeilePatient").isEmpty());
        QVERIFY(ohneKopf.contains(patient));
        QVERIFY(ohneKopf.contains(QRegularExpression(folge({"Metoprolol", "Beloc-Zok mite", "47,5 mg", "1.5"}))));
        QVERIFY(ohneKopf.contains(planFuss));
        QCOMPARE(geoeffnet.size(), 2);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // The list shows the overview's figures and marks; the bar never leaves its cell.
    void medikamentenliste()
    {
        Druck t;
        const int p = t.patient(QStringLiteral("Berg"));
        auto packung = [&](const char *name) { return t.packung(QString::fromLatin1(name), QString::fromLatin1(name)); };
        t.einnahme(p, packung("Rami"), heute.addDays(-4), 30, 1, 0, 1, 0, 1); // 11 days: runs out before the visit
        t.einnahme(p, packung("Tora"), heute, 20, 1, 0, 0, 0, 2);             // 20 days: less than four weeks
        t.einnahme(p, packung("Lange"), heute, 100, 1, 0, 0, 0, 3);           // 100 days
        t.einnahme(p, packung("Leer"), heute.addDays(-10), 5, 1, 0, 0, 0, 4); // used up five days ago
        t.einnahme(p, packung("Nadeln"), heute, 100, 0, 0, 0, 0, 5, 1);       // an aid without consumption
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(14));
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));

        const QString datei = t.pfad(QStringLiteral("liste.pdf"));
        t.liste(datei);
        QCOMPARE(geoeffnet, QList<QUrl>{QUrl::fromLocalFile(datei)});
        QCOMPARE(seitenzahl(datei), 1);
        const QString text = seiten(datei).value(0);
        QCOMPARE(text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed(), QStringLiteral("Medikamentenliste"));
        QVERIFY(text.contains(t.text("kopfzeilePatient").trimmed()));
        QVERIFY(text.contains(QRegularExpression(folge({"Medikament", "Stand", "Reichweite", "reicht bis"}))));
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        QCOMPARE(u->rowCount(), 5);
        for (int z = 0; z < u->rowCount(); ++z) {
            const QStringList zellen{u->item(z, 1)->text(), u->item(z, 2)->text(), u->item(z, 3)->text(),
                                     u->item(z, 4)->text()};
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\n") + folge(zellen).trimmed() +
                                                      QStringLiteral("\\s*\\n"))),
                     qPrintable(zellen.join(QLatin1Char('|'))));
        }
        QVERIFY(text.contains(QStringLiteral("unbegrenzt")));
        QVERIFY(text.indexOf(listenFuss) > text.indexOf(QStringLiteral("Nadeln")));

        // Left of the cell, bar start, 900 and 1700 units into the bar, the
        // bar's last units, the stock cell and the last-day cell of each row.
        const Bild b(datei);
        QStringList gesehen;
        for (int z = 0; z < 5; ++z) {
            const int mitte = 2000 + 300 * z + 150;
            QStringList zeile;
            for (int x : {300, 550, 1300, 1500, 2000, 2200, 5270, 5350})
                zeile << b.farbe(x, mitte);
            zeile << b.farbe(7650, mitte);
            gesehen << zeile.join(QLatin1Char(' '));
        }
        const QStringList erwartet{
            "weiss grau grau weiss weiss weiss weiss weiss rot",   // 880 units: 11 days
            "weiss grau grau grau grau weiss weiss weiss gelb",    // 1600 units: 20 days
            "weiss grau grau grau grau grau grau weiss weiss",     // the whole cell and no further
            "weiss weiss weiss weiss weiss weiss weiss weiss rot", // no bar, none to the left either
            "weiss grau grau grau grau grau grau weiss weiss",     // never runs out
        };
        QCOMPARE(gesehen, erwartet);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void langeListen_data()
    {
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<int>("planSeiten");
        QTest::addColumn<int>("listenSeiten");
        QTest::newRow("22 Zeilen") << 22 << 1 << 1;
        QTest::newRow("23 Zeilen: die letzte samt Fuss auf Seite 2") << 23 << 2 << 1;
        QTest::newRow("34 Zeilen") << 34 << 2 << 2;
        QTest::newRow("80 Zeilen") << 80 << 4 << 3;
    }

    // Every line on some page, each page with its head, the footer after the last line.
    void langeListen()
    {
        QFETCH(int, zeilen);
        QFETCH(int, planSeiten);
        QFETCH(int, listenSeiten);
        Druck t;
        const int p = t.patient(QStringLiteral("Berg"));
        const QString zahlen = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) ");
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO medikament (id, medizin) ") + zahlen +
                                   QStringLiteral("SELECT i, printf('Mittel %02d', i) FROM n"), {zeilen});
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO sorte (id, medizin_id, handelsname, dosis, packung) ") + zahlen +
                                   QStringLiteral("SELECT i, i, printf('Marke %02d', i), '5 mg', 30 FROM n"), {zeilen});
        Datei::ausfuehren(t.f, QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, "
                                              "nacht, hilfe, ordnung) ") + zahlen +
                                   QStringLiteral("SELECT ?, i, ?, 30, 1, 0, 0, 0, 0, i FROM n"),
                          {zeilen, p, heute});
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));
        const QString patient = t.text("kopfzeilePatient").trimmed();
        t.plan(t.pfad(QStringLiteral("plan.pdf")));
        t.liste(t.pfad(QStringLiteral("liste.pdf")));

        const struct {
            QString datei;
            int seiten;
            QString titel;
            QStringList kopf;
            QString zeile; // what names each line
            QString fuss;
        } dokumente[] = {
            {t.pfad(QStringLiteral("plan.pdf")), planSeiten, QStringLiteral("Verordnungsplan"),
             {"Medikament", "Dosis", "Morgen", "Mittag", "Abend", "Nacht"}, QStringLiteral("Mittel \\d\\d"), planFuss},
            {t.pfad(QStringLiteral("liste.pdf")), listenSeiten, QStringLiteral("Medikamentenliste"),
             {"Medikament", "Stand", "Reichweite", "reicht bis"}, QStringLiteral("Marke \\d\\d"), listenFuss},
        };
        for (const auto &d : dokumente) {
            QCOMPARE(seitenzahl(d.datei), d.seiten);
            const QStringList text = seiten(d.datei);
            QCOMPARE(text.size(), d.seiten);
            QStringList genannt;
            for (int s = 0; s < d.seiten; ++s) {
                const QString &seite = text.at(s);
                QVERIFY2(seite.trimmed().startsWith(d.titel), qPrintable(d.titel));
                QVERIFY(seite.contains(patient));
                QCOMPARE(alle(seite, folge(d.kopf)).size(), 1);
                const QStringList hier = alle(seite, d.zeile);
                QVERIFY(!hier.isEmpty());
                genannt << hier;
                if (d.seiten > 1)
                    QVERIFY(seite.contains(QStringLiteral("Seite %1 von %2").arg(s + 1).arg(d.seiten)));
                else
                    QVERIFY(!seite.contains(QStringLiteral("Seite")));
                QCOMPARE(seite.contains(d.fuss), s == d.seiten - 1);
            }
            QStringList erwartet;
            for (int i = 1; i <= zeilen; ++i)
                erwartet << QStringLiteral("%1 %2").arg(d.zeile.section(QLatin1Char(' '), 0, 0)).arg(i, 2, 10, QLatin1Char('0'));
            QCOMPARE(genannt, erwartet);
            QVERIFY(text.last().indexOf(d.fuss) > text.last().lastIndexOf(erwartet.last()));
        }
        QCOMPARE(geoeffnet.size(), 2);
    }

    void dateinamen()
    {
        Druck t;
        const int p = t.patient(QStringLiteral("Berg"));
        t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5")), heute, 30, 1, 0, 0, 0, 1);
        t.starten();
        t.patientWaehlen(QStringLiteral("Berg"));
        auto inhalt = [&t] { return QDir(t.ordner).entryList(QDir::Files, QDir::Name); };
        auto istPdf = [](const QString &pfad) {
            QFile f(pfad);
            return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
        };

        // The dialog starts in the folder of the database file.
        const auto antworten = Seams::datei;
        QString vorschlag;
        bool speichern = false;
        Seams::datei = [&](const QString &, const QString &v, const QString &, bool s) {
            vorschlag = v;
            speichern = s;
            return QString();
        };
        teil<QAction>(t.w.get(), QStringLiteral("aktionVerordnungsplan"))->trigger();
        QCOMPARE(vorschlag, QFileInfo(t.f).absolutePath());
        QVERIFY(speichern);
        Seams::datei = antworten;
        t.liste(QString());
        t.plan(QString());
        QCOMPARE(inhalt(), QStringList());
        QVERIFY(geoeffnet.isEmpty());

        // Names without a suffix of their own get one.
        t.plan(t.pfad(QStringLiteral("Plan")));
        t.liste(t.pfad(QStringLiteral("Liste 06.12.2026")));
        t.plan(t.pfad(QStringLiteral("Abgabe.PDF")));
        QCOMPARE(inhalt(), (QStringList{"Abgabe.PDF", "Liste 06.12.2026.pdf", "Plan.pdf"}));
        QCOMPARE(geoeffnet, (QList<QUrl>{QUrl::fromLocalFile(t.pfad(QStringLiteral("Plan.pdf"))),
                                         QUrl::fromLocalFile(t.pfad(QStringLiteral("Liste 06.12.2026.pdf"))),
                                         QUrl::fromLocalFile(t.pfad(QStringLiteral("Abgabe.PDF")))}));
        QVERIFY(istPdf(t.pfad(QStringLiteral("Abgabe.PDF"))));

        // The dialog asked about "Plan", not about the "Plan.pdf" that is there.
        QFile alt(t.pfad(QStringLiteral("Plan.pdf")));
        QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt") == 3);
        alt.close();
        geoeffnet.clear();
        t.plan(t.pfad(QStringLiteral("Plan")));
        QCOMPARE(t.env.fragen.size(), 1);
        QVERIFY(t.env.fragen.at(0).contains(QStringLiteral("Plan.pdf")));
        QVERIFY(!istPdf(t.pfad(QStringLiteral("Plan.pdf"))));
        QVERIFY(geoeffnet.isEmpty());
        t.env.antworten << true;
        t.plan(t.pfad(QStringLiteral("Plan")));
        QVERIFY(istPdf(t.pfad(QStringLiteral("Plan.pdf"))));
        QCOMPARE(geoeffnet.size(), 1);

        // Characters that mean something in a URL still name the file.
        const QString sonder = t.pfad(QStringLiteral("Frau M\u00FCller & Sohn/Plan #2 f\u00FCr 100% Stra\u00DFe.pdf"));
        QDir().mkpath(QFileInfo(sonder).absolutePath());
        geoeffnet.clear();
        t.plan(sonder);
        QVERIFY(istPdf(sonder));
        QCOMPARE(geoeffnet.size(), 1);
        QCOMPARE(geoeffnet.at(0).toLocalFile(), sonder);

        // A folder that cannot be written to, and the database file: told
        // so, nothing written, nothing opened.
        geoeffnet.clear();
        const QString fehlt = t.pfad(QStringLiteral("gibt es nicht/Liste.pdf"));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        t.liste(fehlt);
        QVERIFY(!QFile::exists(fehlt));
        t.liste(t.f);
        QVERIFY(!istPdf(t.f));
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 1);
        QVERIFY(geoeffnet.isEmpty());
        QCOMPARE(t.env.meldungen.size(), 2);
        QVERIFY(t.env.meldungen.at(0).contains(QDir::toNativeSeparators(fehlt)));
        QVERIFY(t.env.meldungen.at(1).contains(QDir::toNativeSeparators(t.f)));
    }
};

QTEST_MAIN(PdfTest)
#include "tst_pdf.moc"
