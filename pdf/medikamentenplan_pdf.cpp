// SPDX-License-Identifier: GPL-3.0-or-later
// The medication list as a PDF file.
#include "app/mainwindow.h"

#include "intake/bestand.h"
#include "pdf/seiten.h"

#include <QLabel>

namespace {

// The range bar fills its cell at 60 days, like the overview's bar. A line
// without consumption never runs out and gets the full bar, as on screen; a
// used-up stock gets none rather than a bar reaching out of the cell, and so
// does a line whose figures cannot be known.
int balkenBreite(const Reichweite &r, int zellenBreite)
{
    if (r.ungueltig)
        return 0;
    if (r.ohneVerbrauch || r.tage > 60.0f)
        return zellenBreite;
    const float jeTag = static_cast<float>(zellenBreite) / 60.0f;
    return qBound(0, static_cast<int>(r.tage * jeTag), zellenBreite);
}

} // namespace

void MainWindow::print_medlist()
{
    const PdfRaster raster(QStringLiteral("Medikamentenliste"), 180, 1700, 300, 300,
                           {{4800, "Medikament"}, {800, "Stand"}, {1500, "Reichweite"}, {1500, "reicht bis"}});

    pdfDrucken(
        *this, datenbankDatei, raster, patientKopfzeile(), einnahmeZeilen(),
        [this](PdfTabelle &pdf, int i) { return pdf.zellenHoehe(0, einnahmeHandelsname.at(i)); },
        [this](PdfTabelle &pdf, int i, int oben) {
            // The very figures and marks of the overview.
            const Reichweite r = reichweiteZeile(i);
            QPainter &p = pdf.maler;

            const QRect name = pdf.zelle(0, oben);
            p.fillRect(QRect(name.x(), oben, balkenBreite(r, name.width()), name.height()), QColor(245, 245, 245));
            pdf.zelleZeichnen(0, oben, einnahmeHandelsname.at(i), Qt::AlignLeft | Qt::AlignVCenter);

            pdf.zelleZeichnen(1, oben, r.ungueltig ? ungueltigText() : einnahmeBestand.at(i));
            pdf.zelleZeichnen(2, oben, r.wochenText);
            // Red wins over yellow: running out before the doctor's visit is worse.
            if (r.rot)
                p.fillRect(pdf.zelle(3, oben), QColor(Qt::red));
            else if (r.gelb)
                p.fillRect(pdf.zelle(3, oben), QColor(Qt::yellow));
            pdf.zelleZeichnen(3, oben, r.reichtBisText);
        });
}
