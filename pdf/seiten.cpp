#include "pdf/seiten.h"

#include "app/mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
constexpr int links = 500;
constexpr int breite = 8600;
// Kept free at the bottom of each page, as much as the title keeps at the top.
constexpr int randUnten = 700;
} // namespace

Seitenplan seitenPlanen(int zeilen, int kopfY, int ersteZeile, int zeilenHoehe, int unten)
{
    Seitenplan plan;
    int seite = 0;
    int oben = ersteZeile;
    for (int i = 0; i < zeilen; ++i) {
        const bool letzte = i == zeilen - 1;
        const int bedarf = letzte ? qMax(zeilenHoehe, fussAbstand + fussHoehe) : zeilenHoehe;
        // A page always takes at least one row, however little room there is.
        if (oben + bedarf > unten && oben > ersteZeile) {
            ++seite;
            oben = ersteZeile;
        }
        plan.seite << seite;
        plan.oben << oben;
        oben += zeilenHoehe;
    }
    plan.seiten = seite + 1;
    plan.fussOben = (zeilen > 0 ? plan.oben.last() : kopfY) + fussAbstand;
    return plan;
}

PdfTabelle::PdfTabelle(const QString &datei, const PdfRaster &raster_, const QString &patient_, int zeilen)
    : schreiber(std::make_unique<QPdfWriter>(datei)),
      titelSchrift(QStringLiteral("arial"), 14, QFont::Bold),
      textSchrift(QStringLiteral("arial"), 10, QFont::Normal),
      kopfSchrift(QStringLiteral("arial"), 10, QFont::Bold),
      kleinSchrift(QStringLiteral("arial"), 8, QFont::Thin),
      fussSchrift(QStringLiteral("arial"), 8, QFont::Thin, true),
      schwarz(QBrush(Qt::black, Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
      grau(QColor(Qt::darkGray)),
      raster(raster_),
      patient(patient_)
{
    if (!maler.begin(schreiber.get()))
        return;
    plan = seitenPlanen(zeilen, raster.kopfY, raster.kopfY + raster.kopfHoehe, raster.zeilenHoehe,
                        schreiber->height() - randUnten);
    seiteBeginnen(0);
}

PdfTabelle::~PdfTabelle()
{
    if (maler.isActive())
        maler.end();
}

void PdfTabelle::seiteBeginnen(int neueSeite)
{
    if (neueSeite > 0)
        schreiber->newPage();
    seite = neueSeite;

    // Every page carries title, patient and column headers, so that a page
    // that comes loose from the others still says what and whom it lists.
    maler.setPen(schwarz);
    maler.setFont(titelSchrift);
    maler.drawText(QRect(links, 700, breite, raster.titelHoehe), Qt::AlignCenter, raster.titel);
    maler.setFont(textSchrift);
    maler.drawText(QPoint(links, 1500), patient);
    maler.setFont(kopfSchrift);
    for (const PdfSpalte &s : raster.spalten) {
        const QRect r(s.x, raster.kopfY, s.breite, raster.kopfHoehe);
        maler.drawRect(r);
        maler.drawText(r, Qt::AlignCenter, s.kopf);
    }
    if (plan.seiten > 1) {
        maler.setFont(fussSchrift);
        maler.setPen(grau);
        maler.drawText(QRect(links, schreiber->height() - randUnten + 250, breite, fussHoehe), Qt::AlignCenter,
                       QStringLiteral("Seite %1 von %2").arg(seite + 1).arg(plan.seiten));
        maler.setPen(schwarz);
    }
    maler.setFont(textSchrift);
}

int PdfTabelle::zeileBeginnen(int i)
{
    while (seite < plan.seite.at(i))
        seiteBeginnen(seite + 1);
    return plan.oben.at(i);
}

QRect PdfTabelle::zelle(int spalte, int oben) const
{
    const PdfSpalte &s = raster.spalten.at(spalte);
    return QRect(s.x, oben, s.breite, raster.zeilenHoehe);
}

void PdfTabelle::zelleZeichnen(int spalte, int oben, const QString &text, int ausrichtung)
{
    const QRect r = zelle(spalte, oben);
    maler.drawRect(r);
    maler.drawText(r, ausrichtung, text);
}

bool PdfTabelle::beenden(const QString &fusszeile)
{
    maler.setFont(fussSchrift);
    maler.setPen(grau);
    maler.drawText(QRect(links, plan.fussOben, breite, fussHoehe), Qt::AlignCenter, fusszeile);
    return maler.end();
}

QString pdfEndungErgaenzen(const QString &name)
{
    const QString datei = QFileInfo(name).fileName();
    if (datei.endsWith(QLatin1Char('.')))
        return name + QStringLiteral("pdf");
    const int punkt = datei.lastIndexOf(QLatin1Char('.'));
    if (punkt > 0) {
        const QString endung = datei.mid(punkt + 1);
        bool buchstabe = false;
        bool nurZeichen = true;
        for (const QChar c : endung) {
            buchstabe = buchstabe || c.isLetter();
            nurZeichen = nurZeichen && c.isLetterOrNumber();
        }
        if (buchstabe && nurZeichen)
            return name;
    }
    return name + QStringLiteral(".pdf");
}

namespace {

QString pdfNameWaehlen(MainWindow &fenster, const QString &datenbank)
{
    const QString gewaehlt = fenster.dateiWaehlen(QStringLiteral("PDF schreiben"), QFileInfo(datenbank).absolutePath(),
                                                  QStringLiteral("(*.pdf)"), true);
    if (gewaehlt.isEmpty())
        return {};
    const QString datei = pdfEndungErgaenzen(gewaehlt);
    // A printout written over the database file would lose every record.
    const QFileInfo ziel(datei);
    if (ziel.exists() && ziel.canonicalFilePath() == QFileInfo(datenbank).canonicalFilePath()) {
        fenster.meldungZeigen(QStringLiteral("\u201E%1\u201C ist die Datenbankdatei in Gebrauch und wird nicht "
                                             "durch ein PDF ersetzt. Bitte einen anderen Namen w\u00E4hlen.")
                                  .arg(QDir::toNativeSeparators(ziel.absoluteFilePath())));
        return {};
    }
    // The dialog asked before replacing the name it returned, but not before
    // replacing the one with the added suffix.
    if (datei != gewaehlt && ziel.exists() &&
        !fenster.frageStellen(QStringLiteral("Die Datei \u201E%1\u201C gibt es schon. Soll sie ersetzt werden?")
                                  .arg(QDir::toNativeSeparators(datei))))
        return {};
    return datei;
}

void pdfOeffnen(MainWindow &fenster, const QString &datei)
{
    const QString pfad = QFileInfo(datei).absoluteFilePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(pfad)))
        fenster.meldungZeigen(QStringLiteral("Die Datei \u201E%1\u201C wurde geschrieben, konnte aber nicht "
                                             "ge\u00F6ffnet werden. Ist ein Programm zum Anzeigen von PDF-Dateien "
                                             "eingerichtet?")
                                  .arg(QDir::toNativeSeparators(pfad)));
}

void pdfFehler(MainWindow &fenster, const QString &datei)
{
    fenster.meldungZeigen(QStringLiteral("Die Datei \u201E%1\u201C konnte nicht geschrieben werden. Ist der Ordner "
                                         "schreibgesch\u00FCtzt oder die Datei in einem anderen Programm ge\u00F6ffnet?")
                              .arg(QDir::toNativeSeparators(QFileInfo(datei).absoluteFilePath())));
}

} // namespace

void pdfDrucken(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                int zeilen, const std::function<void(PdfTabelle &pdf, int zeile, int oben)> &zeichnen)
{
    const QString datei = pdfNameWaehlen(fenster, datenbank);
    if (datei.isEmpty())
        return;
    const auto zeit = static_cast<unsigned int>(fenster.aktuelleZeit().toSecsSinceEpoch());
    {
        PdfTabelle pdf(datei, raster, patient, zeilen);
        if (!pdf.offen()) {
            pdfFehler(fenster, datei);
            return;
        }
        for (int i = 0; i < zeilen; ++i)
            zeichnen(pdf, i, pdf.zeileBeginnen(i));
        const QString fuss = raster.titel + QStringLiteral(" erstellt am: ") + fenster.DatumAusZeit(zeit) +
                             QStringLiteral(" mit TIRVAkesh - Kalvoria");
        if (!pdf.beenden(fuss)) {
            pdfFehler(fenster, datei);
            return;
        }
    }
    pdfOeffnen(fenster, datei);
}
