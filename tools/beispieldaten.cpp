// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/beispieldaten.h"

#include "storage/datenbankzugriff.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <array>
#include <cmath>
#include <vector>

namespace {

// A fixed generator (splitmix64), so that a seed means the same data with
// every compiler and standard library; std:: distributions may differ.
class Zufall
{
public:
    explicit Zufall(quint64 saat) : zustand(saat) {}
    quint64 naechste()
    {
        quint64 z = (zustand += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int unter(int n) { return static_cast<int>(naechste() % static_cast<quint64>(n)); }
    int zwischen(int von, int bis) { return von + unter(bis - von + 1); }
    bool prozent(int p) { return unter(100) < p; }
    template <typename T>
    const T &eines(const std::vector<T> &liste)
    {
        return liste[static_cast<std::size_t>(unter(static_cast<int>(liste.size())))];
    }
    template <typename T>
    void mischen(std::vector<T> &liste)
    {
        for (std::size_t i = liste.size(); i > 1; --i)
            std::swap(liste[i - 1], liste[static_cast<std::size_t>(unter(static_cast<int>(i)))]);
    }

private:
    quint64 zustand;
};

struct Wirkstoff {
    const char *medizin;             // the name packages are grouped under
    const char *form;                // dosage form at the end of the trade name
    std::vector<const char *> dosen; // dose of one unit
    std::vector<int> packungen;      // units per package
    const char *stamm = nullptr;     // how trade names begin, where not with medizin
};

const std::vector<Wirkstoff> &wirkstoffe()
{
    static const std::vector<Wirkstoff> liste = {
        {"Metformin", "Filmtabletten", {"500 mg", "850 mg", "1000 mg"}, {30, 120, 180}},
        {"Ramipril", "Tabletten", {"2,5 mg", "5 mg", "10 mg"}, {20, 50, 100}},
        {"Simvastatin", "Filmtabletten", {"20 mg", "40 mg"}, {30, 50, 100}},
        {"Atorvastatin", "Filmtabletten", {"10 mg", "20 mg", "40 mg"}, {30, 50, 100}},
        {"Amlodipin", "Tabletten", {"5 mg", "10 mg"}, {20, 50, 100}},
        {"Bisoprolol", "Tabletten", {"2,5 mg", "5 mg", "10 mg"}, {30, 50, 100}},
        {"Metoprolol", "Retardtabletten", {"23,75 mg", "47,5 mg", "95 mg"}, {30, 50, 100}, "Metoprololsuccinat"},
        {"Candesartan", "Tabletten", {"8 mg", "16 mg"}, {28, 56, 98}},
        {"Valsartan", "Filmtabletten", {"80 mg", "160 mg"}, {28, 56, 98}},
        {"Hydrochlorothiazid", "Tabletten", {"12,5 mg", "25 mg"}, {30, 50, 100}, "HCT"},
        {"Torasemid", "Tabletten", {"5 mg", "10 mg", "20 mg"}, {30, 50, 100}},
        {"Furosemid", "Tabletten", {"20 mg", "40 mg"}, {20, 50, 100}},
        {"Spironolacton", "Filmtabletten", {"25 mg", "50 mg"}, {20, 50, 100}},
        {"Levothyroxin", "Tabletten", {"50 \u00B5g", "75 \u00B5g", "100 \u00B5g"}, {50, 100}, "L-Thyroxin"},
        {"Pantoprazol", "magensaftresistente Tabletten", {"20 mg", "40 mg"}, {28, 56, 98}},
        {"Omeprazol", "Hartkapseln", {"20 mg", "40 mg"}, {28, 56, 98}},
        {"Acetylsalicyls\u00E4ure", "Tabletten", {"100 mg"}, {50, 100}, "ASS"},
        {"Clopidogrel", "Filmtabletten", {"75 mg"}, {28, 50, 100}},
        {"Apixaban", "Filmtabletten", {"2,5 mg", "5 mg"}, {60, 100, 200}},
        {"Rivaroxaban", "Filmtabletten", {"15 mg", "20 mg"}, {28, 98}},
        {"Phenprocoumon", "Tabletten", {"3 mg"}, {49, 98}},
        {"Allopurinol", "Tabletten", {"100 mg", "300 mg"}, {30, 50, 100}},
        {"Colecalciferol", "Tabletten", {"1000 I.E.", "2000 I.E."}, {50, 100}, "Vitamin D3"},
        {"Metamizol", "Filmtabletten", {"500 mg"}, {10, 20, 50}},
        {"Ibuprofen", "Filmtabletten", {"400 mg", "600 mg"}, {20, 50}},
        {"Paracetamol", "Tabletten", {"500 mg"}, {10, 20}},
        {"Tramadol", "Retardtabletten", {"50 mg", "100 mg"}, {20, 50}},
        {"Gabapentin", "Hartkapseln", {"100 mg", "300 mg"}, {50, 100}},
        {"Pregabalin", "Hartkapseln", {"75 mg", "150 mg"}, {56, 100}},
        {"Mirtazapin", "Filmtabletten", {"15 mg", "30 mg"}, {20, 50, 100}},
        {"Citalopram", "Filmtabletten", {"10 mg", "20 mg"}, {20, 50, 100}},
        {"Sertralin", "Filmtabletten", {"50 mg", "100 mg"}, {20, 50, 100}},
        {"Quetiapin", "Filmtabletten", {"25 mg", "50 mg", "100 mg"}, {20, 50, 100}},
        {"Risperidon", "Filmtabletten", {"0,5 mg", "1 mg"}, {20, 50, 100}},
        {"Donepezil", "Filmtabletten", {"5 mg", "10 mg"}, {28, 56, 98}},
        {"Memantin", "Filmtabletten", {"10 mg", "20 mg"}, {28, 56, 98}},
        {"Levodopa/Benserazid", "Tabletten", {"100 mg/25 mg", "200 mg/50 mg"}, {50, 100}},
        {"Tamsulosin", "Hartkapseln", {"0,4 mg"}, {30, 50, 100}},
        {"Finasterid", "Filmtabletten", {"5 mg"}, {30, 50, 100}},
        {"Sitagliptin", "Filmtabletten", {"50 mg", "100 mg"}, {28, 56, 98}},
        {"Glimepirid", "Tabletten", {"1 mg", "2 mg", "3 mg"}, {30, 120}},
        {"Empagliflozin", "Filmtabletten", {"10 mg", "25 mg"}, {30, 90}},
        {"Lercanidipin", "Filmtabletten", {"10 mg", "20 mg"}, {28, 50, 100}},
        {"Digitoxin", "Tabletten", {"0,07 mg"}, {50, 100}},
        {"Fols\u00E4ure", "Tabletten", {"5 mg"}, {20, 50, 100}},
        {"Eisen(II)-sulfat", "Retardtabletten", {"100 mg"}, {20, 50, 100}, "Eisen"},
        {"Prednisolon", "Tabletten", {"5 mg", "20 mg"}, {20, 50, 100}},
        {"Lorazepam", "Tabletten", {"0,5 mg", "1 mg"}, {20, 50}},
        {"Zopiclon", "Filmtabletten", {"7,5 mg"}, {10, 20}},
        {"Melperon", "Filmtabletten", {"25 mg", "50 mg"}, {20, 50, 100}},
        {"Macrogol", "Pulver im Beutel", {"13,125 g"}, {20, 50, 100}},
        {"Calcium", "Brausetabletten", {"500 mg", "1000 mg"}, {20, 40, 100}},
        {"Magnesium", "Kautabletten", {"300 mg"}, {20, 50, 100}},
        {"Doxazosin", "Retardtabletten", {"4 mg", "8 mg"}, {28, 56, 98}},
        {"Moxonidin", "Filmtabletten", {"0,2 mg", "0,4 mg"}, {30, 50, 100}},
    };
    return liste;
}

// Joined to the stem with a hyphen when they begin with one.
const std::vector<const char *> hersteller = {
    "-ratiopharm", " AL",   " HEXAL", " STADA",  " Heumann", "-1A Pharma", " AbZ",   " Aristo",
    " Zentiva",    " beta", " TAD",   " Basics", " Denk",    " PUREN",     " Mylan", " Micro Labs"};

struct Hilfsmittel {
    const char *medizin;
    const char *handelsname;
    const char *dosis;
    std::vector<int> packungen;
    std::array<double, 4> dosen; // daily use; all 0 for aids used now and then
};

const std::vector<Hilfsmittel> &hilfsmittel()
{
    static const std::vector<Hilfsmittel> liste = {
        {"Blutzuckerteststreifen", "Accu-Chek Guide Teststreifen", "1 Streifen", {50, 100}, {1, 0, 1, 0}},
        {"Blutzuckerteststreifen", "Contour Next Sensoren", "1 Streifen", {50, 100}, {1, 1, 1, 0}},
        {"Lanzetten", "Accu-Chek FastClix Lanzetten", "1 Lanzette", {102, 204}, {1, 0, 0, 0}},
        {"Pen-Nadeln", "BD Micro-Fine Ultra 4 mm", "1 St\u00FCck", {100}, {1, 0, 1, 0}},
        {"Pen-Nadeln", "mylife Clickfine 5 mm", "1 St\u00FCck", {100}, {1, 0, 0, 1}},
        {"Inkontinenzeinlagen", "TENA Lady Normal", "1 Einlage", {12, 24}, {2, 1, 1, 1}},
        {"Inkontinenzeinlagen", "Seni Lady Extra", "1 Einlage", {15, 30}, {1, 1, 1, 1}},
        {"Einmalhandschuhe", "Peha-soft nitrile fino Gr. M", "1 Paar", {50, 100}, {0, 0, 0, 0}},
        {"Wundauflagen", "Cutimed Sorbact 7 x 9 cm", "1 St\u00FCck", {10, 20}, {0, 0, 0, 0}},
        {"Mundpflegest\u00E4bchen", "Dentaswab Lemon", "1 St\u00FCck", {25, 100}, {1, 0, 1, 0}},
    };
    return liste;
}

struct Muster {
    std::array<double, 4> dosen;
    int gewicht;
};

// Doses morning, noon, evening, night with how often they occur.
const std::vector<Muster> dosismuster = {
    {{1, 0, 0, 0}, 30}, {{0, 0, 1, 0}, 12}, {{1, 0, 1, 0}, 15},  {{0.5, 0, 0, 0}, 8},   {{0.5, 0, 0.5, 0}, 4},
    {{1, 1, 1, 0}, 5},  {{0, 0, 0, 1}, 6},  {{2, 0, 0, 0}, 3},   {{1, 0, 0.5, 0}, 4},   {{1, 0, 0, 1}, 3},
    {{1, 1, 1, 1}, 2},  {{2, 0, 2, 0}, 2},  {{0, 0, 0.5, 0}, 4}, {{0.5, 0, 0, 0.5}, 2},
};

const std::vector<const char *> vornamen = {
    "Hildegard",  "Gertrud",     "Ingrid",    "Ursula",    "Helga",        "Renate",    "Brigitte",  "Elke",
    "Marianne",   "Erika",       "Christa",   "Gisela",    "Irmgard",      "Karin",     "Monika",    "Waltraud",
    "Rosemarie",  "Annemarie",   "Edeltraud", "Liselotte", "Hannelore",    "Gudrun",    "Sieglinde", "Margarete",
    "Elfriede",   "K\u00E4the",  "Ilse",      "Doris",     "Erwin",        "Friedrich", "Heinz",     "G\u00FCnter",
    "Manfred",    "Werner",      "Klaus",     "Horst",     "Dieter",       "Gerhard",   "Helmut",    "Wolfgang",
    "Karl-Heinz", "J\u00FCrgen", "Rolf",      "Bernd",     "Hans-Joachim", "Walter",    "Kurt",      "Rudolf",
    "Siegfried",  "Lothar",      "Egon",      "Alfred",    "Ernst",        "Uwe",       "Hartmut",   "Reinhard",
    "J\u00F6rg",  "Peter",       "Ay\u015Fe", "Mehmet",    "Zofia",        "Wladimir",  "Jelena",    "Giuseppe",
};

const std::vector<const char *> nachnamen = {
    "M\u00FCller", "Schmidt",     "Schneider",     "Fischer",      "Weber",        "Meyer",      "Wagner",
    "Becker",      "Schulz",      "Hoffmann",      "Sch\u00E4fer", "Koch",         "Bauer",      "Richter",
    "Klein",       "Wolf",        "Schr\u00F6der", "Neumann",      "Schwarz",      "Zimmermann", "Braun",
    "Kr\u00FCger", "Hofmann",     "Hartmann",      "Lange",        "Schmitt",      "Werner",     "Schmitz",
    "Krause",      "Meier",       "Lehmann",       "Schmid",       "Schulze",      "Maier",      "K\u00F6hler",
    "Herrmann",    "K\u00F6nig",  "Walter",        "Mayer",        "Huber",        "Kaiser",     "Fuchs",
    "Peters",      "Lang",        "Scholz",        "M\u00F6ller",  "Wei\u00DF",    "Jung",       "Hahn",
    "Schubert",    "Vogel",       "Friedrich",     "Keller",       "G\u00FCnther", "Frank",      "Berger",
    "Winkler",     "Roth",        "Beck",          "Lorenz",       "Baumann",      "Franke",     "Albrecht",
    "Schuster",    "Simon",       "Ludwig",        "B\u00F6hm",    "Winter",       "Kraus",      "Martin",
    "Schumacher",  "Kr\u00E4mer", "Vogt",          "Stein",        "J\u00E4ger",   "Otto",       "Sommer",
    "Gro\u00DF",   "Seidel",      "Heinrich",      "Brandt",       "Haas",         "Schreiber",  "Graf",
    "Schulte",     "Dietrich",    "Ziegler",       "Kuhn",         "K\u00FChn",    "Pohl",       "Engel",
    "Horn",        "Busch",       "Bergmann",      "Voigt",        "Sauer",        "Arnold",     "Wolff",
    "Pfeiffer",    "Y\u0131lmaz", "Kowalski",      "Nowak",        "de Vries",     "van Dijk",
};

const std::vector<std::pair<const char *, const char *>> orte = {
    {"01067", "Dresden"},
    {"04109", "Leipzig"},
    {"06108", "Halle (Saale)"},
    {"07743", "Jena"},
    {"09111", "Chemnitz"},
    {"10115", "Berlin"},
    {"12043", "Berlin"},
    {"14467", "Potsdam"},
    {"18055", "Rostock"},
    {"19053", "Schwerin"},
    {"20095", "Hamburg"},
    {"22765", "Hamburg"},
    {"24103", "Kiel"},
    {"23552", "L\u00FCbeck"},
    {"26122", "Oldenburg"},
    {"28195", "Bremen"},
    {"30159", "Hannover"},
    {"33602", "Bielefeld"},
    {"34117", "Kassel"},
    {"35037", "Marburg"},
    {"37073", "G\u00F6ttingen"},
    {"38100", "Braunschweig"},
    {"39104", "Magdeburg"},
    {"40213", "D\u00FCsseldorf"},
    {"44135", "Dortmund"},
    {"45127", "Essen"},
    {"48143", "M\u00FCnster"},
    {"50667", "K\u00F6ln"},
    {"53111", "Bonn"},
    {"55116", "Mainz"},
    {"60311", "Frankfurt am Main"},
    {"64283", "Darmstadt"},
    {"66111", "Saarbr\u00FCcken"},
    {"68159", "Mannheim"},
    {"69117", "Heidelberg"},
    {"70173", "Stuttgart"},
    {"72070", "T\u00FCbingen"},
    {"76133", "Karlsruhe"},
    {"79098", "Freiburg im Breisgau"},
    {"80331", "M\u00FCnchen"},
    {"83022", "Rosenheim"},
    {"86150", "Augsburg"},
    {"87435", "Kempten (Allg\u00E4u)"},
    {"90402", "N\u00FCrnberg"},
    {"93047", "Regensburg"},
    {"97070", "W\u00FCrzburg"},
    {"99084", "Erfurt"},
};

const std::vector<const char *> strassen = {
    "Hauptstra\u00DFe",       "Bahnhofstra\u00DFe", "Dorfstra\u00DFe",
    "Schulstra\u00DFe",       "Gartenstra\u00DFe",  "Kirchstra\u00DFe",
    "Lindenstra\u00DFe",      "Goethestra\u00DFe",  "Schillerstra\u00DFe",
    "Bergstra\u00DFe",        "Birkenweg",          "Am Markt",
    "M\u00FChlenweg",         "Rosenweg",           "Waldstra\u00DFe",
    "Ringstra\u00DFe",        "Wiesenweg",          "Friedhofstra\u00DFe",
    "Mozartstra\u00DFe",      "Amselweg",           "Am Anger",
    "Lessingstra\u00DFe",     "Kastanienallee",     "Feldweg",
    "Sonnenstra\u00DFe",      "Blumenstra\u00DFe",  "Uhlandstra\u00DFe",
    "Eichendorffstra\u00DFe", "Am Sportplatz",      "Brunnengasse",
};

const std::vector<const char *> fachaerzte = {
    "Dr. Keller, Kardiologie",  "Dr. Yilmaz, Neurologie",        "Dr. Hansen, Augenheilkunde",
    "Dr. Wolff, Diabetologie",  "Dr. Brandt, Urologie",          "Dr. Schubert, Orthop\u00E4die",
    "Dr. Nguyen, Dermatologie", "Dr. Lorenz, Psychiatrie",       "Dr. Berger, HNO",
    "Dr. Vogt, Nephrologie",    "Dr. Kaiser, Gastroenterologie", "Dr. Frank, Pneumologie",
};

struct Packung {
    QString medizin;
    QString handelsname;
    QString dosis;
    int einheiten = 0;
    bool hilfe = false;
    std::array<double, 4> hilfeDosen{};
    int medikament = 0; // key of its medication, counted from 1
};

// The catalogue: every combination of stem, maker, dose and size is a
// package a pharmacy could sell; the seed picks which ones the file holds.
std::vector<Packung> katalogWaehlen(Zufall &zufall, int anzahl)
{
    std::vector<Packung> hilfen;
    for (const Hilfsmittel &h : hilfsmittel()) {
        for (int einheiten : h.packungen) {
            Packung p;
            p.medizin = QString::fromUtf8(h.medizin);
            p.handelsname = QString::fromUtf8(h.handelsname);
            p.dosis = QString::fromUtf8(h.dosis);
            p.einheiten = einheiten;
            p.hilfe = true;
            p.hilfeDosen = h.dosen;
            hilfen.push_back(p);
        }
    }
    std::vector<Packung> arzneien;
    for (const Wirkstoff &w : wirkstoffe()) {
        for (const char *h : hersteller) {
            for (const char *dosis : w.dosen) {
                for (int einheiten : w.packungen) {
                    Packung p;
                    p.medizin = QString::fromUtf8(w.medizin);
                    p.handelsname = QString::fromUtf8(w.stamm ? w.stamm : w.medizin) + QString::fromUtf8(h) +
                                    QLatin1Char(' ') + QString::fromUtf8(dosis) + QLatin1Char(' ') +
                                    QString::fromUtf8(w.form);
                    p.dosis = QString::fromUtf8(dosis);
                    p.einheiten = einheiten;
                    arzneien.push_back(p);
                }
            }
        }
    }
    zufall.mischen(hilfen);
    zufall.mischen(arzneien);
    const int hilfsAnzahl = qMin(static_cast<int>(hilfen.size()), qMax(2, anzahl / 40));
    std::vector<Packung> katalog(hilfen.begin(), hilfen.begin() + qMin(hilfsAnzahl, anzahl));
    const int rest = qMin(anzahl - static_cast<int>(katalog.size()), static_cast<int>(arzneien.size()));
    katalog.insert(katalog.end(), arzneien.begin(), arzneien.begin() + rest);
    zufall.mischen(katalog);
    return katalog;
}

const std::array<double, 4> &dosenWaehlen(Zufall &zufall)
{
    int summe = 0;
    for (const Muster &m : dosismuster)
        summe += m.gewicht;
    int wurf = zufall.unter(summe);
    for (const Muster &m : dosismuster) {
        if (wurf < m.gewicht)
            return m.dosen;
        wurf -= m.gewicht;
    }
    return dosismuster.front().dosen;
}

// Days since the stock was counted, and the stock then, chosen so that
// some lines are used up, some run short within four weeks and others
// last for months.
std::pair<int, double> bestandWaehlen(Zufall &zufall, double tagesverbrauch, int einheiten)
{
    const int w = zufall.unter(100);
    const int seitZaehlung = w < 10   ? 0
                             : w < 40 ? zufall.zwischen(1, 14)
                             : w < 80 ? zufall.zwischen(15, 60)
                                      : zufall.zwischen(61, 150);
    if (!(tagesverbrauch > 0))
        return {seitZaehlung, static_cast<double>(einheiten * zufall.zwischen(1, 3))};
    const int r = zufall.unter(100);
    int restTage;
    if (r < 12)
        restTage = -zufall.zwischen(0, qMin(seitZaehlung, 30));
    else if (r < 40)
        restTage = zufall.zwischen(1, 27);
    else if (r < 80)
        restTage = zufall.zwischen(28, 90);
    else
        restTage = zufall.zwischen(91, 180);
    // Counted in whole and half units, as a carer counts them; nobody keeps
    // more than a few packages at home.
    const double stand = std::ceil((seitZaehlung + restTage) * tagesverbrauch * 2.0) / 2.0;
    return {seitZaehlung, qBound(0.0, stand, 5.0 * einheiten)};
}

QString datum(const QDate &tag)
{
    return tag.toString(QStringLiteral("yyyy-MM-dd"));
}

class Schreiber
{
public:
    explicit Schreiber(QSqlDatabase &db) : db(db) {}
    bool vorbereiten(QSqlQuery &q, const char *sql)
    {
        if (q.prepare(QString::fromLatin1(sql)))
            return true;
        fehler = q.lastError().text();
        return false;
    }
    bool ausfuehren(QSqlQuery &q, const QVariantList &werte)
    {
        for (int i = 0; i < werte.size(); ++i)
            q.bindValue(i, werte.at(i));
        if (q.exec())
            return true;
        if (fehler.isEmpty())
            fehler = q.lastError().text();
        return false;
    }
    QSqlDatabase &db;
    QString fehler;
};

bool schreiben(QSqlDatabase &db, const Beispielumfang &umfang, quint64 saat, const QDate &heute,
               Beispielergebnis &ergebnis)
{
    Zufall zufall(saat);
    Schreiber s(db);
    {
        QSqlQuery q(db);
        // The program's own tables, so that the samples are files it writes itself.
        for (const QString &sql : tabellenSchema()) {
            if (!q.exec(sql)) {
                ergebnis.fehler = q.lastError().text();
                return false;
            }
        }
    }
    if (!db.transaction()) {
        ergebnis.fehler = db.lastError().text();
        return false;
    }
    // One transaction and statements prepared once: the largest size
    // writes about 150,000 rows.
    QSqlQuery medikament(db), sorte(db), patient(db), einnahme(db), termin(db);
    bool gut = s.vorbereiten(medikament, "INSERT INTO medikament (id, medizin) VALUES (NULL, ?)") &&
               s.vorbereiten(sorte, "INSERT INTO sorte (id, medizin_id, handelsname, dosis, packung) "
                                    "VALUES (NULL, ?, ?, ?, ?)") &&
               s.vorbereiten(patient, "INSERT INTO patient (id, firstname, lastname, birth, plz, ort, strasse, nr) "
                                      "VALUES (NULL, ?, ?, ?, ?, ?, ?, ?)") &&
               s.vorbereiten(einnahme, "INSERT INTO einnahme (id, pat_id, med_id, tag, stand, morgen, mittag, abend, "
                                       "nacht, hilfe, ordnung) VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") &&
               s.vorbereiten(termin, "INSERT INTO termine (id, pata_id, arzt, arzt_date) VALUES (NULL, ?, ?, ?)");

    // Keys count from 1 in a new file, in the order of the inserts.
    std::vector<Packung> katalog = katalogWaehlen(zufall, umfang.packungen);
    QStringList medikamente;
    for (Packung &p : katalog) {
        int i = medikamente.indexOf(p.medizin);
        if (i < 0) {
            medikamente << p.medizin;
            i = medikamente.size() - 1;
            gut = gut && s.ausfuehren(medikament, {p.medizin});
        }
        p.medikament = i + 1;
        gut = gut && s.ausfuehren(sorte, {p.medikament, p.handelsname, p.dosis, static_cast<double>(p.einheiten)});
    }
    ergebnis.medikamente = medikamente.size();
    ergebnis.packungen = static_cast<int>(katalog.size());

    std::vector<int> arzneiListe, hilfsListe;
    for (std::size_t i = 0; i < katalog.size(); ++i)
        (katalog[i].hilfe ? hilfsListe : arzneiListe).push_back(static_cast<int>(i));

    const QDate geburtVon(1925, 1, 1);
    const int geburtSpanne = static_cast<int>(geburtVon.daysTo(QDate(1965, 12, 31)));
    for (int pat = 1; gut && pat <= umfang.patienten; ++pat) {
        const auto &ort = orte[static_cast<std::size_t>(zufall.unter(static_cast<int>(orte.size())))];
        QString nr = QString::number(zufall.zwischen(1, 150));
        if (zufall.prozent(10))
            nr += QLatin1Char(zufall.prozent(50) ? 'a' : 'b');
        gut = s.ausfuehren(patient,
                           {QString::fromUtf8(zufall.eines(vornamen)), QString::fromUtf8(zufall.eines(nachnamen)),
                            geburtVon.addDays(zufall.unter(geburtSpanne + 1)).toString(QStringLiteral("dd.MM.yyyy")),
                            QString::fromLatin1(ort.first), QString::fromUtf8(ort.second),
                            QString::fromUtf8(zufall.eines(strassen)), nr});
        ++ergebnis.patienten;

        // The plan: a few aids for some patients, otherwise medications,
        // each package once and, while there are enough, each medication once.
        const int zeilen = qMin(umfang.zeilenJePatient, static_cast<int>(katalog.size()));
        int hilfsZeilen = zufall.prozent(40) ? zufall.zwischen(1, 2) : 0;
        hilfsZeilen = qMin(hilfsZeilen, qMin(zeilen, static_cast<int>(hilfsListe.size())));
        std::vector<int> plan;
        std::vector<int> hilfen = hilfsListe;
        zufall.mischen(hilfen);
        plan.insert(plan.end(), hilfen.begin(), hilfen.begin() + hilfsZeilen);
        std::vector<int> arzneien = arzneiListe;
        zufall.mischen(arzneien);
        QSet<int> genommen;
        std::vector<int> zweitwahl;
        for (int i : arzneien) {
            if (static_cast<int>(plan.size()) >= zeilen)
                break;
            if (genommen.contains(katalog[static_cast<std::size_t>(i)].medikament)) {
                zweitwahl.push_back(i);
                continue;
            }
            genommen.insert(katalog[static_cast<std::size_t>(i)].medikament);
            plan.push_back(i);
        }
        for (std::size_t i = 0; i < zweitwahl.size() && static_cast<int>(plan.size()) < zeilen; ++i)
            plan.push_back(zweitwahl[i]);
        for (std::size_t i = static_cast<std::size_t>(hilfsZeilen);
             i < hilfen.size() && static_cast<int>(plan.size()) < zeilen; ++i)
            plan.push_back(hilfen[i]); // a catalogue with too few medications
        zufall.mischen(plan);

        for (std::size_t ordnung = 0; gut && ordnung < plan.size(); ++ordnung) {
            const Packung &p = katalog[static_cast<std::size_t>(plan[ordnung])];
            const std::array<double, 4> dosen = p.hilfe ? p.hilfeDosen : dosenWaehlen(zufall);
            const auto [seitZaehlung, stand] = bestandWaehlen(zufall, dosen[0] + dosen[1] + dosen[2] + dosen[3],
                                                              p.einheiten);
            gut = s.ausfuehren(einnahme,
                               {pat, plan[ordnung] + 1, datum(heute.addDays(-seitZaehlung)), stand, dosen[0], dosen[1],
                                dosen[2], dosen[3], p.hilfe ? 1 : 0, static_cast<int>(ordnung) + 1});
            ++ergebnis.zeilen;
            if (p.hilfe)
                ++ergebnis.hilfsmittelZeilen;
        }

        // Most patients have their next family-doctor visit booked and a
        // past one on record; the rest are spread over the year around today.
        for (int t = 0; gut && t < umfang.termineJePatient; ++t) {
            QString arzt = QStringLiteral("Hausarzt");
            int abstand;
            if (t == 0 && zufall.prozent(75))
                abstand = zufall.zwischen(0, 45);
            else if (t == 1)
                abstand = -zufall.zwischen(14, 120);
            else {
                if (zufall.prozent(50))
                    arzt = QString::fromUtf8(zufall.eines(fachaerzte));
                abstand = zufall.zwischen(-365, 180);
            }
            gut = s.ausfuehren(termin, {pat, arzt, datum(heute.addDays(abstand))});
            ++ergebnis.termine;
        }
    }

    if (!gut) {
        ergebnis.fehler = s.fehler;
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        ergebnis.fehler = db.lastError().text();
        return false;
    }
    return true;
}

} // namespace

const QVector<Beispielumfang> &beispielumfaenge()
{
    static const QVector<Beispielumfang> umfaenge = {
        {QStringLiteral("familie"), 4, 25, 6, 4},
        {QStringLiteral("pflegedienst"), 300, 400, 15, 8},
        {QStringLiteral("gross"), 3000, 2000, 30, 20},
    };
    return umfaenge;
}

Beispielumfang beispielumfang(const QString &name)
{
    for (const Beispielumfang &u : beispielumfaenge()) {
        if (u.name == name)
            return u;
    }
    return {};
}

Beispielergebnis beispieldatenSchreiben(const QString &pfad, const Beispielumfang &umfang, quint64 saat,
                                        const QDate &heute)
{
    Beispielergebnis ergebnis;
    if (QFileInfo::exists(pfad)) {
        ergebnis.fehler = QStringLiteral("%1 already exists; it is left as it is.").arg(pfad);
        return ergebnis;
    }
    const QString name = QStringLiteral("kalvoria-beispieldaten-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        if (!db.open()) {
            ergebnis.fehler = db.lastError().text();
        } else {
            ergebnis.ok = schreiben(db, umfang, saat, heute, ergebnis);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ergebnis;
}
