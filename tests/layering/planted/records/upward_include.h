// Never compiled: the layering check must refuse this logic header's include of a form's header.
#pragma once
#include "screens/design_form.h"
