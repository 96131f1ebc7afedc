#pragma once

#include <QString>

class QTableWidget;

// The text of a cell, or "" where the row or the cell does not exist.
QString zellText(const QTableWidget *tabelle, int zeile, int spalte);
