#include "app/tabellen.h"

#include <QTableWidget>

QString zellText(const QTableWidget *tabelle, int zeile, int spalte)
{
    const QTableWidgetItem *item = zeile >= 0 ? tabelle->item(zeile, spalte) : nullptr;
    return item ? item->text() : QString();
}
