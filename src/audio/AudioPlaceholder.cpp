// Placeholder until the audio output lands.
namespace {}
