// The regulation plan as a PDF file.
#include "app/mainwindow.h"

#include "intake/bestand.h"
#include "pdf/seiten.h"

#include <QLabel>

void MainWindow::print_regulation()
{
    const PdfRaster raster{QStringLiteral("Verordnungsplan"),
                           300,
                           {{500, 3800, QStringLiteral("Medikament")},
                            {4300, 1280, QStringLiteral("Dosis")},
                            {5580, 880, QStringLiteral("Morgen")},
                            {6460, 880, QStringLiteral("Mittag")},
                            {7340, 880, QStringLiteral("Abend")},
                            {8220, 880, QStringLiteral("Nacht")}},
                           1850,
                           450,
                           450};

    // Aids are kept in stock but not given by the dose: the plan leaves them out.
    QVector<int> zeilen;
    for (int i = 0; i < einnahmeZeilen(); ++i) {
        if (einnahmeHilfe.at(i) != QLatin1String("1"))
            zeilen << i;
    }

    pdfDrucken(*this, datenbankDatei, raster, patientKopfzeile(), zeilen.size(),
               [&](PdfTabelle &pdf, int zeile, int oben) {
                   const int i = zeilen.at(zeile);
                   QPainter &p = pdf.maler;
                   p.drawRect(pdf.zelle(0, oben));
                   p.drawText(QRect(600, oben + 10, 3700, 250), Qt::AlignLeft | Qt::AlignVCenter,
                              einnahmeMedizin.at(i));
                   p.setFont(pdf.kleinSchrift);
                   p.setPen(pdf.grau);
                   p.drawText(QRect(600, oben + 190, 3700, 250), Qt::AlignLeft | Qt::AlignVCenter,
                              einnahmeHandelsname.at(i));
                   p.setFont(pdf.textSchrift);
                   p.setPen(pdf.schwarz);

                   pdf.zelleZeichnen(1, oben, einnahmeDosis.at(i));
                   int spalte = 2;
                   for (const QString *dosis : {&einnahmeMorgen.at(i), &einnahmeMittag.at(i), &einnahmeAbend.at(i),
                                                &einnahmeNacht.at(i)}) {
                       pdf.zelleZeichnen(spalte, oben, dosisText(*dosis, einnahmeDosisFehler.at(i).at(spalte - 2)));
                       ++spalte;
                   }
               });
}
