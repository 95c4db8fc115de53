#include "platform/MidiStreamOutput.h"

namespace oxw::platform {

MidiMessagePoster::MidiMessagePoster() : context_(std::make_unique<QObject>()) {}

MidiMessagePoster::~MidiMessagePoster() = default;

std::uint64_t MidiMessagePoster::Begin(MidiStreamOutput::Callback callback)
{
    current_ = next_++;
    closing_ = false;
    callback_ = std::move(callback);
    return current_;
}

void MidiMessagePoster::Post(std::uint64_t stream, MidiStreamMessage message)
{
    QMetaObject::invokeMethod(
        context_.get(), [this, stream, message] { DeliverNow(stream, message); }, Qt::QueuedConnection);
}

void MidiMessagePoster::PostClose(std::uint64_t stream)
{
    if (stream == current_) closing_ = true;
    Post(stream, MidiStreamMessage::Close);
}

void MidiMessagePoster::DeliverNow(std::uint64_t stream, MidiStreamMessage message)
{
    if (stream != current_ || stream == 0) return;
    if (message != MidiStreamMessage::Close) {
        if (!closing_ && callback_) callback_(message);
        return;
    }
    // The stream ends here; its callback may already start the next one.
    auto callback = std::move(callback_);
    callback_ = nullptr;
    current_ = 0;
    closing_ = false;
    if (callback) callback(message);
}

}  // namespace oxw::platform
