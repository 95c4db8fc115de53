#include "engine/Engine.h"

#include "numeric/CurveFit.h"

namespace oxw::engine {

Engine::Engine(RunHost& host) : host_(host), state_(std::make_unique<RunState>()) {}
Engine::~Engine() = default;

TCurveFit& Engine::CurveFit1() {
    if (!curveFit1_) {
        curveFit1_ = std::make_shared<TCurveFit>();
        curveFit1_->SetName("CurveFit1");
    }
    return *curveFit1_;
}

}  // namespace oxw::engine
