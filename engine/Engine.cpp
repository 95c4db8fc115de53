#include "engine/Engine.h"

namespace oxw::engine {

Engine::Engine(RunHost& host) : host_(host), state_(std::make_unique<RunState>()) {}
Engine::~Engine() = default;

}  // namespace oxw::engine
