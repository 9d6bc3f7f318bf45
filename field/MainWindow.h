// The field program's one window: the game view, the diagnostic surfaces behind it, the
// layer check boxes, and the module state the frame loop shares with the window's handlers
// (close flags, mouse, masked-copy work surfaces, searchers).
#pragma once

#include <array>
#include <cstdint>

#include "field/FieldInput.h"
#include "field/Searchers.h"
#include "field/graphics/FieldSurfaces.h"
#include "platform/Form.h"
#include "platform/Seams.h"

namespace field {

// Close state of the window, shared between the close query and the frame loop.
enum CloseState : std::int32_t {
    kRunning = 0,
    kCloseRequested = 1,
    kShuttingDown = 2,
    kFormsUnloaded = 3,
};

class MainWindow : public plat::Form {
  public:
    explicit MainWindow(plat::Services& sv);

    // Controls, in the order the window creates them.
    plat::Label lblFlipCopy{"lblFlipCopy"};
    plat::PictureBox PicFlipCopy{"PicFlipCopy"};
    plat::Frame fraXY{"fraXY"};
    plat::Label lblXY{"lblXY"};
    plat::Button cmdBigConsole{"cmdBigConsole"};
    plat::Label lblBackFiled2{"lblBackFiled2"};
    plat::PictureBox PicBackFiled2{"PicBackFiled2"};
    plat::Frame fraLayer{"fraLayer"};
    std::array<plat::CheckBox, 3> chkLayerSet{plat::CheckBox("chkLayerSet", 0),
                                              plat::CheckBox("chkLayerSet", 1),
                                              plat::CheckBox("chkLayerSet", 2)};
    std::array<plat::CheckBox, 4> chkLayer{
        plat::CheckBox("chkLayer", 0), plat::CheckBox("chkLayer", 1), plat::CheckBox("chkLayer", 2),
        plat::CheckBox("chkLayer", 3)};
    plat::Label lblPrimarySurface{"lblPrimarySurface"};
    plat::PictureBox PicPrimarySurface{"PicPrimarySurface"};
    plat::Label lblMapChips{"lblMapChips"};
    plat::PictureBox PicMapChips{"PicMapChips"};
    plat::Label lblEveChips{"lblEveChips"};
    plat::PictureBox PicEveChips{"PicEveChips"};
    plat::Label lblShadow25Mask{"lblShadow25Mask"};
    plat::PictureBox PicShadow25Mask{"PicShadow25Mask"};
    plat::Label lblShadow50Mask{"lblShadow50Mask"};
    plat::PictureBox PicShadow50Mask{"PicShadow50Mask"};
    plat::Label lblShadow75Mask{"lblShadow75Mask"};
    plat::PictureBox PicShadow75Mask{"PicShadow75Mask"};
    plat::Label lblCharChips{"lblCharChips"};
    plat::PictureBox PicCharChips{"PicCharChips"};

    // Window-level state.
    std::int16_t closeRequested = 0; // -1 once any close query ran
    std::int32_t closeState = kRunning;
    std::int32_t fullWidth = 0; // design outer size in twips, saved before the shrink
    std::int32_t fullHeight = 0;
    MouseState mouse;
    field::FieldSurfaces graphics;
    field::Searchers searchers;

    // Lays the window out and shrinks it to the game view, the position frame and the
    // enlarge button.
    void layout();
    // Restores the full design size (the enlarge button).
    void cmdBigConsole_Click();
    // The close-state machine: the first request only asks; the frame loop lets the window go.
    void queryUnload(bool& cancel) override;

    void PicFlipCopy_MouseDown(int button, int shift, float x, float y);
    void PicFlipCopy_MouseMove(int button, int shift, float x, float y);
    void PicFlipCopy_MouseUp(int button, int shift, float x, float y);

  private:
    void placeDesign();
    void loadPictures();

    plat::Services& sv_;
};

// Design-time geometry of the window (pixels unless named otherwise).
namespace design {
constexpr int kFlipLeft = 8, kFlipTop = 40, kFlipWidth = 386, kFlipHeight = 194;
constexpr int kBigLeft = 400, kBigTop = 200, kBigWidth = 125, kBigHeight = 33;
constexpr int kPrimaryWidth = 514, kPrimaryHeight = 258;
constexpr int kInnerWidth = 850, kInnerHeight = 830; // full design inner size
} // namespace design

} // namespace field
