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
    const int rc = ZBarcode_Encode_and_Buffer_Vector(s, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                                     int(bytes.size()), 0);
    if (rc != 0 || !s->vector || s->vector->width <= 0) {
        d.fehler = QStringLiteral("Der Code konnte nicht erzeugt werden: %1").arg(QString::fromLatin1(s->errtxt));
        ZBarcode_Delete(s);
        return d;
    }
    const double breite = s->vector->width;
    const double hoehe = s->vector->height;
    for (const zint_vector_rect *r = s->vector->rectangles; r; r = r->next)
        d.rechtecke.append(QRectF(r->x / breite, r->y / hoehe, r->width / breite, r->height / hoehe));
    d.module = s->width;
    ZBarcode_Delete(s);
    return d;
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
