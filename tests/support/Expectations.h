#pragma once

#include "study/Error.h"
#include "study/Study.h"

#include <string>

namespace orbeta::testing {

// The text of the Error an action raises, or "no error".
template <typename Action> std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

// Whether two studies show the same: the five fields, the grid's size and every cell in it.
bool SameFieldsAndGrid(const Study& left, const Study& right);

} // namespace orbeta::testing
