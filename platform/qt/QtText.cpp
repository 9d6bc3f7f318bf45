#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace plat::qt {

QFont japaneseFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("TakaoGothic"), QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(std::clamp(pixelSize, 1, 512));
    return font;
}

int QtTextRenderer::textOut(Surface& surface, int x, int y, std::string_view utf8) {
    if (surface.isNull() || surface.isMono()) return 0;
    if (utf8.empty()) return 1;
    // Text placed far off the surface draws nothing; far-out positions must not overflow below.
    constexpr int kReach = 1 << 20;
    if (x < -kReach || y < -kReach || x > kReach || y > kReach) return 1;
    const int w = surface.width();
    const int h = surface.height();
    QImage image(reinterpret_cast<uchar*>(surface.data()), w, h, static_cast<qsizetype>(w) * 4,
                 QImage::Format_RGB32);
    if (surface.fontPixelSize() != fontSize_ || fontSize_ < 0) {
        fontSize_ = surface.fontPixelSize();
        font_ = japaneseFont(fontSize_);
        font_.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics metrics(font_);
        ascent_ = metrics.ascent();
        height_ = metrics.height();
    }
    {
        QPainter painter(&image);
        if (!painter.isActive()) return 0;
        painter.setFont(font_);
        painter.setPen(QColor::fromRgb(surface.foreColor()));
        painter.drawText(x, y + ascent_,
                         QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    }
    // The painter writes opaque pixels as 0xFFRRGGBB; surfaces keep the top byte zero.
    const int top =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(y) - height_, 0, h));
    const int bottom =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(y) + 2LL * height_, 0, h));
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* p = surface.row(row);
        for (int i = 0; i < w; ++i)
            p[i] &= 0x00FFFFFFu;
    }
    surface.touch();
    return 1;
}

} // namespace plat::qt
