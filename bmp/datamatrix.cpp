// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/datamatrix.h"

#include <QPainter>

#include <zint.h>

DataMatrix dataMatrixKodieren(const QByteArray &bytes)
{
    DataMatrix d;
    zint_symbol *s = ZBarcode_Create();
    if (!s) {
        d.fehler = QStringLiteral("Der Code konnte nicht erzeugt werden (kein Speicher).");
        return d;
    }
    s->symbology = BARCODE_DATAMATRIX;
    s->input_mode = DATA_MODE;
    s->option_3 = DM_SQUARE;
    // A warning (an ECI added, say) would make a code scanners misread.
    s->warn_level = WARN_FAIL_ALL;
    // One pixel per module, no quiet zone: the module matrix itself. Runs
    // of dark modules become the rectangles here; libzint's own vector
    // output allocates every rectangle apart, which made a three-page plan
    // slow in a program holding many patients.
    s->scale = 0.5f;
    const int rc = ZBarcode_Encode_and_Buffer(s, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                              int(bytes.size()), 0);
    if (rc != 0 || !s->bitmap || s->bitmap_width != s->width || s->bitmap_height != s->rows || s->width <= 0) {
        d.fehler = QStringLiteral("Der Code konnte nicht erzeugt werden: %1").arg(QString::fromLatin1(s->errtxt));
        ZBarcode_Delete(s);
        return d;
    }
    const int breite = s->width;
    const int hoehe = s->rows;
    const auto dunkel = [&](int x, int y) { return s->bitmap[3 * (y * breite + x)] < 128; };
    for (int y = 0; y < hoehe; ++y) {
        for (int x = 0; x < breite;) {
            if (!dunkel(x, y)) {
                ++x;
                continue;
            }
            const int von = x;
            while (x < breite && dunkel(x, y))
                ++x;
            d.rechtecke.append(QRectF(double(von) / breite, double(y) / hoehe, double(x - von) / breite, 1.0 / hoehe));
        }
    }
    d.module = breite;
    ZBarcode_Delete(s);
    return d;
}

int dataMatrixModule(const QByteArray &bytes)
{
    zint_symbol *s = ZBarcode_Create();
    if (!s)
        return 0;
    s->symbology = BARCODE_DATAMATRIX;
    s->input_mode = DATA_MODE;
    s->option_3 = DM_SQUARE;
    s->warn_level = WARN_FAIL_ALL;
    const int rc = ZBarcode_Encode(s, reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size()));
    const int module = rc == 0 ? s->width : 0;
    ZBarcode_Delete(s);
    return module;
}

QImage dataMatrixBild(const DataMatrix &symbol, int scale, int rand)
{
    const int seite = (symbol.module + 2 * rand) * scale;
    QImage bild(seite, seite, QImage::Format_Grayscale8);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const double groesse = symbol.module * scale;
    p.translate(rand * scale, rand * scale);
    for (const QRectF &r : symbol.rechtecke)
        p.drawRect(QRectF(r.x() * groesse, r.y() * groesse, r.width() * groesse, r.height() * groesse));
    return bild;
}
