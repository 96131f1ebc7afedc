// SPDX-License-Identifier: GPL-3.0-or-later
// The regulation plan table.
#include "app/mainwindow.h"

#include "intake/bestand.h"

#include <QTableWidget>

void MainWindow::VerordnungsplanFuellen()
{
    const int n = einnahmeZeilen();
    tabelleVerordnungsplan->setRowCount(0);
    tabelleVerordnungsplan->clearSpans();

    auto mittig = [](const QString &text) {
        auto *item = new QTableWidgetItem(text);
        item->setData(Qt::TextAlignmentRole, QVariant(Qt::AlignCenter));
        return item;
    };
    tabelleVerordnungsplan->setUpdatesEnabled(false);
    for (int i = 0; i < n; ++i) {
        // Aids are kept in stock but not given by the dose.
        if (einnahmeHilfe.at(i) == QLatin1String("1"))
            continue;
        const int z = tabelleVerordnungsplan->rowCount();
        tabelleVerordnungsplan->insertRow(z);
        tabelleVerordnungsplan->setItem(z, 0, new QTableWidgetItem(einnahmeMedizin.at(i)));
        tabelleVerordnungsplan->setItem(z, 1, mittig(einnahmeDosis.at(i)));
        // A dose in words spans the four times of day: it is no schedule.
        const PlanAngaben &plan = einnahmePlan.at(i);
        if (plan.ohneTagesverbrauch()) {
            QTableWidgetItem *item = mittig(plan.dosisAnzeige());
            item->setToolTip(reichweiteOhneTagesdosis(einnahmeHandelsname.at(i), plan).hinweis);
            tabelleVerordnungsplan->setItem(z, 2, item);
            tabelleVerordnungsplan->setSpan(z, 2, 1, 4);
            continue;
        }
        int s = 2;
        for (const QString *dosis :
             {&einnahmeMorgen.at(i), &einnahmeMittag.at(i), &einnahmeAbend.at(i), &einnahmeNacht.at(i)}) {
            const QString &fehler = einnahmeDosisFehler.at(i).at(s - 2);
            QTableWidgetItem *item = mittig(dosisText(*dosis, fehler));
            item->setToolTip(fehler);
            tabelleVerordnungsplan->setItem(z, s++, item);
        }
    }
    tabelleVerordnungsplan->setUpdatesEnabled(true);
}
