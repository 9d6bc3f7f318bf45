// Filled in by its module's work.
namespace { [[maybe_unused]] int placeholder_mdlCommon = 0; }
