// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/bmppdf.h"

#include "bmp/bmpschreiben.h"
#include "bmp/datamatrix.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// The page is laid out in millimetres from its top left corner.
class Blatt
{
public:
    explicit Blatt(QPdfWriter &schreiber) : faktor(schreiber.resolution() / 25.4) {}

    double mm(double wert) const { return wert * faktor; }
    QRectF rechteck(double x, double y, double b, double h) const { return QRectF(mm(x), mm(y), mm(b), mm(h)); }

private:
    double faktor;
};

QFont schrift(double punkte, bool fett = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(punkte);
    f.setBold(fett);
    return f;
}

// A cell's text: one line at 12 pt, else up to two lines at 10 pt, else
// cut with "..." at 10 pt; never cut when ganz (doses and units).
void zellText(QPainter &p, const QRectF &r, const QString &text, Qt::Alignment ausrichtung, int zeilen = 2)
{
    if (text.isEmpty())
        return;
    p.setFont(schrift(12));
    if (QFontMetricsF(p.font(), p.device()).horizontalAdvance(text) <= r.width()) {
        p.drawText(r, int(ausrichtung | Qt::AlignVCenter), text);
        return;
    }
    p.setFont(schrift(10));
    const QFontMetricsF fm(p.font(), p.device());
    const QRectF noetig = fm.boundingRect(r, int(ausrichtung | Qt::TextWordWrap), text);
    if (zeilen > 1 && noetig.height() <= fm.lineSpacing() * zeilen + 1) {
        p.drawText(r, int(ausrichtung | Qt::AlignVCenter | Qt::TextWordWrap), text);
        return;
    }
    if (zeilen == 1) {
        p.drawText(r, int(ausrichtung | Qt::AlignVCenter), fm.elidedText(text, Qt::ElideRight, r.width()));
        return;
    }
    // Two lines: the first as many words as fit, the rest cut.
    const QStringList woerter = text.split(QLatin1Char(' '));
    QString erste;
    int i = 0;
    for (; i < woerter.size(); ++i) {
        const QString probe = erste.isEmpty() ? woerter.at(i) : erste + QLatin1Char(' ') + woerter.at(i);
        if (fm.horizontalAdvance(probe) > r.width())
            break;
        erste = probe;
    }
    const QString rest = fm.elidedText(QStringList(woerter.mid(i)).join(QLatin1Char(' ')), Qt::ElideRight, r.width());
    p.drawText(r, int(ausrichtung | Qt::AlignVCenter), erste + QLatin1Char('\n') + rest);
}

struct Spalte {
    double x, breite;
};
// Wirkstoff, Handelsname, Stärke, Form, dose (four cells of 8), Einheit, Hinweise, Grund.
const Spalte spalten[] = {{8.5, 40},   {48.5, 44},  {92.5, 18},  {110.5, 18},
                          {128.5, 32}, {160.5, 20}, {180.5, 64}, {244.5, 44}};
constexpr double tabelleOben = 51.5;
constexpr double zeile = 8.75;
constexpr double innen = 1.1;

void kopfZeichnen(QPainter &p, const Blatt &b, const BmpPlan &s, int seite, int seiten)
{
    const QPen linie(Qt::black, b.mm(0.2));
    p.setPen(linie);
    p.setBrush(Qt::NoBrush);
    p.drawRect(b.rechteck(8.5, 8.5, 70, 40));
    p.setFont(schrift(20, true));
    p.drawText(b.rechteck(10, 10, 67, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Medikationsplan"));
    p.setFont(schrift(14));
    p.drawText(b.rechteck(10, 22, 67, 8), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Seite %1 von %2").arg(seite).arg(seiten));

    p.drawRect(b.rechteck(78.5, 8.5, 167, 40));
    const double links = 80.5, breite = 163;
    const auto zeileY = [](int n) { return 9.0 + (n - 1) * 5.6; };
    // Line 1: "für:" and the names, only first and last name bold.
    const BmpPatient &pat = s.patient;
    QString name;
    for (const QString &teil : {pat.titel, pat.vorname, pat.zusatz, pat.vorsatz, pat.name})
        if (!teil.isEmpty())
            name += (name.isEmpty() ? QString() : QStringLiteral(" ")) + teil;
    p.setFont(schrift(14));
    const QString fuer = QStringLiteral("f\u00FCr: ");
    const double fuerBreite = QFontMetricsF(p.font(), p.device()).horizontalAdvance(fuer);
    p.drawText(b.rechteck(links, zeileY(1), breite, 6), Qt::AlignLeft | Qt::AlignVCenter, fuer);
    p.setFont(schrift(14, true));
    const QString geb = bmpGeburtAnzeige(pat.geburt);
    const double gebBreite = QFontMetricsF(p.font(), p.device()).horizontalAdvance(geb);
    QRectF namenFeld = b.rechteck(links, zeileY(1), breite * 0.68, 6);
    namenFeld.setLeft(namenFeld.left() + fuerBreite);
    p.drawText(namenFeld, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(p.font(), p.device()).elidedText(name, Qt::ElideRight, namenFeld.width()));
    p.drawText(b.rechteck(links, zeileY(1), breite, 6), Qt::AlignRight | Qt::AlignVCenter, geb);
    p.setFont(schrift(14));
    QRectF gebFeld = b.rechteck(links, zeileY(1), breite, 6);
    gebFeld.setRight(gebFeld.right() - gebBreite);
    p.drawText(gebFeld, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("geb. am: "));

    const BmpAutor &a = s.autor;
    p.setFont(schrift(12));
    const auto links12 = [&](int n, const QString &text) {
        p.drawText(b.rechteck(links, zeileY(n) + 0.5, breite * 0.7, 5), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    links12(3, QStringLiteral("ausgedruckt von:"));
    links12(4, a.name);
    QString anschrift = a.strasse;
    const QString ort = (a.plz + QLatin1Char(' ') + a.ort).trimmed();
    if (!ort.isEmpty())
        anschrift += (anschrift.isEmpty() ? QString() : QStringLiteral(", ")) + ort;
    links12(5, anschrift);
    if (!a.telefon.isEmpty())
        links12(6, QStringLiteral("Tel.: ") + a.telefon);
    if (!a.email.isEmpty())
        links12(7, QStringLiteral("E-Mail: ") + a.email);
    const QDateTime zeit = QDateTime::fromString(a.zeit, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    p.drawText(b.rechteck(links, zeileY(7) + 0.5, breite, 5), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("ausgedruckt am: ") + zeit.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

void codeZeichnen(QPainter &p, const Blatt &b, const DataMatrix &code)
{
    // No outline and no smoothing: the modules stay sharp-edged and black.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QRectF feld = b.rechteck(248.5, 8.5, 40, 40);
    for (const QRectF &r : code.rechtecke)
        p.drawRect(QRectF(feld.x() + r.x() * feld.width(), feld.y() + r.y() * feld.height(), r.width() * feld.width(),
                          r.height() * feld.height()));
    p.restore();
}

void tabellenKopf(QPainter &p, const Blatt &b)
{
    p.setPen(QPen(Qt::black, b.mm(0.2)));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(b.rechteck(8.5, tabelleOben, 280, zeile));
    p.setBrush(Qt::NoBrush);
    static const char *const koepfe[] = {"Wirkstoff", "Handelsname", "St\u00E4rke", "Form",
                                         "",          "Einheit",     "Hinweise",    "Grund"};
    for (int i = 0; i < 8; ++i) {
        const Spalte &s = spalten[i];
        if (i > 0)
            p.drawLine(QPointF(b.mm(s.x), b.mm(tabelleOben)), QPointF(b.mm(s.x), b.mm(tabelleOben + zeile)));
        p.setFont(schrift(i == 2 || i == 3 ? 12 : 14));
        p.drawText(b.rechteck(s.x + innen, tabelleOben, s.breite - 2 * innen, zeile), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(koepfe[i]));
    }
    static const char *const zeiten[] = {"mor-\ngens", "mit-\ntags", "abends", "zur\nNacht"};
    QFont schmal = schrift(7, true);
    schmal.setStretch(QFont::SemiCondensed);
    p.setFont(schmal);
    for (int i = 0; i < 4; ++i) {
        const double x = spalten[4].x + 8 * i;
        if (i > 0)
            p.drawLine(QPointF(b.mm(x), b.mm(tabelleOben)), QPointF(b.mm(x), b.mm(tabelleOben + zeile)));
        p.drawText(b.rechteck(x, tabelleOben, 8, zeile), Qt::AlignCenter, QString::fromLatin1(zeiten[i]));
    }
}

void eintragZeichnen(QPainter &p, const Blatt &b, const BmpEintrag &e, double y, double hoehe)
{
    const QPen linie(Qt::black, b.mm(0.2));
    p.setPen(linie);
    p.drawRect(b.rechteck(8.5, y, 280, hoehe));
    for (int i = 1; i < 8; ++i)
        p.drawLine(QPointF(b.mm(spalten[i].x), b.mm(y)), QPointF(b.mm(spalten[i].x), b.mm(y + hoehe)));
    const auto zelle = [&](int i) { return b.rechteck(spalten[i].x + innen, y, spalten[i].breite - 2 * innen, hoehe); };
    QStringList wirkstoffe, staerken;
    for (const BmpWirkstoff &w : e.wirkstoffe) {
        wirkstoffe << w.name;
        staerken << w.staerke;
    }
    const int n = int(wirkstoffe.size());
    zellText(p, zelle(0), wirkstoffe.join(n == 2 ? QStringLiteral(" / ") : QStringLiteral("\n")), Qt::AlignLeft, n);
    QString name = e.handelsname;
    if (name.isEmpty() && e.pzn > 0 && e.wirkstoffe.isEmpty())
        name = bmpBezeichnung(e);
    zellText(p, zelle(1), name, Qt::AlignLeft);
    zellText(p, zelle(2), staerken.join(n == 2 ? QStringLiteral(" / ") : QStringLiteral("\n")), Qt::AlignRight, n);
    zellText(p, zelle(3), bmpForm(e), Qt::AlignLeft, 1);
    if (!e.dosisText.isEmpty()) {
        zellText(p, zelle(4), e.dosisText, Qt::AlignLeft);
    } else if (e.hatDosen()) {
        // One size for the four cells: the largest that fits the longest dose.
        double punkte = 12;
        for (const QString &d : e.dosen)
            while (punkte > 6 && QFontMetricsF(schrift(punkte), p.device()).horizontalAdvance(d) > b.mm(7.5))
                punkte -= 0.5;
        p.setFont(schrift(punkte));
        for (int i = 0; i < 4; ++i) {
            const double x = spalten[4].x + 8 * i;
            if (i > 0)
                p.drawLine(QPointF(b.mm(x), b.mm(y)), QPointF(b.mm(x), b.mm(y + hoehe)));
            p.drawText(b.rechteck(x, y, 8, hoehe), Qt::AlignCenter,
                       e.dosen[i].isEmpty() ? QStringLiteral("0") : e.dosen[i]);
        }
    }
    zellText(p, zelle(5), bmpEinheit(e), Qt::AlignLeft);
    zellText(p, zelle(6), e.hinweis, Qt::AlignLeft);
    zellText(p, zelle(7), e.grund, Qt::AlignLeft);
}

} // namespace

QString bmpPdfSchreiben(const QString &datei, const QVector<BmpPlan> &seiten)
{
    QPdfWriter schreiber(datei);
    schreiber.setResolution(1200);
    schreiber.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    schreiber.setTitle(QStringLiteral("Medikationsplan"));
    schreiber.setCreator(QStringLiteral("Kalvoria"));
    QPainter p;
    if (!p.begin(&schreiber))
        return QStringLiteral("Die Datei konnte nicht zum Schreiben ge\u00F6ffnet werden.");
    const Blatt b(schreiber);
    for (int n = 0; n < seiten.size(); ++n) {
        const BmpPlan &s = seiten.at(n);
        const DataMatrix code = dataMatrixKodieren(bmpSchreiben(s));
        if (code.module == 0) {
            p.end();
            return code.fehler;
        }
        if (n > 0)
            schreiber.newPage();
        kopfZeichnen(p, b, s, n + 1, int(seiten.size()));
        codeZeichnen(p, b, code);
        tabellenKopf(p, b);
        double y = tabelleOben + zeile;
        for (const BmpAbschnitt &a : s.abschnitte) {
            if (!a.code.isEmpty() || !a.titel.isEmpty()) {
                p.setPen(Qt::black);
                p.setFont(schrift(14, true));
                p.drawText(b.rechteck(8.5 + innen, y, 280, zeile), Qt::AlignLeft | Qt::AlignVCenter,
                           bmpUeberschrift(a));
                y += zeile;
            }
            for (const BmpEintrag &e : a.eintraege) {
                if (e.art == BmpEintrag::freitext) {
                    p.setPen(Qt::black);
                    zellText(p, b.rechteck(8.5 + innen, y, 280 - 2 * innen, zeile), e.text, Qt::AlignLeft);
                    y += zeile;
                    continue;
                }
                const double hoehe = e.art == BmpEintrag::medikament && e.wirkstoffe.size() == 3 ? 2 * zeile : zeile;
                if (e.art == BmpEintrag::rezept) {
                    p.setPen(QPen(Qt::black, b.mm(0.2)));
                    p.drawRect(b.rechteck(8.5, y, 280, zeile));
                    zellText(p, b.rechteck(8.5 + innen, y, 280 - 2 * innen, zeile), e.text, Qt::AlignLeft);
                } else {
                    eintragZeichnen(p, b, e, y, hoehe);
                }
                y += hoehe;
                if (!e.zusatz.isEmpty()) {
                    // The bound extra line, framed, 7 mm in from the table's edge.
                    p.setPen(QPen(Qt::black, b.mm(0.2)));
                    p.drawRect(b.rechteck(15.5, y, 273, zeile));
                    zellText(p, b.rechteck(15.5 + innen, y, 273 - 2 * innen, zeile), e.zusatz, Qt::AlignLeft);
                    y += zeile;
                }
            }
        }
        // Footer: a line across its top, the disclaimer and the version.
        p.setPen(QPen(Qt::black, b.mm(0.2)));
        p.drawLine(QPointF(b.mm(8.5), b.mm(191.5)), QPointF(b.mm(288.5), b.mm(191.5)));
        p.setFont(schrift(8));
        p.drawText(b.rechteck(8.5, 192, 120, 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("F\u00FCr Vollst\u00E4ndigkeit und Aktualit\u00E4t des Medikationsplans wird keine "
                                  "Gew\u00E4hr \u00FCbernommen."));
        p.drawText(b.rechteck(8.5, 196, 120, 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("DE-de Version %1.%2").arg(s.version.mid(1, 1), s.version.mid(2, 1)));
        p.drawText(b.rechteck(128.5, 192, 110, 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Erstellt mit Kalvoria"));
    }
    if (!p.end())
        return QStringLiteral("Die Datei konnte nicht vollst\u00E4ndig geschrieben werden.");
    return QString();
}
