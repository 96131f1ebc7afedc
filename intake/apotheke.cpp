// The pharmacy window: bought packages into stock.
#include "app/mainwindow.h"

#include "intake/bestand.h"
#include "intake/fensterfelder.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>

std::optional<int> packungenLesen(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return n;
}

std::optional<double> einheitenJePackung(const QString &text)
{
    const std::optional<double> einheiten = zahlLesen(text);
    if (!einheiten || *einheiten <= 0)
        return std::nullopt;
    return einheiten;
}

namespace {

// Without the units per package a booking could only re-count the stock,
// which would look as if the packages had been added.
QString ohnePackungsgroesse(const QString &handelsname)
{
    const QString name = handelsname.isEmpty() ? QStringLiteral("dieser Zeile") : QStringLiteral("\u201E%1\u201C").arg(handelsname);
    return umlauteErsetzen(
               QStringLiteral("F:ue:r die Packung %1 ist nicht bekannt, wie viele Einheiten sie enth:ae:lt (die Packung "
                              "wurde gel:oe:scht oder hat keine g:ue:ltige Menge).\n\nGekaufte Packungen k:oe:nnen "
                              "deshalb nicht eingetragen werden. Den Bestand bitte unter \u201EZuordnung "
                              "bearbeiten\u201C korrigieren."))
        .arg(name);
}

} // namespace

void MainWindow::ApothekenFenster()
{
    if (tabelleZuordnung->rowCount() == 0)
        return;
    const int r = tabelleZuordnung->currentRow();
    if (r < 0 || r >= einnahmeZeilen()) {
        meldungZeigen(umlauteErsetzen(QStringLiteral("Bitte zuerst in der Liste \u201EZugeordnete Medikamente\u201C die "
                                                     "Zeile ausw:ae:hlen, f:ue:r die Packungen gekauft wurden.")));
        return;
    }
    if (!einheitenJePackung(einnahmePackung.at(r))) {
        meldungZeigen(ohnePackungsgroesse(einnahmeHandelsname.at(r)));
        return;
    }

    QDialog fenster;
    einnahmeFensterKopf(fenster, schriftNormal, einnahmeHandelsname.at(r));
    const Qt::Alignment rechts = Qt::AlignRight | Qt::AlignVCenter;
    const QString rahmen = QStringLiteral("border:1px solid gray;");
    // "Dosis/Einheit:" grows to the left where the 12-pixel text is wider than its box.
    fensterText(fenster, QStringLiteral("Menge:"), QRect(15, 50, 65, 20), rechts);
    fensterText(fenster, einnahmePackung.at(r), QRect(80, 50, 50, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Dosis/Einheit:"), QRect(140, 50, 75, 20), rechts);
    fensterText(fenster, einnahmeDosis.at(r), QRect(220, 50, 100, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Stand:"), QRect(15, 80, 65, 20), rechts);
    fensterText(fenster, einnahmeBestand.at(r), QRect(80, 80, 50, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, QStringLiteral("Heute:"), QRect(150, 80, 65, 20), rechts);
    fensterText(fenster, heute.toString(QStringLiteral("dd.MM.yyyy")), QRect(220, 80, 100, 20), Qt::AlignCenter, rahmen);
    fensterText(fenster, umlauteErsetzen(QStringLiteral("Packung/en zum Bestand hinzuf:ue:gen")),
                QRect(140, 120, 200, 20));

    const FelderLeihen felder(fenster, {{fensterPackungen.get(), QRect(80, 120, 50, 20)}});
    fensterPackungen->setText(QStringLiteral("1"));
    fensterPackungen->selectAll();

    fensterGespeichert = false;
    fensterAusfuehren(fenster, QStringLiteral("Eintragen"), 160, &MainWindow::ApothekeEintragen, fensterGespeichert);
}

void MainWindow::ApothekeEintragen()
{
    fensterGespeichert = false;
    const int r = tabelleZuordnung->currentRow();
    if (r < 0 || r >= einnahmeZeilen())
        return;
    const QString id = einnahmeId.at(r);

    const QString text = fensterPackungen->text().trimmed();
    const std::optional<int> packungen = packungenLesen(text);
    if (!packungen) {
        meldungZeigen(QStringLiteral("Die Angabe bei \u201EPackung/en\u201C ist keine ganze Zahl: \u201E%1\u201C.\n\n"
                                     "Bitte die Zahl der gekauften Packungen eingeben, zum Beispiel 1 oder 2.\n\n"
                                     "Es wurde nichts gespeichert.")
                          .arg(text));
        fensterPackungen->setFocus();
        return;
    }
    // The purchase is added to the stock as the file holds it now, counted
    // to today, and with the package's size as the file holds it now: a
    // count or a dose stored elsewhere since the window opened stays.
    DbSitzung db(*this);
    bool ohneGroesse = false;
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
        const std::optional<double> einheiten = einheitenJePackung(z.value(QStringLiteral("packung")).toString());
        if (!einheiten) {
            ohneGroesse = true;
            return false;
        }
        const Bestand b = bestandBerechnen(
            z.value(QStringLiteral("stand")).toFloat(), z.value(QStringLiteral("morgen")).toFloat(),
            z.value(QStringLiteral("mittag")).toFloat(), z.value(QStringLiteral("abend")).toFloat(),
            z.value(QStringLiteral("nacht")).toFloat(), z.value(QStringLiteral("tag")).toDate(), heute);
        // Today's stock as the table writes it, so that the consumption of
        // the days before today is settled together with the purchase.
        const double bestand = zahlLesen(bestandText(static_cast<double>(b.heute))).value_or(0.0);
        return db.aendernZeile(QStringLiteral("UPDATE einnahme SET tag=:tag, stand=:stand  WHERE id=:id ;"),
                               {{QStringLiteral(":tag"), heute.toString(QStringLiteral("yyyy-MM-dd"))},
                                {QStringLiteral(":stand"), bestand + *packungen * *einheiten},
                                {QStringLiteral(":id"), id}});
    });
    if (!gebucht) {
        if (ohneGroesse)
            meldungZeigen(ohnePackungsgroesse(einnahmeHandelsname.at(r)));
        // A line removed elsewhere: the window closes, the views show the file.
        fensterGespeichert = db.hatKonflikt();
        return;
    }
    fensterGespeichert = true;

    ZuordnungFuellen();
    zuordnungZeigen(id);
    ZuordnungAnklicken();
}
