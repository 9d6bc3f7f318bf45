// The field program's one window: the game view, the diagnostic surfaces behind it, the
// layer check boxes, and the module state the frame loop shares with the window's handlers
// (close flags, mouse, masked-copy work surfaces, searchers).
#pragma once

#include <array>
#include <cstdint>

#include "field/FieldInput.h"
#include "field/InspectorPanel.h"
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
    plat::Label gameViewLabel{"lblFlipCopy"};
    plat::PictureBox gameView{"PicFlipCopy"};
    plat::Frame positionFrame{"fraXY"};
    plat::Label positionLabel{"lblXY"};
    plat::Button enlargeButton{"cmdBigConsole"};
    plat::Label backFieldLabel{"lblBackFiled2"};
    plat::PictureBox backField{"PicBackFiled2"};
    plat::Frame layerFrame{"fraLayer"};
    std::array<plat::CheckBox, 3> layerBoxes{plat::CheckBox("chkLayerSet", 0),
                                             plat::CheckBox("chkLayerSet", 1),
                                             plat::CheckBox("chkLayerSet", 2)};
    std::array<plat::CheckBox, 4> planeBoxes{
        plat::CheckBox("chkLayer", 0), plat::CheckBox("chkLayer", 1), plat::CheckBox("chkLayer", 2),
        plat::CheckBox("chkLayer", 3)};
    plat::Label primarySurfaceLabel{"lblPrimarySurface"};
    plat::PictureBox primarySurface{"PicPrimarySurface"};
    plat::Label mapChipsLabel{"lblMapChips"};
    plat::PictureBox mapChips{"PicMapChips"};
    plat::Label eventChipsLabel{"lblEveChips"};
    plat::PictureBox eventChips{"PicEveChips"};
    plat::Label shadow25MaskLabel{"lblShadow25Mask"};
    plat::PictureBox shadow25Mask{"PicShadow25Mask"};
    plat::Label shadow50MaskLabel{"lblShadow50Mask"};
    plat::PictureBox shadow50Mask{"PicShadow50Mask"};
    plat::Label shadow75MaskLabel{"lblShadow75Mask"};
    plat::PictureBox shadow75Mask{"PicShadow75Mask"};
    plat::Label characterChipsLabel{"lblCharChips"};
    plat::PictureBox characterChips{"PicCharChips"};
    // The script inspector, right of everything above; shown by the enlarge button.
    InspectorPanel inspector;

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
    // Restores the full design size and opens the inspector (the enlarge button).
    void enlargeClicked();
    // The close-state machine: the first request only asks; the frame loop lets the window go.
    void queryUnload(bool& cancel) override;

    void gameViewMouseDown(int button, int shift, float x, float y);
    void gameViewMouseMove(int button, int shift, float x, float y);
    void gameViewMouseUp(int button, int shift, float x, float y);

  private:
    void placeDesign();
    void placeLayerBoxes();
    void loadPictures();

    plat::Services& sv_;
};

// Design-time geometry of the window (pixels unless named otherwise).
namespace design {
constexpr int kFlipLeft = 8, kFlipTop = 40, kFlipWidth = 386, kFlipHeight = 194;
constexpr int kBigLeft = 400, kBigTop = 200, kBigWidth = 125, kBigHeight = 33;
constexpr int kPrimaryWidth = 514, kPrimaryHeight = 258;
constexpr int kInspectorLeft = 850, kInspectorTop = 4;
constexpr int kInnerWidth = 1356, kInnerHeight = 830; // full design inner size
} // namespace design

} // namespace field
