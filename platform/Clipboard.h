#pragma once
// What the program takes from the desktop's clipboard: whether it holds text, and that text.
// The table editor reads numbers from it; it never writes to it. The program uses the Qt
// clipboard (QtClipboard); tests hand the editor a ScriptedClipboard holding a text of theirs.
#include <QString>

#include <optional>

namespace oxw::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool HasText() const = 0;
    // The text; empty when the clipboard holds none.
    virtual QString Text() const = 0;
};

// The desktop's clipboard through the running application.
class QtClipboard : public Clipboard {
public:
    bool HasText() const override;
    QString Text() const override;
};

// A clipboard for tests: holds Content, or nothing at all.
class ScriptedClipboard : public Clipboard {
public:
    std::optional<QString> Content;

    bool HasText() const override { return Content.has_value(); }
    QString Text() const override { return Content.value_or(QString()); }
};

// The clipboard the controls use unless they are given another: the desktop's.
Clipboard& SystemClipboard();

}  // namespace oxw::platform
