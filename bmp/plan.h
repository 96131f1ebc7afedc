// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The federal medication plan (BMP) as its DataMatrix code carries it: one
// XML document per page, in ISO-8859-1. Values are kept as the code writes
// them (doses "1/2", "2,5"; birth "19400324"), so that what was read can be
// shown and written back unchanged.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

struct BmpWirkstoff {
    QString name;    // W w
    QString staerke; // W s
};

struct BmpEintrag {
    enum Art { medikament, freitext, rezept };
    Art art = medikament;
    qint64 pzn = 0;               // M p; 0 for none
    QString handelsname;          // M a
    QString formCode;             // M f
    QString formText;             // M fd
    std::array<QString, 4> dosen; // M m d v h as written; "" where absent
    QString dosisText;            // M t
    QString wochentag;            // M wo (1 = Monday)
    QString einheitCode;          // M du
    QString einheitText;          // M dud
    QString hinweis;              // M i
    QString grund;                // M r
    QString zusatz;               // M x, R x: the bound extra line
    QString text;                 // X t, R t
    QVector<BmpWirkstoff> wirkstoffe;

    // Whether the four slots hold the dose (none of them may be set then).
    bool hatDosen() const;
    // The line gives no dose at all: neither the slots nor a text.
    bool ohneDosis() const { return !hatDosen() && dosisText.isEmpty(); }
};

struct BmpAbschnitt {
    QString code;  // S c, a key of the headings table
    QString titel; // S t, free text
    QVector<BmpEintrag> eintraege;
};

struct BmpPatient {
    QString vorname, name, geburt;  // g f b; geburt "yyyyMMdd", 00 for unknown parts
    QString titel, vorsatz, zusatz; // t v z
    QString versichertennummer, geschlecht;
};

struct BmpAutor {
    QString name, zeit; // n t ("yyyy-MM-ddThh:mm:ss")
    QString lanr, idf, kik;
    QString strasse, plz, ort, telefon, email;
};

struct BmpParameter {
    QString allergien, gewicht, groesse, kreatinin, text;
    bool schwanger = false, stillend = false;
    bool leer() const;
};

struct BmpPlan {
    QString version; // "027"
    QString instanz; // U
    int seite = 0;   // a; 0 on a single page
    int seiten = 0;  // z; 0 on a single page
    BmpPatient patient;
    BmpAutor autor;
    BmpParameter parameter;
    QVector<BmpAbschnitt> abschnitte;
};

// The version Kalvoria writes, and the ones it reads.
constexpr const char *bmpVersion = "027";
bool bmpVersionBekannt(const QString &version);

// The most a code may carry, counted in bytes after XML escaping.
constexpr int bmpHoechstBytes = 1400;
// The largest symbol a page may need. Text that packs badly can need
// 144 modules below 1400 bytes, a size not every scanner's decoder reads.
constexpr int bmpHoechstModule = 132;
// Table rows on one page below the header.
constexpr int bmpZeilenJeSeite = 15;
// The most pages one plan may have (up to version 2.7: 3).
constexpr int bmpHoechstSeiten = 3;

// A dose written in one slot, as a number ("1/2" 0.5, "2,5" 2.5); none when
// the text is no dose the format allows.
std::optional<double> bmpDosisWert(const QString &dosis);

// The printed text of a section heading, a dose unit and a dosage form code;
// empty for an unknown code (shown raw by the caller).
QString bmpAbschnittText(const QString &code);
QString bmpEinheitText(const QString &code);
QString bmpFormText(const QString &code);

// Whether a plan of that version may carry the heading code (425 came with 2.8).
bool bmpAbschnittInVersion(const QString &code, const QString &version);

// What a heading shows: the code's text, the code itself when unknown, or the free text.
QString bmpUeberschrift(const BmpAbschnitt &abschnitt);
// The unit and the form as the plan prints them.
QString bmpEinheit(const BmpEintrag &eintrag);
QString bmpForm(const BmpEintrag &eintrag);
// The dose as the plan prints it: "1-0-1/2-0", the free text, or "" for none.
QString bmpDosisAnzeige(const BmpEintrag &eintrag);
// What names a medication line: trade name, else its ingredients, else "PZN 01234562".
QString bmpBezeichnung(const BmpEintrag &eintrag);
// The birth date as printed, "TT.MM.JJJJ" with the zeros of unknown parts.
QString bmpGeburtAnzeige(const QString &geburt);
