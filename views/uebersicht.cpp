// SPDX-License-Identifier: GPL-3.0-or-later
// The overview with stock range and warnings.
#include "app/mainwindow.h"

#include "app/tabellen.h"
#include "intake/bestand.h"

#include <QProgressBar>
#include <QTableWidget>

Reichweite MainWindow::reichweiteZeile(int zeile) const
{
    if (einnahmePlan.value(zeile).ohneTagesverbrauch())
        return reichweiteOhneTagesdosis(einnahmeHandelsname.at(zeile), einnahmePlan.at(zeile));
    if (!einnahmeFehler.at(zeile).isEmpty())
        return reichweiteUngueltig(einnahmeHandelsname.at(zeile), einnahmeFehler.at(zeile));
    return reichweiteBerechnen(einnahmeReichweite.at(zeile),
                               tagesverbrauch(einnahmeMorgen.at(zeile), einnahmeMittag.at(zeile),
                                              einnahmeAbend.at(zeile), einnahmeNacht.at(zeile)),
                               einnahmeHandelsname.at(zeile), heute, naechsterHausarztTermin);
}

void MainWindow::UebersichtFuellen()
{
    // Rows and their bars stay and take the new values: building a bar
    // widget per line costs more than everything else of a refill.
    const int n = einnahmeZeilen();
    tabelleUebersicht->setUpdatesEnabled(false);
    tabelleUebersicht->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const Reichweite r = reichweiteZeile(i);
        auto mittig = [](const QString &text) {
            auto *item = new QTableWidgetItem(text);
            item->setData(Qt::TextAlignmentRole, QVariant(Qt::AlignCenter));
            return item;
        };
        tabelleUebersicht->setItem(i, 0, new QTableWidgetItem(einnahmeMedizin.at(i)));
        tabelleUebersicht->setItem(i, 1, new QTableWidgetItem(einnahmeHandelsname.at(i)));
        QTableWidgetItem *stand = mittig(r.ungueltig ? ungueltigText() : einnahmeBestand.at(i));
        QTableWidgetItem *wochen = mittig(r.wochenText);
        QTableWidgetItem *bis = mittig(r.reichtBisText);
        if (r.ungueltig) {
            for (QTableWidgetItem *item : {stand, wochen, bis})
                item->setToolTip(r.hinweis);
        }
        tabelleUebersicht->setItem(i, 2, stand);
        tabelleUebersicht->setItem(i, 3, wochen);
        // Red wins over yellow: running out before the doctor's visit is worse.
        if (r.rot)
            bis->setBackground(QColor(Qt::red));
        else if (r.gelb)
            bis->setBackground(QColor(Qt::yellow));
        tabelleUebersicht->setItem(i, 4, bis);

        auto *balken = qobject_cast<QProgressBar *>(tabelleUebersicht->cellWidget(i, 1));
        if (!balken) {
            balken = new QProgressBar;
            balken->setTextVisible(true);
            balken->setAlignment(Qt::AlignCenter);
            balken->setStyleSheet(
                QStringLiteral("QProgressBar {border:none} QProgressBar::chunk{background:rgb(220,220,255);}"));
            volleTexteZeigen(balken);
            tabelleUebersicht->setCellWidget(i, 1, balken);
        }
        balken->setValue(r.balken);
        balken->setFormat(r.balkenText);
        balken->setToolTip(r.hinweis);
    }
    tabelleUebersicht->setUpdatesEnabled(true);
    tabellenHinweis(tabelleUebersicht, n > 0 ? QString() : ersteSchritte());
}

QString MainWindow::ersteSchritte() const
{
    if (tabellePatientenwahl->rowCount() == 0)
        return QStringLiteral(
            "Noch ist kein Patient angelegt. Schalten Sie im Men\u00FC \u201EAnsicht\u201C die Patienten- "
            "und Medikamentenliste ein, legen Sie dort den ersten Patienten und seine Medikamente an "
            "und ordnen Sie sie auf der Seite \u201EEinstellungen\u201C zu.");
    if (tabelleSortenwahl->rowCount() == 0)
        return QStringLiteral(
            "F\u00FCr diesen Patienten ist noch kein Medikament eingetragen. Legen Sie zuerst auf der "
            "Seite \u201EMedikamentenliste\u201C (Men\u00FC \u201EAnsicht\u201C) ein Medikament mit "
            "seiner Packung an und ordnen Sie es dann auf der Seite \u201EEinstellungen\u201C zu.");
    return QStringLiteral(
        "F\u00FCr diesen Patienten ist noch kein Medikament eingetragen. Ordnen Sie ihm auf der Seite "
        "\u201EEinstellungen\u201C eine Packung zu: rechts w\u00E4hlen, Dosis eintragen, "
        "\u201EEintragen\u201C.");
}
