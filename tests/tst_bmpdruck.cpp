// SPDX-License-Identifier: GPL-3.0-or-later
// The medication plan (BMP) printed from the menu: who prints it, what the
// page says, and its code read back from the page rendered at 300 dpi.
#include "fensterhilfe.h"

#include "bmp/bmplesen.h"
#include "bmp/datamatrix.h"

#include <QtWidgets>

namespace {

const QString planTabelle = QStringLiteral(
    "CREATE TABLE einnahme_bmp (einnahme_id INTEGER PRIMARY KEY, dosis_text VARCHAR (20), ohne_dosis BOOLEAN, "
    "wochentag INTEGER, einheit VARCHAR (20), form VARCHAR (10), hinweis VARCHAR (80), grund VARCHAR (50), "
    "zusatz VARCHAR (200), abschnitt VARCHAR (50))");

struct Druck : Welt {
    QString ordner = env.basis() + "/Ausdrucke";
    int patientId = 0;

    Druck() { QDir().mkpath(ordner); }

    // A patient with n ordinary lines (and a line in words with its
    // heading when mitText), the issuer already entered.
    void anlegen(int n, bool mitText = true)
    {
        Datei::ausfuehren(f, "INSERT INTO patient (firstname, lastname, birth) VALUES ('J\u00FCrgen', "
                             "'Wei\u00DFb\u00E4cker', '07.03.1941')");
        patientId = letzte("patient");
        for (int i = 0; i < n; ++i)
            einnahme(patientId,
                     packung(QStringLiteral("Wirkstoff %1").arg(i), QStringLiteral("Mittel %1").arg(i), "5 mg"),
                     "2026-12-01", 30, i % 2 ? 0.5 : 1, 0, i % 3 ? 0 : 1.5, 0, i + 1);
        if (mitText) {
            const int z = einnahme(patientId, packung("Phenprocoumon", "Gerinnex 3 mg", "3 mg"), "2026-12-01", 20, 0, 0,
                                   0, 0, n + 1);
            Datei::ausfuehren(f, planTabelle);
            Datei::ausfuehren(f,
                              "INSERT INTO einnahme_bmp (einnahme_id, dosis_text, hinweis, abschnitt) VALUES (?, "
                              "'laut INR-Ausweis', 'Dosis nach Gerinnungswert', 'Bedarfsmedikation')",
                              {z});
        }
        env.letzteDateiSetzen(f);
        QSettings ini(env.konfiguration(), QSettings::IniFormat);
        ini.setValue("ausgedruckt_von/name", "Pflegedienst Lindenh\u00F6he");
        ini.setValue("ausgedruckt_von/strasse", "M\u00FChlweg 4");
        ini.setValue("ausgedruckt_von/plz", "79098");
        ini.setValue("ausgedruckt_von/ort", "Freiburg");
        ini.setValue("ausgedruckt_von/telefon", "0761 123456");
        ini.sync();
        starten();
    }
    QString pfad(const QString &name) const { return QDir(ordner).filePath(name); }
    void drucken(const QString &name)
    {
        env.dateiAntworten << pfad(name);
        menue(w.get(), "aktionBmpDrucken");
    }
    QStringList gedruckt(const QString &name) const
    {
        return ausfuehren("pdftotext", {"-layout", pfad(name), "-"}).split('\f', Qt::SkipEmptyParts);
    }
    // The codes of each page, rendered at 300 dpi as a scanner would see them.
    QVector<QByteArray> codes(const QString &name) const
    {
        ausfuehren("pdftoppm", {"-png", "-r", "300", "-gray", pfad(name), pfad("seite")});
        QVector<QByteArray> inhalte;
        for (const QString &bild : QDir(ordner).entryList({"seite*.png"}, QDir::Files, QDir::Name))
            inhalte += dataMatrixAusDatei(QDir(ordner).filePath(bild)).inhalte;
        return inhalte;
    }
};

} // namespace

class BmpDruckTest : public QObject
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

    void kopfNenntPatientUndAussteller()
    {
        Druck t;
        t.anlegen(4);
        t.drucken("plan.pdf");
        const QString seite = t.gedruckt("plan.pdf").value(0);
        for (const char *text :
             {"f\u00FCr: J\u00FCrgen Wei\u00DFb\u00E4cker", "geb. am: 07.03.1941",
              "ausgedruckt von:", "Pflegedienst Lindenh\u00F6he", "M\u00FChlweg 4, 79098 Freiburg", "Tel.: 0761 123456",
              "Seite 1 von 1", "ausgedruckt am: 06.12.2026 10:30", "DE-de Version 2.7"})
            QVERIFY2(seite.contains(QString::fromUtf8(text)), text);
    }

    void spaltenUndUeberschrift()
    {
        Druck t;
        t.anlegen(4);
        t.drucken("plan.pdf");
        const QString seite = t.gedruckt("plan.pdf").value(0);
        QVERIFY(seite.contains(QRegularExpression("Wirkstoff\\s+Handelsname\\s+St\u00E4rke\\s+Form")));
        QVERIFY(seite.contains(QRegularExpression("Einheit\\s+Hinweise\\s+Grund")));
        QVERIFY(seite.contains("Bedarfsmedikation"));
    }

    void wirdGeoeffnet()
    {
        Druck t;
        t.anlegen(1);
        t.drucken("plan.pdf");
        QCOMPARE(geoeffnet, QList<QUrl>{QUrl::fromLocalFile(t.pfad("plan.pdf"))});
    }

    void codeAusVektorRechtecken()
    {
        // A scaled bitmap would show up as an image in the file.
        Druck t;
        t.anlegen(4);
        t.drucken("plan.pdf");
        QCOMPARE(ausfuehren("pdfimages", {"-list", t.pfad("plan.pdf")}).count('\n'), 2);
    }

    void codeBei300Dpi()
    {
        Druck t;
        t.anlegen(4);
        t.drucken("plan.pdf");
        const QVector<QByteArray> codes = t.codes("plan.pdf");
        QCOMPARE(codes.size(), 1);
        const BmpLesung l = bmpLesen(codes.value(0));
        QCOMPARE(l.plan.value_or(BmpPlan()).patient.name, QStringLiteral("Wei\u00DFb\u00E4cker"));
    }

    void codeHaeltDieDosen()
    {
        Druck t;
        t.anlegen(4);
        t.drucken("plan.pdf");
        const BmpPlan p = bmpLesen(t.codes("plan.pdf").value(0)).plan.value_or(BmpPlan());
        QStringList dosen;
        for (const BmpAbschnitt &a : p.abschnitte)
            for (const BmpEintrag &e : a.eintraege)
                dosen << bmpDosisAnzeige(e);
        QCOMPARE(dosen, (QStringList{"1-0-1,5-0", "1/2-0-0-0", "1-0-0-0", "1/2-0-1,5-0", "laut INR-Ausweis"}));
    }

    void textDosisUnterIhrerUeberschrift()
    {
        Druck t;
        t.anlegen(1);
        t.drucken("plan.pdf");
        const BmpPlan p = bmpLesen(t.codes("plan.pdf").value(0)).plan.value_or(BmpPlan());
        QCOMPARE(p.abschnitte.value(1).code, QStringLiteral("411"));
    }

    void dritteldosenAlsBruch()
    {
        Druck t;
        t.anlegen(0, false);
        t.einnahme(t.patientId, t.packung("Wirkstoff", "Mittel"), "2026-12-01", 30, 1.0 / 3, 0, 2.0 / 3, 0, 1);
        t.starten();
        t.drucken("plan.pdf");
        QCOMPARE(t.env.meldungen, QStringList());
        const BmpPlan p = bmpLesen(t.codes("plan.pdf").value(0)).plan.value_or(BmpPlan());
        QCOMPARE(bmpDosisAnzeige(p.abschnitte.value(0).eintraege.value(0)), QStringLiteral("1/3-0-2/3-0"));
    }

    // 2.7 has no code for weekly use: its heading goes as free text.
    void woechentlicheUeberschriftAlsText()
    {
        Druck t;
        t.anlegen(0, false);
        const int z = t.einnahme(t.patientId, t.packung("Alendrons\u00E4ure", "Alendron 70 mg", "70 mg"), "2026-12-01",
                                 4, 0, 0, 0, 0, 1);
        Datei::ausfuehren(t.f, planTabelle);
        Datei::ausfuehren(t.f,
                          "INSERT INTO einnahme_bmp (einnahme_id, dosis_text, wochentag, abschnitt) VALUES (?, "
                          "'Montags 1-0-0-0', 1, 'W\u00F6chentliche Anwendung')",
                          {z});
        t.starten();
        t.drucken("plan.pdf");
        const BmpPlan p = bmpLesen(t.codes("plan.pdf").value(0)).plan.value_or(BmpPlan());
        QCOMPARE(p.abschnitte.value(0).code, QString());
        QCOMPARE(p.abschnitte.value(0).titel, QStringLiteral("W\u00F6chentliche Anwendung"));
    }

    // Texts of an imported plan longer than the plan allows are printed
    // cut; the user is told, and the line keeps them whole.
    void langeTexteGekuerzt()
    {
        Druck t;
        t.anlegen(0, false);
        const QString name = QStringLiteral("Amlodipin (Besilat) / Hydrochlorothiazid / Olmesartan Medoxomil");
        const int z = t.einnahme(t.patientId, t.packung("Amlodipin (Besilat)", name, "10 mg"), "2026-12-01", 30, 1, 0,
                                 0, 0, 1);
        Datei::ausfuehren(t.f, planTabelle);
        Datei::ausfuehren(t.f, "INSERT INTO einnahme_bmp (einnahme_id, form, hinweis, grund) VALUES (?, ?, ?, ?)",
                          {z, "Mundcreme", QString(90, 'h'), QString(60, 'g')});
        t.starten();
        t.drucken("plan.pdf");
        const BmpEintrag e =
            bmpLesen(t.codes("plan.pdf").value(0)).plan.value_or(BmpPlan()).abschnitte.value(0).eintraege.value(0);
        QCOMPARE(e.handelsname, name.left(47) + "...");
        QCOMPARE(e.formText, QStringLiteral("Mund..."));
        QCOMPARE(e.hinweis, QString(77, 'h') + "...");
        QCOMPARE(e.grund, QString(47, 'g') + "...");
        QVERIFY(t.env.meldungen.value(0).contains("Hinweis \u201E" + QString(90, 'h') + "\u201C"));
        QCOMPARE(t.wert("SELECT hinweis FROM einnahme_bmp").toString(), QString(90, 'h'));
    }

    void fuenfundvierzigZeilenDreiSeiten()
    {
        Druck t;
        t.anlegen(45, false);
        t.drucken("plan.pdf");
        const QStringList seiten = t.gedruckt("plan.pdf");
        QCOMPARE(seiten.size(), 3);
        QVERIFY(seiten.value(2).contains("Seite 3 von 3"));
    }

    void jedeSeiteHatIhrenCode()
    {
        Druck t;
        t.anlegen(45, false);
        t.drucken("plan.pdf");
        QVector<BmpPlan> seiten;
        for (const QByteArray &c : t.codes("plan.pdf"))
            seiten << bmpLesen(c).plan.value_or(BmpPlan());
        const BmpLesung ganz = bmpSeitenZusammenfuehren(seiten);
        QCOMPARE(ganz.hinweise, QStringList());
        QCOMPARE(ganz.plan.value_or(BmpPlan()).abschnitte.value(0).eintraege.size(), 45);
    }

    void sechsundvierzigZeilenNicht()
    {
        Druck t;
        t.anlegen(46, false);
        t.drucken("plan.pdf");
        QVERIFY(t.env.meldungen.value(0).contains("4 Seiten"));
        QCOMPARE(QFileInfo::exists(t.pfad("plan.pdf")), false);
    }

    void fremdesZeichenWirdGenannt()
    {
        Druck t;
        t.packung("\u0141ososiowa", "Mittel");
        t.anlegen(0, false);
        t.einnahme(t.patientId, 1, "2026-12-01", 10, 1, 0, 0, 0, 1);
        t.starten();
        t.drucken("plan.pdf");
        QVERIFY(t.env.meldungen.value(0).contains("Medikament \u201E\u0141ososiowa\u201C"));
        QCOMPARE(QFileInfo::exists(t.pfad("plan.pdf")), false);
    }

    void ausstellerWirdEinmalGefragt()
    {
        Druck t;
        Datei::ausfuehren(t.f, "INSERT INTO patient (firstname, lastname, birth) VALUES ('Anna', 'Weber', "
                               "'01.01.1940')");
        t.starten();
        t.env.dateiAntworten << t.pfad("plan.pdf");
        QVERIFY(imFenster([&] { menue(t.w.get(), "aktionBmpDrucken"); },
                          [&](QDialog *d) {
                              tippen(teil<QLineEdit>(d, "ausstellerName"), "Tochter Eva");
                              druecken(d, "Speichern");
                          }));
        QCOMPARE(QSettings(t.env.konfiguration(), QSettings::IniFormat).value("ausgedruckt_von/name").toString(),
                 QStringLiteral("Tochter Eva"));
        QCOMPARE(QFileInfo::exists(t.pfad("plan.pdf")), true);
    }

    void ausstellerOhneNamen()
    {
        Druck t;
        t.starten();
        bool offen = false;
        QVERIFY(imFenster([&] { menue(t.w.get(), "aktionBmpAussteller"); },
                          [&](QDialog *d) {
                              tippen(teil<QLineEdit>(d, "ausstellerName"), "");
                              druecken(d, "Speichern");
                              offen = d->isVisible();
                          }));
        QCOMPARE(offen, true);
        QVERIFY(t.env.meldungen.value(0).startsWith("Name: "));
    }
};

QTEST_MAIN(BmpDruckTest)
#include "tst_bmpdruck.moc"
