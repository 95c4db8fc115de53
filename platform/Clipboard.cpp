#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace oxw::platform {

bool QtClipboard::HasText() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    return data != nullptr && data->hasText();
}

QString QtClipboard::Text() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? clipboard->text() : QString();
}

Clipboard& SystemClipboard()
{
    static QtClipboard clipboard;
    return clipboard;
}

}  // namespace oxw::platform
