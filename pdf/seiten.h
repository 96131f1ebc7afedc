// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frame the printed documents share: a title, the patient line, a row of
// column headers and rows below, each as high as its wrapped texts need,
// continued on as many pages as the rows need, with the footer below the last
// row. A document may hold several patients, each from a page of its own.

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>
#include <QString>
#include <QTextOption>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

class MainWindow;

struct PdfSpalte {
    int x;
    int breite;
    QString kopf;
};

struct PdfRaster {
    // The columns follow each other from the page's left margin, each given
    // by its width and header.
    PdfRaster(const QString &titel, int titelHoehe, int kopfY, int kopfHoehe, int zeilenHoehe,
              std::initializer_list<std::pair<int, const char *>> spalten);

    QString titel;
    int titelHoehe; // the title is centred in (500, 700, 8600, titelHoehe)
    QVector<PdfSpalte> spalten;
    int kopfY; // top of the header row, lower when the patient line wraps;
               // the first row follows right below it
    int kopfHoehe;
    int zeilenHoehe; // the least height of a row
};

// Where each row goes: its page (from 0), the top of its band and its height.
struct Seitenplan {
    QVector<int> seite;
    QVector<int> oben;
    QVector<int> hoehe;
    int seiten = 1;
    int schlussOben = 0; // top of the block after the last row, on the last page
    int fussOben = 0;    // top of the footer, on the last page
};

// Distance from the top of a row of the least height to the top of the
// footer below it, and the footer's height. A taller last row keeps the
// same gap to the footer.
constexpr int fussAbstand = 1000;
constexpr int fussHoehe = 180;

// Rows of the given heights follow each other from ersteZeile; a row that
// would reach below unten starts a new page, and so does the last row when
// the block of height schluss after it and the footer would not fit below
// it, so that neither ever stands alone on a page. A row higher than a
// whole page (with the block and the footer, for the last) is cut to the
// page.
Seitenplan seitenPlanen(const QVector<int> &hoehen, int kopfY, int ersteZeile, int zeilenHoehe, int unten,
                        int schluss = 0);

// One document being written: opens the file, draws the head of every page
// and the footer, and hands out the rows' positions.
class PdfTabelle
{
    // First, so that it is there before the painter begins on it.
    std::unique_ptr<QPdfWriter> schreiber;

public:
    // The text of the headline is drawn as the patient line on every page.
    PdfTabelle(const QString &datei, const PdfRaster &raster, const QString &patient);
    ~PdfTabelle();

    // False when the file could not be opened for writing.
    bool offen() const { return maler.isActive(); }

    // Height of a text wrapped to the width, as textZeichnen draws it.
    int textHoehe(const QFont &schrift, int breite, const QString &text);
    // Height of a row whose cell in the column holds the text, as
    // zelleZeichnen draws it; at least the raster's row height.
    int zellenHoehe(int spalte, const QString &text);
    // The same for a cell whose texts take this height together.
    int zellenHoeheUm(int textHoehe) const;
    // The first column of a medication's row: its name on top, the trade
    // name small below it, each wrapped within the column. Height of the row
    // it needs, and drawing it.
    int namenHoehe(const QString &name, const QString &handelsname);
    void namenZeichnen(int oben, const QString &name, const QString &handelsname);
    // The patient whose rows come next: the patient line of the next
    // pages, which the column headers follow below.
    void patientSetzen(const QString &patient);
    // Lays out rows of these heights, and a block of height schluss after
    // them, on pages of their own and begins the first of them.
    void zeilenPlanen(const QVector<int> &hoehen, int schluss = 0);
    // Top of the block after the last row, once the last row is drawn.
    int schlussOben() const { return plan.schlussOben; }

    // Top of row i, after starting its page where needed. Rows come in order.
    int zeileBeginnen(int i);
    // The cell of the row begun last, as high as that row.
    QRect zelle(int spalte, int oben) const;
    // Where a cell's text goes: the cell less its inner margins.
    static QRect innen(const QRect &zelle);
    // Outline of a cell and its text, centred unless told otherwise.
    void zelleZeichnen(int spalte, int oben, const QString &text, int ausrichtung = Qt::AlignCenter);
    // The text in the current font, wrapped at word boundaries (inside a word
    // only where the word alone is too wide) and kept within r.
    void textZeichnen(const QRect &r, const QString &text, int ausrichtung);

    // Draws the footer below the last row (and the block after it).
    void fussZeichnen(const QString &fusszeile);
    // Closes the file; false when it could not be completed.
    bool beenden();

    QPainter maler;
    const QFont titelSchrift;
    const QFont textSchrift;
    const QFont kopfSchrift;
    const QFont kleinSchrift;
    const QFont fussSchrift;
    const QPen schwarz;
    const QPen grau;

private:
    void seiteBeginnen(int seite);

    PdfRaster raster;
    int kopfYVorgabe; // the raster's kopfY, before a long patient line moves the headers down
    QString patient;
    int patientHoehe = 0;
    Seitenplan plan;
    int seite = -1;
    int zeile = -1;
    bool seiteGezeichnet = false; // the document has a page already: the next starts a new one
};

// The name the user gave, with ".pdf" added when it has no suffix. A suffix
// is letters and digits with at least one letter, so that the dots of
// "Plan 06.12.2026" or "Dr. Meier" do not count as one.
QString pdfEndungErgaenzen(const QString &name);

// What every print command shares: asks for the file name (starting in the
// window's dialogOrdner; the database file is never overwritten), has
// schreiben write the document, given the footer "<title> erstellt am: ...",
// closes it and opens the file. Cancelling the dialog writes and opens
// nothing.
void pdfSchreiben(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                  const std::function<void(PdfTabelle &pdf, const QString &fuss)> &schreiben);

// The document of one patient: has hoehe measure each row k (0 ..
// zeilen-1), draws the head of each page, has zeichnen draw row k at the
// top position it is given and adds the footer.
void pdfDrucken(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                int zeilen, const std::function<int(PdfTabelle &pdf, int zeile)> &hoehe,
                const std::function<void(PdfTabelle &pdf, int zeile, int oben)> &zeichnen);

// The steps of printing that documents of other layouts share: the file
// name asked for (pdfDrucken's rules; "" when cancelled or refused), the
// message when the file could not be written, and the written file opened.
QString pdfNameWaehlen(MainWindow &fenster, const QString &datenbank);
void pdfFehler(MainWindow &fenster, const QString &datei);
void pdfOeffnen(MainWindow &fenster, const QString &datei);
