#include "field/script/mdlScriptFieldCommands.h"

namespace mdlScriptFieldCommands {

using mdlScriptProcesser::fail;

// Not available yet: every code of these groups fails with error 1.
StepResult pfPlayerCommand(StepContext& ctx, std::int16_t) {
    return fail(ctx, 1);
}

StepResult pfObjectCommand(StepContext& ctx, std::int16_t, std::int32_t) {
    return fail(ctx, 1);
}

StepResult pfCellCommand(StepContext& ctx, std::int16_t) {
    return fail(ctx, 1);
}

} // namespace mdlScriptFieldCommands
