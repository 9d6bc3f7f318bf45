// Writes the field program's pictures as PNG files, to look at them outside the program:
// the three chip sheets (also enlarged 4x) and composed frames of the built-in map.
//
//   field_pictures <output folder>
//
// The pictures are the same ones the program draws at start-up; nothing here is shipped.
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>

#include "tests/support/FieldScene.h"

namespace {

QImage toImage(const plat::Surface& s) {
    QImage img(s.width(), s.height(), QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x)
            img.setPixel(x, y, 0xFF000000u | s.pixel(x, y));
    }
    return img;
}

bool save(const plat::Surface& s, const std::string& folder, const std::string& name, int scale) {
    QImage img = toImage(s);
    if (scale > 1) img = img.scaled(img.width() * scale, img.height() * scale);
    const std::string path = folder + "/" + name + ".png";
    const bool ok = img.save(QString::fromStdString(path));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}

// The part of the composition the window shows.
plat::Surface view(const plat::Surface& primary) {
    plat::Surface v = plat::Surface::colour(384, 192);
    plat::bitBlt(v, 0, 0, 384, 192, primary, 64, 32, plat::Rop::SrcCopy);
    return v;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    bool ok = true;

    testsupport::FieldScene scene;
    ok &= save(scene.mapChips, out, "map_chips", 1);
    ok &= save(scene.charChips, out, "char_chips", 1);
    ok &= save(scene.eveChips, out, "event_chips", 1);
    ok &= save(scene.mapChips, out, "map_chips_x4", 4);
    ok &= save(scene.charChips, out, "char_chips_x2", 2);
    ok &= save(scene.eveChips, out, "event_chips_x4", 4);
    if (!scene.build()) {
        std::fprintf(stderr, "the built-in demo did not read\n");
        return 1;
    }

    scene.render(scene.world.shadeLevel);
    ok &= save(scene.primary, out, "start_composition", 1);
    ok &= save(view(scene.primary), out, "start_view_x2", 2);

    // The upper layers from the gatekeeper's side, with every object shown.
    for (int i = 1; i <= scene.world.eventCount; ++i)
        scene.world.events[i].visible = -1;
    scene.world.player.x = 5;
    scene.world.player.y = 3;
    scene.render(scene.world.shadeLevel);
    ok &= save(view(scene.primary), out, "objects_view_x2", 2);

    scene.world.player.layer = 1;
    scene.world.player.x = 3;
    scene.world.player.y = 1;
    scene.world.shadeLevel = 1;
    scene.render(scene.world.shadeLevel);
    ok &= save(view(scene.primary), out, "layer1_shade1_view_x2", 2);
    return ok ? 0 : 1;
}
