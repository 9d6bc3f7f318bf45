// Filled in by its module's work.
namespace { [[maybe_unused]] int placeholder_BattlePictures = 0; }
