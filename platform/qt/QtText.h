// Single-line text onto a pixel surface with Qt's painter.
#pragma once

#include <QFont>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Seams.h"

namespace plat::qt {

// The font families tried in order for program text; fontconfig supplies the first present.
QFont japaneseFont(int pixelSize);

// A text as the programs break lines (CR LF or a lone CR) with Qt's line feeds.
QString withLineFeeds(const std::u16string& text);

// Draws with the surface's fore colour and pixel font size, background left as it is, no
// antialiasing (so the text keeps the surface's exact colours). (x, y) is the top-left of the
// text cell, as the programs' text output expects.
//
// The programs draw the same few texts every frame, so each text is painted once into a
// scratch picture and kept as the runs of pixels it sets; drawing it again fills those runs.
// A text whose painting depends on what lies under it (which without antialiasing does not
// happen) is never kept and is painted each time.
class QtTextRenderer : public ITextRenderer {
  public:
    explicit QtTextRenderer(bool keepTexts = true) : keepTexts_(keepTexts) {}
    int textOut(Surface& surface, int x, int y, std::string_view utf8) override;

  private:
    struct Run {
        int dx, dy, length; // from the point the text is drawn at
    };
    struct Kept {
        bool usable = false;
        std::vector<Run> runs;
    };
    void useFont(int pixelSize);
    int paint(Surface& surface, int x, int y, std::string_view utf8);
    const Kept& kept(std::string_view utf8, Color fore);

    bool keepTexts_;
    // The font of the size being drawn, and of every size drawn before: looking a font up costs
    // more than drawing a short text, and the battle switches between two sizes all the time.
    struct SizedFont {
        QFont font;
        int ascent = 0;
        int height = 0;
    };
    std::unordered_map<int, SizedFont> fonts_;
    int fontSize_ = -1;
    QFont font_;
    int ascent_ = 0;
    int height_ = 0;
    std::string key_; // reused for look-ups: font size, colour and text
    std::unordered_map<std::string, Kept> kept_;
};

} // namespace plat::qt
