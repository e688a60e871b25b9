// Placeholder until the engine lands.
namespace {}
