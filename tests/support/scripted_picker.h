#pragma once

#include "shared/ui/pickers.h"

#include <optional>

namespace varkel::test {

// A picker that picks what a user would: `value` from the picker of `kind`; a
// negative value is a cancel. The picker of the other kind opens nothing. Give it
// to a window through its setPicker.
inline Picker ScriptedPicker(PickerKind kind, int value)
{
    return [kind, value](PickerKind asked, int, QWidget*) -> std::optional<int> {
        if (asked != kind || value < 0)
            return std::nullopt;
        return value;
    };
}

}  // namespace varkel::test
