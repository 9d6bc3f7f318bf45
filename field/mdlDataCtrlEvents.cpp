#include "field/mdlDataCtrl.h"

namespace mdlDataCtrl {

bool pfBuildEventObjects(field::World&, mdlRxSGlue::Searchers&) { return true; }

} // namespace mdlDataCtrl
