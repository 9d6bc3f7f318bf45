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

#include "assets/field/FieldPictures.h"
#include "field/World.h"
#include "field/graphics/mdlChipDraw.h"
#include "field/graphics/mdlGraphic.h"
#include "field/mdlDataCtrl.h"
#include "platform/testing/TestSeams.h"

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

struct Scene {
    plat::testing::TestServices ts;
    field::World world;
    mdlRxSGlue::Searchers searchers;
    mdlGraphic::GraphicState g;
    plat::Surface masks[3];
    plat::Surface mapChips = assets::makeMapChipSheet();
    plat::Surface charChips = assets::makeCharChipSheet();
    plat::Surface eveChips = assets::makeEventChipSheet();
    plat::Surface primary = plat::Surface::colour(514, 258);

    bool build() {
        for (int i = 0; i < 3; ++i)
            masks[i] = mdlGraphic::psMakeShadeMaskPicture(i + 1);
        mdlGraphic::pfInitShadeMasks(g, 64, 64, &masks[0], &masks[1], &masks[2]);
        primary.setBackColor(plat::fromBgr(16750230));
        mdlGraphic::pfInitTransWork(g, &primary, &primary);
        field::initPlayer(world);
        return mdlDataCtrl::pfBuildMap(world, ts.services) && mdlDataCtrl::pfBuildScripts(world) &&
               mdlDataCtrl::pfBuildEventObjects(world, searchers);
    }

    void render() {
        const mdlChipDraw::Sheets sheets{mapChips, charChips, eveChips, primary};
        mdlChipDraw::psRenderFrame(g, charChips.pixel(2, 2), world.shadeLevel, sheets, world, 224,
                                   64, primary.width(), primary.height(), {});
    }

    // The part of the composition the window shows.
    plat::Surface view() const {
        plat::Surface v = plat::Surface::colour(384, 192);
        plat::bitBlt(v, 0, 0, 384, 192, primary, 64, 32, plat::Rop::SrcCopy);
        return v;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    bool ok = true;

    Scene scene;
    ok &= save(scene.mapChips, out, "map_chips", 1);
    ok &= save(scene.charChips, out, "char_chips", 1);
    ok &= save(scene.eveChips, out, "event_chips", 1);
    ok &= save(scene.mapChips, out, "map_chips_x4", 4);
    ok &= save(scene.charChips, out, "char_chips_x2", 2);
    ok &= save(scene.eveChips, out, "event_chips_x4", 4);
    if (!scene.build()) {
        std::fprintf(stderr, "the built-in data did not build\n");
        return 1;
    }

    scene.render();
    ok &= save(scene.primary, out, "start_composition", 1);
    ok &= save(scene.view(), out, "start_view_x2", 2);

    // The upper layers from the gatekeeper's side, with every object shown.
    for (int i = 1; i <= scene.world.eventCount; ++i)
        scene.world.events[i].visible = -1;
    scene.world.player.x = 5;
    scene.world.player.y = 3;
    scene.render();
    ok &= save(scene.view(), out, "objects_view_x2", 2);

    scene.world.player.layer = 1;
    scene.world.player.x = 3;
    scene.world.player.y = 1;
    scene.world.shadeLevel = 1;
    scene.render();
    ok &= save(scene.view(), out, "layer1_shade1_view_x2", 2);
    return ok ? 0 : 1;
}
