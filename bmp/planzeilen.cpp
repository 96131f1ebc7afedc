// SPDX-License-Identifier: GPL-3.0-or-later
// What imported medication plans say of the intake lines beyond the four doses.
#include "app/mainwindow.h"

#include "bmp/zusatztabellen.h"

#include <QHash>
#include <QSqlRecord>
#include <QTableWidget>

void MainWindow::planAngabenLesen()
{
    const int n = einnahmeId.size();
    einnahmePlan.fill(PlanAngaben(), n);
    if (n == 0)
        return;
    DbSitzung db(*this);
    if (!zusatzDa(db, Zusatz::einnahmeBmp))
        return;
    const auto zeilen = db.lesen(QStringLiteral("SELECT b.* FROM einnahme_bmp b JOIN einnahme e ON e.id = "
                                                "b.einnahme_id WHERE e.pat_id = :pat"),
                                 {{QStringLiteral(":pat"), aktuellerPatient}});
    QHash<QString, QSqlRecord> nachZeile;
    for (const QSqlRecord &r : zeilen)
        nachZeile.insert(r.value(QStringLiteral("einnahme_id")).toString(), r);
    for (int i = 0; i < n; ++i) {
        const auto r = nachZeile.constFind(einnahmeId.at(i));
        if (r == nachZeile.constEnd())
            continue;
        PlanAngaben &p = einnahmePlan[i];
        p.dosisText = r->value(QStringLiteral("dosis_text")).toString();
        p.ohneDosis = r->value(QStringLiteral("ohne_dosis")).toBool();
        p.wochentag = r->value(QStringLiteral("wochentag")).toInt();
        p.einheit = r->value(QStringLiteral("einheit")).toString();
        p.form = r->value(QStringLiteral("form")).toString();
        p.hinweis = r->value(QStringLiteral("hinweis")).toString();
        p.grund = r->value(QStringLiteral("grund")).toString();
        p.zusatz = r->value(QStringLiteral("zusatz")).toString();
        p.abschnitt = r->value(QStringLiteral("abschnitt")).toString();
        if (p.ohneTagesverbrauch() && i < tabelleZuordnung->rowCount()) {
            auto *zelle = new QTableWidgetItem(p.dosisAnzeige());
            zelle->setData(Qt::TextAlignmentRole, QVariant(Qt::AlignCenter));
            zelle->setToolTip(reichweiteOhneTagesdosis(einnahmeHandelsname.at(i), p).hinweis);
            tabelleZuordnung->setItem(i, 3, zelle);
        }
    }
}
