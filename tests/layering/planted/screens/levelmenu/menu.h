// Never compiled: a form may include the shared headers of the forms, but not another form's.
#pragma once
#include "screens/form_owner.h"
#include "screens/result/result.h"
