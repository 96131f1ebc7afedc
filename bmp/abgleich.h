// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bmp/plan.h"
#include "bmp/planangaben.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <array>

// A package of the catalogue, as the reconciliation compares it.
struct KatalogPackung {
    int sorte = 0;
    QString medizin, handelsname, dosis, pzn;
};

// One of the patient's intake lines, with the values the window showed.
struct VorhandeneZeile {
    QString einnahme; // key
    int sorte = 0;
    QString bezeichnung;
    std::array<double, 4> dosen{};
    PlanAngaben angaben;
};

// What a plan line means for the patient's lines.
enum class Abgleich {
    unveraendert, // a line of the same package with the same dose
    geaendert,    // a line of the same package, another dose
    neu,          // the package is known, the patient has no line of it
    neuePackung,  // no such package: medication and package are created
    zuordnen,     // a PZN-only line without a package: the user picks one
};

struct PlanZeile {
    BmpEintrag eintrag;
    QString abschnitt; // the heading above it
    Abgleich art = Abgleich::neu;
    int sorte = 0;  // the matched package; 0 for none
    int zeile = -1; // the matched line of the patient; -1 for none
    QString bisher; // dose of the matched line as shown ("1-0-1/2-0", its text)
    QString neu;    // dose of the plan line as shown
};

struct AbgleichErgebnis {
    QVector<PlanZeile> zeilen;  // the plan's medication lines, in its order
    QVector<int> fehlend;       // the patient's lines the plan does not name
    QVector<BmpEintrag> texte;  // free-text and recipe lines
    QStringList texteAbschnitt; // the heading above each of them
};

// Matches each medication line of the plan to a package (by PZN, else by
// trade name and strength, else by ingredient and strength) and to the
// patient's line of that package, comparing the doses to 0.001.
AbgleichErgebnis abgleichen(const BmpPlan &plan, const QVector<VorhandeneZeile> &zeilen,
                            const QVector<KatalogPackung> &katalog);

// The dose of a plan line in words, as the patient's line keeps it: the
// plan's text, or a weekly dose with its day ("Montags 1-0-0-0"); "" for a
// daily schedule or none.
QString planDosisWorte(const BmpEintrag &eintrag);
// The line's extra line, unless it holds the dose: a dose in words too long
// for its cell says "siehe nächste Zeile" and stands in the extra line.
QString planZusatz(const BmpEintrag &eintrag);

// The dose as the reconciliation shows it, for a plan line and for a line of the patient.
QString planDosisText(const BmpEintrag &eintrag);
QString zeileDosisText(const VorhandeneZeile &zeile);

// One import between reading the plan and the user's confirmation.
struct BmpImport {
    BmpPlan plan;
    QStringList hinweise;
    QString patient;     // key of the patient the plan goes to; "" for a new one
    QString patientText; // how the window names that patient
    QVector<VorhandeneZeile> zeilen;
    QVector<QVariantList> gespeichert; // tag, stand, morgen, mittag, abend, nacht, hilfe of each line as read
    QVector<KatalogPackung> katalog;
    AbgleichErgebnis abgleich;
};
