// SPDX-License-Identifier: GPL-3.0-or-later
// The history as a PDF file, for the care documentation.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "pdf/seiten.h"

#include <QTableWidget>

void MainWindow::VerlaufDrucken()
{
    // The entries the window shows, in its order: what was chosen on screen
    // is what goes on paper.
    const PdfRaster raster(QStringLiteral("Verlauf"), 180, 1700, 300, 300,
                           {{1150, "Zeitpunkt"},
                            {1400, "Art"},
                            {1700, "Betrifft"},
                            {1600, "vorher"},
                            {1600, "nachher"},
                            {1150, "Benutzer"}});
    const QTableWidget *t = verlaufTabelle.get();
    pdfDrucken(
        *this, datenbankDatei, raster, verlaufKopf, t->rowCount(),
        [t](PdfTabelle &pdf, int zeile) {
            int hoehe = 0;
            for (int s = 0; s < 6; ++s)
                hoehe = qMax(hoehe, pdf.zellenHoehe(s, zellText(t, zeile, s + 1)));
            return hoehe;
        },
        [t](PdfTabelle &pdf, int zeile, int oben) {
            for (int s = 0; s < 6; ++s)
                pdf.zelleZeichnen(s, oben, zellText(t, zeile, s + 1), Qt::AlignLeft | Qt::AlignTop);
        });
}
