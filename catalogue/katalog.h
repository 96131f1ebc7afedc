#pragma once

#include <QString>

class QTableWidget;

// The question asked before a medication is deleted together with its
// packages and every intake line that uses one of them.
QString medikamentLoeschenFrage(const QString &name, int packungen, int zuordnungen, int patienten);

// The row whose hidden key column 0 holds schluessel, or -1.
int zeileMitSchluessel(const QTableWidget *tabelle, const QString &schluessel);
