// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>
#include <functional>

// A DataMatrix symbol as libzint encodes it: the dark areas as rectangles
// in a square of side 1, so that a painter scales them to any size without
// going through a bitmap.
struct DataMatrix {
    QVector<QRectF> rechtecke;
    int module = 0; // modules per side; 0 when encoding failed
    QString fehler;
};

// ECC 200, square sizes only, the bytes as given (no ECI, no GS1): what the
// medication plan wants. Any warning of libzint counts as failure.
DataMatrix dataMatrixKodieren(const QByteArray &bytes);
// Modules per side of the symbol for bytes, as dataMatrixKodieren makes it;
// 0 when it cannot be encoded.
int dataMatrixModule(const QByteArray &bytes);

// The symbol black on white, scale pixels per module and a quiet zone of
// rand modules, for tests and previews.
QImage dataMatrixBild(const DataMatrix &symbol, int scale, int rand);

// The content of the DataMatrix codes in a picture, as raw bytes (several
// for a picture holding several pages). Pictures above hoechstPixel are
// refused; weiter is told how far the search got (done of all steps) and
// stops it when it returns false. fehler says why nothing was found.
struct GelesenerCode {
    QVector<QByteArray> inhalte;
    QString fehler;
    bool abgebrochen = false;
};
constexpr qint64 codeHoechstPixel = 30'000'000;
using CodeFortschritt = std::function<bool(int erledigt, int gesamt)>;
GelesenerCode dataMatrixLesen(const QImage &bild, const CodeFortschritt &weiter = {});
// The same from a file; refuses files too large before decoding them.
GelesenerCode dataMatrixAusDatei(const QString &pfad, const CodeFortschritt &weiter = {});
