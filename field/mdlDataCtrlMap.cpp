#include "field/mdlDataCtrl.h"

namespace mdlDataCtrl {

bool pfBuildMap(field::World&, plat::Services&) { return true; }

} // namespace mdlDataCtrl
