// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Adds a medication (:medizin).
extern const char *const medikamentEinfuegen;
// Adds a package (:medizin_id, :hname, :dosis, :packung) to the medication
// :m2 while it still exists.
extern const char *const sorteEinfuegen;

// The question asked before a medication is deleted together with its
// packages and every intake line that uses one of them.
QString medikamentLoeschenFrage(const QString &name, int packungen, int zuordnungen, int patienten);

// The question asked before a package is deleted. The intake lines that use
// it stay (a carer's plan loses no line unseen) and show no medication.
QString sorteLoeschenFrage(const QString &handelsname, const QString &dosis, int zuordnungen, int patienten);
