#pragma once

// The frame both printed documents share: a title, the patient line, a row of
// column headers and equally high rows below, continued on as many pages as
// the rows need, with the footer below the last row.

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

class MainWindow;

struct PdfSpalte {
    int x;
    int breite;
    QString kopf;
};

struct PdfRaster {
    QString titel;
    int titelHoehe;  // the title is centred in (500, 700, 8600, titelHoehe)
    QVector<PdfSpalte> spalten;
    int kopfY;       // top of the header row; the first row follows right below it
    int kopfHoehe;
    int zeilenHoehe;
};

// Where each row goes: its page (from 0) and the top of its band.
struct Seitenplan {
    QVector<int> seite;
    QVector<int> oben;
    int seiten = 1;
    int fussOben = 0; // top of the footer, on the last page
};

// Distance from the top of the last row to the top of the footer, and the
// footer's height.
constexpr int fussAbstand = 1000;
constexpr int fussHoehe = 180;

// Rows follow each other from ersteZeile; a row that would reach below
// unten starts a new page, and so does the last row when the footer would
// not fit below it, so that the footer never stands alone on a page.
Seitenplan seitenPlanen(int zeilen, int kopfY, int ersteZeile, int zeilenHoehe, int unten);

// One document being written: opens the file, draws the head of every page
// and the footer, and hands out the rows' positions.
class PdfTabelle
{
    // First, so that it is there before the painter begins on it.
    std::unique_ptr<QPdfWriter> schreiber;

public:
    // The text of the headline is drawn as the patient line on every page.
    PdfTabelle(const QString &datei, const PdfRaster &raster, const QString &patient, int zeilen);
    ~PdfTabelle();

    // False when the file could not be opened for writing.
    bool offen() const { return maler.isActive(); }

    // Top of row i, after starting its page where needed. Rows come in order.
    int zeileBeginnen(int i);
    QRect zelle(int spalte, int oben) const;
    // Outline of a cell and its text, centred unless told otherwise.
    void zelleZeichnen(int spalte, int oben, const QString &text, int ausrichtung = Qt::AlignCenter);

    // Draws the footer below the last row and closes the file; false when
    // the file could not be completed.
    bool beenden(const QString &fusszeile);

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
    QString patient;
    Seitenplan plan;
    int seite = -1;
};

// The name the user gave, with ".pdf" added when it has no suffix. A suffix
// is letters and digits with at least one letter, so that the dots of
// "Plan 06.12.2026" or "Dr. Meier" do not count as one.
QString pdfEndungErgaenzen(const QString &name);

// What both print commands share: asks for the file name (starting in the
// folder of the database file, which is never overwritten), draws the head
// of each page, has zeichnen draw row k (0 .. zeilen-1) at the top position
// it is given, adds the footer "<title> erstellt am: ..." and opens the
// file. Cancelling the dialog writes and opens nothing.
void pdfDrucken(MainWindow &fenster, const QString &datenbank, const PdfRaster &raster, const QString &patient,
                int zeilen, const std::function<void(PdfTabelle &pdf, int zeile, int oben)> &zeichnen);
