// SPDX-License-Identifier: GPL-3.0-or-later
// The pharmacy window: bought packages into stock.
#include "app/mainwindow.h"

#include "bedarf/anforderungen.h"
#include "intake/bestand.h"
#include "intake/fensterfelder.h"
#include "intake/gespeichert.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"
#include "verlauf/verlauf.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>

const char *const bestandBuchen = "UPDATE einnahme SET tag=:tag, stand=:stand  WHERE id=:id ;";

namespace {

// Without the units per package a booking could only re-count the stock,
// which would look as if the packages had been added.
QString ohnePackungsgroesse(const QString &handelsname)
{
    const QString name = handelsname.isEmpty() ? QStringLiteral("dieser Zeile")
                                               : QStringLiteral("\u201E%1\u201C").arg(handelsname);
    return umlauteErsetzen(
               QStringLiteral(
                   "F:ue:r die Packung %1 ist nicht bekannt, wie viele Einheiten sie enth:ae:lt (die Packung "
                   "wurde gel:oe:scht oder hat keine g:ue:ltige Menge).\n\nGekaufte Packungen k:oe:nnen "
                   "deshalb nicht eingetragen werden. Den Bestand bitte unter \u201EZuordnung "
                   "bearbeiten\u201C korrigieren."))
        .arg(name);
}

// Bought units added to a stock nobody knows would look like a known stock.
QString zeileUngueltig(const QString &handelsname, const QString &fehler)
{
    return umlauteErsetzen(QStringLiteral("Die Zeile \u201E%1\u201C enth:ae:lt ung:ue:ltige Werte:\n%2\n\nGekaufte "
                                          "Packungen k:oe:nnen erst eingetragen werden, wenn die Zeile unter "
                                          "\u201EZuordnung bearbeiten\u201C korrigiert ist."))
        .arg(handelsname, fehler);
}

} // namespace

void MainWindow::ApothekenFenster()
{
    const int r = einnahmeZeileWaehlen(QStringLiteral("f:ue:r die Packungen gekauft wurden"));
    if (r < 0)
        return;
    if (!einnahmeFehler.at(r).isEmpty()) {
        meldungZeigen(zeileUngueltig(einnahmeHandelsname.at(r), einnahmeFehler.at(r)));
        return;
    }
    if (!zahlLesen(einnahmePackung.at(r), Bereich::einheiten)) {
        meldungZeigen(ohnePackungsgroesse(einnahmeHandelsname.at(r)));
        return;
    }

    QDialog fenster;
    einnahmeFensterKopf(fenster, schriftNormal, einnahmeHandelsname.at(r));
    const Qt::Alignment rechts = Qt::AlignRight | Qt::AlignVCenter;
    const QString rahmen = QStringLiteral("border:1px solid gray;");
    fensterText(fenster, QStringLiteral("Menge:"), QRect(20, 50, 65, 20), rechts);
    fensterText(fenster, einnahmePackung.at(r), QRect(85, 50, 50, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Dosis/Einheit:"), QRect(135, 50, 90, 20), rechts);
    fensterText(fenster, einnahmeDosis.at(r), QRect(230, 50, 100, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Stand:"), QRect(20, 80, 65, 20), rechts);
    fensterText(fenster, einnahmeBestand.at(r), QRect(85, 80, 50, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Heute:"), QRect(160, 80, 65, 20), rechts);
    fensterText(fenster, heute.toString(QStringLiteral("dd.MM.yyyy")), QRect(230, 80, 100, 20), Qt::AlignCenter,
                rahmen);
    fensterText(fenster, umlauteErsetzen(QStringLiteral("Packung/en zum Bestand hinzuf:ue:gen")),
                QRect(145, 120, 250, 20));

    const FelderLeihen felder(fenster, {{fensterPackungen.get(), QRect(85, 120, 50, 20)}});
    fensterPackungen->setText(QStringLiteral("1"));
    fensterPackungen->selectAll();

    fensterAusfuehren(fenster, QStringLiteral("&Eintragen"), 160, &MainWindow::ApothekeEintragen, fensterGespeichert);
}

void MainWindow::ApothekeEintragen()
{
    const int r = einnahmeFensterZeile();
    if (r < 0)
        return;
    const QString id = einnahmeId.at(r);

    const QString text = fensterPackungen->text().trimmed();
    const std::optional<double> packungen = zahlLesen(text, Bereich::packungen);
    if (!packungen) {
        meldungZeigen(zahlFehlerText(QStringLiteral("Packung/en"), text, Bereich::packungen));
        fensterPackungen->setFocus();
        return;
    }
    if (!einnahmeFehler.at(r).isEmpty()) {
        meldungZeigen(zeileUngueltig(einnahmeHandelsname.at(r), einnahmeFehler.at(r)));
        return;
    }

    // The purchase is added to the stock as the file holds it now, counted
    // to today, and with the package's size as the file holds it now: a
    // count or a dose stored elsewhere since the window opened stays.
    DbSitzung db(*this);
    QString abgelehnt;
    const bool gebucht = db.transaktion([&] {
        bool ok = false;
        const auto zeilen = db.lesen(
            QStringLiteral("SELECT einnahme.tag, einnahme.stand, einnahme.morgen, einnahme.mittag, einnahme.abend, "
                           "einnahme.nacht, sorte.packung FROM einnahme LEFT JOIN sorte ON einnahme.med_id = sorte.id "
                           "WHERE einnahme.id=:id"),
            {{QStringLiteral(":id"), id}}, &ok);
        if (!ok)
            return false;
        if (zeilen.isEmpty()) {
            db.konflikt();
            return false;
        }
        const QSqlRecord &z = zeilen.first();
        auto wert = [&z](const char *spalte) { return z.value(QLatin1String(spalte)); };
        const Zeilenpruefung pruefung = zeilePruefen(wert("stand"), wert("tag"),
                                                     {wert("morgen"), wert("mittag"), wert("abend"), wert("nacht")});
        if (!pruefung.fehler.isEmpty()) {
            abgelehnt = zeileUngueltig(einnahmeHandelsname.at(r), pruefung.fehler);
            return false;
        }
        const std::optional<double> einheiten = zahlLesen(wert("packung").toString(), Bereich::einheiten);
        if (!einheiten) {
            abgelehnt = ohnePackungsgroesse(einnahmeHandelsname.at(r));
            return false;
        }
        const Bestand b = bestandBerechnen(wert("stand").toFloat(), wert("morgen").toFloat(), wert("mittag").toFloat(),
                                           wert("abend").toFloat(), wert("nacht").toFloat(), wert("tag").toDate(),
                                           heute);
        // Today's stock as the table writes it, so that the consumption of
        // the days before today is settled together with the purchase.
        const double neu = bestandText(static_cast<double>(b.heute)).toDouble() + *packungen * *einheiten;
        if (!(neu >= Bereich::bestand.von && neu <= Bereich::bestand.bis)) {
            abgelehnt = QStringLiteral(
                            "Mit %1 Packung/en l\u00E4ge der Bestand bei %2, au\u00DFerhalb von %3 bis %4.\n\n"
                            "Bitte die Zahl der Packungen oder unter \u201EZuordnung bearbeiten\u201C den "
                            "Bestand pr\u00FCfen.\n\nEs wurde nichts gespeichert.")
                            .arg(text, zahlText(neu), zahlText(Bereich::bestand.von), zahlText(Bereich::bestand.bis));
            return false;
        }
        if (!db.aendernZeile(QString::fromLatin1(bestandBuchen),
                             {{QStringLiteral(":tag"), heute.toString(QStringLiteral("yyyy-MM-dd"))},
                              {QStringLiteral(":stand"), neu},
                              {QStringLiteral(":id"), id}}) ||
            !verlaufBuchung(db, aktuelleZeit(), id, bestandText(static_cast<double>(b.heute)).toDouble(), neu,
                            *packungen, *einheiten))
            return false;
        // Bought packages answer the line's prescription request; a booking
        // taken back (a negative count) answers none.
        return *packungen < 0 || anforderungErledigen(db, id, heute);
    });
    if (!gebucht) {
        if (!abgelehnt.isEmpty()) {
            meldungZeigen(abgelehnt);
            fensterPackungen->setFocus();
        }
        // A line removed elsewhere: the window closes, the views show the file.
        fensterGespeichert = db.hatKonflikt();
        return;
    }
    einnahmeFensterGespeichert(id);
}
