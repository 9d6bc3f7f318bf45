// Single-line text onto a pixel surface with Qt's painter.
#pragma once

#include <QFont>

#include "platform/Seams.h"

namespace plat::qt {

// The font families tried in order for program text; fontconfig supplies the first present.
QFont japaneseFont(int pixelSize);

// Draws with the surface's fore colour and pixel font size, background left as it is, no
// antialiasing (so the text keeps the surface's exact colours). (x, y) is the top-left of the
// text cell, as the programs' text output expects.
class QtTextRenderer : public ITextRenderer {
  public:
    int textOut(Surface& surface, int x, int y, std::string_view utf8) override;

  private:
    // The font of the last size drawn: looking a font up costs more than drawing a short text.
    int fontSize_ = -1;
    QFont font_;
    int ascent_ = 0;
    int height_ = 0;
};

} // namespace plat::qt
