// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QProgressBar;
class QTableWidget;
class QTableWidgetItem;

// The text of a cell, or "" where the row or the cell does not exist.
QString zellText(const QTableWidget *tabelle, int zeile, int spalte);

// A new cell with this text, centred when mittig.
QTableWidgetItem *neueZelle(const QString &text, bool mittig = false);

// The row whose hidden key column 0 holds schluessel, or -1.
int zeileMitSchluessel(const QTableWidget *tabelle, const QString &schluessel);

// Fills many cells of a table at once (the rows must exist already): the
// model tells the view once, at the end, instead of once per cell.
void zellenFuellen(QTableWidget *tabelle, const std::function<void()> &fuellen);

// Cells whose text is cut to fit their column show it in full as tool tip,
// above a tool tip of their own.
void volleTexteZeigen(QTableWidget *tabelle);

// The same for a bar in a cell, which shows a text of its own.
void volleTexteZeigen(QProgressBar *balken);

// A short text over an empty table that says what to do first; an empty
// text hides it.
void tabellenHinweis(QTableWidget *tabelle, const QString &text);
