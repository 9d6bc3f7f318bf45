// Filled in by its module's work.
namespace { [[maybe_unused]] int placeholder_FieldPictures = 0; }
