#pragma once

#include "app/form_window.h"

namespace warizan {

// Gives the window a factory for every form of the program, each built with `context`. The program and
// the tests that drive the whole road set the window up with this one function.
void setProgramForms(FormWindow& window, FormContext& context);

} // namespace warizan
