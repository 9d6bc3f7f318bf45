// Renders the two programs' desktop icons from their own pictures: Haruvel's hero facing the
// player, Kardovan's skull monster portrait. The key colour becomes transparent; sizes the
// picture fills by a whole factor are enlarged nearest-neighbour, smaller ones are shrunk
// smoothly so the figure stays recognisable at 16 pixels.
//
//   app_icons <output folder>     writes haruvel-<N>.png and kardovan-<N>.png, N = 16 .. 256
#include <QImage>
#include <QString>

#include <cstdio>

#include "assets/battle/BattlePictures.h"
#include "assets/field/FieldPictures.h"

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

// The part of a surface at (x, y, w, h), key pixels transparent, cut to the drawn pixels and
// padded to a square.
QImage figure(const plat::Surface& s, int x, int y, int w, int h, plat::Color key) {
    QImage img(w, h, QImage::Format_ARGB32);
    QRect drawn;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const plat::Color c = s.pixel(x + i, y + j);
            img.setPixel(i, j, c == key ? 0u : 0xFF000000u | c);
            if (c != key) drawn |= QRect(i, j, 1, 1);
        }
    }
    const int side = std::max(drawn.width(), drawn.height());
    QImage square(side, side, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int j = 0; j < drawn.height(); ++j) {
        for (int i = 0; i < drawn.width(); ++i)
            square.setPixel((side - drawn.width()) / 2 + i, (side - drawn.height()) / 2 + j,
                            img.pixel(drawn.left() + i, drawn.top() + j));
    }
    return square;
}

QImage icon(const QImage& square, int size) {
    const int factor = size / square.width();
    if (factor < 1) {
        return square.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    const QImage big = square.scaled(square.width() * factor, square.height() * factor);
    QImage out(size, size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const int off = (size - big.width()) / 2;
    for (int j = 0; j < big.height(); ++j) {
        for (int i = 0; i < big.width(); ++i)
            out.setPixel(off + i, off + j, big.pixel(i, j));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_icons <output folder>\n");
        return 2;
    }
    // The hero's standing chip facing down: column 1, row 2 of the 64 x 64 character chips.
    const QImage hero = figure(assets::makeCharChipSheet(), 64, 128, 64, 64, assets::kKeyGreen);
    const plat::Surface face = assets::makeEnemyFace();
    const QImage skull = figure(face, 0, 0, face.width(), face.height(), assets::kBattleKey);
    int failures = 0;
    for (int size : kSizes) {
        for (const auto& [name, picture] : {std::pair{"haruvel", &hero}, {"kardovan", &skull}}) {
            const QString path = QStringLiteral("%1/%2-%3.png").arg(argv[1], name).arg(size);
            if (!icon(*picture, size).save(path)) {
                std::fprintf(stderr, "app_icons: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
