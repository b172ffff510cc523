#pragma once

namespace warizan {
struct FormContext;
// Starts a sheet on `currentLevel` for the working pupil and shows the drill form. Returns false when the
// program is ending.
[[nodiscard]] bool startDrill(FormContext& context);
} // namespace warizan
