// Checked access to the sound file's stream. A position that cannot be told, a seek that fails
// or a read that fails before the end of the data would otherwise read as silence; each ends
// the run instead, with a message that names the sound file.
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "engine/Engine.h"
#include "engine/SpectrumWork.h"

namespace oxw::engine {

std::ifstream& Engine::Stream() {
    Work().frames.Forget();
    return stream_;
}

std::int64_t Engine::StreamPosition() {
    const std::int64_t position = static_cast<std::int64_t>(stream_.tellg());
    if (position < 0) {
        throw std::runtime_error("Cannot tell the position in the sound file \"" +
                                 S().SoundFileName + "\".");
    }
    return position;
}

void Engine::SeekStream(std::int64_t position) {
    stream_.clear();
    stream_.seekg(position);
    if (stream_.fail()) {
        throw std::runtime_error("Cannot move to byte " + std::to_string(position) +
                                 " of the sound file \"" + S().SoundFileName + "\".");
    }
}

void Engine::ReadFailure(std::int64_t position, int error) {
    throw std::runtime_error("Cannot read the sound file \"" + S().SoundFileName + "\" at byte " +
                             std::to_string(position) + ": " +
                             std::strerror(error != 0 ? error : EIO));
}

}  // namespace oxw::engine
