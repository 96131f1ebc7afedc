// SPDX-License-Identifier: GPL-3.0-or-later
// The regulation plan as a PDF file.
#include "app/mainwindow.h"

#include "intake/bestand.h"
#include "pdf/seiten.h"

#include <QLabel>

void MainWindow::print_regulation()
{
    const PdfRaster raster(
        QStringLiteral("Verordnungsplan"), 300, 1850, 450, 450,
        {{3800, "Medikament"}, {1280, "Dosis"}, {880, "Morgen"}, {880, "Mittag"}, {880, "Abend"}, {880, "Nacht"}});

    // Aids are kept in stock but not given by the dose: the plan leaves them out.
    QVector<int> zeilen;
    for (int i = 0; i < einnahmeZeilen(); ++i) {
        if (einnahmeHilfe.at(i) != QLatin1String("1"))
            zeilen << i;
    }

    const auto dosen = [this](int i) {
        // A dose in words stands where the morning's would, the rest empty: it is no schedule.
        if (einnahmePlan.at(i).ohneTagesverbrauch())
            return QStringList{einnahmeDosis.at(i), einnahmePlan.at(i).dosisAnzeige(), QString(), QString(), QString()};
        return QStringList{einnahmeDosis.at(i), dosisText(einnahmeMorgen.at(i), einnahmeDosisFehler.at(i).at(0)),
                           dosisText(einnahmeMittag.at(i), einnahmeDosisFehler.at(i).at(1)),
                           dosisText(einnahmeAbend.at(i), einnahmeDosisFehler.at(i).at(2)),
                           dosisText(einnahmeNacht.at(i), einnahmeDosisFehler.at(i).at(3))};
    };

    pdfDrucken(
        *this, datenbankDatei, raster, patientKopfzeile(), zeilen.size(),
        [&](PdfTabelle &pdf, int zeile) {
            const int i = zeilen.at(zeile);
            int hoehe = pdf.namenHoehe(einnahmeMedizin.at(i), einnahmeHandelsname.at(i));
            const QStringList texte = dosen(i);
            for (int spalte = 1; spalte <= texte.size(); ++spalte)
                hoehe = qMax(hoehe, pdf.zellenHoehe(spalte, texte.at(spalte - 1)));
            return hoehe;
        },
        [&](PdfTabelle &pdf, int zeile, int oben) {
            const int i = zeilen.at(zeile);
            pdf.namenZeichnen(oben, einnahmeMedizin.at(i), einnahmeHandelsname.at(i));

            const QStringList texte = dosen(i);
            for (int spalte = 1; spalte <= texte.size(); ++spalte)
                pdf.zelleZeichnen(spalte, oben, texte.at(spalte - 1));
        });
}
