// Placeholder until the Qt window system lands.
namespace plat::qt {
int placeholder() { return 0; }
} // namespace plat::qt
