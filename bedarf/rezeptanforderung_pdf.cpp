// SPDX-License-Identifier: GPL-3.0-or-later
// Prescription requests as a PDF file: one sheet per patient, for the
// family doctor's practice.
#include "app/mainwindow.h"

#include "intake/bestand.h"
#include "pdf/seiten.h"

#include <QTabWidget>

#include <algorithm>

namespace {

// Below the last row: a note, and where the request is signed.
constexpr int bemerkungAbstand = 250;
constexpr int beschriftungHoehe = 250;
constexpr int bemerkungHoehe = 1200;
constexpr int unterschriftAbstand = 900;
constexpr int schlussHoehe = bemerkungAbstand + beschriftungHoehe + bemerkungHoehe + unterschriftAbstand +
                             beschriftungHoehe;
constexpr int links = 500;
constexpr int breite = 8600;

QString kopf(const Bedarfspatient &p, const QDate &heute)
{
    QString patient = QStringLiteral("Patient: ") + p.name + QStringLiteral(", ") + p.vorname;
    if (!p.geburtstag.isEmpty())
        patient += QStringLiteral(", geboren am ") + p.geburtstag;
    QString datum = QStringLiteral("Datum: ") + heute.toString(QStringLiteral("dd.MM.yyyy"));
    if (p.hausarztTermin.isValid())
        datum += QStringLiteral(", n\u00E4chster Termin in der Praxis: ") +
                 p.hausarztTermin.toString(QStringLiteral("dd.MM.yyyy"));
    return QStringLiteral("An die Hausarztpraxis\n\n") + patient + QLatin1Char('\n') + datum +
           QStringLiteral("\n\nBitte stellen Sie f\u00FCr die folgenden Medikamente ein Rezept aus:");
}

} // namespace

void MainWindow::RezeptanforderungDrucken()
{
    // The sheets follow the list as it is shown: the page is brought to the
    // front, which reads the list if it waited.
    hauptTabs->setCurrentWidget(seiteRezeptbedarf);
    QVector<int> zeilen = bedarfGewaehlt();
    if (zeilen.isEmpty()) {
        for (int z = 0; z < bedarfZeilen.size(); ++z)
            zeilen.append(z);
    }
    if (zeilen.isEmpty()) {
        meldungZeigen(QStringLiteral("Auf der Liste \u201ERezeptbedarf\u201C steht nichts, wof\u00FCr ein Rezept "
                                     "angefordert werden m\u00FCsste."));
        return;
    }
    const QVector<QVector<int>> seiten = nachPatienten(bedarfZeilen, zeilen);
    const PdfRaster raster(
        QStringLiteral("Rezeptanforderung"), 300, 1850, 300, 300,
        {{4600, "Medikament"}, {1500, "Dosis"}, {1400, "Packungsgr\u00F6\u00DFe"}, {1100, "Packungen"}});

    // What is not known is not printed as a figure.
    const auto packungen = [](const Bedarfszeile &b) {
        return b.bedarf.packungen ? QString::number(*b.bedarf.packungen) : QStringLiteral("?");
    };
    const auto groesse = [](const Bedarfszeile &b) {
        return b.einheiten.isEmpty() ? QStringLiteral("?") : b.einheiten;
    };

    pdfSchreiben(*this, datenbankDatei, raster, QString(), [&](PdfTabelle &pdf, const QString &fuss) {
        for (const QVector<int> &seite : seiten) {
            pdf.patientSetzen(kopf(bedarfPatienten.at(bedarfZeilen.at(seite.first()).patient), bedarfHeute));
            QVector<int> hoehen;
            for (int z : seite) {
                const Bedarfszeile &b = bedarfZeilen.at(z);
                hoehen << std::max({pdf.namenHoehe(b.medizin, b.handelsname), pdf.zellenHoehe(1, b.dosis),
                                    pdf.zellenHoehe(2, groesse(b))});
            }
            pdf.zeilenPlanen(hoehen, schlussHoehe);
            for (int i = 0; i < seite.size(); ++i) {
                const Bedarfszeile &b = bedarfZeilen.at(seite.at(i));
                const int oben = pdf.zeileBeginnen(i);
                pdf.namenZeichnen(oben, b.medizin, b.handelsname);
                pdf.zelleZeichnen(1, oben, b.dosis);
                pdf.zelleZeichnen(2, oben, groesse(b));
                pdf.zelleZeichnen(3, oben, packungen(b));
            }

            QPainter &p = pdf.maler;
            int y = pdf.schlussOben() + bemerkungAbstand;
            p.drawText(QRect(links, y, breite, beschriftungHoehe), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("Bemerkung:"));
            y += beschriftungHoehe;
            p.drawRect(QRect(links, y, breite, bemerkungHoehe));
            y += bemerkungHoehe + unterschriftAbstand;
            p.drawLine(links + breite / 2, y, links + breite, y);
            p.setFont(pdf.kleinSchrift);
            p.drawText(QRect(links + breite / 2, y + 30, breite / 2, beschriftungHoehe), Qt::AlignLeft | Qt::AlignTop,
                       QStringLiteral("Datum, Unterschrift"));
            p.setFont(pdf.textSchrift);
            pdf.fussZeichnen(fuss);
        }
    });
}
