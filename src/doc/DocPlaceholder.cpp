// Placeholder until the documents land.
namespace {}
