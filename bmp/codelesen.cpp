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

GelesenerCode dataMatrixLesen(const QImage &bild, const std::function<bool()> &weiter)
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
    // A fast look first, which finds a clean scan at once; then a thorough
    // one, and one on the picture halved, which finds codes of large scans.
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
    for (int schritt = 0; schritt < 3; ++schritt) {
        if (weiter && !weiter()) {
            g.abgebrochen = true;
            return g;
        }
        const bool gefunden = schritt == 2 ? suchen(grau.scaled(grau.width() / 2, grau.height() / 2,
                                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                                    true)
                                           : suchen(grau, schritt == 1);
        if (gefunden)
            return g;
    }
    g.fehler = keinCode;
    return g;
}

GelesenerCode dataMatrixAusDatei(const QString &pfad, const std::function<bool()> &weiter)
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
