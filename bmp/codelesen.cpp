// SPDX-License-Identifier: GPL-3.0-or-later
// Reading DataMatrix codes from a picture with zxing-cpp.
#include "bmp/datamatrix.h"

#include <QImageReader>

// The results' texts as UTF-8, without the library's deprecation notes.
#define ZX_USE_UTF8 1
#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>

namespace {

const QString keinCode = QStringLiteral("Auf dem Bild wurde kein DataMatrix-Code gefunden. Bitte das ganze Blatt "
                                        "gerade und scharf aufnehmen (mindestens 200 dpi).");

QString zuGross(qint64 pixel)
{
    return QStringLiteral("Das Bild ist mit %1 Megapixeln zu gro\u00DF (h\u00F6chstens %2). Bitte mit "
                          "geringerer Aufl\u00F6sung scannen (300 dpi gen\u00FCgen).")
        .arg(pixel / 1000000)
        .arg(codeHoechstPixel / 1000000);
}

} // namespace

GelesenerCode dataMatrixLesen(const QImage &bild, const CodeFortschritt &weiter)
{
    GelesenerCode g;
    if (bild.isNull()) {
        g.fehler = QStringLiteral("Die Datei ist kein lesbares Bild (PNG oder JPEG).");
        return g;
    }
    const qint64 pixel = qint64(bild.width()) * bild.height();
    if (pixel > codeHoechstPixel) {
        g.fehler = zuGross(pixel);
        return g;
    }
    const QImage grau = bild.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hinweise;
    hinweise.setFormats(ZXing::BarcodeFormat::DataMatrix);
    const auto suchen = [&](const QImage &b, bool gruendlich) {
        hinweise.setTryHarder(gruendlich);
        hinweise.setTryRotate(gruendlich);
        const ZXing::ImageView ansicht(b.constBits(), b.width(), b.height(), ZXing::ImageFormat::Lum,
                                       int(b.bytesPerLine()));
        for (const ZXing::Result &r : ZXing::ReadBarcodes(ansicht, hinweise)) {
            if (!r.isValid())
                continue;
            const auto &bytes = r.bytes();
            const QByteArray inhalt(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
            if (!g.inhalte.contains(inhalt))
                g.inhalte.append(inhalt);
        }
        return !g.inhalte.isEmpty();
    };
    // Table lines and text around it hide the code from the detector: it is
    // looked for in squares, at the corners first (the plan has it at the
    // top right; a page scanned upright or upside down moves it to another),
    // then across the picture, and last in the whole picture.
    const int b = grau.width(), h = grau.height();
    QVector<QRect> felder;
    for (const double anteil : {0.2, 0.3}) {
        const int t = int(qMax(b, h) * anteil);
        felder << QRect(b - t, 0, t, t) << QRect(0, 0, t, t) << QRect(0, h - t, t, t) << QRect(b - t, h - t, t, t);
    }
    const int t = int(qMax(b, h) * 0.3);
    for (int y = 0; y < h; y += t / 2)
        for (int x = qMax(0, b - t); x > -t / 2; x -= t / 2)
            felder << QRect(qMax(0, x), y, t, t);
    for (int i = 0; i < felder.size(); ++i) {
        const QRect &feld = felder.at(i);
        if (weiter && !weiter(i, int(felder.size()) + 1)) {
            g.abgebrochen = true;
            return g;
        }
        const QRect r = feld.intersected(grau.rect());
        if (!r.isEmpty() && suchen(grau.copy(r), true))
            return g;
    }
    if (suchen(grau, true))
        return g;
    g.fehler = keinCode;
    return g;
}

GelesenerCode dataMatrixAusDatei(const QString &pfad, const CodeFortschritt &weiter)
{
    QImageReader leser(pfad);
    const QSize groesse = leser.size();
    if (groesse.isValid() && qint64(groesse.width()) * groesse.height() > codeHoechstPixel) {
        GelesenerCode g;
        g.fehler = zuGross(qint64(groesse.width()) * groesse.height());
        return g;
    }
    leser.setAutoTransform(true);
    return dataMatrixLesen(leser.read(), weiter);
}
