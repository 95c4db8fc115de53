#pragma once
// Root of the component library: the exception base class every library unit derives its
// own exception from, and the minimal non-visual component base that carries a Name.

#include <stdexcept>
#include <string>
#include <string_view>

// Base of the library's exceptions; each unit raises its own descendant.
class EVKRError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The exception of the library's data-structure routines, none of which this program uses; it
// is never raised.
class EVKRDStructError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Non-visual component base: an owner (not owned, only remembered) and a Name used
// in the messages of the library's exceptions.
class TComponent {
public:
    explicit TComponent(TComponent* AOwner = nullptr) : FOwner(AOwner) {}
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = default;
    TComponent& operator=(const TComponent&) = default;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }

private:
    TComponent* FOwner;
    std::string FName;
};

// The prefix of every message about a component: Component "<Name>": (with a trailing blank).
std::string ComponentPrefix(std::string_view name);

// A message about a component: its prefix followed by the problem text.
std::string ComponentMessage(const TComponent& component, std::string_view problem);
