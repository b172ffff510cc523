#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

class QLabel;

namespace warizan {

// The plain backdrop `BASEFRM` in the theme colour, shown while one screen makes way for the next.
class BackdropForm final : public DesignForm {
    Q_OBJECT
public:
    explicit BackdropForm(FormContext& context, QWidget* parent = nullptr);

private:
    QLabel* Label1; // "Just a moment, please."
};

} // namespace warizan
