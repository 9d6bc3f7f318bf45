#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace plat::qt {

QString withLineFeeds(const std::u16string& text) {
    QString s = QString::fromStdU16String(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QFont japaneseFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("TakaoGothic"), QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(std::clamp(pixelSize, 1, 512));
    return font;
}

void QtTextRenderer::useFont(int pixelSize) {
    if (pixelSize == fontSize_) return;
    auto it = fonts_.find(pixelSize);
    if (it == fonts_.end()) {
        SizedFont f;
        f.font = japaneseFont(pixelSize);
        f.font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics metrics(f.font);
        f.ascent = metrics.ascent();
        f.height = metrics.height();
        if (fonts_.size() >= 32) fonts_.clear();
        it = fonts_.emplace(pixelSize, f).first;
    }
    fontSize_ = pixelSize;
    font_ = it->second.font;
    ascent_ = it->second.ascent;
    height_ = it->second.height;
}

int QtTextRenderer::paint(Surface& surface, int x, int y, std::string_view utf8) {
    const int w = surface.width();
    const int h = surface.height();
    QImage image(reinterpret_cast<uchar*>(surface.data()), w, h, static_cast<qsizetype>(w) * 4,
                 QImage::Format_RGB32);
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

const QtTextRenderer::Kept& QtTextRenderer::kept(std::string_view utf8, Color fore) {
    key_.clear();
    const std::uint32_t head[2] = {static_cast<std::uint32_t>(fontSize_), fore};
    key_.append(reinterpret_cast<const char*>(head), sizeof head);
    key_.append(utf8);
    if (const auto it = kept_.find(key_); it != kept_.end()) return it->second;
    if (kept_.size() >= 256) kept_.clear(); // texts that keep changing (a counter) stay few

    // Painted twice, on black and on white with a margin all round: a pixel the text sets has
    // the fore colour on both; one it leaves alone keeps each background. Anything else, or a
    // pixel set on the margin's edge (the text might reach beyond), and the text is not kept.
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QFontMetrics metrics(font_);
    const int pad = std::clamp(fontSize_, 1, 512) + 8;
    const long long cw = static_cast<long long>(metrics.horizontalAdvance(text)) + 2 * pad;
    const long long ch = static_cast<long long>(height_) + 2 * pad;
    Kept k;
    if (cw <= 0 || ch <= 0 || cw * ch > (1 << 22)) return kept_.emplace(key_, k).first->second;
    Surface on[2] = {Surface::colour(static_cast<int>(cw), static_cast<int>(ch)),
                     Surface::colour(static_cast<int>(cw), static_cast<int>(ch))};
    on[0].fill(kBlack);
    on[1].fill(kWhite);
    k.usable = true;
    for (Surface& s : on) {
        s.setForeColor(fore);
        if (paint(s, pad, pad, utf8) != 1) k.usable = false;
        for (int py = 0; py < ch; ++py) {
            std::uint32_t* p = s.row(py);
            for (int px = 0; px < cw; ++px)
                p[px] &= 0x00FFFFFFu;
        }
    }
    for (int py = 0; py < ch && k.usable; ++py) {
        const std::uint32_t* a = on[0].row(py);
        const std::uint32_t* b = on[1].row(py);
        int px = 0;
        while (px < cw && k.usable) {
            if (a[px] == kBlack && b[px] == kWhite) {
                ++px;
                continue;
            }
            const int start = px;
            while (px < cw && a[px] == fore && b[px] == fore)
                ++px;
            const bool edge = start == 0 || px == cw || py == 0 || py == ch - 1;
            if (px == start || edge) {
                k.usable = false;
                break;
            }
            k.runs.push_back({start - pad, py - pad, px - start});
        }
    }
    if (!k.usable) k.runs.clear();
    return kept_.emplace(key_, std::move(k)).first->second;
}

int QtTextRenderer::textOut(Surface& surface, int x, int y, std::string_view utf8) {
    if (surface.isNull() || surface.isMono()) return 0;
    if (utf8.empty()) return 1;
    // Text placed far off the surface draws nothing; far-out positions must not overflow below.
    constexpr int kReach = 1 << 20;
    if (x < -kReach || y < -kReach || x > kReach || y > kReach) return 1;
    useFont(surface.fontPixelSize());
    const Color fore = surface.foreColor() & 0xFFFFFF;
    if (!keepTexts_) return paint(surface, x, y, utf8);
    const Kept& k = kept(utf8, fore);
    if (!k.usable) return paint(surface, x, y, utf8);
    const int w = surface.width(), h = surface.height();
    for (const Run& r : k.runs) {
        const int row = y + r.dy;
        if (row < 0 || row >= h) continue;
        const int a = std::max(x + r.dx, 0), b = std::min(x + r.dx + r.length, w);
        if (a < b) std::fill(surface.row(row) + a, surface.row(row) + b, fore);
    }
    surface.touch();
    return 1;
}

} // namespace plat::qt
