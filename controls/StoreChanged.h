#pragma once
// The setters' shared step: a property is stored (and the control repainted, events fired ...)
// only when its value really changes.

namespace oxw::controls {

// Stores `value` when it differs from `field`; tells whether it did.
template <class T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace oxw::controls
