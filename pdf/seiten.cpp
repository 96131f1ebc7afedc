// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf/seiten.h"

#include "app/mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QtMath>
#include <QUrl>

namespace {
constexpr int links = 500;
constexpr int breite = 8600;
// Kept free at the bottom of each page, as much as the title keeps at the top.
constexpr int randUnten = 700;
// The patient line's top (its first baseline where a single line had it),
// and the least room between it and the column headers.
constexpr int patientOben = 1350;
constexpr int patientAbstand = 150;
// Between a cell's outline and its text.
constexpr int innenSeite = 80;
constexpr int innenOben = 40;

QTextOption umbruch(int ausrichtung)
{
    QTextOption o{Qt::Alignment(ausrichtung)};
    // A name without blanks (a long compound, a code) still breaks inside the cell.
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return o;
}
} // namespace

PdfRaster::PdfRaster(const QString &titel_, int titelHoehe_, int kopfY_, int kopfHoehe_, int zeilenHoehe_,
                     std::initializer_list<std::pair<int, const char *>> spalten_)
    : titel(titel_), titelHoehe(titelHoehe_), kopfY(kopfY_), kopfHoehe(kopfHoehe_), zeilenHoehe(zeilenHoehe_)
{
    int x = links;
    for (const auto &s : spalten_) {
        spalten.append({x, s.first, QString::fromUtf8(s.second)});
        x += s.first;
    }
}

Seitenplan seitenPlanen(const QVector<int> &hoehen, int kopfY, int ersteZeile, int zeilenHoehe, int unten, int schluss)
{
    Seitenplan plan;
    const int fussLuecke = fussAbstand - zeilenHoehe;
    int seite = 0;
    int oben = ersteZeile;
    for (int i = 0; i < hoehen.size(); ++i) {
        const bool letzte = i == hoehen.size() - 1;
        const int fuss = letzte ? qMax(0, fussLuecke + fussHoehe) + schluss : 0;
        const int hoehe = qMin(hoehen.at(i), unten - ersteZeile - fuss);
        const int bedarf = hoehe + fuss;
        // A page always takes at least one row, however little room there is.
        if (oben + bedarf > unten && oben > ersteZeile) {
            ++seite;
            oben = ersteZeile;
        }
        plan.seite << seite;
        plan.oben << oben;
        plan.hoehe << hoehe;
        oben += hoehe;
    }
    plan.seiten = seite + 1;
    plan.schlussOben = hoehen.isEmpty() ? ersteZeile : plan.oben.last() + plan.hoehe.last();
    plan.fussOben = hoehen.isEmpty() ? kopfY + fussAbstand + schluss : plan.schlussOben + schluss + fussLuecke;
    return plan;
}

PdfTabelle::PdfTabelle(const QString &datei, const PdfRaster &raster_, const QString &patient_)
    : schreiber(std::make_unique<QPdfWriter>(datei)), titelSchrift(QStringLiteral("arial"), 14, QFont::Bold),
      textSchrift(QStringLiteral("arial"), 10, QFont::Normal), kopfSchrift(QStringLiteral("arial"), 10, QFont::Bold),
      kleinSchrift(QStringLiteral("arial"), 8, QFont::Thin), fussSchrift(QStringLiteral("arial"), 8, QFont::Thin, true),
      schwarz(QBrush(Qt::black, Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
      grau(QColor(Qt::darkGray)), raster(raster_), kopfYVorgabe(raster_.kopfY)
{
    if (!maler.begin(schreiber.get()))
        return;
    patientSetzen(patient_);
}

void PdfTabelle::patientSetzen(const QString &patient_)
{
    patient = patient_;
    // A long patient line wraps and pushes the table down on every page.
    patientHoehe = textHoehe(textSchrift, breite, patient);
    raster.kopfY = qMax(kopfYVorgabe, patientOben + patientHoehe + patientAbstand);
}

PdfTabelle::~PdfTabelle()
{
    if (maler.isActive())
        maler.end();
}

int PdfTabelle::textHoehe(const QFont &schrift, int breite_, const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QFont vorher = maler.font();
    maler.setFont(schrift);
    const QRectF r = maler.boundingRect(QRectF(0, 0, breite_, 1e6), text, umbruch(Qt::AlignLeft | Qt::AlignTop));
    maler.setFont(vorher);
    return qCeil(r.height());
}

int PdfTabelle::zellenHoehe(int spalte, const QString &text)
{
    const int textBreite = raster.spalten.at(spalte).breite - 2 * innenSeite;
    return zellenHoeheUm(textHoehe(textSchrift, textBreite, text));
}

int PdfTabelle::zellenHoeheUm(int textHoehe_) const
{
    return qMax(raster.zeilenHoehe, textHoehe_ + 2 * innenOben);
}

void PdfTabelle::zeilenPlanen(const QVector<int> &hoehen, int schluss)
{
    plan = seitenPlanen(hoehen, raster.kopfY, raster.kopfY + raster.kopfHoehe, raster.zeilenHoehe,
                        schreiber->height() - randUnten, schluss);
    zeile = -1;
    seiteBeginnen(0);
}

void PdfTabelle::seiteBeginnen(int neueSeite)
{
    if (seiteGezeichnet)
        schreiber->newPage();
    seiteGezeichnet = true;
    seite = neueSeite;

    // Every page carries title, patient and column headers, so that a page
    // that comes loose from the others still says what and whom it lists.
    maler.setPen(schwarz);
    maler.setFont(titelSchrift);
    maler.drawText(QRect(links, 700, breite, raster.titelHoehe), Qt::AlignCenter, raster.titel);
    maler.setFont(textSchrift);
    textZeichnen(QRect(links, patientOben, breite, patientHoehe), patient, Qt::AlignLeft | Qt::AlignTop);
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
    zeile = i;
    return plan.oben.at(i);
}

QRect PdfTabelle::zelle(int spalte, int oben) const
{
    const PdfSpalte &s = raster.spalten.at(spalte);
    return QRect(s.x, oben, s.breite, plan.hoehe.value(zeile, raster.zeilenHoehe));
}

QRect PdfTabelle::innen(const QRect &zelle)
{
    return zelle.adjusted(innenSeite, innenOben, -innenSeite, -innenOben);
}

void PdfTabelle::zelleZeichnen(int spalte, int oben, const QString &text, int ausrichtung)
{
    const QRect r = zelle(spalte, oben);
    maler.drawRect(r);
    textZeichnen(innen(r), text, ausrichtung);
}

void PdfTabelle::textZeichnen(const QRect &r, const QString &text, int ausrichtung)
{
    // Only a row cut to the page's height has more text than room.
    maler.save();
    maler.setClipRect(r);
    maler.drawText(QRectF(r), text, umbruch(ausrichtung));
    maler.restore();
}

void PdfTabelle::fussZeichnen(const QString &fusszeile)
{
    maler.setFont(fussSchrift);
    maler.setPen(grau);
    maler.drawText(QRect(links, plan.fussOben, breite, fussHoehe), Qt::AlignCenter, fusszeile);
    maler.setPen(schwarz);
    maler.setFont(textSchrift);
}

bool PdfTabelle::beenden()
{
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

QString pdfNameWaehlen(MainWindow &fenster, const QString &datenbank)
{
    const QString gewaehlt = fenster.dateiWaehlen(QStringLiteral("PDF schreiben"), fenster.dialogOrdner(),
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
    fenster.meldungZeigen(
        QStringLiteral("Die Datei \u201E%1\u201C konnte nicht geschrieben werden. Ist der Ordner "
                       "schreibgesch\u00FCtzt oder die Datei in einem anderen Programm ge\u00F6ffnet?")
            .arg(QDir::toNativeSeparators(QFileInfo(datei).absoluteFilePath())));
}

void pdfSchreiben(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                  const std::function<void(PdfTabelle &pdf, const QString &fuss)> &schreiben)
{
    const QString datei = pdfNameWaehlen(fenster, datenbank);
    if (datei.isEmpty())
        return;
    const auto zeit = static_cast<unsigned int>(fenster.aktuelleZeit().toSecsSinceEpoch());
    {
        PdfTabelle pdf(datei, raster, patient);
        if (!pdf.offen()) {
            pdfFehler(fenster, datei);
            return;
        }
        schreiben(pdf, raster.titel + QStringLiteral(" erstellt am: ") + fenster.DatumAusZeit(zeit) +
                           QStringLiteral(" mit TIRVAkesh - Kalvoria"));
        if (!pdf.beenden()) {
            pdfFehler(fenster, datei);
            return;
        }
    }
    pdfOeffnen(fenster, datei);
}

void pdfDrucken(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                int zeilen, const std::function<int(PdfTabelle &pdf, int zeile)> &hoehe,
                const std::function<void(PdfTabelle &pdf, int zeile, int oben)> &zeichnen)
{
    pdfSchreiben(fenster, datenbank, raster, patient, [&](PdfTabelle &pdf, const QString &fuss) {
        QVector<int> hoehen;
        for (int i = 0; i < zeilen; ++i)
            hoehen << hoehe(pdf, i);
        pdf.zeilenPlanen(hoehen);
        for (int i = 0; i < zeilen; ++i)
            zeichnen(pdf, i, pdf.zeileBeginnen(i));
        pdf.fussZeichnen(fuss);
    });
}

namespace {
constexpr int namenLuecke = 10; // between the name and the trade name
}

int PdfTabelle::namenHoehe(const QString &name, const QString &handelsname)
{
    const int breite = innen(zelle(0, 0)).width();
    return zellenHoeheUm(textHoehe(textSchrift, breite, name) + namenLuecke +
                         textHoehe(kleinSchrift, breite, handelsname));
}

void PdfTabelle::namenZeichnen(int oben, const QString &name, const QString &handelsname)
{
    const QRect innenRaum = innen(zelle(0, oben));
    const int obenHoehe = textHoehe(textSchrift, innenRaum.width(), name);
    const int untenHoehe = textHoehe(kleinSchrift, innenRaum.width(), handelsname);
    maler.drawRect(zelle(0, oben));
    const QRect oberer(innenRaum.x(), innenRaum.y(), innenRaum.width(), obenHoehe);
    const QRect unterer(innenRaum.x(), oberer.bottom() + 1 + namenLuecke, innenRaum.width(), untenHoehe);
    textZeichnen(oberer.intersected(innenRaum), name, Qt::AlignLeft | Qt::AlignTop);
    maler.setFont(kleinSchrift);
    maler.setPen(grau);
    textZeichnen(unterer.intersected(innenRaum), handelsname, Qt::AlignLeft | Qt::AlignTop);
    maler.setFont(textSchrift);
    maler.setPen(schwarz);
}
